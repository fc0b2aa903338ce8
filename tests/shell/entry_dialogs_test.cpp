// The chart entry dialogs driven offscreen: each kind's entry gives the right Sources and fields,
// bad fields are refused with the catalogue's message while the dialog stays open, the history
// presets the next entry and keeps 30, the town list fills the place, the chart-kind dialog, and
// a natal chart of published birth data against an almanac.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QSpinBox>
#include <QTableWidget>
#include <functional>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_header.h"
#include "document/aspects_list_box.h"
#include "foundation/atlas/towns.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/dialog.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_time_zones.h"
#include "shell/core/entry/entry_history.h"
#include "shell/core/entry/entry_text.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/entry/choose_chart_type.h"
#include "shell/entry/enter_chart.h"
#include "shell/entry/source_box.h"
#include "support/test_support.h"

namespace {

using platform::ModalDriver;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;

// What the user types into one Source's fields (UTF-8).
struct Typed {
  const char* name;
  const char* date;
  bool bc;
  const char* time;
  const char* zone;
  const char* latitude;
  const char* longitude;
  const char* town;
};

const Typed kAnna{"Анна", "15.06.1985", false, "08:30", "+03:00", "55N45", "037E37", "Москва"};
const Typed kBoris{"Борис", "2.2.1980", false, "20:05", "+2", "50N27", "030E31", "Киев"};
const Typed kTarget{"", "01.01.2025", false, "12:00", "+03:00", "59N57", "030E19", "Петербург"};

void Type(entry::SourceBox* box, const Typed& t) {
  ASSERT_NE(box, nullptr);
  if (box->NameEdit() != nullptr) box->NameEdit()->setText(QString::fromUtf8(t.name));
  box->DateEdit()->setText(QString::fromUtf8(t.date));
  box->EraBox()->setCurrentIndex(t.bc ? 1 : 0);
  box->TimeEdit()->setText(QString::fromUtf8(t.time));
  box->ZoneEdit()->setText(QString::fromUtf8(t.zone));
  box->LatitudeEdit()->setText(QString::fromUtf8(t.latitude));
  box->LongitudeEdit()->setText(QString::fromUtf8(t.longitude));
  box->TownEdit()->setText(QString::fromUtf8(t.town));
  box->RegionEdit()->clear();
}

// Types a field as a person would.
void Edit(QLineEdit* field, const char* text) {
  field->setText(QString::fromUtf8(text));
  Q_EMIT field->textEdited(field->text());
}

// Presses OK; kIdOk when the dialog closed with OK.
int PressOk(entry::ChartEntryDialog& d) {
  d.accept();
  return d.result() == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
}

class EntryDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSettings().SetFolder(folder_.Path());
    ModalDriver::Clear();
    ModalDriver::SetStrict(true);
  }
  void TearDown() override {
    EXPECT_TRUE(ModalDriver::Unanswered().empty()) << "a dialog ran without an answer";
    ModalDriver::Clear();
    GetSettings().SetFolder({});
  }
  // Answers the next entry dialog of `kind` with `answer`.
  template <class T>
  void Answer(std::function<int(entry::ChartEntryDialog&)> answer) {
    ModalDriver::Expect<T>([answer](T& d) { return answer(d); });
  }

  TempFolder folder_;
  ScriptedPrompter prompts_;
};

void AnswerKind(int kind, std::function<int(entry::ChartEntryDialog&)> answer) {
  const auto as = [answer](auto& d) { return answer(d); };
  switch (kind) {
    case kChartTransit:
      return ModalDriver::Expect<entry::CD_ENTER_Transit>(as);
    case kChartProgressed:
      return ModalDriver::Expect<entry::CD_ENTER_Progressed>(as);
    case kChartDirected:
      return ModalDriver::Expect<entry::CD_ENTER_Directed>(as);
    case kChartSynastry:
      return ModalDriver::Expect<entry::CD_ENTER_Synastry>(as);
    case kChartHarmonic:
      return ModalDriver::Expect<entry::CD_ENTER_Harmonic>(as);
    case kChartReturn:
      return ModalDriver::Expect<entry::CD_ENTER_Return>(as);
    case kChartLunarPhase:
      return ModalDriver::Expect<entry::CD_ENTER_LunarPhase>(as);
    default:
      return ModalDriver::Expect<entry::CD_ENTER_Natal>(as);
  }
}

struct KindRow {
  const char* name;
  int kind;
  // What Sources 0..2 hold: A Anna, B Boris, T the target under Anna's name, ? the moment found.
  const char* sources;
  std::uint16_t keyKind;
  ProgressionKey key;
  std::uint16_t converse;
};

const KindRow kKindRows[] = {
    {"natal", kChartNatal, "AAA", kNoKeyKind, {}, 0},
    {"horary", kChartHorary, "AAA", kNoKeyKind, {}, 0},
    {"draconic", kChartDraconic, "AAA", kNoKeyKind, {}, 0},
    {"transit_converse", kChartTransit, "ATT", kNoKeyKind, {}, 1},
    {"progressed_own_key", kChartProgressed, "ATT", 4, {3, 2, 5, 1}, 1},
    {"directed_own_key", kChartDirected, "ATT", 5, {3, 2, 5, 1}, 1},
    {"synastry_composite", kChartSynastry, "ABB", 1, {}, 0},
    {"harmonic_7", kChartHarmonic, "AAA", kNoKeyKind, {7, 0, 0, 0}, 0},
    {"solar_return", kChartReturn, "A?T", 1, {0, 0, 0, 0}, 0},
    {"lunar_phase", kChartLunarPhase, "A?T", 0, {}, 0},
};

