// Text of the program's own code is code page 1251 bytes. Core code writes non-ASCII literals only
// through Cp1251("..."), which converts a UTF-8 literal.
#pragma once

#include <string>
#include <string_view>

std::string Cp1251(std::string_view utf8);
// For diagnostics and tests: code page 1251 back to UTF-8.
std::string Utf8(std::string_view cp1251);

// A file-system path (the system's bytes, UTF-8) as the program's text, for every screen, page and
// message that shows a path or a file name; characters code page 1251 cannot hold become '?'.
// Paths are never shown by handing their bytes on as code page 1251.
std::string PathText(std::string_view path);
