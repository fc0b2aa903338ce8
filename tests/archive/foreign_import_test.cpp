// The foreign-file import: file types, the kind codes of import records, each reader over a file
// with good records, malformed lines and impossible values, the house system by latitude, the
// ".zbs" comments, the sibling converter, and the target archive kept on No and on a failure.
#include "archive/import/foreign_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>

#include "archive/archive_fixture.h"
#include "archive/import/foreign_readers.h"
#include "archive/import/import_records.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace archive_test {
namespace {

using platform::Answer;
constexpr int kMsgCannotConvert = 44;

class ImportTest : public ArchiveTest {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadEphemeris(testing_support::SourceDir() / "data" / "velm.str").ok());
  }
  // Writes the source file, converts it and makes the new archive current: the result.
  int Convert(const std::string& name, const std::string& bytes, int type) {
    WriteFile(PathOf(name), bytes);
    std::string archive;
    const int result = importer_.ConvertToArchive(PathOf(name), archive, type);
    if (result == 0) {
      EXPECT_EQ(archive_.SetPath(archive), kLayout4400);
      EXPECT_EQ(archive_.CreateIndex(), 0);
    }
    return result;
  }
  Chart Record(int n) {
    Chart chart;
    EXPECT_EQ(archive_.LoadChart(chart, n, false), n);
    return chart;
  }
  int Shown(int message) const {
    int n = 0;
    for (const auto& s : prompts_.shown) n += s.number == message;
    return n;
  }
  ForeignImport importer_{archive_};
};

// The birth data of a record as text: "DD.MM.YYYY HH:MM:SS zone place".
std::string Birth(const Source& s) {
  char text[96];
  std::snprintf(text, sizeof text, "%02d.%02d.%d %02d:%02d:%02d %c%02d:%02d:%02d %s",
                s.moment.date.Day(), s.moment.date.Month(), s.moment.date.AstronomicalYear(),
                s.moment.time.Hours(), s.moment.time.Minutes(), s.moment.time.Seconds(),
                s.zone.Sign(), s.zone.Hours(), s.zone.Minutes(), s.zone.Seconds(),
                s.place.CoordText().c_str());
  return text;
}

std::string MilRecord(int year, int month, int day, double time, double zone, double lat,
                      double lon, const std::string& town, const std::string& name) {
  BinaryWriter w;
  w.I16(static_cast<std::int16_t>(year));
  w.I16(static_cast<std::int16_t>(month));
  w.I16(static_cast<std::int16_t>(day));
  w.F64(time);
  w.F64(zone);
  w.U8(static_cast<std::uint8_t>(town.size()));
  w.FixedText(town, 25, false);
  w.Zeros(101 - 48);
  w.F64(lat);
  w.F64(lon);
  w.Zeros(125 - 117);
  w.U8(static_cast<std::uint8_t>(name.size()));
  w.Bytes(name);  // a full name field, not terminated
  w.Zeros(369 - 126 - name.size());
  return w.Take();
}

TEST_F(ImportTest, FileTypesByExtensionLengthAndContent) {
  WriteFile(PathOf("short.cfg"), std::string(6199, 'x'));
  WriteFile(PathOf("exact.CFG"), std::string(6200, 'x'));
  WriteFile(PathOf("real.arc"), ArchiveBytes(kLayout4400, {MakeChart("A")}));
  WriteFile(PathOf("fake.arc"), "no archive");
  const std::pair<std::string, int> cases[] = {
      {PathOf("short.cfg"), 3},
      {PathOf("exact.CFG"), 0},
      {PathOf("missing.cfg"), 3},
      {PathOf("base.db"), 1},
      {PathOf("base.DB"), 1},
      {PathOf("a.cat"), 6},
      {PathOf("a.BDA"), 8},
      {PathOf("a.zbs"), 9},
      {PathOf("a.ddd"), 10},
      {PathOf("a.Mil"), 11},
      {PathOf("a.dat"), 12},
      {PathOf("real.arc"), 7},
      {PathOf("fake.arc"), 3},
      {PathOf("notes.txt"), 3},
      {PathOf("noextension"), 4},
      {"a.db", 3},
      {"", 3},
  };
  for (const auto& [path, type] : cases) EXPECT_EQ(importer_.DefineFileType(path), type) << path;
}

