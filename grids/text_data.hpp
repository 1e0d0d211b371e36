#pragma once
// Reading text grid files: a buffered source that reads them as text (a carriage return before a
// line feed is dropped), and the reader of the data section that every text grid format shares.
// The header readers of each format take their lines from the source, then the data reader goes
// on from where they stopped.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

class TextSource {
public:
    TextSource() = default;
    ~TextSource();
    TextSource(const TextSource&) = delete;
    TextSource& operator=(const TextSource&) = delete;

    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    void close();
    // Size of the file in bytes, as found when it was opened.
    long long fileSize() const { return size_; }

    // As fgets into a buffer of bufferSize bytes: at most bufferSize - 1 characters, up to and
    // including the line feed. False at the end of the file, when nothing was read.
    bool readLine(std::string& line, std::size_t bufferSize);
    // Next character, -1 at the end of the file.
    int get();
    int peek();
    // Skips white space (line breaks included); false when the end of the file is reached.
    bool skipBlanks();
    // The raw bytes ahead, at least n of them unless the file ends first (carriage returns are
    // kept: scanning treats them as white space).
    std::string_view window(std::size_t n);
    void advance(std::size_t n) { begin_ += n; }

private:
    bool fill(std::size_t wanted);

    std::FILE* file_ = nullptr;
    long long size_ = 0;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    bool eof_ = false;
};

// How a text data section is written; the fields of the same name of the grid header.
struct TextDataLayout {
    int nodeCoordWritten = 0;  // NODE_COORD_WRITTEN: each node starts with its x and y
    int valuesNumber = 0;      // VALUES_NUMBER
    int valuesType = 0;        // VALUES_TYPE: 1 INTEGER2, 2 INTEGER4, 3 REAL4, 4 REAL8
    int separated = 1;         // SEP: 1 white-space separated, 0 fixed width of valueSize
    int valueSize = 8;         // characters per value when SEP is 0
    int codePrec = 0;          // CODE_PREC: each node ends with an integer precision code
    int rowEndMarker = 0;      // the rest of the line is skipped after each row of nColumns
    int nColumns = 0;          // N_COLUMNS
};

// Reads the nodes of a text data section one after another, in stored order.
class TextDataReader {
public:
    enum class Result { Node, End, Invalid };

    TextDataReader(TextSource& source, const TextDataLayout& layout) : source_(source), layout_(layout) {}

    // Reads the next node: its valuesNumber values, converted as their type's scanning format
    // converts them ("%hd", "%d", "%f", "%lf"), and its precision code (0 without codes). End
    // when the file ends before the node starts; Invalid when the node is cut by the end of the
    // file or holds something that is not a number.
    Result readNode(std::vector<double>& values, int& code);
    long long nodesRead() const { return nodesRead_; }

private:
    bool readValue(double& value);
    bool readReal(double& value);
    bool readInteger(long long& value);
    void skipRestOfLine();

    TextSource& source_;
    TextDataLayout layout_;
    long long nodesRead_ = 0;
};

}  // namespace zelvo
