#include "astro/ephemeris/minor/minor_bodies.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <utility>

#include "astro/ephemeris/chebyshev_tables.h"
#include "astro/ephemeris/minor/conventional_points.h"
#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/minor/minor_elements_data.h"
#include "astro/ephemeris/minor/perturbers.h"
#include "astro/ephemeris/minor/trajectory.h"
#include "astro/ephemeris/planet_theory.h"

namespace {

using minor::KeplerElements;
using minor::kPlanetCount;
using minor::kPlanetMassRatio;
using minor::kSunGm;
using minor::PlanetGrid;
using minor::StateVector;
using minor::Trajectory;

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kJ2000 = 2451545.0;
constexpr int kPluto = 9;
constexpr int kChiron = 10;
// The integration reaches this far beyond the nominal range, for the light-time and the speed.
constexpr double kRangeMarginDays = 2.0;
constexpr double kAsteroidStepDays = 8.0;
constexpr double kPlutoStepDays = 8.0;  // as tools/ephemeris_minor/fit_pluto_state.cpp fits
// Pluto outside the integrated range, from its tabulated states: longer steps (the interpolated
// planets then cost a few arcseconds, far below what the states themselves allow). The series of
// the giant planets dominate the cost: the first position at -3000 takes about 2 s, at -500 0.3 s.
constexpr double kPlutoFarStepDays = 32.0;
// The giant planets for it are sampled 4 times more sparsely than for the integrated range (every
// 128 days for Jupiter): their interpolation errors move Pluto by far less than an arcsecond.
constexpr int kPlutoFarGridScale = 4;
// Half the step of the central difference that gives the velocity of a point whose motion has no
// rate of its own here (Proserpina, counted from the moving equinox), days.
constexpr double kVelocityHalfStep = 0.05;
constexpr int kExtrapolationColumns = 6;
// The Sun with Mercury..Mars (GM over GM of the Sun), seen from beyond the giant planets.
const double kSunAndInnerPlanetsMass =
    1.0 + kPlanetMassRatio[0] + kPlanetMassRatio[1] + kPlanetMassRatio[2] + kPlanetMassRatio[3];
// Chiron's own integration, which its course before the integrated range follows: Chiron alone
// (the asteroids' pull on it is far below an arcsecond), the inner planets sampled 4 times more
// densely than for the integrated range. Its passage by Saturn in 1064 (1.2 au) magnifies every
// error of the forces before it some fifty times going back: with the inner planets as sparse as
// for the range, Chiron is 8' off the reference at 955, with them 4 times denser 1.6'. After the
// range Chiron keeps the range's integration continued, the course that was measured within 1'
// of an independent ephemeris over 1170-3000 (its own integration differs from it by up to 4' in
// the 2980s, where no reference checks either).
constexpr double kChironStepDays = 8.0;
constexpr int kChironInnerDivisor = 4;
// Before the integrated range Chiron's course passes from the range's integration (which the
// tables inside it follow) to its own over this many days, so that the two join at the range's
// start; they differ by about 2" there.
constexpr double kChironBlendDays = 50.0 * 365.25;
// Masses of the asteroids that perturb the others (GM over GM of the Sun).
constexpr std::pair<int, double> kAsteroidMassRatio[] = {
    {12, 4.72e-10}, {13, 1.03e-10}, {11, 1.30e-10}};

Vector3 EquatorialToEclipticJ2000(const double v[3]) {
  const double eps = 84381.406 / 3600.0 * kDeg;  // IAU 2006 obliquity at J2000
  const double c = std::cos(eps), s = std::sin(eps);
  return Vector3{v[0], c * v[1] + s * v[2], -s * v[1] + c * v[2]};
}

StateVector PlutoTableState(int index) {
  const TabulatedState& t = kPlutoStates[static_cast<std::size_t>(index)];
  return StateVector{EquatorialToEclipticJ2000(t.position), EquatorialToEclipticJ2000(t.velocity)};
}
double PlutoTableJd(int index) {
  return kJ2000 + kPlutoStates[static_cast<std::size_t>(index)].daysFromJ2000;
}

// Pluto's tabulated state `index` about the barycentre of the Sun and Mercury..Mars.
StateVector StateAboutInnerBarycentre(int index) {
  const double jd = PlutoTableJd(index);
  StateVector s = PlutoTableState(index);
  Vector3 r, v;
  double mass = 1.0;
  for (int p = 0; p < 4; ++p) {
    Vector3 position, velocity;
    HeliocentricState(static_cast<Planet>(p), jd, position, velocity);
    r += position * kPlanetMassRatio[static_cast<std::size_t>(p)];
    v += velocity * kPlanetMassRatio[static_cast<std::size_t>(p)];
    mass += kPlanetMassRatio[static_cast<std::size_t>(p)];
  }
  s.position -= r / mass;
  s.velocity -= v / mass;
  return s;
}

KeplerElements FromSource(const SourceElements& s) {
  return minor::ElementsFromDegrees(s.epochJdTt, s.semiMajorAxisAu, s.eccentricity,
                                    s.inclinationDeg, s.nodeDeg, s.perihelionArgumentDeg,
                                    s.meanAnomalyDeg);
}

// The acceleration (au / day^2) towards a mass of `massRatio` solar masses at `d` from the
// attracted body; zero for no mass or no distance.
Vector3 Pull(const Vector3& d, double massRatio) {
  const double dd = d.Length();
  if (massRatio == 0.0 || dd == 0.0) return Vector3{};
  return d * (kSunGm * massRatio / (dd * dd * dd));
}

// Heliocentric acceleration of a body at `r` from a central mass and point masses at `others`
// (direct and indirect terms), au / day^2.
Vector3 Acceleration(const Vector3& r, double centralGm, const Vector3* others,
                     const double* massRatios, int count) {
  const double rr = r.Length();
  Vector3 a = r * (-centralGm / (rr * rr * rr));
  for (int j = 0; j < count; ++j) {
    if (massRatios[j] == 0.0) continue;
    const Vector3 d = others[j] - r;
    const double dd = d.Length();
    const double pr = others[j].Length();
    if (dd == 0.0 || pr == 0.0) continue;
    a += (d / (dd * dd * dd) - others[j] / (pr * pr * pr)) * (kSunGm * massRatios[j]);
  }
  return a;
}

// The integrations of the process, made on first use and kept.
class Integrations {
 public:
  static Integrations& Instance() {
    static Integrations instance;
    return instance;
  }

