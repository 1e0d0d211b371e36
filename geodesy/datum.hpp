#pragma once
// Datum transformations: the seven-parameter similarity between two geodetic systems and its exact
// inverse, the search of the catalogue record between two systems, and the standard
// transformation of one point.

#include <deque>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "catalogue/registry.hpp"
#include "catalogue/records.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/precision.hpp"

namespace zelvo {

// Transformation record types.
inline constexpr int kStandardTransformation = 1;  // seven parameters (TSG)
inline constexpr int kGridTransformation = 2;      // translation companion of a grid (TSG0)

// Position-vector similarity X′ = T + (1 + d) X + R × X with small rotations rx, ry, rz (radians)
// and scale difference d (dimensionless); the scale is applied to the diagonal only. Exact to
// rounding.
CartesianXyz applySimilarity(double tx, double ty, double tz, double d, double rx, double ry, double rz,
                             double x, double y, double z);
// The exact solution X of applySimilarity(…, X) = X′ (not the sign-flipped approximation): brings a
// transformed point back to rounding error.
CartesianXyz applySimilarityInverse(double tx, double ty, double tz, double d, double rx, double ry,
                                    double rz, double x, double y, double z);

// Finds the record of type between two systems, by number: the first record from departure to
// arrival (inverse 0), else the first from arrival to departure (inverse 1). Fails when the numbers
// are equal or no record links them.
bool findTransformation(const std::deque<CTsg>& transformations, int departureSystem, int arrivalSystem,
                        int type, CTransfo& found);

// Moves point to the arrival system with the type-1 record that links its system to arrival's:
// the point is made cartesian, transformed, and takes the arrival's system, projection and
// vertical system (its meridian stays) and the record's precision code. Returns 0; 600 when no
// record links the systems; 300 when the point's projection cannot be inverted. On 600 and 300 the
// point is left unchanged.
int standardTransform(CCoor& point, const CSysCoor& arrival, const Catalogue& catalogue);

// A seven-parameter record resolved once for a run: its parameters in the units the similarity
// takes.
struct Similarity {
    bool inverse = false;
    double tx = 0, ty = 0, tz = 0, d = 0, rx = 0, ry = 0, rz = 0;
    int precisionCode = 0;
    const CTsg* record = nullptr;
};

// One way from a system to another: one record, or two through WGS 84 (registry systems only).
struct SimilarityRoute {
    Similarity first;
    bool twoSteps = false;
    Similarity second;
    // The pivot's ellipsoid: between the steps the point takes its height before the first again,
    // as each step of PROJ's pipelines keeps the height it was given.
    double pivotA = 0.0, pivotE2 = 0.0;
    int precisionCode = 0;
    // Whether the route's records apply at a position in degrees from Greenwich.
    bool applies(double lonDegrees, double latDegrees) const;
};

// The routes between two systems, resolved once for a run. Between catalogue systems, one: the
// catalogue's record (the first from departure to arrival, else the first the other way). Between
// registry systems, every registry record between them, the most accurate first, a point taking
// the first whose area of use holds it; when none links them, the routes through WGS 84.
struct ResolvedSimilarity {
    const CReg* from = nullptr;  // the systems it was resolved between
    const CReg* to = nullptr;
    bool found = false;
    std::vector<SimilarityRoute> routes;
    bool byArea = false;  // routes differ by area of use
};
ResolvedSimilarity resolveStandardTransformation(const CReg* from, const CReg* to, const Catalogue& catalogue);

// The number of the registry's WGS 84 system, the pivot between registry systems.
inline constexpr int kRegistryWgs84System = kRegistryNumbers + 6326;


// standardTransform with the record resolved beforehand (for the point's system and the arrival
// system; any other pair is looked up in the catalogue) and the run's projection constants.
int standardTransform(CCoor& point, const CSysCoor& arrival, const ResolvedSimilarity& record,
                      const Catalogue& catalogue, const CLgo* greenwich, const CompiledProjections& compiled);

}  // namespace zelvo
