// Evaluates house cusps for rows of a reference table, so any table can be compared with the
// program's houses.
//
// Input (standard input), one row per line, tab-separated:
//   ARMC  latitude  true-obliquity  system  [Sun longitude  [Moon longitude]]
// (degrees; system = 0..18, plus 100 for geodetic; the Sun's and the Moon's longitudes only for
// the systems drawn from them). Output: the row as read, then cusps 1..12, Ascendant, MC, Vertex
// and East point, tab-separated. A row that cannot be evaluated is reported on standard error
// with its line number and skipped; the exit status is then 1.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "astro/houses/houses.h"
#include "foundation/text/tab_fields.h"

namespace {

// The houses of one row, or an explanation of why there are none.
bool Evaluate(std::string_view line, Houses& houses, std::string& why) {
  const std::vector<std::string_view> f = SplitTabs(line);
  HouseInput in;
  if (f.size() < 4 || f.size() > 6) {
    why = "expected 4 to 6 tab-separated fields";
    return false;
  }
  if (!ParseField(f[0], in.armcDeg) || !ParseField(f[1], in.latitudeDeg) ||
      !ParseField(f[2], in.obliquityDeg) || !ParseField(f[3], in.system) ||
      (f.size() > 4 && !ParseField(f[4], in.sunDeg)) ||
      (f.size() > 5 && !ParseField(f[5], in.moonDeg))) {
    why = "a field is not a number";
    return false;
  }
  if (!IsKnownHouseSystem(in.system)) {
    why = "unknown house system " + std::to_string(in.system);
    return false;
  }
  if (HouseSystemNeedsSun(in.system) && f.size() < 5) {
    why = "this system needs the Sun's longitude in field 5";
    return false;
  }
  if (HouseSystemNeedsMoon(in.system) && f.size() < 6) {
    why = "this system needs the Moon's longitude in field 6";
    return false;
  }
  const std::optional<Houses> result = HouseCusps(in);
  if (!result) {
    why = "latitude outside -90..90 or a value out of range";
    return false;
  }
  houses = *result;
  return true;
}

}  // namespace

int main() {
  return ForEachTabRow(std::cin, std::cerr, [](const std::string& line) -> std::string {
    Houses h;
    std::string why;
    if (!Evaluate(line, h, why)) return why;
    std::printf("%s", line.c_str());
    for (double c : h.cusps) std::printf("\t%.9f", c);
    std::printf("\t%.9f\t%.9f\t%.9f\t%.9f\n", h.ascendantDeg, h.mcDeg, h.vertexDeg, h.eastPointDeg);
    return {};
  });
}
