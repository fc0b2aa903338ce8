#include "app/subsystems.h"

#include "archive/browser/registration.h"
#include "astrocarto/ui/registration.h"
#include "conditions/ui/registration.h"
#include "forecast/ui/registration.h"
#include "rectification/ui/registration.h"
#include "settings/ui/registration.h"
#include "views/ui/registration.h"

// A subsystem that adds a ui part adds its one line here.
void RegisterSubsystems(UiRegistry& registry) {
  RegisterSettingsUi(registry);
  RegisterViewsUi(registry);
  RegisterArchiveUi(registry);
  RegisterConditionsUi(registry);
  RegisterForecastUi(registry);
  RegisterRectificationUi(registry);
  RegisterAstroCartoUi(registry);
}
