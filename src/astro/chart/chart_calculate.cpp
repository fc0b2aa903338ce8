#include "astro/chart/chart_calculate.h"

#include <cmath>

#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_math.h"
#include "astro/houses/houses.h"

using chartmath::UtOf;

namespace {

struct CastOptions {
  bool speeds = true;
  bool houses = true;
  const BodySource* bodies = nullptr;  // null: the ephemeris
};

// Bodies 0..29 at the moment; every further point absent but the derivation marker, and so is a
// body whose place cannot be known at the moment (BodyKnownAt: Chiron and the asteroids outside
// the years 1000..3000), whatever the source of the positions.
void FillBodies(const ChartContext& ctx, Chart& chart, JdTt tt, bool speeds,
                const BodySource* bodies) {
  if (bodies == nullptr) ctx.GetEphemeris().PrefetchSegments(tt);
  for (int i = 0; i < kChartPointCount; ++i) {
    if (i == kDerivationMarkerSlot) continue;
    PointRecord& p = chart.points[i];
    p = PointRecord();
    if (i >= kBodyCount || !BodyKnownAt(i, tt.days)) continue;
    const BodyPosition pos = bodies != nullptr ? (*bodies)(i, tt) : chartmath::BodyAtTt(ctx, i, tt);
    p.longitude.Set(pos.longitude);
    p.latitude = pos.latitude;
    p.speed = speeds ? pos.speed : 0.0;
    p.status = speeds ? pos.Status() : 'D';
  }
}

void SetPoint(Chart& chart, int i, double longitude) {
  chart.points[i] = PointRecord();
  chart.points[i].longitude.Set(NormalizeDegrees(longitude));
}

// The cusps, the East point and the Vertex for the place at the moment.
void FillHouses(Chart& chart, const Instant& when, const Place& place) {
  HouseInput in;
  in.armcDeg =
      HouseArmcDeg(when.apparentSiderealTimeDeg, place.EastLongitudeDeg(), chart.houseSystem);
  in.latitudeDeg = place.LatitudeDeg();
  in.obliquityDeg = when.trueObliquityDeg;
  in.system = chart.houseSystem;
  in.sunDeg = chart.points[0].longitude.Get();
  in.moonDeg = chart.points[1].longitude.Get();
  const std::optional<Houses> houses = HouseCusps(in);
  chart.ConstructCusps();
  chart.porphyryFallback = false;
  if (!houses) return;
  for (int h = 0; h < 12; ++h) chart.cusps[h].Set(houses->cusps[h]);
  chart.porphyryFallback = houses->porphyryFallback;
  chart.ascendant.Set(houses->ascendantDeg);
  SetPoint(chart, kPointEast, houses->eastPointDeg);
  SetPoint(chart, kPointVertex, houses->vertexDeg);
}

// The Part of Fortune and the "cross of misfortune" from the Ascendant, the Sun and the Moon.
void FillLots(const ChartContext& ctx, Chart& chart) {
  const AngleValue asc = chart.ascendant, sun = chart.points[0].longitude,
                   moon = chart.points[1].longitude;
  if (!asc.IsSet() || !sun.IsSet() || !moon.IsSet()) return;
  const double fortune = asc.Get() + moon.Get() - sun.Get();
  const double misfortune = asc.Get() + sun.Get() - moon.Get();
  const bool night = ctx.Calculation().dayNight == 1 && !chart.IsDayChart();
  SetPoint(chart, kPointFortune, night ? misfortune : fortune);
  SetPoint(chart, kPointMisfortune, night ? fortune : misfortune);
}

// Adds `arc` to every present point 0..33 and cusp.
void ShiftAll(Chart& chart, double arc) {
  for (int i = 0; i <= kPointVertex; ++i) {
    AngleValue& lon = chart.points[i].longitude;
    if (lon.IsSet()) lon.Set(NormalizeDegrees(lon.Get() + arc));
  }
  for (AngleValue& c : chart.cusps)
    if (c.IsSet()) c.Set(NormalizeDegrees(c.Get() + arc));
  if (chart.ascendant.IsSet()) chart.ascendant.Set(NormalizeDegrees(chart.ascendant.Get() + arc));
}

// Draconic chart: the zodiac counted from the North node.
void MakeDraconic(Chart& chart) {
  const AngleValue node = chart.points[kNorthNode].longitude;
  if (node.IsSet()) ShiftAll(chart, -node.Get());
}

// Directed chart: every point and cusp moved by the arc; each moves at the rate of the directions.
void MakeDirectedPositions(const ChartContext& ctx, Chart& chart) {
  const double arc = DirectionArc(ctx, chart.definition);
  const double rate =
      DefineDirectionKoef(ctx, chart.definition) * (chart.definition.converse == 1 ? -1 : 1);
  ShiftAll(chart, arc);
  for (int i = 0; i <= kPointVertex; ++i) {
    if (!chart.points[i].longitude.IsSet()) continue;
    chart.points[i].speed = rate;
    chart.points[i].status = rate < 0.0 ? 'R' : 'D';
  }
}

// Harmonic chart of number N (key arc count, 0 read as 1): every longitude times N; equal houses
// from the harmonic Ascendant.
void MakeHarmonic(Chart& chart) {
  const int n = chart.definition.key.arcCount == 0 ? 1 : chart.definition.key.arcCount;
  for (int i = 0; i <= kPointVertex; ++i) {
    PointRecord& p = chart.points[i];
    if (!p.longitude.IsSet()) continue;
    p.longitude.Set(NormalizeDegrees(p.longitude.Get() * n));
    p.speed *= n;
  }
  if (!chart.ascendant.IsSet()) return;
  const double asc = NormalizeDegrees(chart.ascendant.Get() * n);
  chart.ascendant.Set(asc);
  for (int h = 0; h < 12; ++h) chart.cusps[h].Set(NormalizeDegrees(asc + 30.0 * h));
}

// Local Space: each body at its azimuth (from the north through the east) with its altitude as
// latitude; the houses are the twelve directions from the east (cusp I) every 30 degrees.
void MakeLocalSpace(Chart& chart, const Instant& when, const Place& place) {
  const double lst = when.apparentSiderealTimeDeg + place.EastLongitudeDeg();
  for (int i = 0; i < kChartPointCount; ++i) {
    if (i == kDerivationMarkerSlot) continue;
    PointRecord& p = chart.points[i];
    if (i >= kBodyCount || !p.longitude.IsSet()) {
      p = PointRecord();
      continue;
    }
    double ra, dec, az, alt;
    chartmath::EclipticToEquatorial(p.longitude.Get(), p.latitude, when.trueObliquityDeg, ra, dec);
    chartmath::EquatorialToHorizontal(ra, dec, lst, place.LatitudeDeg(), az, alt);
    p.longitude.Set(az);
    p.latitude = alt;
    p.speed = 0.0;
    p.status = 'D';
  }
  for (int h = 0; h < 12; ++h) chart.cusps[h].Set(NormalizeDegrees(90.0 + 30.0 * h));
  chart.ascendant.Set(90.0);
  chart.porphyryFallback = false;
}

int ChooseHouseSystem(const ChartContext& ctx, const Chart& chart, int flag) {
  const int configured = ConfiguredHouseSystem(ctx);
  if (flag == 1) {
    const int system = BaseHouseSystem(configured);
    if (IsGeodeticHouseCode(chart.houseSystem) && HasGeodeticVariant(system))
      return system + kGeodeticHouseOffset;
    return configured;
  }
  return IsKnownHouseSystem(chart.houseSystem) ? chart.houseSystem : configured;
}

Status Cast(const ChartContext& ctx, Chart& chart, const CastOptions& options) {
  if (Status st = DeriveCountSource(chart.definition); !st.ok()) return st;
  const Source& source = ComputingSource(chart.definition);
  const JdUt ut = UtOf(source);
  const Instant when = MakeInstant(ut);
  FillBodies(ctx, chart, when.tt, options.speeds, options.bodies);
  chart.ConstructCusps();
  chart.ascendant.Clear();
  chart.porphyryFallback = false;
  if (options.houses) {
    FillHouses(chart, when, source.place);
    FillLots(ctx, chart);
  }
  switch (chart.definition.Kind()) {
    case kChartDraconic:
      MakeDraconic(chart);
      break;
    case kChartDirected:
      MakeDirectedPositions(ctx, chart);
      break;
    case kChartHarmonic:
      MakeHarmonic(chart);
      break;
    default:
      break;
  }
  if (chart.IsLocalSpace()) {
    MakeLocalSpace(chart, when, source.place);
  } else if (chart.IsSymbolicThematic() && chart.cusps[0].IsSet()) {
    for (AngleValue& c : chart.cusps) c.Set(NormalizeDegrees(c.Get() + chart.extra[0]));
  }
  return Status::Ok();
}

}  // namespace