class EntryDialogKinds : public EntryDialogs, public ::testing::WithParamInterface<KindRow> {};

TEST_P(EntryDialogKinds, EachKindFillsItsSourcesAndFields) {
  const KindRow& row = GetParam();
  AnswerKind(row.kind, [](entry::ChartEntryDialog& d) {
    Type(d.PersonBox(), kAnna);
    if (d.SecondBox() != nullptr) Type(d.SecondBox(), kBoris);
    if (d.TargetBox() != nullptr) Type(d.TargetBox(), kTarget);
    d.TitleEdit()->setText(QStringLiteral("Проба"));
    if (d.MethodBox() != nullptr) {
      d.MethodBox()->setCurrentIndex(d.MethodBox()->count() - 1);  // the user's key
      d.ArcCountBox()->setValue(3);
      d.ArcUnitBox()->setCurrentIndex(1);
      d.TimeCountBox()->setValue(5);
      d.TimeUnitBox()->setCurrentIndex(0);
    }
    if (d.ConverseBox() != nullptr) d.ConverseBox()->setChecked(true);
    if (d.CompositeBox() != nullptr) d.CompositeBox()->setChecked(true);
    if (d.HarmonicBox() != nullptr) d.HarmonicBox()->setValue(7);
    if (d.ReturnBodyBox() != nullptr) d.ReturnBodyBox()->setCurrentIndex(0);
    return PressOk(d);
  });
  SuperSource d;
  ASSERT_TRUE(EnterChartOfKind(d, row.kind));
  EXPECT_EQ(d.Kind(), row.kind);
  EXPECT_EQ(d.Title(), Cp1251("Проба"));
  EXPECT_EQ(d.keyKind, row.keyKind);
  EXPECT_EQ(d.key, row.key);
  EXPECT_EQ(d.converse, row.converse);
  for (std::size_t i = 0; i < 3; ++i) {
    if (row.sources[i] == '?') continue;
    const Source& s = d.sources[i];
    const Typed& t = row.sources[i] == 'B' ? kBoris : row.sources[i] == 'T' ? kTarget : kAnna;
    EXPECT_EQ(s.Name(), Cp1251(row.sources[i] == 'B' ? "Борис" : "Анна")) << i;
    EXPECT_EQ(DateText(s.moment.date), row.sources[i] == 'B' ? "02.02.1980" : t.date) << i;
    EXPECT_EQ(LatitudeText(s.place), t.latitude) << i;
    EXPECT_EQ(s.place.Town(), Cp1251(t.town)) << i;
  }
  if (row.kind == kChartSynastry) {
    EXPECT_EQ(ZoneText(d.sources[1].zone), "+02:00");
  }
  if (row.kind == kChartReturn) {
    // The Sun returns to its birth longitude (24 Gemini) on 14 or 15 June 2025.
    const FDate& found = d.sources[1].moment.date;
    EXPECT_EQ(found.Year(), 2025);
    EXPECT_EQ(found.Month(), 6);
    EXPECT_GE(found.Day(), 14);
    EXPECT_LE(found.Day(), 15);
    EXPECT_EQ(d.sources[1].place.Town(), Cp1251("Петербург"));
  }
  if (row.kind == kChartLunarPhase) {
    const double days = d.sources[1].moment.JulianDay() - 2460676.5;  // from 1 Jan 2025 0h
    EXPECT_GE(days, 0.0);
    EXPECT_LE(days, 30.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Entry, EntryDialogKinds, ::testing::ValuesIn(kKindRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadField {
  const char* name;
  const char* field;  // date, time, zone, latitude, longitude
  const char* text;
  int message;
};

const BadField kBadFields[] = {
    {"day_31_april", "date", "31.04.1990", 775},   {"year_0", "date", "01.01.0", 777},
    {"month_13", "date", "01.13.1990", 656},       {"time_24_00", "time", "24:00", 659},
    {"zone_16_30", "zone", "+16:30", 659},         {"latitude_90", "latitude", "90N00", 778},
    {"longitude_200", "longitude", "200E00", 778},
};

class EntryDialogRefusals : public EntryDialogs, public ::testing::WithParamInterface<BadField> {};

TEST_P(EntryDialogRefusals, RefusedWithTheMessageAndTheDialogStaysOpen) {
  const BadField& bad = GetParam();
  for (int kind : {kChartNatal, kChartTransit}) {
    auto dialog = entry::MakeEntryDialog(kind);
    dialog->OnInitDialog();
    Type(dialog->PersonBox(), kAnna);
    if (dialog->TargetBox() != nullptr) Type(dialog->TargetBox(), kTarget);
    // The natal dialog gets the bad text in its birth data, the transit one in its target.
    entry::SourceBox* box = kind == kChartNatal ? dialog->PersonBox() : dialog->TargetBox();
    const std::string f = bad.field;
    QLineEdit* edit = f == "date"       ? box->DateEdit()
                      : f == "time"     ? box->TimeEdit()
                      : f == "zone"     ? box->ZoneEdit()
                      : f == "latitude" ? box->LatitudeEdit()
                                        : box->LongitudeEdit();
    const QString good = edit->text();
    edit->setText(QString::fromUtf8(bad.text));
    prompts_.shown.clear();
    dialog->accept();
    ASSERT_EQ(prompts_.shown.size(), 1u) << kind;
    EXPECT_EQ(prompts_.shown[0].number, bad.message) << kind;
    EXPECT_NE(dialog->result(), QDialog::Accepted) << "the dialog stays open";
    edit->setText(good);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << kind;
    EXPECT_EQ(prompts_.shown.size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Entry, EntryDialogRefusals, ::testing::ValuesIn(kBadFields),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EntryDialogs, CancelLeavesTheDefinitionAndTheHistoryAlone) {
  Answer<entry::CD_ENTER_Natal>([](entry::ChartEntryDialog& d) {
    Type(d.PersonBox(), kAnna);
    return platform::kIdCancel;
  });
  SuperSource d;
  d.SetTitle("kept");
  EXPECT_FALSE(EnterChartOfKind(d, kChartNatal));
  EXPECT_EQ(d.Title(), "kept");
  EXPECT_FALSE(std::filesystem::exists(folder_ / kEntryHistoryFile));
}

TEST_F(EntryDialogs, HistoryPresetsTheNextEntryOfTheGroupAndKeepsThirty) {
  // The first natal entry; then a horary entry opens preset with its name and place (same group)
  // but asks now, not at the birth; a transit entry is not preset.
  Answer<entry::CD_ENTER_Natal>([](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.RecentBox()->count(), 0);
    Type(d.PersonBox(), kAnna);
    return PressOk(d);
  });
  SuperSource first;
  ASSERT_TRUE(EnterChartOfKind(first, kChartNatal));
  EXPECT_EQ(first.Title(), Cp1251("Натальный")) << "an empty title becomes the kind's name";

  Answer<entry::CD_ENTER_Natal>([](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.Kind(), kChartHorary);
    EXPECT_EQ(d.PersonBox()->NameEdit()->text(), QStringLiteral("Анна"));
    EXPECT_EQ(d.PersonBox()->DateEdit()->text(), QStringLiteral("14.11.2023"));
    EXPECT_EQ(d.PersonBox()->LongitudeEdit()->text(), QStringLiteral("037E37"));
    EXPECT_EQ(d.RecentBox()->count(), 1);
    return platform::kIdCancel;
  });
  SuperSource horary;
  EXPECT_FALSE(EnterChartOfKind(horary, kChartHorary, nullptr, [] {
    return ClockReading{1700000000, 0};
  }));
  Answer<entry::CD_ENTER_Transit>([](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.PersonBox()->NameEdit()->text(), QString());
    EXPECT_EQ(d.RecentBox()->count(), 0);
    return platform::kIdCancel;
  });
  SuperSource transit;
  EXPECT_FALSE(EnterChartOfKind(transit, kChartTransit));

  // 31 more natal entries: the list holds the 30 most recent, the newest first.
  for (int n = 1; n <= 31; ++n) {
    Answer<entry::CD_ENTER_Natal>([n](entry::ChartEntryDialog& d) {
      d.PersonBox()->NameEdit()->setText(QStringLiteral("N%1").arg(n));
      return PressOk(d);
    });
    SuperSource d;
    ASSERT_TRUE(EnterChartOfKind(d, kChartDraconic));
  }
  Answer<entry::CD_ENTER_Natal>([](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.PersonBox()->NameEdit()->text(), QStringLiteral("N31"));
    EXPECT_EQ(d.RecentBox()->count(), 30);
    EXPECT_TRUE(d.RecentBox()->itemText(29).startsWith(QStringLiteral("N2 ")))
        << "N1 and Анна dropped";
    // Choosing a recent entry fills the fields.
    d.RecentBox()->setCurrentIndex(5);
    Q_EMIT d.RecentBox()->activated(5);
    EXPECT_EQ(d.PersonBox()->NameEdit()->text(), QStringLiteral("N26"));
    return platform::kIdCancel;
  });
  SuperSource again;
  EXPECT_FALSE(EnterChartOfKind(again, kChartNatal));
}

TEST_F(EntryDialogs, AFirstTransitOrHoraryChartOpensAtThePresentMoment) {
  // 1700000000 s: 14 November 2023 22:13:20 UT; the computer's zone -05:00.
  const Clock clock = [] { return ClockReading{1700000000, -5 * 3600}; };
  Answer<entry::CD_ENTER_Transit>([](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.TargetBox()->DateEdit()->text(), QStringLiteral("14.11.2023"));
    EXPECT_EQ(d.TargetBox()->TimeEdit()->text(), QStringLiteral("17:13:20"));
    EXPECT_EQ(d.TargetBox()->ZoneEdit()->text(), QStringLiteral("-05:00"));
    Type(d.PersonBox(), kAnna);
    Type(d.TargetBox(), kTarget);
    return PressOk(d);
  });
  SuperSource transit;
  ASSERT_TRUE(EnterChartOfKind(transit, kChartTransit, nullptr, clock));
  Answer<entry::CD_ENTER_Natal>([](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.Kind(), kChartHorary);
    EXPECT_EQ(d.PersonBox()->DateEdit()->text(), QStringLiteral("14.11.2023"));
    EXPECT_EQ(d.PersonBox()->TimeEdit()->text(), QStringLiteral("17:13:20"));
    return platform::kIdCancel;
  });
  SuperSource horary;
  EXPECT_FALSE(EnterChartOfKind(horary, kChartHorary, nullptr, clock));

  // Once the group has an entry, the entry comes from the history, not the clock.
  Answer<entry::CD_ENTER_Transit>([](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.TargetBox()->DateEdit()->text(), QStringLiteral("01.01.2025"));
    return platform::kIdCancel;
  });
  SuperSource again;
  EXPECT_FALSE(EnterChartOfKind(again, kChartTransit, nullptr, clock));
}

