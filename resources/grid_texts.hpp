#pragma once
// Texts of the grid subsystem (UTF-8): opening, header readers, XML side file, validation and
// the binary version. Formats are printf formats.

namespace zelvo::texts {

// Opening.
inline constexpr const char* kGridNameNotSet = "Le nom du fichier de grille n'est pas initialisé";
inline constexpr const char* kGridCannotOpen = "Impossible d'ouvrir le fichier \n%s";
inline constexpr const char* kGridTypeUnknown = "%s :\nLe type de grille n'est pas reconnu";
inline constexpr const char* kGridHeaderLineTooLong =
    "%s :\nLa ligne d'en-tête est trop longue (%d char max)";
inline constexpr const char* kGridHeaderProblem = "Problème dans l'en-tête de\n%s (position %d)";
inline constexpr const char* kGridSeeXml = "\n(cf fichier XML le cas échéant)";

// Header tokens.
inline constexpr const char* kRealExpected = "Réel attendu dans l'en-tête peu avant la position %d";
inline constexpr const char* kIntegerExpected = "Entier attendu dans : \n%s\n(peu avant la position %s";
inline constexpr const char* kValuesNumberInvalid = "%s :\nNombre de valeurs par nœud non valide : %d";

// Binary header.
inline constexpr const char* kUnexpectedKeyword = "Mot-clé imprévu : %s\n(%s)";
inline constexpr const char* kUnexpectedVersion = "Numéro de version imprévu : %d\n(%s)";
inline constexpr const char* kBinaryDataOffsetInvalid =
    "%s :\nPosition des données imprévue dans l'en-tête : %d";
inline constexpr const char* kBinaryHeaderTruncated = "%s :\nL'en-tête du fichier binaire est incomplet";

// NTV2 headers.
inline constexpr const char* kNtv2NotNtv2 = "Grille non NTV2";
inline constexpr const char* kNtv2UnexpectedKey = "FirstDataElement imprévu : %s";
inline constexpr const char* kNtv2UnexpectedGsType = "GS_TYPE imprévu";
inline constexpr const char* kNtv2HeaderInconsistent = "Incohérence dans l'en-tête";
inline constexpr const char* kNtv2NodeCountInconsistent = "Incohérence dans le nombre d'enregistrements";

// Headers of the other foreign formats.
inline constexpr const char* kTextHeaderTruncated = "%s :\nL'en-tête s'arrête avant sa fin";
inline constexpr const char* kTextHeaderUnreadable =
    "%s :\nL'en-tête est incomplet ou illisible (valeur n° %d)";
inline constexpr const char* kSurferKeywordMissing =
    "%s :\nMot-clé DSAA non trouvé (grille Surfer au format texte attendue)";
inline constexpr const char* kEsriKeywordMissing = "%s :\nMot-clé %s absent de l'en-tête de la grille ESRI";
inline constexpr const char* kDisOrthMissing = "Mot-clé ORTH non trouvé";
inline constexpr const char* kDisNotOrthogonal = "Grille non orthogonale";

// Sizes announced by a header.
inline constexpr const char* kTooManyNodes =
    "%s :\nLa grille annonce trop de nœuds (%d colonnes × %d lignes)";
inline constexpr const char* kBinaryFileTooShort =
    "%s :\nLe fichier est plus court que ne l'annonce son en-tête (%lld octets attendus, %lld présents)";
inline constexpr const char* kTextFileTooShort =
    "%s :\nLe fichier ne peut pas contenir les %lld nœuds qu'annonce son en-tête";

// XML side file.
inline constexpr const char* kXmlNotFound = "Fichier %s introuvable";
inline constexpr const char* kXmlNotLoaded =
    "Fichier %s non chargé.\nUne piste : l'élément CDATA n'est pas supporté.";
inline constexpr const char* kXmlRootMissing = "Balise non trouvée : \n<GRID_HEADER>";

// Validation, each text added in this order.
inline constexpr const char* kCheckLayout = "+ Type de rangement imprévu : %d\n";
inline constexpr const char* kCheckXRange = "+ XMin >= XMax\n";
inline constexpr const char* kCheckYRange = "+ YMin >= YMax\n";
inline constexpr const char* kCheckExtent = "+ Emprise de la grille non valide\n";
inline constexpr const char* kCheckIncrement = "+ Pas non valide\n";
inline constexpr const char* kCheckCounts =
    "+ Incohérence des limites, pas et nombre de lignes et de colonnes\n";
inline constexpr const char* kCheckAdjust = "+ Ajustez mieux les limites et les pas de votre grille\n";
inline constexpr const char* kCheckValuesType = "+ TypeVal non initialisé\n";
inline constexpr const char* kCheckInterpolation =
    "+ Le type d'interpolation doit être bilinéaire ou spline\n";
inline constexpr const char* kCheckSplineOrder = "+ Pour une interpolation spline, l'ordre doit être >= 4\n";
inline constexpr const char* kCheckSplineOrderTooLarge =
    "+ Ordre d'interpolation spline trop grand : %d (%d au plus)\n";
inline constexpr const char* kCheckValuesNumber = "+ Nombre de valeurs par nœud non valide : %d\n";
inline constexpr const char* kCheckValuesTypeUnknown = "+ Type de valeur imprévu : %d\n";
inline constexpr const char* kCheckCodePrec = "+ Indicateur de code de précision imprévu : %d\n";
inline constexpr const char* kCheckResult = "%s :\n%s";

// Binary version.
inline constexpr const char* kBinaryCreation = "Creation du fichier binaire ";
inline constexpr const char* kBinaryCreationStatus = "%s %s ...";
inline constexpr const char* kBinaryCannotCreate = "Impossible d'ouvrir le fichier\n %s";
inline constexpr const char* kBinaryCreationCancelled =
    "%s :\nCréation du fichier binaire interrompue : la grille n'est pas utilisable";
inline constexpr const char* kTextDataShort =
    "%s :\nLes données s'arrêtent après %lld nœuds, l'en-tête en annonce %lld";
inline constexpr const char* kTextDataInvalid = "%s :\nValeur illisible dans les données (nœud %lld)";
inline constexpr const char* kBinaryWriteFailed = "%s :\nÉcriture du fichier binaire impossible";

// GTX and GeoTIFF grids.
inline constexpr const char* kForeignValuesUnreadable = "Les valeurs de la grille sont illisibles";
inline constexpr const char* kGeoTiffUnreadable = "%s :\nFichier GeoTIFF illisible (%s)";
inline constexpr const char* kGeoTiffNotGeoreferenced =
    "%s :\nLe fichier GeoTIFF n'est pas une grille en longitude et latitude (pas de ModelPixelScale et "
    "ModelTiepoint, ou une ModelTransformation)";
inline constexpr const char* kGeoTiffSampleType = "%s :\nType de valeur GeoTIFF non pris en charge (%d bits, format %d)";
inline constexpr const char* kGeoTiffBands = "%s :\nNombre de bandes GeoTIFF non pris en charge (%d)";

}  // namespace zelvo::texts
