#include "astro/chart/derived_charts.h"

#include <cmath>

#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_math.h"
#include "astro/houses/houses.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr double kPolarLatitude = 66.5;

// The Sources whose place the chart is cast for. A composite is cast at the midpoint of its two
// Sources' places, derived anew at each computation: both move, so that the midpoint is the place.
void MovePlace(SuperSource& d, const Place& place) {
  d.GetCountSrc().place = place;
  if (d.Kind() == kChartTransit || d.Kind() == kChartProgressed) d.sources[1].place = place;
  if (d.Kind() == kChartSynastry && d.keyKind == kCompositeSwitch) d.sources[0].place = place;
}

// Moves the chart so that the Source it is computed for stands at Universal Time `ut`.
Status MoveComputedMoment(SuperSource& d, double ut) {
  switch (d.Kind()) {
    case kChartTransit:
      return chartmath::MoveSourceToUt(d.sources[1], ut);
    case kChartProgressed: {
      // The moment of life whose progressed moment is `ut`.
      const double birth = chartmath::UtOf(d.sources[0]).days;
      return chartmath::MoveSourceToUt(d.sources[1], birth + (ut - birth) / GetTimeFactor(d));
    }
    default:
      return chartmath::MoveSourceToUt(d.GetCountSrc(), ut);
  }
}

int AngleSelectorOfHouse(int house) {
  static constexpr int kSelectors[4] = {0, 3, 1, 2};  // I Ascendant, IV IC, VII Descendant, X MC
  return kSelectors[house];
}

bool RealThematicAllowedKind(const SuperSource& d) {
  switch (d.Kind()) {
    case kChartDraconic:
    case kChartDirected:
    case kChartHarmonic:
    case kChartReturn:
    case kChartLunarPhase:
      return false;
    case kChartSynastry:
      return d.keyKind != kCompositeSwitch;
    default:
      return true;
  }
}

bool RealThematicAllowedHouses(int houseSystem) {
  const int system = BaseHouseSystem(houseSystem);
  return !(system > kHousePorphyry || system == kHouseEqualFromMc || system == kHouseEqualFromAsc);
}

}  // namespace

int ThematicRefusal(const Chart& chart, int kind) {
  if (kind != 0) return 0;
  if (!RealThematicAllowedKind(chart.definition)) return kMsgThematicKind;
  if (!RealThematicAllowedHouses(chart.houseSystem)) return kMsgThematicHouses;
  return 0;
}

Status MakeRelocatedChart(const ChartContext& ctx, Chart& out, const Chart& chart, int mode,
                          const Place& place) {
  if (mode != 0 && mode != 1) return Status::Error(kErrParameter, "MakeRelocatedChart", mode);
  Chart moved = chart;
  MovePlace(moved.definition, place);
  const int system = BaseHouseSystem(
      IsKnownHouseSystem(chart.houseSystem) ? chart.houseSystem : ConfiguredHouseSystem(ctx));
  if (mode == 1) {
    if (std::fabs(place.LatitudeDeg()) >= kPolarLatitude) return Status::Message(kMsgGeodeticPolar);
    if (!HasGeodeticVariant(system)) return Status::Message(kMsgNoGeodeticVariant);
    moved.houseSystem = system + kGeodeticHouseOffset;
  } else {
    moved.houseSystem = IsKnownHouseSystem(chart.houseSystem) ? chart.houseSystem : system;
  }
  if (Status st = ChartCalculate(ctx, moved, 0); !st.ok()) return st;
  out = moved;
  return Status::Ok();
}

std::string RelocatedTitle(int mode, const Place& place) {
  const std::string& town = place.Town();
  return GetMessageText(mode == 1 ? kMsgGeodeticTitle : kMsgRelocatedTitle) + " " +
         (town.empty() ? place.CoordText() : town);
}

bool IsRelocatedTitle(std::string_view title) {
  for (const int word : {kMsgRelocatedTitle, kMsgGeodeticTitle}) {
    const std::string start = GetMessageText(word) + " ";
    if (title.size() > start.size() && title.substr(0, start.size()) == start) return true;
  }
  return false;
}

