#include "views/ui/chart_doc_view.h"

#include <algorithm>

#include "shell/kovra_doc.h"

ChartDocView::ChartDocView(DocView kind, QWidget* parent) : platform::View(parent), kind_(kind) {}

ChartDocView::~ChartDocView() {
  if (counted_) {
    if (CKovraDoc* document = GetDocument()) document->ViewClosed(kind_);
  }
}

CKovraDoc* ChartDocView::GetDocument() const {
  return dynamic_cast<CKovraDoc*>(platform::View::GetDocument());
}

void ChartDocView::CountOpen() {
  CKovraDoc* document = GetDocument();
  if (document != nullptr && !counted_) {
    document->ViewOpened(kind_);
    counted_ = true;
  }
}

int ChartDocView::ClientWidth() const {
  return std::max(1, viewport()->width() * 2540 / std::max(1, logicalDpiX()));
}
