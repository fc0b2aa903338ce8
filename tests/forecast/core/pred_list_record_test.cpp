// Prediction records: the line form read and written byte for byte, the lines the format refuses,
// the comment's underscores, the chart-definition labels, the three record makers and the names
// of new lists.
#include "forecast/core/pred_list_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "forecast/core/life_point_events.h"
#include "forecast/core/lunar_trans.h"
#include "forecast/core/pred_list_file.h"
#include "forecast/core/transit_calculation.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"

namespace {

// Two lines written by hand from the line format: Mars exact on the Sun with the aspect's own orb,
// the transit chart against the natal chart; and the life point leaving an aspect whose angle has
// no index, on a BC date, a progressed converse chart with the user's key, marked, date only.
const std::string kTransitLine =
    "4 0 0 L E E R D 123.456789 123.500000 05:03:1999+  14:07 3 0 -1 1 1 0 0 "
    "0 0 -1 1 1 0 0 P Y Mars_on_the_Sun";
const std::string kLifePointLine =
    "2000 35 -1980 R N O D D 10.000000 -777.000000 31:12:0044-  00:00 4 1 3 2 5 1 3 "
    "3 0 -1 1 1 0 0 S N _";

Moment At(int day, int month, int year, char era, int hours, int minutes) {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(day, month, year, era).ok());
  EXPECT_TRUE(m.time.SetTime(hours, minutes).ok());
  return m;
}

TEST(PredListLine, HandWrittenLinesReadEveryFieldAndWriteTheSameBytes) {
  const std::optional<PredListRecord> mars = PredListRecord::FromText(kTransitLine);
  ASSERT_TRUE(mars);
  EXPECT_EQ(mars->ToText(), kTransitLine);
  EXPECT_EQ(mars->moving, 4);
  EXPECT_EQ(mars->phase, 'E');
  EXPECT_EQ(mars->movingMotion, 'R');
  EXPECT_DOUBLE_EQ(mars->movingLongitude, 123.456789);
  EXPECT_EQ(mars->when, At(5, 3, 1999, 'A', 14, 7));
  EXPECT_EQ(mars->comment, "Mars on the Sun");

  const std::optional<PredListRecord> lp = PredListRecord::FromText(kLifePointLine + "\r");
  ASSERT_TRUE(lp);
  EXPECT_EQ(lp->ToText(), kLifePointLine);
  EXPECT_TRUE(lp->IsLifePoint());
  EXPECT_EQ(lp->target, 35);
  EXPECT_EQ(lp->aspect, -1980);
  EXPECT_EQ(lp->when.date.Era(), 'B');
  EXPECT_EQ(lp->when.date.Year(), 44);
  EXPECT_TRUE(IsAbsent(lp->targetLongitude));
  // The file writes [0] [1] [2] [3] [5] [4] [6]: time count before arc unit.
  EXPECT_EQ(lp->movingChart, (ChartDefinition{4, 1, 3, 2, 1, 5, 3}));
  EXPECT_EQ(lp->targetChart, TransitDefinition(0));
  EXPECT_EQ(ChartDefinitionToText(lp->movingChart), "4 1 3 2 5 1 3");
  EXPECT_EQ(lp->status, 'S');
  EXPECT_EQ(lp->showTime, 'N');
  EXPECT_EQ(lp->comment, "");
}

TEST(PredListLine, EveryFieldRoundTripsThroughItsLine) {
  PredListRecord r;
  r.moving = 33;
  r.target = 45;
  r.aspect = 19;
  r.side = 'R';
  r.orbKind = 'X';
  r.phase = 'I';
  r.movingMotion = '0';
  r.targetMotion = 'R';
  r.when = At(29, 2, 2000, 'A', 23, 59);
  r.movingLongitude = 359.999999;
  r.targetLongitude = 0.0;
  r.movingChart = {-1, -1, -1, -1, -1, -1, -1};
  r.targetChart = {5, 1, 5, 32767, -32768, 7, 3};
  r.comment = "a b  c";
  r.status = 'S';
  r.showTime = 'N';
  const std::optional<PredListRecord> back = PredListRecord::FromText(r.ToText());
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, r);
}

struct CommentRow {
  const char* name;
  std::string comment;   // as the record holds it
  std::string written;   // the last field of its line
  std::string readBack;  // the comment of the line read
};

