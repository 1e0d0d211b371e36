#include "files/point_file.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <optional>
#include <utility>

#include "catalogue/projection_codes.hpp"
#include "files/data_formats.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/precision.hpp"
#include "platform/number_text.hpp"
#include "platform/paths.hpp"
#include "platform/temporary_files.hpp"
#include "platform/text_encoding.hpp"
#include "resources/chain_texts.hpp"
#include "resources/file_texts.hpp"
#include "resources/string_table.hpp"

namespace zelvo {
namespace {

// Blanks first, as "%20s" pads.
void appendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width) out.append(width - text.size(), ' ');
    out.append(text);
}

// Removes the temporary files that runs killed before their end left beside an arrival file:
// those whose process no longer exists.
void removeAbandonedTemporaries(const std::string& directory, const std::string& prefix) {
    std::error_code ec;
    const std::filesystem::path folder = directory.empty() ? std::filesystem::path(".") : std::filesystem::path(directory);
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
        const std::string pid = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        if (::kill(static_cast<pid_t>(std::stol(pid)), 0) != 0 && errno == ESRCH) std::filesystem::remove(entry.path(), ec);
    }
}

}  // namespace

bool In_Fic::open(const std::string& filePath) {
    path = filePath;
    size = -1;
    lineCount = 0;
    if (!reader_.open(filePath)) return false;
    struct stat info {};
    if (::stat(filePath.c_str(), &info) == 0) size = static_cast<long long>(info.st_size);
    return true;
}

int In_Fic::countLines() {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    int count = 0;
    if (f != nullptr) {
        char buffer[1 << 16];
        std::size_t got = 0;
        // Line feeds, and carriage returns that no line feed follows (old Mac line ends).
        bool carriageReturn = false;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            for (std::size_t i = 0; i < got; ++i) {
                count += buffer[i] == '\n' || (carriageReturn && buffer[i] != '\n');
                carriageReturn = buffer[i] == '\r';
            }
        count += carriageReturn;
        std::fclose(f);
    }
    lineCount = count;
    return count;
}

std::string_view lineStatusText(LineStatus status) {
    switch (status) {
        case LineStatus::Point: return texts::kStatusOk;
        case LineStatus::BlankLine: return texts::kStatusBlankLine;
        case LineStatus::Comment: return texts::kStatusComment;
        case LineStatus::BadPoint: return texts::kStatusBadPoint;
        case LineStatus::UnknownFormat: return texts::kStatusUnknownFormat;
    }
    return texts::kStatusBadPoint;
}

LineStatus In_Fic::parseLine(std::string_view line, bool tooLong, int dataFormat, CCoor& point) {
    FieldScanner scanner(line);
    if (scanner.atEnd()) return LineStatus::BlankLine;
    if (scanner.rest().front() == '*') return LineStatus::Comment;
    if (!isDataFormat(dataFormat)) return LineStatus::UnknownFormat;
    // A line longer than the format allows is not read at all: its values may be cut anywhere.
    if (tooLong) return LineStatus::BadPoint;

    const DataFormat& format = zelvo::dataFormat(dataFormat);
    std::string_view name;
    if (format.hasName) scanner.readWord(name);
    double v[3] = {0.0, 0.0, 0.0};
    int count = 0;
    while (count < 3 && scanner.readDouble(v[count])) ++count;
    if (count < 2) return LineStatus::BadPoint;
    // "nan", "inf" or a number too large for a double is no coordinate.
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(v[i])) return LineStatus::BadPoint;

    // A plain ASCII name is the same in UTF-8: no conversion, and no new string.
    if (isAscii(name)) point.name.assign(name);
    else point.name = latin1ToUtf8(name);
    switch (format.coordinateType) {
        case kCartesian:
            point.x = v[0];
            point.y = v[1];
            point.z = v[2];
            break;
        case kGeographic:
            point.lon = format.latitudeFirst ? v[1] : v[0];
            point.lat = format.latitudeFirst ? v[0] : v[1];
            point.h = v[2];
            point.altitude = format.thirdIsAltitude ? v[2] : 0.0;
            break;
        default:
            point.e = v[0];
            point.n = v[1];
            point.h = v[2];
            point.altitude = format.thirdIsAltitude ? v[2] : 0.0;
            break;
    }
    return LineStatus::Point;
}

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string dateStamp(const std::tm& time) {
    std::string out(loadString(2260 + (time.tm_wday >= 0 && time.tm_wday < 7 ? time.tm_wday : 0)));
    out += ' ';
    appendInt(out, time.tm_mday);
    out += '/';
    appendInt(out, time.tm_mon + 1);
    out += '/';
    appendInt(out, time.tm_year + 1900);
    out += " -- ";
    appendInt(out, time.tm_hour);
    out += ':';
    if (time.tm_min < 10) out += '0';
    appendInt(out, time.tm_min);
    out += ':';
    if (time.tm_sec < 10) out += '0';
    appendInt(out, time.tm_sec);
    return out;
}

