// Every chart kind computes, stepping recomputes in place, coordinates of points, and the derived
// charts: relocated, geodetic, Local Space and thematic.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/derived_charts.h"
#include "astro/ephemeris/bodies.h"
#include "astro/houses/houses.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

Source SourceAt(int day, int month, int year, int hours, int zone, int latDeg, char latLetter,
                int lonDeg, char lonLetter) {
  Source s;
  EXPECT_TRUE(s.moment.date.SetDate(day, month, year, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(hours, 0, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(zone, 0, '+').ok());
  EXPECT_TRUE(s.place.SetPlace(latDeg, 0, latLetter, lonDeg, 0, lonLetter, "", "").ok());
  return s;
}

Chart ChartOf(std::uint16_t kind, std::uint16_t keyKind = 0) {
  Chart c;
  c.definition.sources[0] = SourceAt(15, 6, 1985, 8, 3, 55, 'N', 37, 'E');
  c.definition.sources[1] = SourceAt(1, 3, 2015, 12, 1, 48, 'N', 2, 'E');
  c.definition.sources[2] = c.definition.sources[1];
  c.definition.SetKind(kind);
  c.definition.keyKind = keyKind;
  return c;
}

double Wrap(double a) { return std::remainder(a, 360.0); }

TEST(ChartKinds, EveryKindComputesWithoutNaN) {
  struct Row {
    const char* name;
    std::uint16_t kind, keyKind, harmonic;
    double marker;
  };
  const Row rows[] = {
      {"natal", kChartNatal, 0, 0, kAbsent},
      {"horary", kChartHorary, 0, 0, kAbsent},
      {"draconic", kChartDraconic, 0, 0, kAbsent},
      {"transit", kChartTransit, 0, 0, kAbsent},
      {"tertiary", kChartProgressed, 1, 0, kAbsent},
      {"minor", kChartProgressed, 2, 0, kAbsent},
      {"solar_arc", kChartDirected, 2, 0, kAbsent},
      {"birth_arc", kChartDirected, 3, 0, kAbsent},
      {"synastry", kChartSynastry, 0, 0, kAbsent},
      {"composite", kChartSynastry, 1, 0, kAbsent},
      {"harmonic_5", kChartHarmonic, 0, 5, kAbsent},
      {"return", kChartReturn, 0, 0, kAbsent},
      {"lunar_phase", kChartLunarPhase, 0, 0, kAbsent},
      {"local_space", kChartNatal, 0, 0, 3.0},
  };
  for (const Row& r : rows) {
    Chart c = ChartOf(r.kind, r.keyKind);
    c.definition.key.arcCount = r.harmonic;
    c.SetDerivationMarker(r.marker);
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok()) << r.name;
    const int last = r.marker == 3.0 ? kBodyCount - 1 : kPointVertex;
    for (int i = 0; i <= last; ++i) {
      const PointRecord& p = c.points[i];
      ASSERT_TRUE(p.longitude.IsSet()) << r.name << " point " << i;
      EXPECT_TRUE(p.longitude.Get() >= 0.0 && p.longitude.Get() < 360.0) << r.name << " " << i;
      EXPECT_TRUE(std::isfinite(p.latitude) && std::isfinite(p.speed)) << r.name << " " << i;
      EXPECT_TRUE(p.status == 'R' || p.status == 'D') << r.name << " " << i;
    }
    for (int h = 0; h < 12; ++h) {
      ASSERT_TRUE(c.cusps[h].IsSet()) << r.name << " cusp " << h;
      EXPECT_TRUE(std::isfinite(c.cusps[h].Get())) << r.name << " cusp " << h;
    }
    EXPECT_EQ(c.DerivationMarker(), r.marker) << r.name;
  }
}

TEST(ChartKinds, CompositeIsCastForTheMidpointOfTheTwoSources) {
  Chart c = ChartOf(kChartSynastry, kCompositeSwitch);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok());
  const Source& mid = c.definition.sources[2];
  EXPECT_NEAR(UniversalJulianDay(mid),
              0.5 * (UniversalJulianDay(c.definition.sources[0]) +
                     UniversalJulianDay(c.definition.sources[1])),
              1.0 / 86400.0);
  EXPECT_NEAR(mid.place.LatitudeDeg(), 51.5, 1.0 / 60.0);       // (55 + 48) / 2
  EXPECT_NEAR(mid.place.EastLongitudeDeg(), 19.5, 1.0 / 60.0);  // (37 + 2) / 2
}

