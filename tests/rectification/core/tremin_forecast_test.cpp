// The Tremin year forecast: its settings block, the events it forecasts, the point and house
// values worked by hand on synthetic charts, the order of the rows, the year's computation on a
// real chart, and the checks of its dialog.
//
// The synthetic natal chart: cusp h at 10 + 30h; object k (0..9) at 22 + 25k, Proserpina at 149;
// all speeds 0, so that with the conjunction-only system (orb 6) the one pair in aspect is Jupiter
// (147) with Proserpina (149). Without Proserpina's slots the sign rows are: Aries Mars (122),
// Pluto (247), Sun (22); Gemini Mercury (72) alone; Sagittarius Jupiter (147), Neptune (222),
// Pluto (247).
#include "rectification/core/tremin_forecast.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "astro/chart/chart_context.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "rectification/core/tremin_fixture.h"
#include "rectification/core/tremin_forecast_page.h"

namespace {

Chart Natal() {
  std::vector<double> at;
  for (int k = 0; k < 10; ++k) at.push_back(22.0 + 25.0 * k);
  at.push_back(149.0);
  return MakeChart(at, 10.0);
}

TEST(TreminForecast, SettingsBlockRoundTripAndRanges) {
  Configuration config;
  TmForecastSettings s;
  s.mode = 1;
  s.year = -44;
  s.periodFrom = -50;
  s.periodTo = 12;
  s.fontSize = 3200;
  s.order = 1;
  s.applying = "APPL";
  s.separating = "SEPA";
  s.sortByDate = false;
  s.sortByText = true;
  s.event = Cp1251("Свадьба");
  s.fillWhenPrinting = false;
  WriteTmForecastSettings(config, s);
  TmForecastSettings yearForecast = s;
  yearForecast.mode = 0;  // the period mode has no view: a stored 1 reads as the year forecast
  EXPECT_EQ(ReadTmForecastSettings(config), yearForecast);

  using F = cfg::TreminForecast;
  struct Case {
    const char* name;
    std::int16_t year, font, order, mode;
    int expectedYear, expectedFont, expectedOrder, expectedMode;
  };
  const Case cases[] = {
      {"year 0", 0, 2500, 0, 0, 2000, 2500, 0, 0},
      {"year beyond", 3001, 2500, 0, 0, 2000, 2500, 0, 0},
      {"font too small", 1990, 50, 2, 0, 1990, 100, 2, 0},
      {"font too large", 1990, 20000, 3, 5, 1990, 10000, 0, 0},
      {"stored mode 1", 1990, 2500, 1, 1, 1990, 2500, 1, 0},
  };
  for (const Case& c : cases) {
    config.treminForecast.Set(F::kYear, c.year);
    config.treminForecast.Set(F::kFontSize, c.font);
    config.treminForecast.Set(F::kOrder, c.order);
    config.treminForecast.Set(F::kMode, c.mode);
    const TmForecastSettings r = ReadTmForecastSettings(config);
    EXPECT_EQ(std::tie(r.year, r.fontSize, r.order, r.mode),
              std::tie(c.expectedYear, c.expectedFont, c.expectedOrder, c.expectedMode))
        << c.name;
  }
}

TEST(TreminForecast, BirthsOfParentsAreNotForecast) {
  struct Case {
    const char* text;
    char status;
    bool forecast;
  };
  const Case cases[] = {
      {"Рождение отца", 'Y', false},           // small letters upper-cased in code page 1251
      {"РОЖДЕНИЕ МАТЕРИ", 'Y', false},         //
      {"рождение матери (дата)", 'Y', false},  //
      {"Рождение сына", 'Y', true},            // a birth alone is forecast
      {"Смерть отца", 'Y', true},              // the father alone too
      {"Свадьба", 'N', false},                 // switched off
      {"Ёлка, рождение и матери", 'Y', false},
  };
  for (const Case& c : cases) {
    LifeEvent e;
    ASSERT_TRUE(e.Set(Cp1251(c.text), 1, 1, 2000, "", "Y").ok());
    e.status = c.status;
    EXPECT_EQ(IsTmForecastEvent(e), c.forecast) << c.text;
  }
}

TEST(TreminForecast, OrderKeysOfTextAndProbability) {
  // Positions in the alphabet of life events: blank 0, '_' 1, '-' 2, А 3, Б 4, В 5, ..., its
  // length 156 for a missing character or one it lacks.
  EXPECT_DOUBLE_EQ(TmTextOrderKey(Cp1251("АБВ")), -(40000.0 * 3 + 200.0 * 4 + 5));
  EXPECT_DOUBLE_EQ(TmTextOrderKey(Cp1251("абв")), TmTextOrderKey(Cp1251("АБВ")));
  EXPECT_DOUBLE_EQ(TmTextOrderKey(Cp1251("А")), -(40000.0 * 3 + 200.0 * 156 + 156));
  EXPECT_DOUBLE_EQ(TmTextOrderKey(Cp1251("А№")), TmTextOrderKey(Cp1251("А")));
  EXPECT_DOUBLE_EQ(TmTextOrderKey(""), -(40000.0 + 200.0 + 1) * 156);

  std::vector<TmForecastRow> rows(4);
  const char* texts[] = {"Брак", "авто", "Авария", "Я"};
  const std::array<double, 3> totals[] = {{10, 20, 30}, {50, 0, 0}, {30, 30, 30}, {0, 50, 1}};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].text = Cp1251(texts[i]);
    rows[i].total = totals[i];
  }
  EXPECT_EQ(TmForecastOrder(rows, 0), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(TmForecastOrder(rows, 1), (std::vector<int>{2, 1, 0, 3}));
  // Largest totals 30, 50, 30, 50: equal keys keep the list's order.
  EXPECT_EQ(TmForecastOrder(rows, 2), (std::vector<int>{1, 3, 0, 2}));
}

