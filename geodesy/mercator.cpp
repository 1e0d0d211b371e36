#include "geodesy/mercator.hpp"

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/ellipsoid.hpp"

namespace zelvo {

MercatorConstants mercatorAConstants(double a, double lonOrigin, double k0, double x0, double y0) {
    MercatorConstants c;
    c.lonOrigin = lonOrigin;
    c.ak0 = a * k0;
    c.k0 = k0;
    c.x0 = x0;
    c.y0 = y0;
    return c;
}

MercatorConstants mercatorBConstants(double a, double e2, double lonOrigin, double lat1, double x0, double y0) {
    return mercatorAConstants(a, lonOrigin, parallelFactor(e2, lat1), x0, y0);
}

PlaneEn mercatorForward(const MercatorConstants& c, double e2, double lon, double lat) {
    double dLon = lon - c.lonOrigin;
    if (dLon > kPi) dLon -= 2.0 * kPi;
    else if (dLon <= -kPi) dLon += 2.0 * kPi;
    return {c.x0 + c.ak0 * dLon, c.y0 + c.ak0 * isometricLatitude(lat, e2)};
}

LonLat mercatorInverse(const MercatorConstants& c, double e2, double east, double north) {
    LonLat g;
    g.lon = c.lonOrigin + (east - c.x0) / c.ak0;
    g.lat = latitudeFromIsometric((north - c.y0) / c.ak0, e2);
    return g;
}

ScaleConvergence mercatorScaleConvergence(const MercatorConstants& c, double e2, double lat) {
    ScaleConvergence s;
    s.k = c.k0 / parallelFactor(e2, lat);
    s.gamma = 0.0;
    return s;
}

}  // namespace zelvo
