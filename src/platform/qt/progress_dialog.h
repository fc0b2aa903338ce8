// The progress dialog of long computations: the one window of its kind. It stands behind the
// progress sink, so the computations that report progress never see a widget. While it is shown
// it keeps the input of the program's other windows (it is application-modal), and its Cancel
// button, Esc and its close box ask the running computation to stop (Cancelled()).
#pragma once

#include <QDialog>

#include "platform/core/progress_sink.h"

class QLabel;
class QProgressBar;
class QPushButton;

class DPROGRESSBAR : public QDialog, public platform::ProgressSink {
  Q_OBJECT

 public:
  explicit DPROGRESSBAR(const QString& caption, QWidget* parent = nullptr);
  ~DPROGRESSBAR() override;

  void Begin() override;
  // 0..100; values outside are clamped. The window is repainted and a Cancel click is taken at
  // once: the computation runs inside the command that started it.
  void SetPos(int percent) override;
  void End() override;
  bool Cancelled() const override { return cancelled_; }

  // The bar alone, for a computation that reports from a worker thread (BackgroundRun).
  void ShowPos(int percent);
  int Pos() const;
  QPushButton* CancelButton() const { return cancel_; }
  // True while a computation shows its progress: windows must not close under it.
  static bool AnyRunning() { return running_ > 0; }

  // Esc and the close box: the same as Cancel; the window stays until the computation ends.
  void reject() override;

 Q_SIGNALS:
  // The user asked to stop (once per run).
  void CancelAsked();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnCancel();

  QProgressBar* bar_;
  QPushButton* cancel_;
  bool begun_ = false;
  bool cancelled_ = false;
  static inline int running_ = 0;
};
