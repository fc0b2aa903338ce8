// The import of an older configuration: the recognition of the file, and where each section of
// the 39292- and 52000-byte layouts lands. The offsets below are typed from the layout tables of
// the older versions; the files are synthetic, every byte distinct from its neighbours, so a run
// read from a wrong offset or written to a wrong place shows.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>

#include "foundation/config/configuration.h"
#include "foundation/config/old_configuration.h"
#include "support/test_support.h"

namespace {

using namespace oldcfg;

TEST(OldConfigurationRecognition, LengthAndVersionGiveTheCodeOrTheRefusal) {
  struct Case {
    const char* name;
    std::int64_t length;
    std::uint16_t version;
    bool own;
    int code, message;
  };
  const Case cases[] = {
      {"v41_layout", 39292, 0, false, 0, 0},
      {"v41", 52000, 41, false, 1, 0},
      {"v42", 52000, 42, false, 1, 0},
      {"v43", 52000, 43, false, 2, 0},
      {"v44", 52000, 44, false, 3, 0},
      {"v45", 52000, 45, false, 4, 0},
      {"v50", 52000, 50, false, 5, 0},
      {"v51", 52000, 51, false, 6, 0},
      {"v51_own_file", 52000, 51, true, -1, 402},
      {"dos", 6200, 0, false, -1, 403},
      {"v40", 36670, 0, false, -1, 404},
      {"v46", 52000, 46, false, -1, 405},
      {"other_length", 52001, 51, false, -1, 405},
  };
  for (const Case& c : cases) {
    const Recognition r = RecogniseOldConfiguration(c.length, c.version, c.own);
    EXPECT_EQ(r.versionCode, c.code) << c.name;
    EXPECT_EQ(r.message, c.message) << c.name;
  }
}

TEST(OldConfigurationRecognition, EachVersionEnablesItsSections) {
  // Box numbers enabled per version code: 1334-1342 from 4.1, to 1348 from 41 (the map records
  // of 41-42 have no place here), 1354 from 43, 1359 from 44, 1363 from 45, 1369 from 50, 1371
  // from 51 (the tip of the day for the profile); the path (1343) is no section.
  const int lastBox[] = {1342, 1347, 1354, 1359, 1363, 1369, 1371};
  for (int code = 0; code <= 6; ++code) {
    for (int box = 1334; box <= 1371; ++box) {
      const bool expected = box != 1343 && box <= lastBox[code];
      EXPECT_EQ(SectionAvailable(box - kFirstSectionCheck, code), expected)
          << "code " << code << " box " << box;
    }
  }
  EXPECT_TRUE(SectionAvailable(kAstroCart, 2));
}

// A synthetic old file: byte i is 1 + i mod 251 (never 0, so texts run their whole width), with
// the values that only make sense in range written where the sections need them.
std::string SyntheticFile(std::size_t length, std::uint16_t version) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(1 + i % 251);
  auto put16 = [&bytes](std::size_t at, std::int16_t v) { std::memcpy(&bytes[at], &v, 2); };
  if (length == 52000) put16(0, static_cast<std::int16_t>(version));
  const std::size_t planets = length == 52000 ? 2 : 0;
  for (std::size_t i = 0; i < 50; ++i) bytes[planets + 150 + i] = static_cast<char>('1' + i % 5);
  const std::size_t calc = length == 52000 ? 296 : 282;  // house system 5, mean, true, on, on
  const std::int16_t calcValues[] = {5, 1, 0, 1, 1};
  for (std::size_t k = 0; k < 5; ++k) put16(calc + 2 * k, calcValues[k]);
  if (length == 52000) {
    for (std::size_t slot = 0; slot < 20; ++slot) {  // system names "S00".."S19" at 1422
      const std::string name = "S" + std::to_string(slot / 10) + std::to_string(slot % 10);
      std::memset(&bytes[1422 + 9 * slot], 0, 9);
      std::memcpy(&bytes[1422 + 9 * slot], name.data(), name.size());
    }
    for (std::size_t k = 0; k < 48; ++k) put16(1792 + 2 * k, static_cast<std::int16_t>(k % 31 - 1));
    put16(2856 + 250, 7);  // the comment page last shown
  }
  return bytes;
}

std::string_view At(const std::string& file, std::size_t offset, std::size_t n) {
  return std::string_view(file).substr(offset, n);
}

std::int32_t I32At(const std::string& file, std::size_t offset) {
  std::int32_t v = 0;
  std::memcpy(&v, &file[offset], 4);
  return v;
}

