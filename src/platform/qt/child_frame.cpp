#include "platform/qt/child_frame.h"

#include <QCloseEvent>

#include "platform/qt/document.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/view.h"

namespace platform {

ChildFrame::ChildFrame(QWidget* parent) : QMdiSubWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  resize(640, 520);
}

void ChildFrame::SetView(View* view) {
  view_ = view;
  setWidget(view);
}

void ChildFrame::OnUpdateFrameTitle() {
  if (view_ != nullptr) setWindowTitle(ToQt(view_->GetFrameTitle()));
}

void ChildFrame::closeEvent(QCloseEvent* event) {
  Document* document = view_ != nullptr ? view_->GetDocument() : nullptr;
  if (document != nullptr && document->Views().size() == 1 && !document->SaveModified()) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

}  // namespace platform