TEST(ImportRecords, KindCodesAndHarmonicTitles) {
  // By hand from the kind-code table: code -> chart kind, -1 refused.
  const int kinds[30] = {0, 3, 4, 4, 4, 5, 5, 8, 0, -1, 2, 3, 4, 4, 4,
                         5, 5, 4, 6, 1, 9, 8, 4, 4, -1, 5, 5, 5, 5, -1};
  for (int code = 0; code < 30; ++code) EXPECT_EQ(ImportKindOf(code), kinds[code]) << code;
  EXPECT_EQ(ImportKindOf(-1), -1);
  EXPECT_TRUE(IsHarmonicTitle(Cp1251("5-я гармоническая")));
  EXPECT_TRUE(IsHarmonicTitle(Cp1251("га") + "p" + Cp1251("моническая")));  // Latin p
  EXPECT_TRUE(IsHarmonicTitle("7th harmonic"));
  EXPECT_FALSE(IsHarmonicTitle(Cp1251("Натальная")));
}

TEST(ImportRecords, KindCodesFillTheSourcesOfTheirKind) {
  ImportRecord r;
  r.name = "Rec";
  r.title = "T";
  r.first = {1, 2, 1990, 13, 45, {55, 45, 'N', 37, 37, 'E'}};
  r.second = {10, 5, 2020, 8, 0, {48, 51, 'N', 2, 21, 'E'}};
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  SuperSource d;
  r.kind = 11;  // transit: the first group the base (second Source), the second group the first
  ASSERT_TRUE(FromImportRecord(ctx, r, d).ok());
  EXPECT_EQ(d.Kind(), kChartTransit);
  // Local mean time: 37E37 is 2:30:28 east, 2E21 is 0:09:24 east.
  EXPECT_EQ(Birth(d.sources[1]), "01.02.1990 13:45:00 +02:30:28 55N45 037E37");
  EXPECT_EQ(Birth(d.sources[0]), "10.05.2020 08:00:00 +00:09:24 48N51 002E21");
  r.kind = 13;
  ASSERT_TRUE(FromImportRecord(ctx, r, d).ok());
  EXPECT_EQ(d.keyKind, kProgressionUserKey);
  EXPECT_EQ(d.key, (ProgressionKey{1, 1, 7, 1}));
  r.kind = 18;
  ASSERT_TRUE(FromImportRecord(ctx, r, d).ok());
  EXPECT_EQ(d.keyKind, kCompositeSwitch);
  EXPECT_EQ(d.sources[2].place.LatitudeDegrees(), 52);  // (55.75 + 48.85) / 2 = 52.3
  r.kind = 0;
  r.first.day = 31;  // 31 February
  EXPECT_FALSE(FromImportRecord(ctx, r, d).ok());
  r.first.day = 1;
  r.first.hours = 24;
  EXPECT_FALSE(FromImportRecord(ctx, r, d).ok());
  r.first.hours = 13;
  r.title = "harmonic 5";
  EXPECT_FALSE(FromImportRecord(ctx, r, d).ok());
}

struct FormatCase {
  const char* name;
  const char* file;
  std::string bytes;
  std::vector<std::string> names;  // the records written, in order
  std::string firstBirth;          // Birth() of the first record's base Source
  int refused;                     // records refused with message 44
};