std::uint16_t U16At(const std::string& file, std::size_t offset) {
  std::uint16_t v = 0;
  std::memcpy(&v, &file[offset], 2);
  return v;
}

// What one section makes of the defaults, by hand from the layout tables.
struct Placement {
  const char* name;
  Section section;
  std::function<void(Configuration&, const std::string&)> apply;
};

void Block(cfg::ByteBlock& block, const std::string& file, std::size_t offset, std::size_t n) {
  block.CopyIn(0, At(file, offset, n));
}

void Objects(Configuration& c, const std::string& file, std::size_t first) {
  for (std::size_t i = 0; i < 5; ++i) {
    const std::string_view s = At(file, first + 50 * i, 50);
    std::copy(s.begin(), s.end(), c.objectStrings[i].begin());
  }
}

void I32s(const std::string& file, std::size_t first, std::initializer_list<std::int32_t*> out) {
  for (std::int32_t* v : out) {
    *v = I32At(file, first);
    first += 4;
  }
}

void Filter(Configuration& c, const std::string& file, std::size_t first, std::size_t dashed) {
  cfg::AspectFilter& f = c.aspectFilter;
  I32s(file, first,
       {&f.harmonious, &f.tense, &f.creative, &f.karmic, &f.other, &f.major, &f.minor, &f.exact,
        &f.inexact, &f.overlay, &f.alwaysAsk});
  f.dashedLines = I32At(file, dashed);
  f.thickLines = I32At(file, dashed + 4);
}

void Wheel(Configuration& c, const std::string& file, std::size_t first) {
  cfg::WheelSettings& w = c.wheel;
  I32s(file, first,
       {&w.direction, &w.wheelType, &w.orientation, &w.division, &w.centreCircleOff,
        &w.degreesShown});
}

void Colours(Configuration& c, const std::string& file, std::size_t first, bool print) {
  for (std::size_t i = 0; i < 50; ++i) c.screenColours[i] = U16At(file, first + 2 * i);
  if (print) c.printColours = c.screenColours;
}

void Calculation(Configuration& c, bool geodetic) {
  c.calculation.houseSystem = 5;
  c.calculation.blackMoon = 1;
  c.calculation.lunarNodes = 0;
  c.calculation.dayNight = 1;
  if (geodetic) c.calculation.geodetic = 1;
}

void PrintFirstFive(Configuration& c, const std::string& file, std::size_t first) {
  cfg::PrintSettings& p = c.print;
  I32s(file, first, {&p.aspectTable, &p.coordinates, &p.header, &p.sizeChoice, &p.pageFrame});
}

const std::vector<Placement>& Placements41Layout() {
  static const std::vector<Placement> placements = {
      {"planets", kPlanets, [](Configuration& c, const std::string& f) { Objects(c, f, 0); }},
      {"wheel", kWheel, [](Configuration& c, const std::string& f) { Wheel(c, f, 258); }},
      {"aspect_table", kAspectTable,
       [](Configuration& c, const std::string& f) {
         Block(c.aspectTable, f, 328, 56);
         c.aspectTable.CopyIn(56, At(f, 384, 6));
       }},
      {"aspect_filter", kAspectFilter,
       [](Configuration& c, const std::string& f) { Filter(c, f, 614, 658); }},
      {"star_aspects", kStarAspects,
       [](Configuration& c, const std::string& f) { Block(c.starAspects, f, 686, 24); }},
      {"calculation", kCalculation,
       [](Configuration& c, const std::string&) { Calculation(c, 0); }},
      {"colours", kColours,
       [](Configuration& c, const std::string& f) { Colours(c, f, 390, true); }},
      {"print", kPrint, [](Configuration& c, const std::string& f) { PrintFirstFive(c, f, 666); }},
      {"wheel_constants", kWheelConstants,
       [](Configuration& c, const std::string& f) {
         for (int k = 0; k < 14; ++k)
           c.wheelConstants.Set(k).CopyIn(0, At(f, 37500 + 128 * static_cast<std::size_t>(k), 120));
       }},
  };
  return placements;
}

