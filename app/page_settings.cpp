#include "app/page_settings.hpp"

#include <array>
#include <utility>

#include "app/configuration.hpp"
#include "platform/profile.hpp"
#include "resources/app_texts.hpp"

namespace zelvo {
namespace {

constexpr std::size_t kBuffer = 260;

// The text settings with their keys, in the order the file holds them; the two integer settings
// ("Mode" first, "Verticale" fifth) are placed by the callers.
template <typename Settings>
auto textKeys(Settings& s) {
    using Text = decltype((s.pointName));
    return std::array<std::pair<const char*, Text>, 20>{{
        {"Nom du point", s.pointName},
        {"Fichier de rapport", s.reportFileName},
        {"Path de rapport", s.reportFolder},
        {"Système Altimétrique", s.verticalSystem},
        {"Système de départ", s.departureSystem},
        {"Coordonnées de départ", s.departureType},
        {"Projection de départ", s.departureProjection},
        {"Unité de départ", s.departureUnit},
        {"Méridien de départ", s.departureMeridian},
        {"Fichier de départ", s.departureFileName},
        {"Path de départ", s.departureFolder},
        {"Type de données de départ", s.departureFormat},
        {"Système d'arrivée", s.arrivalSystem},
        {"Coordonnées d'arrivée", s.arrivalType},
        {"Projection d'arrivée", s.arrivalProjection},
        {"Unité d'arrivée", s.arrivalUnit},
        {"Méridien d'arrivée", s.arrivalMeridian},
        {"Fichier d'arrivée", s.arrivalFileName},
        {"Path d'arrivée", s.arrivalFolder},
        {"Type de données d'arrivée", s.arrivalFormat},
    }};
}

}  // namespace

std::string pageSectionName(int page) {
    if (page == 1) return texts::kTransformationStandard;
    if (page == 2) return texts::kTransformationGrid;
    return {};
}

bool loadPageSettings(const ProfileFile& profile, int page, PageSettings& settings) {
    const std::string section = pageSectionName(page);
    if (section.empty() || profile.readSection(section, kBuffer).empty()) return false;
    settings.mode = profile.readInt(section, "Mode", 0);
    settings.verticalChoice = profile.readInt(section, "Verticale", 0);
    for (auto& [key, value] : textKeys(settings)) value = profile.readString(section, key, "", kBuffer);
    return true;
}

bool savePageSettings(ProfileFile& profile, int page, const PageSettings& settings) {
    const std::string section = pageSectionName(page);
    if (section.empty()) return false;
    const auto keys = textKeys(settings);
    bool ok = profile.writeString(section, "Mode", std::to_string(settings.mode));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ok = profile.writeString(section, keys[i].first, keys[i].second) && ok;
        if (i == 2) ok = profile.writeString(section, "Verticale", std::to_string(settings.verticalChoice)) && ok;
    }
    return ok;
}

bool saveUserPageSettings(const ConfigurationSearch& search, int page, const PageSettings& settings) {
    const auto path = settingsFileForSaving(search);
    if (!path) return false;
    ProfileFile profile(*path);
    return savePageSettings(profile, page, settings);
}

}  // namespace zelvo
