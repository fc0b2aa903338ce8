// The settings of the town list (DACLINES_CONF, "СПИСОК ГОРОДОВ - КОНФИГУРАЦИЯ"): the body, its
// angle lines, the orbs before and after the cusp, and the font size and line interval of the
// screen and of paper. OK is refused with message 480 while no line is chosen.
#pragma once

#include "astrocarto/core/ac_lines_list.h"
#include "platform/qt/dialog.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// Control numbers.
inline constexpr int kIdcLinesBody = 1540;
inline constexpr int kIdcLineAsc = 1541, kIdcLineIc = 1542, kIdcLineDsc = 1543, kIdcLineMc = 1544;
inline constexpr int kIdcOrbBefore = 1545, kIdcOrbAfter = 1546;
inline constexpr int kIdcScreenFont = 1547, kIdcScreenInterval = 1548;
inline constexpr int kIdcPrintFont = 1549, kIdcPrintInterval = 1550;

class DACLINES_CONF : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DACLINES_CONF(QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;
  // Message 480 while none of the four lines is checked; the dialog stays open.
  bool CheckOk() override;

  // In: the stored settings; out after OK: the values entered.
  ACLinesListPage values;

  QComboBox* BodyBox() const { return body_; }
  // The check of line `line` (ACLinesListPage::Line).
  QCheckBox* LineBox(int line) const { return lines_[static_cast<std::size_t>(line)]; }
  QSpinBox* OrbBeforeBox() const { return orbBefore_; }
  QSpinBox* OrbAfterBox() const { return orbAfter_; }

 private:
  QComboBox* body_;
  std::array<QCheckBox*, 4> lines_{};
  QSpinBox* orbBefore_;
  QSpinBox* orbAfter_;
  QSpinBox* screenFont_;
  QSpinBox* printFont_;
  QDoubleSpinBox* screenInterval_;
  QDoubleSpinBox* printInterval_;
};

// Runs the dialog on the configuration's town-list settings and stores them on OK; false when
// cancelled (nothing changed).
bool RunACLinesConf(QWidget* parent);
