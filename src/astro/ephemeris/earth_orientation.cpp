#include "astro/ephemeris/earth_orientation.h"

#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kArcsecToRad = M_PI / (180.0 * 3600.0);
constexpr double kTurnArcsec = 1296000.0;

// One luni-solar term of IAU 2000B: multiples of l, l', F, D, Omega; longitude sin, t*sin, cos;
// obliquity cos, t*cos, sin; units of 0.1 microarcsecond (McCarthy & Luzum 2003, table 1).
struct NutationTerm {
  signed char l, lp, f, d, om;
  double ps, pst, pc, ec, ect, es;
};

constexpr NutationTerm kNutation[] = {
    {0, 0, 0, 0, 1, -172064161.0, -174666.0, 33386.0, 92052331.0, 9086.0, 15377.0},
    {0, 0, 2, -2, 2, -13170906.0, -1675.0, -13696.0, 5730336.0, -3015.0, -4587.0},
    {0, 0, 2, 0, 2, -2276413.0, -234.0, 2796.0, 978459.0, -485.0, 1374.0},
    {0, 0, 0, 0, 2, 2074554.0, 207.0, -698.0, -897492.0, 470.0, -291.0},
    {0, 1, 0, 0, 0, 1475877.0, -3633.0, 11817.0, 73871.0, -184.0, -1924.0},
    {0, 1, 2, -2, 2, -516821.0, 1226.0, -524.0, 224386.0, -677.0, -174.0},
    {1, 0, 0, 0, 0, 711159.0, 73.0, -872.0, -6750.0, 0.0, 358.0},
    {0, 0, 2, 0, 1, -387298.0, -367.0, 380.0, 200728.0, 18.0, 318.0},
    {1, 0, 2, 0, 2, -301461.0, -36.0, 816.0, 129025.0, -63.0, 367.0},
    {0, -1, 2, -2, 2, 215829.0, -494.0, 111.0, -95929.0, 299.0, 132.0},
    {0, 0, 2, -2, 1, 128227.0, 137.0, 181.0, -68982.0, -9.0, 39.0},
    {-1, 0, 2, 0, 2, 123457.0, 11.0, 19.0, -53311.0, 32.0, -4.0},
    {-1, 0, 0, 2, 0, 156994.0, 10.0, -168.0, -1235.0, 0.0, 82.0},
    {1, 0, 0, 0, 1, 63110.0, 63.0, 27.0, -33228.0, 0.0, -9.0},
    {-1, 0, 0, 0, 1, -57976.0, -63.0, -189.0, 31429.0, 0.0, -75.0},
    {-1, 0, 2, 2, 2, -59641.0, -11.0, 149.0, 25543.0, -11.0, 66.0},
    {1, 0, 2, 0, 1, -51613.0, -42.0, 129.0, 26366.0, 0.0, 78.0},
    {-2, 0, 2, 0, 1, 45893.0, 50.0, 31.0, -24236.0, -10.0, 20.0},
    {0, 0, 0, 2, 0, 63384.0, 11.0, -150.0, -1220.0, 0.0, 29.0},
    {0, 0, 2, 2, 2, -38571.0, -1.0, 158.0, 16452.0, -11.0, 68.0},
    {0, -2, 2, -2, 2, 32481.0, 0.0, 0.0, -13870.0, 0.0, 0.0},
    {-2, 0, 0, 2, 0, -47722.0, 0.0, -18.0, 477.0, 0.0, -25.0},
    {2, 0, 2, 0, 2, -31046.0, -1.0, 131.0, 13238.0, -11.0, 59.0},
    {1, 0, 2, -2, 2, 28593.0, 0.0, -1.0, -12338.0, 10.0, -3.0},
    {-1, 0, 2, 0, 1, 20441.0, 21.0, 10.0, -10758.0, 0.0, -3.0},
    {2, 0, 0, 0, 0, 29243.0, 0.0, -74.0, -609.0, 0.0, 13.0},
    {0, 0, 2, 0, 0, 25887.0, 0.0, -66.0, -550.0, 0.0, 11.0},
    {0, 1, 0, 0, 1, -14053.0, -25.0, 79.0, 8551.0, -2.0, -45.0},
    {-1, 0, 0, 2, 1, 15164.0, 10.0, 11.0, -8001.0, 0.0, -1.0},
    {0, 2, 2, -2, 2, -15794.0, 72.0, -16.0, 6850.0, -42.0, -5.0},
    {0, 0, -2, 2, 0, 21783.0, 0.0, 13.0, -167.0, 0.0, 13.0},
    {1, 0, 0, -2, 1, -12873.0, -10.0, -37.0, 6953.0, 0.0, -14.0},
    {0, -1, 0, 0, 1, -12654.0, 11.0, 63.0, 6415.0, 0.0, 26.0},
    {-1, 0, 2, 2, 1, -10204.0, 0.0, 25.0, 5222.0, 0.0, 15.0},
    {0, 2, 0, 0, 0, 16707.0, -85.0, -10.0, 168.0, -1.0, 10.0},
    {1, 0, 2, 2, 2, -7691.0, 0.0, 44.0, 3268.0, 0.0, 19.0},
    {-2, 0, 2, 0, 0, -11024.0, 0.0, -14.0, 104.0, 0.0, 2.0},
    {0, 1, 2, 0, 2, 7566.0, -21.0, -11.0, -3250.0, 0.0, -5.0},
    {0, 0, 2, 2, 1, -6637.0, -11.0, 25.0, 3353.0, 0.0, 14.0},
    {0, -1, 2, 0, 2, -7141.0, 21.0, 8.0, 3070.0, 0.0, 4.0},
    {0, 0, 0, 2, 1, -6302.0, -11.0, 2.0, 3272.0, 0.0, 4.0},
    {1, 0, 2, -2, 1, 5800.0, 10.0, 2.0, -3045.0, 0.0, -1.0},
    {2, 0, 2, -2, 2, 6443.0, 0.0, -7.0, -2768.0, 0.0, -4.0},
    {-2, 0, 0, 2, 1, -5774.0, -11.0, -15.0, 3041.0, 0.0, -5.0},
    {2, 0, 2, 0, 1, -5350.0, 0.0, 21.0, 2695.0, 0.0, 12.0},
    {0, -1, 2, -2, 1, -4752.0, -11.0, -3.0, 2719.0, 0.0, -3.0},
    {0, 0, 0, -2, 1, -4940.0, -11.0, -21.0, 2720.0, 0.0, -9.0},
    {-1, -1, 0, 2, 0, 7350.0, 0.0, -8.0, -51.0, 0.0, 4.0},
    {2, 0, 0, -2, 1, 4065.0, 0.0, 6.0, -2206.0, 0.0, 1.0},
    {1, 0, 0, 2, 0, 6579.0, 0.0, -24.0, -199.0, 0.0, 2.0},
    {0, 1, 2, -2, 1, 3579.0, 0.0, 5.0, -1900.0, 0.0, 1.0},
    {1, -1, 0, 0, 0, 4725.0, 0.0, -6.0, -41.0, 0.0, 3.0},
    {-2, 0, 2, 0, 2, -3075.0, 0.0, -2.0, 1313.0, 0.0, -1.0},
    {3, 0, 2, 0, 2, -2904.0, 0.0, 15.0, 1233.0, 0.0, 7.0},
    {0, -1, 0, 2, 0, 4348.0, 0.0, -10.0, -81.0, 0.0, 2.0},
    {1, -1, 2, 0, 2, -2878.0, 0.0, 8.0, 1232.0, 0.0, 4.0},
    {0, 0, 0, 1, 0, -4230.0, 0.0, 5.0, -20.0, 0.0, -2.0},
    {-1, -1, 2, 2, 2, -2819.0, 0.0, 7.0, 1207.0, 0.0, 3.0},
    {-1, 0, 2, 0, 0, -4056.0, 0.0, 5.0, 40.0, 0.0, -2.0},
    {0, -1, 2, 2, 2, -2647.0, 0.0, 11.0, 1129.0, 0.0, 5.0},
    {-2, 0, 0, 0, 1, -2294.0, 0.0, -10.0, 1266.0, 0.0, -4.0},
    {1, 1, 2, 0, 2, 2481.0, 0.0, -7.0, -1062.0, 0.0, -3.0},
    {2, 0, 0, 0, 1, 2179.0, 0.0, -2.0, -1129.0, 0.0, -2.0},
    {-1, 1, 0, 1, 0, 3276.0, 0.0, 1.0, -9.0, 0.0, 0.0},
    {1, 1, 0, 0, 0, -3389.0, 0.0, 5.0, 35.0, 0.0, -2.0},
    {1, 0, 2, 0, 0, 3339.0, 0.0, -13.0, -107.0, 0.0, 1.0},
    {-1, 0, 2, -2, 1, -1987.0, 0.0, -6.0, 1073.0, 0.0, -2.0},
    {1, 0, 0, 0, 2, -1981.0, 0.0, 0.0, 854.0, 0.0, 0.0},
    {-1, 0, 0, 1, 0, 4026.0, 0.0, -353.0, -553.0, 0.0, -139.0},
    {0, 0, 2, 1, 2, 1660.0, 0.0, -5.0, -710.0, 0.0, -2.0},
    {-1, 0, 2, 4, 2, -1521.0, 0.0, 9.0, 647.0, 0.0, 4.0},
    {-1, 1, 0, 1, 1, 1314.0, 0.0, 0.0, -700.0, 0.0, 0.0},
    {0, -2, 2, -2, 1, -1283.0, 0.0, 0.0, 672.0, 0.0, 0.0},
    {1, 0, 2, 2, 1, -1331.0, 0.0, 8.0, 663.0, 0.0, 4.0},
    {-2, 0, 2, 2, 2, 1383.0, 0.0, -2.0, -594.0, 0.0, -2.0},
    {-1, 0, 0, 0, 2, 1405.0, 0.0, 4.0, -610.0, 0.0, 2.0},
    {1, 1, 2, -2, 2, 1290.0, 0.0, 0.0, -556.0, 0.0, 0.0},
};

