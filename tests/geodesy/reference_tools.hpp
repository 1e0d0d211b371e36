#pragma once
// Test helpers: running PROJ's cs2cs as an independent implementation, and the shared reference
// catalogue.

#include <array>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/test_support.hpp"

namespace zelvo::test {

// True when /usr/bin/cs2cs (or cs2cs on PATH) can be run.
bool cs2csAvailable();

// Runs "cs2cs -f %.10f <from> +to <to>", one input line per point (three values each, the third 0
// for 2-D input), and returns the first three values of each output line; a line that cs2cs could
// not transform gives NaN values. Empty when cs2cs could not be run.
std::vector<std::array<double, 3>> runCs2cs(const std::string& from, const std::string& to,
                                            const std::vector<std::array<double, 3>>& points);

// Point scale factor k and convergence of meridians (decimal degrees, PROJ's sign: positive east of
// the central meridian) as "proj -V <definition>" prints them (8 decimals), for each (lon, lat) in
// degrees; empty when proj could not be run.
struct ProjFactors {
    double k = 0.0;
    double convergenceDegrees = 0.0;
};
std::vector<ProjFactors> runProjFactors(const std::string& definition,
                                        const std::vector<std::array<double, 2>>& points);

// Loads the catalogue of a reference folder (by default the project's own) into catalogue; false
// (with the reason in why) when the file does not load.
bool loadReferenceCatalogue(Catalogue& catalogue, std::string& why, const std::string& dir = referenceDir());

}  // namespace zelvo::test
