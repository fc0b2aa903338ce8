#include "astro/ephemeris/ephemeris.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/fast_theory.h"
#include "astro/ephemeris/longitudes.h"
#include "astro/ephemeris/lunar_points.h"
#include "astro/ephemeris/table_sources.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/numbers/vector_state.h"

namespace {

constexpr double kNutationHalfStep = 0.01;
// cos 45 degrees: the elongation from the Sun beyond which its deflection of light is ignored.
constexpr double kCosDeflectionElongation = 0.70710678118654752;

std::atomic<std::uint64_t> g_loadCount{0};

}  // namespace

// A table of the file whose blocks of segments are decoded on first use: a block's flag is set
// (release) once its coefficients are written, and read (acquire) before they are used; the
// decoding itself is done under the table's lock, once.
class Ephemeris::LazyTable {
 public:
  LazyTable(const std::string& bytes, ChebyshevTableLayout layout)
      : bytes_(bytes),
        layout_(std::move(layout)),
        coefficients_(new double[layout_.segmentCount * layout_.Stride()]),
        decoded_(new std::atomic<bool>[layout_.blockOffsets.size()]) {
    for (std::size_t b = 0; b < layout_.blockOffsets.size(); ++b) decoded_[b] = false;
  }

  int Id() const { return layout_.header.id; }

  void Evaluate(double jdTt, double& lon, double& lat, double& speed) const {
    const ChebyshevTable& h = layout_.header;
    double x = 0.0;
    const double* c = Segment(jdTt, x);
    EvaluateSegment(c, h.lonDegree, h.latDegree, h.segmentDays, x, lon, lat, speed);
  }

  void Prefetch(double jdTt) const {
    double x = 0.0;
    const char* first = reinterpret_cast<const char*>(Segment(jdTt, x));
    const char* last = first + layout_.Stride() * sizeof(double);
    for (const char* p = first; p < last; p += 64) __builtin_prefetch(p);
    __builtin_prefetch(last - 1);
  }

 private:
  const double* Segment(double jdTt, double& x) const {
    const ChebyshevTable& h = layout_.header;
    const std::size_t segment = SegmentOf(jdTt, h.firstJd, h.segmentDays, layout_.segmentCount, x);
    const std::size_t block = segment / kSegmentsPerBlock;
    if (!decoded_[block].load(std::memory_order_acquire)) Decode(block);
    return coefficients_.get() + segment * layout_.Stride();
  }

  void Decode(std::size_t block) const {
    const std::lock_guard<std::mutex> lock(decoding_);
    if (decoded_[block].load(std::memory_order_relaxed)) return;
    DecodeTableBlock(bytes_, layout_, block,
                     coefficients_.get() + block * kSegmentsPerBlock * layout_.Stride());
    decoded_[block].store(true, std::memory_order_release);
  }

  const std::string& bytes_;  // the store's
  ChebyshevTableLayout layout_;
  std::unique_ptr<double[]> coefficients_;  // left unwritten (and untouched) until decoded
  std::unique_ptr<std::atomic<bool>[]> decoded_;
  mutable std::mutex decoding_;
};

struct Ephemeris::Store {
  std::string bytes;
  std::vector<std::unique_ptr<LazyTable>> tables;
};

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
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) return st;
  return LoadOwned(std::move(bytes), file.string());
}

Status Ephemeris::LoadBytes(std::string_view bytes, const std::string& where) {
  return LoadOwned(std::string(bytes), where);
}

Status Ephemeris::LoadOwned(std::string bytes, const std::string& where) {
  ChebyshevFileLayout layout;
  if (const Status st = ScanTables(bytes, where, layout); !st.ok()) return st;
  std::array<int, kTableIdCount> index = MissingIndex();
  for (std::size_t i = 0; i < layout.tables.size(); ++i) {
    const int id = layout.tables[i].header.id;
    if (index[id] != -1) return Status::Error(kErrFormat, where, 8);  // a table given twice
    index[id] = static_cast<int>(i);
  }
  auto store = std::make_shared<Store>();
  store->bytes = std::move(bytes);
  for (ChebyshevTableLayout& table : layout.tables)
    store->tables.push_back(std::make_unique<LazyTable>(store->bytes, std::move(table)));
  hasTables_ = !store->tables.empty();
  firstJd_ = layout.firstJd;
  lastJd_ = layout.lastJd;
  store_ = std::move(store);
  index_ = index;
  loadId_ = ++g_loadCount;
  return Status::Ok();
}

bool Ephemeris::HasTable(int tableId) const {
  return tableId >= 0 && tableId < kTableIdCount && index_[tableId] >= 0;
}

void Ephemeris::AddSunDeflection(int point, double jdTt, double speed, double& lon,
                                 double& lat) const {
  const LazyTable* sun = Table(0);
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
  // The elongation is at least the difference in longitude: most bodies are told apart by that.
  const double apart = lon - sunLon - 360.0 * std::nearbyint((lon - sunLon) / 360.0);
  if (std::fabs(apart) > 45.0) return;
  if (std::cos(apart * kDeg) * std::cos(lat * kDeg) < kCosDeflectionElongation) return;
  const Deflection d = SunDeflection(lon, lat, sunLon, sunLat, DeflectionDistanceRatio(point));
  lon += d.lonDeg;
  lat += d.latDeg;
}

const Ephemeris::LazyTable* Ephemeris::Table(int tableId) const {
  return HasTable(tableId) ? store_->tables[index_[tableId]].get() : nullptr;
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
  for (const auto& table : store_->tables) table->Prefetch(when.days);
}

double Ephemeris::NutationDeg(double jdTt, double& rateDegPerDay) const {
  if (const LazyTable* t = Table(kTableNutation)) {
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
  // Every computation asks its positions here, searches and charts alike, also after a run's
  // progress has let the window paint: the upper halves of the vector registers are cleared first.
  CleanVectorState();
  BodyPosition out;
  if (!IsBody(point) || !std::isfinite(when.days)) {
    out.approximate = true;
    out.known = false;
    return out;
  }
  const LazyTable* table = InTables(when) ? Table(TableIdOfPoint(point, variant)) : nullptr;
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
  out.known = BodyKnownAt(point, when.days);
  if (std::isfinite(p.longitude) && std::isfinite(p.latitude) && std::isfinite(p.speed)) {
    out.longitude = p.longitude;
    out.latitude = p.latitude;
    out.speed = p.speed;
  } else {
    out.approximate = true;
  }
  return out;
}
