// The progress dialog of long computations: the one modeless window of its kind. It stands behind
// the progress sink, so the computations that report progress never see a widget.
#pragma once

#include <QDialog>

#include "platform/core/progress_sink.h"

class QLabel;
class QProgressBar;

class DPROGRESSBAR : public QDialog, public platform::ProgressSink {
  Q_OBJECT

 public:
  explicit DPROGRESSBAR(const QString& caption, QWidget* parent = nullptr);
  ~DPROGRESSBAR() override;

  void Begin() override;
  // 0..100; values outside are clamped. The window is repainted at once: the computation runs
  // inside the command that started it.
  void SetPos(int percent) override;
  void End() override;

  int Pos() const;
  // True while a computation shows its progress: windows must not close under it.
  static bool AnyRunning() { return running_ > 0; }

 private:
  QProgressBar* bar_;
  bool begun_ = false;
  static inline int running_ = 0;
};
