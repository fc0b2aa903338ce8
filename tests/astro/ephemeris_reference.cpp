#include "ephemeris_reference.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "support/test_support.h"

namespace {

std::vector<std::vector<std::string>> ReadRows(const char* file) {
  std::ifstream in(testing_support::ReferencePath(file));
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::istringstream fields(line);
    std::string cell;
    while (std::getline(fields, cell, '\t')) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

}  // namespace

std::vector<RefPosition> LoadReferencePositions() {
  std::vector<RefPosition> out;
  for (const auto& c : ReadRows("positions.tsv")) {
    if (c.size() < 8) continue;
    out.push_back(RefPosition{c[0], std::stod(c[1]), c[2], std::stoi(c[3]), std::stod(c[4]),
                              std::stod(c[5]), std::stod(c[7])});
  }
  return out;
}

std::vector<RefInstant> LoadReferenceInstants() {
  std::vector<RefInstant> out;
  for (const auto& c : ReadRows("instants.tsv")) {
    if (c.size() < 11) continue;
    out.push_back(RefInstant{c[0], std::stod(c[2]), std::stod(c[3]), std::stod(c[4]),
                             std::stod(c[6]), std::stod(c[7]), std::stod(c[8]), std::stod(c[9]),
                             std::stod(c[10])});
  }
  return out;
}

double ReferenceYear(double jd) { return 2000.0 + (jd - 2451545.0) / 365.25; }

double ArcsecBetween(double aDeg, double bDeg) {
  double d = std::fmod(std::fabs(aDeg - bDeg), 360.0);
  if (d > 180.0) d = 360.0 - d;
  return d * 3600.0;
}