int ConfiguredHouseSystem(const ChartContext& ctx) {
  const cfg::CalculationSettings& calc = ctx.Calculation();
  const int system = calc.houseSystem % kGeodeticHouseOffset;
  if (system >= kHouseSystemCount) return kHousePlacidus;
  return calc.geodetic != 0 && HasGeodeticVariant(system) ? system + kGeodeticHouseOffset : system;
}

Status ChartCalculate(const ChartContext& ctx, Chart& chart, int flag) {
  chart.houseSystem = ChooseHouseSystem(ctx, chart, flag);
  return Cast(ctx, chart, CastOptions{});
}

Status Chart::CalculatePositions(const ChartContext& ctx, int flag) {
  houseSystem = ChooseHouseSystem(ctx, *this, flag);
  return Cast(ctx, *this, CastOptions{false, true});
}

Status Chart::CalculateMainBodies(const ChartContext& ctx, int withHouses) {
  houseSystem = ChooseHouseSystem(ctx, *this, 0);
  return Cast(ctx, *this, CastOptions{true, withHouses == 1});
}

Status ChartCalculateWithBodies(const ChartContext& ctx, Chart& chart, const BodySource& bodies,
                                bool speeds) {
  chart.houseSystem = ChooseHouseSystem(ctx, chart, 0);
  return Cast(ctx, chart, CastOptions{speeds, true, &bodies});
}

