#pragma once
// Texts of the window-mode file and single-point drivers (UTF-8).

namespace zelvo::texts {

// Followed by the path.
inline constexpr const char* kCannotOpenFileNamed = "Impossible d'ouvrir le fichier ";
inline constexpr const char* kNamesCannotBeInvented =
    "ERREUR!!! Il est impossible de passer du type de données %s\nau type de données %s,\n\n"
    "On ne peut pas inventer de noms !";
inline constexpr const char* kFileRunProgress = "\nTransformation en cours...Patience!";
inline constexpr const char* kFileRunSummary =
    "Transformation TERMINEE entre les fichiers suivants :\n\n%s \n%s\n\n%d transformation(s) réussie(s)\n"
    "%d transformation(s) non réussie(s)\n%d transformation(s) hors zone";
inline constexpr const char* kFileRunReportLine = "\n\nRapport dans le fichier %s";

// The single point outside the grids, with the bounds of the grid last examined.
inline constexpr const char* kOutsideTransformationGridBounds =
    "\nLes coordonnées que vous avez saisies sont hors grille de paramètres de transformation :\n\n"
    "\t%lf°  <=  longitude   <=   %lf°\n\t%lf°  <=  latitude    <=   %lf°\n\n"
    "(Vos coordonnées ont été transformées en degrés décimaux , et\n"
    "la longitude est ramenée au méridien de greenwich si nécessaire)";
inline constexpr const char* kOutsideGeoidGridBounds =
    "\nLes coordonnées que vous avez saisies sont hors grille de geoide :\n\n"
    "\t%lf°  <=  longitude   <=   %lf°\n\t%lf°  <=  latitude    <=   %lf°\n\n"
    "(Vos coordonnées ont été transformées en degrés décimaux , et\n"
    "la longitude est ramenée au méridien de greenwich si nécessaire)";

// The single point outside an extent: the condition, then the question.
inline constexpr const char* kQuestionDepartureOutsideProjection =
    "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection de départ.\n";
inline constexpr const char* kQuestionDepartureOutsideSystem =
    "\nLes coordonnées ne se trouvent pas dans l'emprise du référentiel de départ.\n";
inline constexpr const char* kQuestionArrivalOutsideProjection =
    "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection d'arrivée.\n";
inline constexpr const char* kQuestionArrivalOutsideSystem =
    "\nLes coordonnées ne se trouvent pas dans l'emprise du référentiel d'arrivée.\n";
inline constexpr const char* kContinueQuestion = "%sVoulez-vous continuer ?";

}  // namespace zelvo::texts
