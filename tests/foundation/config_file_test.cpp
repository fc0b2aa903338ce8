#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

using C = Configuration;

// Every settings block of the configuration, listed here independently of the file code.
const std::vector<std::pair<const char*, cfg::ByteBlock C::*>> kBlocks = {
    {"archiveSearch", &C::archiveSearch},
    {"archiveSort", &C::archiveSort},
    {"archivePrint", &C::archivePrint},
    {"dynamicArchive", &C::dynamicArchive},
    {"aspectTable", &C::aspectTable},
    {"midpointPrint", &C::midpointPrint},
    {"arabicParts", &C::arabicParts},
    {"aspectGraph", &C::aspectGraph},
    {"thematicChart", &C::thematicChart},
    {"graphicEphemeris", &C::graphicEphemeris},
    {"starAspects", &C::starAspects},
    {"bindhu", &C::bindhu},
    {"sabian", &C::sabian},
    {"astroCart", &C::astroCart},
    {"acLinesList", &C::acLinesList},
    {"tablesInterface", &C::tablesInterface},
    {"query", &C::query},
    {"synastry", &C::synastry},
    {"statistics", &C::statistics},
    {"interpretation", &C::interpretation},
    {"transit", &C::transit},
    {"lunarTransit", &C::lunarTransit},
    {"lifePoint", &C::lifePoint},
    {"predictionList", &C::predictionList},
    {"treminSettings", &C::treminSettings},
    {"treminInterval", &C::treminInterval},
    {"treminForecast", &C::treminForecast},
    {"rectification", &C::rectification},
};

// Bytes that no default holds: every byte differs from its neighbours and from block to block.
std::string Pattern(std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((seed * 37 + i * 11) % 251 + 3);
  return bytes;
}

// A configuration in which every field differs from its default.
Configuration NonDefault() {
  Configuration c;
  for (auto& s : c.objectStrings) s.fill('N');
  for (int i = 0; i < C::kObjectStringLength; ++i) {
    c.objectStrings[C::kShownString][i] = i % 2 ? 'Y' : 'N';
    c.objectStrings[C::kAspect1String][i] = i % 3 ? 'N' : 'Y';
    c.objectStrings[C::kAspect2String][i] = i % 5 ? 'Y' : 'N';
    c.objectStrings[C::kOrbString][i] = static_cast<char>('1' + (i + 2) % 5);
    c.objectStrings[C::kFifthString][i] = static_cast<char>('a' + i % 26);
  }
  for (int i = 0; i < C::kColourCount; ++i) {
    c.screenColours[i] = static_cast<std::uint16_t>(i + 20);
    c.printColours[i] = static_cast<std::uint16_t>(59 - i);
  }
  c.colourPrinting = 1;
  c.colourChangeMarker = 1;
  c.aspectFilter = {0, 1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 2, 3};
  for (int i = 0; i < C::kLineTypeCount; ++i) c.lineTypes[i] = static_cast<std::uint8_t>(13 - i);
  c.wheel = {1, 1, 5, 1, 1, 1, 2, 1, 1};
  c.calculation = {6, 0, 0, 0, 1};
  c.print.aspectTable = 0;
  c.print.coordinates = 0;
  c.print.header = 0;
  c.print.sizeChoice = 1;
  c.print.pageFrame = 0;
  c.print.marginLeft = 11;
  c.print.marginTop = 22;
  c.print.marginRight = 33;
  c.print.marginBottom = 44;
  for (int i = 0; i < cfg::PrintSettings::kOffsetCount; ++i) c.print.offsets[i] = -100 * i - 7;
  for (int i = 0; i < C::kCommentPageCount; ++i)
    c.commentPageNames[i] = "Page " + std::to_string(i) + " abcdefghijklmnopq";  // 24 bytes
  c.currentCommentPage = 7;
  for (int i = 0; i < C::kRulerCount; ++i) c.rulers[i] = static_cast<std::int16_t>(29 - i % 31);
  for (int i = 0; i < C::kSignCount; ++i) c.signRulers[i] = static_cast<std::int16_t>(20 + i);
  c.launchCounter = 123456;
  c.windows2000 = 1;
  c.planetaryHoursLayout = 1;
  c.largeFont = 1;
  c.wideColumns = 1;
  for (int slot = 0; slot < C::kSystemSlotCount; ++slot)
    EXPECT_TRUE(c.SetSystemName(slot, "SYS" + std::to_string(slot)));
  for (COORD_CONF* coords : {&c.screenCoords, &c.printCoords}) {
    coords->slots.fill(COORD_CONF::kNotInTable);
    for (int s = 34; s <= 49; ++s) coords->slots[s] = COORD_CONF::kNeverShown;
    coords->slots[61] = 0;
    coords->slots[33] = 1;
    coords->slots[5] = 2;
    coords->fontSize = 777;
    coords->lineStep = -12;
  }
  c.screenCoords.fitToWindow = 0;
  c.screenCoords.width = 55;
  for (int k = 0; k < WheelConstants::kSetCount; ++k)
    c.wheelConstants.Set(k).CopyIn(0, Pattern(cfg::WheelSet::kSize, 100 + k));
  int seed = 1;
  for (const auto& [name, member] : kBlocks) {
    cfg::ByteBlock& block = c.*member;
    block.CopyIn(0, Pattern(block.Size(), seed++));
  }
  return c;
}

