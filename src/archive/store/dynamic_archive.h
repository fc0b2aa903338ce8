// The dynamic archive: a new archive (layout 4200) whose records are one chart recomputed at equal
// time steps over a range of dates.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "astro/chart/chart.h"
#include "foundation/datetime/fdate.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/progress_sink.h"

class ChartContext;

// The most steps of one archive (30001 records).
inline constexpr int kDynamicArchiveMaxSteps = 30000;
// The most of each step value (years, days, hours, minutes, seconds).
inline constexpr int kDynamicArchiveMaxStepValue = 1000;

// The step in days: years x 365.2422 + days + hours / 24 + minutes / 1440 + seconds / 86400.
double DynamicArchiveStep(int years, int days, int hours, int minutes, int seconds);
// The whole steps from `begin` to `end` (Julian days, end > begin, step > 0), at most
// kDynamicArchiveMaxSteps; `cut` tells whether the period was cut to that.
int DynamicArchiveSteps(double begin, double end, double step, bool& cut);
// What the dialog opens with: the stored step (years, days, hours, minutes, seconds), or a day when
// nothing was stored or every value is 0; and a period from the chart's date that the dialog
// accepts and never cuts: a year, or ten steps when that is longer, no more than the steps an
// archive holds, at least a day. A period whose end would pass AD 3000 ends at the chart's date
// instead.
struct DynamicArchiveOpening {
  std::array<int, 5> step{};
  FDate begin, end;
};
DynamicArchiveOpening OpenDynamicArchive(const FDate& chartDate, std::array<int, 5> storedStep);
// The text of message 1108 with the period an archive cut to its most steps covers.
std::string DynamicArchiveCutText(const FDate& begin, double step);

// The name as typed when it ends in ".arc" in any letter case, else the name and ".arc".
std::string DynamicArchiveFileName(const std::string& name);

// Writes `file` anew: the version word 4200, then steps + 1 records: the chart `source` with its
// base Source moved to `begin` at 0:00:00, recomputed, then advanced by `step` days and recomputed
// for each further record. Comment files that an archive of that name had are removed with it (the
// new archive has none). The file is replaced only once every record was written: a failure
// leaves every file as it was and returns its error (104 or 105, or the computation's); the
// progress dialog's Cancel likewise, with message kMsgDynamicArchiveCancelled.
Status WriteDynamicArchive(const ChartContext& ctx, const Chart& source, const FDate& begin,
                           double step, int steps, const std::filesystem::path& file,
                           platform::ProgressSink& progress);
