// A query run over an archive holds the settings it started with: the configuration and an aspect
// system changed and published while the run goes on (as a settings dialog's OK does) leave its
// results as they were; a run started after the publish sees the change.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive/store/archive_search.h"
#include "astro/chart/published_settings.h"
#include "conditions/condition_test_support.h"

namespace {

using condition_test::MakeAspect;
using condition_test::MakeChart;

constexpr int kMercury = 2, kVenus = 3;

// Puts the program-wide configuration and aspect systems back, published, however the test ends.
class ProgramSettingsGuard {
 public:
  ProgramSettingsGuard() : config_(GetConfiguration()), folder_(GetAspectarium().Folder()) {}
  ~ProgramSettingsGuard() {
    GetConfiguration() = config_;
    (void)GetAspectarium().LoadAll(folder_);
    PublishSettings();
  }
  ProgramSettingsGuard(const ProgramSettingsGuard&) = delete;
  ProgramSettingsGuard& operator=(const ProgramSettingsGuard&) = delete;

 private:
  Configuration config_;
  std::filesystem::path folder_;
};

class QueryRunSnapshot : public condition_test::ConditionSetTest {
 protected:
  // The charts as archive records "R0", "R1", ...: Mercury and Venus at these longitudes.
  void WriteArchive(const std::vector<std::pair<double, double>>& pairs) {
    path_ = (folder_.Path() / "run.arc").string();
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      Chart chart = MakeChart({{kMercury, pairs[i].first}, {kVenus, pairs[i].second}});
      chart.definition.sources[0].SetName("R" + std::to_string(i));
      if (i == 0) {
        archive_.SetPath(path_);
        ASSERT_EQ(archive_.Saving().SaveToNewArchive(chart, true), 0);
      } else {
        CommentRefBlock block;
        const int position = archive_.RecordCount();
        ASSERT_EQ(archive_.Saving().InsertToArchive(chart, position, block), 0);
        ASSERT_EQ(archive_.Saving().InsertIndexEntry(chart, position, block), 0);
      }
    }
    ASSERT_GE(archive_.SetPath(path_), 0);
    ASSERT_EQ(archive_.CreateIndex(), 0);
  }

  // The records on which the set holds, run as the archive query runs: every record in turn,
  // under one context taken at the start; `during(n)` runs after record n is decided.
  std::vector<int> Run(const std::function<void(int)>& during = {}) {
    const ChartContext context = ChartContext::FromCurrentSettings();
    std::vector<int> held;
    const ListLock lock(archive_.Index(), LockMode::kShared);
    std::FILE* handle = archive_.Open(lock);
    EXPECT_NE(handle, nullptr);
    for (int n = 0; handle != nullptr && n < archive_.RecordCount(); ++n) {
      Chart chart;
      if (archive_.Load(handle, chart, n) < 0) break;
      if (set_.Evaluate(context, chart, n) == 1) held.push_back(n);
      if (during) during(n);
    }
    archive_.Close(handle);
    return held;
  }

  CommentSlotTable slots_;
  Archive archive_{slots_};
  std::string path_;
};

TEST_F(QueryRunSnapshot, ARunKeepsItsSettingsWhenOthersArePublishedDuringIt) {
  const ProgramSettingsGuard guard;
  // The program's settings: system "T" with a conjunction of orbs 10, 8, 6, 4, 2 by class;
  // Mercury of class 5, Venus of class 3, so the pair takes class 3 (6 degrees).
  AspectSystem system("T", folder_.Path() / SystemFileName("T"));
  system.SetAspects({MakeAspect(0, {10, 8, 6, 4, 2, 1})});
  ASSERT_TRUE(system.SaveSystem().ok());
  ChangeSettings([this](Configuration& config, Aspectarium& aspects) {
    config.objectStrings[Configuration::kOrbString][kMercury] = '5';
    config.objectStrings[Configuration::kOrbString][kVenus] = '3';
    ASSERT_TRUE(aspects.LoadAll(folder_.Path()).empty());
  });
  // The conjunction of Mercury and Venus by the system's orbs, all conditions joined by AND.
  Use("1 + 0 2 3 0 \x03 \x03 T 0 0 0 1 0 0 0 5 5 0 0");
  // Separations 4, 1, 7, 5, 3 and 1.5 degrees.
  WriteArchive({{100, 104}, {100, 101}, {100, 107}, {200, 205}, {10, 13}, {50, 51.5}});

  const std::vector<int> untouched = Run();
  EXPECT_EQ(untouched, (std::vector<int>{0, 1, 3, 4, 5}));

  // After the second record a dialog makes Venus class 5 (2 degrees) and narrows the system's
  // class-5 orb to 1.6 degrees, and publishes; the running query goes on with its snapshot.
  const std::vector<int> changedDuring = Run([](int n) {
    if (n != 1) return;
    ChangeSettings([](Configuration& config, Aspectarium& aspects) {
      config.objectStrings[Configuration::kOrbString][kVenus] = '5';
      aspects.FindSystem("T")->GetAspect(0).orbs[4] = 1.6;
    });
  });
  EXPECT_EQ(changedDuring, untouched);

  // A run started after the publish reads the new settings: 1.5 and 1 degrees only.
  EXPECT_EQ(Run(), (std::vector<int>{1, 5}));
}

TEST_F(QueryRunSnapshot, TheArchiveSearchReadsItsContextsCriteria) {
  const ProgramSettingsGuard guard;
  WriteArchive({{1, 2}, {3, 4}, {5, 6}});
  ArchiveSearchCriteria byName;
  byName.name = "R1";
  ChangeSettings(
      [&byName](Configuration& config, Aspectarium&) { byName.ToBlock(config.archiveSearch); });
  const ChartContext before = ChartContext::FromCurrentSettings();
  byName.name = "R2";
  ChangeSettings(
      [&byName](Configuration& config, Aspectarium&) { byName.ToBlock(config.archiveSearch); });
  const ChartContext after = ChartContext::FromCurrentSettings();
  const struct {
    const ChartContext* context;
    std::vector<bool> matches;
  } rows[] = {{&before, {false, true, false}}, {&after, {false, false, true}}};
  for (const auto& row : rows)
    for (int n = 0; n < 3; ++n)
      EXPECT_EQ(archive_.Query().MatchRecord(n, *row.context),
                row.matches[static_cast<std::size_t>(n)])
          << n;
}

}  // namespace