TEST(ChartKinds, DraconicCountsFromTheNodeAndHarmonicMultiplies) {
  Chart natal = ChartOf(kChartNatal);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  Chart draconic = ChartOf(kChartDraconic);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), draconic, 1).ok());
  const double node = natal.GetPointLongitude(16).Get();
  EXPECT_NEAR(draconic.GetPointLongitude(16).Get(), 0.0, 1e-9);
  for (int i : {0, 1, 4, 30})
    EXPECT_NEAR(
        Wrap(draconic.GetPointLongitude(i).Get() - (natal.GetPointLongitude(i).Get() - node)), 0.0,
        1e-9);
  Chart harmonic = ChartOf(kChartHarmonic);
  harmonic.definition.key.arcCount = 7;
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), harmonic, 1).ok());
  for (int i : {0, 1, 9})
    EXPECT_NEAR(Wrap(harmonic.GetPointLongitude(i).Get() - 7.0 * natal.GetPointLongitude(i).Get()),
                0.0, 1e-6);
  EXPECT_NEAR(Wrap(harmonic.GetCusp(0).Get() - 7.0 * natal.GetCusp(0).Get()), 0.0, 1e-6);
  EXPECT_NEAR(Wrap(harmonic.GetCusp(3).Get() - harmonic.GetCusp(0).Get() - 90.0), 0.0, 1e-9);
}

TEST(ChartStep, StepOfZeroRecomputesInPlace) {
  for (std::uint16_t kind : {kChartNatal, kChartProgressed, kChartDirected}) {
    Chart c = ChartOf(kind);
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok());
    const Chart computed = c;
    c.points[0].longitude.Set(1.0);
    c.points[33].longitude.Clear();
    c.cusps[4].Set(2.0);
    c.ascendant.Clear();
    ASSERT_TRUE(c.AddStep(ChartContext::FromCurrentSettings(), 0.0).ok());
    EXPECT_EQ(c, computed) << "kind " << kind;
    EXPECT_EQ(c.ascendant, computed.ascendant) << "kind " << kind;
  }
}

TEST(ChartStep, StepsMoveTheMomentAtTheRateOfTheKind) {
  Chart natal = ChartOf(kChartNatal);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  const double before = UniversalJulianDay(natal.definition.sources[0]);
  ASSERT_TRUE(natal.AddStep(ChartContext::FromCurrentSettings(), 1.5).ok());
  EXPECT_NEAR(UniversalJulianDay(natal.definition.sources[0]) - before, 1.5, 1.0 / 86400.0);

  Chart progressed = ChartOf(kChartProgressed);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), progressed, 1).ok());
  const double progressedBefore = UniversalJulianDay(progressed.definition.sources[2]);
  ASSERT_TRUE(progressed.AddStep(ChartContext::FromCurrentSettings(), 365.2422)
                  .ok());  // a year of life: one progressed day
  EXPECT_NEAR(UniversalJulianDay(progressed.definition.sources[2]) - progressedBefore, 1.0,
              1.0 / 86400.0);

  Chart directed = ChartOf(kChartDirected);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), directed, 1).ok());
  const double sun = directed.GetPointLongitude(0).Get();
  ASSERT_TRUE(directed.AddStep(ChartContext::FromCurrentSettings(), 2.0 * 365.2422)
                  .ok());  // two years: two degrees
  EXPECT_NEAR(Wrap(directed.GetPointLongitude(0).Get() - sun), 2.0, 1e-6);
}

