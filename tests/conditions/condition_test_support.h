// What the condition tests share: a data folder of their own, charts and group records built in
// memory, a condition set with its aspect systems and groups, condition words set and compared by
// number, and the rows of the configurations table as their figures are drawn.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/cfunc.h"
#include "foundation/config/configuration.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"
#ifdef QT_CORE_LIB
#include "conditions/ui/condition_wizard.h"
#endif

namespace condition_test {

// A chart with the given points (the others absent) and houses every 30 degrees from `firstCusp`.
inline Chart MakeChart(std::initializer_list<std::pair<int, double>> points,
                       double firstCusp = 0.0) {
  Chart chart;
  for (PointRecord& p : chart.points) p.longitude.Set(kAbsent);
  for (const auto& [i, lon] : points) chart.points[static_cast<std::size_t>(i)].longitude.Set(lon);
  for (int h = 0; h < 12; ++h)
    chart.cusps[static_cast<std::size_t>(h)].Set(std::fmod(firstCusp + 30.0 * h, 360.0));
  return chart;
}

// The points 0, 1, 2 ... at `longitudes`.
inline Chart ChartOf(const std::vector<double>& longitudes, double firstCusp) {
  Chart chart = MakeChart({}, firstCusp);
  for (std::size_t i = 0; i < longitudes.size(); ++i) chart.points[i].longitude.Set(longitudes[i]);
  return chart;
}

// A group record of `name` with these members.
inline GroupRecord Group(const std::string& name, const std::vector<int>& members = {0}) {
  GroupRecord g;
  g.name = name;
  g.count = static_cast<std::int16_t>(members.size());
  for (std::size_t i = 0; i < members.size(); ++i)
    g.members[i] = static_cast<std::uint8_t>(members[i]);
  return g;
}

// A condition with the given words ({word, value}); the others 0.
inline QueryCondition Words(std::initializer_list<std::pair<int, int>> words) {
  QueryCondition c;
  for (const auto& [word, value] : words) c.w[static_cast<std::size_t>(word)] = value;
  return c;
}

// The same from "word:value" pairs parted by blanks, as "2:1 14:500203".
inline QueryCondition Words(const std::string& pairs) {
  QueryCondition c;
  std::istringstream in(pairs);
  for (std::string pair; in >> pair;) {
    const std::size_t colon = pair.find(':');
    c.w[std::stoul(pair.substr(0, colon))] = std::stoi(pair.substr(colon + 1));
  }
  return c;
}

// Expects these words of `c`, naming the word that differs.
inline void ExpectWords(const QueryCondition& c, std::initializer_list<std::pair<int, int>> words) {
  for (const auto& [word, value] : words)
    EXPECT_EQ(c.w[static_cast<std::size_t>(word)], value) << "word " << word;
}

// A named condition line (UTF-8) and its decision.
struct LineCase {
  const char* name;
  std::string line;
  int expected;
};

// An aspect of a system: its angle, the orbs of its classes and its type.
inline Aspect MakeAspect(double angle, std::array<double, 6> orbs = {},
                         int type = kAspectHarmonious) {
  Aspect a;
  a.angle = angle;
  a.orbs = orbs;
  a.type = static_cast<std::uint8_t>(type);
  a.abbreviation = "a";
  return a;
}

// A page's words as the set adds them: numbered and switched on.
inline bool ValidAsAdded(QueryCondition c) {
  c.w[0] = 1;
  c.w[19] = 1;
  return ValidateCondition(c);
}

inline constexpr int kExactBits = (1 << kMaskExact) | (1 << kMaskInexact);

// How often the message of `number` was shown.
inline int TimesShown(const testing_support::ScriptedPrompter& prompts, int number) {
  int n = 0;
  for (const auto& shown : prompts.shown) n += shown.number == number;
  return n;
}

// A test in its own data folder, every question answered by the scripted prompter; no file fault
// stays armed after it.
class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { GetSettings().SetFolder(folder_.Path()); }
  void TearDown() override {
    ArmFileFault(0);
    ArmReadFault({});
    GetSettings().SetFolder({});
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedPrompter prompts_;
};

// A condition set in its own data folder.
class ConditionSetTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    set_.SetEnvironment(&config_, &aspects_);
  }

  // Writes the aspect system `name` into the data folder and loads every system there.
  void AddSystem(const std::string& name, const std::vector<Aspect>& aspects) {
    AspectSystem system(name, folder_.Path() / SystemFileName(name));
    system.SetAspects(aspects);
    ASSERT_TRUE(system.SaveSystem().ok());
    aspects_.LoadAll(folder_.Path());
    ASSERT_NE(aspects_.FindSystem(name), nullptr);
  }
  void AddGroup(char kind, const std::string& name, const std::vector<int>& members) {
    ASSERT_GE(set_.groups.AddGroup(kind, Group(name, members)), 0);
  }
  // Makes the condition lines (UTF-8) the set, a synastry set when they start with a pair kind.
  void Use(const std::string& lines, int count = 1) {
    set_.synastry = lines.rfind("1 + 10", 0) == 0;
    ASSERT_EQ(set_.ParseFuncs(Cp1251(lines), CFunc::kCapacity).count, count) << lines;
  }
  // The decision of the one condition `line` on `chart`.
  int Decide(const std::string& line, const Chart& chart, int record = -1) {
    Use(line);
    return set_.QueryConditionEvaluate(Context(), chart, 0, record);
  }
  // The settings of the test as a context, taken when a condition is decided.
  ChartContext Context() const { return ChartContext(config_, aspects_); }

  Configuration config_;
  Aspectarium aspects_;
  CFunc set_;
};

