#include "astrocarto/core/ac_lines.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "astro/chart/chart.h"
#include "astro/ephemeris/coordinates.h"
#include "astro/ephemeris/instant.h"
#include "foundation/config/configuration.h"
#include "foundation/numbers/angles.h"

namespace {

// RisingLatitudeIterate answers at the first attempt; the loop asks again at most this often.
constexpr int kMaxAttempts = 64;

double AskRisingLatitude(double jd, double ut, double longitude, double start, double latitude,
                         double eclipticLongitude) {
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const double result =
        RisingLatitudeIterate(jd, ut, longitude, start, eclipticLongitude, latitude, attempt);
    if (result != kAnotherAttempt) return result;
  }
  return kAbsent;
}

// A longitude into [-180, 180).
double WrapLongitude(double longitude) {
  return longitude - 360.0 * std::floor((longitude + 180.0) / 360.0);
}

}  // namespace

LineMoment MakeLineMoment(double jd, double ut) {
  const Instant when = MakeInstant(MomentOfDay(jd, ut));
  return LineMoment{jd, ut, when.apparentSiderealTimeDeg, when.trueObliquityDeg};
}

LineMoment MakeLineMoment(JdUt ut) {
  const double day = std::floor(ut.days - 0.5) + 0.5;
  return MakeLineMoment(day, (ut.days - day) * 24.0);
}

LineMoment ChartLineMoment(const Chart& chart) {
  const Source& source = chart.definition.GetCountSrc();
  // The Universal Time is kept on the local date, outside 0..24 when the zone carries it into
  // the day before or after, so that the moment is never a day off.
  return MakeLineMoment(source.moment.date.ToJulianDay(),
                        source.moment.time.GetHours() - source.zone.GetCorrectionHours());
}

double CalcRisingLatitude(const LineMoment& moment, double longitude, double eclipticLongitude) {
  if (IsAbsent(eclipticLongitude)) return kAbsent;
  const double ramc = Wrap360(moment.siderealDeg + longitude);
  const double tanLongitude = TanDeg(eclipticLongitude);
  double d = SinDeg(moment.obliquityDeg) * tanLongitude;
  if (d == 0.0) d = 0.001;
  return AtanDeg(-(CosDeg(ramc) + CosDeg(moment.obliquityDeg) * SinDeg(ramc) * tanLongitude) / d);
}

double CalcRisingLatitude(double jd, double ut, double longitude, double eclipticLongitude) {
  return CalcRisingLatitude(MakeLineMoment(jd, ut), longitude, eclipticLongitude);
}

double MidheavenLongitude(const LineMoment& moment, double eclipticLongitude) {
  if (IsAbsent(eclipticLongitude)) return kAbsent;
  // The degree culminates when the right ascension of the meridian equals its own.
  const double rightAscension =
      Atan2Deg(SinDeg(eclipticLongitude) * CosDeg(moment.obliquityDeg), CosDeg(eclipticLongitude));
  return WrapLongitude(rightAscension - moment.siderealDeg);
}

LineBody MakeLineBody(const LineMoment& moment, double eclipticLongitude, double eclipticLatitude,
                      bool withLatitude) {
  LineBody body;
  body.eclipticLongitude = eclipticLongitude;
  body.withLatitude = withLatitude;
  if (withLatitude && !IsAbsent(eclipticLongitude)) {
    const Equatorial q =
        EclipticToEquatorial(eclipticLongitude, eclipticLatitude, moment.obliquityDeg);
    body.rightAscension = q.rightAscension;
    body.declination = q.declination;
  }
  return body;
}

double HorizonLineLatitude(const LineMoment& moment, const LineBody& body, double longitude) {
  if (IsAbsent(body.eclipticLongitude)) return kAbsent;
  if (!body.withLatitude) return CalcRisingLatitude(moment, longitude, body.eclipticLongitude);
  return HorizonLatitude(moment.siderealDeg + longitude,
                         Equatorial{body.rightAscension, body.declination});
}

double FindRisingLatitude(double jd, double ut, double longitude, double eclipticLatitude,
                          double eclipticLongitude) {
  const double start = CalcRisingLatitude(jd, ut, longitude, eclipticLongitude);
  const double result =
      AskRisingLatitude(jd, ut, longitude, start, eclipticLatitude, eclipticLongitude);
  if (result != kAbsent) return result;
  return AskRisingLatitude(jd, ut, longitude, IsAbsent(start) ? start : -start, eclipticLatitude,
                           eclipticLongitude);
}

