#include "foundation/text/cp1251.h"

#include "platform/core/codepage.h"

std::string Cp1251(std::string_view utf8) { return platform::Utf8ToCp1251(utf8); }
std::string Utf8(std::string_view cp1251) { return platform::Cp1251ToUtf8(cp1251); }
std::string PathText(std::string_view path) { return platform::Utf8ToCp1251(path); }
