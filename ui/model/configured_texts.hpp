#pragma once
// The texts that the presentation page and the about box read from the configuration file's
// INFORMATIONS section; a missing key gives the empty text.

#include <string>

namespace zelvo {

class ProfileFile;

struct PresentationTexts {
    std::string descriptions;  // "Standard", an empty line, then "Grille" (control 1023)
    std::string gridText;      // "Grille" alone (control 1024, hidden)
    std::string noticeText;    // "Copyright"
    std::string versionText;   // "Version"
};
PresentationTexts readPresentationTexts(const ProfileFile& profile);

struct AboutTexts {
    std::string titleText;    // "Titre"
    std::string versionText;  // "Version"
};
AboutTexts readAboutTexts(const ProfileFile& profile);

}  // namespace zelvo
