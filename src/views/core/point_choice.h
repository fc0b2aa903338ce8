// The choices of chart points and house cusps the analysis lists share (the Bindhu table, the
// Sabian symbols): bodies 0 none, 1 the luminaries, 2 Sun to Pluto, 3 the points shown on the
// chart, 4 all; the lunar nodes with their own switch whatever the bodies choice; cusps 0 none,
// 1 the Ascendant, 2 Ascendant and MC, 3 the angles, 4 all twelve.
#pragma once

class Configuration;

// Whether body b (0..33) is chosen.
bool BodyChosen(int b, int bodies, bool nodes, const Configuration& config);
// Whether the cusp of house k + 1 (k 0..11) is chosen.
bool CuspChosen(int k, int houses);
// `v` when it lies within lo..hi, else `fallback` (a stored setting out of its range).
int SettingInRange(int v, int lo, int hi, int fallback);
