#include "rectification/core/tremin_forecast.h"

#include <algorithm>
#include <numeric>

#include "astro/chart/chart_context.h"
#include "astro/lifepoint/life_point.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/errors/error_report.h"
#include "foundation/lists/sort_positions.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/collation.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_matrix.h"
#include "rectification/core/tremin_search.h"

namespace {

using Block = cfg::TreminForecast;
using F = TmForecastSettings;
using cfg::Bind;

int YearInRange(int year) {
  return year != 0 && year >= F::kYearMin && year <= F::kYearMax ? year : F::kDefaultYear;
}

// A year of 0 or out of range is the default year, each way.
struct Year {
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    member = YearInRange(stored);
  }
  template <typename V, typename M>
  V Write(const M& member) const {
    return static_cast<V>(YearInRange(member));
  }
};

// Mode 1 (one event over a period) has no view and its choice is hidden: a stored 1 would leave
// the year disabled and OK refused about the hidden event, so the mode is written but never read.
struct WrittenOnly : cfg::AsIs {
  template <typename V, typename M>
  void Read(V, M&) const {}
};

constexpr cfg::FieldTable kFields{
    Bind(&F::mode, Block::kMode, WrittenOnly{}),
    Bind(&F::year, Block::kYear, Year{}),
    Bind(&F::periodFrom, Block::kPeriodFrom, Year{}),
    Bind(&F::periodTo, Block::kPeriodTo, Year{}),
    Bind(&F::fontSize, Block::kFontSize, cfg::ClampBoth{F::kFontMin, F::kFontMax}),
    Bind(&F::order, Block::kOrder, cfg::InRange{0, 2}),
    Bind(&F::applying, Block::kApplyingSystem),
    Bind(&F::separating, Block::kSeparatingSystem),
    Bind(&F::sortByDate, Block::kSortByDate, cfg::OnlyOne{}),
    Bind(&F::sortByText, Block::kSortByText, cfg::OnlyOne{}),
    Bind(&F::event, Block::kEvent),
    Bind(&F::fillWhenPrinting, Block::kFillWhenPrinting)};

bool Contains(const std::string& text, int message) {
  return text.find(GetMessageText(message)) != std::string::npos;
}

Moment DateAt(int day, int month, int year) {
  Moment m;
  (void)m.date.SetDate(day, month, year < 0 ? -year : year, year < 0 ? 'B' : 'A');
  return m;
}

}  // namespace

TmForecastSettings ReadTmForecastSettings(const Configuration& config) {
  TmForecastSettings s;
  kFields.Read(config.treminForecast, s);
  s.sortByText = s.sortByText && !s.sortByDate;
  return s;
}

void WriteTmForecastSettings(Configuration& config, const TmForecastSettings& s) {
  kFields.Write(s, config.treminForecast);
}

bool IsTmForecastEvent(const LifeEvent& event) {
  if (!event.InUse()) return false;
  std::string text = event.text;
  StringToUpper(text);
  return !(Contains(text, kMsgForecastBirth) &&
           (Contains(text, kMsgForecastFather) || Contains(text, kMsgForecastMother)));
}

double TmTextOrderKey(std::string_view text) {
  const std::size_t length = std::min(text.find('\0'), text.size());
  std::array<double, 3> k{};
  for (std::size_t i = 0; i < k.size(); ++i)
    k[i] = i < length ? CollationPosition(CharToUpper(text[i]), Collation::kCyrillicFirst)
                      : CollationLength(Collation::kCyrillicFirst);
  return -(40000.0 * k[0] + 200.0 * k[1] + k[2]);
}

std::vector<int> TmForecastOrder(const std::vector<TmForecastRow>& rows, int order) {
  std::vector<int> index(rows.size());
  std::iota(index.begin(), index.end(), 0);
  if (order != 1 && order != 2) return index;
  std::vector<double> keys;
  keys.reserve(rows.size());
  for (const TmForecastRow& r : rows)
    keys.push_back(order == 1 ? TmTextOrderKey(r.text)
                              : *std::max_element(r.total.begin(), r.total.end()));
  SortPositions(keys, index, 'D');
  return index;
}

