// Which house holds a longitude, and which signs a house spans.
#pragma once

#include <array>
#include <vector>

// True when the cusps run against the order of the signs (the horizontal system at some places).
bool RunsBackwards(const std::array<double, 12>& cusps);

// The house 0..11 that holds the longitude: house i runs from cusps[i] up to cusps[i + 1], across
// 360. Cusps that run against the order of the signs (the horizontal system) are followed
// backwards. -1 when the longitude or a cusp is absent (-777.0) or not finite.
int HouseOfLongitude(const std::array<double, 12>& cusps, double longitudeDeg);

// The signs (0 Aries .. 11 Pisces) that house `house` (taken modulo 12) spans, from the sign of
// its cusp to the sign of the next cusp, both included, in the order of the signs. A house that
// ends exactly at 0 degrees of a sign does not span that sign. Empty when a cusp is absent.
std::vector<int> InterceptedSigns(const std::array<double, 12>& cusps, int house);
