#include "platform/number_text.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <limits>

namespace zelvo {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kIntegerPowersOfTen[] = {1,      10,      100,      1000,      10000,      100000,
                                                 1000000, 10000000, 100000000, 1000000000};


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
    if (i < text.size() && !isDigit(text[i]) && text[i] != '.') {
        const std::string_view body = text.substr(i);
        if (startsWithNoCase(body, "inf")) {
            value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
            return i + (startsWithNoCase(body, "infinity") ? 8 : 3);
        }
        if (startsWithNoCase(body, "nan")) {
            value = negative ? -std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::quiet_NaN();
            return i + 3;
        }
        return 0;
    }
    const std::size_t start = i;
    // The digits as an integer (exact while there are at most 19 of them and it stays below
    // 2^53; beyond, it wraps and is not used), and the count of decimals.
    const char* const data = text.data();
    const char* const end = data + text.size();
    const char* p = data + i;
    std::uint64_t mantissa = 0;
    for (unsigned d; p < end && (d = static_cast<unsigned>(static_cast<unsigned char>(*p) - '0')) <= 9; ++p)
        mantissa = mantissa * 10 + d;
    std::size_t digits = static_cast<std::size_t>(p - (data + i));
    std::size_t decimals = 0;
    if (p < end && *p == '.') {
        const char* const first = ++p;
        for (unsigned d; p < end && (d = static_cast<unsigned>(static_cast<unsigned char>(*p) - '0')) <= 9; ++p)
            mantissa = mantissa * 10 + d;
        decimals = static_cast<std::size_t>(p - first);
        digits += decimals;
    }
    i = static_cast<std::size_t>(p - data);
    const bool exact = digits <= 19 && mantissa < (1ULL << 53);
    if (digits == 0) return 0;
    bool exponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
            exponent = true;
        }
    }
    if (exact && !exponent && decimals <= 22) {
        // An integer below 2^53 and a power of ten up to 10^22 are both exact doubles: one
        // correctly rounded division gives the correctly rounded value (Clinger's fast path).
        const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[decimals];
        value = negative ? -magnitude : magnitude;
        return i;
    }
    double magnitude = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + i, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Like strtod: overflow gives infinity, underflow gives zero. Which one it is follows from
        // the place of the first significant digit, moved by the exponent: a long run of digits
        // without exponent overflows as surely as a large exponent does.
        long long place = 0;  // 1 for the units, 0 for the tenths, -1 for the hundredths …
        bool significant = false;
        std::size_t k = start;
        for (; k < i && isDigit(text[k]); ++k) {
            significant = significant || text[k] != '0';
            if (significant) ++place;
        }
        if (k < i && text[k] == '.')
            for (++k; !significant && k < i && isDigit(text[k]); ++k) {
                significant = text[k] != '0';
                if (!significant) --place;
            }
        long long power = 0;
        for (std::size_t e = start; e < i; ++e) {
            if (text[e] != 'e' && text[e] != 'E') continue;
            const bool down = text[e + 1] == '-';
            for (std::size_t d = e + 1 + (text[e + 1] == '-' || text[e + 1] == '+'); d < i; ++d)
                power = std::min(power * 10 + (text[d] - '0'), 1000000000LL);
            if (down) power = -power;
            break;
        }
        magnitude = place + power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
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