TEST_F(ImportTest, EveryReaderSkipsMalformedLinesAndRefusesImpossibleValues) {
  const std::string deg = "\xB0";
  const FormatCase cases[] = {
      {"cat",
       "fcat.cat",
       "header line\n"
       "Ivanov Ivan\n"
       "|01.02.1990 13:45:30|Moskva|+030000554500N0373700E\r\n"
       "|05.06.1971 07:08:09|Petrov|Paris|-010000485100N0022100W\n"
       "|31.02.1990 13:45:30|Bad day|Moskva|+030000554500N0373700E\n"
       "|short line\n"
       "|01.02.1990 24:00:00|Bad hour|Moskva|+030000554500N0373700E\n",
       {"Ivanov Ivan", "Petrov"},
       "01.02.1990 13:45:30 +03:00:00 55N45 037E37",
       2},
      {"bda",
       "fbda.bda",
       "Sidorov\x01"
       "1\x01"
       "2\x01"
       "1990\x01"
       "13\x01"
       "45\x01"
       "x\x01"
       "55.75\x01"
       "-37.5\x01"
       "Moskva\n"
       "short\x01"
       "1\n"
       "Bad month\x01"
       "1\x01"
       "13\x01"
       "1990\x01"
       "13\x01"
       "45\x01"
       "x\x01"
       "55.75\x01"
       "37.5\x01"
       "Moskva\n",
       {"Sidorov"},
       "01.02.1990 13:45:00 -02:30:00 55N45 037W30",
       1},
      {"ddd",
       "fddd.ddd",
       "Kuznecov 01.02.1990.13:45 (55.45N,037.37E)\n"
       "Smirnov 05.06.1971.07:08x(-48.51X,-002.21X)\n"
       "Broken 01.02.1990 no separators here\n"
       "Bad 32.01.1990.13:45 (55.45N,037.37E)\n",
       {"Kuznecov", "Smirnov"},
       "01.02.1990 13:45:00 +02:30:28 55N45 037E37",
       1},
      {"dat",
       "fdat.dat",
       "\"Popov\",1990,2,1,13,45,30,a,b,c,-3,\"Moskva\",-37.5, 55.75\n"
       "\"too short\"\n"
       "\"Bad zone\",1990,2,1,13,45,30,a,b,c,-30,\"Moskva\",-37.5,55.75\n",
       {"Popov"},
       "01.02.1990 13:45:30 +03:00:00 55N45 037E30",
       1},
      {"mil",
       "fmil.mil",
       MilRecord(1990, 2, 1, 13.4530, 3.0, 55.4531, 37.3700, "Moskva",
                 "A name that fills all 34 bytes xxx") +
           MilRecord(0, 3, 15, 12.0, -2.0, -33.5200, -70.4000, "Santiago", "Old") +
           MilRecord(1990, 13, 1, 12.0, 0.0, 10.0, 10.0, "X", "Month 13") +
           MilRecord(1990, 2, 1, 1.4e144, 3.0, 10.0, 10.0, "X", "Huge time") +
           MilRecord(1990, 2, 1, 12.0, std::nan(""), 10.0, 10.0, "X", "No zone") +
           MilRecord(1990, 2, 1, 12.0, 3.0, -1e300, 10.0, "X", "Huge latitude") + "tail",
       {"A name that fills all 34 bytes xxx", "Old"},
       "01.02.1990 13:45:30 +03:00:00 55N46 037E37",
       4},
      {"zbs",
       "fzbs.zbs",
       "Orlov;1.02.1990;13:45:30;+03:00;Moskva;55" + deg + "45'N;37" + deg + "37'E;x;text\n" +
           "short;line\n" + "Few;fields;only;here;and;there\n" +
           "Bad day;31.02.1990;13:45:30;+03:00;Moskva;55" + deg + "45'N;37" + deg + "37'E;x;\n" +
           "Bad sign;01.02.1990;13:45:30;*03:00;Moskva;55" + deg + "45'N;37" + deg + "37'E;x;\n",
       {"Orlov"},
       "01.02.1990 13:45:30 +03:00:00 55N45 037E37",
       1},
  };
  for (const FormatCase& c : cases) {
    prompts_.shown.clear();
    ASSERT_EQ(Convert(c.file, c.bytes, ImportTypeOfName(c.file)), 0) << c.name;
    EXPECT_EQ(Names(), c.names) << c.name;
    if (!c.names.empty()) {
      const Chart first = Record(0);
      EXPECT_EQ(Birth(*first.definition.GetBaseSource()), c.firstBirth) << c.name;
      EXPECT_FALSE(first.points[0].longitude.Get() == kAbsent) << c.name;  // computed
    }
    EXPECT_EQ(Shown(kMsgCannotConvert), c.refused) << c.name;
  }
  // The ".zbs" bad day is named in the one summary, with the line and the field.
  ASSERT_EQ(Shown(2091), 1);
  for (const auto& s : prompts_.shown) {
    if (s.number == 2091) {
      EXPECT_NE(s.text.find("\n4: " + GetMessageText(kMsgDaysInMonth) + " 31.02.1990"),
                std::string::npos);
    }
  }
}