void ACLines::Changed() {
  // Shared by every store of lines, on any thread: a stamp is never given twice.
  static std::atomic<std::uint64_t> stamps{0};
  revision_ = ++stamps;
}

void ACLines::Init(int choice, bool nodes, int density, const Configuration& config) {
  Free();
  flags_.fill('N');
  for (int i = 0; i < kPointFlagCount; ++i) {
    if (i == kNorthNode || i == kSouthNode) continue;
    if ((choice == 1 && i <= 9) || (choice == 2 && config.DisplayFlag(i) != 'N')) flags_[i] = 'Y';
  }
  if (nodes) flags_[kNorthNode] = flags_[kSouthNode] = 'Y';
  for (int i = 0; i < kPointFlagCount; ++i)
    if (flags_[i] == 'Y') points_.push_back(i);
  perChart_ = static_cast<int>(points_.size());
  density_ = std::clamp(density, 1, kMaxDensity);
  Changed();
  if (perChart_ == 0) return;
  const auto lines = static_cast<std::size_t>(2 * perChart_);
  samples_.assign(lines * static_cast<std::size_t>(SampleCount()), kAbsent);
  mc_.assign(lines, kAbsent);
  ic_.assign(lines, kAbsent);
  body_.assign(lines, kAbsent);
  model_.assign(lines, LineBody{});
  top_.assign(lines, 0);
  bottom_.assign(lines, 0);
}

void ACLines::Free() {
  points_.clear();
  perChart_ = 0;
  twoCharts_ = false;
  samples_.clear();
  mc_.clear();
  ic_.clear();
  body_.clear();
  model_.clear();
  top_.clear();
  bottom_.clear();
  crossings_.clear();
  Changed();
}

int ACLines::GetPointOfLine(int k) const {
  if (k < 0 || k >= 2 * perChart_) return -1;
  return points_[static_cast<std::size_t>(k % perChart_)];
}

std::span<const double> ACLines::Samples(int k) const {
  return std::span<const double>(samples_).subspan(Index(k, 0),
                                                   static_cast<std::size_t>(SampleCount()));
}

bool ACLines::Calculate(const Chart& chart, bool withLatitude, int half,
                        platform::ProgressSink& progress) {
  if (perChart_ == 0 || (half != 0 && half != 1)) return false;
  const LineMoment moment = ChartLineMoment(chart);
  moments_[static_cast<std::size_t>(half)] = moment;
  Changed();
  progress.Begin();
  progress.SetPos(0);
  bool done = true;
  for (int line = 0; line < perChart_ && done; ++line) {
    const int k = half * perChart_ + line;
    const PointRecord& point = chart.points[static_cast<std::size_t>(points_[line])];
    const double lambda = point.longitude.Get();
    const LineBody body = MakeLineBody(moment, lambda, point.latitude, withLatitude);
    body_[static_cast<std::size_t>(k)] = lambda;
    model_[static_cast<std::size_t>(k)] = body;
    for (int s = 0; s < SampleCount(); ++s)
      samples_[Index(k, s)] = HorizonLineLatitude(moment, body, SampleLongitude(s));
    mc_[static_cast<std::size_t>(k)] = MidheavenLongitude(moment, lambda);
    FinishLine(k);
    progress.SetPos((line + 1) * 100 / perChart_);
    if (progress.Cancelled()) done = false;
  }
  progress.End();
  if (!done) {
    ClearHalf(half);
    return false;
  }
  if (half == 1) twoCharts_ = true;
  Changed();
  return true;
}

void ACLines::ClearHalf(int half) {
  for (int line = 0; line < perChart_; ++line) {
    const int k = half * perChart_ + line;
    std::fill_n(samples_.begin() + static_cast<std::ptrdiff_t>(Index(k, 0)), SampleCount(),
                kAbsent);
    mc_[static_cast<std::size_t>(k)] = kAbsent;
    body_[static_cast<std::size_t>(k)] = kAbsent;
    model_[static_cast<std::size_t>(k)] = LineBody{};
    FinishLine(k);
  }
  if (half == 1) twoCharts_ = false;
  Changed();
}

