#pragma once
// Texts of the point files, the command line and the batch (UTF-8).

namespace zelvo::texts {

// Point statuses.
inline constexpr const char* kStatusOk = "OK";
inline constexpr const char* kStatusEnd = "Fin";
inline constexpr const char* kStatusBlankLine = "ligne blanche";
inline constexpr const char* kStatusComment = "commentaires";
inline constexpr const char* kStatusBadPoint = "mauvais format de point";
inline constexpr const char* kStatusUnknownFormat = "type de fichier inconnu";

// Arrival files.
inline constexpr const char* kErrorLine = "* ERREUR!!! Sur cette ligne du fichier d'entrée : ";
inline constexpr const char* kEndLinePrefix = "* Fin ";
inline constexpr const char* kReportEndText =
    "--------------------------------------------------------------------------------\nFin ";
inline constexpr const char* kPrecisionColumns = "\t\tpréc. plani\t\tpréc alti";
inline constexpr const char* kConversionColumns = "     Conv(%s)  Alt Lin(mm/km)";

}  // namespace zelvo::texts

namespace zelvo::texts {

// Command line.
inline constexpr const char* kUnknownFlag = "Le flag n'existe pas";
inline constexpr const char* kNoSuchTransformationType = "Le type de transformation géométrique choisi n'existe pas";
inline constexpr const char* kNoDepartureSystem = "Le référentiel géodésique de départ choisi n'existe pas";
inline constexpr const char* kNoArrivalSystem = "Le référentiel géodésique d'arrivée choisi n'existe pas";
inline constexpr const char* kNoVerticalSystem = "Le référentiel altimétrique choisi n'existe pas";
inline constexpr const char* kNoTransformation =
    "La transformation entre les deux referentiels n'existe pas en mode transformation";
inline constexpr const char* kNoDepartureType = "Le type de coordonnées de départ selectionné n'existe pas";
inline constexpr const char* kNoArrivalType = "Le type de coordonnées d'arrivée selectionné n'existe pas";
inline constexpr const char* kNoCartesianDeparture =
    "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel de départ";
inline constexpr const char* kNoCartesianArrival =
    "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel d'arrivée";
inline constexpr const char* kBadDepartureUnit = "L'unité choisie au départ n'est pas valide ";
inline constexpr const char* kBadArrivalUnit = "L'unité choisie à l'arrivée n'est pas valide ";
inline constexpr const char* kBadMeridian = "Le méridien origine choisi n'est pas valide";
inline constexpr const char* kBadProjection = "La projection choisie pour n'est pas valide";
inline constexpr const char* kDepartureTypeNotAllowed =
    "Le type de coordonnées de départ n'est pas compatible avec le référentiel";
inline constexpr const char* kArrivalTypeNotAllowed =
    "Le type de coordonnées d'arrivée n'est pas compatible avec le référentiel";
inline constexpr const char* kBadDataFormat = "Le type de données choisi n'est pas valide";
inline constexpr const char* kNoEllipsoidalHeights = "Il est interdit de rentrer des hauteurs sur l'ellipsoïde avec le référentiel";
inline constexpr const char* kNoDepartureFile = "Le nom du fichier de départ n'est pas saisi";
inline constexpr const char* kNoArrivalFile = "Le nom du fichier d'arrivée n'est pas saisi";
inline constexpr const char* kCommandLineValid = "Ligne de commande validee.";

// Batch run.
inline constexpr const char* kSameFiles = "Impossible de lire et d'écrire dans les mêmes fichiers";
inline constexpr const char* kCannotOpenFile = "Impossible d'ouvrir le fichier";
inline constexpr const char* kCannotWriteFile = "Impossible d'écrire dans le fichier";
inline constexpr const char* kInitialising = "Initialisation des donnees internes aux calculs...";
inline constexpr const char* kRunFinished = "Transformation terminée entre les fichiers suivants :";
inline constexpr const char* kSucceeded = "transformation(s) réussie(s)";
inline constexpr const char* kOutside = "transformation(s) hors zone";

}  // namespace zelvo::texts