TEST(ChartCoordinates, EquatorialOfTheSunAtJ2000) {
  Chart c;
  ASSERT_TRUE(c.definition.sources[0].SetUniversalTime(2451545.0).ok());
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok());
  double ra, dec;
  ASSERT_TRUE(c.GetPointCoordinates(0, 3, ra, dec));
  // Reference positions, row F000: right ascension 281.278386, declination -23.032430.
  EXPECT_NEAR(ra, 281.278386, 0.001);
  EXPECT_NEAR(dec, -23.032430, 0.001);
  EXPECT_FALSE(c.GetPointCoordinates(0, 5, ra, dec));
  EXPECT_FALSE(c.GetPointCoordinates(40, 3, ra, dec));
  EXPECT_EQ(ra, kAbsent);
}

TEST(ChartRelocation, RelocatedAndGeodeticCharts) {
  Chart natal = ChartOf(kChartNatal);
  natal.houseSystem = kHousePlacidus;
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 0).ok());
  Place greenwich, east90, polar;
  ASSERT_TRUE(greenwich.SetPlace(51, 29, 'N', 0, 0, 'E', "", "").ok());
  ASSERT_TRUE(east90.SetPlace(30, 0, 'N', 90, 0, 'E', "", "").ok());
  ASSERT_TRUE(polar.SetPlace(67, 0, 'N', 20, 0, 'E', "", "").ok());

  Chart moved;
  ASSERT_TRUE(
      MakeRelocatedChart(ChartContext::FromCurrentSettings(), moved, natal, 0, greenwich).ok());
  EXPECT_EQ(moved.GetPointLongitude(0).Get(), natal.GetPointLongitude(0).Get());  // one instant
  // 37 degrees of longitude west: the MC moves back by about as much.
  EXPECT_GT(std::fabs(Wrap(moved.GetCusp(9).Get() - natal.GetCusp(9).Get())), 30.0);
  EXPECT_EQ(moved.houseSystem, kHousePlacidus);

  // Geodetic: the MC is the ecliptic degree whose right ascension is the east longitude.
  Chart geodetic;
  ASSERT_TRUE(
      MakeRelocatedChart(ChartContext::FromCurrentSettings(), geodetic, natal, 1, greenwich).ok());
  EXPECT_EQ(geodetic.houseSystem, kHousePlacidus + 100);
  EXPECT_NEAR(Wrap(geodetic.GetCusp(9).Get()), 0.0, 1e-9);
  ASSERT_TRUE(
      MakeRelocatedChart(ChartContext::FromCurrentSettings(), geodetic, natal, 1, east90).ok());
  EXPECT_NEAR(geodetic.GetCusp(9).Get(), 90.0, 1e-9);

  EXPECT_EQ(MakeRelocatedChart(ChartContext::FromCurrentSettings(), geodetic, natal, 1, polar)
                .MessageNumber(),
            kMsgGeodeticPolar);
  Chart equal = natal;
  equal.houseSystem = kHouseEqualFromMc;
  EXPECT_EQ(MakeRelocatedChart(ChartContext::FromCurrentSettings(), geodetic, equal, 1, greenwich)
                .MessageNumber(),
            kMsgNoGeodeticVariant);
  EXPECT_EQ(MakeRelocatedChart(ChartContext::FromCurrentSettings(), geodetic, natal, 2, greenwich)
                .ErrorCode(),
            kErrParameter);
}

TEST(ChartRelocation, CompositeIsCastAtTheNewPlace) {
  Chart composite = ChartOf(kChartSynastry, kCompositeSwitch);
  composite.houseSystem = kHousePlacidus;
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), composite, 0).ok());
  Place east90;
  ASSERT_TRUE(east90.SetPlace(30, 0, 'N', 90, 0, 'E', "", "").ok());
  for (int mode : {0, 1}) {
    Chart moved;
    ASSERT_TRUE(
        MakeRelocatedChart(ChartContext::FromCurrentSettings(), moved, composite, mode, east90)
            .ok())
        << mode;
    const Place& cast = ComputingSource(moved.definition).place;
    EXPECT_DOUBLE_EQ(cast.LatitudeDeg(), 30.0) << mode;
    EXPECT_DOUBLE_EQ(cast.EastLongitudeDeg(), 90.0) << mode;
    // The same instant: the midpoint in time of the two births.
    EXPECT_EQ(moved.GetPointLongitude(0).Get(), composite.GetPointLongitude(0).Get()) << mode;
  }
  // Geodetic at 90 E: ARMC 90, so the MC is 0 Cancer (the midpoint of 55N37E and the new place,
  // 42N30 63E30, would give about 65 degrees instead).
  Chart geodetic;
  ASSERT_TRUE(
      MakeRelocatedChart(ChartContext::FromCurrentSettings(), geodetic, composite, 1, east90).ok());
  EXPECT_NEAR(geodetic.GetCusp(9).Get(), 90.0, 1e-9);
}