TEST(TreminForecast, PointValuesByHand) {
  const AspectSystem conj = ConjunctionOnly();
  TmRect rect(&conj, &conj);
  rect.FillRulers(0);
  const Chart natal = Natal();
  const TmPairTable pairs(natal, &conj, &conj);
  struct Case {
    const char* name;
    int h;
    double longitude, value;
  };
  const Case cases[] = {
      {"on the cusp", 0, 10.9, 100},                // cusp 1 at 10
      {"one of three rulers", 0, 122.5, 50},        // Mars
      {"no ruler", 0, 333, 0},                      //
      {"the only ruler of Gemini", 2, 72.5, 100},   // Mercury; cusp 3 at 70 is 2.5 away
      {"through Jupiter's partner", 8, 149.5, 50},  // Proserpina, in aspect with Jupiter
      {"absent longitude", 0, kAbsent, 0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(rect.PointValue(natal, pairs, c.longitude, c.h), c.value) << c.name;
}

TEST(TreminForecast, HouseValuesByHand) {
  const AspectSystem conj = ConjunctionOnly();
  TmRect rect(&conj, &conj);
  rect.FillRulers(0);
  const Chart natal = Natal();
  const TmPairTable pairs(natal, &conj, &conj);
  std::vector<double> far(kTmObjectCount, 333.0);

  // The derived cusp 1 on the natal cusp 1, every planet far: 100/3. House 1 spans Aries and
  // Taurus, whose rulers (Mars, Pluto, Sun, Venus, Moon) score 0 at 333.
  const Chart cuspOnly = MakeChart(far, 10.0);
  EXPECT_DOUBLE_EQ(rect.HouseValue(natal, pairs, cuspOnly, 0), 100.0 / 3.0);

  // Gemini (house 3) with Mercury on the natal cusp 3 (70.5) and the derived cusp far (85):
  // (0 + 1/2 x 100 + mean(Mercury 100, Sun 0, Moon 0, Jupiter 0 for Cancer)) / 3 = 25.
  std::vector<double> mercury = far;
  mercury[2] = 70.5;
  const Chart gemini = MakeChart(mercury, 25.0);
  EXPECT_DOUBLE_EQ(rect.HouseValue(natal, pairs, gemini, 2), 25.0);

  // Aries (three rulers, w = 1/3), Mars, Pluto and the Sun on the natal cusp 1 (10.5):
  // (0 + 1/3 x 300 + mean(100, 100, 100, 0, 0)) / 3 = 160/3.
  std::vector<double> aries = far;
  for (int k : {4, 9, 0}) aries[static_cast<std::size_t>(k)] = 10.5;
  const Chart ariesChart = MakeChart(aries, 25.0);
  EXPECT_DOUBLE_EQ(rect.HouseValue(natal, pairs, ariesChart, 0), 160.0 / 3.0);

  // The event's score: the mean over its houses; 0 without one.
  LifeEvent event;
  ASSERT_TRUE(event.Set("e", 1, 1, 2000, "", "YNY").ok());
  // House 1 of that chart: its cusp (25) and every Aries or Taurus ruler miss: 0.
  EXPECT_DOUBLE_EQ(rect.ForecastScore(natal, pairs, gemini, event), (0.0 + 25.0) / 2.0);
  ASSERT_TRUE(event.Set("e", 1, 1, 2000, "", "").ok());
  EXPECT_DOUBLE_EQ(rect.ForecastScore(natal, pairs, cuspOnly, event), 0.0);
}

TEST(TreminForecast, YearOfRealCharts) {
  SearchFixture f;
  ASSERT_TRUE(f.events.Add(Cp1251("Рождение отца"), 1, 1, 1950, "", "Y").ok());
  ASSERT_TRUE(f.events.Add("off", 1, 1, 2001, "", "Y").ok());
  f.events.Event(3).status = kLifeEventLeftOut;
  ASSERT_TRUE(f.events.Add("no houses", 1, 1, 2002, "Y", "").ok());
  const ChartContext ctx(f.config, f.aspectarium);
  TmForecastSettings settings;
  settings.applying = settings.separating = "VELM";

  TmYearForecast forecast;
  settings.separating = "NOPE";
  EXPECT_EQ(forecast.Prepare(ctx, settings).MessageNumber(), kMsgAspectSystemNotFound);
  settings.separating = "VELM";
  ASSERT_TRUE(forecast.Prepare(ctx, settings).ok());
  EXPECT_EQ(forecast.SetNatAndYear(ctx, f.chart, 0).MessageNumber(), kMsgBadYear);
  ASSERT_TRUE(forecast.SetNatAndYear(ctx, f.chart, 2015).ok());
  EXPECT_EQ(forecast.Natal().definition.Kind(), kChartNatal);
  EXPECT_TRUE(forecast.Natal().cusps[0].IsSet());

  testing_support::RecordingProgress progress;
  std::vector<Status> warnings;
  ASSERT_TRUE(forecast.CalculateYear(ctx, f.events, 0, progress, warnings).ok());
  EXPECT_TRUE(warnings.empty());
  const auto& rows = forecast.Rows();
  ASSERT_EQ(rows.size(), 3u);  // move, wedding, no houses; not the father's birth, not "off"
  EXPECT_EQ(rows[0].text, "move");
  EXPECT_EQ(rows[2].text, "no houses");
  for (const TmForecastRow& r : rows)
    for (std::size_t d = 0; d < 3; ++d) {
      EXPECT_DOUBLE_EQ(r.total[d], (r.parts[d][0] + r.parts[d][1]) / 2.0) << r.text;
      for (double v : r.parts[d]) EXPECT_TRUE(v >= 0.0 && v <= 100.0) << r.text;
    }
  for (std::size_t d = 0; d < 3; ++d) EXPECT_EQ(rows[2].total[d], 0.0);
  EXPECT_EQ(progress.positions, (std::vector<int>{33, 66, 100}));

  // A year before the birth: the life point scores nothing, and 1003 is said once.
  ASSERT_TRUE(forecast.SetNatAndYear(ctx, f.chart, 1980).ok());
  ASSERT_TRUE(forecast.CalculateYear(ctx, f.events, 2, progress, warnings).ok());
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].MessageNumber(), kMsgLifePointBirthLater);
  for (const TmForecastRow& r : forecast.Rows())
    for (std::size_t d = 0; d < 3; ++d) EXPECT_EQ(r.parts[d][2], 0.0);
  const std::vector<int>& order = forecast.Order();
  ASSERT_EQ(order.size(), 3u);
  const auto best = [&](int r) {
    const auto& t = forecast.Rows()[static_cast<std::size_t>(r)].total;
    return *std::max_element(t.begin(), t.end());
  };
  EXPECT_TRUE(best(order[0]) >= best(order[1]) && best(order[1]) >= best(order[2]));

  // Nothing to forecast: message 1933 and no rows; a cancel leaves no rows either.
  LifeEventList parents;
  ASSERT_TRUE(parents.Add(Cp1251("рождение матери"), 1, 1, 1955, "", "Y").ok());
  EXPECT_EQ(forecast.CalculateYear(ctx, parents, 0, progress, warnings).MessageNumber(),
            kMsgNoForecastEvent);
  EXPECT_TRUE(forecast.Rows().empty());
  progress.cancelAt = 0;
  EXPECT_EQ(forecast.CalculateYear(ctx, f.events, 0, progress, warnings).MessageNumber(),
            kMsgRectificationCancelled);
  EXPECT_TRUE(forecast.Rows().empty());
}

