#pragma once
// The EPSG registry of PROJ's database (proj.db), read only: registry objects become catalogue
// records on demand, beside the catalogue's own, which keep their numbers and their precedence.
//
// A record made from the registry has the number kRegistryNumbers + its EPSG code (a system, the
// code of its datum: the 2-D, 3-D and geocentric CRS of one datum name the same system). The
// Greenwich meridian of the registry is the catalogue's meridian 1.

#include <memory>
#include <string>
#include <string_view>

#include "catalogue/catalogue.hpp"

struct sqlite3;

namespace zelvo {

inline constexpr int kRegistryNumbers = 100000000;

// The file read: proj.db in the first folder of PROJ_DATA (or the older PROJ_LIB) that has one,
// else /usr/share/proj/proj.db.
std::string registryPath();

// "EPSG:<code>" (any case) gives the code; anything else 0.
int registryCode(std::string_view text);

class Registry {
public:
    // Opens the database read only and checks its layout version; null with message when it is
    // absent or of a layout this program does not know.
    static std::unique_ptr<Registry> open(const std::string& path, std::string& message);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Each adds the records the registry object needs to the catalogue (once) and returns the
    // number of the system, projection, meridian or vertical system made; 0 with message when the
    // code is unknown, deprecated, of another kind or of a method this program does not support.
    // A geodetic CRS: its datum as a system, with its ellipsoid, prime meridian and area of use.
    int addSystem(Catalogue& catalogue, int code, std::string& message);
    // A projected CRS whose base CRS has the datum of the given system.
    int addProjection(Catalogue& catalogue, int code, int systemNumber, std::string& message);
    // A prime meridian.
    int addMeridian(Catalogue& catalogue, int code, std::string& message);
    // The seven-parameter transformations of the registry between the datums of two registry
    // systems (geocentric translations, position vector, coordinate frame; coordinate frame
    // rotations are made position vector), the most accurate first, as standard transformation
    // records with their areas of use; when none links them, those between each and WGS 84
    // (whose system is added). Returns how many were added.
    int addTransformations(Catalogue& catalogue, int systemA, int systemB);

private:
    int addDirectTransformations(Catalogue& catalogue, int systemA, int systemB);
    explicit Registry(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

}  // namespace zelvo