TEST(PredListLine, CommentsKeepTheirBlanksAsUnderscores) {
  const CommentRow rows[] = {
      {"empty", "", "_", ""},
      {"single_blank", " ", "_", ""},
      {"blanks", "a b  c", "a_b__c", "a b  c"},
      {"typed_underscore", "x_y", "x_y", "x y"},
      // A tab or a line end held by the record still gives one line.
      {"control_characters", "a\tb\nc\r", "a_b_c_", "a b c "},
  };
  for (const CommentRow& row : rows) {
    PredListRecord r;
    r.comment = row.comment;
    const std::string line = r.ToText();
    EXPECT_EQ(line.substr(line.rfind(' ') + 1), row.written) << row.name;
    EXPECT_EQ(line.find_first_of("\t\r\n"), std::string::npos) << row.name;
    const std::optional<PredListRecord> back = PredListRecord::FromText(line);
    ASSERT_TRUE(back) << row.name;
    EXPECT_EQ(back->comment, row.readBack) << row.name;
  }
  PredListRecord r;
  r.SetComment("tab\there\nand line " + std::string(300, 'x'));
  EXPECT_EQ(r.comment.size(), PredListRecord::kMaxComment);
  EXPECT_EQ(r.comment.substr(0, 18), "tab here and line ");
}

TEST(PredListLine, RefusesLinesOutsideTheFormat) {
  const auto with = [](std::size_t field, const std::string& value) {
    std::vector<std::string> f;
    std::string line = kTransitLine;
    std::size_t at = 0;
    while (true) {
      const std::size_t blank = line.find(' ', at);
      f.push_back(line.substr(at, blank - at));
      if (blank == std::string::npos) break;
      at = line.find_first_not_of(' ', blank);
    }
    f.at(field) = value;
    std::string out;
    for (const std::string& s : f) out += (out.empty() ? "" : " ") + s;
    return out;
  };
  const struct {
    const char* name;
    std::string line;
  } rows[] = {
      {"blank", "   "},
      {"no_comment", kTransitLine.substr(0, kTransitLine.rfind(' '))},
      {"extra_field", kTransitLine + " more"},
      {"moving_past_the_points", with(0, "34")},
      {"target_past_the_cusps", with(1, "46")},
      {"aspect_past_the_glyphs", with(2, "20")},
      {"angle_over_a_circle", with(2, "-21601")},
      {"number_with_letters", with(0, "4a")},
      {"two_letter_flag", with(3, "LR")},
      {"longitude_not_a_number", with(8, "nan")},
      {"longitude_past_the_circle", with(9, "400.000000")},
      {"day_past_the_month", with(10, "30:02:1999+")},
      {"unknown_era", with(10, "05:03:1999*")},
      {"year_zero", with(10, "05:03:0000+")},
      {"hour_24", with(11, "24:00")},
      {"chart_number_past_16_bits", with(13, "70000")},
      {"comment_of_251", with(28, std::string(251, 'c'))},
  };
  for (const auto& row : rows)
    EXPECT_FALSE(PredListRecord::FromText(row.line)) << row.name << ": " << row.line;
  EXPECT_TRUE(PredListRecord::FromText(with(28, std::string(250, 'c'))));
  EXPECT_TRUE(PredListRecord::FromText(with(2, "-21600")));
}

