#include "astro/ephemeris/table_sources.h"

#include <cmath>

#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/chebyshev_tables.h"
#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/minor/minor_bodies.h"
#include "astro/ephemeris/planet_theory.h"

namespace {

// Segment length (days) and degrees chosen so that the fit stays well inside the accuracy of
// the theory (the generator prints the worst fit error of every table).
// Quanta (degrees) by the accuracy the body needs.
constexpr double kFine = 1e-7, kMedium = 1e-6, kCoarse = 1e-5;
constexpr TableSpec kSpecs[] = {
    {0, 64.0, 16, 10, kMedium},
    {1, 16.0, 18, 13, kMedium},
    {2, 32.0, 18, 14, kMedium},
    {3, 64.0, 20, 14, kMedium},
    {4, 64.0, 18, 12, kMedium},
    {5, 128.0, 18, 12, kMedium},
    {6, 128.0, 14, 8, kMedium},
    {7, 128.0, 14, 8, kMedium},
    {8, 128.0, 14, 8, kMedium},
    {9, 128.0, 14, 8, kMedium},
    {10, 128.0, 16, 10, kCoarse},
    {11, 128.0, 16, 10, kCoarse},
    {12, 128.0, 16, 10, kCoarse},
    {13, 128.0, 16, 10, kCoarse},
    {14, 128.0, 16, 10, kCoarse},
    {15, 128.0, 16, 10, kCoarse},
    {kTableTrueNode, 32.0, 16, 0, kMedium},
    {kTableMeanNode, 128.0, 8, 0, kMedium},
    {kTableTrueApogee, 16.0, 18, 14, kCoarse},
    {kTableMeanApogee, 128.0, 12, 10, kMedium},
    {20, 256.0, 16, 8, kMedium},
    {21, 256.0, 10, 4, kMedium},
    {22, 256.0, 16, 8, kMedium},
    {23, 256.0, 16, 8, kMedium},
    {24, 256.0, 16, 8, kMedium},
    {25, 256.0, 16, 8, kMedium},
    {26, 256.0, 16, 8, kMedium},
    {27, 256.0, 16, 8, kMedium},
    {28, 256.0, 16, 8, kMedium},
    {29, 256.0, 16, 8, kMedium},
    {kTableNutation, 64.0, 28, 0, kFine},
};

constexpr double kSpeedHalfStep = 0.01;

LunarVariant VariantOfTable(int tableId) {
  return tableId == kTableMeanNode || tableId == kTableMeanApogee ? LunarVariant::Mean
                                                                  : LunarVariant::True;
}

// The chart point a table serves.
int PointOfTable(int tableId) {
  switch (tableId) {
    case kTableTrueNode:
    case kTableMeanNode:
      return kNorthNode;
    case kTableTrueApogee:
    case kTableMeanApogee:
      return kBlackMoon;
    default:
      return tableId;
  }
}

// The apparent place without the Sun's deflection of light, for the points it deflects.
PointPosition UndeflectedPlace(int point, double jdTt) {
  if (point >= 2 && point <= 8) return PlanetPlaceWithoutDeflection(PlanetOfPoint(point), jdTt);
  return ApparentPlaceWithoutDeflection(
      [point](double t) {
        Vector3 p;
        MinorBodyHeliocentric(point, t, p);
        return p;
      },
      jdTt);
}

}  // namespace

std::span<const TableSpec> TableSpecs() { return kSpecs; }

bool DeflectedByTheSun(int point) {
  return (point >= 2 && point <= 15) || point == 20 || (point >= 22 && point <= 29);
}

double DeflectionDistanceRatio(int point) {
  // Mean distances from the Sun (semi-major axes), au: Mercury .. Psyche, then Proserpina and
  // the hypothetical points (their conventional elements).
  static constexpr double kMeanDistance[30] = {
      0.0,   0.0,   0.387, 0.723, 1.524, 5.203, 9.537, 19.19, 30.07, 39.48,
      13.65, 2.362, 2.767, 2.773, 2.669, 2.924, 0.0,   0.0,   0.0,   0.0,
      79.23, 0.0,   41.00, 50.67, 59.21, 64.82, 70.30, 73.63, 77.26, 83.67};
  if (!DeflectedByTheSun(point)) return 0.0;
  const double r = kMeanDistance[point];
  return r / (r + 1.0);
}

TableSample SampleTableSource(int tableId, double jdTt) {
  const double nutation = NutationAt(JdTt{jdTt}).longitudeDeg;
  if (tableId == kTableNutation) return TableSample{nutation, 0.0};
  const PointPosition p = DeflectedByTheSun(tableId)
                              ? UndeflectedPlace(tableId, jdTt)
                              : TheoryPlace(PointOfTable(tableId), VariantOfTable(tableId), jdTt);
  return TableSample{p.longitude - nutation, p.latitude};
}

double SampleTableSourceSpeed(int tableId, double jdTt) {
  double diff = SampleTableSource(tableId, jdTt + kSpeedHalfStep).longitude -
                SampleTableSource(tableId, jdTt - kSpeedHalfStep).longitude;
  diff -= 360.0 * std::round(diff / 360.0);
  return diff / (2.0 * kSpeedHalfStep);
}
