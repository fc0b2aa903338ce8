#include "conditions/core/quantity_values.h"

#include "foundation/datetime/fdate.h"
#include "foundation/messages/message_numbers.h"

namespace {

bool In(int value, int low, int high) { return value >= low && value <= high; }

// Degrees 0..limit and minutes 0..59, the limit itself only with 0 minutes.
bool DegreesUpTo(const QuantityBound& b, int limit) {
  return In(b.first, 0, limit) && In(b.second, 0, 59) && !(b.first == limit && b.second > 0);
}

// The day of a date given without its year: 1..31, and not beyond the month when the month is
// one (February may have 29 days).
bool DayFitsMonth(int day, int month) {
  if (!In(day, 1, 31)) return false;
  if (month == 2) return day <= 29;
  if (month == 4 || month == 6 || month == 9 || month == 11) return day <= 30;
  return true;
}

// A whole date as one number in calendar order: before Christ the years count backwards.
long long ChronologicalKey(const QuantityBound& b) {
  const long long year = b.flag != 0 ? b.third : 1 - b.third;  // 1 BC is year 0
  return b.first + 40LL * (b.second + 12LL * year);
}

// Latitudes and longitudes: the second side ("S", "W") or, for an ecliptic latitude, the
// negative one, counts below the first.
int SideOrder(const QuantityBound& lower, const QuantityBound& upper) {
  const int lowerValue = lower.first * 60 + lower.second;
  const int upperValue = upper.first * 60 + upper.second;
  const bool lowerSecond = lower.flag == 1, upperSecond = upper.flag == 1;
  if (lowerSecond && !upperSecond) return 1;
  if (!lowerSecond && upperSecond) return 0;
  if (lowerSecond) return lowerValue >= upperValue ? 1 : 0;
  return lowerValue <= upperValue ? 1 : 0;
}

int InOrder(long long lower, long long upper) { return lower <= upper ? 1 : 0; }

}  // namespace

QuantityBound FirstBound(const QueryCondition& c) {
  return {c.w[11], c.w[12], c.w[13], c.w[14], c.w[16]};
}

QuantityBound SecondBound(const QueryCondition& c) {
  return {c.w[8], c.w[9], c.w[10], c.w[17], c.w[18]};
}

int CheckQuantityValues(int quantity, int mode, const QuantityBound& b) {
  switch (quantity) {
    case kQuantityLongitude:
      if (mode == kModeInSign) return DegreesUpTo(b, 30) ? 0 : kMsgBadCoordinateValue;
      return In(b.first, 0, 359) && In(b.second, 0, 59) ? 0 : kMsgBadCoordinateValue;
    case kQuantityDate:
      if (mode == kDateWhole)
        return DateFault(b.first, b.second, b.third, b.flag != 0 ? 'A' : 'B', true) == 0
                   ? 0
                   : kMsgBadDate;
      if (mode == kDateDayMonth) {
        if (!In(b.second, 1, 12)) return kMsgBadMonth;
        return DayFitsMonth(b.first, b.second) ? 0 : kMsgBadDay;
      }
      // Day only: the month, when the record holds one, still limits the day.
      return DayFitsMonth(b.first, In(b.second, 1, 12) ? b.second : 1) ? 0 : kMsgBadDay;
    case kQuantityTime:
      return In(b.first, 0, 23) && In(b.second, 0, 59) ? 0 : kMsgBadTime;
    case kQuantityLatitude:
    case kQuantityEclipticLat:
      return DegreesUpTo(b, 90) ? 0 : kMsgBadLatLong;
    case kQuantityLongitudeGeo:
      return DegreesUpTo(b, 180) ? 0 : kMsgBadLatLong;
    case kQuantitySpeed:
      return In(b.first, 0, 50) && In(b.second, 0, 59) ? 0 : kMsgBadSpeed;
    default:
      return kMsgBadCoordinateValue;
  }
}

int IntervalBoundsInOrder(const QueryCondition& c) {
  const QuantityBound lower = FirstBound(c), upper = SecondBound(c);
  const int mode = c.w[15];
  switch (c.w[3]) {
    case kQuantityLongitude: {
      if (mode == kModeInSign)
        return InOrder(lower.first * 60 + lower.second, upper.first * 60 + upper.second);
      constexpr long long kCircle = 360 * 60;
      const auto key = [](const QuantityBound& b) {
        const long long minutes = (b.sign * 30LL + b.first) * 60 + b.second;
        return ((minutes % kCircle) + kCircle) % kCircle;
      };
      return InOrder(key(lower), key(upper));
    }
    case kQuantityDate:
      if (mode == kDateWhole) return InOrder(ChronologicalKey(lower), ChronologicalKey(upper));
      if (mode == kDateDayMonth)
        return InOrder(lower.first + 40LL * lower.second, upper.first + 40LL * upper.second);
      return InOrder(lower.first, upper.first);
    case kQuantityTime:
      return InOrder(lower.first * 60 + lower.second, upper.first * 60 + upper.second);
    case kQuantityLatitude:
    case kQuantityLongitudeGeo:
    case kQuantityEclipticLat:
      return SideOrder(lower, upper);
    case kQuantitySpeed:
      return 1;
    default:
      return -1;
  }
}
