// The chart definition each kind's entry makes (the Sources of each kind are checked through the
// dialogs): the user's key, the entry read back from a definition, values no entry can hold, and
// the groups of kinds.
#include <gtest/gtest.h>

#include <string>

#include "shell/core/entry/chart_entry_model.h"

namespace {

Source MakeSource(const char* name, int day, int month, int year, int hours, int latDeg) {
  Source s;
  s.SetName(name);
  EXPECT_TRUE(s.moment.date.SetDate(day, month, year, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(hours, 15, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(3, 0, '+').ok());
  EXPECT_TRUE(s.place.SetPlace(latDeg, 10, 'N', 30, 20, 'E', "Town", "Region").ok());
  return s;
}

ChartEntry SampleEntry() {
  ChartEntry e;
  e.person = MakeSource("Anna", 15, 6, 1985, 8, 55);
  e.second = MakeSource("Boris", 2, 2, 1980, 20, 60);
  e.target = MakeSource("ignored", 1, 1, 2025, 12, 48);
  e.title = "Title";
  e.converse = true;
  e.method = 2;
  e.key = ProgressionKey{2, 1, 7, 1};
  e.composite = true;
  e.harmonic = 9;
  e.returnBody = 1;
  return e;
}

TEST(EntryOfKindSettings, UserKeyOnlyWithTheUserKeyMethod) {
  ChartEntry e = SampleEntry();
  e.method = 4;
  EXPECT_EQ(DefinitionFromEntry(e, kChartProgressed).key, (ProgressionKey{2, 1, 7, 1}));
  EXPECT_EQ(DefinitionFromEntry(e, kChartDirected).key, ProgressionKey{});
  e.method = 5;
  EXPECT_EQ(DefinitionFromEntry(e, kChartDirected).keyKind, 5);
  EXPECT_EQ(DefinitionFromEntry(e, kChartDirected).key, (ProgressionKey{2, 1, 7, 1}));
  e.composite = false;
  EXPECT_EQ(DefinitionFromEntry(e, kChartSynastry).keyKind, 0);
}

TEST(EntryOfKindSettings, EntryReadBackFromEachKindsDefinition) {
  ChartEntry e = SampleEntry();
  e.target.SetName("Anna");
  for (int kind = 0; kind <= kChartLunarPhase; ++kind) {
    const EntryFields f = FieldsOfKind(kind);
    if (kind == kChartProgressed || kind == kChartDirected) e.method = UserKeyMethod(kind);
    const ChartEntry back = EntryFromDefinition(DefinitionFromEntry(e, kind));
    EXPECT_EQ(back.person, e.person) << kind;
    EXPECT_EQ(back.title, e.title) << kind;
    EXPECT_EQ(back.target, f.target ? e.target : e.person) << kind;
    EXPECT_EQ(back.second, f.secondPerson ? e.second : e.person) << kind;
    EXPECT_EQ(back.converse, f.converse) << kind;
    if (f.progressionMethod || f.directionMethod) {
      EXPECT_EQ(back.method, UserKeyMethod(kind)) << kind;
      EXPECT_EQ(back.key, e.key) << kind;
    }
    if (f.composite) {
      EXPECT_TRUE(back.composite);
    }
    if (f.harmonic) {
      EXPECT_EQ(back.harmonic, 9);
    }
    if (f.returnBody) {
      EXPECT_EQ(back.returnBody, 1);
    }
  }
}

TEST(EntryOfKindSettings, ValuesNoEntryCanHoldFallBackToDefaults) {
  SuperSource d;
  d.SetKind(kChartDirected);
  d.keyKind = 9;
  d.key = ProgressionKey{0, 7, 0, 0};
  EXPECT_EQ(EntryFromDefinition(d).method, 0);
  d.SetKind(kChartHarmonic);
  d.key.arcCount = 0;
  EXPECT_EQ(EntryFromDefinition(d).harmonic, ChartEntry{}.harmonic);
  d.SetKind(kChartReturn);
  d.key.arcCount = 12;
  EXPECT_EQ(EntryFromDefinition(d).returnBody, 0);
}

// Without a history entry every kind that looks at a moment looks at now; the others keep the
// fallback's moment. A horary chart always asks now, never at the moment of an earlier chart of
// its group. Without an active chart a history entry wins otherwise, and the clock is then not
// read; the clock's zone is kept.
TEST(EntryPreset, TransitAndHoraryStartAtThePresentWhenTheHistoryHasNothing) {
  // 1700000000 s: 14 November 2023 22:13:20 UT; the computer's zone +05:00.
  int readings = 0;
  const Clock clock = [&readings] {
    ++readings;
    return ClockReading{1700000000, 5 * 3600};
  };
  SuperSource fallback;
  fallback.sources[0] = fallback.sources[1] = fallback.sources[2] =
      MakeSource("Anna", 15, 6, 1985, 8, 55);
  SuperSource last;
  last.SetKind(kChartTransit);
  last.sources[0] = MakeSource("Anna", 15, 6, 1985, 8, 55);
  last.sources[1] = last.sources[2] = MakeSource("Anna", 1, 1, 2025, 12, 48);

  struct Row {
    const char* name;
    int kind;
    bool withHistory;
    bool personNow, targetNow;
  };
  const Row rows[] = {
      {"transit_empty_history", kChartTransit, false, false, true},
      {"horary_empty_history", kChartHorary, false, true, false},
      {"natal_empty_history", kChartNatal, false, false, false},
      {"progressed_empty_history", kChartProgressed, false, false, true},
      {"return_empty_history", kChartReturn, false, false, true},
      {"transit_from_history", kChartTransit, true, false, false},
      {"horary_from_history", kChartHorary, true, true, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    readings = 0;
    fallback.SetKind(static_cast<std::uint16_t>(r.kind));
    const ChartEntry e =
        InitialEntry(r.withHistory ? &last : nullptr, fallback, nullptr, r.kind, clock);
    const auto isNow = [](const Source& s) {
      return s.moment.date.Day() == 15 && s.moment.date.Month() == 11 &&
             s.moment.date.Year() == 2023 && s.moment.time.Hours() == 3 &&
             s.moment.time.Minutes() == 13 && s.moment.time.Seconds() == 20 &&
             s.zone.GetCorrectionHours() == 5.0;
    };
    EXPECT_EQ(isNow(e.person), r.personNow);
    EXPECT_EQ(isNow(e.target), r.targetNow);
    EXPECT_EQ(readings, r.personNow || r.targetNow ? 1 : 0);
    // The birth data and the places are never touched by the clock.
    EXPECT_EQ(e.person.Name(), "Anna");
    EXPECT_EQ(e.person.place.LatitudeDegrees(), 55);
    if (r.withHistory) {
      EXPECT_EQ(e.target.moment.date.Year(), 2025);
    }
    if (!r.personNow) {
      EXPECT_EQ(e.person.moment.date.Year(), 1985);
    }
  }
}

// With a chart active, the derived kinds and a horary chart take its birth data (whatever the
// history says), look at now from the birth place on the active chart's clock (its zone +03:00,
// not the computer's +05:00) and keep their other choices from the history; a natal entry stays
// with the history.
TEST(EntryPrefill, DerivedKindsStartFromTheActiveChartsBirthData) {
  // 1700000000 s: 14 November 2023 22:13:20 UT; the computer's zone +05:00.
  const Clock clock = [] { return ClockReading{1700000000, 5 * 3600}; };
  SuperSource active;  // a transit chart of Anna's: her birth data are in the first Source
  active.SetKind(kChartTransit);
  active.sources[0] = MakeSource("Anna", 15, 6, 1985, 8, 55);
  active.sources[1] = active.sources[2] = MakeSource("Anna", 1, 1, 2025, 12, 48);
  const struct {
    int kind;
    bool withHistory;
    const char* person;
  } rows[] = {{kChartNatal, true, "Boris"},     {kChartHorary, true, "Anna"},
              {kChartDraconic, true, "Anna"},   {kChartTransit, true, "Anna"},
              {kChartProgressed, true, "Anna"}, {kChartDirected, false, "Anna"},
              {kChartSynastry, true, "Anna"},   {kChartHarmonic, false, "Anna"},
              {kChartReturn, true, "Anna"},     {kChartLunarPhase, true, "Anna"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.kind);
    ChartEntry typed = SampleEntry();
    typed.person = MakeSource("Boris", 2, 2, 1980, 20, 60);
    const SuperSource last = DefinitionFromEntry(typed, r.kind);
    const ChartEntry e = InitialEntry(r.withHistory ? &last : nullptr, {}, &active, r.kind, clock);
    const bool anna = std::string(r.person) == "Anna";
    EXPECT_EQ(e.person.Name(), r.person);
    EXPECT_EQ(e.title.empty(), anna);
    // 22:13:20 UT is 01:13:20 the next day at +03:00.
    const auto isNowInMoscow = [](const Source& s) {
      return s.moment.date.Day() == 15 && s.moment.date.Month() == 11 &&
             s.moment.date.Year() == 2023 && s.moment.time.Hours() == 1 &&
             s.moment.time.Minutes() == 13 && s.moment.time.Seconds() == 20 &&
             s.zone.GetCorrectionHours() == 3.0 && s.place.LatitudeDegrees() == 55;
    };
    if (r.kind == kChartHorary) {
      EXPECT_TRUE(isNowInMoscow(e.person)) << "the question is asked now";
    } else {
      EXPECT_EQ(e.person.moment.date.Year(), anna ? 1985 : 1980);
    }
    if (FieldsOfKind(r.kind).target) {  // now, at the birth place, on its clock
      EXPECT_TRUE(isNowInMoscow(e.target));
    }
    if (r.withHistory) {
      EXPECT_EQ(e.second.Name(), "Boris");  // the history's other choices
    }
  }
}

TEST(EntryGroups, NatalHoraryDraconicShareTheFirstGroup) {
  const int expected[] = {0, 0, 0, 1, 2, 3, 4, 5, 6, 7};
  for (int kind = 0; kind <= 9; ++kind) EXPECT_EQ(EntryGroupOfKind(kind), expected[kind]) << kind;
  EXPECT_EQ(EntryGroupOfKind(10), 0);
  EXPECT_EQ(EntryGroupOfKind(-1), 0);
}

}  // namespace