// A chart derived from a chart at +03:00 looks at the present moment on that chart's clock, though
// the computer's zone is GMT; the moments found by a return's and a lunar phase's search keep it.
TEST_F(EntryDialogs, ADerivedChartOfEachKindCarriesTheActiveChartsZone) {
  // 1700000000 s: 14 November 2023 22:13:20 UT, 01:13:20 on the 15th at +03:00.
  const Clock gmt = [] { return ClockReading{1700000000, 0}; };
  SuperSource active;
  active.SetKind(kChartNatal);
  {
    auto typed = entry::MakeEntryDialog(kChartNatal);
    typed->OnInitDialog();
    Type(typed->PersonBox(), kAnna);
    ASSERT_EQ(typed->PersonBox()->ReadSource(active.sources[0]), 0);
    active.sources[1] = active.sources[2] = active.sources[0];
  }
  for (const int kind :
       {kChartTransit, kChartProgressed, kChartDirected, kChartReturn, kChartLunarPhase}) {
    SCOPED_TRACE(kind);
    AnswerKind(kind, [](entry::ChartEntryDialog& d) {
      EXPECT_EQ(d.TargetBox()->DateEdit()->text(), QStringLiteral("15.11.2023"));
      EXPECT_EQ(d.TargetBox()->TimeEdit()->text(), QStringLiteral("01:13:20"));
      EXPECT_EQ(d.TargetBox()->ZoneEdit()->text(), QStringLiteral("+03:00"));
      return PressOk(d);
    });
    SuperSource derived;
    ASSERT_TRUE(EnterChartOfKind(derived, kind, nullptr, gmt, &active));
    EXPECT_EQ(ZoneText(derived.sources[1].zone), "+03:00");
    const double universal = UniversalJulianDay(derived.sources[1]);
    const double now = 2440587.5 + 1700000000 / 86400.0;
    if (kind == kChartReturn || kind == kChartLunarPhase) {
      EXPECT_GE(universal, now - 1e-5) << "found from now on";
    } else {
      EXPECT_NEAR(universal, now, 1e-5);
    }
  }
  // A horary chart asked while the chart is active: its person now, on the same clock.
  AnswerKind(kChartHorary, [](entry::ChartEntryDialog& d) {
    EXPECT_EQ(d.PersonBox()->NameEdit()->text(), QStringLiteral("Анна"));
    EXPECT_EQ(d.PersonBox()->DateEdit()->text(), QStringLiteral("15.11.2023"));
    EXPECT_EQ(d.PersonBox()->ZoneEdit()->text(), QStringLiteral("+03:00"));
    EXPECT_EQ(d.TitleEdit()->text(), QString());
    return PressOk(d);
  });
  SuperSource horary;
  ASSERT_TRUE(EnterChartOfKind(horary, kChartHorary, nullptr, gmt, &active));
  EXPECT_EQ(horary.Title(), Cp1251("Хорарный"));
}

