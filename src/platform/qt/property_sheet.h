// Property sheets: pages on tabs in one modal dialog. A page checks its data when the user leaves
// it and when the sheet is closed with OK; a refused check keeps the sheet on that page.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/qt/dialog.h"

class QTabWidget;

namespace platform {

class PropertyPage : public QWidget {
  Q_OBJECT

 public:
  explicit PropertyPage(QWidget* parent = nullptr);
  // Members to controls (save false) or back (save true); false refuses.
  virtual bool DoDataExchange(bool save);
  // Leaving the page: the exchange by default.
  virtual bool OnKillActive() { return DoDataExchange(true); }
  // OK of the sheet, after every page's OnKillActive.
  virtual bool OnOK() { return true; }
  virtual void OnSetActive() { DoDataExchange(false); }
};

class PropertySheet : public Dialog {
  Q_OBJECT

 public:
  explicit PropertySheet(const QString& caption, QWidget* parent = nullptr);

  // Pages (not owned until shown; the sheet takes them as tabs).
  void AddPage(PropertyPage* page, const QString& title);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  PropertyPage* Page(int i) const { return pages_.at(static_cast<std::size_t>(i)); }
  int ActiveIndex() const;

  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;

 private:
  QTabWidget* tabs_;
  std::vector<PropertyPage*> pages_;
  int current_ = 0;
};

// Runs a settings sheet (OK and Cancel, no Apply) over a pending copy of the settings that the
// caller keeps: `make` builds the sheet on the pending values, and after OK `check` decides on the
// values entered (showing its own message when it refuses). A refusal shows a new sheet on the
// values as entered; Cancel ends the run with nothing committed; `commit` takes the pending values
// over only after a check accepted them. kIdOk or kIdCancel.
int RunSettingsSheet(const std::function<std::unique_ptr<PropertySheet>()>& make,
                     const std::function<bool(PropertySheet&)>& check,
                     const std::function<void()>& commit);

}  // namespace platform