// Delaunay arguments (Simon et al. 1994), radians.
struct Delaunay {
  double l, lp, f, d, om;
};

double ArgumentRad(double arcsec0, double arcsecPerCentury, double t) {
  return std::fmod(arcsec0 + arcsecPerCentury * t, kTurnArcsec) * kArcsecToRad;
}

// Rates of the Delaunay arguments, arcseconds per Julian century.
constexpr double kRateL = 1717915923.2178, kRateLp = 129596581.0481, kRateF = 1739527262.8478,
                 kRateD = 1602961601.2090, kRateOm = -6962890.5431;

Delaunay DelaunayAt(double t) {
  return Delaunay{ArgumentRad(485868.249036, kRateL, t), ArgumentRad(1287104.79305, kRateLp, t),
                  ArgumentRad(335779.526232, kRateF, t), ArgumentRad(1072260.70369, kRateD, t),
                  ArgumentRad(450160.398036, kRateOm, t)};
}

// The nutation in longitude and obliquity (arcseconds) at T centuries and, when `rate` is given,
// the rate of the longitude (arcseconds per century).
// cos and sin of the multiples -kMaxMultiple..kMaxMultiple of an angle, from one sin and cos by
// the addition theorem (the terms' multiples of each argument stay within these).
constexpr int kMaxMultiple = 4;
struct Multiples {
  double c[2 * kMaxMultiple + 1], s[2 * kMaxMultiple + 1];
  explicit Multiples(double angle) {
    double* const c0 = c + kMaxMultiple;
    double* const s0 = s + kMaxMultiple;
    c0[0] = 1.0;
    s0[0] = 0.0;
    c0[1] = std::cos(angle);
    s0[1] = std::sin(angle);
    for (int k = 2; k <= kMaxMultiple; ++k) {
      c0[k] = c0[k - 1] * c0[1] - s0[k - 1] * s0[1];
      s0[k] = s0[k - 1] * c0[1] + c0[k - 1] * s0[1];
    }
    for (int k = 1; k <= kMaxMultiple; ++k) {
      c0[-k] = c0[k];
      s0[-k] = -s0[k];
    }
  }
  // Multiplies (c, s) by the cos and sin of `k` times the angle.
  void Turn(int k, double& cosine, double& sine) const {
    const double ck = c[k + kMaxMultiple], sk = s[k + kMaxMultiple];
    const double turned = cosine * ck - sine * sk;
    sine = sine * ck + cosine * sk;
    cosine = turned;
  }
};

