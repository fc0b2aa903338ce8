// The run-time ephemeris: positions of chart points 0..29 from the tables "velm.str" inside
// their span (1600-2400), from the fast path of the theories (fast_theory.h) outside it (marked
// approximate). Qt-free; loaded once, then read-only and shared by every chart. Loading checks the
// whole file but decodes nothing: each block of a table's segments is decoded when first asked for
// (once, whichever thread asks first), so that start-up pays only for the years it shows.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/chebyshev_tables.h"
#include "astro/ephemeris/time_scales.h"
#include "foundation/status.h"

class Ephemeris {
 public:
  // Reads the tables; on failure (error 102/103 or 106 naming the file) the ephemeris keeps
  // what it had and the theories serve every date.
  [[nodiscard]] Status Load(const std::filesystem::path& file);
  [[nodiscard]] Status LoadBytes(std::string_view bytes, const std::string& where);

  bool HasTables() const { return hasTables_; }
  double FirstJdTt() const { return firstJd_; }
  double LastJdTt() const { return lastJd_; }
  bool InTables(JdTt when) const {
    return HasTables() && when.days >= firstJd_ && when.days <= lastJd_;
  }
  bool HasTable(int tableId) const;

  // Point 0..29; the lunar points 16..19 in the given variant. Never NaN: a point outside 0..29
  // gives zeros marked approximate and unknown. A body whose place cannot be known at the date
  // (BodyKnownAt) comes marked `known` false.
  BodyPosition Position(int point, JdTt when, LunarVariant variant = LunarVariant::True) const;
  // Asks the memory for every table's segment at `when` at once, ahead of a whole chart's
  // positions: on dates far apart the segments are seldom in the cache, and fetched one table at
  // a time they cost more than their evaluation.
  void PrefetchSegments(JdTt when) const;

 private:
  class LazyTable;
  struct Store;
  Status LoadOwned(std::string bytes, const std::string& where);
  const LazyTable* Table(int tableId) const;
  double NutationDeg(double jdTt, double& rateDegPerDay) const;
  // The nutation and the Sun from the tables at `jdTt`, kept per thread for the last instant asked
  // (a chart asks every body at one instant).
  struct InstantTerms;
  const InstantTerms& TermsAt(double jdTt) const;
  // Adds the Sun's deflection of light to a table's longitude (less the nutation) and latitude.
  void AddSunDeflection(int point, double jdTt, double speed, double& lon, double& lat) const;

  std::shared_ptr<const Store> store_;  // the file's bytes and its tables (shared by copies)
  bool hasTables_ = false;
  double firstJd_ = 0.0, lastJd_ = 0.0;
  std::uint64_t loadId_ = 0;  // unique to each loading: keys the per-thread terms
  std::array<int, kTableIdCount> index_ = MissingIndex();  // table id -> position in the store

  static constexpr std::array<int, kTableIdCount> MissingIndex() {
    std::array<int, kTableIdCount> a{};
    a.fill(-1);
    return a;
  }
};

// The table that serves a point in a variant (the South node and the perigee are served by
// the tables of the North node and the apogee).
int TableIdOfPoint(int point, LunarVariant variant);
