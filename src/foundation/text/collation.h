// The program's collation of code page 1251 text. Two alphabets are in use:
//
// kLatinFirst (the archive: names, places, chart titles, colour schemes, aspect systems, maps),
// 97 characters: blank, '_', '-', the digits, Latin A..Z, Cyrillic А..Е, Ё, Ж..Я, then
// ! ? ' , . ; : ~ ` @ # $ % ^ & * ( ) | \ / = " < >. Its positions are the classes of the archive
// sort. In case-sensitive comparisons a small letter sorts right after its capital.
//
// kCyrillicFirst (life events, interpretation-text groups and the text order of forecast rows),
// 156 characters: blank, '_', '-', Cyrillic А..Е, Ё, Ж..Я, Latin A..Z, Cyrillic а..е, ё, ж..я,
// Latin a..z, the digits, then the same punctuation marks as above.
//
// In both, a character outside the alphabet sorts after every character of it (among themselves
// by code), so that any two different texts compare unequal.
#pragma once

#include <string_view>

enum class Collation { kLatinFirst, kCyrillicFirst };

// Results of the comparisons: the characters '<' (60), '=' (61) and '>' (62).
inline constexpr char kCompareLess = '<';
inline constexpr char kCompareEqual = '=';
inline constexpr char kCompareGreater = '>';

// The number of characters of the alphabet (97 or 156).
int CollationLength(Collation collation);
// The position of the character in the alphabet, 0 .. length - 1; the length when the character
// is not in it. The character is taken as it is (callers upper-case it first where they need to).
int CollationPosition(char c, Collation collation);

// Compares two characters by the alphabet, case-sensitively: '<', '=' or '>'.
char CompareChars(char a, char b, Collation collation);

// Compares at most the first n characters of two texts by the alphabet; with caseInsensitive both
// are upper-cased first (CharToUpper). A text ends at its end or at its first NUL (fixed-width
// fields). When one text ends first and they are equal so far, the shorter comes first. Returns
// '<', '=' or '>'; '=' for n of 0 or less.
char CompareStrings(std::string_view a, std::string_view b, int n, bool caseInsensitive,
                    Collation collation);
