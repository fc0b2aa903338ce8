// The list of recently used archives, "velm.arn" in the data folder.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Every distinct name of the list is kept (but one holding a NUL byte, which names no file whole),
// whether its file is there or not: a name whose file is missing, unreadable or damaged for a
// moment stays (see RecentNameState) until the user removes it. A list that exists but cannot be
// read is reported once and never written over.
class RecentArchives {
 public:
  static constexpr int kMaxRecentNames = 50;
  static constexpr std::size_t kMaxNameLength = 259;

  int LoadNames();
  // 0, or -1 when the list was not written (an unreadable list is never written).
  int SaveNames();
  void AddRecentName(const std::string& path);
  // The user's removal of recent name i; false for no such name.
  bool RemoveRecentName(int i);
  const std::vector<std::string>& RecentNames() const { return names_; }
  // What the file of recent name i is now (looked at when asked).
  enum class RecentState { kArchive, kMissing, kUnreadable, kNoArchive };
  RecentState RecentNameState(int i) const;
  // True after a "velm.arn" that exists could not be read: SaveNames then writes nothing.
  bool IsRecentListUnreadable() const { return namesUnreadable_; }

 private:
  std::vector<std::string> names_;
  bool namesUnreadable_ = false;
};
