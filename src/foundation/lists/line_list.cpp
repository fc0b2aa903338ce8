#include "foundation/lists/line_list.h"

#include <algorithm>
#include <cmath>

#include "foundation/lists/list_navigation.h"

namespace lists {

void LineList::SetCount(int count) {
  count_ = std::max(0, count);
  Clamp();
}

void LineList::SetLinesPerPage(int lines) {
  lines_ = std::max(0, lines);
  Clamp();
}

int LineList::FitLines(int height) {
  const double room = static_cast<double>(height) - top_;
  SetLinesPerPage(room <= 0 ? 0 : static_cast<int>(std::min(room / pitch_, 1e9)));
  return lines_;
}

void LineList::SetGeometry(int top, double pitch) {
  top_ = top;
  // A pitch that is not a number or below one unit would put every line on one band.
  pitch_ = std::isfinite(pitch) && pitch >= 1.0 ? pitch : 1.0;
}

int LineList::MaxFirst() const {
  if (count_ == 0) return 0;
  if (limit_ == ScrollLimit::kLastLine) return count_ - 1;
  return std::max(0, count_ - std::max(1, lines_));
}

int LineList::VisibleCount() const { return std::clamp(count_ - first_, 0, lines_); }

void LineList::Clamp() {
  first_ = std::clamp(first_, 0, MaxFirst());
  if (count_ == 0) {
    selection_ = 0;
    return;
  }
  const int lastOnPage = std::min(first_ + std::max(1, lines_), count_) - 1;
  selection_ = std::clamp(selection_, first_, lastOnPage);
}

int LineList::Scroll(int code, int position) {
  const int oldFirst = first_;
  const int oldSelection = selection_;
  // The same moves for both limits; only how far the first line may go differs.
  const long long maxFirst = MaxFirst();
  const std::optional<long long> target =
      ScrollCodeTarget(code, position, first_, std::max(1, lines_), maxFirst);
  if (!target) return kListUnchanged;
  first_ = static_cast<int>(std::clamp(*target, 0LL, maxFirst));
  Clamp();
  return ListChangeOf(oldFirst, oldSelection, first_, selection_);
}

int LineList::Key(int key) {
  int first = first_;
  int selection = selection_;
  const int result = NavigateListByKey(key, first_, selection_, first, selection, lines_, count_);
  first_ = first;
  selection_ = selection;
  return result;
}

int LineList::Select(int line) {
  if (line < 0 || line >= count_) return kListUnchanged;
  const int oldFirst = first_;
  const int oldSelection = selection_;
  selection_ = line;
  const int page = std::max(1, lines_);
  if (line < first_) first_ = line;
  if (line >= first_ + page) first_ = line - page + 1;
  first_ = std::clamp(first_, 0, MaxFirst());
  return ListChangeOf(oldFirst, oldSelection, first_, selection_);
}

int LineList::RowTop(int row) const {
  return -(top_ + static_cast<int>(static_cast<double>(row) * pitch_));
}

int LineList::RowAt(int y) const {
  const double below = -static_cast<double>(y) - top_;  // distance under the first row's top
  if (below < 0) return -1;
  int row = static_cast<int>(std::min(below / pitch_, 2e9));
  if (row > lines_) return -1;
  // The row edges are truncated: step to the row whose band [top, next top) holds the point.
  while (row > 0 && -RowTop(row) > -y) --row;
  while (-RowTop(row + 1) <= -y) ++row;
  return row < lines_ ? row : -1;
}

int LineList::LineAt(int y) const {
  const int row = RowAt(y);
  if (row < 0) return -1;
  const long long line = static_cast<long long>(first_) + row;
  return line < count_ ? static_cast<int>(line) : -1;
}

}  // namespace lists