Out_Fic::~Out_Fic() { close(); }

void Out_Fic::startAnew(const std::string& filePath) {
    close();
    path = filePath;
    linesWritten = 0;
    annotated = false;
    failed_ = false;
    temporaryPath_.clear();
    replacedPath_.clear();
}

bool Out_Fic::open(const std::string& filePath, bool replaceAtClose) {
    startAnew(filePath);
    if (!replaceAtClose) return openStream(std::fopen(filePath.c_str(), "wb"));

    // A symbolic link is written through: the file it leads to is replaced, the link stays.
    const std::optional<std::string> target = followSymbolicLinks(filePath);
    if (!target) return false;
    struct stat existing {};
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return false;
        // A pipe or a device is written as it is: it cannot be replaced, and must never be.
        if (!S_ISREG(existing.st_mode)) return openStream(std::fopen(target->c_str(), "wb"));
        // A file this run may not write (write-protected, say) is refused, not replaced.
        const int probe = ::open(target->c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (probe < 0) return false;
        ::close(probe);
        // A file with other names keeps them only when it is written in place.
        if (existing.st_nlink > 1) return openStream(std::fopen(target->c_str(), "wb"));
    }

    const PathParts parts = splitPath(*target);
    const std::string prefix = "." + parts.baseName + parts.extension + ".zelvo-";
    removeAbandonedTemporaries(parts.directory, prefix);
    const std::string temporary = parts.directory + prefix + std::to_string(::getpid()) + ".tmp";
    // Noted before it exists: a signal from now on removes it.
    temporaryTicket_ = noteTemporaryFile(temporary);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          exists ? (existing.st_mode & 07777) : 0666);
    if (fd < 0) {
        forgetTemporaryFile(std::exchange(temporaryTicket_, -1));
        // A writable file in a folder that cannot take a new file is written in place.
        if (exists && (errno == EACCES || errno == EPERM || errno == EROFS))
            return openStream(std::fopen(target->c_str(), "wb"));
        return false;
    }
    if (exists) {
        // The new file takes the owner (when allowed), group and mode of the one it replaces.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
        (void)::fchmod(fd, existing.st_mode & 07777);
    }
    if (!openStream(::fdopen(fd, "wb"))) {
        ::close(fd);
        std::remove(temporary.c_str());
        forgetTemporaryFile(std::exchange(temporaryTicket_, -1));
        return false;
    }
    temporaryPath_ = temporary;
    replacedPath_ = *target;
    return true;
}