Status DirectFromComputedNatal(const ChartContext& ctx, Chart& directed, const Chart& natal) {
  if (directed.definition.Kind() != kChartDirected)
    return Status::Error(kErrParameter, "DirectFrom", 0);
  directed.houseSystem = natal.houseSystem;
  for (int i = 0; i < kChartPointCount; ++i)
    if (i != kDerivationMarkerSlot) directed.points[i] = natal.points[i];
  directed.cusps = natal.cusps;
  directed.ascendant = natal.ascendant;
  directed.porphyryFallback = natal.porphyryFallback;
  MakeDirectedPositions(ctx, directed);
  return Status::Ok();
}

Status Chart::AddStep(const ChartContext& ctx, double days) {
  if (days != 0.0) {
    SuperSource& d = definition;
    switch (d.Kind()) {
      case kChartTransit:
      case kChartProgressed:
      case kChartDirected:
        d.sources[1].moment.AddDays(days);
        break;
      case kChartSynastry:
        if (d.keyKind == kCompositeSwitch) {
          d.sources[0].moment.AddDays(days);
          d.sources[1].moment.AddDays(days);
        } else {
          d.GetCountSrc().moment.AddDays(days);
        }
        break;
      default:
        d.GetCountSrc().moment.AddDays(days);
        break;
    }
  }
  return ChartCalculate(ctx, *this, 0);
}

bool Chart::GetPointCoordinates(int i, int mode, double& first, double& second) const {
  first = second = kAbsent;
  if (i < 0 || i > kPointVertex || (mode != 3 && mode != 4)) return false;
  const PointRecord& p = points[i];
  if (!p.longitude.IsSet()) return false;
  const Source& source = ComputingSource(definition);
  const Instant when = MakeInstant(UtOf(source));
  double ra, dec;
  chartmath::EclipticToEquatorial(p.longitude.Get(), p.latitude, when.trueObliquityDeg, ra, dec);
  if (mode == 3) {
    first = ra;
    second = dec;
    return true;
  }
  const double lst = when.apparentSiderealTimeDeg + source.place.EastLongitudeDeg();
  chartmath::EquatorialToHorizontal(ra, dec, lst, source.place.LatitudeDeg(), first, second);
  return true;
}
