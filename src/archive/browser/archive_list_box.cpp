#include "archive/browser/archive_list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"

namespace {

// The row of column headings above the rows, drawn by the list in its row font.
class ArchiveListHead : public QWidget {
 public:
  ArchiveListHead(const ArchiveBrowserList& list, QWidget* parent) : QWidget(parent), list_(list) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    platform::QtDc dc(painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    list_.PaintHeadings(dc, width());
  }

 private:
  const ArchiveBrowserList& list_;
};

}  // namespace

CArchiveListBox::CArchiveListBox(ArchiveIndex& index, QWidget* parent)
    : QAbstractScrollArea(parent), list_(index) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setMinimumSize(560, 240);
  // The row height of the row font on this screen.
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  platform::QtDc dc(painter, false);
  dc.SetMapMode(platform::MapMode::Text);
  rowHeight_ = ArchiveRowHeight(dc);
  // The headings stand above the rows, outside the scrolled area.
  head_ = new ArchiveListHead(list_, this);
  setViewportMargins(0, rowHeight_, 0, 0);
}

int CArchiveListBox::VisibleRows() const {
  return ArchiveBrowserList::VisibleRows(viewport()->height(), rowHeight_);
}

QRect CArchiveListBox::RowOnScreen(int row) const {
  const int at = row - list_.TopRow();
  if (row < 0 || at < 0 || at > VisibleRows()) return {};
  const QRect inView(0, at * rowHeight_, viewport()->width(), rowHeight_);
  return QRect(viewport()->mapToGlobal(inView.topLeft()), inView.size());
}

void CArchiveListBox::Refill(bool reset) {
  if (reset) list_.SetTopRow(0, VisibleRows());
  list_.Refill();
  if (reset) list_.SetCurrentRow(0);
  anchor_ = std::max(list_.CurrentRow(), 0);
  Changed();
}

void CArchiveListBox::Changed() {
  UpdateScrollBar();
  head_->update();  // the columns follow the widest texts
  viewport()->update();
}

void CArchiveListBox::UpdateScrollBar() {
  QScrollBar* bar = verticalScrollBar();
  const int visible = VisibleRows();
  const QSignalBlocker block(bar);
  bar->setRange(0, std::max(list_.RecordRowCount() - visible, 0));
  bar->setPageStep(visible);
  bar->setSingleStep(1);
  bar->setValue(list_.TopRow());
}

void CArchiveListBox::scrollContentsBy(int, int) {
  list_.SetTopRow(verticalScrollBar()->value(), VisibleRows());
  viewport()->update();
}

void CArchiveListBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  const QRect rows = viewport()->geometry();
  head_->setGeometry(rows.left(), rows.top() - rowHeight_, rows.width(), rowHeight_);
  list_.SetTopRow(list_.TopRow(), VisibleRows());
  UpdateScrollBar();
}

void CArchiveListBox::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  platform::QtDc dc(painter, false);
  dc.SetMapMode(platform::MapMode::Text);
  lastPainted_ = list_.Paint(dc, viewport()->width(), viewport()->height(), commentPage_);
  // The focused row's frame.
  const int current = list_.CurrentRow();
  if (hasFocus() && current >= list_.TopRow() && current < list_.TopRow() + VisibleRows() + 1) {
    painter.setPen(QPen(Qt::DotLine));
    const int y = (current - list_.TopRow()) * rowHeight_;
    painter.drawRect(0, y, viewport()->width() - 1, rowHeight_ - 1);
  }
}

int CArchiveListBox::RowAt(int y) const {
  if (list_.IsEmptyArchive()) return -1;
  const int row = list_.TopRow() + y / std::max(rowHeight_, 1);
  return row < list_.RecordRowCount() ? row : -1;
}

void CArchiveListBox::mousePressEvent(QMouseEvent* event) {
  const int row = RowAt(static_cast<int>(event->position().y()));
  if (row < 0 || event->button() != Qt::LeftButton) return;
  const Qt::KeyboardModifiers mods = single_ ? Qt::NoModifier : event->modifiers();
  if (mods & Qt::ShiftModifier) {
    if (!(mods & Qt::ControlModifier)) list_.ClearSelection();
    list_.SelectRange(anchor_, row);
  } else if (mods & Qt::ControlModifier) {
    list_.SetSelected(row, !list_.IsSelected(row));
    anchor_ = row;
  } else {
    list_.ClearSelection();
    list_.SetSelected(row, true);
    anchor_ = row;
  }
  list_.SetCurrentRow(row);
  viewport()->update();
  Q_EMIT selectionChanged();
}

void CArchiveListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  const int row = RowAt(static_cast<int>(event->position().y()));
  if (row >= 0) Q_EMIT rowActivated(row);
}

void CArchiveListBox::MoveCurrent(int row, bool extend, bool keepSelection) {
  if (list_.IsEmptyArchive()) return;
  row = std::clamp(row, 0, list_.RecordRowCount() - 1);
  list_.SetCurrentRow(row);
  if (extend) {
    list_.ClearSelection();
    list_.SelectRange(anchor_, row);
  } else if (!keepSelection) {
    list_.ClearSelection();
    list_.SetSelected(row, true);
    anchor_ = row;
  }
  list_.EnsureVisible(row, VisibleRows());
  Changed();
  if (!keepSelection || extend) Q_EMIT selectionChanged();
}

bool CArchiveListBox::JumpToInitial(char typed) {
  const int row = list_.RowOfInitial(typed);
  if (row < 0) return false;
  list_.SetTopRow(row, VisibleRows());
  list_.SetCurrentRow(row);
  Changed();
  return true;
}

void CArchiveListBox::keyPressEvent(QKeyEvent* event) {
  const bool shift = !single_ && (event->modifiers() & Qt::ShiftModifier);
  const bool ctrl = !single_ && (event->modifiers() & Qt::ControlModifier);
  const int current = std::max(list_.CurrentRow(), 0);
  const int page = VisibleRows();
  switch (event->key()) {
    case Qt::Key_Up:
      return MoveCurrent(current - 1, shift, ctrl);
    case Qt::Key_Down:
      return MoveCurrent(current + 1, shift, ctrl);
    case Qt::Key_PageUp:
      return MoveCurrent(current - page, shift, ctrl);
    case Qt::Key_PageDown:
      return MoveCurrent(current + page, shift, ctrl);
    case Qt::Key_Home:
      return MoveCurrent(0, shift, ctrl);
    case Qt::Key_End:
      return MoveCurrent(list_.RecordRowCount() - 1, shift, ctrl);
    case Qt::Key_Space:
      if (list_.IsEmptyArchive()) return;
      if (single_) list_.ClearSelection();
      list_.SetSelected(current, ctrl ? !list_.IsSelected(current) : true);
      Changed();
      Q_EMIT selectionChanged();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      QAbstractScrollArea::keyPressEvent(event);  // the dialog's default button
      return;
    default:
      break;
  }
  // A typed character: the first record whose name begins with it comes to the top.
  const std::string typed = platform::FromQt(event->text());
  if (typed.size() == 1 && static_cast<unsigned char>(typed[0]) >= 0x20 && !ctrl) {
    JumpToInitial(typed[0]);
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}