Status MakeLocalSpaceChart(const ChartContext& ctx, Chart& out, const Chart& chart) {
  Chart local = chart;
  local.SetDerivationMarker(kMarkerLocalSpace);
  if (Status st = ChartCalculate(ctx, local, 0); !st.ok()) return st;
  out = local;
  return Status::Ok();
}

ThematicChoice ThematicChoiceFromSettings(const Configuration& config) {
  using Block = cfg::ThematicChartSettings;
  const cfg::ByteBlock& b = config.thematicChart;
  ThematicChoice c;
  c.kind = b.Get(Block::kKind);
  c.planet = b.Get(Block::kPlanet);
  c.planet2 = b.Get(Block::kPlanet2);
  c.house = b.Get(Block::kHouse);
  c.direction = b.Get(Block::kDirection);
  c.point = b.Get(Block::kPoint);
  return c;
}

Status MakeThematicChart(const ChartContext& ctx, Chart& out, const Chart& chart,
                         const ThematicChoice& choice) {
  constexpr const char* kWhere = "MakeThematicChart";
  const bool arbitrary = choice.planet == 30;
  if (choice.kind < 0 || choice.kind > 2 || choice.planet < 0 || choice.planet > 30 ||
      (arbitrary && (choice.point < 0 || choice.point >= 360 * 60)))
    return Status::Error(kErrParameter, kWhere, 1);
  Chart made = chart;
  made.points[kDerivationMarkerSlot] = PointRecord();
  made.extra[0] = 0.0;
  if (Status st = ChartCalculate(ctx, made, 0); !st.ok()) return st;
  const double planet =
      arbitrary ? choice.point / 60.0 : made.GetPointLongitude(choice.planet).Get();
  if (IsAbsent(planet)) return Status::Error(kErrParameter, kWhere, 2);

  if (choice.kind == 0) {
    if (!RealThematicAllowedKind(chart.definition)) return Status::Message(kMsgThematicKind);
    if (!RealThematicAllowedHouses(made.houseSystem)) return Status::Message(kMsgThematicHouses);
    if (choice.house < 0 || choice.house > 3) return Status::Error(kErrParameter, kWhere, 3);
    Moment when;
    if (!made.FindNearestRiseSet(ctx, arbitrary ? -1 : choice.planet,
                                 AngleSelectorOfHouse(choice.house), when, planet))
      return Status::Error(kErrParameter, kWhere, 4);
    const Source& computed = ComputingSource(made.definition);
    const double ut = when.JulianDay() - computed.zone.GetCorrectionHours() / 24.0;
    if (Status st = MoveComputedMoment(made.definition, ut); !st.ok()) return st;
    made.SetDerivationMarker(kMarkerRealThematic);
  } else {
    double rotation;
    if (choice.kind == 1) {
      if (choice.house < 0 || choice.house > 11) return Status::Error(kErrParameter, kWhere, 3);
      if (!made.GetCusp(choice.house).IsSet()) return Status::Error(kErrParameter, kWhere, 5);
      rotation = planet - made.GetCusp(choice.house).Get();
    } else {
      if (arbitrary || choice.planet2 < 0 || choice.planet2 >= kBodyCount ||
          choice.planet2 == choice.planet)
        return Status::Error(kErrParameter, kWhere, 6);
      const double second = made.GetPointLongitude(choice.planet2).Get();
      if (IsAbsent(second)) return Status::Error(kErrParameter, kWhere, 2);
      const double arc = AngleDifference360(planet, second);
      rotation = choice.direction == 0 ? arc : -arc;
    }
    made.extra[0] = NormalizeDegrees(rotation);
    made.SetDerivationMarker(kMarkerSymbolicThematic);
  }
  made.definition.SetTitle(GetMessageText(kMsgThematicTitle));
  if (Status st = ChartCalculate(ctx, made, 0); !st.ok()) return st;
  out = made;
  return Status::Ok();
}
