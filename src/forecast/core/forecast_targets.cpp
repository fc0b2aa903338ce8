#include "forecast/core/forecast_targets.h"

#include "astro/aspects/aspect.h"
#include "astro/ephemeris/bodies.h"
#include "foundation/config/configuration.h"

namespace forecast {

bool TargetPointTaken(int pointChoice, bool withNodes, const Configuration& config, int i) {
  if (i == kNorthNode || i == kSouthNode) return withNodes;
  switch (pointChoice) {
    case 1:
      return i < 10;
    case 2:
      return config.DisplayFlag(i) != 'N';
    case 3:
      return true;
    default:
      return false;
  }
}

bool TargetHouseTaken(int houseChoice, int h) {
  switch (houseChoice) {
    case 1:
      return h == 0;
    case 2:
      return h == 9;
    case 3:
      return h % 3 == 0;
    case 4:
      return true;
    default:
      return false;
  }
}

bool TargetAspectTaken(int aspectChoice, const Aspect& aspect) {
  if (aspectChoice == 0) return ClassifyAspectAngle(aspect) == 0;
  if (aspectChoice == 1) return aspect.IsMajor();
  return true;
}

}  // namespace forecast
