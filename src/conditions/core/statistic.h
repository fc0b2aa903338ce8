// The archive statistics: every chart of the current archive (or only its selected records) put
// into one bucket, or none, by one of seven classifications (the sign or house of a point, an
// aspect between two objects, the number of aspects of an object, the number of planets in a
// sign or house), and the buckets handed to a statistics document with their charts' record
// numbers.
//
// A run reads the settings of the ChartContext it is given and the statistics settings taken
// when it starts; questions go through the prompt service, progress through the progress sink,
// whose Cancel stops the run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/config/configuration.h"

class Archive;
class AspectSystem;
class Chart;
class ChartContext;

namespace platform {
class ProgressSink;
}

// The analysis kinds, in the order of the dialog's radio buttons.
enum StatKind : int {
  kStatPointSign = 0,
  kStatPointHouse = 1,
  kStatPointSignHouse = 2,
  kStatCuspSign = 3,
  kStatAspect = 4,
  kStatAspectCount = 5,
  kStatPlanetsInPlace = 6,
  kStatKindCount = 7,
};

// Objects of the lists: 30 chart points, then in the combined lists the cusp of house n as 30 + n;
// in kind 6 sign n, then house n as 12 + n.
inline constexpr int kStatPoints = 30;
inline constexpr int kStatCusps = 12;
inline constexpr int kStatSigns = 12;

// What a run hands to the statistics document: per bucket the number of charts and their record
// numbers in archive order; the charts classified; those whose aspect was not found (kind 4); the
// records that could not be read (passed over, in no total).
struct StatResults {
  std::vector<std::int32_t> counts;
  std::vector<std::vector<std::int32_t>> records;
  int total = 0;
  int notFound = 0;
  int unreadable = 0;
  int BucketCount() const { return static_cast<int>(counts.size()); }
};

// How a run ended.
enum class StatRunEnd {
  kCompleted,
  kCancelled,  // the progress dialog's Cancel: nothing is shown
  kNoFile,     // the archive file could not be opened or read (reported by the archive)
};

class Statistic {
 public:
  // Takes the settings, finds the aspect system by its name in `context` (needed for kinds 4 and
  // 5) and makes the empty buckets. False when a kind that needs the system finds none (the
  // caller shows message 59); the object numbers are clamped into their lists.
  bool Init(const cfg::StatisticsRecord& settings, const ChartContext& context);

  // The number of buckets of the kind: 12; 144 for kind 2; the aspects of the system for kind 4
  // (only the major ones without minor aspects); 60 for kind 5; 50 for kind 6.
  int GetBucketCount() const;

  // The bucket of one chart, or -1 (no bucket). A kind-4 chart without a counted aspect adds one
  // to the not-found count.
  int Classify(const Chart& chart);

  // Reads every record of the archive (its index built) once, in order: the selected records
  // only when the settings say so; a Local Space chart asks message 1110 at the first one (No
  // passes over every such chart); a record that cannot be read is passed over and counted. The
  // total, the buckets and the counts are kept in Results().
  StatRunEnd Calculate(Archive& archive, platform::ProgressSink& progress);

  const StatResults& Results() const { return results_; }
  StatResults TakeResults() { return std::move(results_); }
  const cfg::StatisticsRecord& Settings() const { return settings_; }
  const AspectSystem* System() const { return system_; }

  // Chart points that take part in the counts of kinds 5 and 6: the nodes 16 and 17 by the nodes
  // setting, others by the planet set (0 points 0 to 9, 1 the points shown on the wheel, 2 all).
  static bool PassesPlanetFilter(const cfg::StatisticsRecord& settings, const Configuration& config,
                                 int point);

 private:
  int ClassifyAspect(const Chart& chart);
  int CountAspects(const Chart& chart) const;
  int CountPlanetsInPlace(const Chart& chart) const;
  // The aspect position of two longitudes under the orb class, -1 when none; without minor
  // aspects a minor aspect is none too and a major one is numbered among the majors.
  int CountedAspect(double a, double b, int orbClass) const;
  int OrbClassOf(int objectA, int objectB) const;

  cfg::StatisticsRecord settings_;
  const ChartContext* context_ = nullptr;
  const AspectSystem* system_ = nullptr;
  StatResults results_;
};

// The longitude of an object of the combined lists (point below 30, else the cusp of house
// object - 30); -777.0 when absent.
double StatObjectLongitude(const Chart& chart, int object);
