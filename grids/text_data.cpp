#include "grids/text_data.hpp"

#include <sys/stat.h>
#include <algorithm>
#include <cstdint>

#include "grids/grid_numbers.hpp"
#include "platform/number_text.hpp"

namespace zelvo {
namespace {

constexpr std::size_t kChunk = 1 << 16;
// Longest number text looked at by one conversion; longer runs of digits are not numbers a
// grid holds.
constexpr std::size_t kNumberWindow = 512;

}  // namespace

TextSource::~TextSource() {
    close();
}

bool TextSource::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return false;
    struct stat info {};
    size_ = fstat(fileno(file_), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
    buffer_.clear();
    begin_ = 0;
    eof_ = false;
    return true;
}

void TextSource::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    buffer_.clear();
    begin_ = 0;
    eof_ = false;
}

bool TextSource::fill(std::size_t wanted) {
    if (file_ == nullptr) return false;
    while (buffer_.size() - begin_ < wanted && !eof_) {
        if (begin_ > 0) {
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(begin_));
            begin_ = 0;
        }
        const std::size_t old = buffer_.size();
        buffer_.resize(old + kChunk);
        const std::size_t got = std::fread(buffer_.data() + old, 1, kChunk, file_);
        buffer_.resize(old + got);
        if (got == 0) eof_ = true;
    }
    return buffer_.size() - begin_ >= wanted;
}

int TextSource::peek() {
    if (!fill(1)) return -1;
    const char c = buffer_[begin_];
    if (c == '\r' && fill(2) && buffer_[begin_ + 1] == '\n') return '\n';
    return static_cast<unsigned char>(c);
}

int TextSource::get() {
    if (!fill(1)) return -1;
    const char c = buffer_[begin_++];
    if (c == '\r' && fill(1) && buffer_[begin_] == '\n') {
        ++begin_;
        return '\n';
    }
    return static_cast<unsigned char>(c);
}

bool TextSource::readLine(std::string& line, std::size_t bufferSize) {
    line.clear();
    while (line.size() + 1 < bufferSize) {
        const int c = get();
        if (c < 0) break;
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !line.empty();
}

bool TextSource::skipBlanks() {
    for (;;) {
        const int c = peek();
        if (c < 0) return false;
        if (!isBlank(static_cast<char>(c))) return true;
        get();
    }
}

std::string_view TextSource::window(std::size_t n) {
    fill(n);
    return std::string_view(buffer_.data() + begin_, std::min(n, buffer_.size() - begin_));
}

bool TextDataReader::readReal(double& value) {
    if (!source_.skipBlanks()) return false;
    const std::string_view ahead = source_.window(kNumberWindow);
    FieldScanner scanner(ahead);
    if (!scanner.readDouble(value)) return false;
    source_.advance(ahead.size() - scanner.rest().size());
    return true;
}

bool TextDataReader::readInteger(long long& value) {
    if (!source_.skipBlanks()) return false;
    const std::string_view ahead = source_.window(kNumberWindow);
    FieldScanner scanner(ahead);
    int v = 0;
    if (!scanner.readInt(v)) return false;
    value = v;
    source_.advance(ahead.size() - scanner.rest().size());
    return true;
}

bool TextDataReader::readValue(double& value) {
    if (layout_.separated == 0) {
        std::string field;
        for (int k = 0; k < layout_.valueSize; ++k) {
            const int c = source_.get();
            if (c < 0) break;
            field.push_back(static_cast<char>(c));
        }
        FieldScanner scanner(field);
        if (layout_.valuesType == 1 || layout_.valuesType == 2) {
            int v = 0;
            if (!scanner.readInt(v)) return false;
            value = layout_.valuesType == 1 ? static_cast<double>(static_cast<std::int16_t>(v)) : v;
            return true;
        }
        double v = 0;
        if (!scanner.readDouble(v)) return false;
        value = layout_.valuesType == 3 ? static_cast<double>(grid_numbers::toReal4(v)) : v;
        return true;
    }
    switch (layout_.valuesType) {
        case 1:
        case 2: {
            long long v = 0;
            if (!readInteger(v)) return false;
            value = layout_.valuesType == 1 ? static_cast<double>(static_cast<std::int16_t>(v))
                                            : static_cast<double>(v);
            return true;
        }
        case 3: {
            double v = 0;
            if (!readReal(v)) return false;
            value = static_cast<double>(grid_numbers::toReal4(v));
            return true;
        }
        default:
            return readReal(value);
    }
}

void TextDataReader::skipRestOfLine() {
    for (int k = 0; k < layout_.valueSize + 1; ++k) {
        const int c = source_.get();
        if (c < 0 || c == '\n') return;
    }
}

TextDataReader::Result TextDataReader::readNode(std::vector<double>& values, int& code) {
    if (layout_.rowEndMarker == 1 && layout_.nColumns > 0 && nodesRead_ > 0 &&
        nodesRead_ % layout_.nColumns == 0)
        skipRestOfLine();
    if (layout_.separated == 0) {
        // Fixed-width fields keep their leading blanks; only line breaks come between nodes.
        while (source_.peek() == '\n') source_.get();
        if (source_.peek() < 0) return Result::End;
    } else if (!source_.skipBlanks()) {
        return Result::End;
    }
    values.assign(static_cast<std::size_t>(std::max(layout_.valuesNumber, 0)), 0.0);
    code = 0;
    if (layout_.nodeCoordWritten == 1) {
        double x = 0, y = 0;
        if (!readReal(x) || !readReal(y)) return Result::Invalid;
    }
    for (double& value : values)
        if (!readValue(value)) return Result::Invalid;
    if (layout_.codePrec == 1) {
        long long c = 0;
        if (!readInteger(c)) return Result::Invalid;
        code = static_cast<int>(c);
    }
    ++nodesRead_;
    return Result::Node;
}

}  // namespace zelvo
