// Lists the moments at which a body reaches an aspect to a fixed ecliptic longitude, with the
// program's own transit search, so that its results can be checked against any other source.
//
// Usage: transit_eval [--pairs] [--ephemeris FILE]   (default: data/velm.str of the source tree)
// Input (standard input), one question per line, tab-separated:
//   jd_ut  body  target_longitude  aspect_angle  days
// (body: chart point 0..33; longitude and angle in degrees; the period runs from jd_ut for
// `days` days). Output: for each question, the line as read, a tab, then the Julian day (UT) of
// every moment within the period at which the body's longitude equals target + angle or
// target - angle, tab-separated in time order (nothing after the tab when there is none).
// Points 30..33 have no position without a place: their answer is empty. A line that cannot be
// read is reported on standard error with its number and skipped; the exit status is then 1.
// Blank lines and lines starting with '#' are skipped. The nodes and the Black Moon are the true
// (osculating) ones.
// With --pairs the questions are about two moving bodies, one per line:
//   jd_ut  body  other_body  angle  days
// (bodies 0, 2..10, 18, 21: the moving bodies of the transit list but the Moon) and the answer
// lists every moment the program's moving-pair search lists within the period at which the
// body's longitude minus the other's equals the angle modulo 360, as the transit list would.
// Details: docs/transit_eval.md.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "astro/ephemeris/ephemeris.h"
#include "forecast/core/transit_calculation.h"
#include "forecast/core/transit_dispatch.h"
#include "foundation/text/tab_fields.h"

namespace {

constexpr int kLastPoint = 33;

struct Question {
  double jdUt = 0.0;
  int body = 0;
  double targetDeg = 0.0;
  double angleDeg = 0.0;
  double days = 0.0;
};

// A moving-pair question: the body, the other body and the angle of the body past the other.
struct PairQuestion {
  double jdUt = 0.0;
  int body = 0;
  int other = 0;
  double angleDeg = 0.0;
  double days = 0.0;
};

bool Read(std::string_view line, Question& q, std::string& why) {
  const std::vector<std::string_view> f = SplitTabs(line);
  if (f.size() != 5) {
    why = "expected 5 tab-separated fields";
    return false;
  }
  if (!ParseField(f[0], q.jdUt) || !ParseField(f[1], q.body) || !ParseField(f[2], q.targetDeg) ||
      !ParseField(f[3], q.angleDeg) || !ParseField(f[4], q.days)) {
    why = "a field is not a number";
    return false;
  }
  if (!std::isfinite(q.jdUt) || !std::isfinite(q.targetDeg) || !std::isfinite(q.angleDeg) ||
      !std::isfinite(q.days)) {
    why = "a number is not finite";
    return false;
  }
  if (q.body < 0 || q.body > kLastPoint) {
    why = "body outside 0.." + std::to_string(kLastPoint);
    return false;
  }
  if (q.days < 0.0) {
    why = "negative period";
    return false;
  }
  return true;
}

bool IsPairBody(int body) { return IsTransitBody(body) && body != 1; }

bool ReadPair(std::string_view line, PairQuestion& q, std::string& why) {
  const std::vector<std::string_view> f = SplitTabs(line);
  if (f.size() != 5) {
    why = "expected 5 tab-separated fields";
    return false;
  }
  if (!ParseField(f[0], q.jdUt) || !ParseField(f[1], q.body) || !ParseField(f[2], q.other) ||
      !ParseField(f[3], q.angleDeg) || !ParseField(f[4], q.days)) {
    why = "a field is not a number";
    return false;
  }
  if (!std::isfinite(q.jdUt) || !std::isfinite(q.angleDeg) || !std::isfinite(q.days)) {
    why = "a number is not finite";
    return false;
  }
  if (!IsPairBody(q.body) || !IsPairBody(q.other)) {
    why = "a body is not one of 0, 2..10, 18, 21";
    return false;
  }
  if (q.body == q.other) {
    why = "the two bodies are the same";
    return false;
  }
  if (q.days < 0.0) {
    why = "negative period";
    return false;
  }
  return true;
}

void PrintAnswer(const std::string& line, const std::vector<JdUt>& moments) {
  std::printf("%s\t", line.c_str());
  for (std::size_t i = 0; i < moments.size(); ++i)
    std::printf(i == 0 ? "%.7f" : "\t%.7f", moments[i].days);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string file = VELM_DEFAULT_EPHEMERIS;
  bool pairs = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--ephemeris" && i + 1 < argc) {
      file = argv[++i];
    } else if (arg == "--pairs") {
      pairs = true;
    } else {
      std::fprintf(stderr, "usage: transit_eval [--pairs] [--ephemeris FILE] < questions\n");
      return 2;
    }
  }
  Ephemeris ephemeris;
  if (const Status st = ephemeris.Load(file); !st.ok()) {
    std::fprintf(stderr, "%s: cannot read the ephemeris tables (error %d)\n", file.c_str(),
                 st.ErrorCode());
    return 2;
  }

  if (pairs) {
    return ForEachTabRow(std::cin, std::cerr, [&ephemeris](const std::string& line) {
      PairQuestion q;
      std::string why;
      if (!ReadPair(line, q, why)) return why;
      PrintAnswer(line, MovingPairTransitMoments(ephemeris, LunarVariant::True, q.body, q.other,
                                                 q.angleDeg, JdUt{q.jdUt}, JdUt{q.jdUt + q.days}));
      return std::string();
    });
  }
  return ForEachTabRow(std::cin, std::cerr, [&ephemeris](const std::string& line) {
    Question q;
    std::string why;
    if (!Read(line, q, why)) return why;
    PrintAnswer(line, FixedTargetTransitMoments(ephemeris, LunarVariant::True, q.body, q.targetDeg,
                                                q.angleDeg, JdUt{q.jdUt}, JdUt{q.jdUt + q.days}));
    return std::string();
  });
}
