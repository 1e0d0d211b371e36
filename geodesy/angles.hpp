#pragma once
// Angle units: the nine unit codes, conversions between them, the packed sexagesimal forms
// (45°30′15.5″ written 45.30155) with their split and compose rules, integer snapping, the
// output format of longitudes and latitudes per unit, and the unit names shown to the user.
// Everything is pure computation on doubles, reentrant, without heap allocation.

#include <string>
#include <string_view>

namespace zelvo {

// Angle unit codes. Codes 0, 7, 8, 9 and above 12 have no conversion: values in them are read as
// decimal degrees, and a conversion to them gives decimal degrees.
inline constexpr int kRadians = 1;
inline constexpr int kDecimalDegrees = 2;
inline constexpr int kGrads = 3;
inline constexpr int kDecimalHours = 4;
inline constexpr int kSecondsOfDegree = 5;
inline constexpr int kSecondsOfHour = 6;
inline constexpr int kPackedDms = 10;  // D.MMSSsss…, degrees
inline constexpr int kPackedHms = 11;  // H.MMSSsss…, hours
inline constexpr int kPackedDm = 12;   // D.MMmmm…, degrees and decimal minutes

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kQuarterPi = 0.7853981633974483;

// A packed degrees-minutes-seconds value split into its fields; the sign applies to the whole.
struct DmsParts {
    bool negative = false;
    int degrees = 0;
    int minutes = 0;
    double seconds = 0.0;
};

// A packed degrees-and-decimal-minutes value split into its fields.
struct DmParts {
    bool negative = false;
    int degrees = 0;
    double minutes = 0.0;
};

// Converts value from unit fromUnit to unit toUnit, through decimal degrees; exact when the units
// are equal or the value is 0, otherwise to a few units of the last place (packed forms: 1e-9″).
// The equal-units case, the usual one on the per-point path, costs a comparison.
double convertAngleBetweenUnits(double value, int fromUnit, int toUnit);
inline double convertAngle(double value, int fromUnit, int toUnit) {
    if (fromUnit == toUnit || value == 0.0) return value;
    return convertAngleBetweenUnits(value, fromUnit, toUnit);
}
// The same conversion knowing only radians (1), grads (3) and packed DMS (10); every other code,
// hours and seconds included, is read as decimal degrees. Used for some projection parameters.
double convertAngleBasic(double value, int fromUnit, int toUnit);

// Splits packed DMS into fields, reading the value's 13-decimal rounding (seconds to 1e-9″) and
// turning decimal carries just below a sexagesimal boundary into sexagesimal ones
// (45.2999999999 gives 45°29′59.999999″, 12.5960 gives 13°00′00″).
DmsParts splitDms(double value);
// ±(degrees + minutes/100 + seconds/10000): exact to the rounding of the sum.
double composeDms(const DmsParts& parts);
// Splits packed DM into fields (13-decimal rounding, minutes to 1e-11′), with the minute carries.
DmParts splitDm(double value);
// ±(degrees + minutes/100).
double composeDm(const DmParts& parts);

// Packed DMS to decimal degrees, through splitDms.
double dmsToDegrees(double value);
// Packed DM to decimal degrees, through splitDm.
double dmToDegrees(double value);
// Decimal degrees to packed DMS; minutes and seconds within 1e-8 of an integer are snapped to it.
double degreesToDms(double value);
// Decimal degrees to packed DM, without snapping.
double degreesToDm(double value);

// Replaces x by ceil(x) when it lies within eps of it, else by floor(x) when within eps of it.
void snapToInteger(double& x, double eps);
// ceil(x) when x lies within eps of it, else floor(x).
int nearestIntegerWithin(double x, double eps);
// x rounded to the nearest integer, halves away from zero.
double roundHalfAway(double x);

// How longitudes and latitudes in a unit are written: "%{width}.{decimals}lf".
struct AngleFormat {
    int width = 13;
    int decimals = 0;
};
// The format of a unit; false for a code that has none (nothing is written for it).
bool angleFormat(int unit, AngleFormat& format);
// Appends value in the format of unit; appends nothing for a code without a format.
void appendAngle(std::string& out, double value, int unit);

// Number of entries of the unit-name table, indexed by unit code (0 to 12).
inline constexpr int kUnitNameCount = 13;
// The name of a unit as shown to the user (string-table text 1999 + code), or the empty text for
// a code without a name.
std::string_view unitName(int unit);
// The code of a unit name of unitName; 0 for any other text.
int unitCode(std::string_view name);

}  // namespace zelvo