TEST_F(EntryDialogs, TownListPicksATownAndFillsThePlace) {
  ASSERT_TRUE(GetTowns().Load(testing_support::SourceDir() / "data").ok());
  auto dialog = entry::MakeEntryDialog(kChartNatal);
  dialog->OnInitDialog();
  entry::SourceBox* box = dialog->PersonBox();
  Edit(box->TownEdit(), "моск");
  QListWidget* list = box->TownList();
  ASSERT_GT(list->count(), 0);
  int row = -1;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->text() == QStringLiteral("Москва, Россия")) row = i;
  ASSERT_GE(row, 0);
  // Down from the town field into the list, to Moscow's row, Enter: the place is filled and the
  // dialog stays open.
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QCoreApplication::sendEvent(box->TownEdit(), &down);
  EXPECT_EQ(list->currentRow(), 0);
  list->setCurrentRow(row);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(list, &enter);
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(box->LatitudeEdit()->text(), QStringLiteral("55N45"));
  EXPECT_TRUE(box->LongitudeEdit()->text().startsWith(QStringLiteral("037E3")));
  EXPECT_EQ(box->TownEdit()->text(), QStringLiteral("Москва"));
  EXPECT_EQ(box->RegionEdit()->text(), QStringLiteral("Россия"));
  EXPECT_EQ(box->ZoneEdit()->text(), QStringLiteral("+03:00")) << "the atlas knows Moscow's zone";
  EXPECT_EQ(platform::FromQt(box->ZoneNote()->text()), GetMessageText(kMsgZoneStandardOnly))
      << "no tz database installed: today's standard zone, said so";
  EXPECT_FALSE(box->ChooseTown(list->count())) << "no such row";
  // Enter in the town field takes the first listed town rather than the typed text.
  Edit(box->TownEdit(), "Москва");
  ASSERT_GT(list->count(), 0);
  const QString first = list->item(0)->text();
  box->LatitudeEdit()->clear();
  QKeyEvent enterInField(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(box->TownEdit(), &enterInField);
  EXPECT_TRUE(first.startsWith(box->TownEdit()->text()));
  EXPECT_FALSE(box->LatitudeEdit()->text().isEmpty());
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  Edit(box->TownEdit(), "Щщщщщ");
  EXPECT_EQ(list->count(), 0);
}

