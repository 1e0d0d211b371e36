#pragma once
// What the drivers of a run work with: the catalogue, the application's current grids, the user
// they talk to, and, in window mode, the report request, the log and the last single-point result.

#include "catalogue/catalogue.hpp"
#include "geodesy/coordinates.hpp"
#include "grids/grid.hpp"

namespace zelvo {

class Out_Fic;
class UserInterface;

struct RunContext {
    const Catalogue& catalogue;
    CGrille1D& geoidGrid;        // the current grids, kept from run to run
    CGrille3D& translationGrid;
    UserInterface& ui;
    bool reportRequested = false;
    Out_Fic* log = nullptr;       // the window drivers' log; the batch keeps none
    CCoor* lastResult = nullptr;  // receives each successful single-point result
    // The catalogue the registry's records are added to, when the run may name registry codes
    // (the same catalogue as above, writable); none where codes are not taken.
    Catalogue* registryCatalogue = nullptr;
};

}  // namespace zelvo
