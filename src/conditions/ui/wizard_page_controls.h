// What the condition wizard's pages share: lists filled from names, the sign drop-down, the
// buttons "Закончить" and "< Обратно", and the warning that keeps a page open.
#pragma once

#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;

namespace platform {
class Dialog;
}

namespace wizard_page {

// `box` holds `names` (code page 1251), its signals blocked while it is filled.
void Fill(QComboBox* box, const std::vector<std::string>& names);
// The twelve sign names.
void FillSigns(QComboBox* box);
// "Закончить" and "< Обратно".
QDialogButtonBox* PageButtons(platform::Dialog* page);
// Shows catalogue message `message` as a warning.
void Warn(int message);

}  // namespace wizard_page
