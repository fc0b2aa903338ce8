#include "conditions/core/statistic.h"

#include <cstdio>

#include "archive/store/archive.h"
#include "archive/store/list_lock.h"
#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/progress_sink.h"
#include "platform/core/prompter.h"

namespace {

// The sign 0..11 of a longitude truncated to whole degrees; -1 when absent.
int SignOf(double longitude) {
  if (longitude == kAbsent || !(longitude >= 0.0) || longitude >= 360.0) return -1;
  return static_cast<int>(longitude) / 30;
}

int ObjectListSize(int kind) {
  switch (kind) {
    case kStatCuspSign:
      return kStatCusps;
    case kStatAspect:
    case kStatAspectCount:
      return kStatPoints + kStatCusps;
    case kStatPlanetsInPlace:
      return kStatSigns + kStatCusps;
    default:
      return kStatPoints;
  }
}

}  // namespace

double StatObjectLongitude(const Chart& chart, int object) {
  if (object < 0 || object >= kStatPoints + kStatCusps) return kAbsent;
  return object < kStatPoints ? chart.GetPointLongitude(object).Get()
                              : chart.GetCusp(object - kStatPoints).Get();
}

bool Statistic::PassesPlanetFilter(const cfg::StatisticsRecord& settings,
                                   const Configuration& config, int point) {
  if (point == kNorthNode || point == kSouthNode) return settings.nodes != 0;
  switch (settings.planetSet) {
    case 0:
      return point <= 9;
    case 1:
      return config.DisplayFlag(point) != 'N';
    default:
      return true;
  }
}

bool Statistic::Init(const cfg::StatisticsRecord& settings, const ChartContext& context) {
  settings_ = settings;
  if (settings_.kind < 0 || settings_.kind >= kStatKindCount) settings_.kind = kStatPointSign;
  const int size = ObjectListSize(settings_.kind);
  if (settings_.object1 < 0 || settings_.object1 >= size) settings_.object1 = 0;
  if (settings_.object2 < 0 || settings_.object2 >= kStatPoints + kStatCusps) settings_.object2 = 0;
  context_ = &context;
  system_ = context.FindSystem(settings_.aspectSystem);
  results_ = StatResults{};
  const bool needsSystem = settings_.kind == kStatAspect || settings_.kind == kStatAspectCount;
  if (needsSystem && system_ == nullptr) return false;
  const int buckets = GetBucketCount();
  results_.counts.assign(static_cast<std::size_t>(buckets), 0);
  results_.records.assign(static_cast<std::size_t>(buckets), {});
  return true;
}

int Statistic::GetBucketCount() const {
  switch (settings_.kind) {
    case kStatPointSignHouse:
      return 144;
    case kStatAspect: {
      if (system_ == nullptr) return 0;
      if (settings_.minorAspects != 0) return system_->Count();
      int majors = 0;
      for (const Aspect& aspect : system_->Aspects()) majors += aspect.IsMajor() ? 1 : 0;
      return majors;
    }
    case kStatAspectCount:
      return 60;
    case kStatPlanetsInPlace:
      return 50;
    default:
      return 12;
  }
}

int Statistic::OrbClassOf(int objectA, int objectB) const {
  const Configuration& config = context_->Config();
  if (objectA < kStatPoints && objectB < kStatPoints)
    return config.GetPairOrbClass(objectA, objectB);
  return config.GetAspTableConfig().houseOrbGroup;
}

int Statistic::CountedAspect(double a, double b, int orbClass) const {
  const AspectMatch match = system_->FindAspect(a, b, OrbColumnOfClass(orbClass));
  if (!match.Found()) return -1;
  if (settings_.minorAspects != 0) return match.position;
  if (system_->IsMajorAspect(match.position) != 0) return -1;
  int before = 0;
  for (int k = 0; k < match.position; ++k) before += system_->GetAspect(k).IsMajor() ? 1 : 0;
  return before;
}

int Statistic::ClassifyAspect(const Chart& chart) {
  const int bucket = CountedAspect(StatObjectLongitude(chart, settings_.object1),
                                   StatObjectLongitude(chart, settings_.object2),
                                   OrbClassOf(settings_.object1, settings_.object2));
  if (bucket < 0) ++results_.notFound;
  return bucket;
}

