// The line-list view base: keys, scroll bar and mouse on a window, and the printed columns.
#include "platform/qt/line_list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/drawing/page_frame.h"
#include "foundation/lists/list_navigation.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/page_output.h"
#include "support/test_support.h"

namespace {

// Lines 400 units apart under a heading of 500; printed 10 rows by 3 columns, 6000 apart, from
// (1500, 2000).
constexpr int kTop = 500;
constexpr int kPitch = 400;

class NumberList : public platform::LineListView {
 public:
  explicit NumberList(int count, lists::ColumnOrder order = lists::ColumnOrder::kAcross)
      : order_(order) {
    resize(300, 300);
    show();  // the window's real size, as the user's
    QCoreApplication::processEvents();
    SetLineCount(count);
  }

  std::vector<int> opened;
  std::vector<int> rightClicks;
  struct Drawn {
    int line;
    platform::Point at;
    bool selected;
  };
  std::vector<Drawn> drawn;
  std::vector<int> heads;  // the rows used, page by page

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc&) override { return {100, kTop, kPitch}; }
  platform::PrintedLines MeasurePrint(platform::Dc&) override {
    return {lists::ColumnPageLayout(10, 3, order_), 1500, 2000, 450.0, 6000.0};
  }
  void DrawHead(platform::Dc& dc) override { dc.TextOut(100, -100, "Heading"); }
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override {
    drawn.push_back({line, at, selected});
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), 2200});
    if (selected) dc.FillRect({at.x, at.y, at.x + 4000, at.y - kPitch}, {255, 255, 0});
    dc.TextOut(at.x, at.y, "Line " + std::to_string(line));
  }
  void DrawPageHead(platform::Dc& dc, int page, int, int rowsUsed) override {
    heads.push_back(rowsUsed);
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), 4000});
    dc.Rectangle({1000, -1000 + 200, 20000, -(2000 + rowsUsed * 450 + 200)});
    dc.TextOut(1500, -1000, "Page " + std::to_string(page));
  }
  void OnOpenLine(int line) override { opened.push_back(line); }
  void OnLineRightClick(int line) override { rightClicks.push_back(line); }

 private:
  lists::ColumnOrder order_;
};

// The window pixel at logical y (0.01 mm, negative downwards); a pixel is about 26 units, so the
// tests click at least 100 units inside a band.
QPointF PixelAt(const QWidget& w, int logicalY) {
  return QPointF(20, -logicalY * w.logicalDpiY() / 2540.0);
}

void Press(NumberList& view, int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

void Click(NumberList& view, QEvent::Type type, Qt::MouseButton button, int logicalY) {
  const QPointF at = PixelAt(*view.viewport(), logicalY);
  QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), button, button, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &event);
}

// The visible lines of a 300-pixel window: (height - 500) / 400, from its logical height.
int ExpectedLines(const NumberList& view) {
  const double height = view.viewport()->height() * 2540.0 / view.logicalDpiY();
  return static_cast<int>((height - kTop) / kPitch);
}

TEST(LineListView, KeysMoveSelectionAndScrollBarTogether) {
  NumberList view(50);
  const int page = view.List().LinesPerPage();
  ASSERT_EQ(page, ExpectedLines(view));
  ASSERT_GT(page, 2);
  QScrollBar* bar = view.verticalScrollBar();
  EXPECT_EQ(bar->maximum(), 50 - page);

  struct Step {
    int qtKey;
    int first, selection;
  };
  const Step steps[] = {
      {Qt::Key_Down, 0, 1},         {Qt::Key_PageDown, page, 1 + page},
      {Qt::Key_End, 50 - page, 49}, {Qt::Key_Up, 50 - page, 48},
      {Qt::Key_Home, 0, 0},         {Qt::Key_Up, 0, 0},
      {Qt::Key_Left, 0, 0},  // not a list key
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.qtKey);
    Press(view, s.qtKey);
    EXPECT_EQ(view.List().First(), s.first);
    EXPECT_EQ(view.List().Selection(), s.selection);
    EXPECT_EQ(bar->value(), s.first);
  }
  Press(view, Qt::Key_PageDown);
  Press(view, Qt::Key_Return);
  EXPECT_EQ(view.opened, std::vector<int>{page});
}

TEST(LineListView, ScrollBarActionsGoThroughTheScrollCodes) {
  NumberList view(50);
  const int page = view.List().LinesPerPage();
  QScrollBar* bar = view.verticalScrollBar();
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(view.List().First(), page);
  EXPECT_EQ(view.List().Selection(), page);  // the selection comes onto the page
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(view.List().First(), page - 1);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(view.List().First(), 50 - page);
  EXPECT_EQ(bar->value(), 50 - page);
  bar->setValue(5);  // as the mouse wheel moves it, without an action
  EXPECT_EQ(view.List().First(), 5);
  EXPECT_EQ(view.List().Selection(), 5 + page - 1);
}