const std::vector<Placement>& Placements51() {
  using C = Configuration;
  static const std::vector<Placement> placements = {
      {"planets", kPlanets, [](C& c, const std::string& f) { Objects(c, f, 2); }},
      {"wheel", kWheel, [](C& c, const std::string& f) { Wheel(c, f, 260); }},
      {"aspect_table", kAspectTable,
       [](C& c, const std::string& f) {
         Block(c.aspectTable, f, 344, 56);
         c.aspectTable.CopyIn(56, At(f, 400, 6));
         c.aspectTable.CopyIn(62, At(f, 406, 24));
         c.aspectTable.CopyIn(86, At(f, 1740, 4));
         c.aspectTable.CopyIn(90, At(f, 2384, 4));
         c.aspectTable.CopyIn(94, At(f, 2388, 4));
         c.aspectTable.CopyIn(98, At(f, 2392, 1));
       }},
      {"aspect_filter", kAspectFilter, [](C& c, const std::string& f) { Filter(c, f, 658, 702); }},
      {"star_aspects", kStarAspects,
       [](C& c, const std::string& f) { Block(c.starAspects, f, 878, 24); }},
      {"calculation", kCalculation, [](C& c, const std::string&) { Calculation(c, 1); }},
      {"colours", kColours, [](C& c, const std::string& f) { Colours(c, f, 430, true); }},
      {"print", kPrint,
       [](C& c, const std::string& f) {
         PrintFirstFive(c, f, 710);
         cfg::PrintSettings& p = c.print;
         I32s(f, 730, {&p.marginLeft, &p.marginTop, &p.marginRight, &p.marginBottom});
         for (std::size_t i = 0; i < 26; ++i) p.offsets[i] = I32At(f, 746 + 4 * i);
       }},
      {"wheel_constants", kWheelConstants,
       [](C& c, const std::string& f) {
         for (int k = 0; k < 14; ++k)
           c.wheelConstants.Set(k).CopyIn(0, At(f, 49648 + 168 * static_cast<std::size_t>(k), 168));
       }},
      {"correspondences", kCorrespondences,
       [](C& c, const std::string&) {
         for (int slot = 0; slot < 20; ++slot)
           EXPECT_TRUE(
               c.SetSystemName(slot, "S" + std::to_string(slot / 10) + std::to_string(slot % 10)));
       }},
      {"sabian", kSabian, [](C& c, const std::string& f) { Block(c.sabian, f, 1604, 12); }},
      {"bindhu", kBindhu, [](C& c, const std::string& f) { Block(c.bindhu, f, 1616, 16); }},
      {"lunar_transits", kLunarTransits,
       [](C& c, const std::string& f) { Block(c.lunarTransit, f, 1644, 92); }},
      {"astrocartography", kAstroCart,
       [](C& c, const std::string& f) {  // values 8, 9 and 12 stay
         c.astroCart.CopyIn(0, At(f, 2196, 28));
         c.astroCart.CopyIn(36, At(f, 2196 + 36, 8));
         c.astroCart.CopyIn(48, At(f, 2196 + 48, 52));
       }},
      {"town_list", kTownList,
       [](C& c, const std::string& f) { Block(c.acLinesList, f, 2320, 60); }},
      {"rectification", kRectification,
       [](C& c, const std::string& f) {  // not the values read from 2164 and 2168
         c.rectification.CopyIn(0, At(f, 2024, 140));
         c.rectification.CopyIn(148, At(f, 2172, 24));
       }},
      {"graphic_ephemeris", kGraphicEphemeris,
       [](C& c, const std::string& f) { Block(c.graphicEphemeris, f, 1888, 60); }},
      {"life_point", kLifePoint,
       [](C& c, const std::string& f) { Block(c.lifePoint, f, 1948, 76); }},
      {"arabic_parts", kArabicParts,
       [](C& c, const std::string& f) { Block(c.arabicParts, f, 1748, 44); }},
      {"rulers", kRulers,
       [](C& c, const std::string&) {
         for (std::size_t k = 0; k < 48; ++k) c.rulers[k] = static_cast<std::int16_t>(k % 31 - 1);
       }},
      {"thematic", kThematicCharts,
       [](C& c, const std::string& f) { Block(c.thematicChart, f, 2680, 28); }},
      {"statistics", kStatistics,
       [](C& c, const std::string& f) { Block(c.statistics, f, 2708, 68); }},
      {"tremin", kTremin,
       [](C& c, const std::string& f) {  // the 9th value stays
         c.treminSettings.CopyIn(0, At(f, 2776, 32));
         c.treminSettings.CopyIn(36, At(f, 2776 + 36, 44));
       }},
      {"comments", kComments,
       [](C& c, const std::string& f) {
         for (std::size_t k = 0; k < 10; ++k)
           c.commentPageNames[k] = std::string(At(f, 2856 + 25 * k, 24));  // 24 and a NUL
         c.currentCommentPage = 7;
       }},
      {"parans", kParans,
       [](C& c, const std::string& f) { Block(c.tablesInterface, f, 3108, 80); }},
      {"query", kQuery, [](C& c, const std::string& f) { Block(c.query, f, 3192, 44); }},
      {"transits", kTransits, [](C& c, const std::string& f) { Block(c.transit, f, 3236, 240); }},
      {"archive_print", kArchivePrint,
       [](C& c, const std::string& f) { Block(c.archivePrint, f, 3476, 64); }},
      {"midpoint_print", kMidpointPrint,
       [](C& c, const std::string& f) {
         c.midpointPrint.CopyIn(0, At(f, 3548, 32));
         c.midpointPrint.CopyIn(32, At(f, 3540, 8));
       }},
      {"sort", kSort, [](C& c, const std::string& f) { Block(c.archiveSort, f, 3584, 52); }},
      {"aspect_graph", kAspectGraph,
       [](C& c, const std::string& f) { Block(c.aspectGraph, f, 3636, 24); }},
      {"line_types", kLineTypes,
       [](C& c, const std::string& f) {
         for (std::size_t k = 0; k < 10; ++k)
           c.lineTypes[k] = static_cast<std::uint8_t>(f[3360 + k]);
       }},
      {"interpreter", kInterpreter,
       [](C& c, const std::string& f) { Block(c.interpretation, f, 3670, 300); }},
      {"tremin_forecast", kTreminForecast,
       [](C& c, const std::string& f) { Block(c.treminForecast, f, 3970, 120); }},
      {"dynamic_archive", kDynamicArchive,
       [](C& c, const std::string& f) { Block(c.dynamicArchive, f, 4122, 288); }},
      {"synastry", kSynastry, [](C& c, const std::string& f) { Block(c.synastry, f, 4410, 1084); }},
  };
  return placements;
}

