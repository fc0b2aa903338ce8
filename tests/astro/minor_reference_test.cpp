// The minor bodies against the independent reference positions (tests/fixtures/reference):
// worst error per body over 1800-2200 against the accuracy goals, and finite, bounded values for
// the rows far from the present.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "astro/ephemeris/minor/minor_bodies.h"
#include "support/test_support.h"

namespace {

struct RefRow {
  std::string id, body;
  int point = 0;
  double jdTt = 0, lonDeg = 0, latDeg = 0, lonSpeed = 0;
};

std::vector<RefRow> LoadMinorRows() {
  std::ifstream in(testing_support::ReferencePath("positions.tsv"));
  std::vector<RefRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::vector<std::string> f;
    std::string cell;
    while (std::getline(fields, cell, '\t')) f.push_back(cell);
    if (f.size() < 8) continue;
    RefRow r;
    r.id = f[0];
    r.body = f[2];
    r.point = std::stoi(f[3]);
    if (!IsMinorBody(r.point)) continue;
    r.jdTt = std::stod(f[1]);
    r.lonDeg = std::stod(f[4]);
    r.latDeg = std::stod(f[5]);
    r.lonSpeed = std::stod(f[7]);
    rows.push_back(r);
  }
  return rows;
}

double LonDiffArcsec(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d < -180.0) d += 360.0;
  return std::abs(d) * 3600.0;
}

// 1800-01-01 0h and 2201-01-01 0h TT.
constexpr double kFirst1800 = 2378496.5;
constexpr double kEnd2200 = 2524959.5;

struct Goal {
  int point;
  const char* name;
  double arcsec;  // longitude and latitude
};
// Longitude and latitude goals over 1800-2200, arcseconds; speeds within 0.001 degree per day.
// Pluto: its orbit is fitted to an analytical series that serves 1885-2099 only; carried out by
// the integration to 1800 and 2200 it drifts from the reference by up to about 15" (0.8" inside
// 1900-2050), so 16" is what the source allows, not 1".
constexpr Goal kGoals[] = {
    {9, "pluto", 16.0},   {10, "chiron", 900.0}, {11, "vesta", 60.0},     {12, "ceres", 60.0},
    {13, "pallas", 60.0}, {14, "juno", 180.0},   {20, "proserpina", 1.0}, {21, "white_moon", 1.0},
    {22, "cupido", 1.0},  {23, "hades", 1.0},    {24, "zeus", 1.0},       {25, "kronos", 1.0},
    {26, "apollon", 1.0}, {27, "admetos", 1.0},  {28, "vulkanus", 1.0},   {29, "poseidon", 1.0}};
constexpr double kSpeedGoal = 0.001;

struct Worst {
  double lon = 0, lat = 0, speed = 0;
  int rows = 0;
};

TEST(MinorBodiesReference, WorstErrorPerBodyWithinGoal1800To2200) {
  std::map<int, Worst> worst;
  for (const RefRow& r : LoadMinorRows()) {
    if (r.jdTt < kFirst1800 || r.jdTt >= kEnd2200) continue;
    const PointPosition p = MinorBodyApparent(r.point, r.jdTt);
    Worst& w = worst[r.point];
    w.lon = std::max(w.lon, LonDiffArcsec(p.longitude, r.lonDeg));
    w.lat = std::max(w.lat, std::abs(p.latitude - r.latDeg) * 3600.0);
    w.speed = std::max(w.speed, std::abs(p.speed - r.lonSpeed));
    ++w.rows;
  }
  for (const Goal& g : kGoals) {
    const Worst& w = worst[g.point];
    std::printf("%-11s rows %2d  lon %9.3f\"  lat %9.3f\"  speed %.6f deg/day\n", g.name, w.rows,
                w.lon, w.lat, w.speed);
    EXPECT_GT(w.rows, 10) << g.name;
    EXPECT_LE(w.lon, g.arcsec) << g.name;
    EXPECT_LE(w.lat, g.arcsec) << g.name;
    EXPECT_LE(w.speed, kSpeedGoal) << g.name;
  }
}

// Rows outside 1800-2200 (back to -1000 and on to 3000): every value finite; the conventional
// points keep their 1" since they are formulas; the integrated bodies inside the integrated range
// stay within a minute of arc (outside it minor_far_test.cpp measures them; before 1000 they are
// not known and the two-body fallback drifts by degrees).
// The rows before 1800 and those after 2200 each integrate two centuries: one test each.
void ExpectFarRowsFiniteAndConventionalPointsExact(bool before1800) {
  std::map<int, double> worst;
  int rows = 0;
  for (const RefRow& r : LoadMinorRows()) {
    if (before1800 ? r.jdTt >= kFirst1800 : r.jdTt < kEnd2200) continue;
    const PointPosition p = MinorBodyApparent(r.point, r.jdTt);
    ASSERT_TRUE(std::isfinite(p.longitude) && std::isfinite(p.latitude) && std::isfinite(p.speed))
        << r.id << " " << r.body;
    ++rows;
    const bool conventional = r.point >= 20;
    if (!conventional && !InMinorIntegratedRange(r.jdTt)) continue;
    const double err =
        std::max(LonDiffArcsec(p.longitude, r.lonDeg), std::abs(p.latitude - r.latDeg) * 3600.0);
    worst[r.point] = std::max(worst[r.point], err);
    EXPECT_LE(err, conventional ? 1.0 : 60.0) << r.id << " " << r.body;
  }
  EXPECT_GT(rows, 20);
  for (const auto& [point, arcsec] : worst)
    std::printf("point %d far rows worst %.3f\"\n", point, arcsec);
}

TEST(MinorBodiesReference, RowsBefore1800FiniteAndConventionalPointsExact) {
  ExpectFarRowsFiniteAndConventionalPointsExact(true);
}

TEST(MinorBodiesReference, RowsAfter2200FiniteAndConventionalPointsExact) {
  ExpectFarRowsFiniteAndConventionalPointsExact(false);
}

}  // namespace
