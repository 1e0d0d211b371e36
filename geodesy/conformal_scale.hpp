#pragma once
// Point scale factor and convergence of meridians of a conformal projection from its forward
// formula: the image of a short piece of meridian, by central differences over ±1e-5 rad of
// latitude. For the projections of this system the truncation error of the difference is below
// 1e-11 and the rounding error below 1e-12 (relative), so k and γ are good to about 1e-10.

#include <cmath>

#include "geodesy/ellipsoid.hpp"
#include "geodesy/projection_types.hpp"

namespace zelvo {

// forward(lon, lat) gives the projected point, easting and northing growing east and north.
// k is the length of the meridian's image over its true length (M dφ); γ is the angle from the
// grid's north to the image of the meridian's northward direction, positive towards the east
// (the system's convention: negative east of the central meridian of a transverse Mercator).
template <typename Forward>
ScaleConvergence scaleConvergenceFromMeridian(Forward forward, double a, double e2, double lon, double lat) {
    constexpr double kStep = 1e-5;
    const PlaneEn north = forward(lon, lat + kStep);
    const PlaneEn south = forward(lon, lat - kStep);
    const double dE = north.e - south.e;
    const double dN = north.n - south.n;
    ScaleConvergence s;
    s.k = std::hypot(dE, dN) / (2.0 * kStep * meridianRadius(a, e2, lat));
    s.gamma = std::atan2(dE, dN);
    return s;
}

}  // namespace zelvo
