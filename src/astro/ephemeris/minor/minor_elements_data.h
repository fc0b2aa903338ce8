// The published starting figures of the integrated minor bodies, as carried into the project by
// tools/ephemeris_minor/extract_minor_elements.py (tools/ephemeris_minor/minor_elements.tsv holds the same rows).
#pragma once

#include <array>
#include <span>

// Heliocentric osculating elements, ecliptic and equinox J2000, angles in degrees.
struct SourceElements {
  int point;
  double epochJdTt;
  double eccentricity, semiMajorAxisAu, inclinationDeg, nodeDeg, perihelionArgumentDeg,
      meanAnomalyDeg;
};

// A tabulated heliocentric state of Pluto: TT days from J2000.0; au and au per day, equator and
// equinox J2000. These serve only the two-body fallback outside the integrated range.
struct TabulatedState {
  double daysFromJ2000;
  double position[3];
  double velocity[3];
};

inline constexpr int kSourceElementCount = 6;
inline constexpr int kPlutoStateCount = 51;
extern const std::array<SourceElements, kSourceElementCount> kSourceElements;
extern const std::array<TabulatedState, kPlutoStateCount> kPlutoStates;

// The start of Pluto's integration: its heliocentric state at `jdTt` (au, au per day, ecliptic and
// equinox J2000), fitted by least squares to published positions
// (tools/ephemeris_minor/fit_pluto_state.cpp writes minor_pluto_start_data.cpp).
struct PlutoStartState {
  double jdTt;
  double position[3];
  double velocity[3];
};
extern const PlutoStartState kPlutoStart;

// Osculating elements of the same bodies at the two ends of the integrated range, from the
// integration itself (tools/ephemeris_minor/boundary_elements.cpp writes
// minor_boundary_data.cpp): the two-body fallback outside the range starts from them.
std::span<const SourceElements> BoundaryElements();
