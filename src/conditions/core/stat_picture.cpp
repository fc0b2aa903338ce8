#include "conditions/core/stat_picture.h"

#include <algorithm>
#include <cstdio>

#include "astro/aspects/aspect.h"
#include "astro/aspects/aspect_system.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

using platform::Point;
using platform::Rect;
using platform::Size;

constexpr int kBarColour = 54;
// Font sizes never grow past these ems (0.01 mm): a wide window gets no giant labels.
constexpr int kMaxLabelEm = 600, kMaxCountEm = 420, kMaxSummaryEm = 420, kMinEm = 60;

// Tenths of a point of a font whose em is `em` logical units (em = size x 96 / 720).
int PointSizeOfEm(double em) {
  return std::max(1, static_cast<int>(std::clamp(em, 1.0, 1e6) * 720.0 / 96.0));
}

int Digits(int n) {
  int digits = 1;
  for (; n >= 10; n /= 10) ++digits;
  return digits;
}

int LargestCount(const StatResults& results) {
  int largest = 0;
  for (const std::int32_t count : results.counts) largest = std::max(largest, count);
  return largest;
}

}  // namespace

StatGrid StatGridOf(int kind, const StatResults& results) {
  const int buckets = results.BucketCount();
  if (buckets <= 0) return {};
  if (kind == kStatPointSignHouse && buckets == 144) return {6, 24};
  if (kind == kStatAspectCount || kind == kStatPlanetsInPlace) {
    int last = 0;
    for (int b = 0; b < buckets; ++b)
      if (results.counts[static_cast<std::size_t>(b)] > 0) last = b;
    return {1, last + 1};
  }
  return {1, buckets};
}

std::vector<std::string> StatSummaryLines(int kind, const StatResults& results, int cells) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "%s %d.", GetMessageText(kMsgStatTotal).c_str(),
                results.total);
  std::string first = buffer;
  if (kind == kStatAspect) {
    std::snprintf(buffer, sizeof buffer, "%s  %s %d %s", first.c_str(),
                  GetMessageText(kMsgStatNotFoundIn).c_str(), results.notFound,
                  GetMessageText(kMsgStatCharts).c_str());
    first = buffer;
  }
  cells = std::clamp(cells, 0, results.BucketCount());
  int smallest = 100000, largest = 0;
  long long sum = 0;
  for (int b = 0; b < cells; ++b) {
    const int count = results.counts[static_cast<std::size_t>(b)];
    smallest = std::min(smallest, count);
    largest = std::max(largest, count);
    sum += count;
  }
  if (cells == 0) smallest = 0;
  const double mean = cells > 0 ? static_cast<double>(sum) / cells : 0.0;
  std::snprintf(buffer, sizeof buffer, "%s -  %d /%6.2f / %d",
                GetMessageText(kMsgStatMinMeanMax).c_str(), smallest, mean, largest);
  return {first, buffer};
}

void StatPicture::SetMargins(const cfg::StatisticsRecord& settings, const StatResults& results,
                             Size size, Point origin) {
  settings_ = settings;
  grid_ = StatGridOf(settings.kind, results);
  bars_.clear();
  if (grid_.Cells() == 0) return;
  const int width = std::max(size.cx, 1), height = std::max(size.cy, 1);
  const int left = origin.x + width * 3 / 100, right = origin.x + width - width * 3 / 100;
  const int top = origin.y - height / 10, bottom = origin.y - height + height * 3 / 100;

  // The summary's two lines at the foot, the rows above them.
  summarySize_ = PointSizeOfEm(std::clamp(height * 0.03, 1.0 * kMinEm, 1.0 * kMaxSummaryEm));
  const int summaryEm = summarySize_ * 96 / 720;
  const int summaryBand = summaryEm * 27 / 10;
  summaryTop_ = bottom + summaryBand - summaryEm / 3;
  area_ = {left, top, std::max(right, left + 1), std::min(bottom + summaryBand, top - 1)};

  const bool twoLabels = settings.kind == kStatPointSignHouse;
  rowHeight_ = std::max(1, (area_.top - area_.bottom) / grid_.rows);
  columnWidth_ = std::max(1, (area_.right - area_.left) / grid_.columns);
  labelBand_ = rowHeight_ * (twoLabels ? 25 : 10) / 100;
  countBand_ = rowHeight_ * (twoLabels ? 20 : 7) / 100;

  // Labels: one glyph (two stacked for kind 2) or a number of up to two digits per column.
  const bool numbers = settings.kind == kStatAspectCount || settings.kind == kStatPlanetsInPlace;
  double labelEm = std::min(labelBand_ * (twoLabels ? 0.45 : 0.85), columnWidth_ * 0.8);
  if (numbers) labelEm = std::min(labelEm, columnWidth_ * 0.9 / 1.2);
  labelSize_ = PointSizeOfEm(std::min(labelEm, 1.0 * kMaxLabelEm));
  const int largest = LargestCount(results);
  const double countEm = std::min(countBand_ * 0.85, columnWidth_ * 0.9 / (0.6 * Digits(largest)));
  countSize_ = PointSizeOfEm(std::min(countEm, 1.0 * kMaxCountEm));

  const int barRoom = std::max(0, rowHeight_ - labelBand_ - countBand_);
  bars_.reserve(static_cast<std::size_t>(grid_.Cells()));
  for (int r = 0; r < grid_.rows; ++r) {
    const int base = area_.top - (r + 1) * rowHeight_ + labelBand_;
    for (int c = 0; c < grid_.columns; ++c) {
      const int bucket = r * grid_.columns + c;
      const int count =
          bucket < results.BucketCount() ? results.counts[static_cast<std::size_t>(bucket)] : 0;
      const int barHeight =
          largest > 0 ? static_cast<int>(static_cast<long long>(barRoom) * count / largest) : 0;
      const int x = area_.left + c * columnWidth_;
      bars_.push_back({x, base + barHeight, x + columnWidth_, base});
    }
  }
}

