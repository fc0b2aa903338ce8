// The export formats: "velm.exp" read and written, damaged files, the rendering of each element,
// the editor's element lines and the archive's export driver.
#include "archive/export/export_formats.h"

#include "archive_fixture.h"
#include "astro/chart/chart_definition.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace archive_test {
namespace {

ExportElement Element(int kind) {
  ExportElement e;
  e.kind = static_cast<std::int16_t>(kind);
  return e;
}
ExportElement Separator(int code) {
  ExportElement e = Element(kExpSeparator);
  e.separator = static_cast<std::uint16_t>(code);
  return e;
}
ExportElement Padded(int kind, int width, char fill, int side) {
  ExportElement e = Element(kind);
  e.pad = 1;
  e.width = static_cast<std::uint16_t>(width);
  e.fill = static_cast<std::uint8_t>(fill);
  e.fillSide = static_cast<std::uint16_t>(side);
  return e;
}

// Name;day.month.year CR LF, the line of the format editor's first example.
ExportFormat SampleFormat(const std::string& name = "CSV") {
  ExportFormat f;
  f.name = name;
  f.extension = "csv";
  for (ExportElement e :
       {Element(kExpName), Separator(';'), Element(kExpDay), Separator('.'), Element(kExpMonth),
        Separator('.'), Element(kExpYear), Separator(13), Separator(10)})
    f.elements.push_back(e);
  return f;
}

std::string FormatBytes(const std::string& name, std::int32_t count, int elements) {
  BinaryWriter w;
  w.FixedText(name, 80);
  w.FixedText("txt", 5);
  w.I32(0);
  w.FixedText("", 80);
  w.I32(0);
  w.I32(count);
  for (int j = 0; j < elements; ++j) Element(kExpName).Write(w);
  return w.Take();
}

class ExportTest : public ArchiveTest {
 protected:
  std::filesystem::path Exp() const { return folder_ / "velm.exp"; }
  std::string Line(const ExportFormat& format, const Chart& chart) {
    AllExpFormats all;
    all.Append(format);
    std::string out;
    const ListLock lock(archive_.Index(), LockMode::kShared);
    const ArchiveTexts texts(archive_.Comments(), lock);
    const int length = all.Convert(0, chart, out, 0, &texts);
    EXPECT_EQ(length, static_cast<int>(out.size()));
    return out;
  }
  std::string Line(const ExportElement& e, const Chart& chart) {
    ExportFormat f;
    f.elements = {e};
    return Line(f, chart);
  }
};

TEST_F(ExportTest, FormatsReadBackAsWritten) {
  AllExpFormats written;
  ExportFormat one = SampleFormat("one");
  one.headerFlag = 1;
  one.header = std::string(80, 'H');  // fills its field without a terminator
  ExportFormat many = SampleFormat("many");
  many.realDate = 1;
  many.elements.assign(200, Padded(kExpTown, 300, '*', 1));
  many.elements[7].eraAd = "AD 123456";
  many.elements[8].commentPage = 9;
  many.elements[8].maxCommentLength = 32000;
  ASSERT_EQ(written.Append(one), 0);
  ASSERT_EQ(written.Append(many), 1);
  ASSERT_EQ(written.Save(Exp()), 0);
  EXPECT_EQ(std::filesystem::file_size(Exp()), 2 * 177 + 80 * (9 + 200));
  AllExpFormats read;
  ASSERT_EQ(read.Load(Exp()), 0);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.Format(0), one);
  EXPECT_EQ(read.Format(1), many);
  EXPECT_TRUE(read.LoadedWhole());
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(ExportTest, DamagedFilesLoadTheFormatsBeforeTheDamage) {
  const std::string good = FormatBytes("good", 1, 1);
  struct Case {
    const char* name;
    std::string bytes;
    int result, formats, shown;
  } cases[] = {
      {"empty", "", 0, 0, 0},
      {"cut_in_element", good + FormatBytes("cut", 2, 1), -1, 1, -kErrRead},
      {"cut_in_name", good + "abc", -1, 1, -kErrRead},
      {"count_negative", good + FormatBytes("neg", -1, 0), -1, 1, -kErrFormat},
      {"count_huge", good + FormatBytes("huge", 1000000000, 1), -1, 1, -kErrFormat},
      {"count_zero", FormatBytes("zero", 0, 0), -1, 0, -kErrFormat},
  };
  AllExpFormats missing;  // no file: no formats, no message
  EXPECT_EQ(missing.Load(Exp()), -1);
  EXPECT_TRUE(prompts_.shown.empty());
  for (const Case& c : cases) {
    WriteFile(Exp(), c.bytes);
    prompts_.shown.clear();
    AllExpFormats all;
    EXPECT_EQ(all.Load(Exp()), c.result) << c.name;
    EXPECT_EQ(all.Count(), c.formats) << c.name;
    EXPECT_EQ(prompts_.shown.empty() ? 0 : prompts_.shown.front().number, c.shown) << c.name;
  }
  // 101 formats: the first 100 with a message; a save keeps the old file beside the new one.
  std::string bytes;
  for (int i = 0; i < 101; ++i) bytes += FormatBytes("f" + std::to_string(i), 1, 1);
  WriteFile(Exp(), bytes);
  prompts_.shown.clear();
  AllExpFormats all;
  EXPECT_EQ(all.Load(Exp()), 0);
  EXPECT_EQ(all.Count(), 100);
  EXPECT_TRUE(prompts_.WasShown(2040));
  EXPECT_EQ(all.Append(SampleFormat()), -1);
  ASSERT_EQ(all.Save(Exp()), 0);
  EXPECT_EQ(ReadFile(folder_ / "velm.exp.bad"), bytes);
  EXPECT_EQ(ReadFile(Exp()), bytes.substr(0, 100 * (177 + 80)));
}

TEST_F(ExportTest, FailedSaveLeavesTheFileAsItWas) {
  AllExpFormats all;
  all.Append(SampleFormat());
  ASSERT_EQ(all.Save(Exp()), 0);
  const std::string before = ReadFile(Exp());
  all.Delete(0);
  ArmFileFault(2);  // the write
  EXPECT_EQ(all.Save(Exp()), -1);
  EXPECT_EQ(ReadFile(Exp()), before);
  EXPECT_TRUE(prompts_.WasShown(-kErrWrite));
}

TEST_F(ExportTest, ElementsRenderAsTheirRulesSay) {
  Chart chart = MakeChart("Ivan Petrov", 5, 3, 1990);  // 13:45:00 +03:00, 55N45 037E37 Moskva
  ASSERT_TRUE(
      chart.definition.sources[0].place.SetPlace(33, 51, 'S', 151, 12, 'W', "Sydney", "").ok());
  ExportElement signs = Element(kExpLatSign);
  signs.plus = 'N';
  signs.minus = 'S';
  ExportElement underscored = Padded(kExpName, 15, ' ', 1);
  underscored.underscore = 1;
  ExportElement dos = Element(kExpTitle);
  dos.codePage = 1;
  chart.definition.SetTitle(Cp1251("Натал"));
  ExportElement bc = Element(kExpEra);
  bc.eraAd = "AD";
  struct Case {
    const char* name;
    ExportElement element;
    std::string expected;
  } cases[] = {
      {"day_zero_left", Padded(kExpDay, 2, '0', 0), "05"},
      {"day_zero_right", Padded(kExpDay, 2, '0', 1), "50"},
      {"name_never_cut", Padded(kExpName, 10, ' ', 0), "Ivan Petrov"},
      {"underscore_inner_blanks", underscored, "Ivan_Petrov    "},
      {"latitude_letter", signs, "S"},
      {"longitude_minus", Element(kExpLonSign), "-"},
      {"zone_plus", Element(kExpZoneSign), "+"},
      {"zone_hours", Element(kExpZoneHours), "3"},
      {"zone_name_of_no_atlas_town", Element(kExpZoneName), "GMT+03:00"},
      {"minutes", Padded(kExpMinutes, 3, ' ', 0), " 45"},
      {"town", Element(kExpTown), "Sydney"},
      {"era_ad", bc, "AD"},
      {"title_cp866", dos, "\x8D\xA0\xE2\xA0\xAB"},
      {"separator_nul_writes_nothing", Separator(0), ""},
      {"kind_unknown", Element(40), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Line(c.element, chart), c.expected) << c.name;
  EXPECT_EQ(Line(SampleFormat(), chart), "Ivan Petrov;5.3.1990\r\n");
}

TEST_F(ExportTest, ShippedFormatWritesSemicolonSeparatedLines) {
  AllExpFormats shipped;
  ASSERT_EQ(shipped.Load(testing_support::SourceDir() / "data" / "velm.exp"), 0);
  ASSERT_EQ(shipped.Count(), 1);
  EXPECT_EQ(shipped.Format(0).extension, "csv");
  EXPECT_EQ(Utf8(shipped.Format(0).header), "Имя;Дата;Время;Пояс;Место;Широта;Долгота");
  std::string line;
  shipped.Convert(0, MakeChart("Ivan Petrov", 5, 3, 1990), line, 0, nullptr);
  EXPECT_EQ(line, "Ivan Petrov;05.03.1990;13:45:00;+03:00;Moskva;55:45N;37:37E\r\n");
}

TEST_F(ExportTest, RealDateOnlyForProgressedChartsThatAskForIt) {
  Chart chart = MakeChart("P", 1, 2, 1990);
  ASSERT_TRUE(chart.definition.sources[1].moment.date.SetDate(2, 3, 2000, 'A').ok());
  ASSERT_TRUE(chart.definition.sources[2].moment.date.SetDate(4, 5, 2010, 'A').ok());
  ExportFormat f;
  f.elements = {Element(kExpYear)};
  const struct {
    int kind, realDate;
    const char* year;
  } cases[] = {{kChartProgressed, 1, "2010"},
               {kChartProgressed, 0, "2000"},
               {kChartNatal, 1, "1990"},
               {kChartTransit, 1, "2000"}};
  for (const auto& c : cases) {
    chart.definition.SetKind(static_cast<std::uint16_t>(c.kind));
    f.realDate = c.realDate;
    EXPECT_EQ(Line(f, chart), c.year) << c.kind << " " << c.realDate;
  }
}

TEST_F(ExportTest, CommentElementsOfAnyLengthAndMissingPages) {
  OpenArchive("c.arc", kLayout4400, {MakeChart("A")});
  const std::string text = std::string(31998, 'x') + "\r\n";
  archive_.Comments().SetCommentText(text);
  ASSERT_EQ(archive_.Comments().SaveComment(0, 3), 0);
  ExportElement comment = Element(kExpComment);
  comment.commentPage = 3;
  comment.maxCommentLength = 32000;
  ExportFormat big;
  big.elements.assign(200, comment);
  const std::string line = Line(big, MakeChart("A"));
  ASSERT_EQ(line.size(), 200u * 32000u);
  EXPECT_EQ(line.substr(31990, 20), std::string(8, 'x') + "  " + std::string(10, 'x'));
  comment.maxCommentLength = 5;
  ExportElement missing = comment;
  missing.commentPage = 4;
  ExportFormat f;
  f.elements = {comment, Separator(';'), missing, Separator(';'), Element(kExpName)};
  EXPECT_EQ(Line(f, MakeChart("A")), "xxxxx;;A");
}

TEST(ExportDescription, LinesOfTheEditorList) {
  std::array<std::string, 10> pages;
  pages[2] = "P2";
  ExportElement name = Padded(kExpName, 10, ' ', 0);
  name.underscore = 1;
  ExportElement comment = Element(kExpComment);
  comment.commentPage = 2;
  ExportElement era = Element(kExpEra);
  era.eraAd = "AD";
  era.eraBc = "BC";
  era.codePage = 1;
  const struct {
    ExportElement element;
    const char* utf8;
  } cases[] = {
      {name, "Имя (дополнять символом ' ' слева до 10; Windows ;Пробелы на подчеркивания)"},
      {Padded(kExpDay, 2, '0', 1), "День (дополнять символом '0' справа до 2)"},
      {Element(kExpZoneName), "Часовой пояс (обозначение)"},
      {Element(kExpLatSign), "Знак (широта) (+/-)"},
      {Separator(';'), "Разделитель (';' (точка с запятой))"},
      {Separator('#'), "Разделитель '#'"},
      {comment, "Комментарий:P2 (не дополнять; Windows ;без разбивки на строки)"},
      {era, "Эра (не дополнять; DOS ;AD/BC)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8(DescribeExportElement(c.element, pages)), c.utf8);
}

TEST_F(ExportTest, ExportSkipsRefusedChartsOnceEachAndCountsTheRest) {
  Chart composite = MakeChart("Comp");
  composite.definition.SetKind(kChartSynastry);
  composite.definition.keyKind = kCompositeSwitch;
  Chart local1 = MakeChart("L1"), local2 = MakeChart("L2"), thematic = MakeChart("T");
  local1.SetDerivationMarker(kMarkerLocalSpace);
  local2.SetDerivationMarker(kMarkerLocalSpace);
  thematic.SetDerivationMarker(kMarkerSymbolicThematic);
  OpenArchive("e.arc", kLayout4200,
              {MakeChart("A", 1, 2, 1990), composite, local1, MakeChart("B", 3, 4, 1991), local2,
               thematic, composite});
  AllExpFormats formats;
  ExportFormat f = SampleFormat();
  f.headerFlag = 1;
  f.header = "name;date";
  formats.Append(f);
  EXPECT_EQ(archive_.Export().ExportArchive(PathOf("out.csv"), 0, formats), 2);
  EXPECT_EQ(ReadFile(folder_ / "out.csv"), "name;date\r\nA;1.2.1990\r\nB;3.4.1991\r\n");
  std::vector<std::string> shown;
  for (const auto& s : prompts_.shown) shown.push_back(Utf8(s.text));
  const std::string refused = " не может экспортироваться\nв архив формата отличного от VELM";
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Гороскоп типа \"композит\"" + refused,
                                      "Гороскоп типа \"Local Space\"" + refused,
                                      "Гороскоп типа \"тематический\"" + refused,
                                      "Из 7 гороскопов архива\n2 были успешно экспортированы"}));
}

TEST_F(ExportTest, ExportNamesItsFileAndStopsAtAWriteFailure) {
  OpenArchive("e.arc", kLayout4200, {MakeChart("A"), MakeChart("B")});
  AllExpFormats formats;
  formats.Append(SampleFormat());
  EXPECT_EQ(archive_.Export().ExportArchive(PathOf("plain"), 0, formats), 2);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "plain.csv"));
  const std::string before = ReadFile(folder_ / "plain.csv");
  // An existing file: replaced after Yes only; the write failing leaves it as it was.
  prompts_.Expect(kMsgReplaceFile, platform::Answer::No);
  EXPECT_EQ(archive_.Export().ExportArchive(PathOf("plain.csv"), 0, formats), -1);
  EXPECT_EQ(archive_.Export().ExportArchive(PathOf("upper.CSV"), 0, formats), 2);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "upper.CSV"));
  prompts_.shown.clear();
  prompts_.Expect(kMsgReplaceFile, platform::Answer::Yes);
  ArmFileFault(2);  // the first record's write
  EXPECT_EQ(archive_.Export().ExportArchive(PathOf("plain.csv"), 0, formats), -1);
  EXPECT_EQ(ReadFile(folder_ / "plain.csv"), before);
  EXPECT_EQ(prompts_.shown.back().number, -kErrWrite);
  EXPECT_FALSE(prompts_.WasShown(774));  // no word of success
  // The archive itself is never the target.
  prompts_.shown.clear();
  formats.Format(0).extension = "arc";
  EXPECT_EQ(archive_.Export().ExportArchive(PathOf("e"), 0, formats), -1);
  EXPECT_TRUE(prompts_.WasShown(2041));
}

}  // namespace
}  // namespace archive_test
