// The transit date search: the next moment at which a moving body reaches an exact aspect to a
// fixed ecliptic longitude (a natal point or cusp) or to another moving body. One function per
// kind of pair; each refuses the pairs and aspects that cannot occur, sets its tolerance from the
// precision factor P and runs the bounded crossing search (crossing_search.h). A search never
// looks past the window end it is given: it reports the first crossing after `start` and at or
// before `end`, or none. A crossing just before the start is not reported, so a search started
// at a reported moment finds the next event.
//
// Each member's tolerance: the separation at the reported moment (degrees), or the length of the
// last bracket (time) when that is reached first, as written at each function.
//
// Bodies are chart points: 0 Sun, 1 Moon, 2..9 Mercury..Pluto, 10 Chiron, 18 Black Moon,
// 21 White Moon (any point 0..29 has a position). Moments are Julian days of Universal Time.
#pragma once

#include "astro/ephemeris/ephemeris.h"
#include "astro/ephemeris/time_scales.h"
#include "forecast/core/crossing_search.h"

// One search call's settings, filled by the caller.
struct TransitSearchContext {
  const Ephemeris& ephemeris;
  double alpha = 0.0;  // the aspect offset, degrees, added to the target's longitude
  int precision = 1;   // P: 1 high, 5 medium, 10 low; below 1 counts as 1
  LunarVariant lunarPoints = LunarVariant::True;  // the variant of the nodes and the Black Moon
  // How a moving target's slower body is taken while the search approaches (crossing_search.h);
  // the direct way only to check the fitted one.
  TargetTrack track = TargetTrack::Fitted;
};

struct TransitResult {
  // 1 found; 0 none within the window, or a pair or aspect refused; -1 (MovingPairNextTransit
  // only) a faster body that no member serves.
  int status = 0;
  // The first moment past the exact aspect (on the far side of it), within the tolerance.
  JdUt moment{0.0};
  int evaluations = 0;  // ephemeris positions computed
};

// Fixed targets: the target is natalLongitude + alpha. An absent (-777.0) natal longitude finds
// nothing. The moment is solved to one second of time, whatever the body's speed. The Sun, the
// Moon, the Black Moon and the White Moon...
TransitResult DirectBodyNextTransit(const TransitSearchContext& context, int body,
                                    double natalLongitude, JdUt start, JdUt end);
// ...and every other body, stations and retrograde recrossings included.
TransitResult PlanetNextTransit(const TransitSearchContext& context, int body,
                                double natalLongitude, JdUt start, JdUt end);

// Moving targets: the moving body `a` reaches the longitude of `b` plus alpha.
// The Sun (0), the Black Moon (18) or the White Moon (21) to a slower body; refused: the Sun with
// the Moon, Mercury or Venus; the White Moon with bodies below 6 or 11..15; the Black Moon with
// bodies up to 6, 11..15 and the White Moon. P/1440 degree (Sun), P/420 (lunar points), or P
// minutes.
TransitResult FastPointNextTransit(const TransitSearchContext& context, int a, int b, JdUt start,
                                   JdUt end);
// The Sun to Mercury (p = 2) or Venus (3) plus alpha. Alpha beyond the greatest elongation
// (29..331 degrees for Mercury, 48..312 for Venus, inclusive) is refused at once. P/600 degree,
// or P x 24 seconds.
TransitResult Sun2MercuryOrVenusNextTransit(const TransitSearchContext& context, int p, JdUt start,
                                            JdUt end);
// Mercury to Venus plus alpha; only alpha below 90 or above 270 degrees. Bracketed to P minutes.
TransitResult Mercury2VenusNextTransit(const TransitSearchContext& context, JdUt start, JdUt end);
// Mercury (2) or Venus (3) to a slower body b (Mars and beyond; the Sun, the Moon and the other
// inner planet are refused). Bracketed to P minutes.
TransitResult MercuryOrVenusNextTransit(const TransitSearchContext& context, int p, int b,
                                        JdUt start, JdUt end);
// Mars to a slower body b (5 and above). P/600 degree, or P minutes, as the next two.
TransitResult Mars2PlanetNextTransit(const TransitSearchContext& context, int b, JdUt start,
                                     JdUt end);
// Jupiter .. Chiron (a = 5..10) to another body b.
TransitResult OuterPlanetNextTransit(const TransitSearchContext& context, int a, int b, JdUt start,
                                     JdUt end);
// The Black Moon to Jupiter or Saturn, the White Moon to Jupiter.
TransitResult LunarPointNextTransit(const TransitSearchContext& context, int a, int b, JdUt start,
                                    JdUt end);
