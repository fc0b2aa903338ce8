#include "foundation/files/settings.h"

#include "foundation/files/file_utils.h"

namespace fs = std::filesystem;

void Settings::SetFolder(fs::path folder) { folder_ = std::move(folder); }

std::string Settings::GetPath(std::string_view name) const {
  if (name.empty()) {
    std::string folder = folder_.native();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
  }
  return FindFileIgnoringCase(folder_, name).path.native();
}

Settings& GetSettings() {
  static Settings settings;
  return settings;
}
