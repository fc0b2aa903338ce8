#include "views/core/point_choice.h"

#include "foundation/config/configuration.h"

namespace {
constexpr int kNodeNorth = 16, kNodeSouth = 17;
}  // namespace

bool BodyChosen(int b, int bodies, bool nodes, const Configuration& config) {
  if ((b == kNodeNorth || b == kNodeSouth) && nodes) return true;
  switch (bodies) {
    case 1:
      return b <= 1;
    case 2:
      return b <= 9;
    case 3:
      return config.DisplayFlag(b) == 'Y';
    case 4:
      return true;
    default:
      return false;
  }
}

bool CuspChosen(int k, int houses) {
  switch (houses) {
    case 1:
      return k == 0;
    case 2:
      return k == 0 || k == 9;
    case 3:
      return k % 3 == 0;
    case 4:
      return true;
    default:
      return false;
  }
}

int SettingInRange(int v, int lo, int hi, int fallback) { return v < lo || v > hi ? fallback : v; }
