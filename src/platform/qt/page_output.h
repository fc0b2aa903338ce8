// Pages and pictures drawn through a Dc: one print path for the printer, the print preview and
// PDF files (A4, full page, the origin at the paper's top-left corner, MM_HIMETRIC: the page is
// 21000 x 29700 units with y running negative downwards), and single pages as PNG or SVG files.
#pragma once

#include <QImage>
#include <filesystem>
#include <functional>
#include <string>

#include "foundation/status.h"
#include "platform/core/dc.h"

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace platform {

// Draws page `page` (counted from 1). The device context is in MM_HIMETRIC with logical (0, 0) at
// the paper's top-left corner.
using PageRenderer = std::function<void(Dc& dc, int page)>;

inline constexpr int kPageWidthHiMetric = 21000;
inline constexpr int kPageHeightHiMetric = 29700;

// Sets an A4 portrait page with no margins and the origin at the paper corner on a printer or PDF
// writer.
void SetUpA4(QPagedPaintDevice& device);

// Draws pages first..last on `device` (already set up), one paper page each. False when the
// device cannot be painted on.
bool PrintPages(QPagedPaintDevice& device, int firstPage, int lastPage, const PageRenderer& render);

// Writes pages 1..pageCount to a PDF file titled `titleUtf8`. Error 105 when the file cannot be
// created.
Status WritePdf(const std::filesystem::path& path, const std::string& titleUtf8, int pageCount,
                const PageRenderer& render);

// One page as a white A4 image at `dpi` dots per inch.
QImage RenderPageImage(int page, int dpi, const PageRenderer& render);
// Writes RenderPageImage as PNG; error 105 when it cannot be written.
Status WritePagePng(const std::filesystem::path& path, int page, int dpi,
                    const PageRenderer& render);
// Writes one page as an SVG drawing of A4 size; error 105 when it cannot be written.
Status WritePageSvg(const std::filesystem::path& path, int page, const PageRenderer& render);

// The print preview dialog over PrintPages (modal).
void ShowPrintPreview(QWidget* parent, int pageCount, const PageRenderer& render);
// The print dialog, then PrintPages on the chosen printer. With no printer installed the user
// chooses a PDF file instead (PrintToChosenPdf). `fileNameUtf8` is the name a PDF file is offered
// under (no extension). False when cancelled or when writing failed.
bool PrintWithDialog(QWidget* parent, const std::string& titleUtf8, const std::string& fileNameUtf8,
                     int pageCount, const PageRenderer& render);
// Asks for a PDF file through the prompt service, offering `fileNameUtf8`.pdf in the user's
// documents folder, and writes the pages there; a failure is reported. False when cancelled or
// when writing failed.
bool PrintToChosenPdf(const std::string& titleUtf8, const std::string& fileNameUtf8, int pageCount,
                      const PageRenderer& render);
// The path offered for a PDF file named `fileNameUtf8`: in the documents folder (the home folder
// when there is none), with a '/' of the name made '_' and "velm" for an empty name.
std::string PdfPathProposal(const std::string& fileNameUtf8);

// A picture of a widget as it is drawn now (works offscreen); error 105 when it cannot be written.
Status SaveWidgetScreenshot(QWidget& widget, const std::filesystem::path& path);

}  // namespace platform
