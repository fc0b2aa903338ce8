#include "platform/qt/page_output.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QWidget>
#include <cmath>
#include <functional>

#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "platform/core/prompter.h"
#include "platform/qt/qt_dc.h"

namespace platform {
namespace {

QString PathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// Qt writes the picture into memory (`write` given the buffer), and the bytes replace `path`
// through the safe rewrite: a picture that could not be written whole leaves the old file as it
// was.
Status WriteThroughMemory(const std::filesystem::path& path,
                          const std::function<bool(QIODevice&)>& write) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!write(buffer)) return Status::Error(kErrCannotCreate, path.string());
  buffer.close();
  const QByteArray& bytes = buffer.data();
  return RewriteFile(path,
                     std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The page's device context: MM_HIMETRIC, logical (0, 0) at the device origin.
void DrawPage(QPainter& painter, double dpiX, double dpiY, bool printing, int page,
              const PageRenderer& render) {
  QtDc dc(painter, dpiX, dpiY, printing);
  dc.SetMapMode(MapMode::HiMetric);
  dc.SetViewportOrg({0, 0});
  render(dc, page);
}

}  // namespace

void SetUpA4(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

bool PrintPages(QPagedPaintDevice& device, int firstPage, int lastPage,
                const PageRenderer& render) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (int page = firstPage; page <= lastPage; ++page) {
    if (page > firstPage) device.newPage();
    painter.save();
    DrawPage(painter, device.logicalDpiX(), device.logicalDpiY(), true, page, render);
    painter.restore();
  }
  return painter.end();
}

Status WritePdf(const std::filesystem::path& path, const std::string& titleUtf8, int pageCount,
                const PageRenderer& render) {
  return WriteThroughMemory(path, [&](QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setResolution(1200);
    writer.setTitle(QString::fromStdString(titleUtf8));
    writer.setCreator(QStringLiteral("velm"));
    SetUpA4(writer);
    return PrintPages(writer, 1, std::max(1, pageCount), render);
  });
}

QImage RenderPageImage(int page, int dpi, const PageRenderer& render) {
  const int w = static_cast<int>(std::lround(210.0 / 25.4 * dpi));
  const int h = static_cast<int>(std::lround(297.0 / 25.4 * dpi));
  QImage image(w, h, QImage::Format_RGB32);
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawPage(painter, dpi, dpi, false, page, render);
  painter.end();
  return image;
}

Status WritePagePng(const std::filesystem::path& path, int page, int dpi,
                    const PageRenderer& render) {
  const QImage image = RenderPageImage(page, dpi, render);
  return WriteThroughMemory(path, [&](QIODevice& device) { return image.save(&device, "PNG"); });
}

Status WritePageSvg(const std::filesystem::path& path, int page, const PageRenderer& render) {
  constexpr int kDpi = 96;
  return WriteThroughMemory(path, [&](QIODevice& device) {
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setResolution(kDpi);
    const QSize size(static_cast<int>(std::lround(210.0 / 25.4 * kDpi)),
                     static_cast<int>(std::lround(297.0 / 25.4 * kDpi)));
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    DrawPage(painter, kDpi, kDpi, false, page, render);
    return painter.end();
  });
}

void ShowPrintPreview(QWidget* parent, int pageCount, const PageRenderer& render) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);
  SetUpA4(printer);
  QPrintPreviewDialog dialog(&printer, parent);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&](QPrinter* p) { PrintPages(*p, 1, std::max(1, pageCount), render); });
  // The pages open at the window's width (the preview's own default shows a whole page, at
  // 38.8 % in a window of the preview's own size), with the toolbar's choice marked to match.
  if (auto* fitWidth = dialog.findChild<QAction*>(QStringLiteral("fitWidthAction")))
    fitWidth->trigger();
  if (auto* preview = dialog.findChild<QPrintPreviewWidget*>())
    preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
  dialog.exec();
}

bool PrintWithDialog(QWidget* parent, const std::string& titleUtf8, const std::string& fileNameUtf8,
                     int pageCount, const PageRenderer& render) {
  const int last = std::max(1, pageCount);
  if (QPrinterInfo::availablePrinters().isEmpty())
    return PrintToChosenPdf(titleUtf8, fileNameUtf8, last, render);
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);
  // The print dialog's "print to file" offers the document's name as the file's.
  printer.setDocName(QString::fromStdString(fileNameUtf8.empty() ? titleUtf8 : fileNameUtf8));
  SetUpA4(printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, last);
  if (dialog.exec() != QDialog::Accepted) return false;
  int first = 1, lastChosen = last;
  if (printer.printRange() == QPrinter::PageRange) {
    first = std::max(1, printer.fromPage());
    lastChosen = std::min(last, printer.toPage());
  }
  return PrintPages(printer, first, lastChosen, render);
}

std::string PdfPathProposal(const std::string& fileNameUtf8) {
  QString name = QString::fromStdString(fileNameUtf8).trimmed();
  name.replace(QLatin1Char('/'), QLatin1Char('_'));
  if (name.isEmpty()) name = QStringLiteral("velm");
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  return QDir(folder).filePath(name + QStringLiteral(".pdf")).toStdString();
}

bool PrintToChosenPdf(const std::string& titleUtf8, const std::string& fileNameUtf8, int pageCount,
                      const PageRenderer& render) {
  FileChoice choice;
  choice.open = false;
  choice.mustExist = false;
  choice.filters = {{"PDF (*.pdf)", "*.pdf"}};
  choice.path = PdfPathProposal(fileNameUtf8);
  if (!GetPrompter().ChooseFile(choice) || choice.path.empty()) return false;
  std::filesystem::path path = choice.path;
  if (path.extension().empty()) path += ".pdf";
  const Status st = WritePdf(path, titleUtf8, pageCount, render);
  if (!st.ok()) ReportStatus(st, "PrintToChosenPdf");
  return st.ok();
}

Status SaveWidgetScreenshot(QWidget& widget, const std::filesystem::path& path) {
  if (!widget.grab().save(PathText(path), "PNG"))
    return Status::Error(kErrCannotCreate, path.string());
  return Status::Ok();
}

}  // namespace platform