constexpr bool MultiplesWithinReach() {
  for (const NutationTerm& k : kNutation)
    for (const int m : {k.l, k.lp, k.f, k.d, k.om})
      if (m < -kMaxMultiple || m > kMaxMultiple) return false;
  return true;
}
static_assert(MultiplesWithinReach());

// The series at `t` (Julian centuries of TT) with the longitude's rate (0.1 microarcsecond per
// century, in `rate`).
Nutation NutationSeries(double t, double& rate) {
  const Delaunay a = DelaunayAt(t);
  // Each term's argument is a sum of whole multiples of the five: its sine and cosine come from
  // theirs by the addition theorem, five sines and cosines in all rather than one per term.
  const Multiples ml(a.l), mlp(a.lp), mf(a.f), md(a.d), mom(a.om);
  double dp = 0.0, de = 0.0, dpRate = 0.0;
  // Smallest terms first, for the rounding.
  for (int i = static_cast<int>(std::size(kNutation)) - 1; i >= 0; --i) {
    const NutationTerm& k = kNutation[i];
    double c = ml.c[k.l + kMaxMultiple], s = ml.s[k.l + kMaxMultiple];
    mlp.Turn(k.lp, c, s);
    mf.Turn(k.f, c, s);
    md.Turn(k.d, c, s);
    mom.Turn(k.om, c, s);
    dp += (k.ps + k.pst * t) * s + k.pc * c;
    de += (k.ec + k.ect * t) * c + k.es * s;
    const double argRate =
        (k.l * kRateL + k.lp * kRateLp + k.f * kRateF + k.d * kRateD + k.om * kRateOm) *
        kArcsecToRad;
    dpRate += k.pst * s + ((k.ps + k.pst * t) * c - k.pc * s) * argRate;
  }
  rate = dpRate * 1e-7;
  // 0.1 microarcsecond to arcseconds, plus the fixed offsets standing for the planetary terms.
  return Nutation{dp * 1e-7 - 0.000135, de * 1e-7 + 0.000388};
}

