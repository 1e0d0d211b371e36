#pragma once
// A catalogue projection applied to one point: the projection parameters read from its record,
// and the dispatch on its kind to the formula families.

#include <memory>
#include <span>

#include "catalogue/records.hpp"
#include "geodesy/projection_types.hpp"

namespace zelvo {

// Projection kinds.
inline constexpr int kLambertConformalConic = 1;
inline constexpr int kTransverseMercator = 2;
inline constexpr int kTransverseMercatorAlias = 3;  // processed exactly as kind 2
inline constexpr int kGaussLaborde = 5;
inline constexpr int kLambertAzimuthalEqualArea = 6;

// True for the kinds that have formulas (and, for kind 1, a known variant 1, 2 or 3; for the
// EPSG method kinds, a known linear unit).
bool isSupportedProjection(const CPrc& projection);
// False for the kinds that are not conformal (the equal-area projections and Cassini-Soldner),
// which report no point scale factor and no convergence.
bool hasScaleFactor(const CPrc& projection);

// λc, the longitude of origin from Greenwich in radians: λ0 plus the offset of the projection's
// meridian when it is not Greenwich (number 1); kind 5 takes λ0 alone.
// For the EPSG method kinds, every angle is converted with the full angle-unit conversion.
double projectionLongitudeOrigin(const CPrc& projection);

struct ProjectedPoint {
    PlaneEn plane;
    bool hasScale = false;   // false for the kinds without (hasScaleFactor)
    ScaleConvergence scale;  // k and γ (radians) when hasScale
};

struct ProjectionConstants;

// A projection's constants computed once for one ellipsoid (a, e2), as an operation keeps them for
// its run: every point then only runs the formulas. The record must outlive it.
class CompiledProjection {
public:
    CompiledProjection(const CPrc& projection, double a, double e2);
    ~CompiledProjection();
    CompiledProjection(CompiledProjection&&) noexcept;
    CompiledProjection& operator=(CompiledProjection&&) noexcept;

    const CPrc& record() const { return *projection_; }
    bool supported() const { return supported_; }
    // True when these are the constants of this record on this ellipsoid (bit for bit).
    bool isFor(const CPrc* projection, double a, double e2) const;

    // As projectForward and projectInverse below.
    int forward(double lon, double lat, ProjectedPoint& out) const;
    int inverse(double east, double north, LonLat& out) const;
    int inverse(std::span<const PlaneEn> points, std::span<LonLat> out) const;

private:
    const CPrc* projection_;
    double a_, e2_;
    bool supported_;
    std::unique_ptr<ProjectionConstants> constants_;
};

// The functions below compute the projection's constants at each call: a run of points uses a
// CompiledProjection instead.
// Forward projection of (lon, lat) radians from Greenwich, on the ellipsoid (a, e2) of the point's
// system, to the projection's linear unit (metres for kinds 1 to 6). The EPSG method kinds take
// all their constants from that ellipsoid. Returns kStatusOk, or kStatusUnsupportedProjection
// leaving out unchanged.
int projectForward(const CPrc& projection, double a, double e2, double lon, double lat, ProjectedPoint& out);
// Inverse projection of (east, north), in the projection's linear unit, to radians from Greenwich. Returns kStatusOk, or
// kStatusUnsupportedProjection leaving out unchanged.
int projectInverse(const CPrc& projection, double a, double e2, double east, double north, LonLat& out);
// The same for several points at once (out as long as points), each the value of the above;
// faster for the conformal kinds (all but the equal-area projection).
int projectInverse(const CPrc& projection, double a, double e2, std::span<const PlaneEn> points,
                   std::span<LonLat> out);

}  // namespace zelvo
