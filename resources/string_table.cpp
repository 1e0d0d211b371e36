#include "resources/string_table.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace zelvo {
namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Sorted by number.
constexpr Entry kStrings[] = {
    // Tool tips of the main window's buttons, by control id.
    {1, "Calcule la transformation de coordonnées précisée"},
    {2, "Quitte le programme et ferme tout"},
    // The about item, which is also the presentation tab's label; the product name.
    {101, "&A propos de Zelvo"},
    {107, "Zelvo"},
    {1200, "Choix du type de transformation : standard ou grille."},
    // Angle unit names, 1999 + unit code.
    {2000, "Radians"},
    {2001, "Degrés décimaux"},
    {2002, "Grades"},
    {2003, "Heures décimales"},
    {2004, "Secondes de degré"},
    {2005, "Secondes d'heure"},
    {2009, "Degrés Minutes Secondes"},
    {2010, "Heures Minutes Secondes"},
    {2011, "Degrés Minutes décimales"},
    // Point-file data format names.
    {2016, "Nom X Y Z"},
    {2017, "X Y Z"},
    {2018, "Nom E N Altitude"},
    {2019, "Nom E N Hauteur"},
    {2020, "E N Altitude"},
    {2021, "E N Hauteur"},
    {2022, "Nom Lon Lat Altitude"},
    {2023, "Nom Lon Lat Hauteur"},
    {2024, "Lon Lat Altitude"},
    {2025, "Lon Lat Hauteur"},
    {2026, "Nom Lat Lon Altitude"},
    {2027, "Nom Lat Lon Hauteur"},
    {2028, "Lat Lon Altitude"},
    {2029, "Lat Lon Hauteur"},
    // Coordinate type names.
    {2032, "Cartésiennes"},
    {2033, "Géographiques"},
    {2034, "Planes"},
    // Grid and extent messages.
    {2232, "Les coordonnées que vous avez saisies sont hors de la grille de geoide"},
    {2233, "Les coordonnées que vous avez saisies sont hors de la grille de transformation"},
    {2234, "Les coordonnées ne se trouvent pas dans l'emprise de la projection de départ"},
    {2235, "Les coordonnées ne se trouvent pas dans l'emprise du référentiel de départ"},
    {2236, "Les coordonnées ne se trouvent pas dans l'emprise de la projection d'arrivée"},
    {2237, "Les coordonnées ne se trouvent pas dans l'emprise du référentiel d'arrivée"},
    // Day names of the date stamp, Sunday first.
    {2260, "Dimanche"},
    {2261, "Lundi"},
    {2262, "Mardi"},
    {2263, "Mercredi"},
    {2264, "Jeudi"},
    {2265, "Vendredi"},
    {2266, "Samedi"},
    // Header of an annotated arrival file.
    {3001, "*Résultat de la transformation de type "},
    {3002, "*SYSTEME :        "},
    {3003, "*COORDONNÉES :   "},
    {3004, "*ELLIPSOÏDE :     "},
    {3005, "*PROJECTION:    "},
    {3006, "*SYSTEME ALTIMETRIQUE :       "},
    {3007, "*MERIDIEN :      "},
    {3008, "*UNITÉ :          "},
    {3009, " entre :"},
    // Labels of the transformation tabs.
    {3010, "Transformation standard"},
    {3011, "Transformation grille"},
    {57670, "Explication géodésique sur les systèmes, projections, coordonnées...."},
};

constexpr bool sortedById() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id) return false;
    return true;
}
static_assert(sortedById(), "string table entries must be sorted by number, each number once");

}  // namespace

std::string_view loadString(int id) {
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                     [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(kStrings) || it->id != id) return {};
    return it->text;
}

}  // namespace zelvo
