// The graphic ephemeris: the geocentric longitudes of the Sun, the Moon and the eight planets over
// a period, ten curves on a 0-360 degree axis. RGraphEphem lays out the graph from the graphic
// ephemeris settings block of the configuration (first date, period, curve colours, glyph
// rotation) and holds the sampled longitudes.
//
// Body order of the curves: 0 Sun, 1 Moon, 2 Mercury .. 9 Pluto.
#pragma once

#include <array>
#include <vector>

#include "foundation/config/byte_block.h"
#include "foundation/datetime/fdate.h"
#include "foundation/datetime/moment.h"
#include "views/core/rgraph.h"

class Configuration;
class Ephemeris;

namespace ephem {

inline constexpr int kBodies = 10;
inline constexpr int kPeriodCount = 6;  // codes 0..5: 1, 2, 3 and 6 months, 1 and 2 years

using Longitudes = std::array<std::vector<double>, kBodies>;

// The first date of the settings (day, month, signed year, a negative year BC), brought to the
// nearest date that exists: year 0 becomes AD 1, the year is held within 3000 BC .. AD 3000, the
// month within 1..12, the day within the month, and 5..14 October 1582 becomes 15 October.
struct FirstDate {
  FDate date;
  bool corrected = false;  // the settings did not hold a date that exists
};
FirstDate MakeFirstDate(int day, int month, int year);

// Which Pluto the sample of a year takes: the dated tables before 1840, the theory after 1850,
// a blend of the two in between.
enum class PlutoSource { Table, Blend, Theory };
PlutoSource PlutoSourceOfYear(int year);
// The table longitude moved towards the theory's by the share of the time from 1840-01-01 0h to
// 1851-01-01 0h that has passed at Julian day `jd`, along the shorter arc; [0, 360).
double BlendPlutoLongitude(double table, double theory, double jd);

// The ten longitudes at `points` moments from `first`, `stepDays` apart (Universal Time).
// Fewer than one point gives empty arrays.
Longitudes SampleLongitudes(const Ephemeris& ephemeris, const Moment& first, double stepDays,
                            int points);

}  // namespace ephem

class RGraphEphem : public virtual RGraph {
 public:
  // Margins in percent of the page, the page offset for the printed heading (0.01 mm).
  static constexpr int kLeftPercent = 5, kTopPercent = 5, kRightPercent = 5, kBottomPercent = 8;
  static constexpr int kPageOffset = 1700;

  RGraphEphem() = default;
  // The curves point into the graph's own arrays: a copy would point into the original's.
  RGraphEphem(const RGraphEphem&) = delete;
  RGraphEphem& operator=(const RGraphEphem&) = delete;

  // Point count, time step, Moon flag and scroll length of the settings' period; a period code
  // outside 0..5 (or no settings) leaves them as they are.
  void DefineScale() override;

  // Points the graph at the configuration's graphic ephemeris settings and lays it out for a
  // client area of `width` x -`heightNegated` (0.01 mm): margins, the 0-360 scale, the period,
  // ten curves in the settings' colours and the landscape glyph rotation (90 degrees, 270 with
  // the rotation correction).
  void SetUp(Configuration& config, int width, int heightNegated);

  // Samples the ten longitudes over the period and makes them the curves' values.
  void Calculate(const Ephemeris& ephemeris);

  // The moment of the first sample point: the settings' first date (see ephem::MakeFirstDate)
  // at 0h.
  Moment FirstMoment() const;

  cfg::ByteBlock* settings = nullptr;
  int moonFlag = 0;    // 1: the Moon's curve and glyph are drawn (periods up to six months)
  int scrollDays = 0;  // the nominal length of the period, days
  const ephem::Longitudes& Values() const { return values_; }

 private:
  ephem::Longitudes values_;
};
