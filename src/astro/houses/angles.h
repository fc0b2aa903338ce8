// The angles of a chart from the sidereal time of the place: Ascendant, Midheaven, Vertex and the
// East point (equatorial ascendant). Inputs and results in degrees; longitudes on the ecliptic of
// date, in [0, 360). ARMC is the right ascension of the meridian (local sidereal time x 15).
#pragma once

#include <array>

// The ecliptic degree rising in the east (the usual closed formula). Finite at every latitude,
// the poles included, where the horizon is the equator and the value is degenerate.
double AscendantDeg(double armcDeg, double latitudeDeg, double obliquityDeg);
// The ecliptic degree on the upper meridian (independent of the latitude).
double MidheavenDeg(double armcDeg, double obliquityDeg);
// The western intersection of the ecliptic with the prime vertical. At the equator the prime
// vertical is the celestial equator and the Vertex is the equinox on the western side.
double VertexDeg(double armcDeg, double latitudeDeg, double obliquityDeg);
// The ecliptic degree of right ascension ARMC + 90 (the Ascendant at the equator).
double EastPointDeg(double armcDeg, double obliquityDeg);

// The ecliptic longitude of the point on the ecliptic whose right ascension is `raDeg`.
double EclipticOfRightAscensionDeg(double raDeg, double obliquityDeg);

// The four angles of a place at a moment: [0] Ascendant, [1] IC, [2] Descendant, [3] MC.
// `julianDay` names the civil date (any Julian day within it; its 0h UT is taken), `utHours` the
// Universal Time of that date (may lie outside 0..24), `eastLongitudeDeg` east positive. The
// meridian turns at the sidereal rate: ARMC is the apparent sidereal time of the moment (IAU 2006)
// plus the longitude, with the true obliquity of the moment.
std::array<double, 4> CalcAngles(double julianDay, double utHours, double eastLongitudeDeg,
                                 double latitudeDeg);