TEST(TreminForecastPage, YearOfTheChartAndOkChecks) {
  Chart natal;
  Chart progressed;
  progressed.definition.SetKind(kChartProgressed);
  ASSERT_TRUE(progressed.definition.sources[1].moment.date.SetDate(15, 5, 1990, 'A').ok());
  Chart directedBc;
  directedBc.definition.SetKind(kChartDirected);
  ASSERT_TRUE(directedBc.definition.sources[1].moment.date.SetDate(1, 1, 30, 'B').ok());
  TmForecastSettings block;
  block.year = 2005;
  EXPECT_EQ(TmForecastPage(block, natal).values.year, 2005);
  EXPECT_EQ(TmForecastPage(block, progressed).values.year, 1990);
  EXPECT_EQ(TmForecastPage(block, directedBc).values.year, -30);

  LifeEventList events;
  ASSERT_TRUE(events.Add("move", 1, 1, 2000, "", "Y").ok());
  LifeEventList allOff = events;
  allOff.Event(0).status = kLifeEventLeftOut;
  const LifeEventList empty;
  struct Case {
    const char* name;
    int mode, year;
    const LifeEventList* list;
    const char* choice;
    int expected;
  };
  const Case cases[] = {
      {"accepted", 0, 1990, &events, "move", 0},
      {"year 0", 0, 0, &events, "move", 777},
      {"before Christ", 0, -44, &events, "move", 0},
      {"beyond 3000", 0, 3001, &events, "move", 776},
      {"empty list", 0, 1990, &empty, "", 1035},
      {"nothing switched on", 0, 1990, &allOff, "move", 1035},
      // The event choice is hidden in mode 0: what it holds is not checked.
      {"unknown choice, mode 0", 0, 1990, &events, "nothing", 0},
      {"unknown choice, mode 1", 1, 1990, &events, "nothing", 1037},
      {"known choice, mode 1, switched off", 1, 1990, &allOff, "move", 0},
  };
  for (const Case& c : cases) {
    TmForecastPage page(block, natal);
    page.values.mode = c.mode;
    page.values.year = c.year;
    page.eventChoice = c.choice;
    EXPECT_EQ(page.CheckOk(*c.list), c.expected) << c.name;
  }
}

