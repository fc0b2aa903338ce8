// Writes src/astro/ephemeris/minor/minor_far_courses_data.cpp: the courses of Chiron and the
// asteroids (points 10..15) outside the integrated range, over the years in which their places are
// known (MinorBodyKnownSpan): for each body and each side of the range, Chebyshev series in x, y
// and z on segments of equal length interpolating its integration continued there
// (MinorBodyIntegrated: the same start, forces, integrator and steps as inside the range, so the
// courses join the integration; Chiron before the range passes to its own integration, with the
// inner planets sampled more densely) at the Chebyshev nodes of each segment. Each side reaches a
// few days past the known years and into the integrated range, for the light-time and the joins.
// The coefficients are written as whole multiples of kQuantumAu, which moves a body by less than
// 0.01", as text of 6 bits a character (DecodeCourseQuanta, which the program decodes them with).
// Prints, per body and side, the worst difference from the integration (as seen from the Sun,
// arcseconds) at points between the nodes. Run from the repository root (about half a minute):
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

// The coefficients as text (DecodeCourseQuanta, minor_elements_data.h), in lines of this many
// characters.
constexpr std::size_t kLineChars = 92;
unsigned long long Zigzag(long long n) {
  return n < 0 ? 2 * static_cast<unsigned long long>(-(n + 1)) + 1
               : 2 * static_cast<unsigned long long>(n);
}
// The widths of coefficients 0..degree: the characters the largest of each takes.
std::string Widths(const std::vector<long long>& numbers, int degree) {
  std::string widths(static_cast<std::size_t>(degree + 1), '1');
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    char& w = widths[i % widths.size()];
    for (unsigned long long u = Zigzag(numbers[i]) >> (6 * (w - '0')); u != 0; u >>= 6) ++w;
  }
  return widths;
}
std::string Encode(const std::vector<long long>& numbers, const std::string& widths) {
  std::string text;
  for (std::size_t i = 0; i < numbers.size(); ++i)
    for (int digit = widths[i % widths.size()] - '0' - 1; digit >= 0; --digit)
      text += kCourseDigits[(Zigzag(numbers[i]) >> (6 * digit)) & 63];
  return text;
}

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
    double knownFirst = 0.0, knownEnd = 0.0;
    MinorBodyKnownSpan(s.point, knownFirst, knownEnd);
    const double sides[2][2] = {{knownFirst - kPadDays, kMinorIntegratedFirstJd + kPadDays},
                                {kMinorIntegratedLastJd - kPadDays, knownEnd + kPadDays}};
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
               "// The coefficients are text as DecodeCourseQuanta reads it "
               "(minor_elements_data.h).\n"
               "#include \"astro/ephemeris/minor/minor_elements_data.h\"\n\n"
               "const double kFarCourseQuantumAu = %g;\n\n"
               "const StoredCourse kStoredFarCourses[] = {\n",
               worstOfAll, kQuantumAu);
  for (const Piece& piece : pieces) {
    const std::string widths = Widths(piece.coefficients, piece.degree);
    std::fprintf(out, "    {%d, %.17g, %.17g, %d, %zu, \"%s\",\n", piece.point, piece.firstJd,
                 piece.segmentDays, piece.degree, piece.coefficients.size(), widths.c_str());
    const std::string text = Encode(piece.coefficients, widths);
    for (std::size_t i = 0; i < text.size(); i += kLineChars)
      std::fprintf(out, "     \"%s\"%s\n", text.substr(i, kLineChars).c_str(),
                   i + kLineChars < text.size() ? "" : "},");
  }
  std::fprintf(out,
               "};\n\nconst std::size_t kStoredFarCourseCount = std::size(kStoredFarCourses);\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
