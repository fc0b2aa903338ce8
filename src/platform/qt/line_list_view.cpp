#include "platform/qt/line_list_view.h"

#include <QKeyEvent>
#include <QMdiArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "foundation/lists/list_navigation.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/doc_template.h"
#include "platform/qt/measuring_dc.h"

namespace platform {

namespace {

// Printouts are measured at a printer's resolution; the logical sizes do not depend on it.
constexpr double kPaperDpi = 600.0;

}  // namespace

LineListView::LineListView(lists::ScrollLimit limit, QWidget* parent) : View(parent), list_(limit) {
  SetScrollByLines(MapMode::HiMetric);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  verticalScrollBar()->setSingleStep(1);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnBarAction(action); });
  // Moves that come without an action (the mouse wheel): the thumb position.
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (value != list_.First()) Scroll(kScrollThumbPosition, value);
  });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int) { viewport()->update(); });
}

void LineListView::WidenFrameToLines() {
  ChildFrame* frame = Frame();
  const int needed = LinesWidthInPixels();
  if (frame == nullptr || needed == 0) return;
  // Before the view is first shown its window has not been laid out: the frame is widened by
  // what its parts take now, and measured again when it shows.
  widenOnShow_ = !isVisible();
  const int around = widenOnShow_ ? frame->width() - width() + 2 * frameWidth() +
                                        verticalScrollBar()->sizeHint().width()
                                  : frame->width() - viewport()->width();
  if (needed + around <= frame->width()) return;
  frame->resize(needed + around, frame->height());
  // Kept inside the window area, made narrower only where the area is narrower.
  if (QMdiArea* area = frame->mdiArea(); area != nullptr && area->isVisible())
    frame->setGeometry(KeptInside(frame->geometry(), area->viewport()->size()));
}

void LineListView::showEvent(QShowEvent* event) {
  View::showEvent(event);
  if (widenOnShow_) WidenFrameToLines();
}

int LineListView::LinesWidthInPixels() const {
  if (screen_.width <= 0) return 0;
  const double units = 2.0 * screen_.left + screen_.width;
  return static_cast<int>(
      std::ceil(units * logicalDpiX() / LogicalUnitsPerInch(MapMode::HiMetric)));
}

void LineListView::SetLineCount(int count) {
  list_.SetCount(count);
  Relayout();
}

void LineListView::Relayout() {
  MeasuringDc measure(logicalDpiY(), false, MapMode::HiMetric);
  screen_ = MeasureScreen(measure.dc());
  list_.SetGeometry(screen_.top, screen_.pitch);
  list_.FitLines(VisibleHeight() - screen_.bottom);
  UpdateBar();
  viewport()->update();
}

int LineListView::VisibleHeight() const {
  return static_cast<int>(viewport()->height() * LogicalUnitsPerInch(MapMode::HiMetric) /
                          std::max(1, logicalDpiY()));
}

void LineListView::UpdateBar() {
  QScrollBar* bar = verticalScrollBar();
  const QSignalBlocker block(bar);
  bar->setRange(0, list_.MaxFirst());
  bar->setPageStep(std::max(1, list_.LinesPerPage()));
  bar->setValue(list_.First());
  QScrollBar* across = horizontalScrollBar();
  across->setRange(0, std::max(0, LinesWidthInPixels() - viewport()->width()));
  across->setPageStep(std::max(1, viewport()->width()));
}

int LineListView::Scroll(int code, int position) {
  const int result = list_.Scroll(code, position);
  if (result != kListUnchanged) {
    UpdateBar();
    viewport()->update();
  }
  return result;
}

int LineListView::Key(int virtualKey) {
  const int result = list_.Key(virtualKey);
  if (result != kListUnchanged) {
    UpdateBar();
    viewport()->update();
  }
  return result;
}

void LineListView::OnBarAction(int action) {
  QScrollBar* bar = verticalScrollBar();
  int code = -1;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = kScrollLineUp;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = kScrollLineDown;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = kScrollPageUp;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = kScrollPageDown;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = kScrollTop;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = kScrollBottom;
      break;
    case QAbstractSlider::SliderMove:
      code = kScrollThumbTrack;
      break;
    default:
      return;
  }
  // The bar has moved its slider already; the list decides where the first line goes.
  const int position = bar->sliderPosition();
  list_.Scroll(code, position);
  bar->setSliderPosition(list_.First());
  viewport()->update();
}

void LineListView::OnPrepareDC(Dc& dc) {
  dc.SetMapMode(MapMode::HiMetric);
  dc.SetViewportOrg({dc.IsPrinting() ? 0 : -horizontalScrollBar()->value(), 0});
}

void LineListView::OnDraw(Dc& dc) {
  DrawHead(dc);
  if (list_.Count() == 0) {
    DrawEmpty(dc, {screen_.left, list_.RowTop(0)});
    return;
  }
  const bool printing = dc.IsPrinting();
  for (int row = 0; row < list_.VisibleCount(); ++row) {
    const int line = list_.First() + row;
    DrawLine(dc, line, {screen_.left, list_.RowTop(row)}, !printing && line == list_.Selection());
  }
}

bool LineListView::OnPreparePrinting(PrintInfo& info) {
  MeasuringDc measure(kPaperDpi, true, MapMode::HiMetric);
  printed_ = MeasurePrint(measure.dc());
  const int pages = printed_.layout.PageCount(list_.Count());
  if (pages == 0) return false;  // nothing to print
  info.minPage = 1;
  info.maxPage = pages;
  return true;
}

void LineListView::OnPrint(Dc& dc, int page) {
  const lists::ColumnPageLayout& layout = printed_.layout;
  const int count = list_.Count();
  DrawPageHead(dc, page, layout.PageCount(count), layout.RowsUsedOnPage(page, count));
  const int first = layout.FirstOnPage(page);
  const int onPage = layout.CountOnPage(page, count);
  for (int k = 0; k < onPage; ++k) {
    const lists::ColumnCell cell = layout.CellOf(first + k);
    const int x = printed_.left + static_cast<int>(cell.column * printed_.columnStep);
    const int y = -(printed_.top + static_cast<int>(cell.row * printed_.pitch));
    DrawLine(dc, first + k, {x, y}, false);
  }
}

void LineListView::OnLButtonDown(Point at) {
  const int line = list_.LineAt(at.y);
  if (line < 0) {
    OnHeadClick(at);
    return;
  }
  if (list_.Select(line) != kListUnchanged) {
    UpdateBar();
    viewport()->update();
  }
}

void LineListView::OnLButtonDblClk(Point at) {
  const int line = list_.LineAt(at.y);
  if (line < 0) return;
  list_.Select(line);
  UpdateBar();
  viewport()->update();
  OnOpenLine(line);
}

void LineListView::OnRButtonDown(Point at) { OnLineRightClick(list_.LineAt(at.y)); }

int LineListView::ListKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_PageUp:
      return kKeyPageUp;
    case Qt::Key_PageDown:
      return kKeyPageDown;
    case Qt::Key_End:
      return kKeyEnd;
    case Qt::Key_Home:
      return kKeyHome;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Down:
      return kKeyDown;
    default:
      return 0;
  }
}

void LineListView::keyPressEvent(QKeyEvent* event) {
  if (const int key = ListKeyOf(event->key()); key != 0) {
    Key(key);
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (list_.Count() > 0) OnOpenLine(list_.Selection());
    event->accept();
    return;
  }
  View::keyPressEvent(event);
}

void LineListView::resizeEvent(QResizeEvent* event) {
  View::resizeEvent(event);
  list_.FitLines(VisibleHeight() - screen_.bottom);
  UpdateBar();
}

}  // namespace platform
