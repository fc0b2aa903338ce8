#include "platform/qt/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "foundation/numbers/vector_state.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/doc_template.h"
#include "platform/qt/document.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/view.h"

namespace platform {

QRect MainFrame::OpeningGeometry(QSize wanted, const QRect& available) {
  const QRect room = available.marginsRemoved(kWindowFrame);
  const QSize size = wanted.boundedTo(room.size()).expandedTo(QSize(1, 1));
  return QRect(room.topLeft() +
                   QPoint((room.width() - size.width()) / 2, (room.height() - size.height()) / 2),
               size);
}

void MainFrame::OpenAt(QSize wanted) {
  const QScreen* on = screen();
  if (on == nullptr) {
    resize(wanted);
    return;
  }
  const QRect client = OpeningGeometry(wanted, on->availableGeometry());
  resize(client.size());
  // move() places the frame, decorations included.
  move(client.topLeft() - QPoint(kWindowFrame.left(), kWindowFrame.top()));
}

MainFrame::MainFrame(DocManager& documents, CommandTable table, QWidget* parent)
    : QMainWindow(parent),
      documents_(documents),
      table_(std::move(table)),
      area_(new QMdiArea(this)) {
  const QFont font(TextFaceFamily(), 9);
  setFont(font);
  menuBar()->setFont(font);
  setCentralWidget(area_);
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  documents_.SetMdiArea(area_);

  for (const CommandDef& def : table_.commands) actions_[def.id] = MakeAction(def);

  for (const MenuDef& menuDef : table_.menus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuDef.title));
    menu->setFont(font);
    menus_.push_back(menu);
    bool hasWindowList = false;
    for (int entry : menuDef.entries) {
      if (entry == kMenuSeparator) {
        menu->addSeparator();
      } else if (entry == kMenuRecentFiles) {
        recentMenu_ = menu;
        recentAnchor_ = menu->addSeparator();
      } else if (entry == kMenuWindowList) {
        hasWindowList = true;
      } else if (QAction* action = Action(entry)) {
        menu->addAction(action);
      }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu, hasWindowList] {
      UpdateCommandStates();
      if (hasWindowList) FillWindowList(menu);
    });
  }

  toolbar_ = addToolBar(QStringLiteral("Панель инструментов"));
  toolbar_->setObjectName(QStringLiteral("toolbar"));
  toolbar_->setFont(font);
  toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (const CommandDef& def : table_.commands) {
    if (def.toolbar) toolbar_->addAction(Action(def.id));
  }
  statusBar()->setFont(font);
  statusBar()->showMessage(QStringLiteral("Готово"));

  connect(area_, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandStates(); });
  // The toolbar and the accelerators follow the states while no menu is open, as at idle time.
  auto* idle = new QTimer(this);
  connect(idle, &QTimer::timeout, this, [this] { UpdateCommandStates(); });
  idle->start(kIdleUpdateMilliseconds);
  UpdateCommandStates();
}

MainFrame::~MainFrame() { documents_.SetMdiArea(nullptr); }

QAction* MainFrame::MakeAction(const CommandDef& def) {
  auto* action = new QAction(QString::fromUtf8(def.text), this);
  if (def.shortcut != nullptr && *def.shortcut != '\0') {
    // Window context: the accelerators act in the main window, never inside a modal dialog.
    action->setShortcut(QKeySequence(QString::fromUtf8(def.shortcut)));
  }
  QString prompt = def.prompt != nullptr && *def.prompt != '\0' ? QString::fromUtf8(def.prompt)
                                                                : QString::fromUtf8(def.text);
  action->setStatusTip(prompt.remove(QLatin1Char('&')));
  const int id = def.id;
  connect(action, &QAction::triggered, this, [this, id] {
    ExecuteCommand(id);
    UpdateCommandStates();
  });
  return action;
}

ChildFrame* MainFrame::ActiveFrame() const {
  return qobject_cast<ChildFrame*>(area_->currentSubWindow());
}

View* MainFrame::GetActiveView() const {
  ChildFrame* frame = ActiveFrame();
  return frame != nullptr ? frame->GetView() : nullptr;
}

Document* MainFrame::GetActiveDocument() const {
  View* view = GetActiveView();
  return view != nullptr ? view->GetDocument() : nullptr;
}

std::vector<CommandTarget*> MainFrame::Route() const {
  View* view = GetActiveView();
  Document* document = view != nullptr ? view->GetDocument() : nullptr;
  return {view, document, const_cast<MainFrame*>(this), application_};
}

bool MainFrame::ExecuteCommand(int id) {
  // Every command starts with this thread's vector registers as the window's painting left them.
  CleanVectorState();
  const bool ran = RouteCommand(Route(), id);
  if (ran && afterCommand_) afterCommand_();
  return ran;
}

CommandState MainFrame::StateOf(int id) const { return RouteUpdate(Route(), id); }

void MainFrame::UpdateCommandStates() {
  const std::vector<CommandTarget*> route = Route();
  for (const auto& [id, action] : actions_) {
    const CommandState state = RouteUpdate(route, id);
    action->setEnabled(state.enabled);
    action->setCheckable(state.checked || action->isCheckable());
    action->setChecked(state.checked);
  }
  for (QAction* action : recentActions_) {
    action->setEnabled(RouteUpdate(route, action->data().toInt()).enabled);
  }
}

QAction* MainFrame::Action(int id) const {
  const auto found = actions_.find(id);
  return found != actions_.end() ? found->second : nullptr;
}

QMenu* MainFrame::Menu(const QString& title) const {
  for (QMenu* menu : menus_) {
    if (menu->title() == title) return menu;
  }
  return nullptr;
}

void MainFrame::SetRecentFiles(const std::vector<std::string>& paths) {
  for (QAction* action : recentActions_) delete action;
  recentActions_.clear();
  if (recentMenu_ == nullptr) return;
  for (std::size_t i = 0; i < paths.size() && i < kRecentFileCount; ++i) {
    const QString path = PathToQt(paths[i]);
    auto* action =
        new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this);
    action->setStatusTip(path);
    const int id = kRecentFileFirst + static_cast<int>(i);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    recentMenu_->insertAction(recentAnchor_, action);
    recentActions_.push_back(action);
  }
}

void MainFrame::FillWindowList(QMenu* menu) {
  for (QAction* action : windowActions_) delete action;
  windowActions_.clear();
  const QList<QMdiSubWindow*> windows = area_->subWindowList();
  if (windows.isEmpty()) return;
  windowActions_.push_back(menu->addSeparator());
  int n = 0;
  for (QMdiSubWindow* window : windows) {
    auto* action = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(window->windowTitle()));
    action->setCheckable(true);
    action->setChecked(window == area_->currentSubWindow());
    connect(action, &QAction::triggered, this,
            [this, window] { area_->setActiveSubWindow(window); });
    windowActions_.push_back(action);
  }
}

void MainFrame::closeEvent(QCloseEvent* event) {
  // The program does not end under a running computation: its documents are in use.
  if (DPROGRESSBAR::AnyRunning() || !OnCloseRequest()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

}  // namespace platform
