// Counts the archive statistics over charts given as text, for checks of the statistics from
// outside the program (the format: docs/statistics_eval.md).
//
//   statistics_eval FIXTURE ASPECTS KIND A [B] [--minor-off] [--nodes] [--set N]
//                   [--local-space-no]
//
// The charts of FIXTURE are written as the records of a new archive in a temporary data folder
// (record numbers from 0, positions stored as given); the statistics of KIND then run over that
// archive as the browser's statistics command runs them over the current archive, and every
// non-empty bucket is printed with its records, followed by the total and the not-found count.
// Exit status: 0; 2 for input that cannot be used.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "chart_fixture.h"
#include "conditions/core/statistic.h"
#include "eval_support.h"
#include "foundation/config/configuration.h"
#include "foundation/files/settings.h"
#include "platform/core/progress_sink.h"

namespace fs = std::filesystem;

namespace {

using chart_fixture::InputError;
using chart_fixture::Refuse;

int Usage() {
  std::cerr << "usage: statistics_eval FIXTURE ASPECTS KIND A [B] [--minor-off] [--nodes] "
               "[--set N] [--local-space-no]\n";
  return 2;
}

bool ParseInt(std::string_view text, int low, int high, int& out) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return false;
  out = value;
  return true;
}

// The largest object number of the first list of a kind.
int LastObject(int kind) {
  switch (kind) {
    case kStatCuspSign:
      return kStatCusps - 1;
    case kStatAspect:
    case kStatAspectCount:
      return kStatPoints + kStatCusps - 1;
    case kStatPlanetsInPlace:
      return kStatSigns + kStatCusps - 1;
    default:
      return kStatPoints - 1;
  }
}

struct Request {
  cfg::StatisticsRecord settings;
  bool localSpace = true;
};

// The arguments after FIXTURE and ASPECTS; a refusal names what is wrong.
std::optional<InputError> ParseRequest(int argc, char** argv, Request& request) {
  cfg::StatisticsRecord& s = request.settings;
  s.minorAspects = 1;
  s.nodes = 0;
  s.planetSet = 0;
  if (!ParseInt(argv[3], 0, kStatKindCount - 1, s.kind)) return InputError{"KIND", 0, "not 0..6"};
  if (!ParseInt(argv[4], 0, LastObject(s.kind), s.object1))
    return InputError{"A", 0, "not 0.." + std::to_string(LastObject(s.kind))};
  int next = 5;
  if (s.kind == kStatAspect) {
    if (argc <= next || !ParseInt(argv[next], 0, kStatPoints + kStatCusps - 1, s.object2))
      return InputError{"B", 0, "kind 4 needs B, 0..41"};
    ++next;
  }
  for (; next < argc; ++next) {
    const std::string_view flag = argv[next];
    if (flag == "--minor-off") {
      s.minorAspects = 0;
    } else if (flag == "--nodes") {
      s.nodes = 1;
    } else if (flag == "--set") {
      if (++next >= argc || !ParseInt(argv[next], 0, 2, s.planetSet))
        return InputError{"--set", 0, "needs 0, 1 or 2"};
    } else if (flag == "--local-space-no") {
      request.localSpace = false;
    } else {
      return InputError{std::string(flag), 0, "unknown argument"};
    }
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return Usage();
  const fs::path fixtureFile = argv[1], aspectsFile = argv[2];
  Request request;
  if (auto error = ParseRequest(argc, argv, request)) return Refuse(*error);
  chart_fixture::EvalPrompter prompter(request.localSpace ? platform::Answer::Yes
                                                          : platform::Answer::No);
  platform::SetPrompter(&prompter);
  chart_fixture::TempFolder folder("statistics_eval");
  if (folder.Path().empty()) {
    std::cerr << "cannot create a temporary folder\n";
    return 2;
  }
  GetSettings().SetFolder(folder.Path());
  chart_fixture::UseToolConfiguration();
  Aspectarium aspectarium;
  if (auto error = chart_fixture::LoadAspects(aspectsFile, folder.Path(), aspectarium))
    return Refuse(*error);
  request.settings.aspectSystem = SystemNameOfFile(aspectsFile);
  const ChartContext context(GetConfiguration(), aspectarium);

  std::vector<chart_fixture::FixtureChart> charts;
  if (auto error = chart_fixture::LoadFixture(fixtureFile, charts)) return Refuse(*error);
  CommentSlotTable slots;
  Archive archive(slots);
  const std::string archivePath = (folder.Path() / "statistics_eval.arc").string();
  if (!charts.empty() && !chart_fixture::WriteArchive(charts, archivePath)) {
    std::cerr << "the charts cannot be written as an archive\n";
    return 2;
  }

  Statistic statistic;
  if (!statistic.Init(request.settings, context))
    return Refuse({aspectsFile.string(), 0, "no aspect system of that name"});
  if (!charts.empty()) {
    if (archive.SetPath(archivePath) < 0 || archive.CreateIndex() != 0) {
      std::cerr << "the archive cannot be read back\n";
      return 2;
    }
    platform::NullProgress progress;
    if (statistic.Calculate(archive, progress) != StatRunEnd::kCompleted) {
      std::cerr << "the archive cannot be read\n";
      return 2;
    }
  }
  const StatResults& results = statistic.Results();
  for (int b = 0; b < results.BucketCount(); ++b) {
    const auto& records = results.records[static_cast<std::size_t>(b)];
    if (records.empty()) continue;
    std::cout << b << "\t";
    for (std::size_t k = 0; k < records.size(); ++k) std::cout << (k ? " " : "") << records[k];
    std::cout << "\n";
  }
  std::cout << "total " << results.total << " not-found " << results.notFound << "\n";
  platform::SetPrompter(nullptr);
  return 0;
}