  StateVector State(int point, double jd) {
    const std::lock_guard<std::mutex> lock(mutex_);
    return point == kPluto ? PlutoState(jd) : AsteroidState(point, jd);
  }

  // Chiron's own integration (see kChironStepDays), from its elements.
  StateVector Chiron(double jd) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!chiron_) {
      const SourceElements* source = nullptr;
      for (const SourceElements& s : kSourceElements)
        if (s.point == kChiron) source = &s;
      const KeplerElements el = FromSource(*source);
      chiron_ = std::make_unique<Trajectory>(
          [this](double t, std::span<const Vector3> r, std::span<Vector3> out) {
            out[0] = minor::SunAndPlanetsAcceleration(t, r[0], chironPlanets_);
          },
          el.epochJd, std::vector<StateVector>{minor::StateFromElements(el, el.epochJd)},
          kChironStepDays, kExtrapolationColumns);
    }
    chiron_->ExtendTo(jd);
    return chiron_->StateAt(0, jd);
  }

  // Pluto from the tabulated state `index`, forwards and backwards: the giant planets perturb, the
  // inner planets' masses are added to the Sun's. The tabulated state is heliocentric: it carries
  // the Sun's swing about the barycentre of the Sun and the inner planets (some 0.1 m/s), which a
  // model without those planets would take for Pluto's own motion (arcseconds within decades);
  // so the integration runs about that barycentre. Positions stay about it: the swing moves Pluto
  // by some 0.02".
  StateVector PlutoFar(int index, double jd) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::unique_ptr<Trajectory>& path = plutoFar_[index];
    if (!path) {
      path = std::make_unique<Trajectory>(
          [this](double t, std::span<const Vector3> r, std::span<Vector3> out) {
            PlanetGrid::Positions planets;
            giants_.PositionsAt(t, planets);  // the inner planets stay at zero and are skipped
            out[0] = Acceleration(r[0], kSunGm * kSunAndInnerPlanetsMass, planets.data(),
                                  kPlanetMassRatio.data(), kPlanetCount);
          },
          PlutoTableJd(index), std::vector<StateVector>{StateAboutInnerBarycentre(index)},
          kPlutoFarStepDays, kExtrapolationColumns);
    }
    path->ExtendTo(jd);
    return path->StateAt(0, jd);
  }

 private:
  Integrations()
      : planets_(0xFF),
        giants_(0xF0, kPlutoFarGridScale),
        chironPlanets_(0xFF, 1, kChironInnerDivisor) {}

  StateVector AsteroidState(int point, double jd) {
    if (!asteroids_) {
      std::vector<StateVector> initial;
      for (const SourceElements& s : kSourceElements) {
        bodyIndex_[s.point] = static_cast<int>(initial.size());
        bodyMass_.push_back(0.0);
        for (const auto& [p, m] : kAsteroidMassRatio)
          if (p == s.point) bodyMass_.back() = m;
        const KeplerElements el = FromSource(s);
        initial.push_back(minor::StateFromElements(el, el.epochJd));
      }
      asteroids_ = std::make_unique<Trajectory>(
          [this](double t, std::span<const Vector3> r, std::span<Vector3> out) {
            AsteroidAccelerations(t, r, out);
          },
          kSourceElements[0].epochJdTt, std::move(initial), kAsteroidStepDays,
          kExtrapolationColumns);
    }
    asteroids_->ExtendTo(jd);
    return asteroids_->StateAt(bodyIndex_.at(point), jd);
  }

  // The asteroids' heliocentric accelerations: the Sun, the planets and the massive asteroids
  // pull them (direct terms), and every body feels the Sun's acceleration towards the planets and
  // the massive asteroids reversed (indirect terms, the same for all: summed once), but for a
  // massive asteroid's own.
  void AsteroidAccelerations(double t, std::span<const Vector3> r, std::span<Vector3> out) {
    PlanetGrid::Positions planets;
    planets_.PositionsAt(t, planets);
    Vector3 sunPull;
    for (int p = 0; p < kPlanetCount; ++p)
      sunPull +=
          Pull(planets[static_cast<std::size_t>(p)], kPlanetMassRatio[static_cast<std::size_t>(p)]);
    for (std::size_t j = 0; j < r.size(); ++j) sunPull += Pull(r[j], bodyMass_[j]);
    for (std::size_t i = 0; i < r.size(); ++i) {
      Vector3 a = Pull(r[i], -1.0) - sunPull + Pull(r[i], bodyMass_[i]);
      for (int p = 0; p < kPlanetCount; ++p)
        if (planets[static_cast<std::size_t>(p)].Length() > 0.0)
          a += Pull(planets[static_cast<std::size_t>(p)] - r[i],
                    kPlanetMassRatio[static_cast<std::size_t>(p)]);
      for (std::size_t j = 0; j < r.size(); ++j)
        if (j != i) a += Pull(r[j] - r[i], bodyMass_[j]);
      out[i] = a;
    }
  }

  // Pluto alone, from its fitted state, forwards and backwards.
  StateVector PlutoState(double jd) {
    if (!pluto_) {
      const StateVector start{
          Vector3{kPlutoStart.position[0], kPlutoStart.position[1], kPlutoStart.position[2]},
          Vector3{kPlutoStart.velocity[0], kPlutoStart.velocity[1], kPlutoStart.velocity[2]}};
      pluto_ = std::make_unique<Trajectory>(
          [this](double t, std::span<const Vector3> r, std::span<Vector3> out) {
            out[0] = minor::SunAndPlanetsAcceleration(t, r[0], planets_);
          },
          kPlutoStart.jdTt, std::vector<StateVector>{start}, kPlutoStepDays, kExtrapolationColumns);
    }
    pluto_->ExtendTo(jd);
    return pluto_->StateAt(0, jd);
  }

  std::mutex mutex_;
  PlanetGrid planets_;
  std::unique_ptr<Trajectory> asteroids_;
  std::map<int, int> bodyIndex_;
  std::vector<double> bodyMass_;
  std::unique_ptr<Trajectory> pluto_;
  PlanetGrid giants_;  // Jupiter..Neptune only, on a coarser grid
  std::map<int, std::unique_ptr<Trajectory>> plutoFar_;
  PlanetGrid chironPlanets_;
  std::unique_ptr<Trajectory> chiron_;
};

