#pragma once
// Texts of the window mode (UTF-8): the main window, the presentation page, the about box and
// the progress window. Numbered texts are in the string table; these are their numbers.

namespace zelvo::texts {

inline constexpr int kAboutItemId = 101;     // "&A propos de Zelvo": the about item and tab 0
inline constexpr int kProductNameId = 107;   // caption of the progress window and message boxes
inline constexpr int kStandardTabId = 3010;  // "Transformation standard"
inline constexpr int kGridTabId = 3011;      // "Transformation grille"

inline constexpr const char* kComputeButton = "C&alculer";
inline constexpr const char* kQuitButton = "&Quitter";
inline constexpr const char* kHelpButton = "Aide Géodésique";
inline constexpr const char* kNotComputedHere =
    "\n\nDésolé, mais ce n'est pas ici que l'on calcule.\nRéessayez, mais dans les pages standard ou "
    "grille,pas dans la page de présentation !!!\n\n";

inline constexpr const char* kPresentationHeading =
    "\nProgramme interactif de transformation de coordonnées entre différents\nréférentiels "
    "géodésiques et projections cartographiques.";

inline constexpr const char* kAboutCaption = "A propos de Zelvo";
inline constexpr const char* kDevelopedBy = "Application développée sous Windows par :";
inline constexpr const char* kContactLines =
    "Les auteurs de Zelvo\n\nRemarques et questions : par les demandes\ndu dépôt du projet Zelvo";
inline constexpr const char* kOk = "OK";

inline constexpr const char* kProgressStatus = "Travail en cours ... patience";
inline constexpr const char* kProgressPercent = " 0 %";
inline constexpr const char* kProgressCancel = "Annuler";

// The window's own menu (context menu), standing for the system menu's about item.
inline constexpr const char* kHelpItem = "&Aide géodésique";
// The help asked for where no browser opens it.
inline constexpr const char* kNoBrowser =
    "Aucun navigateur n'a pu afficher l'aide géodésique.\n\nOuvrez vous-même le fichier d'aide :\n%s";

inline constexpr const char* kNoDisplay =
    "Zelvo ne peut pas ouvrir sa fenêtre : aucun affichage graphique n'est disponible.\n"
    "Sans fenêtre, lancez Zelvo en mode console avec des arguments, par exemple pour un point :\n"
    "  zelvo -type 1 -mode 0 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3 9 -E 814149.529 -N 1887019.768\n"
    "ou pour un fichier de points :\n"
    "  zelvo -v -type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 depart.txt -typcoor2 3 9 -f2 1 "
    "arrivee.txt\n"
    "zelvo -? affiche la liste des options.\n";

}  // namespace zelvo::texts
