#include "platform/line_reader.hpp"

#include <cstring>
#include <sys/stat.h>

namespace zelvo {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

LineReader::~LineReader() { close(); }

bool LineReader::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return false;
    struct stat info {};
    if (fstat(fileno(file_), &info) != 0 || S_ISDIR(info.st_mode)) {
        close();
        return false;
    }
    buffer_.resize(kBufferSize);
    begin_ = end_ = 0;
    eof_ = false;
    carried_.clear();
    skipping_ = false;
    return true;
}

void LineReader::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool LineReader::fill() {
    if (eof_ || file_ == nullptr) return false;
    const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    begin_ = 0;
    end_ = got;
    if (got == 0) eof_ = true;
    return got > 0;
}

bool LineReader::readLine(std::string& line) {
    line.clear();
    tooLong_ = false;
    bool any = false;
    bool pendingCr = false;  // a carriage return seen last; it belongs to the line unless a line feed follows
    for (;;) {
        if (begin_ == end_ && !fill()) break;
        any = true;
        const char* start = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const void* nl = std::memchr(start, '\n', available);
        const std::size_t chunk = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : available;
        if (chunk > 0 && pendingCr) {
            if (line.size() < maxLength_) line.push_back('\r');
            else tooLong_ = true;
            pendingCr = false;
        }
        std::size_t take = chunk;
        if (take > 0 && start[take - 1] == '\r') {
            pendingCr = true;
            --take;
        }
        const std::size_t room = maxLength_ - line.size();
        if (take > room) {
            tooLong_ = true;
            take = room;
        }
        line.append(start, take);
        begin_ += chunk;
        if (nl) {
            ++begin_;
            return true;
        }
    }
    if (pendingCr) {
        if (line.size() < maxLength_) line.push_back('\r');
        else tooLong_ = true;
    }
    return any;
}

void LineReader::endLinesAtLoneCarriageReturns(std::string& block, std::size_t from) const {
    if (!loneCarriageReturnsEndLines_) return;
    // Carriage returns are rare in most files: look for them rather than at every byte.
    char* const end = block.data() + block.size();
    for (char* p = block.data() + from; p + 1 < end; ++p) {
        p = static_cast<char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - 1 - p)));
        if (p == nullptr) break;
        if (p[1] != '\n') *p = '\n';
    }
    // A carriage return that ends what was read is alone unless the file's next byte is a line feed.
    if (block.size() > from && block.back() == '\r') {
        const int next = std::getc(file_);
        if (next != EOF) std::ungetc(next, file_);
        if (next != '\n') block.back() = '\n';
    }
}

bool LineReader::readBlock(std::string& block, std::size_t size) {
    // The block starts with the line in progress that the previous one left.
    block.swap(carried_);
    carried_.clear();
    const std::size_t keep = maxLength_ + 2;
    while (!eof_ && file_ != nullptr) {
        const std::size_t old = block.size();
        const std::size_t want = old < size ? size - old : size;
        block.resize(old + want);
        const std::size_t got = std::fread(block.data() + old, 1, want, file_);
        block.resize(old + got);
        if (got == 0) {
            eof_ = true;
            break;
        }
        endLinesAtLoneCarriageReturns(block, old);
        if (skipping_) {
            // The rest of a line too long, up to its line feed, says nothing more.
            const void* nl = std::memchr(block.data() + old, '\n', got);
            if (nl == nullptr) {
                block.resize(old);
                continue;
            }
            block.erase(old, static_cast<std::size_t>(static_cast<const char*>(nl) - block.data()) - old);
            skipping_ = false;
        }
        const std::size_t lastFeed = block.rfind('\n');
        const std::size_t lineStart = lastFeed == std::string::npos ? 0 : lastFeed + 1;
        if (block.size() - lineStart > keep) {
            block.resize(lineStart + keep);
            skipping_ = true;
        }
        if (block.size() >= size && lastFeed != std::string::npos) {
            carried_.assign(block, lastFeed + 1);
            block.resize(lastFeed + 1);
            return true;
        }
    }
    return !block.empty();
}

}  // namespace zelvo
