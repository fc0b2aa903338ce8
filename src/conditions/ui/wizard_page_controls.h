// What the condition wizard's pages share: lists filled from names, the sign drop-down, the
// point and orb groups, the aspect-class boxes, the buttons "Закончить" and "< Обратно", and the
// warning that keeps a page open.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "conditions/core/query_condition.h"
#include "foundation/messages/show_message.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace platform {
class Dialog;
}

namespace wizard_page {

// `box` holds `names` (code page 1251), its signals blocked while it is filled.
void Fill(QComboBox* box, const std::vector<std::string>& names);
// The same with entry `current` chosen.
void Fill(QComboBox* box, const std::vector<std::string>& names, int current);
// The chosen entry of `box`, or 0 when none is.
int Index(const QComboBox* box);
// The twelve sign names.
void FillSigns(QComboBox* box);
// The sign, degrees and minutes of a point on one row of a group "Координаты точки".
QGroupBox* PointBox(QWidget* owner, QComboBox* sign, QSpinBox* degrees, QSpinBox* minutes);
// Enables the point's controls, or disables them.
void EnablePoint(bool on, QComboBox* sign, QSpinBox* degrees, QSpinBox* minutes);

// The group " Орбис ": the own orb with its degrees and minutes, the orb of the aspect system and
// the orb group for aspects to houses; `grid` receives its layout for further rows.
QGroupBox* OrbBox(QWidget* owner, QRadioButton* ownOrb, QSpinBox* degrees, QSpinBox* minutes,
                  QRadioButton* systemOrb, QSpinBox* houseGroup, QGridLayout*& grid);

// The nine aspect-class boxes (mask bits 0..8) in the groups "Тип ", " Сила " and " Точность ",
// side by side in the returned row.
QHBoxLayout* ClassColumns(QWidget* owner, std::array<QCheckBox*, 9>& boxes);
// Ticks the class boxes as the bits of `mask` say.
void ShowClassMask(const std::array<QCheckBox*, 9>& boxes, int mask);

// "Закончить" and "< Обратно".
QDialogButtonBox* PageButtons(platform::Dialog* page);

// OK on a page whose model checks its fields: the model's message as a warning (the page stays
// open), or true with the model's words in `words`.
template <class Model>
bool Accept(Model& model, QueryCondition& words) {
  if (const int message = model.Check(); message != 0) {
    ShowMessage(message);
    return false;
  }
  words = model.Words();
  return true;
}

}  // namespace wizard_page
