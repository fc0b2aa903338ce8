// Answers planetary-line questions through the code the astrocartography map draws its lines
// with, so that the lines can be checked against any other source. The format:
// docs/lines_eval.md.
//
// Usage: lines_eval < questions > answers
// Input (standard input), one question per line, tab-separated:
//   jd_ut  ecliptic_longitude  ecliptic_latitude  east_longitude
// Output: one line per question, tab-separated: the east longitude (-180..180) of the MC line
// of the point's ecliptic degree at that moment, then the latitude at `east_longitude` of the
// point's horizon line (its latitude taken into account), or '-' when that lies beyond 89
// degrees. Blank lines and lines starting with '#' are skipped; a line that cannot be read is
// reported on standard error with its number and gets no answer, and the exit status is then 1.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "astrocarto/core/ac_lines.h"
#include "foundation/text/tab_fields.h"

namespace {

constexpr double kLastLatitude = 89.0;

struct Question {
  double jdUt = 0.0;
  double longitude = 0.0, latitude = 0.0;  // the point's, ecliptic of date
  double east = 0.0;                       // the place's geographic longitude
};

bool Read(std::string_view line, Question& q, std::string& why) {
  const std::vector<std::string_view> f = SplitTabs(line);
  if (f.size() != 4) {
    why = "expected 4 tab-separated fields";
    return false;
  }
  if (!ParseField(f[0], q.jdUt) || !ParseField(f[1], q.longitude) ||
      !ParseField(f[2], q.latitude) || !ParseField(f[3], q.east)) {
    why = "a field is not a number";
    return false;
  }
  if (!std::isfinite(q.jdUt) || !std::isfinite(q.longitude)) {
    why = "a number is not finite";
    return false;
  }
  if (!(q.latitude >= -90.0 && q.latitude <= 90.0)) {
    why = "ecliptic latitude outside -90..90";
    return false;
  }
  if (!(q.east >= -180.0 && q.east <= 180.0)) {
    why = "east longitude outside -180..180";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char**) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: lines_eval < questions > answers\n");
    return 2;
  }
  int status = 0, number = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    Question q;
    std::string why;
    if (!Read(line, q, why)) {
      std::fprintf(stderr, "line %d: %s\n", number, why.c_str());
      status = 1;
      continue;
    }
    const LineMoment moment = MakeLineMoment(JdUt{q.jdUt});
    const double mc = MidheavenLongitude(moment, q.longitude);
    const LineBody body = MakeLineBody(moment, q.longitude, q.latitude, true);
    const double latitude = HorizonLineLatitude(moment, body, q.east);
    char text[64];
    if (std::fabs(latitude) <= kLastLatitude)
      std::snprintf(text, sizeof text, "%.6f\t%.6f", mc, latitude);
    else
      std::snprintf(text, sizeof text, "%.6f\t-", mc);
    std::cout << text << '\n';
  }
  return status;
}
