#include "astro/ephemeris/instant.h"

namespace {

Instant Fill(JdUt ut, JdTt tt) {
  const Nutation n = NutationAt(tt);
  Instant i{};
  i.ut = ut;
  i.tt = tt;
  i.meanObliquityDeg = MeanObliquityDeg(tt);
  i.trueObliquityDeg = i.meanObliquityDeg + n.obliquityDeg;
  i.nutationInLongitudeDeg = n.longitudeDeg;
  i.nutationInObliquityDeg = n.obliquityDeg;
  i.meanSiderealTimeDeg = GreenwichMeanSiderealDeg(ut, tt);
  i.apparentSiderealTimeDeg =
      GreenwichApparentSiderealDeg(ut, tt, n.longitudeDeg, i.meanObliquityDeg);
  i.precession = PrecessionFromJ2000(tt);
  return i;
}

}  // namespace

Instant MakeInstant(JdUt ut) { return Fill(ut, ToTt(ut)); }

Instant MakeInstantTt(JdTt tt) { return Fill(ToUt(tt), tt); }
