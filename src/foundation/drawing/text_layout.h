// Laying out and cutting text to a width on a device context (code page 1251 text).
#pragma once

#include <string>
#include <string_view>

#include "platform/core/dc.h"

// Lays `text` out in the face "Vudurez" at the selected font's size: carriage returns are dropped,
// a line feed starts a new line, lines wrap at blanks (a word wider than `width` is broken between
// characters). Pages hold as many lines as fit `height` (at least one). When `draw` is set, page
// `page` (counted from 1) is drawn from (left, top) downwards. Returns the page count (at least
// 1). The selected font is restored.
int PrintTextPages(platform::Dc& dc, int page, std::string_view text, int left, int top, int width,
                   int height, bool draw);

// `path` is a file-system path (UTF-8 bytes); the result is the program's text (PathText).
// The path itself when it fits `width`; else its first three characters, "..." and the longest
// tail beginning at a folder separator that fits; when no such tail fits, the file name's end.
std::string ShortenPathToWidth(platform::Dc& dc, std::string_view path, int width);

// The text itself when it fits `width`; else the text cut at the end, with "..." appended, so that
// it fits; empty when not even "..." fits.
std::string FitTextToWidth(platform::Dc& dc, std::string_view text, int width);

// The name of an angle line: "AS" for 'A', "DS" for 'D', "IC" for 'I', "MC" for any other code; in
// lower case when `lowerCase` is set.
std::string AngleLineName(char code, bool lowerCase);
