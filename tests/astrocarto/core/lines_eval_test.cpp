// The lines evaluation tool run as a process, against the reference sidereal time and obliquity:
// its MC lines, worked out here independently, agree to 0.1', and at the latitude it gives for a
// horizon line the point stands on the horizon to 0.1'.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr double kRad = M_PI / 180.0;
constexpr double kTenthOfAMinute = 0.1 / 60.0;

struct Instant {
  double jdUt, siderealDeg, obliquityDeg;
};

// The instants of the reference from 1600 to 2400: its UT, apparent sidereal time and true
// obliquity. (Farther out the sidereal time models of the reference and of the program part, as
// the square of the time from 2000: 6' at 50 BC.)
std::vector<Instant> ReferenceInstants() {
  std::vector<Instant> instants;
  std::ifstream in(testing_support::ReferencePath("instants.tsv"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string idx, set, date, time, calendar;
    double jdUt = 0, jdTt = 0, deltaT = 0, gast = 0, eps = 0;
    fields >> idx >> set >> jdUt >> jdTt >> deltaT >> date >> time >> calendar >> gast >> eps;
    if (std::fabs(jdUt - 2451545.0) < 400 * 365.25) instants.push_back({jdUt, gast * 15.0, eps});
  }
  return instants;
}

struct Question {
  Instant when;
  double lambda, beta, east;
};

// The meridian where the ecliptic degree culminates: right ascension less sidereal time.
double ExpectedMc(const Question& q) {
  const double l = q.lambda * kRad, e = q.when.obliquityDeg * kRad;
  const double ra = std::atan2(std::sin(l) * std::cos(e), std::cos(l)) / kRad;
  return std::remainder(ra - q.when.siderealDeg, 360.0);
}

// The point's hour angle and declination at `east`, radians.
void HourAngleAndDeclination(const Question& q, double& h, double& dec) {
  const double l = q.lambda * kRad, b = q.beta * kRad, e = q.when.obliquityDeg * kRad;
  const double ra = std::atan2(std::sin(l) * std::cos(e) - std::tan(b) * std::sin(e), std::cos(l));
  dec = std::asin(std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l));
  h = (q.when.siderealDeg + q.east) * kRad - ra;
}

// The latitude where the point (with its ecliptic latitude) is on the horizon at `east`:
// tan latitude = -cos H / tan declination.
double ExpectedHorizon(const Question& q) {
  double h = 0.0, dec = 0.0;
  HourAngleAndDeclination(q, h, dec);
  return std::atan(-std::cos(h) / std::tan(dec)) / kRad;
}

// The point's altitude at `east` and `latitude`, degrees.
double Altitude(const Question& q, double latitude) {
  double h = 0.0, dec = 0.0;
  HourAngleAndDeclination(q, h, dec);
  const double f = latitude * kRad;
  return std::asin(std::sin(f) * std::sin(dec) + std::cos(f) * std::cos(dec) * std::cos(h)) / kRad;
}

struct ToolRun {
  int status;
  std::vector<std::string> lines;
  std::string errors;
};

ToolRun RunTool(const std::string& input) {
  TempFolder folder;
  WriteFile(folder / "in.tsv", input);
  auto quoted = [](const std::filesystem::path& p) { return "'" + p.string() + "'"; };
  const std::string command = quoted(VELM_LINES_EVAL) + " < " + quoted(folder / "in.tsv") + " > " +
                              quoted(folder / "out.tsv") + " 2> " + quoted(folder / "err.txt");
  const int status = std::system(command.c_str());
  ToolRun run{WEXITSTATUS(status), {}, ReadFile(folder / "err.txt")};
  std::istringstream out(ReadFile(folder / "out.tsv"));
  for (std::string line; std::getline(out, line);) run.lines.push_back(line);
  return run;
}

TEST(LinesEval, MeridianAndHorizonLinesAgreeWithTheReferenceToATenthOfAMinute) {
  std::vector<Question> questions;
  const double degrees[] = {0.5, 45.0, 100.25, 181.0, 266.6, 333.3};
  const double latitudes[] = {0.0, 5.1, -4.3, 0.0, 1.7, -0.2};
  const double places[] = {-179.5, -71.2, 0.0, 37.6, 120.0, 180.0};
  for (const Instant& when : ReferenceInstants())
    for (int k = 0; k < 6; ++k)
      questions.push_back({when, degrees[k], latitudes[k], places[(k + questions.size()) % 6]});
  ASSERT_GT(questions.size(), 300u);
  std::string input = "# jd_ut\tlongitude\tlatitude\teast\n\n";
  char row[128];
  for (const Question& q : questions) {
    std::snprintf(row, sizeof row, "%.9f\t%.9f\t%.9f\t%.9f\n", q.when.jdUt, q.lambda, q.beta,
                  q.east);
    input += row;
  }
  const ToolRun run = RunTool(input);
  ASSERT_EQ(run.status, 0) << run.errors;
  ASSERT_EQ(run.lines.size(), questions.size());
  double worstMc = 0.0, worstHorizon = 0.0;
  int compared = 0;
  for (std::size_t i = 0; i < questions.size(); ++i) {
    const Question& q = questions[i];
    std::istringstream fields(run.lines[i]);
    double mc = 0.0;
    std::string latitude;
    ASSERT_TRUE(fields >> mc >> latitude) << run.lines[i];
    EXPECT_GE(mc, -180.0);
    EXPECT_LE(mc, 180.0);
    worstMc = std::max(worstMc, std::fabs(std::remainder(mc - ExpectedMc(q), 360.0)));
    const double expected = ExpectedHorizon(q);
    if (std::fabs(expected) > 89.0 - kTenthOfAMinute &&
        std::fabs(expected) < 89.0 + kTenthOfAMinute)
      continue;  // on the edge of the answered range
    if (std::fabs(expected) > 89.0) {
      EXPECT_EQ(latitude, "-") << run.lines[i];
      continue;
    }
    ASSERT_NE(latitude, "-") << run.lines[i];
    worstHorizon = std::max(worstHorizon, std::fabs(Altitude(q, std::stod(latitude))));
    ++compared;
  }
  EXPECT_LE(worstMc, kTenthOfAMinute);
  EXPECT_LE(worstHorizon, kTenthOfAMinute);
  EXPECT_GT(compared, 300);
}

TEST(LinesEval, BadLinesAreReportedAndGetNoAnswer) {
  // The equinox degree on the ecliptic lies on the celestial equator: its horizon line runs
  // through the poles, beyond 89 degrees everywhere but at one meridian.
  const ToolRun run = RunTool(
      "2451545.0\t0\t0\t-100\n"
      "2451545.0\t10\t0\n"
      "2451545.0\tten\t0\t0\n"
      "2451545.0\t10\t91\t0\n"
      "2451545.0\t10\t0\t181\n"
      "2451545.0\t280.368918699\t0.000227411\t0\r\n");
  EXPECT_EQ(run.status, 1);
  ASSERT_EQ(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0].substr(run.lines[0].find('\t')), "\t-");
  // The Sun of 2000-01-01 12:00 UT: its degree culminates at 0.821332 E.
  EXPECT_EQ(run.lines[1].substr(0, run.lines[1].find('\t')), "0.821332");
  for (const char* number : {"line 2:", "line 3:", "line 4:", "line 5:"})
    EXPECT_NE(run.errors.find(number), std::string::npos) << number;
}

}  // namespace
