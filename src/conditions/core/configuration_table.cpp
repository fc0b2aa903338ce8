#include "conditions/core/configuration_table.h"

namespace {

struct Row {
  int members;
  std::array<double, ConfigurationRecord::kMaxMembers> angles;
  int apex;
  int withOppositions;
};

constexpr Row kRows[kConfigurationCount] = {
    {3, {120, 120, 120}, 0, 0},           // 0 grand trine
    {3, {90, 90, 180}, 1, 0},             // 1 T-square
    {4, {90, 90, 90, 90}, 0, 1},          // 2 grand cross with its oppositions
    {4, {90, 90, 90, 90}, 0, 0},          // 3 grand cross, any
    {6, {60, 60, 60, 60, 60, 60}, 0, 1},  // 4 hexagram with its oppositions
    {6, {60, 60, 60, 60, 60, 60}, 0, 0},  // 5 hexagram, any
    {4, {120, 60, 120, 60}, 0, 1},        // 6 mystic rectangle with its oppositions
    {4, {120, 60, 120, 60}, 0, 0},        // 7 mystic rectangle, any
    {4, {120, 120, 60, 60}, 0, 1},        // 8 kite: opposition and grand trine
    {4, {120, 120, 60, 60}, 0, 0},        // 9
    {3, {120, 60, 180}, 1, 0},            // 10
    {3, {150, 150, 60}, 1, 0},            // 11 yod
    {3, {60, 60, 120}, 1, 0},             // 12
    {3, {45, 45, 90}, 1, 0},              // 13
    {3, {135, 135, 90}, 1, 0},            // 14
    {3, {135, 45, 180}, 1, 0},            // 15
    {3, {36, 36, 72}, 1, 0},              // 16
    {3, {72, 72, 144}, 1, 0},             // 17
    {3, {144, 144, 72}, 1, 0},            // 18
    {5, {72, 72, 72, 72, 72}, 1, 0},      // 19
    {4, {150, 150, 30, 30}, 0, 1},        // 20
    {4, {150, 150, 30, 30}, 0, 0},        // 21
    {4, {150, 30, 150, 30}, 0, 1},        // 22
    {4, {150, 30, 150, 30}, 0, 0},        // 23
    {4, {100, 100, 80, 80}, 0, 1},        // 24
    {4, {100, 100, 80, 80}, 0, 0},        // 25
    {4, {100, 80, 100, 80}, 0, 1},        // 26
    {4, {100, 80, 100, 80}, 0, 0},        // 27
    {4, {108, 108, 72, 72}, 0, 1},        // 28
    {4, {108, 108, 72, 72}, 0, 0},        // 29
    {4, {108, 72, 108, 72}, 0, 1},        // 30
    {4, {108, 72, 108, 72}, 0, 0},        // 31
    {4, {135, 135, 45, 45}, 0, 1},        // 32
    {4, {135, 135, 45, 45}, 0, 0},        // 33
    {4, {135, 45, 135, 45}, 0, 1},        // 34
    {4, {135, 45, 135, 45}, 0, 0},        // 35
    {3, {40, 40, 80}, 1, 0},              // 36
    {3, {120, 90, 150}, 0, 0},            // 37
    {3, {20, 20, 40}, 1, 0},              // 38
    {3, {30, 30, 60}, 1, 0},              // 39
    {3, {150, 135, 72}, 0, 0},            // 40
    {3, {180, 108, 72}, 0, 0},            // 41
};

}  // namespace

void BuildConfigurationTable(ConfigurationTable& table) {
  for (int r = 0; r < kConfigurationCount; ++r) {
    const Row& row = kRows[r];
    ConfigurationRecord& record = table[static_cast<std::size_t>(r)];
    record.members = row.members;
    record.angles = row.angles;
    record.apex = row.apex;
    record.withOppositions = row.withOppositions;
  }
}
