// The angles of a chart from the sidereal time of the place: Ascendant, Midheaven, Vertex and the
// East point (equatorial ascendant). Inputs and results in degrees; longitudes on the ecliptic of
// date, in [0, 360). ARMC is the right ascension of the meridian (local sidereal time x 15).
#pragma once

// The ecliptic degree rising in the east: the usual closed formula, turned by half a circle inside
// the polar circles when it gives the degree on the western half of the horizon. Finite at every
// latitude, the poles included, where the horizon is the equator and the value is degenerate.
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
// The right ascension of the ecliptic point of longitude `longitudeDeg` (latitude 0).
double RightAscensionOfEclipticDeg(double longitudeDeg, double obliquityDeg);
