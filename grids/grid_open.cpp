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
#include "grids/grid_format.hpp"
#include "grids/grid_store.hpp"
#include "grids/text_data.hpp"
#include "platform/paths.hpp"
#include "platform/temporary_files.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

constexpr int kFullOpen = 0;
constexpr int kHeaderOnly = 2;

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

GridStorage storageOf(int format) {
    const GridFormat* entry = gridFormatOf(format);
    return entry != nullptr ? entry->storage : GridStorage::None;
}

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
    GridHeader probe;
    probe.NAME = path;
    HeaderInput input{path, nullptr, file, stamp.size};
    const HeaderResult result = gridFormatOf(kFormatBinaryVrd)->readHeader(probe, input);
    std::fclose(file);
    return result.read() && probe.source == sourceStampOf(grid);
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

std::string CGrille::readHeaderPhase(TextSource& text, GridOpenResult& outcome, bool useCache,
                                     bool& xmlRead) {
    const std::string path = absolutePath(header.NAME);
    const FileStamp gridStamp = stampOf(header.NAME);
    const FileStamp sideStamp = stampOf(sideFilePath());
    GridStore& store = GridStore::process();
    if (useCache) {
        if (const GridStore::HeaderEntry* entry = store.findHeader(path, gridStamp, sideStamp, header)) {
            header = entry->after;
            loaded = entry->loaded;
            return {};
        }
    }
    const GridHeader before = header;

    detectFormat(header);
    header.fileFormat = header.GRID_TYPE;
    loaded = 0;
    const GridFormat& format = *gridFormatOf(header.GRID_TYPE);
    if (format.readHeader == nullptr) return fmt::sprintf(texts::kGridTypeUnknown, header.NAME);

    HeaderInput input{header.NAME, nullptr, nullptr, gridStamp.size};
    HeaderResult result;
    if (format.storage == GridStorage::Text) {
        if (!text.open(header.NAME)) return fmt::sprintf(texts::kGridCannotOpen, header.NAME);
        input.text = &text;
        result = format.readHeader(header, input);
    } else {
        std::FILE* file = std::fopen(header.NAME.c_str(), "rb");
        if (file == nullptr) return fmt::sprintf(texts::kGridCannotOpen, header.NAME);
        input.file = file;
        result = format.readHeader(header, input);
        std::fclose(file);
        if (format.storage == GridStorage::InPlace) loaded = 1;
    }
    if (!result.read()) {
        text.close();
        if (result.fatal) outcome.condition = GridOpenCondition::Fatal;
        if (result.status == HeaderResult::kFault) return result.message;
        // What the reader found instead of a header, for the caller to show before the problem.
        outcome.foundKeyword = result.foundKeyword;
        return fmt::sprintf(texts::kGridHeaderProblem, header.NAME, result.status);
    }

    xmlRead = readXmlHeader().empty();
    std::string message = validate(true);
    if (!message.empty()) {
        if (xmlRead) message += texts::kGridSeeXml;
        text.close();
        return message;
    }
    // Interpolation adds one translation per value.
    header.TRANSLATION.resize(static_cast<std::size_t>(header.VALUES_NUMBER), 0.0);
    if (format.countCheckedWithHeader) {
        message = checkNodeCount(header, gridStamp.size);
        if (!message.empty()) {
            text.close();
            return message;
        }
    }

    store.keepHeader({path, gridStamp, sideStamp, before, header, loaded});
    return {};
}

GridOpenResult CGrille::open(int mode, GridOpenObserver* observer) {
    GridOpenResult result;
    result.message = openOnce(mode, observer, result);
    if (result.message.empty())
        result = GridOpenResult{};
    else if (result.condition == GridOpenCondition::Opened)
        result.condition = GridOpenCondition::Failed;
    return result;
}

std::string CGrille::openOnce(int mode, GridOpenObserver* observer, GridOpenResult& outcome) {
    // One open at a time in the process: the store's caches and the binary versions it makes.
    const auto guard = GridStore::process().hold();
    // Values of an earlier open must not outlive the header they belonged to.
    nodeData_.reset();
    if (header.NAME.empty()) return texts::kGridNameNotSet;
    if (!readable(header.NAME)) return fmt::sprintf(texts::kGridCannotOpen, header.NAME);

    // A full open of a text grid may have to copy its data section, which needs the text file
    // read from its start: that one is never taken from the cache.
    GridHeader probe;
    probe.NAME = header.NAME;
    detectFormat(probe);
    const bool useCache = !(mode == kFullOpen && storageOf(probe.GRID_TYPE) == GridStorage::Text);

    TextSource text;
    bool xmlRead = false;
    std::string message = readHeaderPhase(text, outcome, useCache, xmlRead);
    if (!message.empty()) return message;

    if (mode == kHeaderOnly) return {};
    if (loaded == 0) {
        message = loadValues(observer, text, outcome);
        text.close();
        if (!message.empty()) return message;
        // NAME now names the binary version: it is opened as such, with its own side file.
        return openOnce(kFullOpen, observer, outcome);
    }
    message = gridFormatOf(header.fileFormat)->loadNodes(header, nodeData_);
    if (message.empty()) loaded = 1;
    return message;
}

