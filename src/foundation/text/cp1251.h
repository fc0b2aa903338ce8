// Text of the program's own code is code page 1251 bytes. Core code writes non-ASCII literals only
// through Cp1251("..."), which converts a UTF-8 literal.
#pragma once

#include <string>
#include <string_view>

std::string Cp1251(std::string_view utf8);
// For diagnostics and tests: code page 1251 back to UTF-8.
std::string Utf8(std::string_view cp1251);
