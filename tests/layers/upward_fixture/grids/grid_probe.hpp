#pragma once
// A grid header that wrongly reaches up into the computations.
#include "geodesy/chain.hpp"
#include "catalogue/records.hpp"
