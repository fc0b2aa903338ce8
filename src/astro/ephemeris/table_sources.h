// What the ephemeris tables hold, table by table (see chebyshev_tables.h for the ids), and the
// theory values they are fitted to. Shared by the table generator and the tests.
#pragma once

#include <span>

// The points whose light passes the Sun (not the Sun itself, the Moon, the lunar points or the
// White Moon): their tables hold the places without the Sun's deflection, which is added at run
// time (SunDeflection) with r / (r + 1 au) for the body's mean distance r from the Sun.
bool DeflectedByTheSun(int point);
double DeflectionDistanceRatio(int point);

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
