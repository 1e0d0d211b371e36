#include "grids/grid_store.hpp"

#include <sys/stat.h>

namespace zelvo {
namespace {

// A catalogue names a handful of grids; the bound only keeps a long run with many files small.
constexpr std::size_t kMaxCachedHeaders = 256;

}  // namespace

FileStamp stampOf(const std::string& path) {
    FileStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return stamp;
    stamp.exists = true;
    stamp.device = static_cast<unsigned long long>(info.st_dev);
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    stamp.size = static_cast<long long>(info.st_size);
    stamp.modifiedSeconds = static_cast<long long>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<long long>(info.st_mtim.tv_nsec);
    return stamp;
}

GridStore& GridStore::process() {
    static GridStore store;
    return store;
}

void GridStore::clear() {
    const auto guard = hold();
    headers_.clear();
    nodes_.clear();
}

const GridStore::HeaderEntry* GridStore::findHeader(const std::string& path, const FileStamp& grid,
                                                    const FileStamp& sideFile, const GridHeader& before) const {
    for (const HeaderEntry& entry : headers_)
        if (entry.path == path && entry.grid == grid && entry.sideFile == sideFile && entry.before == before)
            return &entry;
    return nullptr;
}

void GridStore::keepHeader(HeaderEntry entry) {
    if (headers_.size() >= kMaxCachedHeaders) headers_.clear();
    headers_.push_back(std::move(entry));
}

std::shared_ptr<const GridNodeData> GridStore::findNodes(const std::string& path, const FileStamp& stamp,
                                                         long long offset, long long length) {
    std::erase_if(nodes_, [](const NodeEntry& entry) { return entry.data.expired(); });
    for (const NodeEntry& entry : nodes_)
        if (entry.path == path && entry.stamp == stamp && entry.offset == offset && entry.length == length)
            if (auto data = entry.data.lock()) return data;
    return nullptr;
}

void GridStore::keepNodes(NodeEntry entry) { nodes_.push_back(std::move(entry)); }

void clearGridCaches() { GridStore::process().clear(); }

}  // namespace zelvo
