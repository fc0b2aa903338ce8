// The definition of a chart: three Sources, the chart kind and the settings that say how the
// chart's moment follows from them. The astronomical operations on a definition belong to the
// chart computation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/datetime/source.h"

// Chart kinds (u16 codes of the chart record).
enum ChartKind : std::uint16_t {
  kChartNatal = 0,
  kChartHorary = 1,
  kChartDraconic = 2,
  kChartTransit = 3,
  kChartProgressed = 4,
  kChartDirected = 5,
  kChartSynastry = 6,
  kChartHarmonic = 7,
  kChartReturn = 8,
  kChartLunarPhase = 9,
};

inline constexpr std::size_t kTitleWidth = 30;            // title field, NUL included
inline constexpr std::size_t kAspectSystemNameWidth = 9;  // version 4200 records, NUL included
inline constexpr std::uint16_t kNoKeyKind = 0xFFFF;

// The user's progression key: so many arc units per so many time units.
struct ProgressionKey {
  std::uint16_t arcCount = 0;
  std::uint16_t arcUnit = 0;
  std::uint16_t timeCount = 0;
  std::uint16_t timeUnit = 0;
  friend bool operator==(const ProgressionKey&, const ProgressionKey&) = default;
};

class SuperSource {
 public:
  static constexpr int kNoBaseSource = -1;

  SuperSource() = default;  // kind 0 (natal), the first Source as base, no key kind

  std::uint16_t Kind() const { return kind_; }
  // Sets the kind and the base Source: the first Source for kinds 0, 2, 7 and 11, else the second.
  void SetKind(std::uint16_t kind);
  // No base Source.
  void ClearBaseSource() { base_ = kNoBaseSource; }
  // Index 0..2 of the base Source, or kNoBaseSource. An index, so copies of a definition keep it.
  int BaseSourceIndex() const { return base_; }
  // The base Source, or nullptr when there is none.
  Source* GetBaseSource() { return base_ == kNoBaseSource ? nullptr : &sources[base_]; }
  const Source* GetBaseSource() const { return base_ == kNoBaseSource ? nullptr : &sources[base_]; }

  // Index of the Source whose moment the chart is computed for: the first for kinds 0, 2, 5, 7;
  // the second for 1, 6, 8, 9; the third for 3 and 4; the first for any other kind.
  int GetCountSrcIndex() const;
  Source& GetCountSrc() { return sources[GetCountSrcIndex()]; }
  const Source& GetCountSrc() const { return sources[GetCountSrcIndex()]; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view title);  // cut to 29 bytes
  // The aspect system the chart is shown with (records of version 4200).
  const std::string& AspectSystemName() const { return aspectSystemName_; }
  void SetAspectSystemName(std::string_view name);  // cut to 8 bytes

  friend bool operator==(const SuperSource&, const SuperSource&) = default;

  std::array<Source, 3> sources{};
  std::uint16_t converse = 0;          // 1: converse progressions and directions
  std::uint16_t keyKind = kNoKeyKind;  // progression key kind; for kind 6 the composite switch
  ProgressionKey key{};

 private:
  std::uint16_t kind_ = kChartNatal;
  int base_ = 0;
  std::string title_;
  std::string aspectSystemName_;
};