// Picks the town listed as `listed` ("name, region", UTF-8) for its typed name.
bool PickTown(entry::SourceBox* box, const std::string& listed) {
  Edit(box->TownEdit(), listed.substr(0, listed.find(',')).c_str());
  for (int i = 0; i < box->TownList()->count(); ++i)
    if (box->TownList()->item(i)->text() == QString::fromStdString(listed))
      return box->ChooseTown(i);
  return false;
}

using Field = QLineEdit* (entry::SourceBox::*)() const;

// A pick fills the zone the town had at the date and time typed, over the zone typed before it:
// zones since moved, summer time, local mean time, a skipped and a repeated hour, zones beyond 12
// hours (checked against zdump). A zone filled by the pick follows a later date or time; a zone
// typed after the pick stays.
TEST_F(EntryDialogs, APickedTownGivesTheZoneItHadAtTheTypedMoment) {
  ASSERT_TRUE(GetTowns().Load(testing_support::SourceDir() / "data").ok());
  platform::QtTimeZoneDatabase database;
  platform::SetTimeZoneDatabase(&database);
  auto dialog = entry::MakeEntryDialog(kChartNatal);
  dialog->OnInitDialog();
  entry::SourceBox* box = dialog->PersonBox();
  const auto pick = [box](const char* listed, const char* date, const char* time,
                          const char* zone) {
    Type(box, Typed{"Анна", date, false, time, zone, "", "", ""});
    Q_EMIT box->ZoneEdit()->textEdited(box->ZoneEdit()->text());
    return PickTown(box, listed);
  };
  const struct {
    const char *listed, *date, *time, *zone;
    int note = 0;
    const char* before = "";  // the zone typed before the pick
  } rows[] = {
      {"Киев, Украина", "15.01.1985", "12:00", "+03:00"},
      {"Рига, Латвия", "15.01.1980", "12:00", "+03:00"},
      {"Кишинёв, Молдавия", "15.01.1988", "12:00", "+03:00"},
      {"Калининград, Россия", "15.01.1976", "12:00", "+03:00"},
      {"Москва, Россия", "15.01.2013", "12:00", "+04:00"},
      {"Новосибирск, Россия", "15.01.2015", "12:00", "+06:00"},
      {"Минск, Беларусь", "15.01.1995", "12:00", "+02:00"},
      {"Саратов, Россия", "15.01.2015", "12:00", "+03:00"},
      {"Ульяновск, Россия", "15.01.2015", "12:00", "+03:00"},
      {"Астрахань, Россия", "15.01.2015", "12:00", "+03:00"},
      {"Москва, Россия", "15.07.1985", "12:00", "+04:00"},
      {"Москва, Россия", "15.01.1900", "12:00", "+02:30:17"},
      {"Нью-Йорк, США", "04.07.1990", "12:00", "-04:00"},
      {"Москва, Россия", "31.03.1985", "02:30", "+03:00", kMsgZoneTimeSkipped},
      {"Москва, Россия", "29.09.1985", "02:30", "+04:00", kMsgZoneTimeRepeated},
      {"Москва, Россия", "15.07.1985", "12:00", "+04:00", kMsgZoneTypedReplaced, "+07:00"},
      {"Москва, Россия", "15.07.1985", "12:00", "+04:00", 0, "+4:00"},
      {"Окленд, Новая Зеландия", "15.01.2000", "12:00", "+13:00"},
      {"Петропавловск-Камчатский, Россия", "15.07.1985", "12:00", "+13:00"},
      {"Анадыр, Россия", "15.07.1985", "12:00", "+13:00"},
      {"Waitangi, Новая Зеландия", "15.01.2000", "12:00", "+13:45"},
      {"Нукуалофа, Тонга", "15.01.2000", "12:00", "+14:00"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.listed) + " " + r.date + " " + r.time);
    ASSERT_TRUE(pick(r.listed, r.date, r.time, r.before));
    EXPECT_EQ(box->ZoneEdit()->text().toStdString(), r.zone);
    EXPECT_EQ(box->ZoneNote()->text().toStdString(),
              r.note == 0                       ? ""
              : r.note == kMsgZoneTypedReplaced ? Utf8(GetMessageText(r.note)) + " " + r.before
                                                : Utf8(GetMessageText(r.note)));
  }
  // Typed after a pick: a date or time moves the zone the pick filled, not one typed.
  const Field date = &entry::SourceBox::DateEdit, time = &entry::SourceBox::TimeEdit;
  const struct {
    const char *listed, *date, *time, *zone, *typedZone;
    Field field;
    const char *text, *zoneThen;
  } later[] = {
      {"Москва, Россия", "15.01.1985", "12:00", "+03:00", "", date, "15.07.1985", "+04:00"},
      {"Москва, Россия", "31.03.1985", "12:00", "+04:00", "", time, "01:00", "+03:00"},
      {"Москва, Россия", "15.01.1985", "12:00", "+03:00", "+05:00", date, "15.07.1985", "+05:00"},
      {"Окленд, Новая Зеландия", "15.07.1999", "12:00", "+12:00", "", date, "15.01.2000", "+13:00"},
      {"Петропавловск-Камчатский, Россия", "15.01.1985", "12:00", "+12:00", "", date, "15.07.1985",
       "+13:00"},
      {"Анадыр, Россия", "15.01.1985", "12:00", "+12:00", "", date, "15.07.1985", "+13:00"},
      {"Waitangi, Новая Зеландия", "15.07.1999", "12:00", "+12:45", "", date, "15.01.2000",
       "+13:45"},
      {"Нукуалофа, Тонга", "15.07.1999", "12:00", "+13:00", "", date, "15.01.2000", "+14:00"},
  };
  for (const auto& r : later) {
    SCOPED_TRACE(std::string(r.listed) + " " + r.date + " " + r.text);
    ASSERT_TRUE(pick(r.listed, r.date, r.time, ""));
    EXPECT_EQ(box->ZoneEdit()->text().toStdString(), r.zone);
    EXPECT_TRUE(box->ZoneNote()->text().isEmpty());
    if (*r.typedZone != '\0') Edit(box->ZoneEdit(), r.typedZone);
    Edit((box->*r.field)(), r.text);
    EXPECT_EQ(box->ZoneEdit()->text().toStdString(), r.zoneThen);
  }
  // An offset a chart cannot hold empties the field rather than keep another moment's zone.
  struct Beyond final : platform::TimeZoneDatabase {
    std::optional<int> OffsetAtUtc(std::string_view, std::int64_t) const override {
      return 16 * 3600 + 60;
    }
    std::optional<std::string> AbbreviationAtUtc(std::string_view, std::int64_t) const override {
      return "+1601";
    }
  } beyond;
  platform::SetTimeZoneDatabase(&beyond);
  Edit(box->DateEdit(), "16.07.1985");
  EXPECT_EQ(box->ZoneEdit()->text(), QString());
  EXPECT_EQ(platform::FromQt(box->ZoneNote()->text()), GetMessageText(kMsgZoneBeyondField));
  platform::SetTimeZoneDatabase(&database);
  // For a person to look at: the notes after a pick at a skipped hour over a typed zone.
  ASSERT_TRUE(pick("Москва, Россия", "31.03.1985", "02:30", "+07:00"));
  dialog->show();
  QCoreApplication::processEvents();
  TempFolder pictures;
  ASSERT_TRUE(dialog->grab().save(QString::fromStdString((pictures / "zone.png").string())));
  testing_support::ShowToPerson(pictures / "zone.png", "entry_zone_note");
  platform::SetTimeZoneDatabase(nullptr);
}

