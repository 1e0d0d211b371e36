#include "geodesy/angles.hpp"

#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/number_text.hpp"
#include "resources/string_table.hpp"

namespace zelvo {
namespace {

// Decimals of the fixed-point text the packed splitters read their fields from.
constexpr int kPackedDecimals = 13;
// Largest double printed in fixed notation: 309 integer digits, the point, 13 decimals.
constexpr int kPackedBufferSize = 400;

// The digits of |value| in fixed notation with 13 decimals (correctly rounded, as "%.13Lf"
// prints a double), written into buffer; returns the position of the decimal point, or null
// when value is not finite.
const char* fixedDigits(double value, char (&buffer)[kPackedBufferSize], const char*& end) {
    if (!std::isfinite(value)) return nullptr;
    const auto result = std::to_chars(buffer, buffer + kPackedBufferSize, std::fabs(value),
                                      std::chars_format::fixed, kPackedDecimals);
    if (result.ec != std::errc()) return nullptr;
    end = result.ptr;
    const char* dot = buffer;
    while (dot < end && *dot != '.') ++dot;
    return dot < end ? dot : nullptr;
}

// The integer part of the fixed text, as "%d" reads it, clamped one below INT_MAX so that a carry
// cannot overflow.
int integerField(const char* begin, const char* end) {
    int value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec == std::errc::result_out_of_range || value == INT_MAX) return INT_MAX - 1;
    return value;
}

// Reads "DD" + "." + following digits, as "%lf" reads the field the splitters rebuild.
double splitDecimalField(const char* twoDigits, const char* fraction, const char* end) {
    char field[2 + 1 + kPackedDecimals];
    std::size_t length = 0;
    field[length++] = twoDigits[0];
    field[length++] = twoDigits[1];
    field[length++] = '.';
    for (const char* p = fraction; p < end && length < sizeof field; ++p) field[length++] = *p;
    double value = 0.0;
    std::from_chars(field, field + length, value);
    return value;
}

// a (finite, not negative) truncated, clamped one below INT_MAX so that a carry cannot overflow.
int truncateToInt(double a) {
    if (!(a < static_cast<double>(INT_MAX - 1))) return INT_MAX - 1;
    return static_cast<int>(a);
}

// Decimal degrees from value in unit (the to-degrees column); basic restricts to codes 1, 3, 10.
double toDegrees(double value, int unit, bool basic) {
    switch (unit) {
        case kRadians:
            return value * 180.0 / kPi;
        case kGrads:
            return value * 0.9;
        case kPackedDms:
            return dmsToDegrees(value);
        default:
            break;
    }
    if (basic) return value;
    switch (unit) {
        case kDecimalHours:
            return value * 15.0;
        case kSecondsOfDegree:
            return value / 3600.0;
        case kSecondsOfHour:
            return value / 240.0;
        case kPackedHms:
            return dmsToDegrees(value) * 15.0;
        case kPackedDm:
            return dmToDegrees(value);
        default:
            return value;
    }
}

// Value in unit from decimal degrees (the from-degrees column); basic restricts to codes 1, 3, 10.
double fromDegrees(double degrees, int unit, bool basic) {
    switch (unit) {
        case kRadians:
            return degrees * kPi / 180.0;
        case kGrads:
            return degrees / 0.9;
        case kPackedDms:
            return degreesToDms(degrees);
        default:
            break;
    }
    if (basic) return degrees;
    switch (unit) {
        case kDecimalHours:
            return degrees / 15.0;
        case kSecondsOfDegree:
            return degrees * 3600.0;
        case kSecondsOfHour:
            return degrees * 240.0;
        case kPackedHms:
            return degreesToDms(degrees / 15.0);
        case kPackedDm:
            return degreesToDm(degrees);
        default:
            return degrees;
    }
}

}  // namespace

double convertAngleBetweenUnits(double value, int fromUnit, int toUnit) {
    return fromDegrees(toDegrees(value, fromUnit, false), toUnit, false);
}

double convertAngleBasic(double value, int fromUnit, int toUnit) {
    if (fromUnit == toUnit || value == 0.0) return value;
    return fromDegrees(toDegrees(value, fromUnit, true), toUnit, true);
}

DmsParts splitDms(double value) {
    DmsParts parts;
    parts.negative = value < 0.0;
    char buffer[kPackedBufferSize];
    const char* end = nullptr;
    const char* dot = fixedDigits(value, buffer, end);
    if (dot == nullptr) {
        parts.seconds = std::numeric_limits<double>::quiet_NaN();
        return parts;
    }
    // Fixed text D…D.MMSSsssssssss: minutes are the first two decimals, whole seconds the next two,
    // fractions of a second the remaining nine.
    parts.degrees = integerField(buffer, dot);
    parts.minutes = (dot[1] - '0') * 10 + (dot[2] - '0');
    parts.seconds = splitDecimalField(dot + 3, dot + 5, end);
    snapToInteger(parts.seconds, 1e-8);
    // Decimal carries (…29′99.99″, …59′60″) made sexagesimal.
    if (parts.minutes > 90) parts.minutes -= 40;
    if (parts.seconds > 90.0) parts.seconds -= 40.0;
    if (parts.seconds >= 60.0) {
        parts.seconds -= 60.0;
        parts.minutes += 1;
    }
    if (parts.minutes >= 60) {
        parts.minutes -= 60;
        parts.degrees += 1;
    }
    return parts;
}

