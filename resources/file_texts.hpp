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
inline constexpr const char* kRegistryCodesNotTaken = "Les codes EPSG ne sont pas pris ici !";
// The value of -x … -H: a finite decimal number, nothing else.
inline constexpr const char* kValueNotANumber = "La valeur n'est pas un nombre fini";
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

// One line of "zelvo --help" per option: how it is written, what it does.
struct OptionHelp {
    const char* usage;
    const char* meaning;
};
inline constexpr OptionHelp kOptionHelp[] = {
    {"-type T", "type de transformation : 1 standard (sept paramètres), 2 grille"},
    {"-mode M", "0 un point donné sur la ligne de commande, 1 un fichier de points"},
    {"-sys1 S", "référentiel géodésique de départ (numéro du catalogue, ou EPSG:code du registre)"},
    {"-sys2 S", "référentiel géodésique d'arrivée (numéro du catalogue, ou EPSG:code du registre)"},
    {"-alt K V",
     "composante verticale K : 0 aucune, 1 hauteur, 2 altitude ; V le référentiel altimétrique"},
    {"-typcoor1 T [U M|P]",
     "type de coordonnées de départ : 1 cartésiennes, 2 U M géographiques, 3 P planes (M et P : numéro ou "
     "EPSG:code)"},
    {"-typcoor2 T [U M|P]", "type de coordonnées d'arrivée, comme -typcoor1"},
    {"-f1 POS FICHIER", "mode fichier : format de départ (position dans le menu du type) et fichier"},
    {"-f2 POS FICHIER", "mode fichier : format d'arrivée et fichier"},
    {"-x X", "mode point : X cartésien de départ (m)"},
    {"-y Y", "mode point : Y cartésien de départ (m)"},
    {"-z Z", "mode point : Z cartésien de départ (m)"},
    {"-lon L", "mode point : longitude de départ, dans l'unité de départ"},
    {"-lat L", "mode point : latitude de départ, dans l'unité de départ"},
    {"-he H", "mode point : hauteur sur l'ellipsoïde de départ (m)"},
    {"-E E", "mode point : abscisse (est) de départ (m)"},
    {"-N N", "mode point : ordonnée (nord) de départ (m)"},
    {"-H H", "mode point : altitude de départ (m)"},
    {"-v", "affiche la validation et des résultats annotés, résume le mode fichier"},
    {"-init FICHIER", "accepté, sans effet"},
    {"-?", "affiche l'aide du fichier de configuration"},
    {"--help", "affiche cette aide et s'arrête"},
    {"--version", "affiche le nom et la version de Zelvo et s'arrête"},
};

// Batch run.
inline constexpr const char* kSameFiles = "Impossible de lire et d'écrire dans les mêmes fichiers";
// A report file named like one of the run's point files.
inline constexpr const char* kReportIsDataFile = "Le fichier %s est déjà utilisé, ce n'est pas un fichier rapport !";
inline constexpr const char* kCannotOpenFile = "Impossible d'ouvrir le fichier";
inline constexpr const char* kCannotWriteFile = "Impossible d'écrire dans le fichier";
inline constexpr const char* kInitialising = "Initialisation des donnees internes aux calculs...";
inline constexpr const char* kRunFinished = "Transformation terminée entre les fichiers suivants :";
inline constexpr const char* kSucceeded = "transformation(s) réussie(s)";
inline constexpr const char* kOutside = "transformation(s) hors zone";

// "zelvo --version": the program's name and version.
inline constexpr const char* kVersionLine = "Zelvo %s\n";

}  // namespace zelvo::texts
