#include "foundation/lists/column_pages.h"

#include <algorithm>
#include <cmath>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace lists {

namespace {

// Keeps rows x columns inside int: a page of more than 2^30 lines is as good as endless.
constexpr int kMaxSide = 1 << 15;

}  // namespace

ColumnOrder ColumnOrderOf(int stored) {
  return stored == 1 ? ColumnOrder::kDown : ColumnOrder::kAcross;
}

ColumnPageLayout::ColumnPageLayout(int rows, int columns, ColumnOrder order)
    : rows_(std::clamp(rows, 1, kMaxSide)),
      columns_(std::clamp(columns, 1, kMaxSide)),
      order_(order) {}

int ColumnPageLayout::PageCount(int count) const {
  if (count <= 0) return 0;
  return (count - 1) / PerPage() + 1;
}

int ColumnPageLayout::FirstOnPage(int page) const {
  return static_cast<int>(std::max(0LL, (page - 1LL) * PerPage()));
}

int ColumnPageLayout::CountOnPage(int page, int count) const {
  if (page < 1) return 0;
  return std::clamp(count - FirstOnPage(page), 0, PerPage());
}

ColumnCell ColumnPageLayout::CellOf(int index) const {
  const int k = std::max(0, index);
  const int onPage = k % PerPage();
  ColumnCell cell;
  cell.page = k / PerPage() + 1;
  if (order_ == ColumnOrder::kDown) {
    cell.column = onPage / rows_;
    cell.row = onPage % rows_;
  } else {
    cell.column = onPage % columns_;
    cell.row = onPage / columns_;
  }
  return cell;
}

int ColumnPageLayout::RowsUsedOnPage(int page, int count) const {
  const int lines = CountOnPage(page, count);
  if (order_ == ColumnOrder::kDown) return std::min(lines, rows_);
  return (lines + columns_ - 1) / columns_;
}

int ColumnPageLayout::ColumnsUsedOnPage(int page, int count) const {
  const int lines = CountOnPage(page, count);
  if (order_ == ColumnOrder::kDown) return (lines + rows_ - 1) / rows_;
  return std::min(lines, columns_);
}

int FitCount(double room, double item) {
  if (!(item > 0) || !(room > item)) return 1;
  return static_cast<int>(std::min(std::floor(room / item), static_cast<double>(kMaxSide)));
}

int FitColumns(int usableWidth, double columnWidth, int maxColumns) {
  return std::clamp(FitCount(usableWidth, columnWidth), 1, std::max(1, maxColumns));
}

std::string PageTitle(std::string_view title, int page) {
  std::string text(title);
  if (page <= 1) return text;
  return text + " (" + GetMessageText(kMsgPageWord) + " " + std::to_string(page) + ")";
}

std::string WidestPageTitle(std::string_view title, int lines) {
  return PageTitle(title, std::max(1, lines));
}

}  // namespace lists
