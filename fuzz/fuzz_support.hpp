#pragma once
// Helpers of the fuzz targets: the input as a file, for readers that take a path.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

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

}  // namespace zelvo::fuzz
