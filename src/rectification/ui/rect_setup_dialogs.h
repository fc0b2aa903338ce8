// The set-up of the rectification by events: the calculation page DRectConf, the methods page
// DRectifMethods, the event dialog DRectEvent, the chart choice DRectChooseChart, the sheet that
// holds the two pages, and the command that runs the sheet and the score matrix.
#pragma once

#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/qt/dialog.h"
#include "platform/qt/property_sheet.h"
#include "rectification/core/rect_matrix.h"
#include "rectification/core/rect_setup_pages.h"
#include "rectification/ui/checked_sheet.h"

class Aspectarium;
class Chart;
class Configuration;
class CRectEventsListBox;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Chooses the members of the event: `mode` 0 the 30 planet marks, 1 the 12 house marks ('Y'
// chosen), edited in place through the member chooser DPlanHouseSelect; false when cancelled.
bool ChooseRectMembers(int mode, std::string& marks, QWidget* parent);

class DRectEvent : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 225;
  explicit DRectEvent(const RectEventPage& page, QWidget* parent = nullptr);

  RectEventPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;
  bool CheckOk() override;
  void ChoosePlanets();
  void ChooseHouses();

  QSpinBox* DayBox() const { return day_; }
  QSpinBox* MonthBox() const { return month_; }
  QSpinBox* YearBox() const { return year_; }
  QLineEdit* TextBox() const { return text_; }
  QPushButton* PlanetButton() const { return planets_; }

 private:
  RectEventPage page_;
  QSpinBox* day_;
  QSpinBox* month_;
  QSpinBox* year_;
  QLineEdit* text_;
  QPushButton* planets_;
  QPushButton* houses_;
  QWidget* marks_;
};

// The event commands the windows of life events share, over the list's editor: `k` is the line
// the list shows selected and `mode` the event dialog's mode. Each answers the line to select
// afterwards, or nothing when nothing was done; a failure is shown once (`trace` names the
// window).
std::optional<int> AddListedEvent(RectEventsEditor& editor, int k, int mode, QWidget* parent,
                                  std::string_view trace);
std::optional<int> EditListedEvent(RectEventsEditor& editor, int k, int mode, QWidget* parent,
                                   std::string_view trace);
// After question 494.
std::optional<int> RemoveListedEvent(RectEventsEditor& editor, int k, std::string_view trace);
std::optional<int> ToggleListedEvent(RectEventsEditor& editor, int k, std::string_view trace);

class DRectChooseChart : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 219;
  enum Box { kNatal = 0, kTransit = 1, kProgressed = 2, kDirected = 3 };
  explicit DRectChooseChart(QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;
  // The charts to show, in the order of Box; all checked at the start.
  std::array<bool, 4> show{true, true, true, true};
  QCheckBox* CheckBox(int box) const { return boxes_.at(static_cast<std::size_t>(box)); }

 private:
  std::array<QCheckBox*, 4> boxes_{};
};

// Where the calculation page keeps the events.
struct RectEventFiles {
  LifeEventList* events = nullptr;  // "velm.lev"
  std::filesystem::path eventsFile;
  LifeEventList* tremin = nullptr;  // "velm.tev"
  std::filesystem::path treminFile;
};

class DRectConf : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 224;
  DRectConf(const RectConfPage& page, const std::vector<std::string>& systemNames,
            const RectEventFiles& files, QWidget* parent = nullptr);

  RectConfPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;

  // The commands of the page's buttons.
  void OnAdd();
  void OnEdit();
  void OnRemove();
  void OnSwitch();
  void OnChronological();
  void OnTransfer();

  CRectEventsListBox* List() const { return list_; }
  QButtonGroup* ModeGroup() const { return mode_; }
  QCheckBox* VerticalGridBox() const { return vGrid_; }
  QCheckBox* HorizontalGridBox() const { return hGrid_; }
  QCheckBox* ChronologicalBox() const { return chrono_; }
  QComboBox* SystemBox(int i) const { return systems_.at(static_cast<std::size_t>(i)); }
  QSpinBox* IntervalBox(bool end, int word) const {
    return (end ? end_ : start_).at(static_cast<std::size_t>(word));
  }

 private:
  void Refill(int select);
  void ShowFailure(const Status& st);
  void Enable();

  RectConfPage page_;
  RectEventFiles files_;
  RectEventsEditor editor_;
  CRectEventsListBox* list_;
  QButtonGroup* mode_;
  QCheckBox* vGrid_;
  QCheckBox* hGrid_;
  QCheckBox* chrono_;
  std::array<QComboBox*, 4> systems_{};
  std::array<QSpinBox*, 5> start_{};
  std::array<QSpinBox*, 5> end_{};
};

class DRectifMethods : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 203;
  explicit DRectifMethods(const RectMethodsPage& page, QWidget* parent = nullptr);

  RectMethodsPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;
  QButtonGroup* Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

 private:
  RectMethodsPage page_;
  std::array<QButtonGroup*, RectMethodsPage::kRows> rows_{};
};

// The sheet of the two pages ("РЕКТИФИКАЦИЯ").
class RectificationSheet : public CheckedSheet {
  Q_OBJECT

 public:
  explicit RectificationSheet(QWidget* parent = nullptr);
};

// Runs the sheet of the two pages until accepted or cancelled; a refused OK keeps the sheet open
// with everything entered. OK stores the values into `config`'s rectification block and returns
// true. The interval opens on a day around `chartMoment`.
bool RunRectificationSheet(Configuration& config, const Aspectarium& aspectarium,
                           const RectEventFiles& files, const Moment& chartMoment,
                           QWidget* parent = nullptr);

// The score matrix of `chart` for the rectification block of `config`: prepared (its warnings
// shown), then computed with the progress dialog. False, with the reason shown, when the settings
// are refused or the user cancelled.
bool CalculateRectMatrix(RectMatrix& matrix, const Chart& chart, const Configuration& config,
                         const Aspectarium& aspectarium, const LifeEventList& events,
                         QWidget* parent = nullptr);