TEST(ChartLocalSpace, SunOnTheMeridianStandsDueSouth) {
  Chart natal = ChartOf(kChartNatal);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  Moment noon;
  ASSERT_TRUE(natal.FindRiseSetMoment(ChartContext::FromCurrentSettings(), 0, 2, true, noon));
  natal.definition.sources[0].AssignMoment(noon);
  Chart local;
  ASSERT_TRUE(MakeLocalSpaceChart(ChartContext::FromCurrentSettings(), local, natal).ok());
  EXPECT_TRUE(local.IsLocalSpace());
  EXPECT_NEAR(local.GetPointLongitude(0).Get(), 180.0, 0.01);
  // Altitude at culmination: 90 - 55 + declination (about +23.3 in mid-June).
  EXPECT_NEAR(local.points[0].latitude, 58.3, 0.2);
  for (int h = 0; h < 12; ++h) EXPECT_EQ(local.GetCusp(h).Get(), std::fmod(90.0 + 30.0 * h, 360.0));
  EXPECT_FALSE(local.GetPointLongitude(kPointFortune).IsSet());
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  double az, alt;
  ASSERT_TRUE(natal.GetPointCoordinates(0, 4, az, alt));  // the same horizontal place
  EXPECT_NEAR(az, 180.0, 0.01);
}

TEST(ChartThematic, SymbolicAndRealThematicCharts) {
  Chart natal = ChartOf(kChartNatal);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  Chart thematic;
  ThematicChoice symbolic;
  symbolic.kind = 1;
  symbolic.planet = 1;  // the Moon on the cusp of house V
  symbolic.house = 4;
  ASSERT_TRUE(
      MakeThematicChart(ChartContext::FromCurrentSettings(), thematic, natal, symbolic).ok());
  EXPECT_TRUE(thematic.IsSymbolicThematic());
  EXPECT_NEAR(Wrap(thematic.GetCusp(4).Get() - natal.GetPointLongitude(1).Get()), 0.0, 1e-9);
  EXPECT_EQ(thematic.definition.Title(), GetMessageText(kMsgThematicTitle).substr(0, 29));
  ASSERT_TRUE(thematic.AddStep(ChartContext::FromCurrentSettings(), 0.0)
                  .ok());  // the turn survives a recomputation
  EXPECT_NEAR(Wrap(thematic.GetCusp(4).Get() - natal.GetPointLongitude(1).Get()), 0.0, 1e-9);

  ThematicChoice two;
  two.kind = 2;
  two.planet = 0;
  two.planet2 = 4;
  two.direction = 1;
  ASSERT_TRUE(MakeThematicChart(ChartContext::FromCurrentSettings(), thematic, natal, two).ok());
  const double arc = natal.GetPointLongitude(4).Get() - natal.GetPointLongitude(0).Get();
  EXPECT_NEAR(Wrap(thematic.GetCusp(0).Get() - (natal.GetCusp(0).Get() - arc)), 0.0, 1e-9);

  ThematicChoice real;
  real.kind = 0;
  real.planet = 0;
  real.house = 3;  // the Sun on the MC
  ASSERT_TRUE(MakeThematicChart(ChartContext::FromCurrentSettings(), thematic, natal, real).ok());
  EXPECT_EQ(thematic.DerivationMarker(), kMarkerRealThematic);
  EXPECT_NEAR(Wrap(thematic.GetCusp(9).Get() - thematic.GetPointLongitude(0).Get()), 0.0, 0.001);

  Chart directed = ChartOf(kChartDirected);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), directed, 1).ok());
  EXPECT_EQ(MakeThematicChart(ChartContext::FromCurrentSettings(), thematic, directed, real)
                .MessageNumber(),
            kMsgThematicKind);
  Chart equal = natal;
  equal.houseSystem = kHouseEqualFromAsc;
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), equal, 0).ok());
  EXPECT_EQ(
      MakeThematicChart(ChartContext::FromCurrentSettings(), thematic, equal, real).MessageNumber(),
      kMsgThematicHouses);
  two.planet2 = 0;
  EXPECT_EQ(
      MakeThematicChart(ChartContext::FromCurrentSettings(), thematic, natal, two).ErrorCode(),
      kErrParameter);
}

