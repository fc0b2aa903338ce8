// The rows of the reference table of rising and setting moments (tests/fixtures/reference).
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace testing_support {

struct RiseSetRow {
  std::string id, body, event, mode;
  double startUt = 0, latitude = 0, eastLongitude = 0, eventUt = 0;
};

// The rows whose status is OK, in the table's order.
inline std::vector<RiseSetRow> LoadRiseSet() {
  std::ifstream in(ReferencePath("riseset.tsv"));
  std::vector<RiseSetRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    RiseSetRow r;
    std::string status;
    f >> r.id >> r.startUt >> r.latitude >> r.eastLongitude >> r.body >> r.event >> r.mode >>
        r.eventUt >> status;
    if (status == "OK") rows.push_back(r);
  }
  return rows;
}

}  // namespace testing_support
