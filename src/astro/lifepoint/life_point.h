// The life point: a point that travels once through the twelve houses (or signs) of a birth chart
// at a fixed number of years per house, so that each age has one longitude. One LifePoint is one
// type of it (read from "velm.lpn" by the forecasting part).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/datetime/moment.h"
#include "foundation/datetime/source.h"

struct LifePoint {
  std::string name;
  char mode = '0';          // 'S' by signs of 30 degrees; any other letter by houses
  char direction = '0';     // 'D' direct; 'R' converse (backwards through the zodiac)
  std::int16_t first = -1;  // the house or sign 0..11 the point stands in at birth
  std::int16_t years = -1;  // years per house or sign; a cycle is 12 x years
  // The birth chart's cusps (house i begins at cusps[i]), set before use for the house mode.
  std::optional<std::array<double, 12>> cusps;

  // The life point's longitude at `later` for a birth at `birth` (both on one clock): a direct
  // point starts at the cusp of its first house and crosses each house in `years`, moving evenly
  // between the cusps; a converse one starts at the end of its first house and runs backwards.
  // After 12 houses the cycle begins again. -777.0 and message 1003 when the birth is later;
  // -777.0 for a type without a first house 0..11, without a positive number of years, or
  // without cusps in the house mode.
  static double CountPosition(const LifePoint& type, const Moment& birth, const Moment& later);
  // The same for two Sources: the target's moment is taken on the birth's clock first.
  static double CountPosition(const LifePoint& type, const Source& birth, const Source& target);
  // The same, for a type whose cusps are set.
  static double CalculatePosition(const LifePoint& type, const Moment& birth, const Moment& moment);
  // The moment within the first cycle from birth at which the point reaches `longitude`: years
  // per house times the houses passed plus the fraction of the house between its cusps (by
  // signs, degrees / 30). Nothing for a type that cannot move or an absent longitude.
  static std::optional<Moment> CalculateMoment(const LifePoint& type, const Moment& birth,
                                               double longitude);
};
