// What the ephemeris tables hold, table by table (see chebyshev_tables.h for the ids), and the
// theory values they are fitted to. Shared by the table generator and the tests.
#pragma once

#include <span>

// Near the Sun the deflection of light changes too fast for the tables: bodies whose light
// passes the Sun (not the Sun itself, the Moon or the lunar points) are computed from the
// theories within this angular distance of the Sun's centre.
inline constexpr double kNearSunDeg = 3.0;
bool DeflectedByTheSun(int point);

struct TableSpec {
  int id;
  double segmentDays;
  int lonDegree, latDegree;
  double quantum;  // degrees
};
std::span<const TableSpec> TableSpecs();

// The value a table holds at a TT Julian day: the apparent longitude less the nutation in
// longitude (degrees), and the latitude; for the nutation table the nutation in longitude.
struct TableSample {
  double longitude, latitude;
};
TableSample SampleTableSource(int tableId, double jdTt);
// The rate of the table's longitude, degrees per day (a central difference).
double SampleTableSourceSpeed(int tableId, double jdTt);
