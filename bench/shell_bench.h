// The program started for a benchmark: every subsystem registered, the start-up dialog answered
// "nothing", no dialog left waiting for an answer.
#pragma once

#include <memory>

#include "app/subsystems.h"
#include "platform/qt/dialog.h"
#include "shell/kovra_app.h"
#include "shell/startup_dialogs.h"

namespace shell_bench {

// Null when the program did not start.
inline std::unique_ptr<CKovraApp> StartProgram(bool showWindow) {
  platform::ModalDriver::SetStrict(true);
  platform::ModalDriver::Expect<DStartup>([](DStartup& dialog) {
    dialog.choice = DStartup::kNothing;
    return platform::kIdOk;
  });
  auto app = std::make_unique<CKovraApp>();
  RegisterSubsystems(*app);
  StartOptions options;
  options.splash = false;
  options.showWindow = showWindow;
  if (!app->InitInstance(options)) return nullptr;
  return app;
}

}  // namespace shell_bench