TEST(ConfigurationFile, EveryFieldAndBlockSurvivesSaveAndLoad) {
  TempFolder dir;
  const Configuration saved = NonDefault();
  ASSERT_TRUE(saved.Save(dir / "velm.cfg").ok());

  Configuration loaded;
  ASSERT_TRUE(loaded.Load(dir / "velm.cfg").ok());
  const Configuration defaults;
  // Field by field first, so that a failure names what was lost.
  EXPECT_EQ(loaded.objectStrings, saved.objectStrings);
  EXPECT_EQ(loaded.screenColours, saved.screenColours);
  EXPECT_EQ(loaded.printColours, saved.printColours);
  EXPECT_EQ(loaded.colourPrinting, 1);
  EXPECT_EQ(loaded.colourChangeMarker, 1);
  EXPECT_EQ(loaded.aspectFilter, saved.aspectFilter);
  EXPECT_EQ(loaded.lineTypes, saved.lineTypes);
  EXPECT_EQ(loaded.wheel, saved.wheel);
  EXPECT_EQ(loaded.calculation, saved.calculation);
  EXPECT_EQ(loaded.print, saved.print);
  EXPECT_EQ(loaded.commentPageNames, saved.commentPageNames);
  EXPECT_EQ(loaded.currentCommentPage, 7);
  EXPECT_EQ(loaded.rulers, saved.rulers);
  EXPECT_EQ(loaded.signRulers, saved.signRulers);
  EXPECT_EQ(loaded.launchCounter, 123456u);
  EXPECT_EQ(loaded.windows2000, 1);
  EXPECT_EQ(loaded.planetaryHoursLayout, 1);
  EXPECT_EQ(loaded.largeFont, 1);
  EXPECT_EQ(loaded.wideColumns, 1);
  for (int slot = 0; slot < C::kSystemSlotCount; ++slot)
    EXPECT_EQ(loaded.GetSystemName(slot), "SYS" + std::to_string(slot)) << slot;
  EXPECT_EQ(loaded.screenCoords, saved.screenCoords);
  EXPECT_EQ(loaded.printCoords, saved.printCoords);
  EXPECT_EQ(loaded.wheelConstants, saved.wheelConstants);
  for (const auto& [name, member] : kBlocks) {
    EXPECT_EQ(loaded.*member, saved.*member) << name;
    EXPECT_NE(loaded.*member, defaults.*member) << name;
  }
  EXPECT_TRUE(loaded == saved);
}

