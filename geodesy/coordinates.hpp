#pragma once
// Helpers of the CCoor conversions (the operations themselves are members of CCoor, declared in
// catalogue/records.hpp and defined in coordinates.cpp).

#include "catalogue/catalogue.hpp"
#include "catalogue/records.hpp"

namespace zelvo {

// The catalogue's Greenwich meridian: the last meridian numbered 1, or null when there is none.
const CLgo* greenwichMeridian(const Catalogue& catalogue);

// True for Greenwich (number 1) and for a null meridian, which the conversions read as Greenwich.
bool isGreenwich(const CLgo* meridian);

}  // namespace zelvo
