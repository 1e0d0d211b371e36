// The native grid formats: the header line of a text grid (".mnt") with the token reader that
// every text header shares, and the header of the binary format (".bin").

#include <fmt/printf.h>
#include <bit>
#include <cstdint>
#include <cstring>

#include "grids/grid.hpp"
#include "grids/grid_format.hpp"
#include "grids/header_fields.hpp"
#include "platform/number_text.hpp"
#include "platform/text_encoding.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

using header_fields::convertInt;
using header_fields::convertReal;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isRealChar(char c) {
    return isDigit(c) || c == '.' || c == '-';
}
bool isIntegerChar(char c) {
    return isDigit(c) || c == '-';
}

// The header line of a text grid is read into a buffer of this size.
constexpr std::size_t kHeaderLineBuffer = 260;

constexpr int kBinaryVersion = 3;
constexpr char kMagic[5] = {'G', 'R', 'I', 'D', '\0'};
// The record of a binary version's source, between the description and the node records: a tag,
// then the source's size, modification seconds and nanoseconds (8 bytes each).
constexpr char kSourceTag[4] = {'Z', 'S', 'R', 'C'};
constexpr long long kSourceRecordBytes = 4 + 3 * 8;

void putLe32(std::string& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
}
void putInt(std::string& out, int v) {
    putLe32(out, static_cast<std::uint32_t>(v));
}
void putDouble(std::string& out, double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    putLe32(out, static_cast<std::uint32_t>(bits));
    putLe32(out, static_cast<std::uint32_t>(bits >> 32));
}

// Reads a binary header field by field, refusing to go past the end of the file.
class HeaderBytes {
public:
    HeaderBytes(std::FILE* file, long long fileSize) : file_(file), remaining_(fileSize) {}
    bool bytes(void* out, long long n) {
        if (n < 0 || n > remaining_) return false;
        if (std::fread(out, 1, static_cast<std::size_t>(n), file_) != static_cast<std::size_t>(n))
            return false;
        remaining_ -= n;
        return true;
    }
    bool integer(int& v) {
        unsigned char b[4];
        if (!bytes(b, 4)) return false;
        v = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
            static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
        return true;
    }
    bool integer64(long long& v) {
        unsigned char b[8];
        if (!bytes(b, 8)) return false;
        std::uint64_t bits = 0;
        for (int k = 7; k >= 0; --k) bits = bits << 8 | b[k];
        v = static_cast<long long>(bits);
        return true;
    }
    bool real(double& v) {
        unsigned char b[8];
        if (!bytes(b, 8)) return false;
        std::uint64_t bits = 0;
        for (int k = 7; k >= 0; --k) bits = bits << 8 | b[k];
        v = std::bit_cast<double>(bits);
        return true;
    }
    long long remaining() const { return remaining_; }

private:
    std::FILE* file_;
    long long remaining_;
};

// The bytes of an unexpected keyword, shown as text up to their first zero byte.
std::string printableKeyword(const char* bytes, std::size_t n) {
    std::string shown;
    for (std::size_t k = 0; k < n && bytes[k] != '\0'; ++k) {
        const auto c = static_cast<unsigned char>(bytes[k]);
        shown.push_back(c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
    }
    return latin1ToUtf8(shown);
}

}  // namespace

int CGrille::readToken(const std::string& line, int& position, std::string& token, TokenKind kind) {
    const bool realForce = kind == TokenKind::RealForce;
    const bool integerForce = kind == TokenKind::IntegerForce;
    std::size_t pos = position < 0 ? line.size() : static_cast<std::size_t>(position);
    while (pos < line.size() && line[pos] == ' ') ++pos;
    token.clear();
    while (pos < line.size() && line[pos] != ' ') {
        if (realForce && !isRealChar(line[pos])) break;
        if (integerForce && !isIntegerChar(line[pos])) break;
        token.push_back(line[pos++]);
    }
    if (!token.empty() && token.back() == '\n') token.pop_back();
    if (realForce || integerForce) {
        position = static_cast<int>(pos);
        return 0;
    }
    const bool spaceFollows = pos < line.size() && line[pos] == ' ';
    position = static_cast<int>(pos + 1);
    if (kind == TokenKind::Real) {
        for (char c : token)
            if (!isRealChar(c)) {
                token = fmt::sprintf(texts::kRealExpected, position);
                position = -1;
                return -1;
            }
    } else if (kind == TokenKind::Integer) {
        for (char c : token)
            if (!isIntegerChar(c)) {
                std::string shownLine = line;
                if (!shownLine.empty() && shownLine.back() == '\n') shownLine.pop_back();
                token =
                    fmt::sprintf(texts::kIntegerExpected, latin1ToUtf8(shownLine), std::to_string(position));
                position = -1;
                return -1;
            }
    }
    return spaceFollows ? 0 : 2;
}