TEST(ConfigurationFile, MissingFileGivesTheDefaultsWrittenAtOnceWithoutAMessage) {
  TempFolder dir;
  ScriptedPrompter prompts;
  Configuration c = NonDefault();
  ConfigurationFile file;
  file.LoadAtStart(dir / "velm.cfg", c);
  EXPECT_TRUE(c == Configuration());
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_FALSE(file.Unread());
  Configuration written = NonDefault();
  ASSERT_TRUE(written.Load(dir / "velm.cfg").ok());
  EXPECT_TRUE(written == Configuration());
}

std::string ValidFile(const TempFolder& dir) {
  EXPECT_TRUE(NonDefault().Save(dir / "good.cfg").ok());
  return ReadFile(dir / "good.cfg");
}

struct DamagedCase {
  const char* name;
  std::string (*damage)(std::string);
  int detail;
};

const DamagedCase kDamaged[] = {
    {"empty_file", [](std::string) { return std::string(); }, 1},
    {"text_file", [](std::string) { return std::string("[velm]\nsize=1\n"); }, 1},
    {"magic_only", [](std::string f) { return f.substr(0, 4); }, 1},
    {"wrong_magic",
     [](std::string f) {
       f[0] = 'X';
       return f;
     },
     1},
    {"later_version",
     [](std::string f) {
       f[4] = 2;
       return f;
     },
     2},
    {"version_zero",
     [](std::string f) {
       f[4] = 0;
       return f;
     },
     2},
    {"first_block_cut", [](std::string f) { return f.substr(0, 20); }, 3},
    {"half_a_tag_header", [](std::string f) { return f.substr(0, 9); }, 3},
    {"length_past_end",
     [](std::string f) {
       f[8] = '\x7F';
       f[9] = '\x7F';
       return f;
     },
     3},
    {"trailing_byte", [](std::string f) { return f + '\x01'; }, 5},
    {"no_end_block", [](std::string f) { return f.substr(0, f.size() - 10); }, 3},
    {"changed_byte_in_the_middle",
     [](std::string f) {
       f[f.size() / 2] ^= 0x10;
       return f;
     },
     5},
    {"changed_checksum",
     [](std::string f) {
       f.back() ^= 1;
       return f;
     },
     5},
};

class DamagedConfiguration : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedConfiguration, GivesTheDefaultsAndError106WithAMessage) {
  TempFolder dir;
  WriteFile(dir / "velm.cfg", GetParam().damage(ValidFile(dir)));

  Configuration c = NonDefault();
  const Status st = c.Load(dir / "velm.cfg");
  EXPECT_EQ(st.ErrorCode(), kErrFormat);
  EXPECT_EQ(st.Detail(), GetParam().detail);
  EXPECT_TRUE(c == Configuration());

  ScriptedPrompter prompts;
  Configuration atStart = NonDefault();
  ConfigurationFile file;
  file.LoadAtStart(dir / "velm.cfg", atStart);
  EXPECT_TRUE(atStart == Configuration());
  EXPECT_TRUE(file.Unread());
  EXPECT_TRUE(prompts.WasShown(ErrorReportNumber(kErrFormat)));
}

INSTANTIATE_TEST_SUITE_P(ConfigurationFile, DamagedConfiguration, ::testing::ValuesIn(kDamaged),
                         [](const auto& info) { return std::string(info.param.name); });

// The ends of the tagged blocks of a file, found by walking it here.
std::set<std::size_t> BlockEnds(const std::string& file) {
  std::set<std::size_t> ends = {6};
  std::size_t pos = 6;
  while (pos + 6 <= file.size()) {
    BinaryReader in(std::string_view(file).substr(pos + 2, 4));
    pos += 6 + in.U32();
    ends.insert(pos);
  }
  EXPECT_EQ(pos, file.size());
  return ends;
}

