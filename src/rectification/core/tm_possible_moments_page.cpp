#include "rectification/core/tm_possible_moments_page.h"

#include <algorithm>
#include <cstdio>

#include "foundation/drawing/palette.h"
#include "platform/core/dc.h"

int TmPossibilityColour(int p) {
  if (p == 100) return 4;
  if (p >= 98 && p <= 99) return 5;
  if (p >= 95 && p <= 97) return 1;
  if (p >= 90 && p <= 94) return 3;
  if (p >= 85 && p <= 89) return 2;
  return 8;
}

std::string TmTimeOfDayText(const Moment& moment) {
  const int s = moment.time.SecondsOfDay();
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
  return text;
}

TmPossibleMomentsPage::TmPossibleMomentsPage(const TmSearch& search)
    : minimum_(search.MinimumPossibility()) {
  for (const TmPossibleInterval& interval : search.Moments().intervals) {
    TmIntervalRow row;
    row.first = TmTimeOfDayText(search.LocalMoment(interval.first));
    row.last = TmTimeOfDayText(search.LocalMoment(interval.last));
    row.possibility = std::to_string(interval.possibility);
    row.colour = TmPossibilityColour(interval.possibility);
    rows_.push_back(std::move(row));
  }
}

bool TmPossibleMomentsPage::SetMinimumPossibility(int value) {
  if (value < kTmMinPossibilityLow || value > kTmMinPossibilityHigh) return false;
  minimum_ = value;
  return true;
}

void DrawTmIntervalRow(platform::Dc& dc, const platform::Rect& item, const TmIntervalRow& row,
                       bool selected, platform::Color background) {
  dc.FillRect(item, selected ? ColorByIndex(kTmSelectedFill) : background);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(ColorByIndex(row.colour));
  // One unit: 1 when "00:00:00" fits in 46 of them, else wider in proportion.
  const int width = dc.GetTextExtent("00:00:00").cx;
  const auto at = [&](int units) { return item.left + std::max(units, units * width / 46); };
  dc.TextOut(at(0), item.top, row.first);
  dc.TextOut(at(50), item.top, "-");
  dc.TextOut(at(60), item.top, row.last);
  dc.TextOut(at(120), item.top, row.possibility);
}
