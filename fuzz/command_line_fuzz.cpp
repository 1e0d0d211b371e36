// The command-line parser and its validation on arbitrary arguments (NUL-separated input).
#include <string>
#include <vector>

#include "catalogue/loader.hpp"
#include "files/command_line.hpp"
#include "fuzz/fuzz_support.hpp"
#include "platform/user_interface.hpp"

namespace {

const zelvo::Catalogue& catalogue() {
    static zelvo::Catalogue c = [] {
        zelvo::Catalogue loaded;
        if (const char* path = std::getenv("ZELVO_FUZZ_CATALOGUE")) zelvo::loadCatalogue(path, loaded);
        return loaded;
    }();
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args{"zelvo"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    args.push_back(current);
    zelvo::fuzz::SilentInterface ui;
    zelvo::CZelvoCommandLine record;
    if (!zelvo::parseCommandLine(args, record, "aide", ui)) return 0;
    zelvo::deriveVerticalKind(record);
    std::string message;
    zelvo::validateCommandLine(record, catalogue(), message);
    return 0;
}
