#pragma once
// Texts of start-up and the configuration file (UTF-8).

namespace zelvo::texts {

inline constexpr const char* kConfigurationMissing = "Le fichier %s n'existe pas";
inline constexpr const char* kWelcome = "*** Bienvenue dans Zelvo Batch ***";
inline constexpr const char* kPressAKey = "Appuyer sur une touche pour quitter l'application ...";
inline constexpr const char* kSettingsNotSaved =
    "Les données de configuration n'ont pu être sauvegardées correctement !\n"
    "Verifiez que Zelvo.ini est accessible en ecriture...";
inline constexpr const char* kWindowModeUnavailable =
    "Le mode fenêtre n'est pas disponible dans cette version : lancez Zelvo avec des arguments "
    "(zelvo -? pour l'aide).";
// The window library (its path, then the system's reason) that is missing or cannot be loaded.
inline constexpr const char* kWindowLibraryUnusable =
    "Zelvo ne peut pas ouvrir sa fenêtre : sa bibliothèque %s ne se charge pas\n(%s).\n"
    "Réinstallez Zelvo ; le mode console reste disponible avec des arguments (zelvo -? pour l'aide).\n";
// A grid named by the catalogue that is on none of the folders searched (the list of them).
inline constexpr const char* kGridAbsent =
    "Grille introuvable : %s\n(cherchée dans %s)\nLes transformations qui ont besoin de cette grille "
    "sont indisponibles, les autres fonctionnent. Placez la grille dans l'un de ces dossiers ; les "
    "grilles de PROJ sont fournies par le paquet Debian proj-data.";
// Names of the two transformation kinds, which are also the names of the pages' sections.
inline constexpr const char* kTransformationStandard = "Standard";
inline constexpr const char* kTransformationGrid = "Grille";

}  // namespace zelvo::texts
