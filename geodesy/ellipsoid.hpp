#pragma once
// Ellipsoid computations: radii of curvature, geographic and cartesian coordinates, the
// isometric latitude and its inverse, the meridian arc series and the authalic function.
// The ellipsoid is given by its semi-major axis a (metres) and first eccentricity squared e2;
// angles are in radians, lengths in metres.

#include <array>
#include <cstddef>
#include <span>

namespace zelvo {

struct CartesianXyz {
    double x = 0.0, y = 0.0, z = 0.0;  // metres
};

struct GeographicLonLatH {
    double lon = 0.0, lat = 0.0;  // radians, longitude from Greenwich
    double h = 0.0;               // ellipsoidal height, metres
};

// Radius of curvature in the prime vertical, N = a / √(1 − e² sin²φ); exact to rounding.
double normalRadius(double lat, double a, double e2);
// The same value from sin(lat), when the caller has it already.
double normalRadiusOfSin(double sinLat, double a, double e2);
// Radius of curvature in the meridian, M = N (1 − e²) / (1 − e² sin²φ); exact to rounding.
double meridianRadius(double a, double e2, double lat);
// Geographic to cartesian coordinates (closed form, exact to rounding).
CartesianXyz geographicToCartesian(double a, double e2, double lon, double lat, double h);
// Cartesian to geographic coordinates, closed form without iteration (Bowring's auxiliary angle):
// for heights within a few kilometres of the ellipsoid, latitude to 1e-11 rad and height to 0.1 mm.
GeographicLonLatH cartesianToGeographic(double x, double y, double z, double a, double e2);
// Isometric latitude L = ln tan(π/4 + φ/2) + (e/2) ln((1 − e sin φ) / (1 + e sin φ)); exact to rounding.
double isometricLatitude(double lat, double e2);
// The same value from sin(lat), when the caller has it already.
double isometricLatitudeOfSin(double lat, double sinLat, double e2);
// Latitude of an isometric latitude, by fixed-point iteration until two passes agree to 1e-12 rad.
double latitudeFromIsometric(double isometric, double e2);
// The latitudes of several isometric latitudes (lat as long as isometric), each the value
// latitudeFromIsometric gives; computed kLatitudeLanes at a time, several times faster.
inline constexpr std::size_t kLatitudeLanes = 4;
void latitudesFromIsometric(std::span<const double> isometric, double e2, std::span<double> lat);
// Coefficients C1…C5 of the meridian arc series, polynomials of degree 4 in e².
std::array<double, 5> meridianArcCoefficients(double e2);
// Meridian arc from the equator to φ divided by a (series to e⁸: 0.1 mm on Earth ellipsoids).
double meridianArc(double lat, double e2);
// Authalic function q(φ) (exact to rounding; needs e2 > 0).
double authalicQ(double e2, double lat);
// m(φ) = cos φ / √(1 − e² sin²φ), the radius of the parallel divided by a.
double parallelFactor(double e2, double lat);

}  // namespace zelvo
