#include "platform/text_encoding.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <utf8cpp/utf8.h>

namespace zelvo {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes that the code page leaves undefined.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) { utf8::append(static_cast<utf8::uint32_t>(cp), std::back_inserter(out)); }

template <typename ToByte>
std::string encodeSingleByte(std::string_view text, ToByte toByte) {
    if (isAscii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    auto it = text.begin();
    while (it != text.end()) {
        // A run of ASCII bytes is appended whole.
        auto run = it;
        while (run != text.end() && static_cast<unsigned char>(*run) < 0x80) ++run;
        if (run != it) {
            out.append(it, run);
            it = run;
            continue;
        }
        try {
            out.push_back(toByte(utf8::next(it, text.end())));
        } catch (const utf8::exception&) {
            out.push_back('?');
            ++it;
        }
    }
    return out;
}

}  // namespace

bool isAscii(std::string_view text) {
    // Eight bytes at a time: a byte from 0x80 up has its high bit set.
    const char* p = text.data();
    std::size_t n = text.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) return false;
    }
    for (; n > 0; ++p, --n)
        if (static_cast<unsigned char>(*p) >= 0x80) return false;
    return true;
}

bool isValidUtf8(std::string_view bytes) { return utf8::is_valid(bytes.begin(), bytes.end()); }

std::string latin1ToUtf8(std::string_view bytes) {
    if (isAscii(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view text) {
    return encodeSingleByte(text, [](char32_t cp) { return cp <= 0xFF ? static_cast<char>(cp) : '?'; });
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        char32_t cp = b;
        if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0) cp = kCp1252High[b - 0x80];
        appendUtf8(out, cp);
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text) {
    return encodeSingleByte(text, [](char32_t cp) {
        if (cp <= 0xFF && (cp < 0x80 || cp > 0x9F)) return static_cast<char>(cp);
        for (std::size_t i = 0; i < kCp1252High.size(); ++i)
            if (kCp1252High[i] == cp && cp != 0) return static_cast<char>(0x80 + i);
        return '?';
    });
}

std::size_t utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string utf8Prefix(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == maxChars) return std::string(text.substr(0, i));
            ++chars;
        }
    }
    return std::string(text);
}

}  // namespace zelvo
