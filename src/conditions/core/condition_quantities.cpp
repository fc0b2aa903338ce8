// The condition kinds that compare a value of the chart with the numbers or the text of the
// condition: MORE/LESS, INTERV, BEFORE/AFTER and CONTEXT.
#include <cmath>
#include <optional>
#include <string>

#include "archive/store/archive.h"
#include "astro/chart/chart.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/condition_eval_internal.h"
#include "conditions/core/quantity_values.h"
#include "foundation/datetime/fdate.h"
#include "foundation/numbers/angles.h"
#include "foundation/text/text_helpers.h"

namespace condeval {

namespace {

constexpr int kCommentPages = 10;
constexpr int kEveryCommentPage = 10;

// The Source that holds the chart's birth data, as the archive names and dates its records.
const Source& BirthSource(const Chart& chart) {
  const Source* base = chart.definition.GetBaseSource();
  return base ? *base : chart.definition.sources[0];
}

// The number a bound stands for, in the units of the chart's value; none for a whole date that
// does not exist.
std::optional<double> BoundValue(int quantity, int mode, const QuantityBound& b) {
  const double degrees = b.first + b.second / 60.0;
  switch (quantity) {
    case kQuantityLongitude:
      // An absolute longitude of degrees 0..359 plus a sign is taken round the circle.
      return mode == kModeInSign ? degrees : Wrap360(degrees + b.sign * 30.0);
    case kQuantityDate: {
      if (mode == kDateDayMonth) return b.first + 100.0 * b.second;
      if (mode == kDateDayOnly) return b.first;
      FDate date;
      if (!date.SetDate(b.first, b.second, b.third, b.flag != 0 ? 'A' : 'B').ok())
        return std::nullopt;
      return static_cast<double>(date.DayNumber());
    }
    case kQuantityTime:
      return degrees;
    case kQuantityLatitude:
    case kQuantityLongitudeGeo:
    case kQuantitySpeed:
    case kQuantityEclipticLat:
      return b.flag == 1 ? -degrees : degrees;
    default:
      return std::nullopt;
  }
}

// The chart's value of a quantity of the birth data: the date as a Julian day number (or day +
// 100 x month, or the day), the time of day in hours, the latitude and longitude signed north and
// east.
std::optional<double> BirthValue(const Chart& chart, int quantity, int mode) {
  const Source& s = BirthSource(chart);
  const FDate& date = s.moment.date;
  switch (quantity) {
    case kQuantityDate:
      if (mode == kDateDayMonth) return date.Day() + 100.0 * date.Month();
      if (mode == kDateDayOnly) return date.Day();
      return static_cast<double>(date.DayNumber());
    case kQuantityTime:
      return s.moment.time.GetHours();
    case kQuantityLatitude:
      return s.place.LatitudeDeg();
    case kQuantityLongitudeGeo:
      return s.place.EastLongitudeDeg();
    default:
      return std::nullopt;
  }
}

// The value of one member of the object: its longitude (within its sign in the sign mode), or
// the speed or ecliptic latitude of its chart point. None for an absent member.
std::optional<double> MemberValue(const Chart& chart, const Placed& m, int quantity, int mode) {
  if (quantity == kQuantityLongitude) {
    if (IsAbsent(m.position)) return std::nullopt;
    const double longitude = NormalizeDegrees(m.position);
    return mode == kModeInSign ? std::fmod(longitude, 30.0) : longitude;
  }
  if (m.point < 0 || !chart.GetPointLongitude(m.point).IsSet()) return std::nullopt;
  const PointRecord& p = chart.points[static_cast<std::size_t>(m.point)];
  return quantity == kQuantitySpeed ? p.speed : p.latitude;
}

// The quantifier over the members: under each every member must pass (an empty group does),
// under one-of one member suffices.
template <typename Test>
bool Quantified(char quantifier, const std::vector<Placed>& members, Test test) {
  if (quantifier == 'A') {
    for (const Placed& m : members)
      if (!test(m)) return false;
    return true;
  }
  for (const Placed& m : members)
    if (test(m)) return true;
  return false;
}

// The value test of a comparison or an interval, applied to the chart's value or, for the
// quantities of an object, to each member under the object's quantifier. -1 when the object's
// group is not found and `missingIsError`, else 0 for it.
template <typename Test>
int DecideValues(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                 const QueryCondition& c, bool missingIsError, Test test) {
  const int quantity = c.w[3], mode = c.w[15];
  if (!IsObjectQuantity(quantity)) {
    const std::optional<double> value = BirthValue(chart, quantity, mode);
    return value && test(*value) ? 1 : 0;
  }
  const Members members = Resolve(set, c.w[2], c.text1);
  if (!members.found) return missingIsError ? -1 : 0;
  const std::vector<Placed> placed = PlaceMembers(chart, ctx.Config(), c, members);
  return Quantified(members.quantifier, placed,
                    [&](const Placed& m) {
                      const std::optional<double> value = MemberValue(chart, m, quantity, mode);
                      return value && test(*value);
                    })
             ? 1
             : 0;
}

// The searched text or a field made ready for comparison: the stand-in 0x04 turned into blanks,
// trailing blanks cut, upper-cased unless the letter case counts, blanks removed when asked.
std::string Prepared(std::string text, const QueryCondition& c) {
  ReplaceChar(text, kBlankInText, ' ');
  TrimRight(text);
  if (c.w[12] == 0) StringToUpper(text);
  if (c.w[11] == 1) RemoveAllBlanks(text);
  return text;
}

// True when the field holds the searched text: as a part of it with the partial flag, otherwise
// as the whole field (a longer field that contains the text does not hold it).
bool FieldHolds(const std::string& field, const std::string& text, const QueryCondition& c) {
  const std::string prepared = Prepared(field, c);
  return c.w[13] == 1 ? prepared.find(text) != std::string::npos : prepared == text;
}

// The answer for a text found or not: present (word 3 = 0) or absent (1 and 2).
int ContextAnswer(bool found, const QueryCondition& c) { return (c.w[3] == 0) == found ? 1 : 0; }

}  // namespace

int QueryConditionMoreLess(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                           const QueryCondition& c) {
  const std::optional<double> threshold = BoundValue(c.w[3], c.w[15], FirstBound(c));
  if (!threshold) return 0;
  const bool more = c.w[4] == 0;
  return DecideValues(set, ctx, chart, c, true,
                      [&](double value) { return more ? value > *threshold : value < *threshold; });
}

int QueryConditionInterval(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                           const QueryCondition& c) {
  const int order = IntervalBoundsInOrder(c);
  if (order != 0 && order != 1) return 0;
  // A sign group has no value of its own to lie in an interval.
  if (IsObjectQuantity(c.w[3]) && IsSignGroupCode(c.w[2])) return 0;
  const std::optional<double> lower = BoundValue(c.w[3], c.w[15], FirstBound(c));
  const std::optional<double> upper = BoundValue(c.w[3], c.w[15], SecondBound(c));
  if (!lower || !upper) return 0;
  const bool lowerIncluded = (c.w[4] & 1) != 0, upperIncluded = (c.w[4] & 2) != 0;
  return DecideValues(set, ctx, chart, c, false, [&](double value) {
    const bool aboveLower = value > *lower || (lowerIncluded && value == *lower);
    const bool belowUpper = value < *upper || (upperIncluded && value == *upper);
    // A wrapped interval (350 to 10 degrees) holds beyond its first bound or below its second.
    return order == 1 ? aboveLower && belowUpper : aboveLower || belowUpper;
  });
}

int QueryConditionBeforeAfter(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                              const QueryCondition& c) {
  const Members first = Resolve(set, c.w[2], c.text1);
  const Members second = Resolve(set, c.w[3], c.text2);
  if (!first.found || !second.found) return 0;
  const Configuration& config = ctx.Config();
  const std::vector<Placed> as = PlaceMembers(chart, config, c, first);
  const double arc = c.w[11] + c.w[12] / 60.0 + kOrbMargin;
  const bool before = c.w[4] == 0;
  for (const Placed& b : PlaceMembers(chart, config, c, second)) {
    if (IsAbsent(b.position)) continue;
    const bool holds = Quantified(first.quantifier, as, [&](const Placed& a) {
      if (IsAbsent(a.position)) return false;
      // The distance forward from the first object to the second (before), or back (after).
      const double distance = Wrap360(before ? b.position - a.position : a.position - b.position);
      return distance <= arc;
    });
    if (holds) return 1;
  }
  return 0;
}

int QueryConditionContext(const CFunc& set, const Chart& chart, const QueryCondition& c,
                          int record) {
  const int where = c.w[2];
  if (where == 3) {
    const int page = c.w[4];
    if (page == kEveryCommentPage) {
      // A chart without a record has no comment at all: only "absent or no comment" holds.
      if (record < 0) return c.w[3] == 2 ? 1 : 0;
      for (int k = 0; k < kCommentPages; ++k)
        if (set.CheckContextInComment(k, record, c) == 1) return c.w[3] == 0 ? 1 : 0;
      return c.w[3] != 0 ? 1 : 0;
    }
    const int found = set.CheckContextInComment(page, record, c);
    if (found < 0) return c.w[3] == 2 ? 1 : 0;
    return ContextAnswer(found == 1, c);
  }
  const std::string text = Prepared(c.text1, c);
  const Source& s = BirthSource(chart);
  bool found = false;
  switch (where) {
    case 0:
      found = FieldHolds(s.Name(), text, c);
      break;
    case 1:
      found = FieldHolds(chart.definition.Title(), text, c);
      break;
    case 2:
      // The place: its coordinates as shown, its town or its region.
      found = FieldHolds(s.place.CoordText(), text, c) || FieldHolds(s.place.Town(), text, c) ||
              FieldHolds(s.place.Region(), text, c);
      break;
    default:
      return 0;
  }
  return ContextAnswer(found, c);
}

}  // namespace condeval

int CFunc::CheckContextInComment(int page, int record, const QueryCondition& condition) const {
  if (!commentTexts_ || record < 0 || page < 0 || page >= condeval::kCommentPages) return -1;
  std::string text;
  // Read under the archive's lock the query run holds, of the file its list describes.
  if (commentTexts_->Read(record, page, text) != 0) return -1;
  return condeval::FieldHolds(text, condeval::Prepared(condition.text1, condition), condition) ? 1
                                                                                               : 0;
}
