#include "foundation/lists/list_navigation.h"

#include <algorithm>

namespace {

// The list's dimensions with the page at least one line; 64-bit so that a thumb position or a
// page step near the limits of int cannot overflow.
struct ListShape {
  long long page;
  long long count;
  long long maxFirst;
};

ListShape ShapeOf(int pageSize, int lineCount) {
  const long long page = std::max(1, pageSize);
  const long long count = std::max(0, lineCount);
  return {page, count, std::max(0LL, count - page)};
}

}  // namespace

std::optional<long long> ScrollCodeTarget(int code, int position, long long first, long long page,
                                          long long maxFirst) {
  switch (code) {
    case kScrollLineUp:
      return first - 1;
    case kScrollLineDown:
      return first + 1;
    case kScrollPageUp:
      return first - std::max(1LL, page);
    case kScrollPageDown:
      return first + std::max(1LL, page);
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      return position;
    case kScrollTop:
      return 0;
    case kScrollBottom:
      return maxFirst;
    default:
      return std::nullopt;
  }
}

int ListChangeOf(int oldFirst, int oldSelection, int newFirst, int newSelection) {
  if (newFirst != oldFirst) return kListScrolled;
  if (newSelection != oldSelection) return kListSelectionMoved;
  return kListUnchanged;
}

int ApplyScrollCode(int code, int position, int first, int& selection, int pageSize,
                    int lineCount) {
  const ListShape list = ShapeOf(pageSize, lineCount);
  const std::optional<long long> target =
      ScrollCodeTarget(code, position, first, list.page, list.maxFirst);
  if (!target) return first;
  const long long newFirst = std::clamp(*target, 0LL, list.maxFirst);
  if (list.count == 0) {
    selection = 0;
  } else {
    const long long lastOnPage = std::min(newFirst + list.page, list.count) - 1;
    selection = static_cast<int>(std::clamp<long long>(selection, newFirst, lastOnPage));
  }
  return static_cast<int>(newFirst);
}

int NavigateListByKey(int key, int first, int selection, int& newFirst, int& newSelection,
                      int linesPerPage, int lineCount) {
  const ListShape list = ShapeOf(linesPerPage, lineCount);
  newFirst = first;
  newSelection = selection;
  if (list.count == 0) return kListUnchanged;

  long long top = first;
  long long selected = selection;
  switch (key) {
    case kKeyUp:
      --selected;
      break;
    case kKeyDown:
      ++selected;
      break;
    case kKeyPageUp:
      selected -= list.page;
      top -= list.page;
      break;
    case kKeyPageDown:
      selected += list.page;
      top += list.page;
      break;
    case kKeyHome:
      selected = 0;
      top = 0;
      break;
    case kKeyEnd:
      selected = list.count - 1;
      top = list.maxFirst;
      break;
    default:
      return kListUnchanged;  // Left, Right and every other key
  }
  selected = std::clamp(selected, 0LL, list.count - 1);
  top = std::clamp(top, 0LL, list.maxFirst);
  // The page follows the selection.
  if (selected < top) top = selected;
  if (selected >= top + list.page) top = selected - list.page + 1;

  newFirst = static_cast<int>(top);
  newSelection = static_cast<int>(selected);
  return ListChangeOf(first, selection, newFirst, newSelection);
}
