#pragma once
// Helpers shared by the header readers of the text grid formats: the conversion of a header
// token, a free-format scanner of header numbers, and the settings that every one-value
// foreign format gives its grid.

#include <string>
#include <string_view>

#include "grids/grid.hpp"
#include "grids/text_data.hpp"
#include "platform/number_text.hpp"

namespace zelvo::header_fields {

// "%lf" and "%d" conversions of a token: a token that does not convert leaves the field as it was.
inline void convertReal(const std::string& token, double& field) {
    FieldScanner scanner(token);
    double value = 0;
    if (scanner.readDouble(value)) field = value;
}
inline void convertInt(const std::string& token, int& field) {
    FieldScanner scanner(token);
    int value = 0;
    if (scanner.readInt(value)) field = value;
}

// Reads white-space separated header fields from a text source, line breaks included, and
// leaves the source just past the last field read. A field that does not convert is not
// consumed and makes the read fail.
class FreeFormatFields {
public:
    explicit FreeFormatFields(TextSource& source) : source_(source) {}
    bool real(double& value) {
        return scan([&](FieldScanner& scanner) { return scanner.readDouble(value); });
    }
    bool integer(int& value) {
        return scan([&](FieldScanner& scanner) { return scanner.readInt(value); });
    }
    bool word(std::string& value, std::size_t maxChars) {
        return scan([&](FieldScanner& scanner) { return scanner.readWord(value, maxChars); });
    }
    // How many fields were read so far.
    int count() const { return count_; }

private:
    // Longest field looked at; a header number is far shorter.
    static constexpr std::size_t kWindow = 512;
    template <typename Convert>
    bool scan(Convert convert) {
        if (!source_.skipBlanks()) return false;
        const std::string_view ahead = source_.window(kWindow);
        FieldScanner scanner(ahead);
        if (!convert(scanner)) return false;
        // A field cut by the window would be read as two: the whole field must be in view.
        const std::size_t used = ahead.size() - scanner.rest().size();
        if (used == ahead.size() && ahead.size() == kWindow) return false;
        source_.advance(used);
        ++count_;
        return true;
    }
    TextSource& source_;
    int count_ = 0;
};

// The message of a free-format header that stops before its field number `field` (counted
// from 1): cut by the end of the file, or holding something that is not a number. Returns -1.
int headerFieldFailure(const GridHeader& grid, TextSource& source, int field, std::string& message);

// Settings of the one-value foreign formats (Gravsoft, Surfer, ESRI, EGM, DIS), with the layout
// and value type of the format. N_NODES is the product of the counts, or 0 when it overflows
// (the open then refuses the count before anything is read).
void applyOneValueSettings(GridHeader& grid, int layout, int valuesType, int separated);

// The header line of a native text grid (".mnt", its line break included) into header: -10 when
// read, -1 with message, or the position where the line ended too early.
int readTextHeaderLine(GridHeader& header, const std::string& line, std::string& message);

// Text lines of a header without their line break and trailing blanks; tabs read as spaces.
std::string headerLine(std::string line);

}  // namespace zelvo::header_fields
