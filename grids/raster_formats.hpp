#pragma once
// What the GTX and GeoTIFF readers share: nodes delivered row after row along x, with the copy
// of a row's first node after its last when the grid goes round the globe.

#include <memory>
#include <string>
#include <vector>

#include "grids/grid.hpp"

namespace zelvo::raster {

// Serves the nodes of whole rows read by readRow, one node at a time.
class RowNodeReader : public ForeignNodeReader {
public:
    RowNodeReader(int columns, int valuesNumber, bool wrap)
        : columns_(columns), valuesNumber_(valuesNumber), wrap_(wrap) {}
    bool next(std::vector<double>& values, std::string& message) override;

protected:
    // The next row of the file: columns × valuesNumber values, node after node.
    virtual bool readRow(std::vector<double>& row, std::string& message) = 0;

private:
    int columns_;
    int valuesNumber_;
    bool wrap_;
    std::vector<double> row_;
    int column_ = 0;  // next node of row_ to serve; row_ is read again when it is past the end
};

}  // namespace zelvo::raster
