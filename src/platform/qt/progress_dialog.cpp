#include "platform/qt/progress_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

DPROGRESSBAR::DPROGRESSBAR(const QString& caption, QWidget* parent)
    : QDialog(parent),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Отмена"), this)) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setWindowTitle(caption);
  // Shown with show(), not exec(): the computation goes on in the command that started it, and
  // only this window takes input meanwhile.
  setWindowModality(Qt::ApplicationModal);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(cancel_, &QPushButton::clicked, this, [this] { OnCancel(); });
  resize(360, 100);
}

DPROGRESSBAR::~DPROGRESSBAR() {
  if (begun_) --running_;
}

void DPROGRESSBAR::Begin() {
  if (!begun_) ++running_;
  begun_ = true;
  cancelled_ = false;
  cancel_->setEnabled(true);
  bar_->setValue(0);
  show();
  QCoreApplication::processEvents();
}

void DPROGRESSBAR::SetPos(int percent) {
  bar_->setValue(std::clamp(percent, 0, 100));
  // The other windows take no input while this one is modal, so only Cancel can act here.
  if (isVisible()) QCoreApplication::processEvents();
}

void DPROGRESSBAR::End() {
  if (begun_) --running_;
  begun_ = false;
  hide();
}

void DPROGRESSBAR::ShowPos(int percent) { bar_->setValue(std::clamp(percent, 0, 100)); }

int DPROGRESSBAR::Pos() const { return bar_->value(); }

void DPROGRESSBAR::OnCancel() {
  if (!begun_ || cancelled_) return;
  cancelled_ = true;
  cancel_->setEnabled(false);  // asked once; the computation stops at its next step
  Q_EMIT CancelAsked();
}

void DPROGRESSBAR::reject() { OnCancel(); }

void DPROGRESSBAR::closeEvent(QCloseEvent* event) {
  OnCancel();
  if (begun_) event->ignore();
}
