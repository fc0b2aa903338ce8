// The published starting figures of the integrated minor bodies, as carried into the project by
// tools/ephemeris_minor/extract_minor_elements.py (tools/ephemeris_minor/minor_elements.tsv holds
// the same rows).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// Heliocentric osculating elements, ecliptic and equinox J2000, angles in degrees.
struct SourceElements {
  int point;
  double epochJdTt;
  double eccentricity, semiMajorAxisAu, inclinationDeg, nodeDeg, perihelionArgumentDeg,
      meanAnomalyDeg;
};

// A tabulated heliocentric state of Pluto: TT days from J2000.0; au and au per day, equator and
// equinox J2000. Outside the integrated range Pluto is integrated from the state nearest in time.
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

// Mean elements with secular rates (ecliptic and equinox J2000; degrees, degrees per day) fitted
// to the integrated course of each integrated body: the asteroids over the integrated range, Pluto
// over the years of its tabulated states (tools/ephemeris_minor/mean_elements.cpp writes
// minor_mean_elements_data.cpp). Two-body motion on them serves where no integration does.
struct MeanElements {
  SourceElements orbit;                                                  // at orbit.epochJdTt
  double meanLongitudeRateDeg, nodeRateDeg, perihelionLongitudeRateDeg;  // per day
  double eccentricityRate, inclinationRateDeg;                           // per day
};
std::span<const MeanElements> FallbackMeanElements();

// Pluto's course outside the integrated range: its heliocentric position (au, ecliptic and equinox
// J2000) as Chebyshev series of `degree` in x, y and z on consecutive segments of `segmentDays`
// from `firstJd` (per segment the x coefficients, then y, then z), fitted to its integration from
// the tabulated states (tools/ephemeris_minor/fit_pluto_far.cpp writes minor_pluto_far_data.cpp).
struct FittedCourse {
  double firstJd, segmentDays;
  int degree;
  std::span<const double> coefficients;
};
FittedCourse PlutoFarCourse();

// The courses of the integrated asteroids and Chiron (points 10..15) before and after the
// integrated range, over the years in which their places are known (MinorBodyKnownAt): each
// body's integration continued there, fitted as Pluto's far course is, one course per body and
// side (tools/ephemeris_minor/fit_minor_far.cpp writes minor_far_courses_data.cpp). The course of
// `point` whose segments hold TT Julian day `jd`, its side decoded on first use (safe from several
// threads); null where none does.
const FittedCourse* MinorFarCourse(int point, double jd);

// The far courses as the program carries them (tools/ephemeris_minor/fit_minor_far.cpp writes
// minor_far_courses_data.cpp): per body and side, `count` coefficients as whole multiples of
// kFarCourseQuantumAu in the text `quanta`, each coefficient k of a series (0..degree) in
// `widths[k]` characters, which DecodeCourseQuanta reads.
struct StoredCourse {
  int point;
  double firstJd, segmentDays;
  int degree;
  std::size_t count;
  const char* widths;
  const char* quanta;
};
extern const double kFarCourseQuantumAu;
extern const StoredCourse kStoredFarCourses[];
extern const std::size_t kStoredFarCourseCount;

// The text of whole numbers: each number n is mapped to 2n for n >= 0 and to -2n - 1 below zero,
// and written in base 64, the highest digit first, each digit as the character of kCourseDigits
// at its place, in as many characters as the digit of `widths` at the number's place in the
// cycle of widths.size() numbers says (1..9). Writes the numbers of `text`, each times `scale`,
// to `out`; false when `text` does not hold exactly out.size() numbers or holds other characters,
// or `widths` other digits (`out` then holds no meaning).
inline constexpr char kCourseDigits[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
bool DecodeCourseQuanta(std::string_view text, std::string_view widths, double scale,
                        std::span<double> out);

// Osculating elements of the asteroids at the two ends of the integrated range, from the
// integration (written by the same tool): the fallback starts on them and passes to the mean
// elements within a few years.
std::span<const SourceElements> BoundaryElements();