TEST(ConfigurationFile, EveryTruncationIsDamage) {
  TempFolder dir;
  const std::string file = ValidFile(dir);
  const std::set<std::size_t> ends = BlockEnds(file);
  ASSERT_GT(ends.size(), 30u);
  const Configuration defaults;
  std::set<std::size_t> cuts;  // every block end and its neighbours, and a stride through the rest
  for (const std::size_t end : ends)
    for (const std::size_t n : {end - 1, end, end + 1})
      if (n < file.size()) cuts.insert(n);
  for (std::size_t n = 0; n < file.size(); n += 5) cuts.insert(n);
  for (const std::size_t n : cuts) {
    WriteFile(dir / "velm.cfg", file.substr(0, n));
    Configuration c = NonDefault();
    const Status st = c.Load(dir / "velm.cfg");
    ASSERT_EQ(st.ErrorCode(), kErrFormat) << n;
    ASSERT_TRUE(c == defaults) << n;
  }
}

TEST(ConfigurationFile, EveryChangedByteIsDamage) {
  TempFolder dir;
  const std::string file = ValidFile(dir);
  const Configuration defaults;
  for (std::size_t n = 0; n < file.size(); n += 7) {
    for (const char mask : {'\x01', '\x80'}) {
      std::string damaged = file;
      damaged[n] ^= mask;
      WriteFile(dir / "velm.cfg", damaged);
      Configuration c = NonDefault();
      ASSERT_EQ(c.Load(dir / "velm.cfg").ErrorCode(), kErrFormat) << n;
      ASSERT_TRUE(c == defaults) << n;
    }
  }
}

std::string Block(std::uint16_t tag, std::string_view payload) {
  BinaryWriter out;
  out.U16(tag);
  out.U32(static_cast<std::uint32_t>(payload.size()));
  out.Bytes(payload);
  return out.Take();
}

std::string Header() { return std::string("VCFG\x01\x00", 6); }

// CRC-32 of zip and PNG, bit by bit.
std::uint32_t Crc(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char b : bytes) {
    c ^= static_cast<unsigned char>(b);
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ ((c & 1) ? 0xEDB88320u : 0);
  }
  return ~c;
}

// A file body closed by its end block: tag 0 with the CRC-32 of everything before it.
std::string Finish(const std::string& body) {
  BinaryWriter crc;
  crc.U32(Crc(body));
  return body + Block(0, crc.Data());
}

TEST(ConfigurationFile, EndBlockHoldsTheChecksumOfTheBytesBeforeIt) {
  ASSERT_EQ(Crc("123456789"), 0xCBF43926u);  // the published check value
  TempFolder dir;
  const std::string file = ValidFile(dir);
  EXPECT_EQ(file.substr(0, 6), Header());
  EXPECT_EQ(Finish(file.substr(0, file.size() - 10)), file);
}

TEST(ConfigurationFile, UnknownTagsAreSkipped) {
  TempFolder dir;
  const std::string file = ValidFile(dir);
  // A block of a later version before the first block and one at the end.
  const std::string blocks = file.substr(6, file.size() - 6 - 10);  // without the end block
  WriteFile(dir / "velm.cfg", Finish(Header() + Block(9999, "later block") + blocks +
                                     Block(40000, std::string(300, '\xFF'))));
  Configuration c;
  ASSERT_TRUE(c.Load(dir / "velm.cfg").ok());
  EXPECT_TRUE(c == NonDefault());
}

TEST(ConfigurationFile, ShortBlocksOfAnOlderFileKeepTheDefaultsOfTheirTail) {
  TempFolder dir;
  BinaryWriter statistics;  // the statistics block: its kind only
  statistics.I32(3);
  BinaryWriter comments;  // the comment page names: two names only
  comments.FixedText("One", 25);
  comments.FixedText("Two", 25);
  WriteFile(dir / "velm.cfg",
            Finish(Header() + Block(118, statistics.Data()) + Block(8, comments.Data())));

  Configuration c;
  ASSERT_TRUE(c.Load(dir / "velm.cfg").ok());
  const Configuration defaults;
  const cfg::StatisticsRecord stats = c.GetStatisticsSettings();
  EXPECT_EQ(stats.kind, 3);
  EXPECT_EQ(stats.minorAspects, 1);  // the default of the tail
  EXPECT_EQ(stats.nodes, 1);
  EXPECT_EQ(c.commentPageNames[0], "One");
  EXPECT_EQ(c.commentPageNames[1], "Two");
  EXPECT_EQ(c.commentPageNames[2], defaults.commentPageNames[2]);
  EXPECT_EQ(c.currentCommentPage, 0);
  EXPECT_TRUE(c.rulers == defaults.rulers);  // missing tags keep their defaults
}

