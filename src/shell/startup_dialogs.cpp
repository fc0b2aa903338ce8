#include "shell/startup_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_text.h"

SplashWindow::SplashWindow(int milliseconds, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      milliseconds_(milliseconds) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(420, 220);
  if (QScreen* screen = this->screen()) move(screen->geometry().center() - rect().center());
  clock_.start();
  connect(&timer_, &QTimer::timeout, this, &SplashWindow::OnTimer);
  timer_.start(kTimerMilliseconds);
}

void SplashWindow::OnTimer() {
  if (clock_.elapsed() < milliseconds_) return;
  timer_.stop();
  close();
}

void SplashWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0, 0, 128));
  painter.setPen(Qt::white);
  painter.drawRect(rect().adjusted(4, 4, -5, -5));
  painter.setFont(QFont(platform::TextFaceFamily(), 40, QFont::Bold));
  painter.drawText(rect().adjusted(0, 0, 0, -50), Qt::AlignCenter, QStringLiteral("VELM"));
  painter.setFont(QFont(platform::TextFaceFamily(), 11));
  painter.drawText(rect().adjusted(0, 90, 0, 0), Qt::AlignCenter,
                   QStringLiteral("Астрологическая рабочая станция"));
}

DTipOfDay::DTipOfDay(QWidget* parent)
    : platform::Dialog(parent), text_(new QLabel(this)), show_(new QCheckBox(this)) {
  setWindowTitle(QStringLiteral("Совет дня"));
  text_->setWordWrap(true);
  text_->setMinimumSize(380, 120);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  show_->setText(QStringLiteral("Показывать советы при запуске"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Закрыть"));
  connect(buttons, &QDialogButtonBox::accepted, this, &DTipOfDay::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(show_);
  layout->addWidget(buttons);
}

bool DTipOfDay::DoDataExchange(bool save) {
  if (save) {
    showAtStart = show_->isChecked();
  } else {
    text_->setText(platform::ToQt(tip));
    show_->setChecked(showAtStart);
  }
  return true;
}

DStartup::DStartup(QWidget* parent)
    : platform::Dialog(parent),
      newChart_(new QRadioButton(this)),
      restore_(new QRadioButton(QStringLiteral("Восстановить гороскопы прошлого сеанса"), this)),
      nothing_(new QRadioButton(QStringLiteral("Ничего не открывать"), this)) {
  setWindowTitle(QStringLiteral("Начало работы"));
  auto* buttons = platform::DialogButtons(this, "OK", "Отмена");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(newChart_);
  layout->addWidget(restore_);
  layout->addWidget(nothing_);
  layout->addWidget(buttons);
}

bool DStartup::DoDataExchange(bool save) {
  if (save) {
    choice = newChart_->isChecked()  ? kNewChart
             : restore_->isChecked() ? kRestoreSession
                                     : kNothing;
    return true;
  }
  newChart_->setText(QStringLiteral("Новый гороскоп: ") + platform::ToQt(kindName));
  restore_->setEnabled(restoreAvailable);
  if (choice == kRestoreSession && !restoreAvailable) choice = kNewChart;
  (choice == kNewChart         ? newChart_
   : choice == kRestoreSession ? restore_
                               : nothing_)
      ->setChecked(true);
  return true;
}
