// The settings-sheet runner and the Cancel of the progress dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPushButton>
#include <functional>
#include <memory>

#include "platform/qt/progress_dialog.h"
#include "platform/qt/property_sheet.h"

namespace {

class NumberPage : public platform::PropertyPage {
 public:
  explicit NumberPage(int value) : value(value) {}
  int value;
};

class NumberSheet : public platform::PropertySheet {
 public:
  NumberSheet() : platform::PropertySheet(QStringLiteral("Числа")) {}
};

// The setting: a number below 10 is refused by the check after OK.
struct NumberRun {
  int stored = 1;
  int pending = 1;
  int shown = 0;  // sheets made
  int reopenedWith = -1;
  NumberPage* page = nullptr;

  int Go() {
    pending = stored;
    return platform::RunSettingsSheet(
        [this] {
          auto sheet = std::make_unique<NumberSheet>();
          page = new NumberPage(pending);
          if (shown++ > 0) reopenedWith = pending;
          sheet->AddPage(page, QStringLiteral("Один"));
          return std::unique_ptr<platform::PropertySheet>(std::move(sheet));
        },
        [this](platform::PropertySheet&) {
          pending = page->value;  // kept before the check
          return pending >= 10;
        },
        [this] { stored = pending; });
  }
};

class SettingsSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
  }
  void TearDown() override { platform::ModalDriver::Clear(); }

  static void Answer(int value, int result) {
    platform::ModalDriver::Expect<NumberSheet>([value, result](NumberSheet& sheet) {
      static_cast<NumberPage*>(sheet.Page(0))->value = value;
      return result;
    });
  }
};

TEST_F(SettingsSheet, RefusedValuesShowTheSheetAgainWithThem) {
  NumberRun run;
  Answer(4, platform::kIdOk);   // refused
  Answer(12, platform::kIdOk);  // accepted
  EXPECT_EQ(run.Go(), platform::kIdOk);
  EXPECT_EQ(run.shown, 2);
  EXPECT_EQ(run.reopenedWith, 4);  // the values entered, not the stored ones
  EXPECT_EQ(run.stored, 12);
}

TEST_F(SettingsSheet, CancelAfterARefusalCommitsNothing) {
  NumberRun run;
  Answer(4, platform::kIdOk);
  Answer(20, platform::kIdCancel);
  EXPECT_EQ(run.Go(), platform::kIdCancel);
  EXPECT_EQ(run.shown, 2);
  EXPECT_EQ(run.stored, 1);  // neither the refused 4 nor the cancelled 20
}

// A computation of 100 steps that stops when the progress sink says so.
int Compute(platform::ProgressSink& sink, const std::function<void(int)>& atStep) {
  sink.Begin();
  int step = 0;
  for (; step < 100 && !sink.Cancelled(); ++step) {
    atStep(step);
    sink.SetPos(step);
  }
  sink.End();
  return step;
}

TEST(ProgressCancel, TheCancelButtonReachesTheComputation) {
  DPROGRESSBAR progress(QStringLiteral("Расчет"));
  // The click arrives like the user's, through the event loop, while step 30 reports.
  const int steps = Compute(progress, [&](int step) {
    if (step == 30)
      QMetaObject::invokeMethod(progress.CancelButton(), "click", Qt::QueuedConnection);
  });
  EXPECT_EQ(steps, 31);
  EXPECT_FALSE(progress.isVisible());
  EXPECT_FALSE(DPROGRESSBAR::AnyRunning());

  // Esc is Cancel too, and a new run starts uncancelled; the window stays until the end.
  const int again = Compute(progress, [&](int step) {
    if (step == 5) {
      QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(&progress, &esc);
      EXPECT_TRUE(progress.isVisible());
    }
  });
  EXPECT_EQ(again, 6);
  EXPECT_EQ(Compute(progress, [](int) {}), 100);
}

}  // namespace