TEST(ConfigurationFile, ValuesThatWouldMisleadAreReset) {
  TempFolder dir;
  std::string objects;
  for (int s = 0; s < 5; ++s) objects += std::string(50, s == 3 ? '9' : 'Y');
  BinaryWriter comments;
  for (int i = 0; i < 10; ++i) comments.FixedText("p", 25);
  comments.U16(12);  // page 12 of ten
  BinaryWriter rulers;
  for (int i = 0; i < 60; ++i) rulers.I16(static_cast<std::int16_t>(i == 0 ? 99 : -5));
  BinaryWriter names;
  names.FixedText("TOOLONGNAME", 9, false);  // nine bytes without a NUL
  for (int i = 1; i < 20; ++i) names.FixedText("ASP", 9);
  WriteFile(dir / "velm.cfg", Finish(Header() + Block(1, objects) + Block(8, comments.Data()) +
                                     Block(9, rulers.Data()) + Block(11, names.Data())));

  Configuration c;
  ASSERT_TRUE(c.Load(dir / "velm.cfg").ok());
  const Configuration defaults;
  EXPECT_EQ(c.objectStrings[C::kOrbString], defaults.objectStrings[C::kOrbString]);
  EXPECT_EQ(c.GetPairOrbClass(0, 1), 1);
  EXPECT_EQ(c.currentCommentPage, 0);
  for (const std::int16_t body : c.rulers) EXPECT_EQ(body, -1);
  EXPECT_EQ(c.GetSystemName(0), "VELM");  // an impossible name keeps the default
  EXPECT_EQ(c.GetSystemName(1), "ASP");
}

// A file that could not be read at start: damaged, or (as for a file of another owner) refused
// by the system. Each exit leaves it byte for byte unless a setting was changed and the user
// agreed; it then stays beside as "velm.cfg.bad".
TEST(ConfigurationFile, AFileThatCouldNotBeReadIsNeverSavedOverUnasked) {
  enum Exit { kUnchanged, kChangedRefused, kChangedAgreed };
  struct Case {
    const char* name;
    bool unreadable;  // else truncated
    Exit exit;
  };
  const Case cases[] = {
      {"truncated_unchanged", false, kUnchanged},
      {"truncated_changed_refused", false, kChangedRefused},
      {"truncated_changed_agreed", false, kChangedAgreed},
      {"unreadable_unchanged", true, kUnchanged},
      {"unreadable_changed_refused", true, kChangedRefused},
      {"unreadable_changed_agreed", true, kChangedAgreed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    const std::filesystem::path path = dir / "velm.cfg";
    std::string old = ValidFile(dir);
    if (!c.unreadable) old = old.substr(0, old.size() / 2);
    WriteFile(path, old);
    if (c.unreadable) {
      std::filesystem::permissions(path, std::filesystem::perms::none);
      ArmReadFault(path);
    }

    ScriptedPrompter prompts;
    Configuration config = NonDefault();
    ConfigurationFile file;
    file.LoadAtStart(path, config);
    ArmReadFault({});
    EXPECT_TRUE(file.Unread());
    EXPECT_TRUE(config == Configuration());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].number, ErrorReportNumber(c.unreadable ? 103 : 106));

    if (c.exit != kUnchanged) {
      config.wheel.direction = 1 - config.wheel.direction;
      prompts.Expect(kMsgSaveOverUnread,
                     c.exit == kChangedAgreed ? platform::Answer::Yes : platform::Answer::No);
    }
    file.SaveAtExit(config);
    prompts.VerifyAllUsed();
    const auto perms = std::filesystem::status(path).permissions();
    for (const auto& name : {path, dir / "velm.cfg.bad"})
      if (std::filesystem::exists(name))
        std::filesystem::permissions(name, std::filesystem::perms::owner_read,
                                     std::filesystem::perm_options::add);
    EXPECT_EQ(prompts.shown.size(), c.exit == kUnchanged ? 1u : 2u) << "no further message";
    if (c.exit != kChangedAgreed) {
      EXPECT_EQ(ReadFile(path), old);
      EXPECT_FALSE(std::filesystem::exists(dir / "velm.cfg.bad"));
      continue;
    }
    EXPECT_EQ(ReadFile(dir / "velm.cfg.bad"), old);
    Configuration saved;
    ASSERT_TRUE(saved.Load(path).ok());
    EXPECT_TRUE(saved == config);
    // The new file has the usual permissions, not those of the file that could not be read.
    EXPECT_NE(perms & std::filesystem::perms::owner_read, std::filesystem::perms::none);
  }
}