bool InIntegrationWithMargin(double jd) {
  return jd >= kMinorIntegratedFirstJd - kRangeMarginDays &&
         jd <= kMinorIntegratedLastJd + kRangeMarginDays;
}

// Index of the tabulated Pluto state nearest in time (the first one back to kPlutoFarFirstJd);
// -1 before that and more than half a step after the last state.
int NearestPlutoState(double jd) {
  const double u = (jd - PlutoTableJd(0)) / (PlutoTableJd(1) - PlutoTableJd(0));
  if (!(jd >= kPlutoFarFirstJd && u < static_cast<double>(kPlutoStateCount) - 0.5)) return -1;
  return u < 0.0 ? 0 : static_cast<int>(std::lround(u));
}

// A fitted course at `jd`: position and velocity; false outside its segments.
bool CourseState(const FittedCourse& course, double jd, Vector3& position, Vector3& velocity) {
  const std::size_t stride = static_cast<std::size_t>(course.degree + 1);
  const std::size_t segments = course.coefficients.size() / (3 * stride);
  const double offset = (jd - course.firstJd) / course.segmentDays;
  if (segments == 0 || !(offset >= 0.0 && offset <= static_cast<double>(segments))) return false;
  const std::size_t segment = std::min(static_cast<std::size_t>(offset), segments - 1);
  const double x = std::clamp(2.0 * (offset - static_cast<double>(segment)) - 1.0, -1.0, 1.0);
  const double* c = course.coefficients.data() + segment * 3 * stride;
  double value[3], rate[3];
  for (std::size_t k = 0; k < 3; ++k)
    ChebyshevSum(c + k * stride, course.degree, x, value[k], rate[k]);
  const double perDay = 2.0 / course.segmentDays;
  position = Vector3{value[0], value[1], value[2]};
  velocity = Vector3{rate[0] * perDay, rate[1] * perDay, rate[2] * perDay};
  return true;
}