bool Out_Fic::openForAppending(const std::string& filePath) {
    startAnew(filePath);
    const int fd = ::open(filePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return openStream(nullptr);
    if (openStream(::fdopen(fd, "ab"))) return true;
    ::close(fd);
    return false;
}

bool Out_Fic::openStream(std::FILE* file) {
    file_ = file;
    handed_ = writebackStart_ = 0;
    if (file_ == nullptr) return false;
    // Lines gather in pending_ and reach the file in large writes: no second buffer is needed.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return true;
}

void Out_Fic::openMemory() {
    close();
    memory_ = true;
    failed_ = false;
    pending_.clear();
    linesWritten = 1;
}

std::string Out_Fic::takeMemory() { return std::exchange(pending_, {}); }

void Out_Fic::appendBlock(std::string_view latin1, int lines) {
    linesWritten += lines;
    if (memory_ || latin1.size() < kBlockSize / 2) return writeRaw(latin1);
    // A large block goes to the file as it is, after what was pending.
    if (file_ == nullptr || failed_) return;
    flushPending();
    handToFile(latin1);
}

bool Out_Fic::close() {
    memory_ = false;
    if (file_ == nullptr) return !failed_;
    flushPending();
    if (std::fflush(file_) != 0 || std::ferror(file_)) failed_ = true;
    // The replacing file is on disk before it takes the place of the previous one.
    if (!temporaryPath_.empty() && !failed_ && ::fsync(::fileno(file_)) != 0) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    if (!temporaryPath_.empty()) {
        if (failed_ || std::rename(temporaryPath_.c_str(), replacedPath_.c_str()) != 0) {
            failed_ = true;
            std::remove(temporaryPath_.c_str());
        }
        temporaryPath_.clear();
        forgetTemporaryFile(std::exchange(temporaryTicket_, -1));
    }
    return !failed_;
}

void Out_Fic::discard() {
    if (!temporaryPath_.empty()) failed_ = true;
    close();
}

bool Out_Fic::flush() {
    flushPending();
    if (file_ != nullptr && std::fflush(file_) != 0) failed_ = true;
    return !failed_;
}

// Lines gather in memory and go to the file by blocks of 64 KiB: one write call per thousand lines
// instead of one per line.
void Out_Fic::writeRaw(std::string_view latin1) {
    if (memory_) {
        pending_.append(latin1);
        return;
    }
    if (file_ == nullptr || failed_) return;
    pending_.append(latin1);
    if (pending_.size() >= kBlockSize) flushPending();
}

void Out_Fic::flushPending() {
    if (memory_) return;
    if (file_ != nullptr && !failed_ && !pending_.empty()) handToFile(pending_);
    pending_.clear();
}

void Out_Fic::handToFile(std::string_view latin1) {
    if (std::fwrite(latin1.data(), 1, latin1.size(), file_) != latin1.size()) {
        failed_ = true;
        return;
    }
    handed_ += static_cast<long long>(latin1.size());
    // A file that replaces another is put on disk before it does: its bytes start their way there
    // every few megabytes, so that the run does not wait for all of them at its end.
    constexpr long long kWritebackBytes = 8 << 20;
    if (!temporaryPath_.empty() && handed_ - writebackStart_ >= kWritebackBytes) {
        (void)::sync_file_range(::fileno(file_), writebackStart_, handed_ - writebackStart_, SYNC_FILE_RANGE_WRITE);
        writebackStart_ = handed_;
    }
}

void Out_Fic::writeText(std::string_view text) {
    // Plain ASCII needs no conversion; the bytes between line feeds are appended a run at a time.
    std::string converted;
    std::string_view latin1 = text;
    if (!isAscii(text)) {
        converted = utf8ToLatin1(text);
        latin1 = converted;
    }
    text_.clear();
    for (;;) {
        const std::size_t nl = latin1.find('\n');
        if (nl == std::string_view::npos) {
            text_.append(latin1);
            break;
        }
        text_.append(latin1.data(), nl);
        text_.append("\r\n", 2);
        latin1.remove_prefix(nl + 1);
    }
    writeRaw(text_);
}

void Out_Fic::writeHeader(const CCoor& d, const CCoor& a, int transformationType) {
    std::string h = "*" + dateStamp(clock()) + "\n";
    h += std::string(loadString(3001)) + std::string(texts::transformationName(transformationType)) +
         std::string(loadString(3009)) + "\n";
    auto block = [&h](const CCoor& p) {
        const CReg* system = p.sys.system;
        h += std::string(loadString(3002)) + (system ? system->name : std::string()) + "\n";
        h += std::string(loadString(3003)) + std::string(coordinateTypeName(p.type)) + "\n";
        const std::string ellipsoid = system && system->ellipsoid ? system->ellipsoid->name : std::string();
        if (p.type == kGeographic) {
            h += std::string(loadString(3004)) + ellipsoid + "\n";
            h += std::string(loadString(3007)) + (system && system->meridian ? system->meridian->name : "") + "\n";
            h += std::string(loadString(3008)) + std::string(unitName(p.unit)) + "\n";
        } else if (p.type == kProjected) {
            h += std::string(loadString(3004)) + ellipsoid + "\n";
            h += std::string(loadString(3005)) + (p.sys.projection ? p.sys.projection->name : "") + "\n";
        }
    };
    block(d);
    h += "\n";
    block(a);
    h += "\n" + std::string(loadString(3006)) + (a.sys.vertical ? a.sys.vertical->name : std::string()) + "\n\n";
    writeText(h);
    writeText("\n\n");
}

void Out_Fic::writeColumnTitles(const CCoor& arrival, bool withConversion) {
    static constexpr const char* kTitles[] = {
        "*          Nom            X            Y           Z",
        "*     X            Y           Z",
        "*          Nom         Longitude   Latitude    Altitude",
        "*          Nom         Latitude    Longitude   Altitude",
        "*          Nom         Longitude    Latitude    Hauteur",
        "*          Nom         Latitude     Longitude   Hauteur",
        "*  Longitude    Latitude    Altitude",
        "*  Latitude     Longitude   Altitude",
        "*  Longitude     Latitude    Hauteur",
        "*  Latitude      Longitude   Hauteur",
        "*          Nom              E              N             Alt",
        "*          Nom              E              N             Hauteur",
        "*          E              N             Alt",
        "*          E              N             Hauteur",
    };
    std::string t = isDataFormat(dataFormat) ? kTitles[dataFormat - kFirstDataFormat] : "";
    if (withConversion && dataFormat >= 16 && dataFormat <= 19) {
        std::string conversion = texts::kConversionColumns;
        conversion.replace(conversion.find("%s"), 2, unitName(arrival.convergenceUnit));
        t += conversion;
    }
    t += texts::kPrecisionColumns;
    t += "\n";
    writeText(t);
}

void Out_Fic::beginPoints(const CCoor& departure, const CCoor& arrival, int transformationType, bool withConversion) {
    if (linesWritten != 0 || !annotated) return;
    writeHeader(departure, arrival, transformationType);
    writeColumnTitles(arrival, withConversion);
    linesWritten += 1;
}

void Out_Fic::writePoint(const CCoor& departure, const CCoor& arrival, int transformationType,
                         std::string_view status, bool withConversion) {
    beginPoints(departure, arrival, transformationType, withConversion);
    if (status != texts::kStatusOk) {
        writeText(std::string(texts::kErrorLine) + std::string(status) + "\n");
        ++linesWritten;
        return;
    }
    line_.clear();
    if (!isDataFormat(dataFormat)) {
        line_ += "\r\n";
        writeRaw(line_);
        ++linesWritten;
        return;
    }
    const DataFormat& format = zelvo::dataFormat(dataFormat);
    if (format.hasName) {
        if (isAscii(arrival.name)) appendRightAligned(line_, arrival.name, 20);
        else appendRightAligned(line_, utf8ToLatin1(arrival.name), 20);
    }
    appendPointValues(line_, arrival, format, "   ");
    if (format.coordinateType == kProjected && withConversion && annotated) {
        line_ += "   ";
        appendFixed(line_, arrival.convergence, 12, 6);
        line_ += "   ";
        appendFixed(line_, arrival.alteration, 8, 1);
    }
    if (annotated) {
        line_ += " \t\t ";
        line_ += utf8ToLatin1(precisionText(arrival.precisionCode));
        line_ += " \t\t ";
        line_ += utf8ToLatin1(precisionText(arrival.geoidPrecisionCode));
    }
    line_ += "\r\n";
    writeRaw(line_);
    ++linesWritten;
}

void appendPointValues(std::string& out, const CCoor& p, const DataFormat& format, std::string_view projectedBlanks) {
    const double third = format.thirdIsAltitude ? p.altitude : p.h;
    switch (format.coordinateType) {
        case kCartesian:
            out += ' ';
            appendFixed(out, p.x, 12, 3);
            out += ' ';
            appendFixed(out, p.y, 12, 3);
            out += ' ';
            appendFixed(out, p.z, 8, 3);
            break;
        case kGeographic:
            out += ' ';
            appendAngle(out, format.latitudeFirst ? p.lat : p.lon, p.unit);
            out += ' ';
            appendAngle(out, format.latitudeFirst ? p.lon : p.lat, p.unit);
            out += ' ';
            appendFixed(out, third, 8, 3);
            break;
        default:
            out += projectedBlanks;
            appendFixed(out, p.e, 12, projectedDecimals(p.sys.projection));
            out += projectedBlanks;
            appendFixed(out, p.n, 12, projectedDecimals(p.sys.projection));
            out += projectedBlanks;
            appendFixed(out, third, 8, 3);
            break;
    }
}

void Out_Fic::writeEnd(std::string_view text) {
    if (text == texts::kStatusEnd) writeText(std::string(texts::kEndLinePrefix) + dateStamp(clock()) + "\n");
    else if (text == texts::kReportEndText) writeText(std::string(text) + dateStamp(clock()) + "\n");
}

}  // namespace zelvo