TEST(ConfigurationFile, AnEarlierBadFileIsNotReplacedByTheNextOne) {
  TempFolder dir;
  const std::filesystem::path path = dir / "velm.cfg";
  WriteFile(path, "damaged now");
  WriteFile(dir / "velm.cfg.bad", "damaged before");
  ScriptedPrompter prompts;
  Configuration config;
  ConfigurationFile file;
  file.LoadAtStart(path, config);
  config.wheel.direction = 1 - config.wheel.direction;
  prompts.Expect(kMsgSaveOverUnread, platform::Answer::Yes);
  file.SaveAtExit(config);
  EXPECT_EQ(ReadFile(dir / "velm.cfg.bad"), "damaged before");
  EXPECT_EQ(ReadFile(dir / "velm.cfg.bad2"), "damaged now");
}

// Every file operation of a save failing in turn: the old file stays byte for byte, and the
// failure is reported.
TEST(ConfigurationFile, EveryFailingStepOfASaveKeepsTheOldFile) {
  TempFolder dir;
  const std::filesystem::path path = dir / "velm.cfg";
  const std::string old = ValidFile(dir);
  WriteFile(path, old);
  ArmFileFault(0);
  ASSERT_TRUE(NonDefault().Save(dir / "probe.cfg").ok());
  const int operations = CountedFileOperations();
  ASSERT_GE(operations, 3);  // create, write, rename

  Configuration changed = NonDefault();
  changed.wheel.direction = 1 - changed.wheel.direction;
  for (int failing = 1; failing <= operations; ++failing) {
    SCOPED_TRACE(failing);
    ScriptedPrompter prompts;
    Configuration config;
    ConfigurationFile file;
    file.LoadAtStart(path, config);
    ASSERT_FALSE(file.Unread());
    ArmFileFault(failing);
    file.SaveAtExit(changed);
    ArmFileFault(0);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_TRUE(prompts.WasShown(ErrorReportNumber(kErrWrite)) ||
                prompts.WasShown(ErrorReportNumber(kErrCannotCreate)));
  }
  ArmFileFault(operations);  // the rename
  EXPECT_EQ(changed.Save(path).ErrorCode(), kErrWrite);
  ArmFileFault(0);
  EXPECT_EQ(ReadFile(path), old);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    ++files;
  EXPECT_EQ(files, 3u) << "velm.cfg, good.cfg, probe.cfg: no temporary file left";
}

TEST(ConfigurationFile, FailedSaveLeavesTheOldFile) {
  TempFolder dir;
  EXPECT_FALSE(NonDefault().Save(dir / "no such folder" / "velm.cfg").ok());
  WriteFile(dir / "velm.cfg", "old");
  std::filesystem::create_directory(dir / "velm.cfg.d");
  // Saving over a folder fails at the rename and keeps the folder.
  EXPECT_FALSE(NonDefault().Save(dir / "velm.cfg.d").ok());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "velm.cfg.d"));
  EXPECT_EQ(ReadFile(dir / "velm.cfg"), "old");
}

}  // namespace
