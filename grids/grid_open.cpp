// Opening a grid: format, own header, XML side file, validation, and in full mode the node
// values, which a text grid gets through its binary version (created once, then reused).
//
// Headers are parsed once per file for the run: a later open of the same unchanged file (and
// side file) from the same starting header takes the outcome from memory. Node values are read
// once into memory and shared by every grid object that opens the same file.

#include <fmt/printf.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>

#include "grids/grid.hpp"
#include "grids/grid_store.hpp"
#include "grids/text_data.hpp"
#include "platform/paths.hpp"
#include "platform/temporary_files.hpp"
#include "platform/user_interface.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

constexpr int kFullOpen = 0;
constexpr int kHeaderOnly = 2;
// Header lines are read into a buffer of this size.
constexpr std::size_t kHeaderLineBuffer = 260;

bool readable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return stampOf(path).exists;
}

std::string absolutePath(const std::string& name) {
    return isAbsolutePath(name) ? name : joinPath(currentDirectory(), name);
}

std::string sideFilePath(const std::string& gridPath) {
    const PathParts parts = splitPath(gridPath);
    return parts.directory + parts.baseName + ".xml";
}

bool isTextFormat(int format) {
    return format == kFormatTextVrd || format == kFormatGravsoft || format == kFormatSurfer ||
           format == kFormatNtv2Text || format == kFormatEsri || format == kFormatEgm || format == kFormatDis;
}

// Binary formats whose values are not read in place: they are copied into a binary version, as
// the text formats are.
bool isConvertedBinaryFormat(int format) { return format == kFormatGtx || format == kFormatGeoTiff; }

// The folder for binary versions that cannot be written beside their text grid.
std::string userCacheFolder() {
    const auto xdg = environmentVariable("XDG_CACHE_HOME");
    if (xdg && isAbsolutePath(*xdg)) return joinPath(*xdg, "zelvo");
    const auto home = environmentVariable("HOME");
    if (home && !home->empty()) return joinPath(joinPath(*home, ".cache"), "zelvo");
    return {};
}

// The binary version of a text grid in the user's cache folder: its file name followed by a
// hash of its full path, so that grids of the same name in different folders stay apart.
std::string cachedBinaryPath(const std::string& textPath) {
    const std::string folder = userCacheFolder();
    if (folder.empty()) return {};
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : absolutePath(textPath)) hash = (hash ^ c) * 1099511628211ULL;
    const PathParts parts = splitPath(textPath);
    return joinPath(folder, fmt::format("{}{}.{:016x}.bin", parts.baseName, parts.extension, hash));
}

GridSourceStamp sourceStampOf(const FileStamp& stamp) {
    return {stamp.size, stamp.modifiedSeconds, stamp.modifiedNanoseconds};
}

// Whether the binary version at path was made from the grid file as it is now: it records the
// grid's size and modification time. One that records nothing, or other values, is made again.
bool madeFrom(const std::string& path, const FileStamp& grid) {
    const FileStamp stamp = stampOf(path);
    if (!stamp.exists || !grid.exists) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    CGrille probe;
    probe.NAME = path;
    std::string message;
    const int result = probe.readBinaryHeader(file, stamp.size, message);
    std::fclose(file);
    return result == -10 && probe.source == sourceStampOf(grid);
}

// The binary version in the cache folder is opened with a side file of its own base name: a
// copy of the text grid's (source), kept up to date (removed when the text grid has none).
void copySideFile(const std::string& source, const std::string& binaryPath) {
    std::error_code error;
    const std::string target = sideFilePath(binaryPath);
    if (stampOf(source).exists)
        std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, error);
    else
        std::filesystem::remove(target, error);
}

void putLe(std::string& out, std::uint64_t bits, int bytes) {
    for (int k = 0; k < bytes; ++k) out.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
}