TEST_F(ImportTest, HouseSystemByLatitudeAndImportRecordHouseSystems) {
  const std::string cat =
      "header\n"
      "|01.02.1990 13:45:30|At 66.5|Town|+030000663000N0373700E\n"
      "|01.02.1990 13:45:30|At 66.6|Town|+030000663600N0373700E\n";
  ASSERT_EQ(Convert("polar.cat", cat, 6), 0);
  const int configured = ConfiguredHouseSystem(ChartContext::FromCurrentSettings());
  ASSERT_NE(configured, 3);
  EXPECT_EQ(Record(0).houseSystem, configured);
  EXPECT_EQ(Record(1).houseSystem, 3);

  // Import records keep a house system this program knows; another one becomes the configured.
  ImportRecord r;
  r.name = "Kept";
  r.title = "Natal";
  r.first = {1, 2, 1990, 13, 45, {55, 45, 'N', 37, 37, 'E'}};
  r.houseSystem = 5;
  BinaryWriter w;
  r.Write(w);
  r.name = "Unknown";
  r.houseSystem = 77;
  r.Write(w);
  r.name = "Unused";
  r.first.year = 0;  // an unused record gives no archive record
  r.Write(w);
  const std::string script = PathOf("conv.sh");
  WriteFile(PathOf("records.bin"), w.Data());
  WriteFile(script, "#!/bin/sh\ncp '" + PathOf("records.bin") + "' \"$2\"\n");
  ::chmod(script.c_str(), 0755);
  importer_.SetConverter({script});
  ASSERT_EQ(Convert("base.db", "sibling data", 1), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Kept", "Unknown"}));
  EXPECT_EQ(Record(0).houseSystem, 5);
  EXPECT_EQ(Record(1).houseSystem, configured);
}

TEST_F(ImportTest, SiblingConverterRunsOnlyWhenConfiguredAndWithinItsTime) {
  WriteFile(PathOf("hangs.sh"), "#!/bin/sh\nexec sleep 5\n");
  WriteFile(PathOf("fails.sh"), "#!/bin/sh\nexit 3\n");
  ::chmod(PathOf("hangs.sh").c_str(), 0755);
  ::chmod(PathOf("fails.sh").c_str(), 0755);
  struct Case {
    const char* name;
    ConverterCommand command;
    int message;
  };
  const Case cases[] = {
      {"not_configured", {}, 2090},
      {"missing_program", {PathOf("none.sh"), 1000}, 20},
      {"fails", {PathOf("fails.sh"), 1000}, 20},
      {"timed_out", {PathOf("hangs.sh"), 300}, 20},
  };
  for (const Case& c : cases) {
    prompts_.shown.clear();
    importer_.SetConverter(c.command);
    EXPECT_EQ(Convert("old.cfg", std::string(6200, 'x'), 0), -1) << c.name;
    EXPECT_EQ(Shown(c.message), 1) << c.name;
    EXPECT_FALSE(std::filesystem::exists(PathOf("old.arc"))) << c.name;
  }
}

TEST_F(ImportTest, ZbsCommentsGoToTheChosenPageSplitAndCut) {
  std::string words;
  for (int i = 0; i < 20; ++i) words += "word" + std::to_string(i % 10) + " ";  // 120 bytes
  const std::string longText(40000, 'z');
  const std::string place =
      ";Moskva;55\xB0"
      "45'N;37\xB0"
      "37'E;x;";
  const std::string zbs = "First;01.02.1990;13:45:30;+03:00" + place + words + "\n" +
                          "Second;01.02.1990;13:45:30;+03:00" + place + "\n" +
                          "Third;01.02.1990;13:45:30;+03:00" + place + longText + "\n";
  // Files "%d.z" of an aborted import are never attached to the new records.
  WriteFile(PathOf("1.z"), "stale");
  archive_.importCommentPage = 2;
  archive_.splitLines = 1;
  ASSERT_EQ(Convert("notes.zbs", zbs, 9), 0);
  std::string text;
  ASSERT_EQ(archive_.Comments().LoadComment(0, 2, text), 0);
  // The blank after "word1 " at column 71 (6 bytes a word) is the first more than 70 on.
  EXPECT_EQ(text.substr(66, 10), "word1\r\nwor");
  EXPECT_EQ(text.size(), 121u);
  EXPECT_EQ(archive_.Comments().LoadComment(1, 2, text), -1);
  ASSERT_EQ(archive_.Comments().LoadComment(2, 2, text), 0);
  EXPECT_EQ(text, std::string(32000, 'z'));
  EXPECT_EQ(archive_.Entry(0).comments.HasText(0), false);
  EXPECT_TRUE(std::filesystem::exists(PathOf("1.z")));  // left alone, not read

  archive_.importCommentPage = -1;  // "Не конвертировать."
  prompts_.Expect(kMsgReplaceConverted, Answer::Yes);
  ASSERT_EQ(Convert("notes.zbs", zbs, 9), 0);
  EXPECT_FALSE(archive_.Entry(0).comments.HasAnyText());
  EXPECT_FALSE(std::filesystem::exists(PathOf("notes.ar2")));  // the old texts went with it
}

TEST_F(ImportTest, ExistingTargetIsReplacedOnlyByAConversionThatSucceeds) {
  const std::string cat = "header\n|01.02.1990 13:45:30|New|Moskva|+030000554500N0373700E\n";
  WriteFile(PathOf("x.arc"), ArchiveBytes(kLayout4400, {MakeChart("Old")}));
  WriteFile(PathOf("x.ar0"), "old text");
  const auto before = Snapshot(folder_.Path());
  prompts_.Expect(kMsgReplaceConverted, Answer::No);
  EXPECT_EQ(Convert("x.cat", cat, 6), -1);
  EXPECT_EQ(ReadFile(PathOf("x.arc")), before.at("x.arc"));
  // Every file step of the conversion failed in turn: the old archive and its texts stay.
  for (int fault = 1;; ++fault) {
    prompts_.Expect(kMsgReplaceConverted, Answer::Yes);
    ArmFileFault(fault);
    WriteFile(PathOf("x.cat"), cat);
    std::string archive;
    const int result = importer_.ConvertToArchive(PathOf("x.cat"), archive, 6);
    const bool faultHit = CountedFileOperations() >= fault;
    ArmFileFault(0);
    if (!faultHit) {
      EXPECT_EQ(result, 0);
      break;
    }
    EXPECT_EQ(result, -1) << fault;
    EXPECT_EQ(ReadFile(PathOf("x.arc")), before.at("x.arc")) << fault;
    EXPECT_EQ(ReadFile(PathOf("x.ar0")), "old text") << fault;
  }
  ASSERT_EQ(archive_.SetPath(PathOf("x.arc")), kLayout4400);
  ASSERT_EQ(archive_.CreateIndex(), 0);
  EXPECT_EQ(Names(), std::vector<std::string>{"New"});
  EXPECT_FALSE(std::filesystem::exists(PathOf("x.ar0")));
  prompts_.VerifyAllUsed();
}

TEST(ForeignReaders, SexagesimalAndLeadingNumbers) {
  int u = 0, m = 0, s = 0;
  SplitSexagesimal(10.3, u, m, s);  // stored as 10.2999...
  EXPECT_EQ(std::tie(u, m, s), std::make_tuple(10, 30, 0));
  SplitSexagesimal(10.59995, u, m, s);  // seconds 99 carried into a full hour
  EXPECT_EQ(std::tie(u, m, s), std::make_tuple(11, 0, 0));
  SplitSexagesimal(-3.0745, u, m, s);
  EXPECT_EQ(std::tie(u, m, s), std::make_tuple(3, 7, 45));
  // A binary file's number too large to split, or no number, gives units no chart field takes.
  for (double v : {1.4e144, -1e6, std::nan(""), HUGE_VAL}) {
    SplitSexagesimal(v, u, m, s);
    EXPECT_EQ(std::tie(u, m, s), std::make_tuple(kImpossibleUnits, 0, 0)) << v;
    char letter = 0;
    SplitDecimalDegrees(v, 'N', 'S', u, m, letter);
    EXPECT_EQ(std::tie(u, m), std::make_tuple(kImpossibleUnits, 0)) << v;
  }
  EXPECT_EQ(LeadingInt("  -12abc"), -12);
  EXPECT_EQ(LeadingInt("x12"), 0);
  EXPECT_EQ(LeadingInt("45N"), 45);
  EXPECT_DOUBLE_EQ(LeadingDouble(" 55.75,"), 55.75);
  EXPECT_DOUBLE_EQ(LeadingDouble("-37.5e"), -37.5);
}

}  // namespace
}  // namespace archive_test
