// The tips of the day, "advice.txt".
#pragma once

#include <string>
#include <vector>

// The tips of "advice.txt": one tip per line (empty lines skipped), code page 1251.
std::vector<std::string> ReadTips(const std::string& text);
