// Code page 1251 <-> UTF-8. The program's own text is code page 1251 bytes; the desktop and the
// source files speak UTF-8 (and Qt UTF-16, converted in the Qt layer from these).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The Unicode code point of a code page 1251 byte (0x98, which the code page leaves empty, maps to
// U+FFFD).
char32_t UnicodeOfCp1251(unsigned char c);
// The code page 1251 byte of a code point; false when the code page cannot hold it.
bool Cp1251OfUnicode(char32_t u, unsigned char& out);

std::string Cp1251ToUtf8(std::string_view cp1251);
// Characters that code page 1251 cannot hold become '?'; `lossless` (when given) tells whether
// every character was held. Malformed UTF-8 bytes count as lost.
std::string Utf8ToCp1251(std::string_view utf8, bool* lossless = nullptr);

// Appends the UTF-8 form of code point `u` to `out`.
void AppendUtf8(std::string& out, char32_t u);
// Decodes one UTF-8 sequence at `pos`, advancing it; U+FFFD for a malformed sequence.
char32_t DecodeUtf8(std::string_view s, std::size_t& pos);

}  // namespace platform
