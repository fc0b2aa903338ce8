// The dialog of the Tremin forecast, DTREMIN_PROG: the year, the order of the rows, the font
// size, the fill of printed bars, the two aspect systems and the method's event list. Mode 1 (one
// event over a period) keeps its controls hidden.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/qt/dialog.h"
#include "rectification/core/tremin_forecast_page.h"
#include "rectification/ui/tremin_events_panel.h"

class Aspectarium;
class Configuration;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;

class DTREMIN_PROG : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = kTmForecastDialogId;

  DTREMIN_PROG(const TmForecastPage& page, const std::vector<std::string>& sortedNames,
               const TreminEventFiles& files, QWidget* parent = nullptr);

  TmForecastPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;
  // The checks of OK: the aspect systems, the year, the events (messages shown here).
  bool CheckOk() override;

  TreminEventsPanel* Events() const { return events_; }
  QSpinBox* YearBox() const { return year_; }
  QSpinBox* FontBox() const { return font_; }
  QButtonGroup* OrderGroup() const { return order_; }
  QCheckBox* FillBox() const { return fill_; }
  QComboBox* ApplyingBox() const { return applying_; }
  QComboBox* SeparatingBox() const { return separating_; }
  QComboBox* EventChoice() const { return event_; }
  // The control of number `id` (TmForecastPage::Control), for the enabling.
  QWidget* Control(int id) const;

 private:
  // Enables the controls of the page's mode and, with events, the event controls.
  void ApplyMode();
  void FillEventChoice(int select);

  TmForecastPage page_;
  TreminEventFiles files_;
  std::vector<std::string> names_;
  TreminEventsPanel* events_;
  QButtonGroup* mode_;
  QSpinBox* year_;
  QSpinBox* periodFrom_;
  QSpinBox* periodTo_;
  QComboBox* event_;
  QButtonGroup* order_;
  QSpinBox* font_;
  QCheckBox* fill_;
  QComboBox* applying_;
  QComboBox* separating_;
  std::vector<std::pair<int, QWidget*>> controls_;
};

// The command's dialog over the forecast block of `config` for the document chart `chart`; OK
// stores the values and returns true.
bool RunTreminForecastDialog(Configuration& config, const Aspectarium& aspectarium,
                             const TreminEventFiles& files, const Chart& chart,
                             QWidget* parent = nullptr);
