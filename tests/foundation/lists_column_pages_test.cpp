#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/lists/column_pages.h"
#include "foundation/text/cp1251.h"

namespace {

using lists::ColumnOrder;
using lists::ColumnPageLayout;

// Three rows per column, two columns per page: six lines a page.
TEST(ColumnPages, PageCountsAndTheLastPage) {
  const ColumnPageLayout layout(3, 2, ColumnOrder::kAcross);
  struct Row {
    int lines, pages, onLastPage;
  };
  const Row rows[] = {
      {0, 0, 0},             // nothing to print
      {1, 1, 1}, {6, 1, 6},  // an exact multiple: no blank page after it
      {7, 2, 1}, {12, 2, 6}, {13, 3, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.lines);
    EXPECT_EQ(layout.PageCount(r.lines), r.pages);
    if (r.pages > 0) {
      EXPECT_EQ(layout.CountOnPage(r.pages, r.lines), r.onLastPage);
    }
    EXPECT_EQ(layout.CountOnPage(r.pages + 1, r.lines), 0);
  }
}

TEST(ColumnPages, AcrossAndDownOrders) {
  struct Cell {
    int page, column, row;
  };
  // Lines 0..6 of a 3 x 2 page: across fills the rows first, down the columns.
  const std::vector<Cell> across = {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}, {1, 1, 1},
                                    {1, 0, 2}, {1, 1, 2}, {2, 0, 0}};
  const std::vector<Cell> down = {{1, 0, 0}, {1, 0, 1}, {1, 0, 2}, {1, 1, 0},
                                  {1, 1, 1}, {1, 1, 2}, {2, 0, 0}};
  for (const auto& [order, cells] :
       {std::pair{ColumnOrder::kAcross, across}, std::pair{ColumnOrder::kDown, down}}) {
    const ColumnPageLayout layout(3, 2, order);
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
      SCOPED_TRACE(testing::Message() << "order " << static_cast<int>(order) << " line " << i);
      const lists::ColumnCell cell = layout.CellOf(i);
      EXPECT_EQ(cell.page, cells[i].page);
      EXPECT_EQ(cell.column, cells[i].column);
      EXPECT_EQ(cell.row, cells[i].row);
    }
  }
  EXPECT_EQ(lists::ColumnOrderOf(1), ColumnOrder::kDown);
  EXPECT_EQ(lists::ColumnOrderOf(0), ColumnOrder::kAcross);
  EXPECT_EQ(lists::ColumnOrderOf(7), ColumnOrder::kAcross);
}

TEST(ColumnPages, RowsAndColumnsUsedOnAPage) {
  struct Row {
    ColumnOrder order;
    int lines, page, rowsUsed, columnsUsed;
  };
  const Row rows[] = {
      {ColumnOrder::kDown, 2, 1, 2, 1},   {ColumnOrder::kDown, 5, 1, 3, 2},
      {ColumnOrder::kDown, 7, 2, 1, 1},   {ColumnOrder::kAcross, 3, 1, 2, 2},  // a part-filled row
      {ColumnOrder::kAcross, 6, 1, 3, 2}, {ColumnOrder::kAcross, 7, 2, 1, 1},
      {ColumnOrder::kAcross, 1, 1, 1, 1}, {ColumnOrder::kAcross, 0, 1, 0, 0},
  };
  for (const Row& r : rows) {
    const ColumnPageLayout layout(3, 2, r.order);
    EXPECT_EQ(layout.RowsUsedOnPage(r.page, r.lines), r.rowsUsed)
        << static_cast<int>(r.order) << " " << r.lines;
    EXPECT_EQ(layout.ColumnsUsedOnPage(r.page, r.lines), r.columnsUsed)
        << static_cast<int>(r.order) << " " << r.lines;
  }
}

TEST(ColumnPages, DegenerateSizesGiveAtLeastOneRowAndColumn) {
  const ColumnPageLayout empty(0, -3, ColumnOrder::kDown);
  EXPECT_EQ(empty.Rows(), 1);
  EXPECT_EQ(empty.Columns(), 1);
  EXPECT_EQ(empty.PageCount(3), 3);
  EXPECT_EQ(empty.CellOf(2).page, 3);
  struct Row {
    int usable;
    double width;
    int maxColumns, columns;
  };
  const Row rows[] = {
      {17000, 5000, 20, 3},  {17000, 5000, 2, 2},  // the setting's limit
      {17000, 20000, 20, 1},                       // a column wider than the paper
      {17000, 0, 20, 1},     {17000, 5000, 0, 1},  // nonsense widths and limits
  };
  for (const Row& r : rows)
    EXPECT_EQ(lists::FitColumns(r.usable, r.width, r.maxColumns), r.columns) << r.width;
  EXPECT_EQ(lists::FitCount(26000, 450), 57);
  EXPECT_EQ(lists::FitCount(100, 450), 1);
}

TEST(ColumnPages, PageTitles) {
  const std::string title = Cp1251("ТРАНЗИТЫ ЛУНЫ");
  EXPECT_EQ(lists::PageTitle(title, 1), title);
  EXPECT_EQ(lists::PageTitle(title, 3), title + Cp1251(" (стр. 3)"));
}

}  // namespace
