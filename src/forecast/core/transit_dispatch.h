// The choice of the search by the bodies of a pair, as the transit calculation makes it, and the
// list of every transit to a fixed longitude within a period (the evaluation tool's question).
#pragma once

#include <vector>

#include "forecast/core/transit_search.h"

// A body to a natal point or cusp: the Sun, the Moon, the Black Moon and the White Moon by
// DirectBodyNextTransit, every other body by PlanetNextTransit.
TransitResult NatalTargetNextTransit(const TransitSearchContext& context, int body,
                                     double natalLongitude, JdUt start, JdUt end);

// The faster of two moving bodies: the shorter period of revolution; on equal periods `a`.
int FasterBody(int a, int b);

// The faster of a moving pair as the transit calculation searches and lists it: Mercury and Venus
// have the Sun's mean period of a year, so each is the faster against the Sun, and Mercury against
// Venus; any other pair by FasterBody.
int SearchFasterBody(int a, int b);

// After an event of a pair, the pair's next search starts this many days later.
inline constexpr double kNextSearchDays = 0.5;

// Two moving bodies, by the faster one (alpha is added to the slower one's longitude): the Sun
// by FastPointNextTransit; Mercury with the Sun, with Venus, or else with a slower body; Venus
// with the Sun or else a slower body; Mars; Jupiter .. Chiron; the Black Moon with Jupiter or
// Saturn, else FastPoint; the White Moon with Jupiter, else FastPoint. Status -1 for a faster body
// outside this table: the Moon, which the lunar aspect search serves, and any other point.
// The body whose longitude MovingPairNextTransit finds at the other's plus alpha: the faster one,
// but the Sun against Mercury or Venus (their members measure the Sun from the planet).
int MovingPairMeasuredBody(int faster, int slower);

TransitResult MovingPairNextTransit(const TransitSearchContext& context, int faster, int slower,
                                    JdUt start, JdUt end);

// Every moment within [start, end] at which `body` stands at targetLongitude + angle or at
// targetLongitude - angle (once when the two are the same longitude), in time order, with the
// precision of the natal-target searches (one second of time). Each search starts at the moment
// the previous one reported, which already lies past its crossing, so none is found twice. Empty
// when the target is absent or the body has no position (outside 0..29).
std::vector<JdUt> FixedTargetTransitMoments(const Ephemeris& ephemeris, LunarVariant lunarPoints,
                                            int body, double targetLongitude, double angle,
                                            JdUt start, JdUt end);

// Every moment within [start, end] at which the longitude of `body` minus that of `other` equals
// `angle` modulo 360, as the transit calculation lists the pair: searched by MovingPairNextTransit
// from the faster body (SearchFasterBody) at precision 1, each search after the first starting
// kNextSearchDays after the previous moment. Empty when the two are the same body, when either is
// not one of the moving bodies MovingPairNextTransit serves with the other (the Moon's aspects are
// the lunar aspect search's), or when the angle is not finite.
std::vector<JdUt> MovingPairTransitMoments(const Ephemeris& ephemeris, LunarVariant lunarPoints,
                                           int body, int other, double angle, JdUt start, JdUt end,
                                           TargetTrack track = TargetTrack::Fitted);