TEST(ChartDefinitionLabels, KindKeyAndConverse) {
  const struct {
    ChartDefinition definition;
    const char* label;  // UTF-8
  } rows[] = {
      {{3, 0, -1, 1, 0, 1, 0}, "тр"},           {{3, 1, -1, 1, 0, 1, 0}, "тр(обр)"},
      {{4, 0, 0, 1, 0, 1, 0}, "пр(втор)"},      {{4, 1, 0, 1, 0, 1, 0}, "пр(втор,обр)"},
      {{4, 0, 4, 1, 0, 1, 0}, "пр(свои)"},      {{5, 0, 4, 1, 0, 1, 0}, "дир(проф)"},
      {{5, 1, 5, 1, 0, 1, 0}, "дир(свои,обр)"}, {{0, 0, -1, 1, 0, 1, 0}, "нат"},
      {{6, 1, 1, 1, 0, 1, 0}, "син"},  // converse only for the moving kinds
      {{10, 0, -1, 1, 0, 1, 0}, "loc"},         {{4, 0, -1, 1, 0, 1, 0}, "пр"},  // no key kind
      {{4, 1, 7, 1, 0, 1, 0}, "пр(обр)"},  // a key kind that is none of the keys
      {{11, 0, -1, 1, 0, 1, 0}, "11"},          {{-1, 0, -1, 1, 0, 1, 0}, "-1"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ChartDefinitionLabel(row.definition), Cp1251(row.label)) << row.label;
}

// An aspect system of three aspects: 0 degrees (index 0), 90 (index 2), 33 (no index).
AspectSystem ThreeAspects() {
  AspectSystem system("TEST", "TEST.asp");
  std::vector<Aspect> aspects(3);
  aspects[0].angle = 0.0;
  aspects[1].angle = 90.0;
  aspects[2].angle = 33.0;
  system.SetAspects(aspects);
  return system;
}

Chart ChartOfKind(int kind, int converse, int keyKind = -1) {
  Chart chart;
  chart.definition.SetKind(static_cast<std::uint16_t>(kind));
  chart.definition.converse = static_cast<std::uint16_t>(converse);
  chart.definition.keyKind = static_cast<std::uint16_t>(keyKind);
  chart.definition.key = {2, 3, 4, 5};
  return chart;
}

TEST(PredListMakers, TransitEventsAreTakenOverWithTheirCharts) {
  TransitEventRecord e;
  e.transiting = 6;
  e.target = 40;
  e.code = -1230;  // an own angle of 20 degrees 30 minutes
  e.side = 'R';
  e.orbKind = 'E';
  e.event = 'I';
  e.transitingMotion = 'R';
  e.targetMotion = 'D';
  e.moment = At(1, 2, 2003, 'A', 4, 5);
  e.transitingLongitude = 12.5;
  e.targetLongitude = 300.25;
  const Chart progressed = ChartOfKind(kChartProgressed, 1, 0);
  const Chart natal = ChartOfKind(kChartNatal, 0);
  const PredListRecord r = PredListRecord::FromTransitEvent(e, progressed, &natal, true, false);
  EXPECT_EQ(r.moving, 6);
  EXPECT_EQ(r.target, 40);
  EXPECT_EQ(r.aspect, -1230);
  EXPECT_EQ(std::string({r.side, r.orbKind, r.phase, r.movingMotion, r.targetMotion}), "REIRD");
  EXPECT_EQ(r.when, e.moment.GetPlainMoment());
  EXPECT_EQ(r.movingLongitude, 12.5);
  EXPECT_EQ(r.targetLongitude, 300.25);
  EXPECT_EQ(r.showTime, 'N');
  EXPECT_EQ(r.status, 'P');
  EXPECT_EQ(r.comment, "");
  EXPECT_EQ(r.movingChart, (ChartDefinition{4, 1, 0, 2, 3, 4, 5}));
  EXPECT_EQ(r.targetChart, (ChartDefinition{0, 0, -1, 2, 3, 4, 5}));
  const PredListRecord alone = PredListRecord::FromTransitEvent(e, progressed, &natal, false, true);
  EXPECT_EQ(alone.targetChart, alone.movingChart);
  EXPECT_EQ(alone.showTime, 'Y');
  // The bodies move in the transit chart of the document's chart, compared with the document's
  // own chart when no natal chart stands behind it.
  const std::pair<Chart, ChartDefinition> kinds[] = {
      {ChartOfKind(kChartHorary, 1), TransitDefinition(0)},
      {ChartOfKind(8, 1), TransitDefinition(1)},  // a converse return runs the clock backward
      {ChartOfKind(kChartDirected, 0, 2), {5, 0, 2, 2, 3, 4, 5}}};
  for (const auto& [chart, moving] : kinds)
    EXPECT_EQ(PredListRecord::FromTransitEvent(e, chart, nullptr, false, true).movingChart, moving);
  const PredListRecord compared = PredListRecord::FromTransitEvent(e, natal, nullptr, true, true);
  EXPECT_EQ(compared.movingChart, TransitDefinition(0));
  EXPECT_EQ(compared.targetChart, FullDefinition(natal));
}

TEST(PredListMakers, LunarEventsByChartKindTargetAndAspect) {
  const AspectSystem system = ThreeAspects();
  LunarTransitEvent e;
  e.target = 1003;  // the cusp of house 4
  e.aspect = 1;     // 90 degrees
  e.side = 'L';
  e.phase = 'O';
  e.motion = 'D';
  e.moonTarget = 100.0;
  e.pointLongitude = 10.0;
  const struct {
    const char* name;
    Chart chart;
    bool natalTarget;
    ChartDefinition moving, target;
    char showTime;
  } rows[] = {
      {"transit_converse",
       ChartOfKind(3, 1),
       false,
       {3, 1, -1, 1, 0, 1, 0},
       {3, 1, -1, 1, 0, 1, 0},
       'Y'},
      {"progressed",
       ChartOfKind(4, 0, 2),
       true,
       {4, 0, 2, 2, 3, 4, 5},
       {0, 0, -1, 1, 0, 1, 0},
       'N'},
      {"natal", ChartOfKind(0, 1), false, {3, 0, -1, 1, 0, 1, 0}, {3, 0, -1, 1, 0, 1, 0}, 'Y'},
  };
  for (const auto& row : rows) {
    const std::optional<PredListRecord> r =
        PredListRecord::FromLunarEvent(e, row.chart, row.natalTarget, &system);
    ASSERT_TRUE(r) << row.name;
    EXPECT_EQ(r->moving, 1) << row.name;
    EXPECT_EQ(r->target, 34 + 3) << row.name;
    EXPECT_EQ(r->aspect, 2) << row.name;
    EXPECT_EQ(r->orbKind, 'N');
    EXPECT_EQ(r->phase, 'O');
    EXPECT_EQ(r->movingLongitude, 100.0);
    EXPECT_EQ(r->targetLongitude, 10.0);
    EXPECT_EQ(r->movingChart, row.moving) << row.name;
    EXPECT_EQ(r->targetChart, row.target) << row.name;
    EXPECT_EQ(r->showTime, row.showTime) << row.name;
  }
  e.aspect = 2;  // 33 degrees: no index, minus the angle in minutes
  EXPECT_EQ(PredListRecord::FromLunarEvent(e, rows[0].chart, false, &system)->aspect, -1980);
  e.aspect = 3;  // outside the system
  EXPECT_EQ(PredListRecord::FromLunarEvent(e, rows[0].chart, false, &system)->aspect,
            kPredUnknownAspect);
  e.target = 1105;  // the ingress into Virgo
  EXPECT_FALSE(PredListRecord::FromLunarEvent(e, rows[0].chart, false, &system));
}

TEST(PredListMakers, LifePointEventsTakeTheDocumentChartOrTheNatalChart) {
  const AspectSystem system = ThreeAspects();
  LifePointEvent e;
  e.target = 7;
  e.aspect = 0;
  e.side = 'R';
  e.phase = 'E';
  e.reachLongitude = 45.0;
  e.targetLongitude = 45.0;
  e.targetMotion = 'R';
  const struct {
    const char* name;
    Chart chart;
    bool toThisChart;
    ChartDefinition moving, target;
  } rows[] = {
      {"to_natal", ChartOfKind(3, 1), false, {3, 1, -1, 1, 0, 1, 0}, {0, 0, -1, 1, 0, 1, 0}},
      {"transit", ChartOfKind(3, 1), true, {3, 1, -1, 1, 0, 1, 0}, {3, 1, -1, 1, 0, 1, 0}},
      {"directed", ChartOfKind(5, 0, 3), true, {3, 0, -1, 1, 0, 1, 0}, {5, 0, 3, 2, 3, 4, 5}},
      {"return", ChartOfKind(8, 1, 0), true, {3, 1, -1, 1, 0, 1, 0}, {8, 0, -1, 1, 0, 1, 0}},
  };
  for (const auto& row : rows) {
    const std::optional<PredListRecord> r =
        PredListRecord::FromLifePointEvent(e, row.chart, row.toThisChart, &system);
    ASSERT_TRUE(r) << row.name;
    EXPECT_EQ(r->moving, kPredLifePoint);
    EXPECT_EQ(r->target, 7);
    EXPECT_EQ(r->aspect, 0);
    EXPECT_EQ(std::string({r->side, r->orbKind, r->phase, r->movingMotion, r->targetMotion}),
              "RNEDR");
    EXPECT_EQ(r->showTime, 'N');
    EXPECT_EQ(r->movingChart, row.moving) << row.name;
    EXPECT_EQ(r->targetChart, row.target) << row.name;
  }
  e.target = 1011;  // the cusp of house 12
  EXPECT_EQ(PredListRecord::FromLifePointEvent(e, rows[0].chart, false, &system)->target, 45);
  e.target = 1100;  // the ingress into Aries
  EXPECT_FALSE(PredListRecord::FromLifePointEvent(e, rows[0].chart, false, &system));
}

TEST(PredListArc, FoldedBetweenTheLongitudesAndNeverOfAnAbsentOne) {
  PredListRecord r;
  r.movingLongitude = 350.0;
  r.targetLongitude = 10.5;
  EXPECT_EQ(PredArcText(r), "20.50");
  r.movingLongitude = 100.0;
  r.targetLongitude = 280.0;
  EXPECT_EQ(PredArcText(r), "180.00");
  r.targetLongitude = kAbsent;
  EXPECT_EQ(PredArcText(r), "");
}

TEST(NewListNames, CleanedForAFileName) {
  const struct {
    const char* typed;  // UTF-8
    const char* clean;
  } rows[] = {
      {" my list?", "MYLIST_"},
      {"a/b\\c.d:e", "A_B_C_D_E"},
      {"x\ty", "X_Y"},
      {"тест-ё!_9", "ТЕСТ-Ё!_9"},
      {"(*)|<>=\"'`~@#$%^&;,", "___________________"},
  };
  for (const auto& row : rows) {
    std::string name = Cp1251(row.typed);
    ASSERT_TRUE(CleanListName(name).ok()) << row.typed;
    EXPECT_EQ(name, Cp1251(row.clean)) << row.typed;
  }
  std::string blanks = "   ";
  EXPECT_EQ(CleanListName(blanks).MessageNumber(), kMsgNewListName);
  EXPECT_EQ(blanks, "   ");
}

}  // namespace
