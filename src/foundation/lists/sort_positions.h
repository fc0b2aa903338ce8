// Ordering of numeric keys that carries an index array along (rows of a table ordered by a
// computed key).
#pragma once

#include <span>

// Sorts the keys in place, ascending for direction 'U' and descending for any other direction,
// and fills `index` so that index[i] is the original position of the key now at i (it starts as
// 0 .. n-1 and follows every exchange). Equal keys keep their original order. Only the first
// min(keys.size(), index.size()) keys take part.
void SortPositions(std::span<double> keys, std::span<int> index, char direction);
