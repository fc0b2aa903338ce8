#include "platform/qt/background_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/numbers/vector_state.h"
#include "platform/core/prompter.h"
#include "platform/qt/progress_dialog.h"

namespace platform {
namespace {

// The worker's side of the progress dialog: the position and the Cancel pass through atomics.
class WorkerProgress final : public ProgressSink {
 public:
  void Begin() override { pos_ = 0; }
  void SetPos(int percent) override { pos_ = std::clamp(percent, 0, 100); }
  bool Cancelled() const override { return cancelled_; }

  int Pos() const { return pos_; }
  void Cancel() { cancelled_ = true; }

 private:
  std::atomic<int> pos_{0};
  std::atomic<bool> cancelled_{false};
};

// The worker's prompter: messages wait for the end of the run, everything the user must answer is
// asked on the user-interface thread through the prompter installed there.
class WorkerPrompter final : public Prompter {
 public:
  explicit WorkerPrompter(Prompter& ui) : ui_(ui) {}

  template <class Question>
  auto Ask(const Question& question) -> decltype(question()) {
    decltype(question()) answer{};
    CallOnUiThread([&] {
      Flush();
      answer = question();
    });
    return answer;
  }

  void ShowMessage(int number, std::string_view text, Icon icon) override {
    const std::lock_guard lock(mutex_);
    pending_.push_back({number, std::string(text), icon});
  }
  Answer AskYesNo(int number, std::string_view text) override {
    return Ask([&] { return ui_.AskYesNo(number, text); });
  }
  Answer AskYesNoCancel(int number, std::string_view text) override {
    return Ask([&] { return ui_.AskYesNoCancel(number, text); });
  }
  Answer AskOkCancel(int number, std::string_view text) override {
    return Ask([&] { return ui_.AskOkCancel(number, text); });
  }
  bool ChooseFile(FileChoice& choice) override {
    return Ask([&] { return ui_.ChooseFile(choice); });
  }
  bool InputText(int number, std::string_view prompt, std::string& text) override {
    return Ask([&] { return ui_.InputText(number, prompt, text); });
  }

  // User-interface thread: shows the messages collected so far.
  void Flush() {
    std::vector<Pending> shown;
    {
      const std::lock_guard lock(mutex_);
      shown.swap(pending_);
    }
    for (const Pending& m : shown) ui_.ShowMessage(m.number, m.text, m.icon);
  }

 private:
  struct Pending {
    int number;
    std::string text;
    Icon icon;
  };

  Prompter& ui_;
  std::mutex mutex_;
  std::vector<Pending> pending_;
};

constexpr int kRelayMs = 40;  // how often the bar follows the worker's position

// On a worker: the progress dialog of its run, put aside while the worker asks the user.
thread_local DPROGRESSBAR* t_dialog = nullptr;

}  // namespace

BackgroundRun::BackgroundRun(QString caption, QWidget* parent)
    : caption_(std::move(caption)), parent_(parent) {}

bool BackgroundRun::Run(const std::function<void(ProgressSink&)>& work) {
  DPROGRESSBAR dialog(caption_, parent_);
  WorkerProgress progress;
  WorkerPrompter prompter(GetPrompter());
  std::exception_ptr failure;
  QEventLoop loop;

  QObject::connect(&dialog, &DPROGRESSBAR::CancelAsked, &loop, [&progress] { progress.Cancel(); });
  QTimer relay;
  QObject::connect(&relay, &QTimer::timeout, &dialog, [&] { dialog.ShowPos(progress.Pos()); });
  dialog.Begin();
  relay.start(kRelayMs);
  ++active_;
  std::thread worker([&] {
    // The worker starts with this thread's vector registers, left in use by the window's painting.
    CleanVectorState();
    SetThreadPrompter(&prompter);
    t_dialog = &dialog;
    try {
      work(progress);
    } catch (...) {
      failure = std::current_exception();
    }
    t_dialog = nullptr;
    SetThreadPrompter(nullptr);
    QMetaObject::invokeMethod(
        &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  --active_;
  relay.stop();
  dialog.End();
  cancelled_ = progress.Cancelled();
  prompter.Flush();
  if (failure) std::rethrow_exception(failure);
  return !cancelled_;
}

void CallOnUiThread(const std::function<void()>& call) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    call();
    return;
  }
  DPROGRESSBAR* dialog = t_dialog;
  QMetaObject::invokeMethod(
      app,
      [&] {
        const bool shown = dialog != nullptr && dialog->isVisible();
        if (shown) dialog->hide();
        call();
        if (shown) dialog->show();
      },
      Qt::BlockingQueuedConnection);
}

}  // namespace platform