// A chart derived from a Kyiv chart of 1985 (then at +03:00, summer +04:00) looks at a moment of
// 2026 on the clock Kyiv keeps then: +02:00 in January, +03:00 in July; the solar return found in
// June 2026 at +03:00. A date of the other season typed over the moment looked at (a horary
// chart's question too) takes Kyiv's zone of that date.
TEST_F(EntryDialogs, ADerivedChartTakesTheZoneItsTownHadAtItsMoment) {
  ASSERT_TRUE(GetTowns().Load(testing_support::SourceDir() / "data").ok());
  platform::QtTimeZoneDatabase database;
  platform::SetTimeZoneDatabase(&database);
  SuperSource active;
  active.SetKind(kChartNatal);
  auto typed = entry::MakeEntryDialog(kChartNatal);
  typed->OnInitDialog();
  Type(typed->PersonBox(), Typed{"Борис", "15.06.1985", false, "12:00", "", "", "", ""});
  ASSERT_TRUE(PickTown(typed->PersonBox(), "Киев, Украина"));
  ASSERT_EQ(typed->PersonBox()->ReadSource(active.sources[0]), 0);
  active.sources[1] = active.sources[2] = active.sources[0];
  const struct {
    int kind;
    std::int64_t now;         // 15 January or 15 July 2026 12:00 UT
    const char *zone, *time;  // of the target; "" the found moment's
    const char* typed = "";   // a date typed over the target's: its zone follows
  } rows[] = {
      {kChartTransit, 1768478400, "+02:00", "14:00"},
      {kChartTransit, 1784116800, "+03:00", "15:00"},
      {kChartProgressed, 1768478400, "+02:00", "14:00"},
      {kChartReturn, 1768478400, "+03:00", ""},
      {kChartTransit, 1768478400, "+03:00", "14:00", "08.07.2026"},
      {kChartTransit, 1784116800, "+02:00", "15:00", "15.01.2026"},
      {kChartDirected, 1768478400, "+03:00", "14:00", "08.07.2026"},
      {kChartHorary, 1784116800, "+02:00", "15:00", "15.01.2026"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.kind) + " " + r.zone + " " + r.typed);
    AnswerKind(r.kind, [r](entry::ChartEntryDialog& d) {
      entry::SourceBox* moment = r.kind == kChartHorary ? d.PersonBox() : d.TargetBox();
      if (*r.typed != '\0') Edit(moment->DateEdit(), r.typed);
      return PressOk(d);
    });
    SuperSource derived;
    const auto clock = [r] { return ClockReading{r.now, 0}; };
    ASSERT_TRUE(EnterChartOfKind(derived, r.kind, nullptr, clock, &active));
    EXPECT_EQ(ZoneText(derived.sources[1].zone), r.zone);
    EXPECT_EQ(*r.time == '\0' ? r.time : TimeText(derived.sources[1].moment.time), r.time);
  }
  platform::SetTimeZoneDatabase(nullptr);
}