TEST(LineListView, ClicksFindTheLineUnderThePointer) {
  NumberList view(50);
  view.Scroll(kScrollThumbPosition, 10);
  // The middle of the third row: 500 + 2 x 400 + 200 below the top.
  Click(view, QEvent::MouseButtonPress, Qt::LeftButton, -(kTop + 2 * kPitch + 200));
  EXPECT_EQ(view.List().Selection(), 12);
  Click(view, QEvent::MouseButtonDblClick, Qt::LeftButton, -(kTop + 3 * kPitch + 100));
  EXPECT_EQ(view.List().Selection(), 13);
  EXPECT_EQ(view.opened, std::vector<int>{13});
  Click(view, QEvent::MouseButtonPress, Qt::RightButton, -(kTop + 100));
  Click(view, QEvent::MouseButtonPress, Qt::RightButton, -(kTop - 100));  // on the heading
  EXPECT_EQ(view.rightClicks, (std::vector<int>{10, -1}));

  // Below the last line of a short list no line is hit.
  NumberList few(2);
  Click(few, QEvent::MouseButtonPress, Qt::RightButton, -(kTop + 2 * kPitch + 100));
  Click(few, QEvent::MouseButtonDblClick, Qt::LeftButton, -(kTop + 2 * kPitch + 100));
  EXPECT_EQ(few.rightClicks, std::vector<int>{-1});
  EXPECT_TRUE(few.opened.empty());
}

TEST(LineListView, ScreenDrawsTheVisibleLinesWithTheSelection) {
  NumberList view(50);
  view.Key(kKeyDown);
  view.drawn.clear();
  platform::RecordingDc dc;
  view.OnPrepareDC(dc);
  view.OnDraw(dc);
  ASSERT_EQ(static_cast<int>(view.drawn.size()), view.List().LinesPerPage());
  for (int row = 0; row < static_cast<int>(view.drawn.size()); ++row) {
    EXPECT_EQ(view.drawn[row].line, row);
    EXPECT_EQ(view.drawn[row].at.x, 100);
    EXPECT_EQ(view.drawn[row].at.y, -(kTop + row * kPitch));
    EXPECT_EQ(view.drawn[row].selected, row == 1);
  }
}

// 61 lines on pages of 10 rows by 3 columns: three pages, the last holding one line.
TEST(LineListView, PrintedPagesHoldTheirLinesInColumns) {
  struct Case {
    lists::ColumnOrder order;
    int line;  // on page 2
    int column, row;
  };
  const Case cases[] = {
      {lists::ColumnOrder::kAcross, 31, 1, 0},  // across: line 31 is the second of the first row
      {lists::ColumnOrder::kDown, 31, 0, 1},    // down: the second of the first column
      {lists::ColumnOrder::kDown, 45, 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NumberList view(61, c.order);
    platform::PrintInfo info;
    ASSERT_TRUE(view.OnPreparePrinting(info));
    EXPECT_EQ(info.maxPage, 3);
    platform::RecordingDc dc(600, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    view.drawn.clear();
    view.OnPrint(dc, 2);
    ASSERT_EQ(view.drawn.size(), 30u);
    EXPECT_EQ(view.drawn.front().line, 30);
    const auto& d = view.drawn[static_cast<std::size_t>(c.line - 30)];
    EXPECT_EQ(d.line, c.line);
    EXPECT_FALSE(d.selected);
    EXPECT_EQ(d.at.x, 1500 + c.column * 6000);
    EXPECT_EQ(d.at.y, -(2000 + static_cast<int>(c.row * 450.0)));
    view.drawn.clear();
    view.OnPrint(dc, 3);
    ASSERT_EQ(view.drawn.size(), 1u);
    EXPECT_EQ(view.drawn.front().line, 60);
    EXPECT_EQ(view.heads, (std::vector<int>{10, 1}));
  }
  NumberList empty(0);
  platform::PrintInfo info;
  EXPECT_FALSE(empty.OnPreparePrinting(info));  // nothing to print: no blank page
  NumberList full(60);
  ASSERT_TRUE(full.OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 2);  // an exact multiple of a page
}

TEST(LineListView, PrintsToPdfAndPng) {
  testing_support::TempFolder folder;
  NumberList view(75, lists::ColumnOrder::kDown);
  ASSERT_TRUE(view.PrintToPdf(folder / "line_list.pdf").ok());
  EXPECT_GT(std::filesystem::file_size(folder / "line_list.pdf"), 1000u);
  platform::PrintInfo info;
  ASSERT_TRUE(view.OnPreparePrinting(info));
  const auto page = [&view](platform::Dc& dc, int n) { view.OnPrint(dc, n); };
  ASSERT_TRUE(platform::WritePagePng(folder / "line_list.png", 1, 60, page).ok());
  if (const char* demo = std::getenv("VELM_DEMO_DIR"); demo != nullptr && *demo != '\0') {
    std::filesystem::create_directories(demo);
    for (const char* name : {"line_list.pdf", "line_list.png"})
      std::filesystem::copy_file(folder / name, std::filesystem::path(demo) / name,
                                 std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace
