#include "astro/ephemeris/ephemeris.h"

#include <algorithm>
#include <atomic>
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

std::atomic<std::uint64_t> g_loadCount{0};

}  // namespace

struct Ephemeris::InstantTerms {
  std::uint64_t loadId = 0;
  double jdTt = 0.0;
  double nutationDeg = 0.0, nutationRate = 0.0;
  bool hasSun = false;
  double sunLon = 0.0, sunLat = 0.0;
};

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
  loadId_ = ++g_loadCount;
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
  InstantTerms& terms = const_cast<InstantTerms&>(TermsAt(jdTt));
  if (!terms.hasSun) {
    double sunSpeed;
    sun->Evaluate(jdTt, terms.sunLon, terms.sunLat, sunSpeed);
    terms.hasSun = true;
  }
  const double sunLon = terms.sunLon, sunLat = terms.sunLat;
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

const Ephemeris::InstantTerms& Ephemeris::TermsAt(double jdTt) const {
  thread_local InstantTerms last;
  if (last.loadId != loadId_ || last.jdTt != jdTt) {
    last = InstantTerms{};
    last.loadId = loadId_;
    last.jdTt = jdTt;
    last.nutationDeg = NutationDeg(jdTt, last.nutationRate);
  }
  return last;
}

void Ephemeris::PrefetchSegments(JdTt when) const {
  if (!InTables(when)) return;
  for (const ChebyshevTable& t : file_.tables) {
    const std::size_t stride = static_cast<std::size_t>(t.lonDegree + t.latDegree + 2);
    const double offset = (when.days - t.firstJd) / t.segmentDays;
    const std::size_t segment =
        std::min(static_cast<std::size_t>(std::max(offset, 0.0)), t.SegmentCount() - 1);
    const char* first = reinterpret_cast<const char*>(t.coefficients.data() + segment * stride);
    const char* last = reinterpret_cast<const char*>(t.coefficients.data() + (segment + 1) * stride);
    for (const char* p = first; p < last; p += 64) __builtin_prefetch(p);
    __builtin_prefetch(last - 1);
  }
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
    const InstantTerms& terms = TermsAt(when.days);
    lon += terms.nutationDeg;
    PointPosition p{NormalizeDegrees(lon), lat, speed + terms.nutationRate};
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
