#include "document/chart_doc_view.h"

#include <algorithm>

#include "document/chart_document.h"

ChartDocView::ChartDocView(const DocViewKind& kind, QWidget* parent)
    : platform::View(parent), kind_(kind) {}

ChartDocView::~ChartDocView() {
  if (counted_) {
    if (ChartDocument* document = GetDocument()) document->ViewClosed(kind_);
  }
}

ChartDocument* ChartDocView::GetDocument() const {
  return dynamic_cast<ChartDocument*>(platform::View::GetDocument());
}

void ChartDocView::CountOpen() {
  ChartDocument* document = GetDocument();
  if (document != nullptr && !counted_) {
    document->ViewOpened(kind_);
    counted_ = true;
  }
}

int ChartDocView::ClientWidth() const {
  return std::max(1, viewport()->width() * 2540 / std::max(1, logicalDpiX()));
}