class ConfigImport : public ::testing::Test {
 protected:
  // Imports `file` with only `section` chosen into the defaults.
  Configuration ImportOnly(const std::string& file, int code, int section) {
    testing_support::WriteFile(path_, file);
    SectionFlags flags{};
    flags[static_cast<std::size_t>(section)] = 1;
    Configuration c;
    EXPECT_TRUE(c.Import(path_, code, flags).ok());
    return c;
  }
  void CheckEachSectionAlone(const std::vector<Placement>& placements, const std::string& file,
                             int code) {
    for (const Placement& p : placements) {
      Configuration expected;
      p.apply(expected, file);
      EXPECT_TRUE(ImportOnly(file, code, p.section) == expected) << p.name;
    }
  }
  testing_support::TempFolder folder_;
  std::filesystem::path path_ = folder_ / "VELM.CFG";
};

TEST_F(ConfigImport, EachSectionOfThe41LayoutLandsInItsPlaceAndNothingElseChanges) {
  CheckEachSectionAlone(Placements41Layout(), SyntheticFile(39292, 0), 0);
}

TEST_F(ConfigImport, EachSectionOfVersion51LandsInItsPlaceAndNothingElseChanges) {
  CheckEachSectionAlone(Placements51(), SyntheticFile(52000, 51), 6);
}

TEST_F(ConfigImport, AllSectionsTogetherAndTheVersionsOwnRules) {
  const std::string file = SyntheticFile(52000, 45);
  testing_support::WriteFile(path_, file);
  SectionFlags all{};
  all.fill(1);
  Configuration c;
  ASSERT_TRUE(c.Import(path_, 4, all).ok());
  // Version 45: the transit search starts on 1 January 2007 AD; the synastry of 51 is not read.
  EXPECT_EQ(c.transit.Get(cfg::TransitSettings::kStartDay), 1);
  EXPECT_EQ(c.transit.Get(cfg::TransitSettings::kStartMonth), 1);
  EXPECT_EQ(c.transit.Get(cfg::TransitSettings::kStartYear), 2007);
  EXPECT_EQ(c.transit.Get(cfg::TransitSettings::kStartEra), 'A');
  EXPECT_EQ(c.transit.Get(cfg::TransitSettings::kExact), I32At(file, 3236 + 56));
  EXPECT_TRUE(c.synastry == Configuration().synastry);
  EXPECT_EQ(c.printColours, c.screenColours);

  // Version 50 keeps its own print colours; without the colours section none change.
  Configuration v50;
  ASSERT_TRUE(v50.Import(path_, 5, all).ok());
  EXPECT_EQ(v50.printColours, Configuration().printColours);
  SectionFlags printOnly{};
  printOnly[kPrint] = 1;
  Configuration v43;
  ASSERT_TRUE(v43.Import(path_, 2, printOnly).ok());
  EXPECT_EQ(v43.printColours, Configuration().printColours);
  EXPECT_EQ(v43.print.aspectTable, I32At(file, 710));
}

