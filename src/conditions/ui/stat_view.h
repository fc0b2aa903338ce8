// The statistics view CStatView: the buckets of an archive statistics run as bars with their
// labels and counts and the summary under them, printed on one page, and a double click on a
// bar that opens the bar's charts (chosen again in the archive browser) in chart windows. It
// holds the statistics settings and the archive's path, file time and record count as they were
// when it was made: the record numbers of its bars belong to that archive file only.
#pragma once

#include <cstdint>
#include <string>

#include "conditions/core/stat_picture.h"
#include "document/chart_doc_view.h"

class QWidget;
class Workbench;
class ChartDocument;

class CStatView : public ChartDocView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 0x200E8;

  explicit CStatView(Workbench& workbench, QWidget* parent = nullptr);
  ~CStatView() override;

  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;
  // The current archive's path shortened to 25 characters and message 252, made once.
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }

  // The double click: message 690 when the archive is no longer the one counted (another path,
  // another file time or another record count); else the bar's charts marked alone, the browser
  // to review them, and every chart still marked after its OK opened in a chart window.
  void OpenChartsAt(platform::Point at);

  const StatPicture& Screen() const { return screen_; }
  const cfg::StatisticsRecord& Settings() const { return settings_; }

 protected:
  void OnLButtonDblClk(platform::Point at) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The layout for the window's client area in 0.01 mm.
  void SetMargins();
  const StatResults& Results() const;
  bool ArchiveUnchanged() const;

  Workbench& workbench_;
  cfg::StatisticsRecord settings_;
  bool sized_ = false;
  std::string archivePath_;
  std::int64_t archiveTime_ = 0;
  int archiveRecords_ = 0;
  std::string caption_;
  StatPicture screen_;
  StatPicture paper_;
};

// The statistics command of the archive browser, in two steps around the browser's closing: the
// parameters dialog (its OK stores and publishes the settings; true), then the computation over
// the current archive with its progress and the statistics document with its view (nullptr when
// refused, cancelled or not opened).
bool RunStatisticsDialog(QWidget* parent);
ChartDocument* OpenArchiveStatistics(Workbench& workbench);