void encodeValue(std::string& out, double value, int valuesType) {
    switch (valuesType) {
        case kValuesInteger2:
            putLe(out, static_cast<std::uint16_t>(grid_numbers::toInteger<std::int16_t>(value)), 2);
            break;
        case kValuesInteger4:
            putLe(out, static_cast<std::uint32_t>(grid_numbers::toInteger<std::int32_t>(value)), 4);
            break;
        case kValuesReal4:
            putLe(out, std::bit_cast<std::uint32_t>(grid_numbers::toReal4(value)), 4);
            break;
        default:
            putLe(out, std::bit_cast<std::uint64_t>(value), 8);
            break;
    }
}

}  // namespace

std::string CGrille::readHeaderPhase(TextSource& text, UserInterface* ui, bool useCache, bool& xmlRead) {
    const std::string path = absolutePath(NAME);
    const FileStamp gridStamp = stampOf(NAME);
    const FileStamp sideStamp = stampOf(sideFilePath());
    GridStore& store = GridStore::process();
    if (useCache) {
        if (const GridStore::HeaderEntry* entry =
                store.findHeader(path, gridStamp, sideStamp, static_cast<const GridHeader&>(*this))) {
            static_cast<GridHeader&>(*this) = entry->after;
            loaded = entry->loaded;
            return {};
        }
    }
    const GridHeader before = *this;

    detectFormat();
    fileFormat = GRID_TYPE;
    loaded = 0;
    if (GRID_TYPE < kFormatTextVrd || GRID_TYPE > kFormatGeoTiff)
        return fmt::sprintf(texts::kGridTypeUnknown, NAME);

    int result = 0;
    std::string message;
    if (isTextFormat(GRID_TYPE)) {
        if (!text.open(NAME)) return fmt::sprintf(texts::kGridCannotOpen, NAME);
        switch (GRID_TYPE) {
            case kFormatTextVrd: {
                std::string line;
                text.readLine(line, kHeaderLineBuffer);
                if (line.size() == kHeaderLineBuffer - 1) {
                    text.close();
                    return fmt::sprintf(texts::kGridHeaderLineTooLong, NAME,
                                        static_cast<int>(kHeaderLineBuffer) - 2);
                }
                result = readTextHeader(line, message);
                break;
            }
            case kFormatGravsoft:
                result = readGravsoftHeader(text, message);
                break;
            case kFormatSurfer:
                result = readSurferHeader(text, message);
                break;
            case kFormatNtv2Text:
                result = readNtv2TextHeader(text, message);
                break;
            case kFormatEsri:
                result = readEsriHeader(text, message);
                break;
            case kFormatEgm:
                result = readEgmHeader(text, message);
                break;
            default:
                result = readDisHeader(text, message);
                break;
        }
    } else if (GRID_TYPE == kFormatGeoTiff) {
        result = readGeoTiffHeader(message);
    } else {
        std::FILE* file = std::fopen(NAME.c_str(), "rb");
        if (file == nullptr) return fmt::sprintf(texts::kGridCannotOpen, NAME);
        if (GRID_TYPE == kFormatBinaryVrd)
            result = readBinaryHeader(file, gridStamp.size, message);
        else if (GRID_TYPE == kFormatGtx)
            result = readGtxHeader(file, gridStamp.size, message);
        else
            result = readNtv2BinaryHeader(file, gridStamp.size, message);
        std::fclose(file);
        loaded = GRID_TYPE == kFormatGtx ? 0 : 1;
    }
    if (result != -10) {
        text.close();
        if (result == -1) return message;
        // What the reader found instead of a header, shown before the problem is reported.
        if (fileFormat == kFormatBinaryVrd && !message.empty() && ui != nullptr)
            ui->message(message, MessageIcon::Error);
        return fmt::sprintf(texts::kGridHeaderProblem, NAME, result);
    }

    xmlRead = readXmlHeader().empty();
    message = validate(true);
    if (!message.empty()) {
        if (xmlRead) message += texts::kGridSeeXml;
        text.close();
        return message;
    }
    // Interpolation adds one translation per value.
    TRANSLATION.resize(static_cast<std::size_t>(VALUES_NUMBER), 0.0);
    if (fileFormat == kFormatBinaryVrd || isTextFormat(fileFormat)) {
        message = checkNodeCount(gridStamp.size);
        if (!message.empty()) {
            text.close();
            return message;
        }
    }

    store.keepHeader({path, gridStamp, sideStamp, before, *this, loaded});
    return {};
}

