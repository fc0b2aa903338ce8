// What the views of the analysis tables share as views of a chart document: the document as a
// ChartDocument, the open counter of the view's kind (counted in at the first update, out when the
// view goes) and the width of the window in 0.01 mm.
#pragma once

#include "platform/qt/view.h"

class ChartDocument;
class DocViewKind;

class ChartDocView : public platform::View {
  Q_OBJECT

 public:
  explicit ChartDocView(const DocViewKind& kind, QWidget* parent = nullptr);
  ~ChartDocView() override;

  ChartDocument* GetDocument() const;

 protected:
  // Counts the view in with its document, once.
  void CountOpen();
  // The window's width in 0.01 mm, at least 1.
  int ClientWidth() const;

 private:
  const DocViewKind& kind_;
  bool counted_ = false;
};
