#pragma once
// Conversions between the program's UTF-8 text and the single-byte encodings found on disk:
// ISO 8859-1 for point files, catalogue, grid headers, reports and the log; Windows-1252 for
// configuration files written on Windows.

#include <string>
#include <string_view>

namespace zelvo {

bool isValidUtf8(std::string_view bytes);

// Each byte becomes the character of the same code.
// Plain ASCII (names, numbers) reads the same in UTF-8, ISO 8859-1 and Windows-1252.
bool isAscii(std::string_view text);
std::string latin1ToUtf8(std::string_view bytes);
// Characters above U+00FF, and bytes that are not valid UTF-8, become '?'.
std::string utf8ToLatin1(std::string_view text);

std::string cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become '?'.
std::string utf8ToCp1252(std::string_view text);

// Number of characters (code points) of a UTF-8 text.
std::size_t utf8Length(std::string_view text);
// The first maxChars characters of a UTF-8 text, never cutting a character in two.
std::string utf8Prefix(std::string_view text, std::size_t maxChars);

}  // namespace zelvo
