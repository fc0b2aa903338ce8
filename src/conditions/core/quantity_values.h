// The values of comparison and interval conditions (kinds MORE/LESS and INTERV): the quantities,
// the bounds as the record holds them, the check of a bound's values and the order of the two
// bounds of an interval. Shared by the condition pages and the evaluator.
#pragma once

#include "conditions/core/query_condition.h"

// The compared quantity (word 3).
enum ConditionQuantity : int {
  kQuantityLongitude = 0,  // ecliptic longitude of the object
  kQuantityDate = 1,       // birth date
  kQuantityTime = 2,       // birth time
  kQuantityLatitude = 3,   // geographic latitude
  kQuantityLongitudeGeo = 4,
  kQuantitySpeed = 5,        // speed of the object
  kQuantityEclipticLat = 6,  // ecliptic latitude of the object
};

// True for the quantities that belong to an object (word 2): longitude, speed, ecliptic latitude.
inline constexpr bool IsObjectQuantity(int quantity) {
  return quantity == kQuantityLongitude || quantity == kQuantitySpeed ||
         quantity == kQuantityEclipticLat;
}

// Modes (word 15): of a longitude 0 absolute, 1 within its sign; of a date 0 whole, 1 day and
// month, 2 day only.
inline constexpr int kModeAbsolute = 0;
inline constexpr int kModeInSign = 1;
inline constexpr int kDateWhole = 0;
inline constexpr int kDateDayMonth = 1;
inline constexpr int kDateDayOnly = 2;

// One bound: three numbers (degrees, day or hours; minutes or month; year), the flag (date: 1 AD,
// 0 BC; latitudes: 1 south; longitude: 1 west; speed: 1 negative) and the sign of an absolute
// longitude.
struct QuantityBound {
  int first = 0;
  int second = 0;
  int third = 0;
  int flag = 0;
  int sign = 0;
};

// The threshold of MORE/LESS and the first ("from") bound of INTERV: words 11, 12, 13, 14, 16.
QuantityBound FirstBound(const QueryCondition& c);
// The second ("to") bound of INTERV: words 8, 9, 10, 17, 18.
QuantityBound SecondBound(const QueryCondition& c);

// The check of a bound's values for a quantity and mode: 0 when they are accepted, else the
// message that refuses them (655 a whole date that does not exist, 656 month, 657 day, 658
// coordinate, 659 time, 660 geographic or ecliptic coordinate, 846 speed). An unknown quantity is
// refused with 658.
int CheckQuantityValues(int quantity, int mode, const QuantityBound& bound);

// The order of the bounds of an INTERV record (quantity word 3, mode word 15): 1 when the first
// bound does not lie beyond the second, 0 when the interval wraps past its end (350 to 10
// degrees, 23:00 to 01:00); -1 for an unknown quantity. Speeds are always in order. Absolute
// longitudes are taken modulo 360 degrees, whole dates in calendar order across the eras.
int IntervalBoundsInOrder(const QueryCondition& c);
