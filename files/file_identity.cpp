#include "files/file_identity.hpp"

#include <sys/stat.h>

#include <filesystem>

namespace zelvo {
namespace {

// The absolute, normalised form of a name: symbolic links resolved as far as the path exists,
// "." and ".." removed.
std::filesystem::path normalised(const std::string& name) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::weakly_canonical(name, ec);
    if (ec) path = std::filesystem::absolute(name, ec).lexically_normal();
    return path;
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (a == b) return true;
    struct stat first {}, second {};
    const bool firstExists = ::stat(a.c_str(), &first) == 0;
    const bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists && secondExists) return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    // One of them is yet to be made (or cannot be reached): only the same path leads to it.
    return normalised(a) == normalised(b);
}

}  // namespace zelvo
