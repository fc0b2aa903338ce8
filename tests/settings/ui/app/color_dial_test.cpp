// The colour chooser and the name dialog on the screen (offscreen) and through the modal driver.
#include "settings/ui/color_dial.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>

#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/qt_text.h"
#include "settings/core/file_name_check.h"
#include "settings/ui/enter_name.h"
#include "shell/shell_fixture.h"

namespace {

using platform::ModalDriver;

// Strict modal answers and a scripted prompter; no application is started.
using DialogTest = shell_test::ShellTest;

QColor Pixel(const QImage& image, const QRect& r, int dx, int dy) {
  return image.pixelColor(r.left() + dx, r.top() + dy);
}

TEST_F(DialogTest, ChooserOpensOnTheCurrentColourAndKeepsTheUsersChoiceWhilePainting) {
  CColorDial dialog;
  dialog.numColors = kColorChooserFullCount;
  dialog.current = 7;
  dialog.OnInitDialog();
  ASSERT_EQ(dialog.List()->count(), 60);
  EXPECT_EQ(dialog.List()->currentRow(), 7);
  dialog.show();
  dialog.List()->setCurrentRow(2);
  QApplication::processEvents();
  const QImage image = dialog.List()->viewport()->grab().toImage();  // paints every swatch
  QApplication::processEvents();
  EXPECT_EQ(dialog.List()->currentRow(), 2);

  // Swatch 2 (green) filled with its colour and framed in its complement; swatch 1 unframed.
  const QRect selected = dialog.List()->visualItemRect(dialog.List()->item(2));
  const QRect other = dialog.List()->visualItemRect(dialog.List()->item(1));
  EXPECT_EQ(selected.height(), kColorSwatchHeight);
  EXPECT_EQ(Pixel(image, selected, selected.width() / 2, 10), QColor(0, 128, 0));
  EXPECT_EQ(Pixel(image, selected, selected.width() / 2, 0), QColor(255, 127, 255));
  EXPECT_EQ(Pixel(image, other, other.width() / 2, 0), QColor(0, 0, 128));
  if (const char* demo = std::getenv("VELM_DEMO_DIR"))
    image.save(QString::fromLocal8Bit(demo) + QStringLiteral("/colour_chooser.png"));

  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.chosen, 2);
  dialog.hide();
}

TEST_F(DialogTest, DoubleClickActsAsOk) {
  CColorDial dialog;
  dialog.OnInitDialog();
  ASSERT_EQ(dialog.List()->count(), 16);
  dialog.List()->setCurrentRow(5);
  Q_EMIT dialog.List()->itemDoubleClicked(dialog.List()->item(5));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.chosen, 5);
}

TEST_F(DialogTest, RunColorDialogAnswersTheChosenNumberOrMinusOne) {
  struct Case {
    const char* name;
    int current, count;
    int pick;  // -1: Cancel
    int expected;
  };
  const Case cases[] = {
      {"sixty_colours_pick_59", 12, 60, 59, 59},
      {"sixteen_colours_pick_0", 3, 16, 0, 0},
      {"cancel", 12, 60, -1, -1},
  };
  for (const Case& c : cases) {
    ModalDriver::Expect<CColorDial>([c](CColorDial& d) {
      EXPECT_EQ(d.List()->count(), c.count) << c.name;
      EXPECT_EQ(d.List()->currentRow(), c.current) << c.name;
      if (c.pick < 0) return platform::kIdCancel;
      d.List()->setCurrentRow(c.pick);
      d.DoDataExchange(true);
      return platform::kIdOk;
    });
    const int chosen =
        c.count == 16 ? RunColorDialog(c.current) : RunColorDialog(c.current, c.count);
    EXPECT_EQ(chosen, c.expected) << c.name;
  }
}

void Type(QLineEdit* edit, QChar c) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(c));
  QApplication::sendEvent(edit, &press);
}

TEST_F(DialogTest, NameDialogTakesAtMost40Characters) {
  CEnterName dialog;
  dialog.OnInitDialog();
  for (int i = 0; i < 41; ++i) Type(dialog.Edit(), QChar(0x0430 + i % 32));  // а, б, ...
  EXPECT_EQ(dialog.Edit()->text().size(), 40);
  ASSERT_TRUE(dialog.DoDataExchange(true));
  EXPECT_EQ(dialog.text.size(), 40u);
  EXPECT_EQ(dialog.text.substr(0, 2), Cp1251("аб"));

  CEnterName preset;
  preset.text = std::string(45, 'x');
  preset.OnInitDialog();
  EXPECT_EQ(preset.Edit()->text(), QString(40, QLatin1Char('x')));
}

TEST_F(DialogTest, NameDialogShowsTheCallersPromptOrItsOwn) {
  CEnterName own;
  own.OnInitDialog();
  EXPECT_TRUE(own.Prompt()->text().startsWith(QStringLiteral("Введите, пожалуйста, название")));
  CEnterName given;
  given.prompt = Cp1251("Введите название группы");
  given.OnInitDialog();
  EXPECT_EQ(given.Prompt()->text(), QStringLiteral("Введите название группы"));
}

TEST_F(DialogTest, FileNamesAreAskedAgainUntilTheyStayInTheFolder) {
  for (const char* typed : {"../velm", "a/b", "scheme"})
    ModalDriver::Expect<CEnterName>([typed](CEnterName& d) {
      d.text = typed;
      return platform::kIdOk;
    });
  std::string name = "old";
  ASSERT_TRUE(RunEnterFileName(name));
  EXPECT_EQ(name, "scheme");
  int refused = 0;
  for (const auto& s : prompts_.shown) refused += s.number == kMsgBadFileName;
  EXPECT_EQ(refused, 2);

  ModalDriver::Expect<CEnterName>([](CEnterName& d) {
    EXPECT_EQ(d.text, "keep");  // preset
    d.text = "other";
    return platform::kIdCancel;
  });
  std::string kept = "keep";
  EXPECT_FALSE(RunEnterFileName(kept));
  EXPECT_EQ(kept, "keep");
}

}  // namespace
