// The set-up of the Tremin rectification: the page DTreminRectConf ("РАСЧЕТЫ": the possible birth
// interval, the step, the aspect systems, the event list, the order and the threshold of the
// results) and the sheet that holds it with the display page of the results view.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/qt/property_sheet.h"
#include "rectification/core/tremin_conf_page.h"
#include "rectification/ui/checked_sheet.h"
#include "rectification/ui/tremin_events_panel.h"

class Aspectarium;
class Configuration;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;

class DTreminRectConf : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = kTreminConfDialogId;

  // `sortedNames`: the aspect systems' names as the boxes list them.
  DTreminRectConf(const TreminConfPage& page, const std::vector<std::string>& sortedNames,
                  const TreminEventFiles& files, QWidget* parent = nullptr);

  TreminConfPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;

  TreminEventsPanel* Events() const { return events_; }
  // Interval words 0..4 (year, month, day, hour, minute) of the begin or the end.
  QSpinBox* IntervalBox(bool end, int word) const {
    return (end ? end_ : begin_).at(static_cast<std::size_t>(word));
  }
  QComboBox* StepBox() const { return step_; }
  QComboBox* ApplyingBox() const { return applying_; }
  QComboBox* SeparatingBox() const { return separating_; }
  QButtonGroup* OrderGroup() const { return order_; }
  QSpinBox* MinimumScoreBox() const { return minimumScore_; }
  QCheckBox* OneRulerBox() const { return oneRuler_; }

 private:
  TreminConfPage page_;
  TreminEventsPanel* events_;
  std::array<QSpinBox*, 5> begin_{};
  std::array<QSpinBox*, 5> end_{};
  QComboBox* step_;
  QComboBox* applying_;
  QComboBox* separating_;
  QCheckBox* oneRuler_;
  QButtonGroup* order_;
  QSpinBox* minimumScore_;
};

// The sheet of the Tremin rectification (caption message 493).
class TreminSheet : public CheckedSheet {
  Q_OBJECT

 public:
  explicit TreminSheet(QWidget* parent = nullptr);
};

// Runs the sheet of the Tremin rectification: the page DTreminRectConf and the
// display page of the Tremin block. A refused OK keeps it open with everything entered, until it
// is cancelled or its values are accepted; an accepted sheet writes the Tremin block and the
// possible interval into `config` and returns true. The interval opens on a day around `birth`
// (the document chart's birth moment), against which the events are checked.
bool RunTreminRectSheet(Configuration& config, const Aspectarium& aspectarium,
                        const TreminEventFiles& files, const Moment& birth,
                        QWidget* parent = nullptr);