int header_fields::readTextHeaderLine(GridHeader& header, const std::string& line, std::string& message) {
    int position = 0;
    std::string token;
    // Reads one token that must be followed by another; returns false with result set when
    // the read must end.
    int result = 0;
    const auto next = [&](TokenKind kind) {
        result = CGrille::readToken(line, position, token, kind);
        if (result == -1) message = token;
        return result == 0;
    };
    for (double* field :
         {&header.X_MIN, &header.X_MAX, &header.Y_MIN, &header.Y_MAX, &header.X_INC, &header.Y_INC}) {
        if (!next(TokenKind::Real)) return position;
        convertReal(token, *field);
    }
    for (int* field :
         {&header.LAYOUT, &header.NODE_COORD_WRITTEN, &header.VALUES_NUMBER, &header.CODE_PREC}) {
        if (!next(TokenKind::Integer)) return position;
        convertInt(token, *field);
    }
    if (header.VALUES_NUMBER < 1 || header.VALUES_NUMBER > kMaxValuesPerNode) {
        message = fmt::sprintf(texts::kValuesNumberInvalid, header.NAME, header.VALUES_NUMBER);
        return -1;
    }
    header.TRANSLATION.assign(static_cast<std::size_t>(header.VALUES_NUMBER), 0.0);
    for (int k = 0; k + 1 < header.VALUES_NUMBER; ++k) {
        if (!next(TokenKind::Real)) return position;
        convertReal(token, header.TRANSLATION[static_cast<std::size_t>(k)]);
    }
    result = CGrille::readToken(line, position, token, TokenKind::Real);
    if (result == -1) {
        message = token;
        return -1;
    }
    convertReal(token, header.TRANSLATION.back());
    if (result == 0) {
        std::string description;
        do {
            result = CGrille::readToken(line, position, token, TokenKind::Text);
            if (token.empty()) continue;
            if (!description.empty()) description += ' ';
            description += token;
        } while (result == 0);
        if (!description.empty()) header.DESC = latin1ToUtf8(description);
    }
    computeDimensions(header);
    header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitDegrees;
    header.VALUES_LOCATION = 0;
    header.EAST_TO_WEST = 0;
    header.VALUES_TYPE = kValuesReal8;
    header.VALUES_UNIT = kGridUnitMeters;
    updateValueSize(header);
    return -10;
}