// |value| × 10^decimals rounded to the nearest integer, ties to even, as the exact product
// would round. Only for products p below 2^52: there, adding and removing 2^52 rounds p to an
// integer q with ties to even, the fraction p − q is exact and a multiple of p's unit in the last
// place, and the rounding error of p (half a unit at most) cannot carry it past one half unless it
// is exactly ±0.5; then the exact error (fma) decides.
std::uint64_t scaledRound(double magnitude, double scale) {
    constexpr double kTwo52 = 4503599627370496.0;
    const double p = magnitude * scale;
    const double q = (p + kTwo52) - kTwo52;  // IEEE arithmetic: never folded back into p
    auto r = static_cast<std::uint64_t>(q);
    const double f = p - q;
    if (f == 0.5 || f == -0.5) {
        const double err = std::fma(magnitude, scale, -p);
        if (f == 0.5 && err > 0) ++r;
        else if (f == -0.5 && err < 0) --r;
    }
    return r;
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839404142434445464748495051525354"
    "555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

// Writes the decimal digits of v ending just before end; returns where they begin.
char* writeDigitsBackward(char* end, std::uint64_t v) {
    while (v >= 100) {
        const std::size_t pair = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        *--end = kDigitPairs[pair + 1];
        *--end = kDigitPairs[pair];
    }
    if (v >= 10) {
        const std::size_t pair = static_cast<std::size_t>(v) * 2;
        *--end = kDigitPairs[pair + 1];
        *--end = kDigitPairs[pair];
    } else {
        *--end = static_cast<char>('0' + v);
    }
    return end;
}

// Writes exactly count digits of v (v < 10^count), leading zeros included, ending just before end.
char* writeFractionBackward(char* end, std::uint64_t v, int count) {
    for (; count >= 2; count -= 2) {
        const std::size_t pair = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        *--end = kDigitPairs[pair + 1];
        *--end = kDigitPairs[pair];
    }
    if (count > 0) *--end = static_cast<char>('0' + v);
    return end;
}

// The text of "%.{decimals}f" in the C locale for values whose scaled magnitude stays below 2^52
// with at most 9 decimals, converted in integers and written ending just before end; returns
// where it begins, or nullptr for the other values (and infinities and NaN).
char* fixedBackward(char* end, double value, int decimals) {
    const double magnitude = std::fabs(value);
    if (decimals < 0 || decimals > 9 || !(magnitude * kPowersOfTen[decimals] < 4503599627370496.0)) return nullptr;
    const std::uint64_t scaled = scaledRound(magnitude, kPowersOfTen[decimals]);
    char* begin = end;
    if (decimals == 3) {
        // The usual case, with a divisor the compiler knows.
        begin = writeFractionBackward(end, scaled % 1000, 3);
        *--begin = '.';
        begin = writeDigitsBackward(begin, scaled / 1000);
    } else if (decimals > 0) {
        const std::uint64_t unit = kIntegerPowersOfTen[decimals];
        begin = writeFractionBackward(end, scaled % unit, decimals);
        *--begin = '.';
        begin = writeDigitsBackward(begin, scaled / unit);
    } else {
        begin = writeDigitsBackward(end, scaled);
    }
    if (std::signbit(value)) *--begin = '-';
    return begin;
}

// The text of "%.{decimals}f" in the C locale, into buffer; its length. Values fixedBackward does
// not take are converted by to_chars, which prints what printf prints.
std::size_t fixedText(char* buffer, std::size_t size, double value, int decimals) {
    char digits[32];
    char* const end = digits + sizeof digits;
    if (const char* begin = fixedBackward(end, value, decimals)) {
        const auto length = static_cast<std::size_t>(end - begin);
        std::memcpy(buffer, begin, length);
        return length;
    }
    const auto result = std::to_chars(buffer, buffer + size, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return 0;  // only for values with more than 300 digits
    return static_cast<std::size_t>(result.ptr - buffer);
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

bool FieldScanner::readWord(std::string_view& word) {
    skipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
    if (pos_ == start) return false;
    word = text_.substr(start, pos_ - start);
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
    const std::size_t n = fixedText(buffer, sizeof buffer, value, decimals);
    out.append(buffer, n);
}

void appendFixed(std::string& out, double value, int width, int decimals) {
    // Blanks and digits are made in one buffer and appended at once.
    char digits[64];
    char* const end = digits + sizeof digits;
    if (char* begin = fixedBackward(end, value, decimals)) {
        const char* const padded = end - std::min(width, 32);
        while (begin > padded) *--begin = ' ';
        const auto length = static_cast<std::size_t>(end - begin);
        if (length < static_cast<std::size_t>(width)) out.append(static_cast<std::size_t>(width) - length, ' ');
        out.append(begin, length);
        return;
    }
    char buffer[400];
    const std::size_t n = fixedText(buffer, sizeof buffer, value, decimals);
    if (n < static_cast<std::size_t>(width)) out.append(static_cast<std::size_t>(width) - n, ' ');
    out.append(buffer, n);
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