std::string CGrille::open(int mode, UserInterface* ui) {
    // One open at a time in the process: the store's caches and the binary versions it makes.
    const auto guard = GridStore::process().hold();
    fatalExitCode_ = 0;
    cancelled_ = false;
    // Values of an earlier open must not outlive the header they belonged to.
    nodeData_.reset();
    if (NAME.empty()) return texts::kGridNameNotSet;
    if (!readable(NAME)) return fmt::sprintf(texts::kGridCannotOpen, NAME);

    // A full open of a text grid may have to copy its data section, which needs the text file
    // read from its start: that one is never taken from the cache.
    CGrille probe;
    probe.NAME = NAME;
    probe.detectFormat();
    const bool useCache = !(mode == kFullOpen && isTextFormat(probe.GRID_TYPE));

    TextSource text;
    bool xmlRead = false;
    std::string message = readHeaderPhase(text, ui, useCache, xmlRead);
    if (!message.empty()) return message;

    if (mode == kHeaderOnly) return {};
    if (loaded == 0) {
        message = loadValues(ui, text);
        text.close();
        if (!message.empty()) return message;
        // NAME now names the binary version: it is opened as such, with its own side file.
        return open(kFullOpen, ui);
    }
    if (fileFormat == kFormatBinaryVrd) return loadNodeData();
    return loadNtv2BinaryNodes();
}

std::string CGrille::loadNodeData() {
    const std::string path = absolutePath(NAME);
    const FileStamp stamp = stampOf(NAME);
    const long long length = static_cast<long long>(N_COLUMNS) * N_LINES * recordSize();
    GridStore& store = GridStore::process();
    if (auto data = store.findNodes(path, stamp, dataOffset, length)) {
        nodeData_ = std::move(data);
        loaded = 1;
        return {};
    }
    // The header was checked against the file's size: length bytes are there to be read.
    auto data = std::make_shared<GridNodeData>();
    std::FILE* file = std::fopen(NAME.c_str(), "rb");
    if (file == nullptr) return fmt::sprintf(texts::kGridCannotOpen, NAME);
    data->bytes.resize(static_cast<std::size_t>(length));
    const bool ok = std::fseek(file, static_cast<long>(dataOffset), SEEK_SET) == 0 &&
                    std::fread(data->bytes.data(), 1, data->bytes.size(), file) == data->bytes.size();
    std::fclose(file);
    if (!ok) return fmt::sprintf(texts::kBinaryFileTooShort, NAME, dataOffset + length, stampOf(NAME).size);
    store.keepNodes({path, stamp, dataOffset, length, data});
    nodeData_ = std::move(data);
    loaded = 1;
    return {};
}

