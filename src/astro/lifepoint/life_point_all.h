// The life-point types of the program, read at start from "velm.lpn" (code page 1251 text): a
// first line with the number of types, then one line per type: the mode letter ('S' by signs,
// any other by houses), the direction letter ('D' direct, 'R' converse), the first house or sign
// as a letter ('A' = 0 .. 'L' = 11), the years per house or sign as a letter ('A' = 0, 'B' = 1,
// ...) and from the fifth character the name. The settings refer to a type by its index.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "astro/lifepoint/life_point.h"
#include "foundation/status.h"

class LifePointAll {
 public:
  // Characters of a type line that are read (the rest of a longer line is ignored).
  static constexpr std::size_t kMaxLineLength = 79;
  // A count above this is not a count of types (the file is damaged).
  static constexpr int kMaxTypes = 1000;

  // Reads `file`, replacing the list; on any failure the list is empty. Error 102 when the file
  // cannot be opened, 103 when the count cannot be read or a type line is missing, message 432
  // when a type line is damaged: shorter than 5 characters, a first house past 'L', or no year
  // per house ('A' and below), which would leave the point standing still.
  Status Load(const std::filesystem::path& file);
  // The same from the file's bytes.
  Status Parse(std::string_view bytes);
  // Load at start: a failure is shown once and the program goes on without types.
  void LoadAtStart(const std::filesystem::path& file);
  void Clear() { types_.clear(); }

  int Count() const { return static_cast<int>(types_.size()); }
  const std::vector<LifePoint>& Types() const { return types_; }
  // The type at `index`; nullptr outside 0..Count()-1.
  const LifePoint* Get(int index) const;

 private:
  std::vector<LifePoint> types_;
};
