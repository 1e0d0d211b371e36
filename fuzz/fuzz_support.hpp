#pragma once
// Helpers of the fuzz targets: the input as a file, for readers that take a path.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/user_interface.hpp"

namespace zelvo::fuzz {

// A file in memory-backed storage holding the input, rewritten at every call.
inline const std::string& inputFile(const std::uint8_t* data, std::size_t size, const char* extension = ".txt") {
    static const std::string path = "/dev/shm/zelvo-fuzz-" + std::to_string(::getpid()) + extension;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

// A user who sees nothing and answers No.
class SilentInterface : public UserInterface {
public:
    void message(const std::string&, MessageIcon) override {}
    bool question(const std::string&, MessageIcon, bool) override { return false; }
    void write(const std::string&) override {}
    void progressBegin(const std::string&, int) override {}
    void progressStep() override {}
    void progressEnd() override {}
    bool cancelRequested() override { return false; }
};

// A folder of its own in memory-backed storage, emptied for each input.
inline std::string freshFolder() {
    static const std::string folder = "/dev/shm/zelvo-fuzz-dir-" + std::to_string(::getpid());
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    if (!std::filesystem::create_directories(folder, error)) return "/tmp";
    return folder;
}

inline void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace zelvo::fuzz
