#include "geodesy/geographic_shift.hpp"

#include <cmath>
#include <vector>

namespace zelvo {
namespace {

constexpr int kShiftValues = 4;
constexpr int kMaxIterations = 10;
constexpr double kTolerance = 1e-12;  // radians
// Metres per radian of arc on the Earth, to turn angular accuracies into a length (1 % is ample
// for a precision class).
constexpr double kEarthRadius = 6378137.0;

struct Shift {
    double lon = 0.0, lat = 0.0;  // radians, longitude eastward
    double lonAccuracy = 0.0, latAccuracy = 0.0;
};

constexpr int kOutside = 2;

// The shift interpolated at a position in radians; 0, or the interpolation's status when the
// position is outside the grid or needs a node that holds no number.
int shiftAt(const CGrille& grid, double lon, double lat, Shift& shift) {
    thread_local std::vector<double> values;
    int code = 0;
    const int status = grid.interpolate(kGridUnitRadians, {lon, lat, 0.0}, values, code);
    if (status != 0) return status;
    if (values.size() < static_cast<std::size_t>(kShiftValues)) return kOutside;
    const auto radians = [&grid](double value) {
        return convertGridAngle(value, grid.header.VALUES_UNIT, kGridUnitRadians);
    };
    shift.lat = radians(values[0]);
    shift.lon = -radians(values[1]);
    shift.latAccuracy = radians(values[2]);
    shift.lonAccuracy = radians(values[3]);
    return 0;
}

int precisionOf(const Shift& shift, double lat) {
    if (shift.latAccuracy <= 0.0 && shift.lonAccuracy <= 0.0) return 0;
    const double north = std::max(shift.latAccuracy, 0.0) * kEarthRadius;
    const double east = std::max(shift.lonAccuracy, 0.0) * kEarthRadius * std::cos(lat);
    return horizontalPrecisionCode(std::hypot(north, east));
}

}  // namespace

bool shiftsGeographicCoordinates(const CGrille& grid) {
    return grid.header.VALUES_NUMBER == kShiftValues;
}

int applyGeographicShift(const CGrille& grid, bool forward, double& lonRadians, double& latRadians,
                         int& precisionCode) {
    Shift shift;
    if (const int status = shiftAt(grid, lonRadians, latRadians, shift); status != 0) return status;
    if (forward) {
        precisionCode = precisionOf(shift, latRadians);
        lonRadians += shift.lon;
        latRadians += shift.lat;
        return 0;
    }
    double lon = lonRadians - shift.lon;
    double lat = latRadians - shift.lat;
    for (int pass = 0; pass < kMaxIterations; ++pass) {
        if (const int status = shiftAt(grid, lon, lat, shift); status != 0) return status;
        const double dLon = lon + shift.lon - lonRadians;
        const double dLat = lat + shift.lat - latRadians;
        lon -= dLon;
        lat -= dLat;
        if (dLon * dLon + dLat * dLat <= kTolerance * kTolerance) break;
    }
    precisionCode = precisionOf(shift, lat);
    lonRadians = lon;
    latRadians = lat;
    return 0;
}

int horizontalPrecisionCode(double metres) {
    if (!(metres > 0.0)) return 0;
    if (metres < 0.01) return 88888888;  // "< 1 cm"
    if (metres <= 0.05) return 1;
    if (metres <= 0.10) return 2;
    if (metres <= 0.20) return 3;
    if (metres <= 0.50) return 4;
    if (metres <= 1.0) return 10;  // "inférieure à 1m"
    if (metres <= 2.0) return 5;
    if (metres <= 5.0) return 6;
    return 99;  // "supérieure à 1m"
}

}  // namespace zelvo