TEST(TreminForecastPage, ModesEnableTheirControlsAndOkStores) {
  TmForecastSettings block;
  block.event = "b";
  TmForecastPage page(block, Chart{});
  LifeEventList events;
  for (const char* t : {"a", "b"}) ASSERT_TRUE(events.Add(t, 1, 1, 2000, "", "Y").ok());
  const LifeEventList empty;
  using P = TmForecastPage;
  struct Case {
    P::Control control;
    bool mode0, mode1, mode0Empty;
  };
  const Case cases[] = {
      {P::kYear, true, false, true},        {P::kOrderProbability, true, false, true},
      {P::kFont, true, false, true},        {P::kFill, true, false, true},
      {P::kPeriodFrom, false, true, false}, {P::kEventChoice, false, true, false},
      {P::kEventList, true, true, false},   {P::kEventExport, true, true, false},
  };
  for (const Case& c : cases) {
    page.values.mode = 0;
    EXPECT_EQ(page.Enabled(c.control, events), c.mode0) << c.control;
    EXPECT_EQ(page.Enabled(c.control, empty), c.mode0Empty) << c.control;
    page.values.mode = 1;
    EXPECT_EQ(page.Enabled(c.control, events), c.mode1) << c.control;
  }
  EXPECT_EQ(TmForecastPage::EventTexts(events), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(TmForecastPage::ChosenEvent(events, "b"), 1);
  EXPECT_EQ(TmForecastPage::ChosenEvent(events, "c"), 0);

  // A block stored with mode 1 opens with the year enabled, and OK takes a typed event text that
  // the hidden choice would have refused.
  Configuration config;
  TmForecastSettings periodMode = block;
  periodMode.mode = 1;
  WriteTmForecastSettings(config, periodMode);
  TmForecastPage reopened(ReadTmForecastSettings(config), Chart{});
  EXPECT_TRUE(reopened.Enabled(P::kYear, events));
  EXPECT_FALSE(reopened.Enabled(P::kEventChoice, events));
  reopened.eventChoice = "nothing";
  EXPECT_EQ(reopened.CheckOk(events), 0);

  page.values.mode = 0;
  page.values.year = -100;
  page.eventChoice = "a";
  page.Store(config);
  const TmForecastSettings stored = ReadTmForecastSettings(config);
  EXPECT_EQ(stored.year, -100);
  EXPECT_EQ(stored.event, "a");
}

}  // namespace
