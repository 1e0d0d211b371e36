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
    terminated_ = false;
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
            terminated_ = true;
            return true;
        }
    }
    if (pendingCr) {
        if (line.size() < maxLength_) line.push_back('\r');
        else tooLong_ = true;
    }
    return any;
}

}  // namespace zelvo
