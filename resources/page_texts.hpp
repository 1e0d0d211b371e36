#pragma once
// Texts of the transformation pages (UTF-8): comments, messages and tool tips by control id.

#include <utility>

namespace zelvo::texts {

inline constexpr const char* kPageStartComment =
    "Veuillez choisir un système de départ, d'arrivée, les types de coordonnées, et projections si nécessaire ...";
inline constexpr const char* kDepartureCartesianComment = "Veuillez saisir les coordonnées cartésiennes du système de départ";
inline constexpr const char* kDepartureGeographicComment = "Veuillez saisir des coordonnées géographiquesdu système de départ";
inline constexpr const char* kDepartureProjectedComment =
    "Veuillez saisir des coordonnées planes du système de départ en mètres";
inline constexpr const char* kArrivalCartesianComment = "Calcul des coordonnées cartésiennes du système d'arrivée";
inline constexpr const char* kArrivalGeographicComment = "Calcul des coordonnées géographiques du système d'arrivée";
inline constexpr const char* kArrivalProjectedComment = "Calcul des coordonnées planes du système d'arrivée en mètres";
inline constexpr const char* kInteractiveModeComment = "Mode Interactif : saisie écran";
inline constexpr const char* kFileModeComment =
    "Saisir les systèmes, les projections, les unités et les fichiers de départ et d'arrivée";
inline constexpr const char* kHeightRefused = "Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le système %s.\n";

// Validation of the entry fields ("%1" and "%2": the bounds).
inline constexpr const char* kTypeInteger = "Tapez un nombre entier.";
inline constexpr const char* kTypeNumber = "Tapez un nombre.";
inline constexpr const char* kTypeIntegerBetween = "Tapez un nombre entier compris entre %1 et %2.";
inline constexpr const char* kTypeNumberBetween = "Tapez un nombre compris entre %1 et %2.";

// Signs of a typed geographic point.
inline constexpr const char* kNegativeLongitude =
    "Ne pas saisir de signe négatif pour la longitude,\nutiliser le radio bouton \"Ouest\"";
inline constexpr const char* kNegativeLatitude =
    "Ne pas saisir de signe négatif pour la latitude ,\nutiliser le radio bouton \"Sud\"\nDe plus, en france la "
    "latitude est d'environ 45° !";

// The precision sentence after a computation.
inline constexpr const char* kPrecisionSameSystem =
    "La transformation sans changement de système ne dégrade pas la précision des coordonnées en plani. La précision "
    "alti est %s .";
inline constexpr const char* kPrecision = "La précision de la transformation est : %s en plani et %s en alti";

// Nothing computed: the display fields are empty, and the comment says why.
inline constexpr const char* kNoResultRefusedEntry =
    "Aucun résultat : la saisie a été refusée. Corrigez-la, puis lancez le calcul à nouveau.";
inline constexpr const char* kNoResultNotComputed =
    "Aucun résultat : le point n'a pas été transformé (voir le message précédent).";

// File mode.
inline constexpr const char* kFileRunInterrupted =
    "Transformation interrompue après %d point(s) transformé(s) : le fichier d'arrivée %s et le rapport sont "
    "restés tels qu'ils étaient.";
inline constexpr const char* kFilesComment = "Saisir les systèmes et unités.-- Fichiers : de %s vers %s";
inline constexpr const char* kNoDepartureFileName = "Veuillez saisir un nom de fichier de départ, s'il vous plait !";
inline constexpr const char* kNoArrivalFileName = "Veuillez saisir un nom de fichier d'arrivée s'il vous plait !";
inline constexpr const char* kSameArrivalFile =
    "Vous n'avez pas changé le fichier d'arrivée depuis le dernier calcul !\nVoulez-vous continuer ?";
inline constexpr const char* kNoDepartureFormat = "Veuillez choisir un format de données pour le fichier de départ";
inline constexpr const char* kNoArrivalFormat = "Veuillez choisir un format de données pour le fichier d'arrivée";
inline constexpr const char* kArrivalExists = " existe déjà.\nVoulez-vous le remplacer ?";
inline constexpr const char* kReportQuestion =
    "\nSouhaitez vous l'écriture d'un fichier rapport contenant:\n\t-les systèmes,\n\t-les projections,\n\t-les "
    "unités,\n\t-les ellipsoïdes,\n\t-les coordonnées de départ et d'arrivée  ?\n\n\nAttention!Le temps de calcul en "
    "sera environ doublé!";
inline constexpr const char* kPointFileFilter =
    "Fichiers texte (*.txt)|*.txt|Fichiers de calcul (*.plh;*.xyz*.plo;*.enh;*.res)|*.plh;*.xyz*.plo;*.enh;*.res|Tous "
    "les fichiers (*.*)|*.*||";
inline constexpr const char* kReportFileFilter =
    "Fichiers de type rapport (*.prt;*.rpt)|*.prt;*.rpt|Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*||\n";
inline constexpr const char* kPointFileExtension = "*.txt";
inline constexpr const char* kReportFileExtension = "*.prt;*.rpt";

inline constexpr std::pair<int, const char*> kPageToolTips[] = {
    {1002, "Liste des systèmes de référence (SRG)"},
    {1003, "Liste des systèmes de référence (SRG) autorisés en fonction du SRG de départ"},
    {1007, "Liste des projections autorisées au départ"},
    {1008, "Liste des projections autorisées à l'arrivée"},
    {1004, "Choix des types de coordonnées au départ"},
    {1005, "Choix des types de coordonnées à l'arrivée"},
    {1012, "Choix à réaliser dans la liste des unités disponibles"},
    {1013, "Choix à réaliser dans la liste des unités disponibles"},
    {1018, "Par convention, positif à l'Est"},
    {1038, "Par convention, positif à l'Est"},
    {1021, "Par convention,négatif à l'Ouest"},
    {1039, "Par convention,négatif à l'Ouest"},
    {1022, "Par convention, positif au Nord"},
    {1041, "Par convention, positif au Nord"},
    {1023, "Par convention, négatif au Sud"},
    {1042, "Par convention, négatif au Sud"},
    {1017, "Choix du méridien origine des coordonnées"},
    {1019, "Choix du méridien origine des coordonnées"},
    {1050, "Coordonnée d'entrée"},
    {1051, "Coordonnée d'entrée"},
    {1052, "Coordonnée d'entrée"},
    {1083, "Coordonnée calculée"},
    {1084, "Coordonnée calculée"},
    {1085, "Coordonnée calculée"},
    {1089, "Coordonnée calculée"},
    {1090, "Coordonnée calculée"},
    {1056, "Saisie de la coordonnée Est en  projection"},
    {1057, "Saisie de la coordonnée Nord en  projection"},
    {1058, "Saisie de l'altitude de départ (en mètre)"},
    {1091, "Altitude calculée (en mètre)"},
    {1062, "Saisie des degrés (ou heures) en longitude"},
    {1069, "Saisie des minutes de degrés (ou d'heures) de longitude"},
    {1071, "Saisie des secondes de degrés (ou d'heures) de longitude"},
    {1079, "Saisie des minutes décimales de degrés (ou d'heures) de longitude"},
    {1073, "Saisie des degrés (ou heures) en latitude"},
    {1075, "Saisie des minutes de degrés (ou d'heures) de latitude"},
    {1077, "Saisie des secondes de degrés (ou d'heures) de latitude"},
    {1081, "Saisie des minutes décimales de degrés (ou d'heures) de latitude"},
    {1064, "Saisie de la hauteur ellipsoïdale"},
    {1099, "Degrés de longitude calculés(ou heures)"},
    {1101, "Minutes de degrés de longitude (ou d'heures) calculées"},
    {1103, "Secondes de degrés de longitude (ou d'heures) calculées"},
    {1111, "Minutes décimales de degrés (ou d'heures) de longitude calculées"},
    {1105, "Degrés (ou heures) de latitude calculés"},
    {1107, "Minutes de degrés (ou heures) de latitude calculées"},
    {1109, "Secondes de degrés (ou heures) de latitude calculées"},
    {1113, "Minutes décimales de degrés (ou heures) de latitude calculées"},
    {1095, "Hauteur ellipsoïdale calculée"},
    {1031, "Affichage des commentaires d'utilisation du logiciel"},
    {1037, "pas de signe lors de la saisie"},
    {1118, "Saisir le nom du point maximum 30 caractères"},
    {1116, "Convergence des méridiens exprimée dans l'unité choisie"},
    {1117, "Altération linéaire exprimée en mm/km"},
    {1139, "Mode de transformation écran avec sauvegarde dans le fichier log.txt"},
    {1140, "Mode de transformation avec fichier de départ et d'arrivée, et choix d'un rapport"},
    {1127, "Saisie du nom du fichier contenant les coordonnées à transformer."},
    {1129, "Saisie du nom du fichier recevant les coordonnées transformées."},
    {1128, "Recherche du fichier de départ."},
    {1132, "Recherche du fichier d'arrivée."},
    {1142, "Choix du système altimétrique."},
    {1135, "Choix du format des coordonnées contenues dans le fichier de départ."},
    {1136, "Choix du format des coordonnées à écrire dans le fichier de sortie"},
    {1124, "Vous n'avez aucune valeur sur la référence verticale."},
    {1125, "Vous choisissez une hauteur sur l'ellipsoïde."},
    {1126, "Vous choisissez une hauteur sur le géoïde."},
};

}  // namespace zelvo::texts