TEST_F(ConfigImport, TheLayoutOfVersions41And42) {
  const std::string file = SyntheticFile(52000, 42);
  testing_support::WriteFile(path_, file);
  SectionFlags all{};
  all.fill(1);
  Configuration c;
  ASSERT_TRUE(c.Import(path_, 1, all).ok());
  EXPECT_EQ(c.wheel.direction, I32At(file, 260));
  EXPECT_EQ(c.aspectFilter.harmonious, I32At(file, 652));
  EXPECT_EQ(c.aspectFilter.dashedLines, I32At(file, 696));
  EXPECT_EQ(c.aspectTable.Get(cfg::AspectTableSettings::kDiagonalMode), I32At(file, 1722));
  EXPECT_EQ(c.aspectTable.Get(cfg::AspectTableSettings::kTableWidth[0]), I32At(file, 404));
  EXPECT_EQ(c.starAspects.Bytes().substr(0, 24), At(file, 872, 24));
  EXPECT_EQ(c.screenColours[0], U16At(file, 428));
  EXPECT_EQ(c.print.aspectTable, I32At(file, 704));
  EXPECT_EQ(c.print.marginLeft, Configuration().print.marginLeft);  // five values only
  EXPECT_EQ(c.sabian.Bytes().substr(0, 12), At(file, 1598, 12));
  EXPECT_EQ(c.bindhu.Bytes().substr(0, 16), At(file, 1610, 16));
  EXPECT_EQ(c.lunarTransit.Bytes().substr(0, 92), At(file, 1626, 92));
  EXPECT_EQ(c.calculation.geodetic, Configuration().calculation.geodetic);
  EXPECT_TRUE(c.astroCart == Configuration().astroCart);      // only the map records: no place here
  EXPECT_TRUE(c.acLinesList == Configuration().acLinesList);  // a section of version 43
}

TEST_F(ConfigImport, TheTipOfTheDayIsHandedOutOnlyWhenChosenFromVersion51) {
  std::string file = SyntheticFile(52000, 51);
  std::memset(&file[5494], 0, 12);
  file[5498] = 5;  // the next tip; shown at start: 0
  struct Row {
    const char* name;
    std::uint16_t version;
    int code;
    bool chosen;
    std::optional<TipOfTheDay> expected;
  } const rows[] = {
      {"v51_chosen", 51, 6, true, TipOfTheDay{false, 5}},
      {"v51_not_chosen", 51, 6, false, std::nullopt},
      {"v50_has_none", 50, 5, true, std::nullopt},
  };
  for (const Row& row : rows) {
    file[0] = static_cast<char>(row.version);
    testing_support::WriteFile(path_, file);
    SectionFlags flags{};
    flags[kTipOfTheDay] = row.chosen ? 1 : 0;
    Configuration c;
    std::optional<TipOfTheDay> tips = TipOfTheDay{};
    ASSERT_TRUE(c.Import(path_, row.code, flags, &tips).ok()) << row.name;
    ASSERT_EQ(tips.has_value(), row.expected.has_value()) << row.name;
    if (tips) {
      EXPECT_EQ(tips->showAtStart, row.expected->showAtStart) << row.name;
      EXPECT_EQ(tips->nextTip, row.expected->nextTip) << row.name;
    }
    EXPECT_TRUE(c == Configuration()) << row.name;  // nothing of it in the configuration
  }
}

TEST_F(ConfigImport, AFileThatCannotBeReadOrChangedLengthChangesNothing) {
  SectionFlags all{};
  all.fill(1);
  Configuration c;
  c.colourPrinting = 1;
  const Configuration before = c;
  EXPECT_EQ(c.Import(folder_ / "missing.cfg", 6, all).ErrorCode(), kErrCannotOpen);
  testing_support::WriteFile(path_, SyntheticFile(39292, 0));
  EXPECT_EQ(c.Import(path_, 6, all).ErrorCode(), kErrRead);  // recognised as 52000 bytes before
  EXPECT_TRUE(c == before);
}

}  // namespace
