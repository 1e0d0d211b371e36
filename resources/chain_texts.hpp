#pragma once
// Texts of the per-point transformation chain (UTF-8).

#include <string_view>

namespace zelvo::texts {

inline constexpr const char* kTransformationNames[] = {"", "Standard", "Grille"};

// The name of a transformation type: "Standard" for 1, "Grille" for 2, empty for any other.
inline std::string_view transformationName(int type) {
    return (type == 1 || type == 2) ? kTransformationNames[type] : "";
}

// Point statuses of the file driver, by extent condition.
inline constexpr const char* kDepartureOutsideProjection =
    "Les coordonnées ne se trouvent pas dans l'emprise de la projection de départ !!!";
inline constexpr const char* kDepartureOutsideSystem =
    "Les coordonnées ne se trouvent pas dans l'emprise du référentiel de départ !!!";
inline constexpr const char* kArrivalOutsideProjection =
    "Les coordonnées ne se trouvent pas dans l'emprise de la projection d'arrivée !!!";
inline constexpr const char* kArrivalOutsideSystem =
    "Les coordonnées ne se trouvent pas dans l'emprise du référentiel d'arrivée !!!";

inline constexpr const char* kPrecisionShown = "La précision de la transformation est : %s en plani et %s en alti";
inline constexpr const char* kPrecisionSameSystem =
    "La transformation sans changement de système ne dégrade pas la précision des coordonnées en plani. "
    "La précision alti est %s .";
inline constexpr const char* kChainError = "Transformation : erreur n° %d\n";

}  // namespace zelvo::texts
