// The program's main window: the commands of the main frame (new charts of the ten kinds, the
// window arrangement, help) and the shut-down when it closes.
#pragma once

#include "platform/qt/main_frame.h"

class CKovraApp;

class CMainFrame : public platform::MainFrame {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131200;

  explicit CMainFrame(CKovraApp& app);

  // The help context of the active view, or the main frame's own.
  int ActiveHelpContext() const;

 protected:
  bool OnCloseRequest() override;

 private:
  void RegisterCommands();

  CKovraApp& app_;
};
