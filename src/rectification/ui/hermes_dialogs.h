// The trutine of Hermes in the user interface: the input dialog (the possible birth interval and
// the pregnancy's length), the list of variants found with the choice of charts to build, the
// command that runs them on a chart document; and the window of the Morav number.
#pragma once

#include <array>
#include <vector>

#include "platform/qt/dialog.h"
#include "rectification/core/hermes_trutine.h"

class ChartDocument;
class QButtonGroup;
class QListWidget;
class QSpinBox;

class DTrutin : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 189;

  DTrutin(const Chart& chart, const HermesInput& input, QWidget* parent = nullptr);

  HermesInput& Input() { return input_; }
  // Controls into the input; the input is refused (89, 90, 471 or a date's message) with the
  // dialog kept open.
  bool DoDataExchange(bool save) override;

  // Day, month, year, hour, minute of the rows "От" (0) and "До" (1).
  QSpinBox* Field(int row, int k) const { return fields_[static_cast<std::size_t>(row * 5 + k)]; }
  QButtonGroup* Pregnancy() const { return pregnancy_; }

 private:
  const Chart& chart_;
  HermesInput input_;
  std::array<QSpinBox*, 10> fields_{};
  QButtonGroup* pregnancy_ = nullptr;
};

class DHermesResults : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 190;

  explicit DHermesResults(HermesTrutine& trutine, QWidget* parent = nullptr);
  // OK: the chosen lines in list order and the chart set into the trutine.
  bool DoDataExchange(bool save) override;

  QListWidget* List() const { return list_; }
  QButtonGroup* ChartSet() const { return chartSet_; }

 protected:
  // Insert toggles the current line's selection and moves to the next line.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  HermesTrutine& trutine_;
  QListWidget* list_;
  QButtonGroup* chartSet_;
};

class D_MORAV : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 191;

  explicit D_MORAV(const Chart& chart, QWidget* parent = nullptr);
  double Position() const { return position_; }

 private:
  double position_;
};

// The trutine on the document's chart: input, search (with progress), results, and a birth and/or
// conception chart in a new window for every variant chosen. Returns the number of charts opened.
int RunHermesTrutine(ChartDocument& document, QWidget* parent);
