// The main window: the MDI area with the child frames, the menus, accelerators, toolbar and
// status-bar prompts built from one command table, and the routing of commands to the active
// view, its document, the main frame and the application.
#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/command_table.h"
#include "platform/qt/command_target.h"

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;

namespace platform {

class ChildFrame;
class DocManager;
class Document;
class View;

// The recent-file entries have the command numbers kRecentFileFirst .. kRecentFileFirst + 4.
inline constexpr int kRecentFileFirst = 57616;
inline constexpr int kRecentFileCount = 5;

class MainFrame : public QMainWindow, public CommandTarget {
  Q_OBJECT

 public:
  static constexpr int kIdleUpdateMilliseconds = 500;

  MainFrame(DocManager& documents, CommandTable table, QWidget* parent = nullptr);
  ~MainFrame() override;

  // The last target of the route (the application); not owned.
  void SetApplicationTarget(CommandTarget* application) { application_ = application; }

  QMdiArea* MdiArea() const { return area_; }
  ChildFrame* ActiveFrame() const;
  View* GetActiveView() const;
  Document* GetActiveDocument() const;

  // Runs a command along the route, then the after-command hook; false when no target runs it (or
  // it is disabled).
  bool ExecuteCommand(int id);
  // Run after every command the route ran (the application publishes its settings there).
  void SetAfterCommand(std::function<void()> hook) { afterCommand_ = std::move(hook); }
  CommandState StateOf(int id) const;
  // Renews the enabled and checked marks of every action (run before a menu opens).
  void UpdateCommandStates();

  // The decorations a window manager puts around a window (title bar and borders), as most draw
  // them; the real ones are known only once the window is shown.
  static constexpr QMargins kWindowFrame{8, 32, 8, 8};
  // Where a main window of client size `wanted` opens on a screen whose free area (without its
  // panels) is `available`: the client rectangle in screen coordinates, as large as `wanted` or as
  // the area holds with kWindowFrame around it, centred there.
  static QRect OpeningGeometry(QSize wanted, const QRect& available);
  // Sizes and places the window so on its screen.
  void OpenAt(QSize wanted);

  QAction* Action(int id) const;
  QMenu* Menu(const QString& title) const;
  QToolBar* ToolBar() const { return toolbar_; }
  const CommandTable& Table() const { return table_; }

  // The recent-file entries (paths as the OS gives them; at most five shown).
  void SetRecentFiles(const std::vector<std::string>& paths);

 protected:
  // Asked when the main window is about to close; false keeps it open.
  virtual bool OnCloseRequest() { return true; }
  void closeEvent(QCloseEvent* event) override;

 private:
  std::vector<CommandTarget*> Route() const;
  QAction* MakeAction(const CommandDef& def);
  void FillWindowList(QMenu* menu);

  DocManager& documents_;
  CommandTable table_;
  std::function<void()> afterCommand_;
  QMdiArea* area_;
  QToolBar* toolbar_ = nullptr;
  CommandTarget* application_ = nullptr;
  std::map<int, QAction*> actions_;
  std::vector<QMenu*> menus_;
  QMenu* recentMenu_ = nullptr;
  QAction* recentAnchor_ = nullptr;
  std::vector<QAction*> recentActions_;
  std::vector<QAction*> windowActions_;
};

}  // namespace platform
