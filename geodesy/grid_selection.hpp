#pragma once
// The grids of one point: which geoid grid converts its heights, which 3-D grid carries it
// between two systems in grid mode, and the grid datum shift itself.

#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "geodesy/chain.hpp"
#include "geodesy/coordinates.hpp"
#include "grids/grid.hpp"

namespace zelvo {

class UserInterface;

// What the selections work on: the catalogue's grid entries and the application's two current
// grids, which persist from point to point and from run to run.
struct GridSelection {
    const Catalogue& catalogue;
    CGrille1D& geoidGrid;
    CGrille3D& translationGrid;
    UserInterface* ui = nullptr;

    // The header of each catalogue grid entry, read once for the run (index of the entry); a
    // header that did not open is kept as such.
    struct Candidate1D {
        bool opened = false;
        CGrille1D grid;
    };
    struct Candidate3D {
        bool opened = false;
        CGrille3D grid;
    };
    std::vector<std::optional<Candidate1D>> geoidCandidates{};
    std::vector<std::optional<Candidate3D>> translationCandidates{};
};

// The current geoid grid as the chain reads it.
class CurrentGeoid : public GeoidSource {
public:
    explicit CurrentGeoid(CGrille1D& grid) : grid_(grid) {}
    bool usable() const override;
    int systemNumber() const override;
    double undulation(double lonDegrees, double latDegrees, double heightMetres, int& precisionCode) override;

private:
    CGrille1D& grid_;
    std::vector<double> values_;
};

// Chooses the geoid grid of a point: -2 when the point needs none (no vertical system or no
// vertical value), -1 when no catalogue grid applies to its systems, 0 when none contains it
// (both points then get the precision code -999), 1 when one does (the finest in latitude; the
// current grid becomes it, not yet loaded when it changed), 600 when the shift into the arrival
// system has no record. status receives "OK"; extent the last candidate's extent.
int selectGeoidGrid(GridSelection& grids, int transformationType, CCoor& departure, CCoor& arrival, CZone& extent,
                    std::string& status);

// Chooses the 3-D grid between the point's system and the arrival system: 1 found (or both
// systems the same), 0 none contains the point, 600 no grid record to pre-shift with.
int select3DGrid(GridSelection& grids, const CCoor& departure, const CSysCoor& arrival, CZone& extent);

// Reads the header of every catalogue grid entry into the run's candidates at once.
void readCandidateHeaders(GridSelection& grids);

enum class CurrentGrid { Geoid, Translation };
// Opens the current grid fully, so that its values can be interpolated. False when it failed
// (the grid is then not usable).
bool loadCurrentGrid(GridSelection& grids, CurrentGrid which);

// The datum shift of grid mode: the current 3-D grid's shift in place of the seven-parameter
// record, the grid record between the two systems resolved once. One per worker (it keeps the
// node values' buffer).
class GridShift : public DatumShift {
public:
    GridShift(const Catalogue& catalogue, const CGrille3D& grid, const ChainSteps& steps, const CReg* from,
              const CReg* to);
    int apply(CCoor& point, const CSysCoor& arrival) const override;

private:
    const Catalogue& catalogue_;
    const CGrille3D& grid_;
    const ChainSteps& steps_;
    const CReg* from_;
    const CReg* to_;
    bool found_ = false;
    int inverse_ = 0;
    double tx_ = 0, ty_ = 0, tz_ = 0;
    mutable std::vector<double> values_;
};

// The point transformation of grid mode: as standardPointTransform, with the grid datum shift
// of the current 3-D grid in place of the seven-parameter record.
int gridPointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid,
                       const CGrille3D& grid, CCoor* arrivalGeographic = nullptr);

}  // namespace zelvo
