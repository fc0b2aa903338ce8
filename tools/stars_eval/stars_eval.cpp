// Prints the apparent ecliptic places of date of fixed stars of the catalogue, as the star views
// compute them, so that they can be checked against any other source.
//
// Usage: stars_eval [CATALOGUE]   (default: data/Velm.est of the source tree)
// Input (standard input), one question per line: jd_ut, a tab, a star's Latin proper name
// (matched without regard to case). Output: for each question the ecliptic longitude and latitude
// of date in degrees, tab-separated, or "-" when the catalogue has no star of that name. A line
// that cannot be read is reported on standard error with its number and answered "-"; the exit
// status is then 1. Details: docs/stars_eval.md.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "foundation/files/safe_rewrite.h"
#include "foundation/text/tab_fields.h"
#include "views/core/fixed_stars.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: stars_eval [CATALOGUE] < questions\n";
    return 2;
  }
  const std::filesystem::path file = argc == 2 ? argv[1] : VELM_DEFAULT_STARS;
  std::string bytes;
  if (!ReadWholeFile(file, bytes).ok()) {
    std::cerr << "cannot read " << file.string() << '\n';
    return 2;
  }
  AllStars stars;
  stars.DecodeCatalogue(bytes, 0);
  std::string line;
  int number = 0, status = 0;
  while (std::getline(std::cin, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string_view> f = SplitTabs(line);
    double jd = 0.0;
    if (f.size() != 2 || !ParseField(f[0], jd) || !std::isfinite(jd)) {
      std::cerr << "line " << number << ": expected jd_ut<TAB>name\n";
      std::cout << "-\n";
      status = 1;
      continue;
    }
    const int index = stars.FindByName(f[1]);
    if (index < 0) {
      std::cout << "-\n";
      continue;
    }
    const StarPosition place = CalcStarPosition(stars.Star(index), StarMoment(jd));
    char out[64];
    std::snprintf(out, sizeof out, "%.6f\t%.6f\n", place.longitude, place.latitude);
    std::cout << out;
  }
  return status;
}
