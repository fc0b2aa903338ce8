// The windows of the start: the splash window, the tip of the day and the start-up dialog.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/qt/dialog.h"

class QCheckBox;
class QLabel;
class QRadioButton;

// Shown for `milliseconds` after the main window appears; a 750 ms timer looks at the clock and
// closes it when the time is up.
class SplashWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTimerMilliseconds = 750;
  static constexpr int kShownMilliseconds = 5000;

  explicit SplashWindow(int milliseconds = kShownMilliseconds, QWidget* parent = nullptr);
  // Called by the timer; also by tests.
  void OnTimer();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  int milliseconds_;
};

class DTipOfDay : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DTipOfDay(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  std::string tip;          // code page 1251
  bool showAtStart = true;  // "Показывать советы при запуске"

 private:
  QLabel* text_;
  QCheckBox* show_;
};

class DStartup : public platform::Dialog {
  Q_OBJECT

 public:
  enum Choice { kNewChart = 0, kRestoreSession = 1, kNothing = 2 };

  explicit DStartup(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  int choice = kNewChart;
  bool restoreAvailable = false;  // the session file exists and holds charts
  std::string kindName;           // the current chart kind's name (code page 1251)

 private:
  QRadioButton* newChart_;
  QRadioButton* restore_;
  QRadioButton* nothing_;
};
