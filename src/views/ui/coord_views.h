// The coordinate views of a chart document ("Просмотр > Координаты" and the tables beside it):
// the main table of longitudes of the chart or of the document's second chart, and the tables of
// latitudes, speeds and equatorial or horizontal coordinates. Each opens sized to its table; with
// the screen layout's fit flag the whole table follows the window in both directions, down to a
// smallest readable size, below which (and without the flag) the window scrolls. A printed page
// carries the common page head, the table's heading (its caption part in capitals) and the table
// in the print layout.
#pragma once

#include <QSize>
#include <string>

#include "document/chart_doc_view.h"
#include "views/core/coord_table.h"

class Chart;
class DocViewKind;

class CoordViewBase : public ChartDocView {
  Q_OBJECT

 public:
  // `mode` 0 the main table, else the detail table's mode (1..4; 3 or 4 read from the document).
  CoordViewBase(int mode, int caption, int helpContext, QWidget* parent = nullptr);
  // A view of another kind, drawing the main table in its wide form when `wide`.
  CoordViewBase(int mode, int caption, int helpContext, QWidget* parent, const DocViewKind& kind,
                bool wide);

  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  void OnPrint(platform::Dc& dc, int page) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return helpContext_; }

  // The chart the view shows: the document's chart, or its second chart.
  virtual const Chart* ShownChart() const;
  // The detail mode drawn (0 for the main table).
  int Mode() const;
  // The client size (pixels) the window was opened with.
  QSize OpenedSize() const { return openedSize_; }
  // The font scale the table is drawn at: fitted to the window with the fit flag, else 1.
  double TableScale() const { return scale_; }
  // The table's size at that scale (0.01 mm): the area the window scrolls over.
  platform::Size TableSize() const;
  void OnUpdate(platform::View* sender) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // The window's width at its opening (0.01 mm) for the table's measures at scale 1.
  virtual int WindowWidth(const coords::TableMeasure& m) const;
  // The caption part of the window: the view's own, message 280 for horizontal coordinates.
  int CaptionMessage() const;
  // Draws the common head of a table page and `heading` (code page 1251) beside or under it;
  // returns the y where the table begins. The view's document has a chart.
  int PrintHeadAndHeading(platform::Dc& dc, const std::string& heading) const;
  int caption_;
  bool wide_;

 private:
  // The scale for the window's present size and the scrolled area that goes with it.
  void Refit();
  coords::TableKind Kind() const { return {mode_, wide_}; }

  int mode_;
  int helpContext_;
  double scale_ = 1.0;
  QSize openedSize_;
};

class CCoordView : public CoordViewBase {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 131202;
  explicit CCoordView(QWidget* parent = nullptr);
};

class CCoord2View : public CoordViewBase {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 131204;
  explicit CCoord2View(QWidget* parent = nullptr);
  // Without a second chart the view closes its frame.
  void OnInitialUpdate() override;
  const Chart* ShownChart() const override;
  // The second chart's own title and message 232; empty without it.
  std::string GetFrameTitle() const override;
};

class CCoordLatView : public CoordViewBase {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 131205;
  explicit CCoordLatView(QWidget* parent = nullptr);
};

class CCoordSpeedView : public CoordViewBase {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 131206;
  explicit CCoordSpeedView(QWidget* parent = nullptr);
};

class CCoordEquView : public CoordViewBase {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 978660;
  explicit CCoordEquView(QWidget* parent = nullptr);
};

// The antiscia view ("Просмотр > Антисы и контрантисы", Ctrl-K): the wide table of the chart,
// with the antiscion and the contra-antiscion of each row. Its page carries the common head, the
// title and the tables of the inner and (for a two-chart document) the outer chart.
class AntisView : public CoordViewBase {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 131270;
  explicit AntisView(QWidget* parent = nullptr);
  void OnPrint(platform::Dc& dc, int page) override;

 protected:
  int WindowWidth(const coords::TableMeasure& m) const override;
};
