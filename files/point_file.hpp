#pragma once
// Point files: the input stream that reads blocks of whole lines and classifies each line, and
// the output stream that writes transformed points. Files are ISO 8859-1 on disk (UTF-8 inside),
// written with CR LF line ends; CR LF and LF are both read.

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "files/data_formats.hpp"
#include "geodesy/coordinates.hpp"
#include "platform/line_reader.hpp"

namespace zelvo {

// Longest point line; a longer line is reported as a badly formed point.
inline constexpr std::size_t kPointLineMaxLength = 255;

// What a line of a point file holds.
enum class LineStatus { Point, BlankLine, Comment, BadPoint, UnknownFormat };
// The status a line is written with: "OK", "ligne blanche", "commentaires", "mauvais format de
// point" or "type de fichier inconnu".
std::string_view lineStatusText(LineStatus status);

class In_Fic {
public:
    // Opens the file for reading; false when it cannot be read (size is then -1).
    bool open(const std::string& filePath);
    bool isOpen() const { return reader_.isOpen(); }
    void close() { reader_.close(); }

    // Counts the line feeds of the file, for progress reporting.
    int countLines();

    // The following lines as they stand, for splitLines (LineReader::readBlock).
    bool readBlock(std::string& block, std::size_t size) { return reader_.readBlock(block, size); }
    // The lines of such a block: take(line, tooLong) for each. Returns the number of line feeds
    // met.
    template <typename Take>
    static std::size_t splitLines(std::string_view block, Take&& take) {
        return LineReader::splitLines(block, kPointLineMaxLength, take);
    }
    // Classifies one line of a file of the given data format and stores its values into point.
    static LineStatus parseLine(std::string_view line, bool tooLong, int dataFormat, CCoor& point);

    std::string path;
    long long size = -1;
    int lineCount = 0;
    int dataFormat = 0;

private:
    // Lines end at a line feed, or at a carriage return alone (old Mac files).
    LineReader reader_{kPointLineMaxLength, /*loneCarriageReturnsEndLines=*/true};
};

// The values of a point in the layout of a data format, without the name: X Y Z, the two angles
// in the point's unit and the third value, or E N and the third value with projectedBlanks
// before each.
void appendPointValues(std::string& out, const CCoor& point, const DataFormat& format, std::string_view projectedBlanks);

// The local date and time as "%s %d/%d/%d -- %d:%02d:%02d", with the French day name.
std::string dateStamp(const std::tm& time);
std::tm localNow();

class Out_Fic {
public:
    Out_Fic() = default;
    ~Out_Fic();
    Out_Fic(const Out_Fic&) = delete;
    Out_Fic& operator=(const Out_Fic&) = delete;

    // Lines kept in memory instead of a file (takeMemory hands them over), as they would be
    // written to a file already holding its header.
    void openMemory();
    std::string takeMemory();
    // Exchanges the lines kept in memory with bytes: a buffer given empty is written into next.
    void swapMemory(std::string& bytes) { pending_.swap(bytes); }
    // Bytes made by a memory stream, holding `lines` lines, appended as they are.
    void appendBlock(std::string_view latin1, int lines);
    // The header and column titles of an annotated file, when nothing was written yet (the first
    // point writes them otherwise).
    void beginPoints(const CCoor& departure, const CCoor& arrival, int transformationType, bool withConversion);

    // Creates or empties the file; false when it cannot be written. With replaceAtClose, the lines
    // go to a temporary file beside it, which replaces the file only when close() succeeds: an
    // interrupted or failed run leaves the previous file as it was. That replacement never touches
    // what it must not: a symbolic link is written through to its file; a pipe or a device, a
    // file with other hard links, or a writable file in a folder that takes no new file is written
    // in place; a folder or a file this process may not write is refused.
    bool open(const std::string& filePath, bool replaceAtClose = false);
    // Creates or empties the file, then writes at its end whatever another process did to it
    // meanwhile (a log shared by the runs of one folder): no write lands past a truncation.
    bool openForAppending(const std::string& filePath);
    bool isOpen() const { return file_ != nullptr || memory_; }
    // Flushes and closes (and puts the file in place); false when a write failed at any time.
    bool close();
    // Closes without putting a replacing file in place: the previous file stays as it was. (A
    // file written in place keeps what was written.)
    void discard();
    // Hands what was written to the file.
    bool flush();
    bool failed() const { return failed_; }

    // One point line from the arrival point (the header and the column titles first, when
    // annotated and nothing was written yet); an error line when the status is not "OK".
    void writePoint(const CCoor& departure, const CCoor& arrival, int transformationType, std::string_view status,
                    bool withConversion);
    // The end line: "Fin" and the report's end text are followed by the date stamp; other texts
    // write nothing.
    void writeEnd(std::string_view text);
    // UTF-8 text written as ISO 8859-1, each '\n' as CR LF.
    void writeText(std::string_view text);

    std::string path;
    int linesWritten = 0;
    int dataFormat = 0;
    bool annotated = false;
    // Source of the date stamps; the local time unless a test sets it.
    std::function<std::tm()> clock = localNow;

private:
    void writeHeader(const CCoor& departure, const CCoor& arrival, int transformationType);
    void writeColumnTitles(const CCoor& arrival, bool withConversion);
    void writeRaw(std::string_view latin1);
    void flushPending();
    void handToFile(std::string_view latin1);
    bool openStream(std::FILE* file);
    // Closes what was open and resets the state of a new file named filePath.
    void startAnew(const std::string& filePath);

    static constexpr std::size_t kBlockSize = 1 << 16;

    std::FILE* file_ = nullptr;
    bool memory_ = false;
    bool failed_ = false;
    std::string temporaryPath_;  // empty unless the file is replaced at close
    std::string replacedPath_;   // the file the temporary one replaces (links followed)
    int temporaryTicket_ = -1;   // the temporary file's note, for the signal handlers
    std::string line_;
    std::string text_;  // writeText's bytes, CR LF line ends
    std::string pending_;  // written, not yet handed to the file
    long long handed_ = 0;          // bytes handed to the file
    long long writebackStart_ = 0;  // the first of them not yet sent on their way to the disk
};

}  // namespace zelvo
