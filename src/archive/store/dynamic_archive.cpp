#include "archive/store/dynamic_archive.h"

#include <algorithm>
#include <cmath>

#include "archive/store/archive_layout.h"
#include "archive/store/file_transaction.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/collation.h"

double DynamicArchiveStep(int years, int days, int hours, int minutes, int seconds) {
  return years * 365.2422 + days + hours / 24.0 + minutes / 1440.0 + seconds / 86400.0;
}

int DynamicArchiveSteps(double begin, double end, double step, bool& cut) {
  const double steps = std::trunc((end - begin) / step);
  cut = steps > kDynamicArchiveMaxSteps;
  return cut ? kDynamicArchiveMaxSteps : static_cast<int>(steps);
}

DynamicArchiveOpening OpenDynamicArchive(const FDate& chartDate, std::array<int, 5> storedStep) {
  constexpr double kYearDays = 365.0, kLeastSteps = 10.0;
  DynamicArchiveOpening opening;
  for (int& v : storedStep) v = std::clamp(v, 0, kDynamicArchiveMaxStepValue);
  opening.step = storedStep;
  const auto [years, days, hours, minutes, seconds] = storedStep;
  double step = DynamicArchiveStep(years, days, hours, minutes, seconds);
  if (step <= 0.0) {
    opening.step = {0, 1, 0, 0, 0};
    step = 1.0;
  }
  double span = std::max(kYearDays, std::ceil(kLeastSteps * step));
  span = std::max(1.0, std::min(span, std::floor(kDynamicArchiveMaxSteps * step)));
  const auto length = static_cast<std::int64_t>(span);
  const auto held = [](const FDate& d) { return d.Year() <= kMaxEnteredYear; };
  opening.begin = opening.end = chartDate;
  opening.end.AddDays(length);
  if (!held(opening.end)) {
    opening.end = chartDate;
    opening.begin.AddDays(-length);
  }
  return opening;
}

std::string DynamicArchiveCutText(const FDate& begin, double step) {
  FDate end = begin;
  end.AddDays(static_cast<std::int64_t>(std::floor(kDynamicArchiveMaxSteps * step)));
  return GetMessageText(kMsgTooLarge) + "\n" + GetMessageText(kMsgPeriodWord) + " " +
         begin.ToText() + " - " + end.ToText();
}

std::string DynamicArchiveFileName(const std::string& name) {
  constexpr std::string_view kEnding = ".ARC";
  if (name.size() >= kEnding.size() &&
      CompareStrings(std::string_view(name).substr(name.size() - kEnding.size()), kEnding, 4, true,
                     Collation::kLatinFirst) == kCompareEqual)
    return name;
  return name + ".arc";
}

Status WriteDynamicArchive(const ChartContext& ctx, const Chart& source, const FDate& begin,
                           double step, int steps, const std::filesystem::path& file,
                           platform::ProgressSink& progress) {
  constexpr char kTrace[] = "DDYNARC::OnOK";
  Chart chart;
  chart.Copy(source);
  chart.definition.SetKind(chart.definition.Kind());
  Source* base = chart.definition.GetBaseSource();
  if (base == nullptr) base = &chart.definition.sources[0];
  base->moment.date = begin;
  base->moment.time = FTime();
  // The first record is computed at the beginning too, not left with the source chart's positions.
  if (Status st = chart.AddStep(ctx, 0.0); !st.ok()) return st;

  // The target's files are written under its folder's lock, from the first temporary file on.
  const ArchiveLock lock(file);
  if (!lock.Held()) return Status::Error(kErrWrite, kTrace, 0);
  FileTransaction tx;
  SafeRewrite& out = tx.Rewrite(file);
  if (!out.Ok()) return Status::Error(kErrCannotCreate, kTrace, 0);
  for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(file, k));

  const bool shown = steps > 50;
  if (shown) progress.Begin();
  BinaryWriter w;
  w.I32(kChartRecordVersion4200);
  const std::size_t flushAt = 256 * Chart::RecordSize(kChartRecordVersion4200);
  Status result = Status::Ok();
  for (int i = 0; i <= steps && result.ok(); ++i) {
    chart.Save(w, kChartRecordVersion4200);
    if (w.Size() >= flushAt || i == steps) {
      if (!out.Write(w.Data())) result = Status::Error(kErrWrite, kTrace, 1);
      w = BinaryWriter();
    }
    if (shown) {
      progress.SetPos(static_cast<int>(100.0 * i / (steps + 1)));
      if (progress.Cancelled()) result = Status::Message(kMsgDynamicArchiveCancelled);
    }
    if (i < steps && result.ok()) result = chart.AddStep(ctx, step);
  }
  if (shown) progress.End();
  if (!result.ok()) return result;
  return tx.Commit();
}