// The nutation in arcseconds and, when `rate` is given, the longitude's rate (arcseconds per
// century), from the per-thread memo of the last instant asked for (a chart asks for its instant's
// nutation for the sidereal time, the frame of date and the day or night of the chart).
Nutation NutationArcsec(double t, double* rate) {
  thread_local struct {
    double t = std::numeric_limits<double>::quiet_NaN();
    Nutation nutation;
    double rate = 0.0;
  } last;
  if (!(last.t == t)) {
    last.nutation = NutationSeries(t, last.rate);
    last.t = t;
  }
  if (rate != nullptr) *rate = last.rate;
  return last.nutation;
}

// The derivative of RotationZ / RotationX by the angle.
Matrix3 RotationZRate(double rad) {
  const double c = std::cos(rad), s = std::sin(rad);
  return Matrix3{{{-s, c, 0.0}, {-c, -s, 0.0}, {0.0, 0.0, 0.0}}};
}
Matrix3 RotationXRate(double rad) {
  const double c = std::cos(rad), s = std::sin(rad);
  return Matrix3{{{0.0, 0.0, 0.0}, {0.0, -s, c}, {0.0, -c, -s}}};
}

}  // namespace

Matrix3 Matrix3::operator*(const Matrix3& o) const {
  Matrix3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
  return r;
}

Matrix3 Matrix3::operator+(const Matrix3& o) const {
  Matrix3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][j] + o.m[i][j];
  return r;
}

Matrix3 Matrix3::operator*(double k) const {
  Matrix3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][j] * k;
  return r;
}

Matrix3 Matrix3::Transposed() const {
  Matrix3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = m[j][i];
  return r;
}

Matrix3 RotationX(double rad) {
  const double c = std::cos(rad), s = std::sin(rad);
  return Matrix3{{{1.0, 0.0, 0.0}, {0.0, c, s}, {0.0, -s, c}}};
}

Matrix3 RotationZ(double rad) {
  const double c = std::cos(rad), s = std::sin(rad);
  return Matrix3{{{c, s, 0.0}, {-s, c, 0.0}, {0.0, 0.0, 1.0}}};
}

double MeanObliquityDeg(JdTt tt) {
  const double t = CenturiesSinceJ2000(tt);
  const double arcsec =
      84381.406 +
      t * (-46.836769 +
           t * (-0.0001831 + t * (0.00200340 + t * (-0.000000576 + t * -0.0000000434))));
  return arcsec / 3600.0;
}

Nutation NutationAt(JdTt tt) {
  const Nutation arcsec = NutationArcsec(CenturiesSinceJ2000(tt), nullptr);
  return Nutation{arcsec.longitudeDeg / 3600.0, arcsec.obliquityDeg / 3600.0};
}

Nutation NutationAt(JdTt tt, double& longitudeRateDegPerDay) {
  double rate = 0.0;
  const Nutation arcsec = NutationArcsec(CenturiesSinceJ2000(tt), &rate);
  longitudeRateDegPerDay = rate / 3600.0 / kDaysPerCentury;
  return Nutation{arcsec.longitudeDeg / 3600.0, arcsec.obliquityDeg / 3600.0};
}

