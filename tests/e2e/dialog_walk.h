// A walk over every dialog and wizard page that a dialog opens, as a person who tries each button
// once would walk them, given to ModalScript as its act for the dialogs out of script (the script
// meets, checks and photographs each dialog before its act):
// - every visible, enabled push button of a dialog that does not close it (those of its button
//   box with an accepting, rejecting or answering role, "OK", "Отмена", "Выход" and the like
//   outside one) is clicked once per dialog class; a modal dialog it opens is met by the script
//   and walked in turn, nested as deep as it goes;
// - a wizard's page (its accepting button reads "Дальше") is left through that button once for
//   each of its radio choices, one choice per visit: the flow that brings the page back after
//   the next page was cancelled ("< Обратно") gets the next choice;
// - then the dialog is cancelled. Qt's own dialogs (colour, font) are only cancelled.
// Questions the buttons ask are the prompter's to decline.
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/modal_script.h"

namespace e2e_test {

class DialogWalk {
 public:
  // ModalScript's act for `dialog`.
  void Visit(QWidget& dialog) {
    QPointer<QWidget> alive(&dialog);
    const std::string name = testing_support::ClassName(dialog);
    ++visits_;
    if (!name.starts_with("Q")) {
      for (const auto& [button, text] : Openers(dialog)) {
        // A button that an earlier one removed is left untried.
        if (button == nullptr || !tried_.insert(name + "/" + text).second) continue;
        if (button->isVisible() && button->isEnabled()) Press(*button);
        if (alive == nullptr || !alive->isVisible()) return;  // the button closed it
      }
      if (QPushButton* next = NextButton(dialog); next != nullptr && next->isEnabled()) {
        for (QRadioButton* choice : Choices(dialog)) {
          const std::string chosen = choice != nullptr ? Text(*choice) : std::string();
          if (!tried_.insert(name + "/" + chosen + "/next").second) continue;
          if (choice != nullptr) choice->setChecked(true);
          Press(*next);
          if (alive == nullptr || !alive->isVisible()) return;
        }
      }
    }
    if (alive == nullptr || !alive->isVisible()) return;
    if (auto* d = qobject_cast<QDialog*>(alive.data()))
      d->reject();
    else
      alive->close();
  }

  // Dialogs walked, and buttons and choices tried (class/text), so far.
  int Visits() const { return visits_; }
  const std::set<std::string>& Tried() const { return tried_; }

 private:
  static std::string Text(const QAbstractButton& button) {
    return testing_support::modal_detail::Readable(button.text()).toStdString();
  }

  // The push buttons of `dialog` that may open another window, with their texts (the second of
  // a text as "text 2"): none of a button box's closing ones, none that opens a menu (it would
  // wait for a choice).
  static std::vector<std::pair<QPointer<QPushButton>, std::string>> Openers(QWidget& dialog) {
    std::vector<std::pair<QPointer<QPushButton>, std::string>> found;
    std::map<std::string, int> seen;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (!button->isVisibleTo(&dialog) || button->menu() != nullptr || button->text().isEmpty())
        continue;
      if (const auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget());
          box != nullptr && box->buttonRole(button) != QDialogButtonBox::ActionRole)
        continue;
      if (Closing(*button)) continue;
      const std::string text = Text(*button);
      const int nth = ++seen[text];
      found.emplace_back(button, nth == 1 ? text : text + " " + std::to_string(nth));
    }
    return found;
  }

  // A button outside a button box that closes its dialog by its text: pressed, it would end the
  // walk of the dialog before its other buttons.
  static bool Closing(const QAbstractButton& button) {
    const QString text = testing_support::modal_detail::Readable(button.text());
    for (const char* closing : {"OK", "Отмена", "Отменить", "Выход", "Закрыть"})
      if (text.compare(QString::fromUtf8(closing), Qt::CaseInsensitive) == 0) return true;
    return false;
  }

  // The accepting button of a wizard's page: "Дальше >".
  static QPushButton* NextButton(QWidget& dialog) {
    for (auto* box : dialog.findChildren<QDialogButtonBox*>())
      for (QAbstractButton* button : box->buttons())
        if (box->buttonRole(button) == QDialogButtonBox::AcceptRole &&
            button->text().startsWith(QStringLiteral("Дальше")))
          return qobject_cast<QPushButton*>(button);
    return nullptr;
  }

  // The radio choices of a page, or the page as it stands (nullptr) when it has none.
  static std::vector<QRadioButton*> Choices(QWidget& dialog) {
    std::vector<QRadioButton*> found;
    for (QRadioButton* radio : dialog.findChildren<QRadioButton*>())
      if (radio->isVisibleTo(&dialog) && radio->isEnabled()) found.push_back(radio);
    if (found.empty()) found.push_back(nullptr);
    return found;
  }

  static void Press(QPushButton& button) {
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, button.rect().center());
  }

  std::set<std::string> tried_;
  int visits_ = 0;
};

}  // namespace e2e_test
