// The numbered message catalogue: every text the program shows to the user comes from here.
#pragma once

#include <string>

// The interface-language flag: 1 (the default) selects the Russian texts; with 0 every catalogue
// text is empty.
extern int g_bRussianInterface;

// The highest message number of the catalogue.
inline constexpr int kLastMessageNumber = 2161;

// The code page 1251 text of message `n`; an empty text for a number outside 0..2161, for a number
// the catalogue does not use, or while g_bRussianInterface is 0.
const std::string& GetMessageText(int n);
