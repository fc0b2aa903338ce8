// What the query tests share: the charts of the condition tool's fixtures written as real
// archives in the test's data folder, the tool's configuration (every point of orb class 3 and
// shown) and aspect system, a condition set with the fixture groups, and the two conditions whose
// hits the tool's tests worked out by hand.
//
//   charts.txt (8 charts; record 4 is a Local Space chart):
//     kSunMoonSquare (Sun-Moon at 90:00 +- 1:00) holds on 1, 3, 4; kSunInAries on 0, 1, 4, 5.
//   kinds.txt (8 charts, no Local Space chart): kSunMoonSquare holds on 2 (Sun 180, Moon 90) and
//     3 (Sun 10, Moon 100), nowhere else (Moon - Sun is 9, 120, 120, 120, 94 and 60 elsewhere).
#pragma once

#include <string>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "astro/chart/chart_context.h"
#include "chart_fixture.h"
#include "conditions/condition_test_support.h"
#include "conditions/core/query_run.h"

namespace condition_test {

inline const std::string kSunMoonSquare =
    "1 + 0 0 1 1001 \x03 \x03 TESTASP 0 0 0 0 1 0 511 3 3 90 0\n";
inline const std::string kSunInAries = "2 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";

class QueryArchiveTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    for (int i = 0; i < Configuration::kObjectCount; ++i) {
      config_.objectStrings[Configuration::kOrbString][static_cast<std::size_t>(i)] = '3';
      config_.objectStrings[Configuration::kShownString][static_cast<std::size_t>(i)] = 'Y';
    }
    ASSERT_FALSE(chart_fixture::LoadAspects(testing_support::FixturePath("conditions/TESTASP.txt"),
                                            folder_.Path(), aspects_));
    set_.SetEnvironment(&config_, &aspects_);
    ASSERT_EQ(set_.groups.LoadGroups(testing_support::FixturePath("conditions/groups.lst")), 0);
  }

  // The charts of a fixture file under tests/fixtures/conditions/ (or a path) written as the
  // archive `name` of the data folder; the archive is left current and indexed. Its path.
  std::string WriteArchive(const std::string& name, const std::filesystem::path& fixture) {
    std::vector<chart_fixture::FixtureChart> charts;
    EXPECT_FALSE(chart_fixture::LoadFixture(fixture, charts)) << fixture;
    const std::string path = (folder_ / name).string();
    EXPECT_TRUE(chart_fixture::WriteArchive(charts, path));
    EXPECT_GE(archive_.SetPath(path), 0);
    EXPECT_EQ(archive_.CreateIndex(), 0);
    return path;
  }
  std::string WriteFixtureArchive(const std::string& name, const char* fixture) {
    return WriteArchive(name, testing_support::FixturePath(std::string("conditions/") + fixture));
  }
  // A fixture given as text (UTF-8) written as an archive.
  std::string WriteTextArchive(const std::string& name, const std::string& fixtureText) {
    const auto file = folder_ / (name + ".txt");
    testing_support::WriteFile(file, fixtureText);
    return WriteArchive(name, file);
  }

  // The condition lines (UTF-8) as the set.
  void UseConditions(const std::string& lines) {
    ASSERT_GT(set_.ParseFuncs(Cp1251(lines), CFunc::kCapacity).count, 0) << lines;
  }

  // The records marked 'Y' in the current archive.
  std::vector<int> Marked() const {
    std::vector<int> marked;
    for (int n = 0; n < archive_.RecordCount(); ++n)
      if (archive_.Entry(n).IsSelected()) marked.push_back(n);
    return marked;
  }

  // The settings of the runs: the tool's configuration and aspect system.
  ChartContext Context() const { return ChartContext(config_, aspects_); }
  QueryRunResult Run(const QueryRunRequest& request) {
    return RunQuery(archive_, set_, Context(), request, progress_);
  }

  Configuration config_;
  Aspectarium aspects_;
  CFunc set_;
  CommentSlotTable slots_;
  Archive archive_{slots_};
  testing_support::RecordingProgress progress_;
};

}  // namespace condition_test