void ACLines::SetLine(int k, std::span<const double> samples, double mc, double eclipticLongitude) {
  if (k < 0 || k >= 2 * perChart_) return;
  for (int s = 0; s < SampleCount(); ++s)
    samples_[Index(k, s)] = static_cast<std::size_t>(s) < samples.size()
                                ? samples[static_cast<std::size_t>(s)]
                                : kAbsent;
  mc_[static_cast<std::size_t>(k)] = mc;
  body_[static_cast<std::size_t>(k)] = eclipticLongitude;
  model_[static_cast<std::size_t>(k)] = LineBody{};
  FinishLine(k);
}

double ACLines::LatitudeAt(int k, double longitude) const {
  if (k < 0 || k >= LineCount() || !std::isfinite(longitude)) return kAbsent;
  const LineBody& body = model_[static_cast<std::size_t>(k)];
  if (!IsAbsent(body.eclipticLongitude))
    return HorizonLineLatitude(Moment(HalfOfLine(k)), body, longitude);
  // Straight between the two samples around the longitude.
  const double x = (longitude + 180.0) * density_;
  if (x < 0.0 || x > SampleCount() - 1) return kAbsent;
  const int s = std::min(static_cast<int>(x), SampleCount() - 2);
  const double a = Sample(k, s), b = Sample(k, s + 1), f = x - s;
  if (f == 0.0) return a;
  if (IsAbsent(a) || IsAbsent(b)) return f == 1.0 && !IsAbsent(b) ? b : kAbsent;
  return a + f * (b - a);
}

void ACLines::FinishLine(int k) {
  Changed();
  const auto i = static_cast<std::size_t>(k);
  const double mc = mc_[i];
  ic_[i] = IsAbsent(mc) ? kAbsent : (mc <= 0.0 ? mc + 180.0 : mc - 180.0);
  // The extremes over one turn of longitude (the last degree repeats the first).
  int top = -1, bottom = -1;
  for (int s = 0; s < 360 * density_; ++s) {
    const double lat = samples_[Index(k, s)];
    if (IsAbsent(lat)) continue;
    if (top < 0 || lat > samples_[Index(k, top)]) top = s;
    if (bottom < 0 || lat < samples_[Index(k, bottom)]) bottom = s;
  }
  top_[i] = std::max(top, 0);
  bottom_[i] = std::max(bottom, 0);
}

int ACLines::LongitudeToSample(double longitude, bool upper) const {
  const double raw = std::trunc((longitude + 180.0) * density_) + (upper ? 1 : 0);
  return static_cast<int>(std::clamp(raw, 0.0, static_cast<double>(SampleCount() - 1)));
}

int ACLines::FindSampleIndex(double longitude, bool upper) const {
  const int last = SampleCount() - 1;
  if (!(SampleLongitude(last) >= longitude)) return last;  // none, or not a number
  // A first guess from the density, then settled on the samples' own longitudes.
  int s = static_cast<int>(
      std::clamp(std::ceil((longitude + 180.0) * density_), 0.0, static_cast<double>(last)));
  while (s > 0 && SampleLongitude(s - 1) >= longitude) --s;
  while (s < last && SampleLongitude(s) < longitude) ++s;
  if (!upper && SampleLongitude(s) != longitude) return std::max(s - 1, 0);
  return s;
}

std::vector<VisibleRun> ACLines::CollectVisibleRuns(const MapWindow& window) const {
  std::vector<VisibleRun> runs;
  const int first = LongitudeToSample(window.west, false);
  const int last = LongitudeToSample(window.east, true);
  for (int k = 0; k < LineCount(); ++k) {
    int start = -1;
    for (int s = first; s <= last + 1; ++s) {
      const double lat = s <= last ? Sample(k, s) : kAbsent;
      const bool inside = !IsAbsent(lat) && window.south < lat && lat < window.north;
      if (inside && start < 0) start = s;
      if (!inside && start >= 0) {
        runs.push_back(
            VisibleRun{start, s - 1, k, GetPointOfLine(k), ChartOfLine(k) == 1 ? '1' : '0'});
        start = -1;
      }
    }
  }
  return runs;
}

