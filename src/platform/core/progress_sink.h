// Progress of a long computation that runs inside the command that started it. The program shows
// the progress dialog behind it; tests record the positions. The computation asks Cancelled()
// after each step and, when it is true, stops and reports that it was cancelled.
#pragma once

#include <functional>

namespace platform {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void Begin() {}
  virtual void SetPos(int percent) = 0;  // 0..100
  virtual void End() {}
  // True once the user asked to stop (the dialog's Cancel); Begin() clears it.
  virtual bool Cancelled() const { return false; }
};

// A sink that shows nothing.
class NullProgress final : public ProgressSink {
 public:
  void SetPos(int) override {}
};

// Runs a computation with a progress sink and says whether it ended without Cancel: at once on
// the calling thread (RunHere), or on a worker behind the progress dialog (BackgroundRun), so
// that a command's steps before and after the computation stay on the user-interface thread.
using ProgressRunner = std::function<bool(const std::function<void(ProgressSink&)>& work)>;

inline ProgressRunner RunHere(ProgressSink& progress) {
  return [&progress](const std::function<void(ProgressSink&)>& work) {
    work(progress);
    return !progress.Cancelled();
  };
}

}  // namespace platform
