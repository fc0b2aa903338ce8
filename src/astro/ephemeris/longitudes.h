// Arithmetic of ecliptic longitudes (degrees). -777.0 is the absent value: it passes through.
// (The house of a longitude and the signs of a house: astro/houses/house_position.h.)
#pragma once

#include "foundation/numbers/angles.h"

// The midpoint of the shorter arc between a and b, in [0, 360); for two opposite longitudes the
// point 90 degrees after a. Absent when either is absent.
double MidpointLongitude(double a, double b);
// value + offset and value - offset, in [0, 360); absent when either is absent.
double ShiftLongitude(double value, double offset);
double ShiftLongitudeBack(double value, double offset);
// a moved by (t - t0) / (t1 - t0) of the shorter arc from a to b, in [0, 360); a itself when
// t1 == t0; absent when a or b is absent.
double InterpolateLongitude(double a, double b, double t0, double t1, double t);
