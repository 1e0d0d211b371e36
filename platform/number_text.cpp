#include "platform/number_text.hpp"

#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace zelvo {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithNoCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(text[i]) != word[i]) return false;
    return true;
}

// Length of the real number at the start of text (sign included), 0 when there is none.
// Follows strtod's decimal grammar: digits with an optional point, an exponent only when it
// has digits, and the words inf, infinity and nan.
std::size_t realLength(std::string_view text, double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view body = text.substr(i);
    if (startsWithNoCase(body, "inf")) {
        value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return i + (startsWithNoCase(body, "infinity") ? 8 : 3);
    }
    if (startsWithNoCase(body, "nan")) {
        value = negative ? -std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::quiet_NaN();
        return i + 3;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    double magnitude = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + i, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Like strtod: overflow gives infinity, underflow gives zero.
        bool hugeExponent = false;
        for (std::size_t k = start; k < i; ++k)
            if (text[k] == 'e' || text[k] == 'E') hugeExponent = k + 1 < i && text[k + 1] != '-';
        magnitude = hugeExponent ? std::numeric_limits<double>::infinity() : 0.0;
    }
    value = negative ? -magnitude : magnitude;
    return i;
}

// Length of the integer at the start of text (sign included), 0 when there is none.
std::size_t intLength(std::string_view text, long long& value, bool& overflow) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    long long v = 0;
    overflow = false;
    while (i < text.size() && isDigit(text[i])) {
        if (v > (LLONG_MAX - 9) / 10) overflow = true;
        if (!overflow) v = v * 10 + (text[i] - '0');
        ++i;
    }
    if (i == start) return 0;
    value = negative ? -v : v;
    return i;
}

}  // namespace

void FieldScanner::skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
}

bool FieldScanner::atEnd() {
    skipBlanks();
    return pos_ >= text_.size();
}

bool FieldScanner::readInt(int& value) {
    skipBlanks();
    long long v = 0;
    bool overflow = false;
    const std::size_t n = intLength(rest(), v, overflow);
    if (n == 0 || overflow || v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    pos_ += n;
    return true;
}

bool FieldScanner::readDouble(double& value) {
    skipBlanks();
    double v = 0.0;
    const std::size_t n = realLength(rest(), v);
    if (n == 0) return false;
    value = v;
    pos_ += n;
    return true;
}

bool FieldScanner::readWord(std::string& word, std::size_t maxChars) {
    skipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
    if (pos_ == start) return false;
    word.assign(text_.substr(start, std::min(pos_ - start, maxChars)));
    return true;
}

int leadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    long long v = 0;
    bool overflow = false;
    if (intLength(text.substr(i), v, overflow) == 0) return 0;
    const bool negative = text[i] == '-';
    if (overflow || v > INT_MAX || v < INT_MIN) return negative ? INT_MIN : INT_MAX;
    return static_cast<int>(v);
}

double leadingDouble(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    double v = 0.0;
    return realLength(text.substr(i), v) == 0 ? 0.0 : v;
}

bool parseDouble(std::string_view text, double& value) {
    FieldScanner scanner(text);
    double v = 0.0;
    if (!scanner.readDouble(v) || !scanner.atEnd()) return false;
    value = v;
    return true;
}

void appendFixed(std::string& out, double value, int decimals) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return;  // only for values with more than 300 digits
    out.append(buffer, result.ptr);
}

void appendFixed(std::string& out, double value, int width, int decimals) {
    const std::size_t before = out.size();
    appendFixed(out, value, decimals);
    const std::size_t written = out.size() - before;
    if (written < static_cast<std::size_t>(width)) out.insert(before, static_cast<std::size_t>(width) - written, ' ');
}

std::string formatFixed(double value, int decimals) {
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

void appendInt(std::string& out, long long value, int width) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const auto written = static_cast<std::size_t>(result.ptr - buffer);
    if (written < static_cast<std::size_t>(width)) out.append(static_cast<std::size_t>(width) - written, ' ');
    out.append(buffer, result.ptr);
}

}  // namespace zelvo