std::array<Moment, 3> TmForecastDates(int year) {
  return {DateAt(1, 1, year), DateAt(1, 6, year), DateAt(31, 12, year)};
}

int TmForecastYearOf(const Chart& chart, int blockYear) {
  switch (chart.definition.Kind()) {
    case kChartTransit:
    case kChartProgressed:
    case kChartDirected:
    case kChartReturn: {
      const FDate& date = chart.definition.sources[1].moment.date;
      return date.Era() == 'B' ? -date.Year() : date.Year();
    }
    default:
      return blockYear;
  }
}

// --- TmYearForecast ---

Status TmYearForecast::Prepare(const ChartContext& ctx, const TmForecastSettings& settings) {
  rect_.reset();
  for (const std::string* name : {&settings.separating, &settings.applying})
    if (ctx.FindSystem(*name) == nullptr) return Status::Message(kMsgAspectSystemNotFound, *name);
  applying_ = *ctx.FindSystem(settings.applying);
  separating_ = *ctx.FindSystem(settings.separating);
  // The forecast counts no Proserpina: her slots of the ruler table stay empty.
  rect_ = std::make_unique<TmRect>(&applying_, &separating_);
  rect_->FillRulers(0);
  return Status::Ok();
}

Status TmYearForecast::SetNatAndYear(const ChartContext& ctx, const Chart& document, int year) {
  if (const int fault = DateFault(1, 1, year, year < 0 ? 'B' : 'A', true); fault != 0)
    return Status::Message(fault, "CPrTreminView::SetNatAndYear");
  Chart natal;
  const Source* base = document.definition.GetBaseSource();
  natal.definition.sources[0] = base != nullptr ? *base : document.definition.GetCountSrc();
  natal.definition.SetKind(kChartNatal);
  natal.houseSystem = document.houseSystem;
  if (Status st = natal.CalculateMainBodies(ctx, 1); !st.ok()) return st;
  natal_ = std::move(natal);
  year_ = year;
  return Status::Ok();
}

TmForecastRow TmYearForecast::CalculateEvent(const ChartContext& ctx, const LifeEvent& event) {
  TmForecastRow row;
  row.text = event.text;
  if (!rect_) return row;
  const std::array<Moment, 3> dates = TmForecastDates(year_);
  for (std::size_t d = 0; d < dates.size(); ++d)
    row.total[d] = rect_->ForecastEvent(ctx, natal_, dates[d], event, row.parts[d][0],
                                        row.parts[d][1], row.parts[d][2]);
  return row;
}

Status TmYearForecast::CalculateYear(const ChartContext& ctx, const LifeEventList& events,
                                     int order, platform::ProgressSink& progress,
                                     std::vector<Status>& warnings) {
  rows_.clear();
  order_.clear();
  warnings.clear();
  if (!rect_) return Status::Error(kErrParameter, "CPrTreminView::CalculateYear");
  std::vector<const LifeEvent*> chosen;
  for (int k = 0; k < events.Count(); ++k)
    if (const LifeEvent* e = events.AtDisplay(k); IsTmForecastEvent(*e)) chosen.push_back(e);
  if (chosen.empty()) return Status::Message(kMsgNoForecastEvent, "CPrTreminView::CalculateYear");

  const double birth = natal_.definition.GetCountSrc().moment.JulianDay();
  if (birth > TmForecastDates(year_)[0].JulianDay())
    warnings.push_back(Status::Message(kMsgLifePointBirthLater, "CPrTreminView::CalculateYear"));

  progress.Begin();
  std::vector<TmForecastRow> rows;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    rows.push_back(CalculateEvent(ctx, *chosen[i]));
    progress.SetPos(static_cast<int>((i + 1) * 100 / chosen.size()));
    if (progress.Cancelled()) {
      progress.End();
      return Status::Message(kMsgRectificationCancelled, "CPrTreminView::CalculateYear");
    }
  }
  progress.End();
  rows_ = std::move(rows);
  order_ = TmForecastOrder(rows_, order);
  return Status::Ok();
}
