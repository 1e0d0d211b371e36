#pragma once
// Reads a single-byte text file line by line into bounded lines: a line ends at a line feed, a
// carriage return just before it is not part of the line, and the last line may lack its line
// feed. Memory stays bounded whatever the file holds: characters past the limit are skipped and
// the line is marked as too long.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace zelvo {

class LineReader {
public:
    explicit LineReader(std::size_t maxLineLength = 255) : maxLength_(maxLineLength) {}
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    void close();

    // Reads the next line into line (at most maxLineLength characters). False at the end of the
    // file, when no character is left.
    bool readLine(std::string& line);
    // Whether the line last read was longer than the limit (it then holds its first characters).
    bool lastLineTooLong() const { return tooLong_; }
    // Whether the line last read ended with a line feed.
    bool lastLineTerminated() const { return terminated_; }

private:
    bool fill();

    std::size_t maxLength_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool tooLong_ = false;
    bool terminated_ = false;
};

}  // namespace zelvo
