#include "astro/chart/chart_math.h"

#include <cmath>

#include "foundation/atlas/town_search.h"
#include "foundation/numbers/angles.h"

namespace chartmath {

double Wrap180(double angle) {
  double a = std::fmod(angle, 360.0);
  if (a <= -180.0) a += 360.0;
  if (a > 180.0) a -= 360.0;
  return a;
}

LunarVariant VariantOfPoint(const cfg::CalculationSettings& calc, int point) {
  if (point == kNorthNode || point == kSouthNode)
    return calc.lunarNodes == 0 ? LunarVariant::True : LunarVariant::Mean;
  if (point == kBlackMoon || point == kLunarPerigee)
    return calc.blackMoon == 0 ? LunarVariant::True : LunarVariant::Mean;
  return LunarVariant::True;
}

BodyPosition BodyAt(const ChartContext& ctx, int point, JdUt ut) {
  return BodyAtTt(ctx, point, ToTt(ut));
}

BodyPosition BodyAtTt(const ChartContext& ctx, int point, JdTt tt) {
  return ctx.GetEphemeris().Position(point, tt, VariantOfPoint(ctx.Calculation(), point));
}

Status MoveSourceToUt(Source& source, double ut) {
  Source moved = source;
  if (Status st = moved.SetUniversalTime(ut); !st.ok()) return st;
  if (Status st = moved.ConvertToZoneOf(source); !st.ok()) return st;
  // A town of the atlas gives the moment the zone it had then (summer time, a zone since moved).
  (void)MoveToTownClock(GetTowns(), moved);
  source = moved;
  return Status::Ok();
}

double RefineRoot(const std::function<double(double)>& f, double t0, double f0, double t1,
                  double f1, double tolDays) {
  double t = t1;
  for (int i = 0; i < 60 && t1 - t0 > tolDays; ++i) {
    t = t0 - f0 * (t1 - t0) / (f1 - f0);
    // Keep the secant well inside the bracket; halve otherwise.
    const double margin = 0.05 * (t1 - t0);
    if (!(t > t0 + margin && t < t1 - margin)) t = 0.5 * (t0 + t1);
    const double ft = f(t);
    if (ft == 0.0) return t;
    if (ft < 0.0) {
      t0 = t;
      f0 = ft;
    } else {
      t1 = t;
      f1 = ft;
    }
  }
  return t0 - f0 * (t1 - t0) / (f1 - f0);
}

std::optional<double> FindUpwardZero(const std::function<double(double)>& f, double from,
                                     double span, double step, double tolDays) {
  const int steps = static_cast<int>(std::ceil(std::fabs(span) / step));
  const double dir = span > 0.0 ? 1.0 : -1.0;
  double ta = from, fa = f(from);
  for (int i = 1; i <= steps; ++i) {
    const double tb = from + dir * std::min(i * step, std::fabs(span));
    const double fb = f(tb);
    // In time order (lo, hi): an upward passage has f(lo) < 0 <= f(hi).
    const double lo = std::min(ta, tb), hi = std::max(ta, tb);
    const double flo = ta < tb ? fa : fb, fhi = ta < tb ? fb : fa;
    if (flo < 0.0 && fhi >= 0.0 && flo > -90.0 && fhi < 90.0) {
      const double t = RefineRoot(f, lo, flo, hi, fhi, tolDays);
      if ((dir > 0.0 && t > from) || (dir < 0.0 && t < from)) return t;
    }
    ta = tb;
    fa = fb;
  }
  return std::nullopt;
}

}  // namespace chartmath

namespace chartmath {

void EclipticToEquatorial(double lon, double lat, double eps, double& ra, double& dec) {
  const double x = CosDeg(lat) * CosDeg(lon);
  const double y = CosDeg(lat) * SinDeg(lon) * CosDeg(eps) - SinDeg(lat) * SinDeg(eps);
  const double z = CosDeg(lat) * SinDeg(lon) * SinDeg(eps) + SinDeg(lat) * CosDeg(eps);
  ra = NormalizeDegrees(Atan2Deg(y, x));
  dec = Atan2Deg(z, std::hypot(x, y));
}

void EquatorialToHorizontal(double ra, double dec, double lstDeg, double latitude, double& azimuth,
                            double& altitude) {
  const double h = lstDeg - ra;
  const double east = -CosDeg(dec) * SinDeg(h);
  const double north = SinDeg(dec) * CosDeg(latitude) - CosDeg(dec) * CosDeg(h) * SinDeg(latitude);
  const double up = SinDeg(dec) * SinDeg(latitude) + CosDeg(dec) * CosDeg(h) * CosDeg(latitude);
  azimuth = NormalizeDegrees(Atan2Deg(east, north));
  altitude = Atan2Deg(up, std::hypot(east, north));
}

}  // namespace chartmath