// The town list takes room while it shows and gives it all back when a town is chosen: the
// dialog is as high as before and the region's field stands under the town's as before.
TEST_F(EntryDialogs, AChosenTownLeavesNoEmptyBand) {
  ASSERT_TRUE(GetTowns().Load(testing_support::SourceDir() / "data").ok());
  auto dialog = entry::MakeEntryDialog(kChartNatal);
  dialog->OnInitDialog();
  dialog->show();
  QCoreApplication::processEvents();
  entry::SourceBox* box = dialog->PersonBox();
  const auto gap = [box] {
    return box->RegionEdit()->geometry().top() - box->TownEdit()->geometry().bottom();
  };
  const int height = dialog->height(), townToRegion = gap();
  Edit(box->TownEdit(), "моск");
  QCoreApplication::processEvents();
  ASSERT_TRUE(box->TownList()->isVisible());
  EXPECT_GT(dialog->height(), height);
  ASSERT_TRUE(box->ChooseTown(0));
  QCoreApplication::processEvents();
  EXPECT_FALSE(box->TownList()->isVisible());
  EXPECT_EQ(dialog->height(), height);
  EXPECT_EQ(gap(), townToRegion);
  // A search that finds nothing shows no list and takes no room.
  Edit(box->TownEdit(), "Щщщщщ");
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog->height(), height);
  EXPECT_EQ(gap(), townToRegion);
  dialog->hide();
}

TEST_F(EntryDialogs, FieldsRefuseCharactersCodePage1251CannotHold) {
  auto dialog = entry::MakeEntryDialog(kChartNatal);
  QString text = QStringLiteral("Anna \u4e2d");
  int pos = 0;
  const QValidator* v = dialog->PersonBox()->NameEdit()->validator();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->validate(text, pos), QValidator::Invalid);
  text = QStringLiteral("Анна «Ё»");
  EXPECT_EQ(v->validate(text, pos), QValidator::Acceptable);
  EXPECT_NE(dialog->TitleEdit()->validator(), nullptr);
}

TEST_F(EntryDialogs, ChooseChartType) {
  DChooseChartType shown;
  shown.OnInitDialog();
  ASSERT_EQ(shown.KindList()->count(), 10);
  EXPECT_EQ(shown.KindList()->currentRow(), 0) << "the first entry selected";
  EXPECT_EQ(shown.KindList()->item(0)->text(), QStringLiteral("Натальный"));
  EXPECT_EQ(shown.KindList()->item(9)->text(), QStringLiteral("Фаза Луны"));
  EXPECT_EQ(shown.windowTitle(), QStringLiteral("ТИП ГОРОСКОПА"));

  ModalDriver::Expect<DChooseChartType>([](DChooseChartType&) { return platform::kIdCancel; });
  EXPECT_EQ(ChooseChartType(), 65535);
  ModalDriver::Expect<DChooseChartType>([](DChooseChartType& d) {
    d.KindList()->setCurrentRow(6);
    d.accept();
    return platform::kIdOk;
  });
  EXPECT_EQ(ChooseChartType(), kChartSynastry);
  ModalDriver::Expect<DChooseChartType>([](DChooseChartType& d) {
    d.accept();
    return platform::kIdOk;
  });
  EXPECT_EQ(ChooseChartType(), kChartNatal);
}

TEST_F(EntryDialogs, PublishedNatalChartAgainstTheAlmanac) {
  // A physicist born at Ulm, 14 March 1879, 11:30 local mean time (48N24, 10E00: zone +00:40).
  // Almanac: Sun 23 Pisces 30 (353.50), Ascendant 11 Cancer 38 (101.63).
  Answer<entry::CD_ENTER_Natal>([](entry::ChartEntryDialog& d) {
    Type(d.PersonBox(),
         {"Физик", "14.03.1879", false, "11:30", "+00:40", "48N24", "010E00", "Ульм"});
    return PressOk(d);
  });
  Chart chart;
  ASSERT_TRUE(EnterChartOfKind(chart.definition, kChartNatal));
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), chart).ok());
  EXPECT_NEAR(chart.GetPointLongitude(0).Get(), 353.50, 0.05);
  EXPECT_NEAR(chart.GetCusp(0).Get(), 101.63, 0.1);

  DChartInfo info(chart);
  const QTableWidget* rows = info.InfoTable();
  ASSERT_GE(rows->rowCount(), 3);
  EXPECT_EQ(rows->item(0, 1)->text(), QStringLiteral("Физик"));
  EXPECT_EQ(rows->item(1, 1)->text(), QStringLiteral("Натальный"));
  const QTableWidget* points = info.PointTable();
  ASSERT_GT(points->rowCount(), 10);
  EXPECT_EQ(points->item(0, 0)->text(), QStringLiteral("Солнце"));
  EXPECT_EQ(points->item(0, 1)->text(), QStringLiteral("23°30' Рыбы"));
  // The Sun at 23 Pisces stands above the horizon before noon, in the tenth or eleventh house.
  EXPECT_TRUE(points->item(0, 3)->text() == QStringLiteral("X") ||
              points->item(0, 3)->text() == QStringLiteral("XI"));
}