// Pluto on its fitted course, kPlutoFarFirstJd..kPlutoFarEndJd (false outside). Its first
// segment reaches back past kPlutoFarFirstJd.
bool PlutoFittedState(double jd, Vector3& position, Vector3& velocity) {
  if (!(jd >= kPlutoFarFirstJd && jd < kPlutoFarEndJd)) return false;
  const FittedCourse course = PlutoFarCourse();
  const double last =
      course.firstJd + course.segmentDays * static_cast<double>(course.coefficients.size() /
                                                                (3 * (course.degree + 1)));
  return CourseState(course, std::clamp(jd, course.firstJd, last), position, velocity);
}

// Chiron or an asteroid on its far course (false where none serves).
bool FarCourseState(int point, double jd, Vector3& position, Vector3& velocity) {
  const FittedCourse* course = MinorFarCourse(point, jd);
  return course != nullptr && CourseState(*course, jd, position, velocity);
}

minor::SecularElements ToSecular(const MeanElements& m) {
  minor::SecularElements s;
  s.elements = FromSource(m.orbit);
  s.meanMotionRadPerDay = m.meanLongitudeRateDeg * kDeg;
  s.nodeRateRadPerDay = m.nodeRateDeg * kDeg;
  s.perihelionRateRadPerDay = m.perihelionLongitudeRateDeg * kDeg;
  s.eccentricityRatePerDay = m.eccentricityRate;
  s.inclinationRateRadPerDay = m.inclinationRateDeg * kDeg;
  return s;
}

