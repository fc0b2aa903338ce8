#include "foundation/files/file_dialog.h"

#include "foundation/text/cp1251.h"
#include "platform/core/codepage.h"

std::vector<platform::FileFilter> ParseFilterList(std::string_view pairs) {
  std::vector<platform::FileFilter> filters;
  const auto next = [&pairs]() {
    const std::size_t end = pairs.find('\0');
    std::string_view part = pairs.substr(0, end);
    pairs = end == std::string_view::npos ? std::string_view() : pairs.substr(end + 1);
    return part;
  };
  while (!pairs.empty()) {
    const std::string_view description = next();
    if (description.empty()) break;
    std::string_view pattern = next();
    if (pattern.size() >= 2 && pattern.front() == '(' && pattern.back() == ')')
      pattern = pattern.substr(1, pattern.size() - 2);
    filters.push_back({std::string(description), std::string(pattern)});
  }
  return filters;
}

bool PathFitsOrTell(std::string_view path, std::size_t width) {
  if (path.size() < width) return true;
  const std::string text = Cp1251("Слишком длинный путь к файлу (допустимо не более ") +
                           std::to_string(width - 1) + Cp1251(" знаков):\n") +
                           platform::Utf8ToCp1251(path);
  platform::GetPrompter().ShowMessage(platform::kNoMessage, text, platform::Icon::Warning);
  return false;
}

int FileDialogEx(std::string& path, int open, const std::vector<platform::FileFilter>& filters,
                 int mustExist, int& filterIndex, std::size_t width) {
  platform::FileChoice choice;
  choice.open = open != 0;
  choice.mustExist = mustExist != 0;
  choice.filters = filters;
  choice.path = path;
  choice.filterIndex =
      filterIndex >= 1 && static_cast<std::size_t>(filterIndex) <= filters.size() ? filterIndex : 1;
  if (!platform::GetPrompter().ChooseFile(choice)) return 0;
  if (!PathFitsOrTell(choice.path, width)) return 0;
  path = choice.path;
  filterIndex = choice.filterIndex;
  return 1;
}

int FileDialogEx(std::string& path, int open, std::string_view filterPairs, int mustExist,
                 int& filterIndex, std::size_t width) {
  return FileDialogEx(path, open, ParseFilterList(filterPairs), mustExist, filterIndex, width);
}

int FileDialog(std::string& path, int open, std::string_view filterPairs, int mustExist,
               std::size_t width) {
  int filterIndex = 1;
  return FileDialogEx(path, open, filterPairs, mustExist, filterIndex, width);
}