TEST(ChartKinds, MidpointPlaceTakesTheShorterWayRound) {
  struct Row {
    const char* name;
    int lonA;
    char letterA;
    int lonB;
    char letterB;
    double expectedEast;
  };
  const Row rows[] = {{"across_the_date_line", 170, 'E', 170, 'W', 180.0},
                      {"across_greenwich", 10, 'W', 30, 'E', 10.0},
                      {"west_of_greenwich", 100, 'W', 60, 'W', -80.0}};
  for (const Row& r : rows) {
    SuperSource d;
    d.sources[0] = SourceAt(1, 1, 2000, 0, 0, 10, 'N', r.lonA, r.letterA);
    d.sources[1] = SourceAt(3, 1, 2000, 0, 0, 20, 'S', r.lonB, r.letterB);
    ASSERT_TRUE(MakeMidpointSource(d).ok()) << r.name;
    EXPECT_NEAR(std::fabs(Wrap(d.sources[2].place.EastLongitudeDeg() - r.expectedEast)), 0.0, 1e-9)
        << r.name;
    EXPECT_NEAR(d.sources[2].place.LatitudeDeg(), -5.0, 1e-9) << r.name;
    // 2000-01-01 0h (JD 2451544.5) and 2000-01-03 0h (2451546.5): 2000-01-02 0h UT.
    EXPECT_NEAR(UniversalJulianDay(d.sources[2]), 2451545.5, 1e-9) << r.name;
  }
}

TEST(ChartKinds, HouseSystemFromTheSettingsOrTheChart) {
  Configuration config;
  config.calculation.houseSystem = kHouseKoch;
  config.calculation.geodetic = 0;
  const ChartContext koch(config);
  Chart c = ChartOf(kChartNatal);
  ASSERT_TRUE(ChartCalculate(koch, c, 0).ok());
  EXPECT_EQ(c.houseSystem, kHouseKoch);  // a new chart takes the settings' system
  c.houseSystem = kHouseCampanus;
  ASSERT_TRUE(ChartCalculate(koch, c, 0).ok());
  EXPECT_EQ(c.houseSystem, kHouseCampanus);  // flag 0 keeps the chart's own
  ASSERT_TRUE(ChartCalculate(koch, c, 1).ok());
  EXPECT_EQ(c.houseSystem, kHouseKoch);  // flag 1 takes the settings'
  c.houseSystem = kHousePlacidus + 100;
  ASSERT_TRUE(ChartCalculate(koch, c, 1).ok());
  EXPECT_EQ(c.houseSystem, kHouseKoch + 100);  // a geodetic chart stays geodetic
  config.calculation.geodetic = 1;
  config.calculation.houseSystem = kHouseEqualFromMc;  // no geodetic variant
  c.houseSystem = -1;
  ASSERT_TRUE(ChartCalculate(ChartContext(config), c, 1).ok());
  EXPECT_EQ(c.houseSystem, kHouseEqualFromMc);
  // Inside the polar circle Placidus cannot be cast: Porphyry cusps, and the chart says so.
  config.calculation.houseSystem = kHousePlacidus;
  config.calculation.geodetic = 0;
  Chart polar = ChartOf(kChartNatal);
  ASSERT_TRUE(polar.definition.sources[0].place.SetPlace(78, 13, 'N', 15, 39, 'E', "", "").ok());
  ASSERT_TRUE(ChartCalculate(ChartContext(config), polar, 1).ok());
  EXPECT_TRUE(polar.porphyryFallback);
  EXPECT_EQ(polar.houseSystem, kHousePlacidus);
  for (int h = 0; h < 12; ++h) EXPECT_TRUE(std::isfinite(polar.GetCusp(h).Get())) << h;
}

