// Writes src/astro/ephemeris/minor/minor_far_courses_data.cpp: the courses of Chiron and the
// asteroids (points 10..15) outside the integrated range, over the years in which their places are
// known (kMinorKnownFirstJd..kMinorKnownEndJd): for each body and each side of the range, Chebyshev
// series in x, y and z on segments of equal length interpolating its integration continued there
// (MinorBodyIntegrated: the same start, forces, integrator and steps as inside the range, so the
// courses join the integration) at the Chebyshev nodes of each segment. Each side reaches a few
// days past the known years and into the integrated range, for the light-time and the joins. The
// coefficients are written as whole multiples of kQuantumAu, which moves a body by less than 0.01"
// (the file stays near a third of the size of the decimal doubles). Prints, per body and side, the
// worst difference from the integration (as seen from the Sun, arcseconds) at points between the
// nodes. Run from the repository root (about half a minute):
//   build/tools/ephemeris_minor/minor_fit_minor_far [POINT:SEGMENT_DAYS:DEGREE ...]
// where each argument replaces the segment length and the degree of one body (kShapes).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "astro/ephemeris/chebyshev_tables.h"
#include "astro/ephemeris/minor/minor_bodies.h"
#include "astro/ephemeris/minor/minor_elements_data.h"

namespace {

constexpr double kRadToArcsec = 206264.80624709636;
constexpr int kChecksPerSegment = 24;
constexpr double kPadDays = 10.0;
constexpr double kQuantumAu = 1e-8;

// Segment length (days) and degree per body: each keeps the worst difference from the integration
// near 1" (Pallas and Juno, eccentric and inclined, need the shortest segments). Longer segments
// of a higher degree need fewer coefficients for the same error, down to about these lengths;
// shorter ones (Vesta 768 days, degree 14: 0.06") cost half as many again.
struct Shape {
  int point;
  double segmentDays;
  int degree;
};
Shape kShapes[] = {{10, 2048.0, 12}, {11, 1280.0, 18}, {12, 1536.0, 18},
                   {13, 768.0, 16},  {14, 768.0, 16},  {15, 1536.0, 18}};
const char* const kOutput = "src/astro/ephemeris/minor/minor_far_courses_data.cpp";

Vector3 Integrated(int point, double jd) {
  Vector3 p;
  if (!MinorBodyIntegrated(point, jd, p)) {
    std::fprintf(stderr, "no integrated position of point %d at %.1f\n", point, jd);
    std::exit(1);
  }
  return p;
}

struct Piece {
  int point;
  double firstJd, segmentDays;
  int degree;
  std::vector<long long> coefficients;  // multiples of kQuantumAu
};

// The course of `point` over [first, last] on segments of about `segmentDays`, and the worst
// difference from the integration between the nodes (arcseconds).
Piece FitPiece(int point, double first, double last, double segmentDays, int degree,
               double& worst) {
  const int segments = static_cast<int>(std::ceil((last - first) / segmentDays));
  Piece piece{point, first, (last - first) / segments, degree, {}};
  worst = 0.0;
  // From the integrated range outwards, so that the integration extends step by step.
  const bool backwards = last > kMinorIntegratedFirstJd - 1.0 && last < kMinorIntegratedLastJd;
  std::vector<std::vector<long long>> bySegment(static_cast<std::size_t>(segments));
  for (int n = 0; n < segments; ++n) {
    const int s = backwards ? segments - 1 - n : n;
    const double start = first + s * piece.segmentDays;
    std::vector<std::vector<double>> values(3, std::vector<double>(degree + 1));
    for (int k = 0; k <= degree; ++k) {
      const Vector3 p =
          Integrated(point, start + 0.5 * piece.segmentDays * (1.0 + ChebyshevNode(k, degree)));
      values[0][k] = p.x, values[1][k] = p.y, values[2][k] = p.z;
    }
    std::vector<std::vector<double>> c;
    for (const std::vector<double>& v : values) c.push_back(ChebyshevFromNodeValues(v));
    std::vector<long long>& out = bySegment[static_cast<std::size_t>(s)];
    for (std::vector<double>& coordinate : c)
      for (double& value : coordinate) {
        value = std::round(value / kQuantumAu) * kQuantumAu;
        out.push_back(std::llround(value / kQuantumAu));
      }
    for (int i = 0; i < kChecksPerSegment; ++i) {
      const double x = -1.0 + 2.0 * (i + 0.37) / kChecksPerSegment;
      double fitted[3], rate;
      for (int k = 0; k < 3; ++k) ChebyshevSum(c[k].data(), degree, x, fitted[k], rate);
      const Vector3 want = Integrated(point, start + 0.5 * piece.segmentDays * (1.0 + x));
      worst = std::max(worst, (Vector3{fitted[0], fitted[1], fitted[2]} - want).Length() /
                                  want.Length() * kRadToArcsec);
    }
  }
  for (const std::vector<long long>& s : bySegment)
    piece.coefficients.insert(piece.coefficients.end(), s.begin(), s.end());
  return piece;
}

}  // namespace