std::string CGrille::loadValues(UserInterface* ui, TextSource& text) {
    const std::string textName = NAME;
    const std::string textSideFile = sideFilePath();
    const FileStamp textStamp = stampOf(textName);
    const int textFormat = GRID_TYPE;
    GRID_TYPE = kFormatBinaryVrd;
    NAME = binaryVersionPath(textName);
    const std::string beside = NAME;
    // A binary version made from the grid as it is now is used; one made from an earlier state of
    // the grid, or recording none, is made again.
    if (readable(beside) && madeFrom(beside, textStamp)) return {};

    // Written under a temporary name and renamed once complete, so that an interrupted or
    // failed creation never leaves a binary version that a later open would take as valid.
    // PROJ's folders belong to its package: nothing is written there.
    const std::string suffix = fmt::format(".part{}", static_cast<long>(::getpid()));
    std::string target = beside;
    std::string temporary = target + suffix;
    std::FILE* out = inProjDataFolder(textName) ? nullptr : std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) {
        // The text grid's folder cannot be written: the binary version goes to the user's
        // cache folder, and the grid names it there.
        const std::string cached = cachedBinaryPath(textName);
        if (!cached.empty() && readable(cached) && madeFrom(cached, textStamp)) {
            copySideFile(textSideFile, cached);
            NAME = cached;
            return {};
        }
        if (!cached.empty()) {
            std::error_code error;
            std::filesystem::create_directories(splitPath(cached).directory, error);
            target = cached;
            temporary = target + suffix;
            out = std::fopen(temporary.c_str(), "wb");
        }
        if (out == nullptr) {
            NAME = textName;
            GRID_TYPE = textFormat;
            fatalExitCode_ = 1;
            return fmt::sprintf(texts::kBinaryCannotCreate, beside);
        }
        copySideFile(textSideFile, target);
    }
    NAME = target;
    const int temporaryTicket = noteTemporaryFile(temporary);

    if (ui != nullptr)
        ui->progressBegin(fmt::sprintf(texts::kBinaryCreationStatus, texts::kBinaryCreation, NAME), 100);
    std::string failure;
    source = sourceStampOf(textStamp);
    const bool headerWritten = writeBinaryHeader(out);
    source = GridSourceStamp{};
    if (!headerWritten) failure = fmt::sprintf(texts::kBinaryWriteFailed, NAME);

    TextDataLayout layout;
    layout.nodeCoordWritten = NODE_COORD_WRITTEN;
    layout.valuesNumber = VALUES_NUMBER;
    layout.valuesType = VALUES_TYPE;
    layout.separated = SEP;
    layout.valueSize = valueSize;
    layout.codePrec = CODE_PREC;
    layout.rowEndMarker = rowEndMarker;
    layout.nColumns = N_COLUMNS;
    TextDataReader reader(text, layout);
    std::unique_ptr<ForeignNodeReader> foreign;
    if (isConvertedBinaryFormat(fileFormat) && failure.empty()) foreign = openForeignNodes(textName, failure);
    const long long nodes = static_cast<long long>(N_COLUMNS) * N_LINES;
    const long long step = nodes / 100;
    std::vector<double> values;
    std::string buffer;
    buffer.reserve(1 << 16);
    for (long long count = 0; failure.empty() && count < nodes;) {
        int code = 0;
        if (foreign != nullptr) {
            if (!foreign->next(values, failure)) break;
        } else {
            const TextDataReader::Result result = reader.readNode(values, code);
            if (result == TextDataReader::Result::End) {
                failure = fmt::sprintf(texts::kTextDataShort, textName, count, nodes);
                break;
            }
            if (result == TextDataReader::Result::Invalid) {
                failure = fmt::sprintf(texts::kTextDataInvalid, textName, count + 1);
                break;
            }
        }
        for (double value : values) encodeValue(buffer, value, VALUES_TYPE);
        if (CODE_PREC == 1) putLe(buffer, static_cast<std::uint32_t>(code), 4);
        ++count;
        if (buffer.size() >= (1 << 16) || count == nodes) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
                failure = fmt::sprintf(texts::kBinaryWriteFailed, NAME);
            buffer.clear();
        }
        if (step > 0 && count % step == 0 && ui != nullptr) {
            ui->progressStep();
            if (ui->cancelRequested()) {
                failure = fmt::sprintf(texts::kBinaryCreationCancelled, textName);
                cancelled_ = true;
            }
        }
    }
    if (ui != nullptr) ui->progressEnd();
    if (std::fclose(out) != 0 && failure.empty()) failure = fmt::sprintf(texts::kBinaryWriteFailed, NAME);
    if (failure.empty() && std::rename(temporary.c_str(), target.c_str()) != 0)
        failure = fmt::sprintf(texts::kBinaryWriteFailed, NAME);
    if (!failure.empty()) std::remove(temporary.c_str());
    forgetTemporaryFile(temporaryTicket);
    if (!failure.empty()) {
        NAME = textName;
        GRID_TYPE = textFormat;
        return failure;
    }
    return {};
}

}  // namespace zelvo
