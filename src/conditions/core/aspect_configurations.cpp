#include "conditions/core/aspect_configurations.h"

#include <initializer_list>

namespace {

AspectConfiguration Row(std::initializer_list<double> angles, int apex, int withOppositions) {
  AspectConfiguration row;
  row.members = static_cast<int>(angles.size());
  int i = 0;
  for (const double a : angles) row.angles[static_cast<std::size_t>(i++)] = a;
  row.apex = apex;
  row.withOppositions = withOppositions;
  return row;
}

}  // namespace

void BuildConfigurationTable(ConfigurationTable& table) {
  table = {
      Row({120, 120, 120}, 0, 0),           // 0 grand trine
      Row({90, 90, 180}, 1, 0),             // 1 T-square
      Row({90, 90, 90, 90}, 0, 1),          // 2 grand cross with oppositions
      Row({90, 90, 90, 90}, 0, 0),          // 3 grand cross, any
      Row({60, 60, 60, 60, 60, 60}, 0, 1),  // 4 six-pointed star with oppositions
      Row({60, 60, 60, 60, 60, 60}, 0, 0),  // 5 six-pointed star, any
      Row({120, 60, 120, 60}, 0, 1),        // 6 synthetic rectangle with oppositions
      Row({120, 60, 120, 60}, 0, 0),        // 7 synthetic rectangle, any
      Row({120, 120, 60, 60}, 0, 1),        // 8
      Row({120, 120, 60, 60}, 0, 0),        // 9
      Row({120, 60, 180}, 1, 0),            // 10 synthetic triangle
      Row({150, 150, 60}, 1, 0),            // 11
      Row({60, 60, 120}, 1, 0),             // 12 bisextile
      Row({45, 45, 90}, 1, 0),              // 13
      Row({135, 135, 90}, 1, 0),            // 14
      Row({135, 45, 180}, 1, 0),            // 15
      Row({36, 36, 72}, 1, 0),              // 16
      Row({72, 72, 144}, 1, 0),             // 17
      Row({144, 144, 72}, 1, 0),            // 18
      Row({72, 72, 72, 72, 72}, 1, 0),      // 19 wreath
      Row({150, 150, 30, 30}, 0, 1),        // 20
      Row({150, 150, 30, 30}, 0, 0),        // 21
      Row({150, 30, 150, 30}, 0, 1),        // 22
      Row({150, 30, 150, 30}, 0, 0),        // 23
      Row({100, 100, 80, 80}, 0, 1),        // 24
      Row({100, 100, 80, 80}, 0, 0),        // 25
      Row({100, 80, 100, 80}, 0, 1),        // 26
      Row({100, 80, 100, 80}, 0, 0),        // 27
      Row({108, 108, 72, 72}, 0, 1),        // 28
      Row({108, 108, 72, 72}, 0, 0),        // 29
      Row({108, 72, 108, 72}, 0, 1),        // 30
      Row({108, 72, 108, 72}, 0, 0),        // 31
      Row({135, 135, 45, 45}, 0, 1),        // 32
      Row({135, 135, 45, 45}, 0, 0),        // 33
      Row({135, 45, 135, 45}, 0, 1),        // 34
      Row({135, 45, 135, 45}, 0, 0),        // 35
      Row({40, 40, 80}, 1, 0),              // 36
      Row({120, 90, 150}, 0, 0),            // 37
      Row({20, 20, 40}, 1, 0),              // 38
      Row({30, 30, 60}, 1, 0),              // 39
      Row({150, 135, 72}, 0, 0),            // 40 (does not close: 357 degrees)
      Row({180, 108, 72}, 0, 0),            // 41
  };
}
