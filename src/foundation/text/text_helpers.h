// Helpers on code page 1251 text held in std::string. A "blank" is the space character. The
// helpers that work "in place" take the text by reference; the others return a new string.
#pragma once

#include <string>
#include <string_view>

// Upper case of one code page 1251 character: a-z, а-я (0xE0-0xFF, minus 0x20) and ё (0xB8 to
// 0xA8); every other character is returned unchanged.
char CharToUpper(char c);
// CharToUpper applied to every character, in place.
void StringToUpper(std::string& text);

// The form in which name searches compare text: upper case, with Ё (and so ё) taken as Е, since
// names are written both ways ("Королёв", "Королев"). Every name search folds both sides.
char CharToSearchKey(char c);
std::string SearchKey(std::string_view text);

// Cuts trailing blanks, in place; TrimmedRight returns the cut copy.
void TrimRight(std::string& text);
std::string TrimmedRight(std::string text);
// Cuts trailing blanks, then replaces every remaining blank by '_', in place.
void TrimRightUnderscore(std::string& text);
// Removes every blank, in place.
void RemoveAllBlanks(std::string& text);
// Replaces every character a by b, in place.
void ReplaceChar(std::string& text, char a, char b);

// Whether the text is not empty and holds the ASCII digits 0-9 only.
bool AllDigits(std::string_view text);

// The text before the first occurrence of c; the whole text when c does not occur.
std::string CopyBeforeChar(std::string_view text, char c);
// The text between the first two occurrences of c goes to `out`; returns the index of the second
// occurrence, or -1 (with `out` emptied) when c occurs fewer than two times.
int CopyBetweenChars(std::string_view text, char c, std::string& out);

// The text itself when it has at most n characters, else its first n characters followed by
// "..." (n + 3 characters in all).
std::string TruncateText(std::string_view text, int n);
// The text shortened to at most n characters: itself when it is not longer than n, else its first
// three characters, "..." and its last n - 6 characters (so that a path keeps its start and its
// file name). Below n = 6 there is no room for both: the first n - 3 characters and "..." (for n
// of 3..5), or the first n characters (for n below 3).
std::string ShortenTextToLength(std::string_view text, int n);
