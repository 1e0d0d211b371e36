#pragma once
// The grid store: what the opening of grid files shares for the process. It owns the headers
// already parsed (by file and starting header), the node values already in memory (by file), and
// the lock that every open holds, so that grids may be opened from any thread: two opens never
// interleave, and the binary version of a grid is made by one of them only. The node values it
// hands out are immutable; grids that hold them interpolate from several threads without a lock.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "grids/grid.hpp"

namespace zelvo {

// Identity of a file's content as the file system tells it.
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedSeconds = 0;
    long long modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at path (exists false for anything else).
FileStamp stampOf(const std::string& path);

class GridStore {
public:
    // The store of the process, which every open uses.
    static GridStore& process();

    GridStore() = default;
    GridStore(const GridStore&) = delete;
    GridStore& operator=(const GridStore&) = delete;

    // Held for the whole of an open (the same thread may open again inside it).
    std::unique_lock<std::recursive_mutex> hold() { return std::unique_lock(mutex_); }
    // Forgets every header and every node file remembered.
    void clear();

    struct HeaderEntry {
        std::string path;
        FileStamp grid;
        FileStamp sideFile;
        GridHeader before;
        GridHeader after;
        int loaded = 0;
    };
    struct NodeEntry {
        std::string path;
        FileStamp stamp;
        long long offset = 0;
        long long length = 0;
        std::weak_ptr<const GridNodeData> data;
    };
    // Under hold(): the outcome of an earlier header read of the same unchanged files from the
    // same starting header, or null; and the recording of a new one.
    const HeaderEntry* findHeader(const std::string& path, const FileStamp& grid, const FileStamp& sideFile,
                                  const GridHeader& before) const;
    void keepHeader(HeaderEntry entry);
    // Under hold(): node values of the same unchanged file still held by some grid, or null; and
    // the recording of new ones.
    std::shared_ptr<const GridNodeData> findNodes(const std::string& path, const FileStamp& stamp, long long offset,
                                                  long long length);
    void keepNodes(NodeEntry entry);

private:
    std::recursive_mutex mutex_;
    std::vector<HeaderEntry> headers_;
    std::vector<NodeEntry> nodes_;
};

}  // namespace zelvo
