#pragma once
// The grids that shift geographic coordinates rather than carry datum-shift parameters: NTV2's
// four values per node (latitude shift, longitude shift counted positive west, and the accuracy
// of each, in the grid's values unit, seconds of arc). A position on the grid's source datum
// plus the interpolated shift is the position on its target datum; the ellipsoidal height is
// kept. Applied as PROJ's hgridshift applies it, the reverse by iteration.

#include "grids/grid.hpp"

namespace zelvo {

// Whether the grid holds geographic shifts (four values per node).
bool shiftsGeographicCoordinates(const CGrille& grid);

// Moves a position (radians, longitude from Greenwich) from the grid's source datum to its target
// datum (forward), or back (the position that the forward shift would bring to the one given,
// found by fixed-point iteration to 1e-12 rad, at most ten passes). 0 when done; otherwise the
// interpolation's status for the position, or an iterate, that it could not shift (2 outside the
// grid, kInterpolationNotFinite on a node that holds no number), the position then left as it
// was. precisionCode receives the class of the interpolated accuracies (0 when the grid gives none).
int applyGeographicShift(const CGrille& grid, bool forward, double& lonRadians, double& latRadians,
                          int& precisionCode);

// The precision code whose text covers a horizontal accuracy in metres; 0 (no information) for a
// value that is not positive.
int horizontalPrecisionCode(double metres);

}  // namespace zelvo