double EquationOfEquinoxesComplementaryDeg(JdTt tt) {
  const double t = CenturiesSinceJ2000(tt);
  const Delaunay a = DelaunayAt(t);
  // The sines of the arguments from those of the node's multiples, 2(F - D) and 2F by the
  // addition theorem.
  const double s1 = std::sin(a.om), c1 = std::cos(a.om);
  const double s2 = 2.0 * s1 * c1, c2 = c1 * c1 - s1 * s1;
  const double s3 = s1 * c2 + c1 * s2, c3 = c1 * c2 - s1 * s2;
  const double fd = 2.0 * (a.f - a.d), sfd = std::sin(fd), cfd = std::cos(fd);
  const double sf = std::sin(2.0 * a.f), cf = std::cos(2.0 * a.f);
  const double arcsec = 0.00264096 * s1 + 0.00006352 * s2 + 0.00001175 * (sfd * c3 + cfd * s3) +
                        0.00001121 * (sfd * c1 + cfd * s1) - 0.00000455 * (sfd * c2 + cfd * s2) +
                        0.00000202 * (sf * c3 + cf * s3) + 0.00000198 * (sf * c1 + cf * s1) -
                        0.00000172 * s3 - 0.00000087 * t * s1;
  return arcsec / 3600.0;
}

EclipticPrecession EclipticPrecessionAt(JdTt tt) {
  const double t = CenturiesSinceJ2000(tt);
  const double piA =
      t *
      (46.998973 + t * (-0.0334926 + t * (-0.00012559 + t * (0.000000113 + t * -0.0000000022))));
  const double bigPiA =
      629546.7936 +
      t * (-867.95758 + t * (0.157992 + t * (-0.0005371 + t * (-0.00004797 + t * 0.000000072))));
  const double pA =
      t *
      (5028.796195 + t * (1.1054348 + t * (0.00007964 + t * (-0.000023857 + t * -0.0000000383))));
  return EclipticPrecession{piA * kArcsecToRad, bigPiA * kArcsecToRad, pA * kArcsecToRad};
}

Matrix3 PrecessionFromJ2000(JdTt tt) {
  // The last instant's, per thread: a chart asks for it for its sidereal time and its frame of
  // date.
  thread_local struct {
    double jd = std::numeric_limits<double>::quiet_NaN();
    Matrix3 matrix;
  } last;
  if (last.jd == tt.days) return last.matrix;
  const EclipticPrecession p = EclipticPrecessionAt(tt);
  // To the node of the ecliptic of date, tilt onto it, then measure from the equinox of date.
  last.matrix = RotationZ(-(p.bigPiA + p.pA)) * RotationX(p.piA) * RotationZ(p.bigPiA);
  last.jd = tt.days;
  return last.matrix;
}

Matrix3 PrecessionRateFromJ2000(JdTt tt) {
  const double t = CenturiesSinceJ2000(tt);
  const EclipticPrecession p = EclipticPrecessionAt(tt);
  // Rates of the angles of EclipticPrecessionAt, radians per day.
  const double scale = kArcsecToRad / kDaysPerCentury;
  const double piRate =
      (46.998973 + t * (-0.0669852 + t * (-0.00037677 + t * (0.000000452 + t * -0.000000011)))) *
      scale;
  const double bigPiRate =
      (-867.95758 + t * (0.315984 + t * (-0.0016113 + t * (-0.00019188 + t * 0.00000036)))) * scale;
  const double pRate =
      (5028.796195 + t * (2.2108696 + t * (0.00023892 + t * (-0.000095428 + t * -0.0000001915)))) *
      scale;
  const double outer = -(p.bigPiA + p.pA), outerRate = -(bigPiRate + pRate);
  const Matrix3 a = RotationZ(outer), b = RotationX(p.piA), c = RotationZ(p.bigPiA);
  return RotationZRate(outer) * (b * c) * outerRate + a * RotationXRate(p.piA) * c * piRate +
         a * b * RotationZRate(p.bigPiA) * bigPiRate;
}

DateFrame DateFrameAt(JdTt tt) {
  DateFrame f;
  f.precession = PrecessionFromJ2000(tt);
  f.precessionRate = PrecessionRateFromJ2000(tt);
  f.nutationDeg = NutationAt(tt, f.nutationRateDegPerDay).longitudeDeg;
  return f;
}
