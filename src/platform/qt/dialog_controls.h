// Small builders of the controls that settings pages and dialogs share: radio-button choices
// whose ids are the values 0, 1, ..., framed groups and number boxes.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

class QBoxLayout;
class QButtonGroup;
class QComboBox;
class QDialog;
class QDialogButtonBox;
class QGroupBox;
class QLayout;
class QListWidget;
class QSpinBox;
class QWidget;

namespace platform {

// Radio buttons for `texts` added to `into`, grouped with the ids 0, 1, ... in that order.
QButtonGroup* AddChoices(QWidget* owner, QBoxLayout* into,
                         std::initializer_list<const char*> texts);
// The OK and Cancel buttons of `dialog` labelled `okText` and `cancelText` (UTF-8), wired to its
// accept() and reject().
QDialogButtonBox* DialogButtons(QDialog* dialog, const char* okText, const char* cancelText);
// A group box titled `title` (UTF-8); `layout` receives its vertical layout.
QGroupBox* Box(QWidget* owner, const char* title, QBoxLayout*& layout);
// A group box titled `title` (UTF-8) holding the choices `texts` as AddChoices makes them, added
// to `into`.
QButtonGroup* AddChoiceBox(QWidget* owner, QLayout* into, const char* title,
                           std::initializer_list<const char*> texts);
// An editable box for a name of at most `maxLength` characters that code page 1251 can hold,
// offering `names` (code page 1251).
QComboBox* NameBox(QWidget* owner, std::size_t maxLength,
                   const std::vector<std::string>& names = {});
// A spin box limited to low..high.
QSpinBox* NumberBox(QWidget* owner, int low, int high);
// Checks the button of choice `id`; an id without a button changes nothing.
void Check(QButtonGroup* group, int id);
// The checked choice, or `fallback` when none is checked.
int Checked(QButtonGroup* group, int fallback);
// Widens `list` (never narrows it) so that its widest item shows whole beside a vertical scroll
// bar.
void FitListToItems(QListWidget* list);

}  // namespace platform
