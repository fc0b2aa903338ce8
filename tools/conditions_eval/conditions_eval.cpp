// Decides a condition list over charts given as text, for checks of the condition evaluator from
// outside the program (the format: docs/conditions_eval.md).
//
//   conditions_eval FIXTURE GROUPS ASPECTS CONDITIONS [LOGIC]
//   conditions_eval --pairs FIXTURE GROUPS ASPECTS CONDITIONS
//
// The charts of FIXTURE are written as records of a new archive in a temporary data folder, in
// file order (record numbers from 0) and in one pass; their positions are stored as given, never
// recomputed. The
// archive query then runs over that archive as the query dialog runs it over the current archive:
// the switched-on conditions are decided on every chart and joined by AND (or, with LOGIC, the
// logic expression is checked and applied), and the numbers of the records it marks are printed,
// one a line, followed by "viewed N". With --pairs the conditions are a synastry list and the
// synastry run pairs every two different charts of the archive (both orders), printing
// "record1<TAB>record2" for each pair that holds, in the order found, then "pairs N" (the
// pairs decided). Messages go to standard error.
// Exit status: 0; 1 when an evaluation error ended the run; 2 for input that cannot be used.
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "chart_fixture.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/query_run.h"
#include "conditions/core/synastry_run.h"
#include "eval_support.h"
#include "foundation/config/configuration.h"
#include "foundation/files/settings.h"
#include "foundation/text/cp1251.h"
#include "platform/core/progress_sink.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

using chart_fixture::InputError;
using chart_fixture::Refuse;

int Usage() {
  std::cerr << "usage: conditions_eval FIXTURE GROUPS ASPECTS CONDITIONS [LOGIC]\n"
               "       conditions_eval --pairs FIXTURE GROUPS ASPECTS CONDITIONS\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool pairs = argc > 1 && std::string_view(argv[1]) == "--pairs";
  if (pairs) {
    --argc;
    ++argv;
    if (argc != 5) return Usage();
  }
  if (argc != 5 && argc != 6) return Usage();
  const fs::path fixtureFile = argv[1], groupsFile = argv[2], aspectsFile = argv[3],
                 conditionsFile = argv[4];
  chart_fixture::EvalPrompter prompter;
  platform::SetPrompter(&prompter);
  chart_fixture::TempFolder folder("conditions_eval");
  if (folder.Path().empty()) {
    std::cerr << "cannot create a temporary folder\n";
    return 2;
  }
  GetSettings().SetFolder(folder.Path());

  chart_fixture::UseToolConfiguration();
  const Configuration& config = GetConfiguration();
  Aspectarium aspectarium;
  if (auto error = chart_fixture::LoadAspects(aspectsFile, folder.Path(), aspectarium))
    return Refuse(*error);

  // The run reads these settings only.
  const ChartContext context(config, aspectarium);
  CFunc set;
  set.synastry = pairs;
  if (!fs::is_regular_file(groupsFile)) return Refuse({groupsFile.string(), 0, "no such file"});
  if (set.groups.LoadGroups(groupsFile) != 0)
    return Refuse({groupsFile.string(), 0, "cannot be read"});
  if (!fs::is_regular_file(conditionsFile))
    return Refuse({conditionsFile.string(), 0, "no such file"});
  if (set.LoadFuncs(conditionsFile, CFunc::kCapacity) < 0)
    return Refuse({conditionsFile.string(), 0, "cannot be read"});
  for (int i = 0; i < set.Count(); ++i) {
    const int kind = set.Condition(i).Kind();
    if (!pairs && set.Condition(i).Enabled() && IsPairKind(kind))
      return Refuse({conditionsFile.string(), 0,
                     "condition " + std::to_string(set.Condition(i).Number()) + " is of kind " +
                         std::to_string(kind) + ", which this tool does not decide yet"});
  }
  // The logic expression, checked as the query dialog checks it (its message on a fault).
  if (argc == 6) {
    set.mode = 2;
    if (!set.SetLogic(argv[5])) return Refuse({"LOGIC", 0, "the expression is refused"});
  }

  std::vector<chart_fixture::FixtureChart> charts;
  if (auto error = chart_fixture::LoadFixture(fixtureFile, charts)) return Refuse(*error);
  CommentSlotTable slots;
  Archive archive(slots);
  const std::string archivePath = (folder.Path() / "conditions_eval.arc").string();
  if (!charts.empty() && !chart_fixture::WriteArchive(charts, archivePath)) {
    std::cerr << "the charts cannot be written as an archive\n";
    return 2;
  }

  if (pairs) {
    // The synastry run of the every-pair mode over the archive just written.
    int status = 0;
    std::int64_t decided = 0;
    set.ReportRunProblems(context);
    if (!charts.empty()) {
      platform::NullProgress progress;
      CSynAnalResults results;
      SynastryRequest request;
      request.mode = kSynEveryPair;
      request.archive = archivePath;
      const SynastryRunResult run = RunSynastry(set, context, request, results, progress);
      for (const SynAnalResult& r : results.CopyToArray())
        std::cout << r.record1 << "\t" << r.record2 << "\n";
      if (run.end == SynastryRunEnd::kEvaluationError) {
        std::cerr << "a pair gave an evaluation error, the run ends\n";
        status = 1;
      } else if (run.end != SynastryRunEnd::kCompleted) {
        std::cerr << "the archive cannot be read back\n";
        return 2;
      }
      decided = run.pairs;
    }
    std::cout << "pairs " << decided << "\n";
    platform::SetPrompter(nullptr);
    return status;
  }

  // The run: the archive query over the archive just written, every record in turn.
  int viewed = 0, status = 0;
  if (charts.empty()) set.ReportRunProblems(context);
  if (!charts.empty()) {
    if (archive.SetPath(archivePath) < 0 || archive.CreateIndex() != 0) {
      std::cerr << "the archive cannot be read back\n";
      return 2;
    }
    platform::NullProgress progress;
    const QueryRunResult run = RunQuery(archive, set, context, {}, progress);
    for (int n = 0; n < archive.RecordCount(); ++n)
      if (archive.Entry(n).IsSelected()) std::cout << n << "\n";
    if (run.end == QueryRunEnd::kEvaluationError) {
      std::cerr << "record " << run.stoppedAtRecord << ": evaluation error, the run ends\n";
      status = 1;
    }
    viewed = run.viewed;
  }
  std::cout << "viewed " << viewed << "\n";
  platform::SetPrompter(nullptr);
  return status;
}
