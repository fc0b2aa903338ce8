// A view: a scrolling window onto a document. It draws through a Dc (OnDraw) in the mapping mode
// it chooses, receives mouse positions in logical units of that mode, and prints through the same
// drawing: OnPreparePrinting sets the page count, OnBeginPrinting prepares, OnPrint draws a page.
#pragma once

#include <QAbstractScrollArea>
#include <filesystem>
#include <string>

#include "foundation/status.h"
#include "platform/core/dc.h"
#include "platform/qt/command_target.h"

namespace platform {

class ChildFrame;
class Document;

// The framework's print commands, handled by every view.
inline constexpr int kIdFilePrint = 57607;
inline constexpr int kIdFilePrintPreview = 57609;

struct PrintInfo {
  int minPage = 1;
  int maxPage = 1;
  bool preview = false;
};

class View : public QAbstractScrollArea, public CommandTarget {
  Q_OBJECT

 public:
  explicit View(QWidget* parent = nullptr);
  ~View() override;

  Document* GetDocument() const { return document_; }
  void AttachDocument(Document* document);
  // The frame that holds the view; nullptr while it has none.
  ChildFrame* Frame() const;

  virtual void OnInitialUpdate() { OnUpdate(nullptr); }
  virtual void OnUpdate(View* sender);
  // Draws in the mapping mode set by OnPrepareDC (MM_TEXT unless SetScrollSizes chose another).
  virtual void OnDraw(Dc& dc) = 0;
  virtual void OnPrepareDC(Dc& dc);
  // The caption of the view's frame: the document title and the view's own part.
  virtual std::string GetFrameTitle() const;
  void UpdateFrameTitle();
  // The help context of the view (F1); 0 when it has none.
  virtual int HelpContext() const { return 0; }

  // Printing: the page range (false cancels), preparation, one page (MM_HIMETRIC, the origin at
  // the paper's top-left corner), the end.
  virtual bool OnPreparePrinting(PrintInfo& info);
  virtual void OnBeginPrinting(Dc& dc, PrintInfo& info);
  virtual void OnPrint(Dc& dc, int page);
  virtual void OnEndPrinting() {}
  // Prints every page into a PDF file (no dialog).
  Status PrintToPdf(const std::filesystem::path& path);
  // The print dialog (a PDF file when there is no printer) and the print preview.
  void FilePrint();
  void FilePrintPreview();

  // The logical size of the scrolled area in `mode`.
  void SetScrollSizes(MapMode mode, Size total);
  // Instead of scrolling, the logical area `total` is drawn scaled to fit the window (its aspect
  // kept); the fonts scale with it.
  void SetScaleToFitSize(MapMode mode, Size total);
  MapMode ScrollMapMode() const { return mapMode_; }
  // Device pixel -> logical point in the view's mapping, scroll position included.
  Point DeviceToLogical(QPoint device) const;
  // The view scrolls by lines of its own (a line list): the logical origin stays at the window's
  // top-left corner and the scroll bars are the view's to set.
  void SetScrollByLines(MapMode mode);
  bool ScrollsByLines() const { return byLines_; }

 protected:
  virtual void OnLButtonDown(Point) {}
  virtual void OnLButtonDblClk(Point) {}
  virtual void OnRButtonDown(Point) {}
  virtual void OnMouseMove(Point) {}
  virtual void OnKeyDown(int) {}

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void UpdateScrollBars();
  Point ScrollOrigin() const;

  Document* document_ = nullptr;
  MapMode mapMode_ = MapMode::Text;
  Size total_{};
  bool scaleToFit_ = false;
  bool byLines_ = false;
  // Window pixels per screen pixel of the logical area: 1 while scrolling.
  double Scale() const;
};

}  // namespace platform