void StatPicture::DrawLabel(platform::Dc& dc, int bucket, int x, int y,
                            const AspectSystem* system) const {
  using platform::BkMode;
  switch (settings_.kind) {
    case kStatPointSign:
    case kStatCuspSign:
      DrawGlyphText(dc, x, y, static_cast<char>('A' + bucket), 'a', labelSize_,
                    BkMode::Transparent);
      break;
    case kStatPointHouse:
      DrawGlyphText(dc, x, y, static_cast<char>('o' + bucket), 'a', labelSize_,
                    BkMode::Transparent);
      break;
    case kStatPointSignHouse: {
      const Size sign = DrawGlyphText(dc, x, y, static_cast<char>('A' + bucket / 12), 'a',
                                      labelSize_, BkMode::Transparent);
      DrawGlyphText(dc, x, y - sign.cy, static_cast<char>('o' + bucket % 12), 'a', labelSize_,
                    BkMode::Transparent);
      break;
    }
    case kStatAspect: {
      if (system == nullptr) break;
      const int position = settings_.minorAspects != 0 ? bucket : system->FindMajorAspect(bucket);
      // Painting shows no message: an aspect the system no longer has is left unlabelled.
      if (position < 0 || position >= system->Count()) break;
      const Aspect& aspect = system->GetAspect(position);
      DrawAspectGlyph(dc, x, y, labelSize_, ClassifyAspectAngle(aspect), aspect.abbreviation, 0);
      break;
    }
    default: {
      const platform::Font font = dc.SelectFont({.pointSize = labelSize_});
      dc.TextOut(x, y, std::to_string(bucket));
      dc.SelectFont(font);
      break;
    }
  }
}

void StatPicture::Draw(platform::Dc& dc, const StatResults& results, const AspectSystem* system,
                       bool filled) const {
  if (grid_.Cells() == 0 || static_cast<int>(bars_.size()) != grid_.Cells()) return;
  const int largest = LargestCount(results);
  if (largest == 0) return;
  const platform::BkMode mode = dc.SetBkMode(platform::BkMode::Transparent);
  const platform::Pen pen = dc.SelectPen({});
  const platform::Brush brush =
      dc.SelectBrush({.color = filled ? ColorByIndex(kBarColour) : platform::kWhite});
  const platform::Color text = dc.SetTextColor(platform::kBlack);
  const unsigned align = dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  const platform::Font font = dc.SelectFont({.pointSize = countSize_});
  const int gap = std::max(1, labelBand_ / 12);

  for (int r = 0; r < grid_.rows; ++r) {
    const int base = area_.top - (r + 1) * rowHeight_ + labelBand_;
    dc.Line({area_.left, base}, {area_.left + grid_.columns * columnWidth_, base});
    for (int c = 0; c < grid_.columns; ++c) {
      const int bucket = r * grid_.columns + c;
      if (bucket >= results.BucketCount()) continue;
      const Rect& bar = bars_[static_cast<std::size_t>(bucket)];
      if (bar.top > bar.bottom) dc.Rectangle(bar);
      const int middle = (bar.left + bar.right) / 2;
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
      DrawLabel(dc, bucket, middle, base - gap, system);
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kBottom);
      dc.SelectFont({.pointSize = countSize_});
      dc.TextOut(middle, bar.top + gap,
                 std::to_string(results.counts[static_cast<std::size_t>(bucket)]));
    }
  }

  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont({.pointSize = summarySize_});
  const int step = summarySize_ * 96 / 720 * 13 / 10;
  int y = summaryTop_;
  for (const std::string& line : StatSummaryLines(settings_.kind, results, grid_.Cells())) {
    dc.TextOut(area_.left, y, line);
    y -= step;
  }

  dc.SelectFont(font);
  dc.SetTextAlign(align);
  dc.SetTextColor(text);
  dc.SelectBrush(brush);
  dc.SelectPen(pen);
  dc.SetBkMode(mode);
}

int StatPicture::HitTest(Point at) const {
  for (std::size_t b = 0; b < bars_.size(); ++b) {
    const Rect& bar = bars_[b];
    if (bar.top > bar.bottom && at.x >= bar.left && at.x < bar.right && at.y <= bar.top &&
        at.y >= bar.bottom)
      return static_cast<int>(b);
  }
  return -1;
}
