// A computation on the worker of a BackgroundRun: its progress reaches the dialog through the
// event loop, the dialog's Cancel reaches the computation, its messages wait for the end of the
// run and its questions are put on the user-interface thread.
#include "platform/qt/background_run.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/core/prompter.h"
#include "platform/qt/progress_dialog.h"
#include "support/test_support.h"

namespace {

using platform::Answer;
using testing_support::ScriptedPrompter;

DPROGRESSBAR* ShownProgress() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = dynamic_cast<DPROGRESSBAR*>(w); d != nullptr && d->isVisible()) return d;
  return nullptr;
}

TEST(BackgroundRun, CancelMessagesAndQuestionsCrossBetweenTheThreads) {
  ScriptedPrompter prompts;
  prompts.Expect(7, Answer::Yes);
  const QThread* ui = QThread::currentThread();
  // The user clicks Cancel once the bar shows half the run done.
  int barSeen = -1;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (DPROGRESSBAR* d = ShownProgress(); d != nullptr && d->Pos() >= 50 && barSeen < 0) {
      barSeen = d->Pos();
      d->CancelButton()->click();
    }
  });
  user.start(1);
  std::atomic<int> steps = 0;
  std::atomic<bool> askedOnUi = false, shownDuringRun = false;
  platform::BackgroundRun run(QStringLiteral("Расчет"), nullptr);
  const bool completed = run.Run([&](platform::ProgressSink& progress) {
    EXPECT_NE(QThread::currentThread(), ui);
    platform::GetPrompter().ShowMessage(5, "first", platform::Icon::Warning);
    shownDuringRun = !prompts.shown.empty();
    Answer answer = Answer::No;
    platform::CallOnUiThread([&] { askedOnUi = QThread::currentThread() == ui; });
    answer = platform::GetPrompter().AskYesNo(7, "go on?");
    EXPECT_EQ(answer, Answer::Yes);
    platform::GetPrompter().ShowMessage(6, "last", platform::Icon::Warning);
    for (int i = 0; i < 1000 && !progress.Cancelled(); ++i, ++steps) {
      progress.SetPos(i / 10);
      // Half-way the computation waits for the user's Cancel (bounded, should it never come).
      const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      while (i == 500 && !progress.Cancelled() && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  user.stop();
  EXPECT_FALSE(completed);
  EXPECT_TRUE(run.Cancelled());
  EXPECT_GE(barSeen, 50);
  EXPECT_EQ(steps, 501);  // the Cancel reached the computation where it waited for it
  EXPECT_TRUE(askedOnUi);
  // The first message was shown before the question it precedes; the last after the run.
  EXPECT_FALSE(shownDuringRun);
  ASSERT_EQ(prompts.shown.size(), 3u);
  EXPECT_EQ(prompts.shown[0].number, 5);
  EXPECT_EQ(prompts.shown[1].number, 7);
  EXPECT_EQ(prompts.shown[2].number, 6);
  EXPECT_EQ(ShownProgress(), nullptr);
  EXPECT_FALSE(DPROGRESSBAR::AnyRunning());
  prompts.VerifyAllUsed();

  // A run to its end; a failure of the computation comes back to the caller.
  platform::BackgroundRun plain(QStringLiteral("Расчет"), nullptr);
  EXPECT_TRUE(plain.Run([](platform::ProgressSink& p) { p.SetPos(100); }));
  EXPECT_THROW(plain.Run([](platform::ProgressSink&) { throw std::runtime_error("lost"); }),
               std::runtime_error);
  EXPECT_FALSE(platform::BackgroundRun::AnyActive());
}

}  // namespace
