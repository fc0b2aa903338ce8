// The archive listing in a window of its own: one row per printed chart on screen (with the page
// breaks of the printout marked), and the pages of the listing through the print path.
#pragma once

#include <memory>

#include "archive/print/archive_print.h"
#include "platform/qt/line_list_view.h"

class ChartDocument;

inline constexpr int kArchivePrintHelpContext = 131286;

class CArchivePrint : public platform::LineListView {
  Q_OBJECT

 public:
  explicit CArchivePrint(Archive& archive, QWidget* parent = nullptr);
  ~CArchivePrint() override;

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kArchivePrintHelpContext; }
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

  const ArchivePrintList& List() const { return list_; }
  int PageCount() const { return printer_ ? printer_->PageCount() : 1; }

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  // The column headings above the first row.
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;

 private:
  int ClientWidth() const;

  Archive& archive_;
  ArchivePrintList list_;
  std::unique_ptr<ArchivePrinter> printer_;
  std::string path_;
  ChartDocument* counted_ = nullptr;
};
