#pragma once
// The settings of a transformation page as the configuration file keeps them: the displayed
// names of the chosen items, not catalogue numbers.

#include <string>

namespace zelvo {

class ProfileFile;
struct ConfigurationSearch;

struct PageSettings {
    int mode = 0;  // 0 interactive, 1 file
    std::string pointName;
    std::string reportFileName;
    std::string reportFolder;
    int verticalChoice = 0;  // 0 none, 1 ellipsoidal height, 2 altitude
    std::string verticalSystem;
    std::string departureSystem;
    std::string departureType;
    std::string departureProjection;
    std::string departureUnit;
    std::string departureMeridian;
    std::string departureFileName;
    std::string departureFolder;
    std::string departureFormat;
    std::string arrivalSystem;
    std::string arrivalType;
    std::string arrivalProjection;
    std::string arrivalUnit;
    std::string arrivalMeridian;
    std::string arrivalFileName;
    std::string arrivalFolder;
    std::string arrivalFormat;
};

// Section name of a page: 1 "Standard", 2 "Grille"; empty for any other number.
std::string pageSectionName(int page);

// False when the page's section is absent or empty: the page is then not offered.
bool loadPageSettings(const ProfileFile& profile, int page, PageSettings& settings);
// Writes the 22 keys in their order, every one even after a failed write; true when all succeeded.
bool savePageSettings(ProfileFile& profile, int page, const PageSettings& settings);
// The same into the user's own configuration file (settingsFileForSaving), never into a shared
// one; false when there is no such file or a write failed.
bool saveUserPageSettings(const ConfigurationSearch& search, int page, const PageSettings& settings);

}  // namespace zelvo
