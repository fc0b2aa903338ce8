#include "astro/ephemeris/ephemeris.h"

#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/fast_theory.h"
#include "astro/ephemeris/longitudes.h"
#include "astro/ephemeris/lunar_points.h"
#include "astro/ephemeris/series_sets.h"
#include "astro/ephemeris/table_sources.h"
#include "foundation/files/safe_rewrite.h"

namespace {

constexpr double kNutationHalfStep = 0.01;
// cos 45 degrees: the elongation from the Sun beyond which its deflection of light is ignored.
constexpr double kCosDeflectionElongation = 0.70710678118654752;

}  // namespace

int TableIdOfPoint(int point, LunarVariant variant) {
  const bool mean = variant == LunarVariant::Mean;
  switch (point) {
    case kNorthNode:
    case kSouthNode:
      return mean ? kTableMeanNode : kTableTrueNode;
    case kBlackMoon:
    case kLunarPerigee:
      return mean ? kTableMeanApogee : kTableTrueApogee;
    default:
      return point;
  }
}

Status Ephemeris::Load(const std::filesystem::path& file) {
  (void)CutSeries();  // built now, at start, rather than by the first chart outside the tables
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) return st;
  return LoadBytes(bytes, file.string());
}

Status Ephemeris::LoadBytes(std::string_view bytes, const std::string& where) {
  ChebyshevFile parsed;
  if (const Status st = ParseTables(bytes, where, parsed); !st.ok()) return st;
  std::array<int, kTableIdCount> index = MissingIndex();
  for (std::size_t i = 0; i < parsed.tables.size(); ++i) {
    const int id = parsed.tables[i].id;
    if (index[id] != -1) return Status::Error(106, where, 8);  // a table given twice
    index[id] = static_cast<int>(i);
  }
  file_ = std::move(parsed);
  index_ = index;
  return Status::Ok();
}

bool Ephemeris::HasTable(int tableId) const {
  return tableId >= 0 && tableId < kTableIdCount && index_[tableId] >= 0;
}

void Ephemeris::AddSunDeflection(int point, double jdTt, double speed, double& lon,
                                 double& lat) const {
  const ChebyshevTable* sun = Table(0);
  // Mercury and Venus in retrograde motion are near inferior conjunction, in front of the Sun.
  if (sun == nullptr || ((point == 2 || point == 3) && speed < 0.0)) return;
  double sunLon, sunLat, sunSpeed;
  sun->Evaluate(jdTt, sunLon, sunLat, sunSpeed);
  // Beyond 45 degrees of elongation the deflection stays under 0.01": not computed there. The
  // Sun's latitude (under 2") is left out of the elongation.
  constexpr double kDeg = M_PI / 180.0;
  if (std::cos((lon - sunLon) * kDeg) * std::cos(lat * kDeg) < kCosDeflectionElongation) return;
  const Deflection d = SunDeflection(lon, lat, sunLon, sunLat, DeflectionDistanceRatio(point));
  lon += d.lonDeg;
  lat += d.latDeg;
}

const ChebyshevTable* Ephemeris::Table(int tableId) const {
  return HasTable(tableId) ? &file_.tables[index_[tableId]] : nullptr;
}

double Ephemeris::NutationDeg(double jdTt, double& rateDegPerDay) const {
  if (const ChebyshevTable* t = Table(kTableNutation)) {
    double lon, lat;
    t->Evaluate(jdTt, lon, lat, rateDegPerDay);
    return lon > 180.0 ? lon - 360.0 : lon;
  }
  rateDegPerDay = (NutationAt(JdTt{jdTt + kNutationHalfStep}).longitudeDeg -
                   NutationAt(JdTt{jdTt - kNutationHalfStep}).longitudeDeg) /
                  (2.0 * kNutationHalfStep);
  return NutationAt(JdTt{jdTt}).longitudeDeg;
}

BodyPosition Ephemeris::Position(int point, JdTt when, LunarVariant variant) const {
  BodyPosition out;
  if (!IsBody(point) || !std::isfinite(when.days)) {
    out.approximate = true;
    return out;
  }
  const ChebyshevTable* table = InTables(when) ? Table(TableIdOfPoint(point, variant)) : nullptr;
  if (table != nullptr) {
    double lon, lat, speed;
    table->Evaluate(when.days, lon, lat, speed);
    if (DeflectedByTheSun(point)) AddSunDeflection(point, when.days, speed, lon, lat);
    double nutationRate;
    lon += NutationDeg(when.days, nutationRate);
    PointPosition p{NormalizeDegrees(lon), lat, speed + nutationRate};
    if (point == kSouthNode || point == kLunarPerigee) p = OppositePoint(p);
    out.longitude = p.longitude;
    out.latitude = p.latitude;
    out.speed = p.speed;
    return out;
  }
  const PointPosition p = FastTheoryPosition(point, variant, when.days);
  out.approximate = !InTables(when);
  if (std::isfinite(p.longitude) && std::isfinite(p.latitude) && std::isfinite(p.speed)) {
    out.longitude = p.longitude;
    out.latitude = p.latitude;
    out.speed = p.speed;
  } else {
    out.approximate = true;
  }
  return out;
}
