// The year forecast by the Tremin method: for one year, how strongly each life event of the
// method's list is indicated by the native's progressed and directed charts (and, beside them,
// the life point) on 1 January, 1 June and 31 December, on a scale of 0 to 100. The settings
// block of the forecast, the choice of the events, their rows and the order of the rows.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "foundation/status.h"
#include "rectification/core/life_event.h"
#include "rectification/core/tremin_rect.h"

class ChartContext;
class Configuration;
class LifeEventList;

namespace platform {
class ProgressSink;
}

// The forecast settings block.
struct TmForecastSettings {
  static constexpr int kYearMin = -3000, kYearMax = 3000;
  static constexpr int kFontMin = 100, kFontMax = 10000;
  static constexpr int kDefaultYear = 2000;

  int mode = 0;             // 0 the year forecast, 1 one event over a period (kept only)
  int year = kDefaultYear;  // negative before Christ, never 0
  int periodFrom = kDefaultYear;
  int periodTo = kDefaultYear;
  int fontSize = 2500;  // tenths of a point
  int order = 0;        // 0 the list's order, 1 by the text, 2 by probability
  std::string applying;
  std::string separating;
  bool sortByDate = false;
  bool sortByText = false;
  std::string event;  // mode 1's event, at most 49 characters
  bool fillWhenPrinting = true;

  friend bool operator==(const TmForecastSettings&, const TmForecastSettings&) = default;
};

// The block's values, each brought into its range (a year of 0 or out of range is the default
// year, a choice out of range its first value); the mode always reads 0, the year forecast.
TmForecastSettings ReadTmForecastSettings(const Configuration& config);
void WriteTmForecastSettings(Configuration& config, const TmForecastSettings& settings);

// Whether an event is forecast: it is in use, and its text upper-cased does not name the birth
// (message 1038) together with the father (1039) or the mother (1040).
bool IsTmForecastEvent(const LifeEvent& event);

// One row of the forecast: the event's text, its probability on each of the three dates, and for
// each date its progression, direction and life-point scores.
struct TmForecastRow {
  std::string text;
  std::array<double, 3> total{};
  std::array<std::array<double, 3>, 3> parts{};
};

// The key of the order by text: -(40000 k1 + 200 k2 + k3), k the positions of the first three
// characters, upper-cased, in the alphabet of life events (a missing character, like a character
// the alphabet lacks, at its end). Rows ordered by descending key stand by ascending text.
double TmTextOrderKey(std::string_view text);
// The display order of `rows` for order 0 (as they are), 1 (by TmTextOrderKey) or 2 (by the
// largest of the three totals, descending); equal keys keep their order.
std::vector<int> TmForecastOrder(const std::vector<TmForecastRow>& rows, int order);

// The three dates of the year: 1 January, 1 June and 31 December at 00:00 (a negative year
// before Christ).
std::array<Moment, 3> TmForecastDates(int year);
// The year a forecast dialog opens with: for a chart moved to another date (transit, progressed,
// directed and return charts) the year of that date, negative before Christ; else `blockYear`.
int TmForecastYearOf(const Chart& chart, int blockYear);

// The forecast of one year (the computation of the forecast view).
class TmYearForecast {
 public:
  // Takes copies of the two aspect systems of `settings` from `ctx`: message 59 naming a system
  // that is not loaded.
  Status Prepare(const ChartContext& ctx, const TmForecastSettings& settings);
  // The natal chart of the forecast: the base birth data of `document`, kind 0, computed with
  // houses; the year of the forecast. Message 777 for year 0, 776 outside 3000 BC .. 3000 AD.
  Status SetNatAndYear(const ChartContext& ctx, const Chart& document, int year);
  // The rows of the events to forecast (display order of `events`) and their display order.
  // Message 1933 when no event is to be forecast (nothing computed). When a date of the year lies
  // before the birth the life point has no score there; `warnings` then holds message 1003,
  // once. Cancel of the progress gives message 1980 and no rows.
  Status CalculateYear(const ChartContext& ctx, const LifeEventList& events, int order,
                       platform::ProgressSink& progress, std::vector<Status>& warnings);
  // The row of one event.
  TmForecastRow CalculateEvent(const ChartContext& ctx, const LifeEvent& event);

  int Year() const { return year_; }
  const Chart& Natal() const { return natal_; }
  const std::vector<TmForecastRow>& Rows() const { return rows_; }
  // Row numbers in display order.
  const std::vector<int>& Order() const { return order_; }

 private:
  AspectSystem applying_, separating_;
  std::unique_ptr<TmRect> rect_;
  Chart natal_;
  int year_ = TmForecastSettings::kDefaultYear;
  std::vector<TmForecastRow> rows_;
  std::vector<int> order_;
};