const SourceElements& OrbitOf(const SourceElements& s) { return s; }
const SourceElements& OrbitOf(const MeanElements& m) { return m.orbit; }

// The element set of `point` whose epoch is nearest to `jd`.
template <typename Elements>
const Elements* NearestSet(std::span<const Elements> sets, int point, double jd) {
  const Elements* best = nullptr;
  for (const Elements& e : sets)
    if (OrbitOf(e).point == point &&
        (!best || std::abs(OrbitOf(e).epochJdTt - jd) < std::abs(OrbitOf(*best).epochJdTt - jd)))
      best = &e;
  return best;
}

// An integrated body outside the integrated range: Pluto on its course fitted to the integration
// from its tabulated state nearest in time (from the first one before year 0; before
// kPlutoFarFirstJd and after kPlutoFarEndJd, where no date the program accepts falls, on its mean
// elements), Chiron and the asteroids on their far courses over the years in which they are known;
// otherwise two-body motion on the body's mean elements, which for an asteroid starts on its
// osculating elements at the end of the range the mean elements were fitted from and passes to the
// mean ones with a Gaussian weight of kOsculatingYears (within the known years, where the far
// courses serve). The velocity is the rate of that place, the weight's included.
constexpr double kOsculatingYears = 5.0;

StateVector FallbackState(int point, double jd) {
  StateVector fitted;
  if (point == kPluto ? PlutoFittedState(jd, fitted.position, fitted.velocity)
                      : FarCourseState(point, jd, fitted.position, fitted.velocity))
    return fitted;
  const MeanElements* mean = NearestSet(FallbackMeanElements(), point, jd);
  if (mean == nullptr) return StateVector{};  // every integrated body has mean elements
  const StateVector onMean = minor::SecularState(ToSecular(*mean), jd);
  const SourceElements* osculating = NearestSet(BoundaryElements(), point, jd);
  if (osculating == nullptr || osculating->epochJdTt != mean->orbit.epochJdTt) return onMean;
  const double scaleDays = kOsculatingYears * 365.25;
  const double u = (jd - osculating->epochJdTt) / scaleDays;
  // Beyond some 30 years the osculating motion's weight is below a part in 10^17.
  if (u * u > 40.0) return onMean;
  const double w = std::exp(-u * u), wRate = -2.0 * u * w / scaleDays;
  const StateVector onOsculating = minor::StateFromElements(FromSource(*osculating), jd);
  return StateVector{onOsculating.position * w + onMean.position * (1.0 - w),
                     onOsculating.velocity * w + onMean.velocity * (1.0 - w) +
                         (onOsculating.position - onMean.position) * wRate};
}

Vector3 FallbackHeliocentric(int point, double jd) { return FallbackState(point, jd).position; }

}  // namespace

bool IsMinorBody(int point) { return (point >= 9 && point <= 15) || (point >= 20 && point <= 29); }

bool IsIntegratedMinorBody(int point) { return point >= 9 && point <= 15; }

bool MinorBodyKnownSpan(int point, double& firstJdTt, double& endJdTt) {
  if (!IsIntegratedMinorBody(point)) return false;
  firstJdTt = point == kPluto    ? kPlutoFarFirstJd
              : point == kChiron ? kChironKnownFirstJd
                                 : kMinorKnownFirstJd;
  endJdTt = point == kPluto ? kPlutoFarEndJd : kMinorKnownEndJd;
  return true;
}

bool MinorBodyKnownAt(int point, double jdTt) {
  if (!std::isfinite(jdTt)) return false;
  double first = 0.0, end = 0.0;
  return !MinorBodyKnownSpan(point, first, end) || (jdTt >= first && jdTt < end);
}