// A chart of 500: Chiron and the asteroids are not known then. The dialog lists none of them
// among the points and says, under the chart's settings, that each is missing and why.
TEST_F(EntryDialogs, ChartInformationSaysWhyChironAndTheAsteroidsAreMissing) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  s.SetName(Cp1251("Рим"));
  ASSERT_TRUE(s.moment.date.SetDate(15, 6, 500, 'A').ok());
  ASSERT_TRUE(s.moment.time.SetTime(12, 0, 0).ok());
  ASSERT_TRUE(s.place.SetPlace(41, 54, 'N', 12, 29, 'E', "Roma", "").ok());
  ASSERT_TRUE(s.zone.SetTime(0, 49, 56, '+').ok());  // local mean time
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), chart).ok());
  DChartInfo info(chart);
  info.resize(520, 760);
  const QTableWidget* rows = info.InfoTable();
  // For a person to look at: the header's zone, written once as the information writes it.
  const QImage header = platform::RenderPageImage(
      1, 150, [&chart](platform::Dc& dc, int) { DrawChartHeader(chart, dc, 500, -500, 0, false); });
  ASSERT_TRUE(
      header.copy(0, 0, 620, 200).save(QString::fromStdString((folder_ / "h.png").string())));
  testing_support::ShowToPerson(folder_ / "h.png", "chart_header_zone");
  ASSERT_GE(rows->rowCount(), 6);
  const QString names[] = {QStringLiteral("Хирон"),  QStringLiteral("Веста"),
                           QStringLiteral("Церера"), QStringLiteral("Паллада"),
                           QStringLiteral("Юнона"),  QStringLiteral("Психея")};
  for (int i = 0; i < 6; ++i) {
    const int row = rows->rowCount() - 6 + i;
    EXPECT_EQ(rows->item(row, 0)->text(), names[i]);
    EXPECT_EQ(rows->item(row, 1)->text(),
              i == 0 ? QStringLiteral("нет в карте (известен в 1030-3000 гг. по TT)")
                     : QStringLiteral("нет в карте (известен в 1000-3000 гг. по TT)"));
  }
  const QTableWidget* points = info.PointTable();
  for (int r = 0; r < points->rowCount(); ++r)
    for (const QString& name : names) EXPECT_NE(points->item(r, 0)->text(), name) << r;
  const std::filesystem::path picture = folder_ / "chart_info_500.png";
  ASSERT_TRUE(info.grab().save(QString::fromStdString(picture.string())));
  testing_support::ShowToPerson(picture, "chart_info_unknown_bodies");
}

TEST_F(EntryDialogs, PlanetInformationListsThePointsAspectsMajorFirst) {
  AspectSystem system("PLANINF", folder_ / "planinf.asp");
  Aspect trine;
  trine.angle = 120.0;
  trine.orbs = {8, 8, 8, 8, 8, 1};
  trine.abbreviation = "Tri";
  Aspect quintile;
  quintile.angle = 72.0;
  quintile.orbs = {2, 2, 2, 2, 2, 0.5};
  quintile.abbreviation = "Qui";
  quintile.major = 0;
  ASSERT_EQ(system.AddAspect(trine), 0);
  ASSERT_EQ(system.AddAspect(quintile), 0);
  ASSERT_TRUE(system.SaveSystem().ok());
  const std::filesystem::path previous = GetAspectarium().Folder();
  GetAspectarium().LoadAll(folder_.Path());
  struct Restore {
    std::filesystem::path folder;
    ~Restore() { GetAspectarium().LoadAll(folder); }
  } restore{previous};

  Chart chart;
  chart.definition.SetAspectSystemName("PLANINF");
  const double longitudes[] = {10.0, 133.0, 82.2};  // Sun; Moon 123 away; Mercury 72.2 away
  for (int i = 0; i < 3; ++i) chart.points[i].longitude.Set(longitudes[i]);
  DPlanetInfo info(chart, 0);
  const CAspectsListBox* list = info.Aspects();
  ASSERT_EQ(list->count(), 2);
  // The trine (major, 3.00 wide) before the quintile (minor, 0.20 wide).
  EXPECT_EQ(list->ColumnText(0, 1), QStringLiteral("Луна"));
  EXPECT_EQ(list->ColumnText(0, 2), QStringLiteral("Tri"));
  EXPECT_EQ(list->ColumnText(0, 7), QStringLiteral("123.00"));
  EXPECT_EQ(list->ColumnText(0, 8), QStringLiteral("3.00"));
  EXPECT_EQ(list->ColumnText(1, 1), QStringLiteral("Меркурий"));
  EXPECT_EQ(list->ColumnText(1, 8), QStringLiteral("0.20"));

  DPlanetInfo lonely(chart, 5);  // Jupiter has no longitude here
  ASSERT_EQ(lonely.Aspects()->count(), 1);
  EXPECT_EQ(lonely.Aspects()->item(0)->text(), QStringLiteral("Аспектов нет"));
  for (int outside : {-1, 34, 50}) {
    DPlanetInfo none(chart, outside);
    EXPECT_EQ(none.Aspects()->count(), 1) << outside;
  }
}

}  // namespace
