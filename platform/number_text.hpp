#pragma once
// Locale-independent reading and writing of numbers, with the semantics of the C conversions
// the file formats are defined by ("%d", "%lf", "%s", "%.3lf", "%13.8lf"), without going through
// stdio or the process locale.

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvo {

// True for the characters that scanf treats as white space in the C locale.
constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Reads fields from a text one conversion at a time, as sscanf does: each conversion skips
// leading blanks, then consumes the longest prefix that forms its field. A failed conversion
// consumes nothing.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view text) : text_(text) {}

    bool readInt(int& value);        // "%d": optional sign, decimal digits; fails on overflow
    bool readDouble(double& value);  // "%lf": decimal real with optional exponent, inf and nan
    // "%s": a run of non-blank characters. A word longer than maxChars is cut at maxChars and
    // the rest of it is skipped, so it never spills into the next conversion.
    bool readWord(std::string& word, std::size_t maxChars = std::string::npos);
    bool readWord(std::string_view& word);  // the same, uncut, as a view into the text
    bool atEnd();  // only blanks remain
    std::string_view rest() const { return text_.substr(pos_); }

private:
    void skipBlanks();
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Leading decimal integer of a text, as atoi reads it: optional blanks and sign, then digits;
// no digits gives 0; values beyond int are clamped.
int leadingInt(std::string_view text);
// Leading decimal real of a text, as atof reads it; text that is no number gives 0.
double leadingDouble(std::string_view text);
// Parses a whole text as a real (blanks around it allowed); false when anything else is there.
bool parseDouble(std::string_view text, double& value);

// Appends value as "%.{decimals}lf" would print it in the C locale.
void appendFixed(std::string& out, double value, int decimals);
// Appends value as "%{width}.{decimals}lf": right-aligned in at least width characters.
void appendFixed(std::string& out, double value, int width, int decimals);
std::string formatFixed(double value, int decimals);
// Appends an integer as "%d", or right-aligned in width characters as "%{width}d".
void appendInt(std::string& out, long long value, int width = 0);

}  // namespace zelvo
