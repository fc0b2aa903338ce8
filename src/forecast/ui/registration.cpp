#include "forecast/ui/registration.h"

#include "document/ui_registry.h"

// No forecast view exists yet: the transit, lunar-transit and life-point sheets have no command
// of their own in the program until their views register here.
void RegisterForecastUi(UiRegistry&) {}
