// The entry history: the 30 most recent chart definitions entered per group of kinds (one group
// per entry dialog), the most recent first. The last one presets the next entry of its group;
// the others are offered in the dialog's list of recent entries.
//
// File (little-endian): "VENT", u16 version 1, u8 group count 8; per group a u8 entry count and
// that many definitions, each the first 404 bytes of a version-4200 chart record (the three
// Sources, kind, title, converse flag, key kind, key and aspect-system name).
#pragma once

#include <array>
#include <filesystem>
#include <vector>

#include "foundation/datetime/super_source.h"
#include "foundation/status.h"
#include "shell/core/entry/chart_entry_model.h"

// The history file in the data folder.
inline constexpr const char* kEntryHistoryFile = "velm.ent";

class EntryHistory {
 public:
  static constexpr int kMaxEntries = 30;

  // Reads the file. A missing file gives an empty history and Ok; error 103 when it cannot be
  // read, 106 when it is damaged (the history is then left empty).
  Status Load(const std::filesystem::path& file);
  // Rewrites the file through SafeRewrite.
  Status Save(const std::filesystem::path& file) const;

  // Puts an accepted definition first in the list of its kind's group; an equal definition
  // already in the list is taken out, and the oldest beyond 30 is dropped.
  void Remember(const SuperSource& definition);
  // The group's definitions, the most recent first.
  const std::vector<SuperSource>& Entries(int kind) const;
  // The most recent definition of the group, nullptr when there is none.
  const SuperSource* Last(int kind) const;

 private:
  std::array<std::vector<SuperSource>, kEntryGroupCount> groups_;
};
