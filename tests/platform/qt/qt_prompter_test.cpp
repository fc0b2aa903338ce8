#include "platform/qt/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include "foundation/text/cp1251.h"
#include "platform/qt/qt_text.h"

namespace {

TEST(QtPrompter, TextInputRefusesWhatCodePage1251CannotHold) {
  platform::QtPrompter prompter(QStringLiteral("Velm"));
  bool checked = false;
  // The dialog is modal: look at it from the event loop it runs, then type and accept.
  QTimer::singleShot(0, [&checked] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;  // the test fails below: nothing was checked
    auto* edit = dialog->findChild<QLineEdit*>();
    const QValidator* validator = edit != nullptr ? edit->validator() : nullptr;
    if (validator != nullptr) {
      QString aries = QString::fromUtf8("Овен \xE2\x99\x88");  // the sign's symbol is not in 1251
      QString plain = QString::fromUtf8("Овен");
      int pos = 0;
      EXPECT_EQ(validator->validate(aries, pos), QValidator::Invalid);
      EXPECT_EQ(validator->validate(plain, pos), QValidator::Acceptable);
      edit->setText(plain);
      checked = true;
    }
    dialog->accept();  // always, so that a failure cannot leave the test waiting
  });
  std::string text = Cp1251("старое");
  EXPECT_TRUE(prompter.InputText(0, Cp1251("Имя:"), text));
  EXPECT_TRUE(checked);
  EXPECT_EQ(text, Cp1251("Овен"));
}

}  // namespace
