// Long computations on a worker thread behind the progress dialog. The command that starts one
// waits in Run() while the user-interface thread serves its event loop: the windows repaint, the
// dialog's bar follows the position the computation reports and its Cancel reaches the
// computation's Cancelled() at once. The computation reads only what it was handed (its
// ChartContext is the published snapshot taken before the run) and hands its results back when
// Run() returns; the caller gives them to a view only when the run was not cancelled.
#pragma once

#include <QString>
#include <functional>

#include "platform/core/progress_sink.h"

class QWidget;

namespace platform {

class BackgroundRun {
 public:
  BackgroundRun(QString caption, QWidget* parent);

  // Runs `work` on a worker thread and returns when it has ended. The messages the computation
  // shows are collected and shown here, in their order, once it ended; its questions, file
  // choices and text inputs are put to the user on this thread while the worker waits (after the
  // messages collected so far). An exception `work` throws is thrown again here. True when the
  // run ended without Cancel.
  bool Run(const std::function<void(ProgressSink&)>& work);
  bool Cancelled() const { return cancelled_; }

  // True while a run is going on: what the worker reads must not be changed meanwhile.
  static bool AnyActive() { return active_ > 0; }

 private:
  QString caption_;
  QWidget* parent_;
  bool cancelled_ = false;
  static inline int active_ = 0;
};

// Called on the worker of a run: `call` runs on the user-interface thread and the worker waits
// for it (a dialog between two passes of a computation). Called on the user-interface thread (or
// without an application): `call` runs at once.
void CallOnUiThread(const std::function<void()>& call);

}  // namespace platform
