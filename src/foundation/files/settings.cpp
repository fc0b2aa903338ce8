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

std::string Settings::FindProgramFile(std::string_view name) const {
  const std::string own = GetPath(name);
  std::error_code ec;
  if (!folder_.empty() && std::filesystem::is_regular_file(own, ec)) return own;
  const std::string shipped = FindShippedFile(name);
  return shipped.empty() ? own : shipped;
}

std::string Settings::FindShippedFile(std::string_view name) const {
  for (const std::filesystem::path& folder : shipped_) {
    const FoundFile found = FindFileIgnoringCase(folder, name);
    if (found.match == NameMatch::Exact || found.match == NameMatch::IgnoringCase)
      return found.path.string();
  }
  return {};
}