int ACLines::DrawStep(const MapWindow& window, const MapWindow& fullExtent, bool worldMap) {
  if (window == fullExtent) return worldMap ? 5 : 2;
  return 1;
}

namespace {

// Where the segment from an inside sample to an outside one leaves the window through its south
// or north edge.
void ClipToLatitudeEdge(const MapWindow& w, double lonI, double latI, double lonO, double latO,
                        double& lon, double& lat) {
  if (latO <= latI) {
    lon = lonI - (latI - w.south) / (latI - latO) * (lonI - lonO);
    lat = w.south;
  } else {
    lon = lonI - (w.north - latI) / (latO - latI) * (lonI - lonO);
    lat = w.north;
  }
}

}  // namespace

std::vector<LineSegment> ACLines::CollectSegments(const MapWindow& window, int step) const {
  std::vector<LineSegment> segments;
  step = std::max(step, 1);
  for (int k = 0; k < LineCount(); ++k) {
    const int first = FindSampleIndex(window.west, false);
    const int last = FindSampleIndex(window.east, true);
    bool havePrevious = false, previousInside = false;
    double lonP = 0.0, latP = kAbsent;
    for (int s = first; s <= last; s += step) {
      const double lon = SampleLongitude(s), lat = Sample(k, s);
      const bool inside = !IsAbsent(lat) && window.south <= lat && lat <= window.north;
      if (inside && havePrevious && previousInside) {
        segments.push_back(LineSegment{k, lonP, latP, lon, lat});
      } else if (inside && havePrevious && !IsAbsent(latP)) {
        double lonE = 0.0, latE = 0.0;
        ClipToLatitudeEdge(window, lon, lat, lonP, latP, lonE, latE);
        segments.push_back(LineSegment{k, lonE, latE, lon, lat});
      } else if (!inside && previousInside && !IsAbsent(lat)) {
        double lonE = 0.0, latE = 0.0;
        ClipToLatitudeEdge(window, lonP, latP, lon, lat, lonE, latE);
        segments.push_back(LineSegment{k, lonP, latP, lonE, latE});
      }
      havePrevious = true;
      previousInside = inside;
      lonP = lon;
      latP = lat;
    }
    for (const double meridian : {Mc(k), Ic(k)}) {
      if (!IsAbsent(meridian) && window.west < meridian && meridian < window.east)
        segments.push_back(LineSegment{k, meridian, window.north, meridian, window.south});
    }
  }
  return segments;
}

void ACLines::Draw(platform::Dc& dc, const MapWindow& window, int step,
                   const std::function<platform::Color(int point)>& colourOfPoint,
                   const std::function<platform::Point(double lon, double lat)>& project) const {
  DrawWithPens(
      dc, window, step,
      [&colourOfPoint](int point) {
        return platform::Pen{platform::PenStyle::Solid, 1, colourOfPoint(point)};
      },
      project);
}

void ACLines::DrawWithPens(
    platform::Dc& dc, const MapWindow& window, int step,
    const std::function<platform::Pen(int point)>& penOfPoint,
    const std::function<platform::Point(double lon, double lat)>& project) const {
  const platform::DcState saved(dc);
  int penLine = -1;
  for (const LineSegment& segment : CollectSegments(window, step)) {
    if (segment.line != penLine) {
      penLine = segment.line;
      dc.SelectPen(penOfPoint(GetPointOfLine(segment.line)));
    }
    dc.Line(project(segment.lon1, segment.lat1), project(segment.lon2, segment.lat2));
  }
}

char ACLines::AngleAt(int k, double longitude) const {
  const LineMoment& moment = Moment(HalfOfLine(k));
  const LineBody& body = model_[static_cast<std::size_t>(k)];
  // The right ascension of what the line is drawn from: the body's own place for a line with
  // latitude, else its ecliptic degree.
  const double rightAscension =
      body.withLatitude && !IsAbsent(body.eclipticLongitude)
          ? body.rightAscension
          : EclipticToEquatorial(BodyLongitude(k), 0.0, moment.obliquityDeg).rightAscension;
  // East of the meridian (hour angle between 180 and 360) it rises, west of it it sets; the
  // nearer of the ecliptic Ascendant and Descendant says the same only below the polar circles.
  return SinDeg(moment.siderealDeg + longitude - rightAscension) < 0.0 ? 'A' : 'D';
}
