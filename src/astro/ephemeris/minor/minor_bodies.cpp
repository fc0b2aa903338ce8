#include "astro/ephemeris/minor/minor_bodies.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <utility>

#include "astro/ephemeris/minor/conventional_points.h"
#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/minor/minor_elements_data.h"
#include "astro/ephemeris/minor/perturbers.h"
#include "astro/ephemeris/minor/trajectory.h"

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
// The integration reaches this far beyond the nominal range, for the light-time and the speed.
constexpr double kRangeMarginDays = 2.0;
constexpr double kAsteroidStepDays = 8.0;
constexpr double kPlutoStepDays = 8.0;  // as tools/ephemeris_minor/fit_pluto_state.cpp fits
constexpr int kExtrapolationColumns = 6;
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

KeplerElements FromSource(const SourceElements& s) {
  KeplerElements el;
  el.epochJd = s.epochJdTt;
  el.gm = kSunGm;
  el.semiMajorAxisAu = s.semiMajorAxisAu;
  el.eccentricity = s.eccentricity;
  el.inclinationRad = s.inclinationDeg * kDeg;
  el.nodeRad = s.nodeDeg * kDeg;
  el.perihelionArgumentRad = s.perihelionArgumentDeg * kDeg;
  el.meanAnomalyRad = s.meanAnomalyDeg * kDeg;
  return el;
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

 private:
  Integrations() : planets_(0xFF) {}

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
            PlanetGrid::Positions planets;
            planets_.PositionsAt(t, planets);
            for (std::size_t i = 0; i < r.size(); ++i) {
              out[i] =
                  Acceleration(r[i], kSunGm, planets.data(), kPlanetMassRatio.data(), kPlanetCount);
              for (std::size_t j = 0; j < r.size(); ++j)
                if (j != i && bodyMass_[j] != 0.0)
                  out[i] += Acceleration(r[i], 0.0, &r[j], &bodyMass_[j], 1);
            }
          },
          kSourceElements[0].epochJdTt, std::move(initial), kAsteroidStepDays,
          kExtrapolationColumns);
    }
    asteroids_->ExtendTo(jd);
    return asteroids_->StateAt(bodyIndex_.at(point), jd);
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
};

bool InIntegrationWithMargin(double jd) {
  return jd >= kMinorIntegratedFirstJd - kRangeMarginDays &&
         jd <= kMinorIntegratedLastJd + kRangeMarginDays;
}

// Two-body position of an integrated body from the element set nearest in time.
Vector3 TwoBodyHeliocentric(int point, double jd) {
  if (point == kPluto) {
    const double span = PlutoTableJd(1) - PlutoTableJd(0);
    const int nearest = std::clamp(static_cast<int>(std::lround((jd - PlutoTableJd(0)) / span)), 0,
                                   kPlutoStateCount - 1);
    const KeplerElements el =
        minor::ElementsFromState(PlutoTableState(nearest), kSunGm, PlutoTableJd(nearest));
    return minor::StateFromElements(el, jd).position;
  }
  const SourceElements* best = nullptr;
  for (const SourceElements& s : kSourceElements)
    if (s.point == point && (!best || std::abs(s.epochJdTt - jd) < std::abs(best->epochJdTt - jd)))
      best = &s;
  for (const SourceElements& s : BoundaryElements())
    if (s.point == point && (!best || std::abs(s.epochJdTt - jd) < std::abs(best->epochJdTt - jd)))
      best = &s;
  return minor::StateFromElements(FromSource(*best), jd).position;
}

}  // namespace

bool IsMinorBody(int point) { return (point >= 9 && point <= 15) || (point >= 20 && point <= 29); }

bool IsIntegratedMinorBody(int point) { return point >= 9 && point <= 15; }

bool InMinorIntegratedRange(double jdTt) {
  return jdTt >= kMinorIntegratedFirstJd && jdTt <= kMinorIntegratedLastJd;
}

bool MinorBodyHeliocentric(int point, double jdTt, Vector3& positionAuJ2000) {
  if (IsIntegratedMinorBody(point)) {
    positionAuJ2000 = InIntegrationWithMargin(jdTt)
                          ? Integrations::Instance().State(point, jdTt).position
                          : TwoBodyHeliocentric(point, jdTt);
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
    return MinorBodyTwoBody(point, jdTt);
  return ApparentFromHeliocentric(
      [point](double t) {
        Vector3 p;
        MinorBodyHeliocentric(point, t, p);
        return p;
      },
      jdTt);
}

PointPosition MinorBodyTwoBody(int point, double jdTt) {
  if (!IsIntegratedMinorBody(point)) return MinorBodyApparent(point, jdTt);
  return ApparentFromHeliocentric([point](double t) { return TwoBodyHeliocentric(point, t); },
                                  jdTt);
}