bool MinorBodyIntegrated(int point, double jdTt, Vector3& positionAu) {
  if (!IsIntegratedMinorBody(point) || point == kPluto || !std::isfinite(jdTt)) return false;
  Integrations& integrations = Integrations::Instance();
  // Chiron before the range follows its own integration; after it, the range's continued.
  const double away = kMinorIntegratedFirstJd - jdTt;
  if (point != kChiron || away <= 0.0) {
    positionAu = integrations.State(point, jdTt).position;
    return true;
  }
  positionAu = integrations.Chiron(jdTt).position;
  if (away < kChironBlendDays) {  // smoothstep from the range's integration to Chiron's own
    const double u = away / kChironBlendDays, w = 1.0 - u * u * (3.0 - 2.0 * u);
    positionAu += (integrations.State(point, jdTt).position - positionAu) * w;
  }
  return true;
}

bool InMinorIntegratedRange(double jdTt) {
  return jdTt >= kMinorIntegratedFirstJd && jdTt <= kMinorIntegratedLastJd;
}

bool MinorBodyHeliocentric(int point, double jdTt, Vector3& positionAuJ2000) {
  if (IsIntegratedMinorBody(point)) {
    positionAuJ2000 = InIntegrationWithMargin(jdTt)
                          ? Integrations::Instance().State(point, jdTt).position
                          : FallbackHeliocentric(point, jdTt);
    return true;
  }
  return minor::ConventionalHeliocentric(point, jdTt, positionAuJ2000);
}

bool MinorBodyState(int point, double jdTt, Vector3& positionAu, Vector3& velocityAuPerDay) {
  if (!IsIntegratedMinorBody(point) || !InIntegrationWithMargin(jdTt)) return false;
  const StateVector s = Integrations::Instance().State(point, jdTt);
  positionAu = s.position;
  velocityAuPerDay = s.velocity;
  return true;
}

PointPosition MinorBodyApparent(int point, double jdTt) {
  if (point == 21) return minor::WhiteMoonApparent(jdTt);
  if (!IsMinorBody(point)) return PointPosition{};
  if (IsIntegratedMinorBody(point) && !InMinorIntegratedRange(jdTt))
    return MinorBodyFallback(point, jdTt);
  return ApparentFromHeliocentric(
      [point](double t) {
        Vector3 p;
        MinorBodyHeliocentric(point, t, p);
        return p;
      },
      jdTt);
}

bool MinorBodyHeliocentricState(int point, double jdTt, Vector3& positionAu,
                                Vector3& velocityAuPerDay) {
  if (InMinorIntegratedRange(jdTt) && MinorBodyState(point, jdTt, positionAu, velocityAuPerDay))
    return true;
  if (IsIntegratedMinorBody(point)) {
    const StateVector s = FallbackState(point, jdTt);
    positionAu = s.position;
    velocityAuPerDay = s.velocity;
    return true;
  }
  if (minor::HypotheticalHeliocentricState(point, jdTt, positionAu, velocityAuPerDay)) return true;
  Vector3 before, after;
  if (!MinorBodyHeliocentric(point, jdTt, positionAu) ||
      !MinorBodyHeliocentric(point, jdTt - kVelocityHalfStep, before) ||
      !MinorBodyHeliocentric(point, jdTt + kVelocityHalfStep, after))
    return false;
  velocityAuPerDay = (after - before) / (2.0 * kVelocityHalfStep);
  return true;
}

bool PlutoFarIntegrated(double jdTt, Vector3& positionAu) {
  const int nearest = NearestPlutoState(jdTt);
  if (nearest < 0) return false;
  positionAu = Integrations::Instance().PlutoFar(nearest, jdTt).position;
  return true;
}

PointPosition MinorBodyFallback(int point, double jdTt) {
  if (!IsIntegratedMinorBody(point)) return MinorBodyApparent(point, jdTt);
  return ApparentFromHeliocentric([point](double t) { return FallbackHeliocentric(point, t); },
                                  jdTt);
}
