// Bounds of the bodies' motion, found by a scan of the ephemeris tables over 1600-2400 (daily
// steps, the speeds raised by 5 % to stay above any peak between two samples) and compiled in
// (speed_limits_data.cpp, made by tools/ephemeris/make_speed_tables). Transit searches rely on
// them never being exceeded. The lunar points take the larger of their two variants.
#pragma once

// Largest forward daily motion, degrees per day (body 0..29).
double GetPlanetMaxSpeed(int body);
// Largest retrograde daily motion as a positive number, 0 for bodies never retrograde (0..29).
double GetPlanetMaxBackSpeed(int body);
// Largest forward arc between two stations, degrees; 360 for bodies that never station (0..29).
double GetPlanetMaxDirectArc(int body);
// Largest arc of one retrograde run, degrees; 0 for bodies never retrograde (0..29).
double GetPlanetMaxBackArc(int body);
// Mean geocentric period of revolution, years (0..29).
double GetPlanetTurn(int body);
// A body outside 0..29 gets the most permissive value of all bodies (the largest speed or arc,
// the shortest period) instead of ending the program.

struct MotionLimits {
  double maxSpeed, maxBackSpeed, maxDirectArc, maxBackArc, turnYears;
};
// The compiled-in table, one row per body 0..29.
const MotionLimits* MotionLimitsTable();
// The longest transit search period of each pair of moving bodies, days: 13 x 13 values, the row
// the transiting body, the column the target (the Sun .. Chiron, the Black Moon, the White Moon);
// the same table the data file "velm.tri" holds.
const int* TransitPeriodsTable();
