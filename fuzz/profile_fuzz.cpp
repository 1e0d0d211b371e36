// The configuration-file reader and writer on arbitrary files.
#include "app/page_settings.hpp"
#include "fuzz/fuzz_support.hpp"
#include "platform/profile.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelvo::ProfileFile profile(zelvo::fuzz::inputFile(data, size, ".ini"));
    profile.readString("INFORMATIONS", "Titre", "", 80);
    profile.readString("AIDE", "Console", "", 260);
    profile.readInt("Standard", "Mode", 0);
    zelvo::PageSettings settings;
    if (zelvo::loadPageSettings(profile, 1, settings)) zelvo::savePageSettings(profile, 1, settings);
    profile.writeString("Grille", "Système de départ", "NTF");
    profile.readString("Grille", "Système de départ", "", 260);
    return 0;
}
