// The printed form of a line list: each page holds `columns` columns of `rows` lines under the
// common page head, filled across (line k of a page in column k mod columns, row k div columns)
// or down (column k div rows, row k mod rows). Every page but the last is full, and a list of n
// lines takes ceil(n / (rows x columns)) pages: an exact multiple leaves no blank page behind.
#pragma once

#include <string>
#include <string_view>

namespace lists {

enum class ColumnOrder { kAcross = 0, kDown = 1 };

// The stored order switch: 1 down each column, anything else across.
ColumnOrder ColumnOrderOf(int stored);

struct ColumnCell {
  int page = 0;  // from 1
  int column = 0;
  int row = 0;
};

class ColumnPageLayout {
 public:
  // Rows per column and columns per page below 1 count as 1.
  ColumnPageLayout(int rows, int columns, ColumnOrder order);

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  ColumnOrder Order() const { return order_; }
  int PerPage() const { return rows_ * columns_; }

  // ceil(count / PerPage()); 0 for an empty list.
  int PageCount(int count) const;
  // The first line of `page` (from 1) and how many lines of a list of `count` it holds.
  int FirstOnPage(int page) const;
  int CountOnPage(int page, int count) const;
  // Where line `index` (from 0) of the list stands.
  ColumnCell CellOf(int index) const;
  // The rows a page of the list fills: all its rows down a column, or as many as its lines need
  // across (a part-filled last row counts).
  int RowsUsedOnPage(int page, int count) const;
  // The columns a page of the list fills (each under its own column headings).
  int ColumnsUsedOnPage(int page, int count) const;

 private:
  int rows_;
  int columns_;
  ColumnOrder order_;
};

// How many whole items of `item` units fit in `room` units, at least 1 (a print font too large
// for one line still prints one line per column, one column per page).
int FitCount(double room, double item);

// The columns a printed page takes: as many of `columnWidth` as fit `usableWidth`, at most
// `maxColumns`, at least 1.
int FitColumns(int usableWidth, double columnWidth, int maxColumns);

// The title of printed page `page`: `title` on page 1, "%s (%s %d)" with the title, "стр." and
// the page number on the others (code page 1251).
std::string PageTitle(std::string_view title, int page);
// The widest of those titles a printout of `lines` lines may show: that of page `lines` (a page
// holds a line at least), by which a page head is measured before the pages are counted.
std::string WidestPageTitle(std::string_view title, int lines);

}  // namespace lists
