// Small builders of the controls that settings pages and dialogs share: radio-button choices
// whose ids are the values 0, 1, ..., framed groups and number boxes.
#pragma once

#include <initializer_list>

class QBoxLayout;
class QButtonGroup;
class QGroupBox;
class QSpinBox;
class QWidget;

namespace platform {

// Radio buttons for `texts` added to `into`, grouped with the ids 0, 1, ... in that order.
QButtonGroup* AddChoices(QWidget* owner, QBoxLayout* into,
                         std::initializer_list<const char*> texts);
// A group box titled `title` (UTF-8); `layout` receives its vertical layout.
QGroupBox* Box(QWidget* owner, const char* title, QBoxLayout*& layout);
// A spin box limited to low..high.
QSpinBox* NumberBox(QWidget* owner, int low, int high);
// Checks the button of choice `id`; an id without a button changes nothing.
void Check(QButtonGroup* group, int id);
// The checked choice, or `fallback` when none is checked.
int Checked(QButtonGroup* group, int fallback);

}  // namespace platform
