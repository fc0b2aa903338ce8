// Evaluation program: reads "TT Julian day<TAB>point<TAB>variant" rows on standard input
// (variant "true" or "mean" for points 16..19, "-" otherwise) and prints
// "TT Julian day<TAB>point<TAB>variant<TAB>longitude<TAB>latitude<TAB>longitude speed".
//
//   ephemeris_eval [TABLES]     (default: data/velm.str of the source tree)
//
// Rows that cannot be read are reported on standard error with their line number and skipped.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "astro/ephemeris/ephemeris.h"

int main(int argc, char** argv) {
  const std::string tables = argc > 1 ? argv[1] : std::string(VELM_SOURCE_DIR) + "/data/velm.str";
  Ephemeris ephemeris;
  if (const Status st = ephemeris.Load(tables); !st.ok())
    std::fprintf(stderr, "%s: cannot load the tables (error %d, detail %d); the theories serve\n",
                 tables.c_str(), st.ErrorCode(), st.Detail());
  std::string line;
  int lineNumber = 0;
  while (std::getline(std::cin, line)) {
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string jdText, pointText, variant;
    std::getline(in, jdText, '\t');
    std::getline(in, pointText, '\t');
    std::getline(in, variant, '\t');
    if (!variant.empty() && variant.back() == '\r') variant.pop_back();
    if (jdText.empty() || pointText.empty() || variant.empty()) {
      std::fprintf(stderr, "line %d: expected three tab-separated fields\n", lineNumber);
      continue;
    }
    double jd = 0.0;
    int point = -1;
    try {
      jd = std::stod(jdText);
      point = std::stoi(pointText);
    } catch (const std::exception&) {
      std::fprintf(stderr, "line %d: unreadable Julian day or point\n", lineNumber);
      continue;
    }
    if (!IsBody(point) || (variant != "-" && variant != "true" && variant != "mean")) {
      std::fprintf(stderr, "line %d: point must be 0..29 and variant true, mean or -\n",
                   lineNumber);
      continue;
    }
    const BodyPosition p = ephemeris.Position(
        point, JdTt{jd}, variant == "mean" ? LunarVariant::Mean : LunarVariant::True);
    std::printf("%s\t%d\t%s\t%.9f\t%.9f\t%.10f\n", jdText.c_str(), point, variant.c_str(),
                p.longitude, p.latitude, p.speed);
  }
  return 0;
}
