#include "app/window_library.hpp"

#include <dlfcn.h>
#include <fmt/printf.h>

#include <cstdio>
#include <filesystem>
#include <type_traits>

#include "platform/paths.hpp"
#include "resources/app_texts.hpp"

namespace zelvo {

std::string windowLibraryPath() {
    const std::filesystem::path exe(executableDirectory());
    return (exe.parent_path() / ZELVO_WINDOW_RELATIVE_DIR / "libzelvo_window.so").lexically_normal().string();
}

int runWindowLibrary(CZelvoApp& app, const std::vector<std::string>& args, int& argc, char** argv) {
    const std::string path = windowLibraryPath();
    const auto refuse = [&path](const char* reason) {
        std::fputs(fmt::sprintf(texts::kWindowLibraryUnusable, path, reason).c_str(), stderr);
        std::fflush(stderr);
        return 1;
    };
    // Every symbol resolved now, so that a library that does not fit this program is refused here
    // rather than failing in the middle of the window. It stays loaded until the process ends.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return refuse(dlerror());
    const auto entry = reinterpret_cast<WindowEntry>(dlsym(library, kWindowEntryName));
    if (entry == nullptr) return refuse(dlerror());
    return entry(app, args, argc, argv);
}

}  // namespace zelvo
