#pragma once
// The computations may use the grids below them.
#include "grids/grid_probe.hpp"
