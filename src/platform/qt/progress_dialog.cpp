#include "platform/qt/progress_dialog.h"

#include <QCoreApplication>
#include <QFont>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

DPROGRESSBAR::DPROGRESSBAR(const QString& caption, QWidget* parent)
    : QDialog(parent), bar_(new QProgressBar(this)) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setWindowTitle(caption);
  setModal(false);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  resize(360, 70);
}

DPROGRESSBAR::~DPROGRESSBAR() {
  if (begun_) --running_;
}

void DPROGRESSBAR::Begin() {
  if (!begun_) ++running_;
  begun_ = true;
  bar_->setValue(0);
  show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DPROGRESSBAR::SetPos(int percent) {
  bar_->setValue(std::clamp(percent, 0, 100));
  if (isVisible()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DPROGRESSBAR::End() {
  if (begun_) --running_;
  begun_ = false;
  hide();
}

int DPROGRESSBAR::Pos() const { return bar_->value(); }