HeaderResult readBinaryVrdHeader(GridHeader& header, HeaderInput& input) {
    if (std::fseek(input.file, 0, SEEK_SET) != 0) return HeaderResult::endedAt(2);
    const long long fileSize = input.fileSize;
    HeaderBytes in(input.file, fileSize);
    char magic[5] = {};
    const bool gotMagic = in.bytes(magic, 5);
    if (!gotMagic || std::memcmp(magic, kMagic, 5) != 0) {
        // What was found instead: the caller shows it before the header problem it reports.
        HeaderResult result = HeaderResult::endedAt(2);
        result.foundKeyword = printableKeyword(magic, 5);
        return result;
    }
    const std::string truncated = fmt::sprintf(texts::kBinaryHeaderTruncated, header.NAME);
    int version = 0;
    if (!in.integer(version)) {
        return HeaderResult::fault(truncated);
    }
    if (version != 2 && version != 3) {
        HeaderResult result =
            HeaderResult::fault(fmt::sprintf(texts::kUnexpectedVersion, version, header.NAME));
        result.fatal = true;
        return result;
    }
    int offset = 0;
    bool ok = in.integer(offset);
    for (double* field :
         {&header.X_MIN, &header.X_MAX, &header.Y_MIN, &header.Y_MAX, &header.X_INC, &header.Y_INC})
        ok = ok && in.real(*field);
    ok = ok && in.integer(header.LAYOUT) && in.integer(header.NODE_COORD_WRITTEN) &&
         in.integer(header.VALUES_NUMBER);
    if (version == 3)
        ok = ok && in.integer(header.VALUES_TYPE);
    else
        header.VALUES_TYPE = kValuesReal8;
    ok = ok && in.integer(header.CODE_PREC);
    // Nothing is allocated for more than the file holds.
    if (!ok || header.VALUES_NUMBER < 0 || 8LL * header.VALUES_NUMBER > in.remaining()) {
        return HeaderResult::fault(truncated);
    }
    header.TRANSLATION.assign(static_cast<std::size_t>(header.VALUES_NUMBER), 0.0);
    for (double& value : header.TRANSLATION) ok = ok && in.real(value);
    int descriptionLength = 0;
    ok = ok && in.integer(descriptionLength);
    if (!ok || descriptionLength < 0 || descriptionLength > in.remaining()) {
        return HeaderResult::fault(truncated);
    }
    std::string description(static_cast<std::size_t>(descriptionLength), '\0');
    if (!in.bytes(description.data(), descriptionLength)) {
        return HeaderResult::fault(truncated);
    }
    header.DESC = latin1ToUtf8(description);
    // The node records follow the header; an offset into it would read the header as values.
    const long long headerEnd = fileSize - in.remaining();
    if (offset < headerEnd) {
        return HeaderResult::fault(fmt::sprintf(texts::kBinaryDataOffsetInvalid, header.NAME, offset));
    }
    // The record of the grid a binary version was made from, when the header has room for one.
    header.source = GridSourceStamp{};
    if (offset - headerEnd >= kSourceRecordBytes) {
        char tag[4] = {};
        GridSourceStamp stamp;
        if (in.bytes(tag, 4) && std::memcmp(tag, kSourceTag, 4) == 0 && in.integer64(stamp.size) &&
            in.integer64(stamp.seconds) && in.integer64(stamp.nanoseconds) && stamp.size >= 0)
            header.source = stamp;
    }
    header.dataOffset = offset;
    computeDimensions(header);
    header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitDegrees;
    header.VALUES_LOCATION = 0;
    header.EAST_TO_WEST = 0;
    header.VALUES_UNIT = kGridUnitMeters;
    updateValueSize(header);
    return {};
}

bool writeBinaryHeader(GridHeader& header, std::FILE* file) {
    std::string out(kMagic, 5);
    putInt(out, kBinaryVersion);
    putInt(out, 0);  // dataOffset, known once the header is laid out
    for (double value : {header.X_MIN, header.X_MAX, header.Y_MIN, header.Y_MAX, header.X_INC, header.Y_INC})
        putDouble(out, value);
    for (int value : {header.LAYOUT, header.NODE_COORD_WRITTEN, header.VALUES_NUMBER, header.VALUES_TYPE,
                      header.CODE_PREC})
        putInt(out, value);
    for (int k = 0; k < header.VALUES_NUMBER; ++k)
        putDouble(out, static_cast<std::size_t>(k) < header.TRANSLATION.size()
                           ? header.TRANSLATION[static_cast<std::size_t>(k)]
                           : 0.0);
    const std::string description = utf8ToLatin1(utf8Prefix(header.DESC, kGridTextMax));
    putInt(out, static_cast<int>(description.size()));
    out += description;
    if (header.source.size >= 0) {
        out.append(kSourceTag, 4);
        for (long long value : {header.source.size, header.source.seconds, header.source.nanoseconds}) {
            const auto bits = static_cast<std::uint64_t>(value);
            putLe32(out, static_cast<std::uint32_t>(bits));
            putLe32(out, static_cast<std::uint32_t>(bits >> 32));
        }
    }
    header.dataOffset = static_cast<long long>(out.size());
    std::string offset;
    putInt(offset, static_cast<int>(header.dataOffset));
    out.replace(9, 4, offset);
    if (std::fseek(file, 0, SEEK_SET) != 0) return false;
    return std::fwrite(out.data(), 1, out.size(), file) == out.size();
}

HeaderResult readTextVrdHeader(GridHeader& header, HeaderInput& input) {
    std::string line;
    input.text->readLine(line, kHeaderLineBuffer);
    if (line.size() == kHeaderLineBuffer - 1)
        return HeaderResult::fault(fmt::sprintf(texts::kGridHeaderLineTooLong, header.NAME,
                                                static_cast<int>(kHeaderLineBuffer) - 2));
    std::string message;
    const int status = header_fields::readTextHeaderLine(header, line, message);
    return HeaderResult::from(status, message);
}

}  // namespace zelvo
