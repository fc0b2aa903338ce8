#include "shell/core/tips.h"

std::vector<std::string> ReadTips(const std::string& text) {
  std::vector<std::string> tips;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) tips.push_back(line);
    start = end + 1;
  }
  return tips;
}