int main(int argc, char** argv) {
  for (int a = 1; a < argc; ++a) {
    Shape shape{};
    if (std::sscanf(argv[a], "%d:%lf:%d", &shape.point, &shape.segmentDays, &shape.degree) != 3 ||
        shape.segmentDays < 1.0 || shape.degree < 2 || shape.degree > 30) {
      std::fprintf(stderr, "%s: expected POINT:SEGMENT_DAYS:DEGREE\n", argv[a]);
      return 2;
    }
    for (Shape& s : kShapes)
      if (s.point == shape.point) s = shape;
  }
  std::vector<Piece> pieces;
  double worstOfAll = 0.0;
  std::size_t count = 0;
  for (const SourceElements& s : kSourceElements) {
    const Shape* shape = nullptr;
    for (const Shape& k : kShapes)
      if (k.point == s.point) shape = &k;
    if (shape == nullptr) {
      std::fprintf(stderr, "no segment length for point %d\n", s.point);
      return 1;
    }
    const double days = shape->segmentDays;
    const int degree = shape->degree;
    const double sides[2][2] = {{kMinorKnownFirstJd - kPadDays, kMinorIntegratedFirstJd + kPadDays},
                                {kMinorIntegratedLastJd - kPadDays, kMinorKnownEndJd + kPadDays}};
    for (const auto& side : sides) {
      double worst = 0.0;
      pieces.push_back(FitPiece(s.point, side[0], side[1], days, degree, worst));
      count += pieces.back().coefficients.size();
      worstOfAll = std::max(worstOfAll, worst);
      std::printf("point %d from %.1f: %zu segments of %.2f days, degree %d; worst %.5f\"\n",
                  s.point, side[0], pieces.back().coefficients.size() / (3 * (degree + 1)),
                  pieces.back().segmentDays, degree, worst);
    }
  }
  std::printf("%zu coefficients; worst %.5f\"\n", count, worstOfAll);

  std::FILE* out = std::fopen(kOutput, "w");
  if (out == nullptr) {
    std::perror(kOutput);
    return 1;
  }
  std::fprintf(out,
               "// Generated by tools/ephemeris_minor/fit_minor_far.cpp from the integration of "
               "Chiron and the\n// asteroids continued outside the integrated range; worst "
               "difference from it %.4f\". Do not edit.\n"
               "#include <array>\n#include <cstdint>\n#include <vector>\n\n"
               "#include \"astro/ephemeris/minor/minor_elements_data.h\"\n\nnamespace {\n\n"
               "constexpr double kQuantumAu = %g;\n\n",
               worstOfAll, kQuantumAu);
  for (std::size_t p = 0; p < pieces.size(); ++p) {
    const Piece& piece = pieces[p];
    std::fprintf(out,
                 "// Point %d: segments of x, y, z coefficients (degree %d), multiples of "
                 "kQuantumAu.\nconstexpr std::int64_t kPiece%zu[] = {\n",
                 piece.point, piece.degree, p);
    std::string line = "   ";
    for (const long long c : piece.coefficients) {
      const std::string item = " " + std::to_string(c) + ",";
      if (line.size() + item.size() > 100) {
        std::fprintf(out, "%s\n", line.c_str());
        line = "   ";
      }
      line += item;
    }
    std::fprintf(out, "%s\n};\n\n", line.c_str());
  }
  std::fprintf(out,
               "struct Piece {\n  int point;\n  double firstJd, segmentDays;\n  int degree;\n"
               "  const std::int64_t* quanta;\n  std::size_t count;\n};\n\n"
               "constexpr Piece kPieces[] = {\n");
  for (std::size_t p = 0; p < pieces.size(); ++p)
    std::fprintf(out, "    {%d, %.17g, %.17g, %d, kPiece%zu, std::size(kPiece%zu)},\n",
                 pieces[p].point, pieces[p].firstJd, pieces[p].segmentDays, pieces[p].degree, p, p);
  std::fprintf(out,
               "};\n\n"
               "// The coefficients in au, decoded once.\n"
               "struct Decoded {\n"
               "  std::array<std::vector<double>, std::size(kPieces)> coefficients;\n"
               "  std::array<BodyCourse, std::size(kPieces)> courses;\n"
               "  Decoded() {\n"
               "    for (std::size_t p = 0; p < std::size(kPieces); ++p) {\n"
               "      const Piece& piece = kPieces[p];\n"
               "      coefficients[p].reserve(piece.count);\n"
               "      for (std::size_t i = 0; i < piece.count; ++i)\n"
               "        coefficients[p].push_back(static_cast<double>(piece.quanta[i]) * "
               "kQuantumAu);\n"
               "      courses[p] = BodyCourse{piece.point, FittedCourse{piece.firstJd, "
               "piece.segmentDays,\n"
               "                                                        piece.degree, "
               "coefficients[p]}};\n"
               "    }\n"
               "  }\n"
               "};\n\n"
               "}  // namespace\n\n"
               "std::span<const BodyCourse> MinorFarCourses() {\n"
               "  static const Decoded decoded;\n"
               "  return decoded.courses;\n"
               "}\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
