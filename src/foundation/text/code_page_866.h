// Conversion of Cyrillic text between code page 866 (the atlas files and the exports in the DOS
// code page) and code page 1251 (the program's own text), in place. Bytes below 0x80 are the
// same in both. Every character that both code pages hold is converted (all Cyrillic letters
// with Ё/ё, Є/є, Ї/ї, Ў/ў, the no-break space, the degree sign, the middle dot, № and ¤); a
// character that the target code page lacks (the box-drawing characters of 866, the quotes,
// dashes and other letters of 1251) becomes '?'.
#pragma once

#include <string>

void ConvertString866To1251(std::string& text);
void ConvertString1251To866(std::string& text);