int Statistic::CountAspects(const Chart& chart) const {
  const double own = StatObjectLongitude(chart, settings_.object1);
  if (own == kAbsent) return -1;
  const Configuration& config = context_->Config();
  int count = 0;
  for (int j = 0; j < kStatPoints; ++j) {
    if (j == settings_.object1 || !PassesPlanetFilter(settings_, config, j)) continue;
    const double other = chart.GetPointLongitude(j).Get();
    if (other == kAbsent) continue;
    count += CountedAspect(own, other, OrbClassOf(settings_.object1, j)) >= 0 ? 1 : 0;
  }
  return count;
}

int Statistic::CountPlanetsInPlace(const Chart& chart) const {
  const bool bySign = settings_.object1 < kStatSigns;
  const int place = bySign ? settings_.object1 : settings_.object1 - kStatSigns;
  // Without cusps no planet has a house: the chart gives no count.
  if (!bySign && !chart.GetCusp(place).IsSet()) return -1;
  const Configuration& config = context_->Config();
  int count = 0;
  for (int j = 0; j < kStatPoints; ++j) {
    if (!PassesPlanetFilter(settings_, config, j)) continue;
    const double longitude = chart.GetPointLongitude(j).Get();
    const int where = bySign ? SignOf(longitude) : chart.HouseOf(longitude);
    count += where == place ? 1 : 0;
  }
  return count;
}

int Statistic::Classify(const Chart& chart) {
  const int object = settings_.object1;
  switch (settings_.kind) {
    case kStatPointSign:
      return SignOf(chart.GetPointLongitude(object).Get());
    case kStatPointHouse:
      return chart.HouseOf(chart.GetPointLongitude(object).Get());
    case kStatPointSignHouse: {
      const double longitude = chart.GetPointLongitude(object).Get();
      const int sign = SignOf(longitude), house = chart.HouseOf(longitude);
      return sign < 0 || house < 0 ? -1 : house + 12 * sign;
    }
    case kStatCuspSign:
      return SignOf(chart.GetCusp(object).Get());
    case kStatAspect:
      return ClassifyAspect(chart);
    case kStatAspectCount:
      return CountAspects(chart);
    case kStatPlanetsInPlace:
      return CountPlanetsInPlace(chart);
    default:
      return -1;
  }
}

StatRunEnd Statistic::Calculate(Archive& archive, platform::ProgressSink& progress) {
  // The file the list describes, opened under the folder's shared lock: a list another copy of
  // the program changed is read again (ListLock) and not counted,
  // since the marks set on the old list are gone. A commit replaces the file, so the handle
  // keeps reading the file compared.
  std::FILE* handle = nullptr;
  {
    const ListLock lock(archive.Index(), LockMode::kShared);
    handle = archive.Open(lock);
  }
  if (handle == nullptr) return StatRunEnd::kNoFile;
  const int count = archive.RecordCount();
  // The records in blocks, the file's size once: no system call per record.
  ArchiveRecords::Reader records(archive.Records(), handle);
  StatRunEnd end = StatRunEnd::kCompleted;
  bool asked = false, takeLocalSpace = true;
  int shown = -1;
  Chart chart;
  progress.Begin();
  for (int n = 0; n < count; ++n) {
    // The bar moves only when its percentage changes: each step repaints the dialog.
    if (const int percent = static_cast<int>(100LL * n / count); percent != shown) {
      shown = percent;
      progress.SetPos(percent);
    }
    if (progress.Cancelled()) {
      end = StatRunEnd::kCancelled;
      break;
    }
    if (settings_.selectedRecords != 0 && !archive.Entry(n).IsSelected()) continue;
    if (records.Read(chart, n) < 0) {
      ++results_.unreadable;
      continue;
    }
    if (chart.IsLocalSpace()) {
      if (!asked) {
        asked = true;
        takeLocalSpace = platform::GetPrompter().AskYesNo(kMsgLocalSpaceCharts,
                                                          GetMessageText(kMsgLocalSpaceCharts)) ==
                         platform::Answer::Yes;
      }
      if (!takeLocalSpace) continue;
    }
    ++results_.total;
    const int bucket = Classify(chart);
    if (bucket < 0 || bucket >= results_.BucketCount()) continue;
    ++results_.counts[static_cast<std::size_t>(bucket)];
    results_.records[static_cast<std::size_t>(bucket)].push_back(n);
  }
  progress.End();
  archive.Close(handle);
  return end;
}
