#include "hermes_answer.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/text/tab_fields.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/hermes_trutine.h"
#include "rectification/core/morav_number.h"

namespace {

constexpr char kRefused[] = "-";

std::vector<std::string_view> SplitBlanks(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// A signed coordinate in degrees to the whole arc-minutes a place holds; false when out of range.
bool SetPlace(Place& place, double lat, double lon) {
  const long latMin = std::lround(std::fabs(lat) * 60.0);
  const long lonMin = std::lround(std::fabs(lon) * 60.0);
  return place
      .SetPlace(static_cast<int>(latMin / 60), static_cast<int>(latMin % 60), lat < 0.0 ? 'S' : 'N',
                static_cast<int>(lonMin / 60), static_cast<int>(lonMin % 60), lon < 0.0 ? 'W' : 'E',
                "", "")
      .ok();
}

// A moment of Universal Time as a row of the input dialog, to the nearest minute as its rows hold
// it; false when it is no date the program holds.
bool RowOf(double jd, HermesRow& row) {
  Source s;
  if (!s.SetUniversalTime(std::round(jd * 1440.0) / 1440.0).ok()) return false;
  row = HermesRow::FromMoment(s.moment);
  return true;
}

}  // namespace

std::string HermesAnswer(const ChartContext& ctx, std::string_view line, std::string& why) {
  const std::vector<std::string_view> f = SplitBlanks(line);
  if (f.size() != 6) {
    why = "expected 6 fields";
    return kRefused;
  }
  double jd = 0.0, lat = 0.0, lon = 0.0, from = 0.0, to = 0.0;
  int months = 0;
  if (!ParseField(f[0], jd) || !ParseField(f[1], lat) || !ParseField(f[2], lon) ||
      !ParseField(f[3], from) || !ParseField(f[4], to) || !ParseField(f[5], months)) {
    why = "a field is not a number (the months a whole number)";
    return kRefused;
  }
  if (!std::isfinite(jd) || !std::isfinite(from) || !std::isfinite(to)) {
    why = "a Julian day is not finite";
    return kRefused;
  }
  if (!(lat >= -90.0 && lat <= 90.0) || !(lon >= -180.0 && lon <= 180.0)) {
    why = "latitude outside -90..90 or longitude outside -180..180";
    return kRefused;
  }
  if (months < 7 || months > 10) {
    why = "months outside 7..10";
    return kRefused;
  }

  // The chart: natal, on Universal Time, with the default settings of `ctx`.
  Chart chart;
  Source& source = chart.definition.sources[0];
  if (!SetPlace(source.place, lat, lon)) {
    why = "the place cannot be held";
    return kRefused;
  }
  if (!source.SetUniversalTime(jd).ok() || !ChartCalculate(ctx, chart, 0).ok()) {
    why = "the chart's moment cannot be computed";
    return kRefused;
  }

  HermesInput input = HermesInput::FromChart(chart);
  input.pregnancyIndex = months - 7;
  if (!RowOf(from, input.from) || !RowOf(to, input.to)) {
    why = "the interval is no date the program holds";
    return kRefused;
  }
  if (const int message = input.Check(chart); message != 0) {
    why = "refused with message " + std::to_string(message);
    return kRefused;
  }
  HermesTrutine trutine;
  (void)trutine.Prepare(chart, input);
  platform::NullProgress progress;
  // No variant (the angle cannot be found at polar latitudes) is an empty list, as the dialog's
  // message 91 says.
  (void)trutine.Search(ctx, progress);

  char text[64];
  std::snprintf(text, sizeof text, "%.6f\t%d\t", MoravNumber(chart), trutine.Selector());
  std::string answer = text;
  for (int i = 0; i < trutine.VariantCount(); ++i) {
    const HermesVariant& v = trutine.Variants()[static_cast<std::size_t>(i)];
    std::snprintf(text, sizeof text, "%s%.6f:%.6f", i == 0 ? "" : " ", v.birth.JulianDay(),
                  v.conception.JulianDay());
    answer += text;
  }
  return answer;
}