// The configurations as the table gives them (to build their figures): vertices, angles in the
// table's order, whether the variant must hold its oppositions.
struct RowSpec {
  int members;
  std::array<double, 6> angles;
  bool withOppositions;
};
inline constexpr RowSpec kConfigurationRows[42] = {
    {3, {120, 120, 120}, false},
    {3, {90, 90, 180}, false},
    {4, {90, 90, 90, 90}, true},
    {4, {90, 90, 90, 90}, false},
    {6, {60, 60, 60, 60, 60, 60}, true},
    {6, {60, 60, 60, 60, 60, 60}, false},
    {4, {120, 60, 120, 60}, true},
    {4, {120, 60, 120, 60}, false},
    {4, {120, 120, 60, 60}, true},
    {4, {120, 120, 60, 60}, false},
    {3, {120, 60, 180}, false},
    {3, {150, 150, 60}, false},
    {3, {60, 60, 120}, false},
    {3, {45, 45, 90}, false},
    {3, {135, 135, 90}, false},
    {3, {135, 45, 180}, false},
    {3, {36, 36, 72}, false},
    {3, {72, 72, 144}, false},
    {3, {144, 144, 72}, false},
    {5, {72, 72, 72, 72, 72}, false},
    {4, {150, 150, 30, 30}, true},
    {4, {150, 150, 30, 30}, false},
    {4, {150, 30, 150, 30}, true},
    {4, {150, 30, 150, 30}, false},
    {4, {100, 100, 80, 80}, true},
    {4, {100, 100, 80, 80}, false},
    {4, {100, 80, 100, 80}, true},
    {4, {100, 80, 100, 80}, false},
    {4, {108, 108, 72, 72}, true},
    {4, {108, 108, 72, 72}, false},
    {4, {108, 72, 108, 72}, true},
    {4, {108, 72, 108, 72}, false},
    {4, {135, 135, 45, 45}, true},
    {4, {135, 135, 45, 45}, false},
    {4, {135, 45, 135, 45}, true},
    {4, {135, 45, 135, 45}, false},
    {3, {40, 40, 80}, false},
    {3, {120, 90, 150}, false},
    {3, {20, 20, 40}, false},
    {3, {30, 30, 60}, false},
    {3, {150, 135, 72}, false},
    {3, {180, 108, 72}, false},
};

#ifdef QT_CORE_LIB
// The wizard's windows (the ui tests only): OK on a page puts its controls into the model, then
// runs its checks; the first page answers OK with `kind` chosen.
template <class Page>
int Confirm(Page& page) {
  return page.DoDataExchange(true) && page.CheckOk() ? platform::kIdOk : platform::kIdCancel;
}
inline void ChooseKind(int kind) {
  platform::ModalDriver::Expect<CQueryWizardMain>([kind](CQueryWizardMain& d) {
    d.choice = kind;
    return platform::kIdOk;
  });
}

// The wizard run through the modal driver on a set with the aspect system "T" (a trine), the
// one-chart wizard starting on its first page; every registered answer must be used.
class WizardWindowTest : public ConditionSetTest {
 protected:
  void SetUp() override {
    ConditionSetTest::SetUp();
    AddSystem("T", {MakeAspect(120.0)});
    GetConfiguration().query.Set(cfg::QuerySettings::kWizardOneChart, 0);
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
  }
  void TearDown() override {
    EXPECT_TRUE(platform::ModalDriver::Unanswered().empty());
    platform::ModalDriver::Clear();
    ConditionSetTest::TearDown();
  }
};
#endif

}  // namespace condition_test
