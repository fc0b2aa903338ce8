// The main chart view: the chart's identification block (name, title, date and time with the
// zone, place and coordinates, one line each) and under it the chart wheel. Printed, the chart
// page: one A4 page with the page frame, the identification block, the large or the small wheel
// and the planets' coordinates, placed by the print settings. A click on a planet's glyph shows
// its DPlanetInfo. "Добавить/Убрать гороскоп" adds a second chart of a chosen kind as the outer
// wheel, or takes it away (CKovraDoc::AddRemoveOuterChart).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/qt/view.h"

class Chart;
class CKovraDoc;
class Configuration;
namespace cfg {
struct PrintSettings;
}
namespace wheel {
class Wheel;
}

class CKovraView : public platform::View {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131201;
  // The identification block: left edge and first baseline on the page (0.01 mm), line distance.
  static constexpr int kHeaderLeft = 1500;
  static constexpr int kHeaderTop = -1500;

  // The wheel's square on the page (0.01 mm, y negative downwards), under the identification block.
  static constexpr platform::Rect kWheelArea{1500, -3800, 19500, -21800};
  // The part of the page the view shows, scaled to fit its window: the header and the wheel.
  static constexpr platform::Size kDrawnArea{21000, 22300};

  explicit CKovraView(QWidget* parent = nullptr);
  ~CKovraView() override;

  CKovraDoc* GetDocument() const;
  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  int HelpContext() const override { return kHelpContext; }

  // The lines of the identification block of a chart (code page 1251).
  static std::vector<std::string> HeaderLines(const Chart& chart);

  // The printed chart page (0.01 mm, the origin at the paper's top-left corner, y negative
  // downwards). The offsets of the print settings count from the inner corner of the page frame
  // (the margins plus kPagePadding); their column is the overlay's for a two-chart document, else
  // the large or the small chart's by the size choice.
  static constexpr int kPagePadding = 200;
  struct PageLayout {
    platform::Point header;        // top-left corner of the identification block
    platform::Rect wheel;          // the wheel's square
    platform::Point coordinates;   // top-left corner of the coordinates (inner or only chart)
    platform::Point coordinates2;  // the outer chart's coordinates
  };
  static PageLayout ChartPageLayout(const cfg::PrintSettings& print, bool twoCharts);
  // The coordinates of a chart as a column from (x, y) down: each shown point's glyph, the
  // retrograde mark and its longitude, in the print coordinates' font and line step. Returns the
  // number of rows drawn.
  static int DrawCoordinates(platform::Dc& dc, const Chart& chart, const Configuration& config,
                             int x, int y);
  // The whole chart page, as OnPrint draws it; with the print settings' aspect-table switch on,
  // the aspect table of `tableChoice` (the document's first-table choice) under the wheel.
  static void DrawChartPage(platform::Dc& dc, const Chart& chart, const Chart* outer,
                            const Configuration& config, int tableChoice = 3);

  // One page. A two-chart document printed with its aspect table first asks which chart the
  // table is for; a cancelled question keeps the previous choice.
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

 protected:
  void OnLButtonDown(platform::Point point) override;

 private:
  std::unique_ptr<wheel::Wheel> wheel_;
};
