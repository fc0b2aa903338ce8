#include "shell/main_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QStyle>
#include <algorithm>
#include <string>

#include "document/command_ids.h"
#include "document/command_table.h"
#include "foundation/text/cp1251.h"
#include "platform/core/prompter.h"
#include "platform/qt/view.h"
#include "shell/kovra_app.h"

namespace {

// "Каскадом": every window not minimised is shown normal at three quarters of the area (never
// below its own minimum, never beyond the area), each one a title bar lower and further right than
// the one below it, starting again at the corner where the next would leave the area. The active
// window ends on top.
void CascadeWindows(QMdiArea& area) {
  const QSize room = area.viewport()->size();
  int k = 0;
  for (QMdiSubWindow* frame : area.subWindowList(QMdiArea::StackingOrder)) {
    if (frame->isMinimized() || frame->isHidden()) continue;
    if (frame->isMaximized()) frame->showNormal();
    const int step = std::max(16, frame->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4);
    const QSize size = QSize(room.width() * 3 / 4, room.height() * 3 / 4)
                           .expandedTo(frame->minimumSize())
                           .boundedTo(room);
    const int places = 1 + std::max(0, std::min((room.width() - size.width()) / step,
                                                (room.height() - size.height()) / step));
    const int offset = (k++ % places) * step;
    frame->setGeometry(offset, offset, size.width(), size.height());
    frame->raise();
  }
  if (QMdiSubWindow* active = area.activeSubWindow()) active->raise();
}

}  // namespace

CMainFrame::CMainFrame(CKovraApp& app)
    : platform::MainFrame(app.Documents(), KovraCommandTable()), app_(app) {
  setWindowTitle(QStringLiteral("Velm"));
  // 1100 x 800 where the screen has the room, else as much as its free area holds.
  OpenAt(QSize(1100, 800));
  SetApplicationTarget(&app);
  RegisterCommands();
  UpdateCommandStates();
}

int CMainFrame::ActiveHelpContext() const {
  const platform::View* view = GetActiveView();
  const int context = view != nullptr ? view->HelpContext() : 0;
  return context != 0 ? context : kHelpContext;
}

void CMainFrame::RegisterCommands() {
  for (int kind = 0; kind <= cmd::kNewChartLast - cmd::kNewChartFirst; ++kind)
    OnCommand(cmd::NewChart(kind), [this, kind] { app_.NewChart(kind); });

  OnCommand(
      cmd::kFileClose,
      [this] {
        if (QMdiSubWindow* frame = MdiArea()->currentSubWindow()) frame->close();
      },
      [this](platform::CommandState& state) {
        state.enabled = MdiArea()->currentSubWindow() != nullptr;
      });
  OnCommand(cmd::kAppExit, [this] { close(); });

  OnCommand(cmd::kWindowCascade, [this] { CascadeWindows(*MdiArea()); });
  OnCommand(cmd::kWindowTileHorz, [this] { MdiArea()->tileSubWindows(); });
  OnCommand(cmd::kWindowArrange, [this] {
    for (QMdiSubWindow* frame : MdiArea()->subWindowList()) {
      if (frame->isMinimized()) frame->showMinimized();
    }
  });

  // The help file lies outside the program: F1 names the help context of the active window.
  OnCommand(cmd::kHelp, [this] {
    const std::string text = Cp1251("Раздел справки ") + std::to_string(ActiveHelpContext());
    platform::GetPrompter().ShowMessage(platform::kNoMessage, text, platform::Icon::Information);
  });
  OnCommand(cmd::kAppAbout, [this] {
    QMessageBox::about(this, QStringLiteral("О программе"),
                       QStringLiteral("Velm\nАстрологическая рабочая станция"));
  });
  // The commands the subsystems registered for the main window.
  app_.AddRegisteredCommands(*this);
}

bool CMainFrame::OnCloseRequest() {
  // The session written now reaches the disk together with the files ExitInstance writes.
  app_.BeginExitWrites();
  app_.CloseAllAndSaveSession();
  return true;
}
