#include "foundation/lists/sort_positions.h"

#include <algorithm>
#include <utility>

void SortPositions(std::span<double> keys, std::span<int> index, char direction) {
  const std::size_t n = std::min(keys.size(), index.size());
  for (std::size_t i = 0; i < n; ++i) index[i] = static_cast<int>(i);
  const bool ascending = direction == 'U';
  // An exchange sort of neighbours (the lists are short): exchanging only keys that are out of
  // order keeps equal keys in their original order.
  for (std::size_t end = n; end > 1; --end) {
    bool exchanged = false;
    for (std::size_t j = 1; j < end; ++j) {
      const bool outOfOrder = ascending ? keys[j] < keys[j - 1] : keys[j] > keys[j - 1];
      if (outOfOrder) {
        std::swap(keys[j], keys[j - 1]);
        std::swap(index[j], index[j - 1]);
        exchanged = true;
      }
    }
    if (!exchanged) break;
  }
}
