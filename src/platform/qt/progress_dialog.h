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

  void Begin() override;
  // 0..100; values outside are clamped. The window is repainted at once: the computation runs
  // inside the command that started it.
  void SetPos(int percent) override;
  void End() override;

  int Pos() const;

 private:
  QProgressBar* bar_;
};
