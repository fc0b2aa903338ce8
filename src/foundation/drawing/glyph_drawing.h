// Glyph codes of the faces "VelmAstro5a" (a) and "VelmAstro5b" (b), and drawing of single glyphs.
//
// Face a: chart point n (0..33) is 'M' + n, zodiac sign s (0..11) 'A' + s, house cusp h (0..11)
// 'o' + h, the retrograde mark '@', the page ornament "?;<=>", the digits, '+', '-', '.', ':'
// (angles written "DDD:MM" in the glyph face), the degree mark 0xB0, the minute mark '\'' and the
// second mark '"'.
// Face b: aspect k (0..19, the aspect index of its angle) is '0' + k, the orb phases 'a'
// (applying), 'b' (exact) and 'c' (separating), '+', and the ruler mark 'r'.
#pragma once

#include <string_view>

#include "platform/core/dc.h"

namespace glyphs {

inline constexpr int kPointCount = 34;
inline constexpr int kSignCount = 12;
inline constexpr int kCuspCount = 12;
inline constexpr int kAspectCount = 20;

constexpr char Point(int n) { return static_cast<char>('M' + n); }
constexpr char Sign(int s) { return static_cast<char>('A' + s); }
constexpr char Cusp(int h) { return static_cast<char>('o' + h); }
constexpr char Aspect(int k) { return static_cast<char>('0' + k); }

inline constexpr char kRetrograde = '@';
inline constexpr std::string_view kOrnament = "?;<=>";
inline constexpr char kDegreeMark = '\xB0';
inline constexpr char kMinuteMark = '\'';
inline constexpr char kSecondMark = '"';
inline constexpr char kPhaseApplying = 'a';
inline constexpr char kPhaseExact = 'b';
inline constexpr char kPhaseSeparating = 'c';
inline constexpr char kRulerMark = 'r';

}  // namespace glyphs

// Draws one character of a glyph face ('a' for "VelmAstro5a", 'b' for "VelmAstro5b") at (x, y) by
// the current text alignment and colour, with a font of `size` (tenths of a point) selected for
// the call and the background mode `bkMode`; the font and background mode are restored. Returns
// the extent drawn.
platform::Size DrawGlyphText(platform::Dc& dc, int x, int y, char glyph, char fontLetter, int size,
                             platform::BkMode bkMode);

// Draws '0' + n (n 0..19) in "VelmAstro5b" at the selected font's size. Any other n draws a
// question mark in the text face: the code '?' of "VelmAstro5b" is aspect 15's symbol, which would
// show an aspect that is not there.
platform::Size DrawGlyphNumber(platform::Dc& dc, int x, int y, int n);

// Draws the ruler reference of house `house` (0..11): the ruler mark of "VelmAstro5b" followed by
// the house's glyph, at the selected font's size, left-aligned from x. Returns the extent.
platform::Size DrawRulerGlyph(platform::Dc& dc, int x, int y, int house);

// Draws an aspect's symbol in palette colour `colourNumber`: '0' + `aspectIndex` in "VelmAstro5b"
// when the index is 0..19, else `abbreviation` in "Vudurez", at `size`. The font and text colour
// are restored. Returns the extent drawn.
platform::Size DrawAspectGlyph(platform::Dc& dc, int x, int y, int size, int aspectIndex,
                               std::string_view abbreviation, int colourNumber);
