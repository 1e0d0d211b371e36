#pragma once
// Reads a single-byte text file line by line into bounded lines: a line ends at a line feed, a
// carriage return just before it is not part of the line, and the last line may lack its line
// feed. Memory stays bounded whatever the file holds: characters past the limit are skipped and
// the line is marked as too long.

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

class LineReader {
public:
    explicit LineReader(std::size_t maxLineLength = 255, bool loneCarriageReturnsEndLines = false)
        : maxLength_(maxLineLength), loneCarriageReturnsEndLines_(loneCarriageReturnsEndLines) {}
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

    // The following lines as they stand in the file, for splitLines to cut, on another thread if
    // need be: block is replaced by whole lines, line feeds included, at least size bytes of them
    // unless the file ends first (its last line may lack its line feed). A line longer than the
    // limit keeps only its first maxLineLength + 2 bytes, which give the same line and the same
    // status. With loneCarriageReturnsEndLines, a carriage return that no line feed follows (the
    // line end of old Mac files) ends a line too: it is handed over as a line feed. False when
    // nothing is left. Not to be mixed with readLine on one file.
    bool readBlock(std::string& block, std::size_t size);

    // The lines of a block made by readBlock, as readLine reads them: each is handed to
    // take(line, tooLong). Returns the number of line feeds met.
    template <typename Take>
    static std::size_t splitLines(std::string_view block, std::size_t maxLineLength, Take&& take) {
        std::size_t lineFeeds = 0;
        const char* p = block.data();
        const char* const end = p + block.size();
        while (p < end) {
            const auto* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            std::size_t length = 0;
            const char* next = end;
            if (nl != nullptr) {
                length = static_cast<std::size_t>(nl - p);
                // The carriage return of a CR LF end; an unterminated last line keeps its own.
                if (length > 0 && nl[-1] == '\r') --length;
                next = nl + 1;
                ++lineFeeds;
            } else {
                length = static_cast<std::size_t>(end - p);
            }
            const bool tooLong = length > maxLineLength;
            take(std::string_view(p, tooLong ? maxLineLength : length), tooLong);
            p = next;
        }
        return lineFeeds;
    }

private:
    bool fill();
    void endLinesAtLoneCarriageReturns(std::string& block, std::size_t from) const;

    std::size_t maxLength_;
    bool loneCarriageReturnsEndLines_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool tooLong_ = false;
    std::string carried_;   // what readBlock read past the last line feed of its block
    bool skipping_ = false;  // readBlock drops the rest of a line too long
};

}  // namespace zelvo
