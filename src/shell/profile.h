// The program's profile "velm.ini" in the data folder: the recent-file list of five entries and
// the tip-of-the-day switch and position. Lines "key=value" (UTF-8 paths), rewritten through the
// safe rewrite.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"

inline constexpr const char* kProfileName = "velm.ini";

class Profile {
 public:
  // A missing file is an empty profile; an unreadable one too, with its error.
  Status Load(const std::filesystem::path& path);
  Status Save(const std::filesystem::path& path) const;

  std::string Get(std::string_view key, std::string_view fallback = {}) const;
  int GetInt(std::string_view key, int fallback) const;
  void Set(std::string_view key, std::string_view value);
  void SetInt(std::string_view key, int value);

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

// The recent-file list: most recent first, five entries, no path twice.
class RecentFileList {
 public:
  static constexpr int kSize = 5;

  void Add(const std::string& path);
  void Remove(const std::string& path);
  const std::vector<std::string>& Entries() const { return entries_; }

  void ReadFrom(const Profile& profile);
  void WriteTo(Profile& profile) const;

 private:
  std::vector<std::string> entries_;
};
