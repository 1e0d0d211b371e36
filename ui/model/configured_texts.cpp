#include "ui/model/configured_texts.hpp"

#include "platform/profile.hpp"

namespace zelvo {
namespace {

constexpr const char* kSection = "INFORMATIONS";
constexpr std::size_t kDescriptionBuffer = 780;
constexpr std::size_t kLineBuffer = 260;

}  // namespace

PresentationTexts readPresentationTexts(const ProfileFile& profile) {
    PresentationTexts t;
    t.gridText = profile.readString(kSection, "Grille", "", kDescriptionBuffer);
    t.descriptions = profile.readString(kSection, "Standard", "", kDescriptionBuffer) + "\n\n" + t.gridText;
    t.noticeText = profile.readString(kSection, "Copyright", "", kLineBuffer);
    t.versionText = profile.readString(kSection, "Version", "", kLineBuffer);
    return t;
}

AboutTexts readAboutTexts(const ProfileFile& profile) {
    return {profile.readString(kSection, "Titre", "", kLineBuffer),
            profile.readString(kSection, "Version", "", kLineBuffer)};
}

}  // namespace zelvo
