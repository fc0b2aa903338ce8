#include "platform/qt/view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/document.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"

namespace platform {

View::View(QWidget* parent) : QAbstractScrollArea(parent) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  viewport()->setAutoFillBackground(true);
  viewport()->setBackgroundRole(QPalette::Base);
  setFocusPolicy(Qt::StrongFocus);
  OnCommand(kIdFilePrint, [this] { FilePrint(); });
  OnCommand(kIdFilePrintPreview, [this] { FilePrintPreview(); });
}

View::~View() {
  if (document_ != nullptr) document_->RemoveView(this);
}

void View::AttachDocument(Document* document) {
  document_ = document;
  if (document_ != nullptr) document_->AddView(this);
}

ChildFrame* View::Frame() const {
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* frame = qobject_cast<ChildFrame*>(w)) return frame;
  }
  return nullptr;
}

void View::OnUpdate(View*) {
  UpdateFrameTitle();
  viewport()->update();
}

void View::OnPrepareDC(Dc& dc) {
  dc.SetMapMode(mapMode_);
  const Point origin = ScrollOrigin();
  dc.SetViewportOrg({-origin.x, -origin.y});
}

std::string View::GetFrameTitle() const {
  return document_ != nullptr ? document_->GetTitle() : std::string();
}

void View::UpdateFrameTitle() {
  if (ChildFrame* frame = Frame()) frame->OnUpdateFrameTitle();
}

bool View::OnPreparePrinting(PrintInfo& info) {
  info.minPage = info.maxPage = 1;
  return true;
}

void View::OnBeginPrinting(Dc&, PrintInfo&) {}

void View::OnPrint(Dc& dc, int) { OnDraw(dc); }

namespace {

// The pages of a view: preparation once, then each page drawn by OnPrint.
struct PrintJob {
  View& view;
  PrintInfo info;
  bool begun = false;
  void operator()(Dc& dc, int page) {
    if (!begun) {
      view.OnBeginPrinting(dc, info);
      begun = true;
    }
    view.OnPrint(dc, page);
  }
};

}  // namespace

Status View::PrintToPdf(const std::filesystem::path& path) {
  PrintInfo info;
  if (!OnPreparePrinting(info)) return Status::Ok();
  auto job = std::make_shared<PrintJob>(PrintJob{*this, info});
  const Status status = WritePdf(path, ToQt(GetFrameTitle()).toStdString(), info.maxPage,
                                 [job](Dc& dc, int page) { (*job)(dc, page); });
  OnEndPrinting();
  return status;
}

void View::FilePrint() {
  PrintInfo info;
  if (!OnPreparePrinting(info)) return;
  auto job = std::make_shared<PrintJob>(PrintJob{*this, info});
  const std::string fileName =
      document_ != nullptr ? ToQt(document_->FileNameProposal()).toStdString() : std::string();
  PrintWithDialog(this, ToQt(GetFrameTitle()).toStdString(), fileName, info.maxPage,
                  [job](Dc& dc, int page) { (*job)(dc, page); });
  OnEndPrinting();
}

void View::FilePrintPreview() {
  PrintInfo info;
  info.preview = true;
  if (!OnPreparePrinting(info)) return;
  auto job = std::make_shared<PrintJob>(PrintJob{*this, info});
  ShowPrintPreview(this, info.maxPage, [job](Dc& dc, int page) { (*job)(dc, page); });
  OnEndPrinting();
}

void View::SetScrollSizes(MapMode mode, Size total) {
  mapMode_ = mode;
  total_ = total;
  scaleToFit_ = false;
  byLines_ = false;
  UpdateScrollBars();
}

void View::SetScrollByLines(MapMode mode) {
  mapMode_ = mode;
  total_ = {};
  scaleToFit_ = false;
  byLines_ = true;
  horizontalScrollBar()->setRange(0, 0);
}

void View::SetScaleToFitSize(MapMode mode, Size total) {
  mapMode_ = mode;
  total_ = total;
  scaleToFit_ = true;
  byLines_ = false;
  UpdateScrollBars();
  viewport()->update();
}

double View::Scale() const {
  if (!scaleToFit_ || mapMode_ == MapMode::Text || total_.cx == 0 || total_.cy == 0) return 1.0;
  const double perInch = LogicalUnitsPerInch(mapMode_);
  const double width = std::abs(total_.cx) * logicalDpiX() / perInch;
  const double height = std::abs(total_.cy) * logicalDpiY() / perInch;
  const QSize page = viewport()->size();
  return std::max(0.05, std::min(page.width() / width, page.height() / height));
}

Point View::ScrollOrigin() const {
  // A view scrolling by lines moves only sideways in pixels.
  if (byLines_) return {horizontalScrollBar()->value(), 0};
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void View::UpdateScrollBars() {
  if (byLines_) return;
  if (scaleToFit_) {
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);
    return;
  }
  // The logical size in device pixels of this screen.
  const double perInch = LogicalUnitsPerInch(mapMode_);
  const int width =
      mapMode_ == MapMode::Text
          ? total_.cx
          : static_cast<int>(std::lround(std::abs(total_.cx) * logicalDpiX() / perInch));
  const int height =
      mapMode_ == MapMode::Text
          ? total_.cy
          : static_cast<int>(std::lround(std::abs(total_.cy) * logicalDpiY() / perInch));
  const QSize page = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, width - page.width()));
  horizontalScrollBar()->setPageStep(page.width());
  verticalScrollBar()->setRange(0, std::max(0, height - page.height()));
  verticalScrollBar()->setPageStep(page.height());
}

Point View::DeviceToLogical(QPoint device) const {
  RecordingDc conversion(logicalDpiX() * Scale());
  conversion.SetMapMode(mapMode_);
  const Point origin = ScrollOrigin();
  conversion.SetViewportOrg({-origin.x, -origin.y});
  return conversion.DPtoLP({device.x(), device.y()});
}

void View::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setRenderHint(QPainter::Antialiasing);
  QtDc dc(painter, logicalDpiX() * Scale(), logicalDpiY() * Scale(), false);
  OnPrepareDC(dc);
  OnDraw(dc);
}

void View::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void View::mousePressEvent(QMouseEvent* event) {
  const Point at = DeviceToLogical(event->position().toPoint());
  if (event->button() == Qt::LeftButton) OnLButtonDown(at);
  if (event->button() == Qt::RightButton) OnRButtonDown(at);
}

void View::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    OnLButtonDblClk(DeviceToLogical(event->position().toPoint()));
}

void View::mouseMoveEvent(QMouseEvent* event) {
  OnMouseMove(DeviceToLogical(event->position().toPoint()));
}

void View::keyPressEvent(QKeyEvent* event) {
  OnKeyDown(event->key());
  QAbstractScrollArea::keyPressEvent(event);
}

void View::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

}  // namespace platform
