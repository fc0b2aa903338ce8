// The contents of the chart information dialog: who and what the chart is, its moments and
// places, the house and aspect systems, the local sidereal time and the house of each point.
// Texts are code page 1251.
#pragma once

#include <string>
#include <vector>

#include "astro/chart/chart.h"

struct ChartInfoRow {
  std::string label;
  std::string value;
};

// Name, kind, title, each moment and place the kind uses, house system, aspect system and the
// local sidereal time, in that order, then UnknownBodyRows.
std::vector<ChartInfoRow> ChartInfoRows(const Chart& chart);

// A row for each body left out of the chart because its place cannot be known at the chart's
// moment (BodyKnownAt): its name, and that it is missing and for which years it is known.
std::vector<ChartInfoRow> UnknownBodyRows(const Chart& chart);

struct PointHouseRow {
  int point = 0;
  std::string name;       // message 300 + point
  std::string longitude;  // "DD°MM' sign"
  char status = 'D';      // 'R' retrograde
  int house = 0;          // 1..12; 0 when the chart has no cusps
};
// Points 0..33 that have a longitude, in point order.
std::vector<PointHouseRow> PointHouseRows(const Chart& chart);

// The Ascendant and the MC as the wheel draws them (the cusps of houses I and X), then the cusps
// of houses I..XII: label and "DD°MM' sign"; nothing for a chart without cusps.
std::vector<ChartInfoRow> AngleCuspRows(const Chart& chart);

// The name of house system `code` (+100 geodetic); empty for an unknown code.
std::string HouseSystemName(int code);
// "DD°MM' sign" of a longitude in degrees, rounded to the nearest minute as the wheel and the
// coordinate tables show it (29°59'40" is the next sign's 00°00'); "-" for an absent one.
std::string LongitudeInSignText(double longitude);
// The local apparent sidereal time, hours 0..24, at the moment and place the chart is cast for.
double LocalSiderealHours(const Chart& chart);
// Roman numeral I..XII of house 1..12; empty otherwise.
std::string HouseNumeral(int house);
