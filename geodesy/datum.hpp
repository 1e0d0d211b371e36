#pragma once
// Datum transformations: the seven-parameter similarity between two geodetic systems and its exact
// inverse, the search of the catalogue record between two systems, and the standard
// transformation of one point.

#include <deque>

#include "catalogue/catalogue.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/ellipsoid.hpp"

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

}  // namespace zelvo
