#include "shell/profile.h"

#include <algorithm>
#include <charconv>

#include "foundation/files/safe_rewrite.h"

Status Profile::Load(const std::filesystem::path& path) {
  values_.clear();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return Status::Ok();
  std::string text;
  // The profile holds a few dozen short lines; a megabyte is no profile.
  if (Status read = ReadWholeFile(path, text, 1u << 20); !read.ok()) return read;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && equals > 0)
      values_[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  return Status::Ok();
}

Status Profile::Save(const std::filesystem::path& path) const {
  std::string text;
  for (const auto& [key, value] : values_) text += key + '=' + value + '\n';
  return RewriteFile(path, text);
}

std::string Profile::Get(std::string_view key, std::string_view fallback) const {
  const auto found = values_.find(key);
  return found != values_.end() ? found->second : std::string(fallback);
}

int Profile::GetInt(std::string_view key, int fallback) const {
  const std::string text = Get(key);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value
                                                                                   : fallback;
}

void Profile::Set(std::string_view key, std::string_view value) {
  // A line break in a value would split the line: such a value is not stored.
  if (value.find('\n') != std::string_view::npos || value.find('\r') != std::string_view::npos)
    return;
  values_[std::string(key)] = std::string(value);
}

void Profile::SetInt(std::string_view key, int value) { Set(key, std::to_string(value)); }

void RecentFileList::Add(const std::string& path) {
  if (path.empty()) return;
  Remove(path);
  entries_.insert(entries_.begin(), path);
  if (entries_.size() > kSize) entries_.resize(kSize);
}

void RecentFileList::Remove(const std::string& path) {
  entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}

void RecentFileList::ReadFrom(const Profile& profile) {
  entries_.clear();
  for (int i = kSize; i >= 1; --i) Add(profile.Get("File" + std::to_string(i)));
}

void RecentFileList::WriteTo(Profile& profile) const {
  for (int i = 1; i <= kSize; ++i) {
    const std::size_t k = static_cast<std::size_t>(i - 1);
    profile.Set("File" + std::to_string(i), k < entries_.size() ? entries_[k] : std::string());
  }
}