double composeDms(const DmsParts& parts) {
    const double magnitude = parts.degrees + parts.minutes / 100.0 + parts.seconds / 10000.0;
    return parts.negative ? -magnitude : magnitude;
}

DmParts splitDm(double value) {
    DmParts parts;
    parts.negative = value < 0.0;
    char buffer[kPackedBufferSize];
    const char* end = nullptr;
    const char* dot = fixedDigits(value, buffer, end);
    if (dot == nullptr) {
        parts.minutes = std::numeric_limits<double>::quiet_NaN();
        return parts;
    }
    // Fixed text D…D.MMmmmmmmmmm: whole minutes are the first two decimals.
    parts.degrees = integerField(buffer, dot);
    parts.minutes = splitDecimalField(dot + 1, dot + 3, end);
    if (parts.minutes > 90.0) parts.minutes -= 40.0;
    if (parts.minutes >= 60.0) {
        parts.minutes -= 60.0;
        parts.degrees += 1;
    }
    return parts;
}

double composeDm(const DmParts& parts) {
    const double magnitude = parts.degrees + parts.minutes / 100.0;
    return parts.negative ? -magnitude : magnitude;
}

double dmsToDegrees(double value) {
    const DmsParts p = splitDms(value);
    const double magnitude = p.degrees + p.minutes / 60.0 + p.seconds / 3600.0;
    return p.negative ? -magnitude : magnitude;
}

double dmToDegrees(double value) {
    const DmParts p = splitDm(value);
    const double magnitude = p.degrees + p.minutes / 60.0;
    return p.negative ? -magnitude : magnitude;
}

double degreesToDms(double value) {
    if (!std::isfinite(value)) return value;
    const double a = std::fabs(value);
    DmsParts parts;
    parts.degrees = truncateToInt(a);
    double m = (a - parts.degrees) * 60.0;
    snapToInteger(m, 1e-8);
    parts.minutes = truncateToInt(m);
    double f = m - parts.minutes;
    snapToInteger(f, 1e-8);
    parts.seconds = f * 60.0;
    // Minutes snapped up to 60 (a value within 1.7e-10° below a whole degree) carry into the degrees,
    // so that the packed value reads 46.0000, never 45.6000.
    if (parts.minutes >= 60) {
        parts.minutes -= 60;
        parts.degrees += 1;
    }
    parts.negative = value < 0.0;
    return composeDms(parts);
}

double degreesToDm(double value) {
    if (!std::isfinite(value)) return value;
    const double a = std::fabs(value);
    DmParts parts;
    parts.degrees = truncateToInt(a);
    parts.minutes = (a - parts.degrees) * 60.0;
    parts.negative = value < 0.0;
    return composeDm(parts);
}

void snapToInteger(double& x, double eps) {
    const double up = std::ceil(x);
    const double down = std::floor(x);
    if (std::fabs(x - up) < eps)
        x = up;
    else if (std::fabs(x - down) < eps)
        x = down;
}

int nearestIntegerWithin(double x, double eps) {
    const double up = std::ceil(x);
    return static_cast<int>(std::fabs(x - up) < eps ? up : std::floor(x));
}

double roundHalfAway(double x) {
    if (x > 0.0) return std::floor(x + 0.5);
    if (x < 0.0) return std::ceil(x - 0.5);
    return 0.0;
}

bool angleFormat(int unit, AngleFormat& format) {
    format.width = 13;
    switch (unit) {
        case kRadians:
        case kDecimalHours:
        case kPackedHms:
            format.decimals = 10;
            return true;
        case kDecimalDegrees:
        case kGrads:
            format.decimals = 8;
            return true;
        case kSecondsOfDegree:
            format.decimals = 5;
            return true;
        case kSecondsOfHour:
            format.decimals = 6;
            return true;
        case kPackedDms:
        case kPackedDm:
            format.decimals = 9;
            return true;
        default:
            return false;
    }
}

void appendAngle(std::string& out, double value, int unit) {
    AngleFormat format;
    if (angleFormat(unit, format)) appendFixed(out, value, format.width, format.decimals);
}

std::string_view unitName(int unit) {
    const bool named =
        (unit >= kRadians && unit <= kSecondsOfHour) || (unit >= kPackedDms && unit <= kPackedDm);
    return named ? loadString(1999 + unit) : std::string_view();
}

int unitCode(std::string_view name) {
    for (int unit = 1; unit < kUnitNameCount; ++unit)
        if (!name.empty() && unitName(unit) == name) return unit;
    return 0;
}

}  // namespace zelvo