std::string loadBinaryNodes(const GridHeader& header, std::shared_ptr<const GridNodeData>& nodes) {
    const std::string path = absolutePath(header.NAME);
    const FileStamp stamp = stampOf(header.NAME);
    const long long length = static_cast<long long>(header.N_COLUMNS) * header.N_LINES * recordSize(header);
    GridStore& store = GridStore::process();
    const auto guard = store.hold();
    if (auto data = store.findNodes(path, stamp, header.dataOffset, length)) {
        nodes = std::move(data);
        return {};
    }
    // The header was checked against the file's size: length bytes are there to be read.
    auto data = std::make_shared<GridNodeData>();
    std::FILE* file = std::fopen(header.NAME.c_str(), "rb");
    if (file == nullptr) return fmt::sprintf(texts::kGridCannotOpen, header.NAME);
    data->bytes.resize(static_cast<std::size_t>(length));
    const bool ok = std::fseek(file, static_cast<long>(header.dataOffset), SEEK_SET) == 0 &&
                    std::fread(data->bytes.data(), 1, data->bytes.size(), file) == data->bytes.size();
    std::fclose(file);
    if (!ok)
        return fmt::sprintf(texts::kBinaryFileTooShort, header.NAME, header.dataOffset + length,
                            stampOf(header.NAME).size);
    store.keepNodes({path, stamp, header.dataOffset, length, data});
    nodes = std::move(data);
    return {};
}

std::string CGrille::loadValues(GridOpenObserver* observer, TextSource& text, GridOpenResult& outcome) {
    const std::string textName = header.NAME;
    const std::string textSideFile = sideFilePath();
    const FileStamp textStamp = stampOf(textName);
    const int textFormat = header.GRID_TYPE;
    header.GRID_TYPE = kFormatBinaryVrd;
    header.NAME = binaryVersionPath(textName);
    const std::string beside = header.NAME;
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
            header.NAME = cached;
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
            header.NAME = textName;
            header.GRID_TYPE = textFormat;
            outcome.condition = GridOpenCondition::Fatal;
            return fmt::sprintf(texts::kBinaryCannotCreate, beside);
        }
        copySideFile(textSideFile, target);
    }
    header.NAME = target;
    const int temporaryTicket = noteTemporaryFile(temporary);

    if (observer != nullptr) observer->binaryVersionBegun(header.NAME, 100);
    std::string failure;
    header.source = sourceStampOf(textStamp);
    const bool headerWritten = writeBinaryHeader(header, out);
    header.source = GridSourceStamp{};
    if (!headerWritten) failure = fmt::sprintf(texts::kBinaryWriteFailed, header.NAME);

    TextDataLayout layout;
    layout.nodeCoordWritten = header.NODE_COORD_WRITTEN;
    layout.valuesNumber = header.VALUES_NUMBER;
    layout.valuesType = header.VALUES_TYPE;
    layout.separated = header.SEP;
    layout.valueSize = header.valueSize;
    layout.codePrec = header.CODE_PREC;
    layout.rowEndMarker = header.rowEndMarker;
    layout.nColumns = header.N_COLUMNS;
    TextDataReader reader(text, layout);
    std::unique_ptr<ForeignNodeReader> foreign;
    const GridFormat* format = gridFormatOf(header.fileFormat);
    if (format->storage == GridStorage::Converted && failure.empty())
        foreign = format->openNodes(header, textName, failure);
    const long long nodes = static_cast<long long>(header.N_COLUMNS) * header.N_LINES;
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
        for (double value : values) encodeValue(buffer, value, header.VALUES_TYPE);
        if (header.CODE_PREC == 1) putLe(buffer, static_cast<std::uint32_t>(code), 4);
        ++count;
        if (buffer.size() >= (1 << 16) || count == nodes) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
                failure = fmt::sprintf(texts::kBinaryWriteFailed, header.NAME);
            buffer.clear();
        }
        if (step > 0 && count % step == 0 && observer != nullptr) {
            observer->binaryVersionStep();
            if (observer->cancelRequested()) {
                failure = fmt::sprintf(texts::kBinaryCreationCancelled, textName);
                outcome.condition = GridOpenCondition::Cancelled;
            }
        }
    }
    if (observer != nullptr) observer->binaryVersionEnded();
    if (std::fclose(out) != 0 && failure.empty())
        failure = fmt::sprintf(texts::kBinaryWriteFailed, header.NAME);
    if (failure.empty() && std::rename(temporary.c_str(), target.c_str()) != 0)
        failure = fmt::sprintf(texts::kBinaryWriteFailed, header.NAME);
    if (!failure.empty()) std::remove(temporary.c_str());
    forgetTemporaryFile(temporaryTicket);
    if (!failure.empty()) {
        header.NAME = textName;
        header.GRID_TYPE = textFormat;
        return failure;
    }
    return {};
}

}  // namespace zelvo