// Puts the program-wide configuration back, published, however the test ends.
class ConfigurationGuard {
 public:
  ConfigurationGuard() : saved_(GetConfiguration()) {}
  ~ConfigurationGuard() {
    GetConfiguration() = saved_;
    PublishSettings();
  }
  ConfigurationGuard(const ConfigurationGuard&) = delete;
  ConfigurationGuard& operator=(const ConfigurationGuard&) = delete;

 private:
  Configuration saved_;
};

// A computation reads its snapshot only: editing and publishing the settings after the snapshot
// was taken (as a settings dialog's OK may while a computation runs) changes nothing in its result.
TEST(ChartContextSnapshot, SettingsEditedAfterTheSnapshotChangeNothing) {
  const ConfigurationGuard guard;
  Configuration& live = GetConfiguration();
  live.calculation.houseSystem = kHouseKoch;
  live.calculation.lunarNodes = 0;  // true node
  live.calculation.dayNight = 1;
  PublishSettings();
  const ChartContext snapshot = ChartContext::FromCurrentSettings();
  const auto compute = [&snapshot](std::uint16_t kind, std::uint16_t keyKind) {
    Chart c = ChartOf(kind, keyKind);
    EXPECT_TRUE(ChartCalculate(snapshot, c, 1).ok());
    EXPECT_TRUE(c.AddStep(snapshot, 3.5).ok());
    return c;
  };
  struct Row {
    const char* name;
    std::uint16_t kind, keyKind;
  };
  const Row rows[] = {{"natal", kChartNatal, 0},
                      {"transit", kChartTransit, 0},
                      {"solar_arc", kChartDirected, kDirectionTrueSolarArc},
                      {"progressed", kChartProgressed, 0}};
  std::vector<Chart> before;
  for (const Row& r : rows) before.push_back(compute(r.kind, r.keyKind));
  Chart natal = ChartOf(kChartNatal);
  ASSERT_TRUE(ChartCalculate(snapshot, natal, 1).ok());
  const int lunarDayBefore = natal.GetLunarDay(snapshot);
  const double partBefore = Chart::CalculateArabicPart(snapshot, natal, 0, 42, 1, 0, 1, true);

  live.calculation.houseSystem = kHouseCampanus;
  live.calculation.lunarNodes = 1;  // mean node
  live.calculation.dayNight = 0;
  live.signRulers.fill(9);
  PublishSettings();
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Chart after = compute(rows[i].kind, rows[i].keyKind);
    EXPECT_EQ(after.houseSystem, kHouseKoch) << rows[i].name;
    EXPECT_TRUE(after == before[i]) << rows[i].name;
  }
  EXPECT_EQ(natal.GetLunarDay(snapshot), lunarDayBefore);
  EXPECT_EQ(Chart::CalculateArabicPart(snapshot, natal, 0, 42, 1, 0, 1, true), partBefore);
  // The published settings do reach a computation that takes them anew: the node moves.
  Chart fresh = ChartOf(kChartNatal);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), fresh, 1).ok());
  EXPECT_EQ(fresh.houseSystem, kHouseCampanus);
  EXPECT_NE(fresh.points[kNorthNode].longitude.Get(), natal.points[kNorthNode].longitude.Get());
}

TEST(ChartThematic, ChoiceReadFromTheSettingsBlock) {
  Configuration config;
  using Block = cfg::ThematicChartSettings;
  config.thematicChart.Set(Block::kKind, 2);
  config.thematicChart.Set(Block::kPlanet, 30);
  config.thematicChart.Set(Block::kPlanet2, 6);
  config.thematicChart.Set(Block::kHouse, 9);
  config.thematicChart.Set(Block::kDirection, 1);
  config.thematicChart.Set(Block::kPoint, 21599);  // Pisces 29 degrees 59 minutes
  const ThematicChoice c = ThematicChoiceFromSettings(config);
  EXPECT_EQ(c.kind, 2);
  EXPECT_EQ(c.planet, 30);
  EXPECT_EQ(c.planet2, 6);
  EXPECT_EQ(c.house, 9);
  EXPECT_EQ(c.direction, 1);
  EXPECT_EQ(c.point, 21599);
}

}  // namespace
