// The check of a name that a caller turns into a file name of the data folder (a colour scheme, an
// aspect system, a text base): the name typed into the one-line name dialog must stay one file
// name, so it may hold no folder separator ('/' or '\'), no "..", no control character, and may
// not be empty or a lone ".".
#pragma once

#include <string_view>

// The longest text the name dialog takes, in characters.
inline constexpr int kEnterNameMaxLength = 40;

// True when `name` (code page 1251) can be used as a file name, or part of one.
bool IsSafeFileName(std::string_view name);
