// The import of an older configuration: each chosen section is copied from its offsets in the old
// file into the matching settings of this configuration, as runs of values of the old file that
// land at the beginning of their block in order. Everything is copied into a copy of the
// configuration first, so a failure leaves the configuration as it was.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/config/configuration.h"
#include "foundation/config/old_configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"

namespace oldcfg {

namespace {

// The first version code of each section (index 9 is no section).
constexpr std::array<int, kSectionCount> kFirstCode = {0, 0, 0, 0, 0, 0, 0, 0, 0, -1,  // 1334..1343
                                                       1, 1, 1, 1, 1,                  // 1344..1348
                                                       2, 2, 2, 2, 2, 2,               // 1349..1354
                                                       3, 3, 3, 3, 3,                  // 1355..1359
                                                       4, 4, 4, 4,                     // 1360..1363
                                                       5, 5, 5, 5, 5, 5,               // 1364..1369
                                                       6, 6};                          // 1370, 1371

}  // namespace

int FirstCodeOf(int section) {
  return section >= 0 && section < kSectionCount ? kFirstCode[static_cast<std::size_t>(section)]
                                                 : -1;
}

bool SectionAvailable(int section, int versionCode) {
  const int first = FirstCodeOf(section);
  if (first < 0 || versionCode < first || versionCode > 6) return false;
  if (section == kAstroCart && versionCode < 2) return false;
  return true;
}

Recognition RecogniseOldConfiguration(std::int64_t length, std::uint16_t version, bool ownFile) {
  Recognition r;
  if (length == kLength41) {
    r.versionCode = 0;
  } else if (length == kLength42to51) {
    switch (version) {
      case 41:
      case 42:
        r.versionCode = 1;
        break;
      case 43:
        r.versionCode = 2;
        break;
      case 44:
        r.versionCode = 3;
        break;
      case 45:
        r.versionCode = 4;
        break;
      case 50:
        r.versionCode = 5;
        break;
      case 51:
        if (ownFile)
          r.message = kMsgOwnConfiguration;
        else
          r.versionCode = 6;
        break;
      default:
        r.message = kMsgNotConfiguration;
    }
  } else if (length == kLengthDos) {
    r.message = kMsgDosConfiguration;
  } else if (length == kLength40) {
    r.message = kMsgVersion40;
  } else {
    r.message = kMsgNotConfiguration;
  }
  return r;
}

std::int64_t LengthOfCode(int versionCode) {
  if (versionCode == 0) return kLength41;
  return versionCode >= 1 && versionCode <= 6 ? kLength42to51 : -1;
}

}  // namespace oldcfg

namespace {

using namespace oldcfg;
using C = Configuration;

constexpr std::size_t kValue = 4;  // the later sections are runs of 4-byte values

// The three layouts of the base sections.
enum Layout { k41 = 0, k4142 = 1, k43on = 2 };

// The bytes of the old file, read at fixed offsets.
class OldFile {
 public:
  explicit OldFile(std::string_view bytes) : bytes_(bytes) {}
  // `n` bytes from `offset` (the layouts lie inside their files, so a run never passes the end).
  std::string_view Run(std::size_t offset, std::size_t n) const { return bytes_.substr(offset, n); }
  std::int32_t I32(std::size_t offset) const { return BinaryReader(Run(offset, 4)).I32(); }
  std::uint16_t U16(std::size_t offset) const { return BinaryReader(Run(offset, 2)).U16(); }

 private:
  std::string_view bytes_;
};

// Copies `runs` (old offset, value count) one after another into `block` from its beginning, then
// puts back the bytes in `keep` (block offset, length) as they were.
struct Run {
  std::size_t offset;
  std::size_t values;
};
void CopyRuns(const OldFile& old, cfg::ByteBlock& block, std::initializer_list<Run> runs,
              std::initializer_list<std::pair<std::size_t, std::size_t>> keep = {}) {
  const std::string before(block.Bytes());
  std::size_t at = 0;
  for (const Run& run : runs) {
    block.CopyIn(at, old.Run(run.offset, run.values * kValue));
    at += run.values * kValue;
  }
  for (const auto& [offset, length] : keep)
    block.CopyIn(offset, std::string_view(before).substr(offset, length));
}

void ReadI32s(const OldFile& old, std::size_t offset, std::initializer_list<std::int32_t*> fields) {
  for (std::int32_t* field : fields) {
    *field = old.I32(offset);
    offset += kValue;
  }
}

std::string TextBefore(std::string_view raw) { return std::string(raw.substr(0, raw.find('\0'))); }

void ImportPlanets(const OldFile& old, Layout layout, C& c) {
  const std::size_t first = layout == k41 ? 0 : 2;
  for (std::size_t i = 0; i < c.objectStrings.size(); ++i) {
    const std::string_view s = old.Run(first + i * C::kObjectStringLength, C::kObjectStringLength);
    std::copy(s.begin(), s.end(), c.objectStrings[i].begin());
  }
}

void ImportAspectTable(const OldFile& old, Layout layout, C& c) {
  cfg::ByteBlock& b = c.aspectTable;
  using S = cfg::AspectTableSettings;
  static constexpr std::size_t kSwitches[] = {328, 342, 344};
  static constexpr std::size_t kModes[] = {384, 398, 400};
  b.CopyIn(0, old.Run(kSwitches[layout], 14 * kValue));
  b.Set(S::kColourMode, static_cast<std::int16_t>(old.U16(kModes[layout])));
  b.Set(S::kCellMode, static_cast<std::int16_t>(old.U16(kModes[layout] + 2)));
  b.Set(S::kHouseOrbGroup, static_cast<std::int16_t>(old.U16(kModes[layout] + 4)));
  if (layout == k41) return;
  b.CopyIn(S::kTableWidth.offset, old.Run(layout == k4142 ? 404 : 406, 6 * kValue));
  if (layout == k4142) {
    b.Set(S::kDiagonalMode, old.I32(1722));
    return;
  }
  b.Set(S::kDiagonalMode, old.I32(1740));
  b.Set(S::kMidpointHighlight, old.I32(2384));
  b.Set(S::kOnlyDisplayed, old.I32(2388));
  b.CopyIn(S::kAspectsToHouses.offset, old.Run(2392, 1));
}

void ImportCalculation(const OldFile& old, Layout layout, C& c) {
  // House system, Black Moon, lunar nodes, day and night; the geodetic switch from version 43 on.
  // The further value of each layout has no setting here.
  const std::size_t first = layout == k41 ? 282 : 296;
  cfg::CalculationSettings& k = c.calculation;
  std::size_t at = first;
  for (std::uint16_t* field : {&k.houseSystem, &k.blackMoon, &k.lunarNodes, &k.dayNight}) {
    *field = old.U16(at);
    at += 2;
  }
  if (layout == k43on) k.geodetic = old.U16(304);
}

void ImportPrint(const OldFile& old, Layout layout, C& c) {
  cfg::PrintSettings& p = c.print;
  static constexpr std::size_t kFirst[] = {666, 704, 710};
  std::size_t at = kFirst[layout];
  ReadI32s(old, at, {&p.aspectTable, &p.coordinates, &p.header, &p.sizeChoice, &p.pageFrame});
  if (layout != k43on) return;
  // 42 values: the switches, the four margins and the 26 offsets; the seven after them have no
  // setting here.
  at += 5 * kValue;
  ReadI32s(old, at, {&p.marginLeft, &p.marginTop, &p.marginRight, &p.marginBottom});
  at += 4 * kValue;
  for (auto& offset : p.offsets) {
    offset = old.I32(at);
    at += kValue;
  }
}

void ImportWheelConstants(const OldFile& old, Layout layout, C& c) {
  for (int k = 0; k < WheelConstants::kSetCount; ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (layout == k41)  // 128 bytes apart; their first 120 bytes begin the set
      c.wheelConstants.Set(k).CopyIn(0, old.Run(37500 + 128 * i, 120));
    else
      c.wheelConstants.Set(k).CopyIn(
          0, old.Run(49648 + cfg::WheelSet::kSize * i, cfg::WheelSet::kSize));
  }
}

void ImportComments(const OldFile& old, C& c) {
  std::size_t at = 2856;
  for (auto& name : c.commentPageNames) {
    name = TextBefore(old.Run(at, C::kCommentNameWidth - 1));  // at most 24 bytes and a NUL
    at += C::kCommentNameWidth;
  }
  c.currentCommentPage = old.U16(at);
}

void ImportBase(const OldFile& old, Layout layout, const SectionFlags& flags, C& c) {
  auto chosen = [&flags](Section s) { return flags[s] == 1; };
  if (chosen(kPlanets)) ImportPlanets(old, layout, c);
  if (chosen(kWheel)) {
    cfg::WheelSettings& w = c.wheel;
    ReadI32s(old, layout == k41 ? 258 : 260,
             {&w.direction, &w.wheelType, &w.orientation, &w.division, &w.centreCircleOff,
              &w.degreesShown});
  }
  if (chosen(kAspectFilter)) {
    static constexpr std::size_t kFirst[] = {614, 652, 658};
    cfg::AspectFilter& f = c.aspectFilter;
    ReadI32s(old, kFirst[layout],
             {&f.harmonious, &f.tense, &f.creative, &f.karmic, &f.other, &f.major, &f.minor,
              &f.exact, &f.inexact, &f.overlay, &f.alwaysAsk});
    f.dashedLines = old.I32(kFirst[layout] + 44);
    f.thickLines = old.I32(kFirst[layout] + 48);
  }
  if (chosen(kAspectTable)) ImportAspectTable(old, layout, c);
  if (chosen(kStarAspects)) {
    static constexpr std::size_t kFirst[] = {686, 872, 878};
    CopyRuns(old, c.starAspects, {{kFirst[layout], 6}});
  }
  if (chosen(kCalculation)) ImportCalculation(old, layout, c);
  if (chosen(kColours)) {
    static constexpr std::size_t kFirst[] = {390, 428, 430};
    for (std::size_t i = 0; i < c.screenColours.size(); ++i)
      c.screenColours[i] = old.U16(kFirst[layout] + 2 * i);
  }
  if (chosen(kPrint)) ImportPrint(old, layout, c);
  if (chosen(kWheelConstants)) ImportWheelConstants(old, layout, c);
}

// The sections of versions 41 and later whose offsets differ between 41-42 and 43-51.
void ImportOfVersion41(const OldFile& old, Layout layout, const SectionFlags& flags, C& c) {
  auto chosen = [&flags](Section s) { return flags[s] == 1; };
  const bool later = layout == k43on;
  if (chosen(kCorrespondences)) {
    const std::size_t first = later ? 1422 : 1416;
    for (int slot = 0; slot < C::kSystemSlotCount; ++slot) {
      // A slot whose old name cannot be a system name keeps its present name.
      (void)c.SetSystemName(
          slot, TextBefore(old.Run(first + static_cast<std::size_t>(slot) * C::kSystemNameWidth,
                                   C::kSystemNameWidth)));
    }
  }
  if (chosen(kSabian)) CopyRuns(old, c.sabian, {{later ? 1604u : 1598u, 3}});
  if (chosen(kBindhu)) CopyRuns(old, c.bindhu, {{later ? 1616u : 1610u, 4}});
  if (chosen(kLunarTransits)) CopyRuns(old, c.lunarTransit, {{later ? 1644u : 1626u, 23}});
  // The map-view block; its 8th and 9th values and both halves of the 12th stay as they are.
  if (later && chosen(kAstroCart)) CopyRuns(old, c.astroCart, {{2196, 25}}, {{28, 8}, {44, 4}});
}

void ImportOfVersion43(const OldFile& old, int code, const SectionFlags& flags, C& c) {
  auto chosen = [&flags](Section s) { return flags[s] == 1; };
  if (chosen(kTownList)) CopyRuns(old, c.acLinesList, {{2320, 15}});
  // The two values read from 2164 and 2168 are not taken.
  if (chosen(kRectification)) CopyRuns(old, c.rectification, {{2024, 43}}, {{140, 8}});
  if (chosen(kGraphicEphemeris)) CopyRuns(old, c.graphicEphemeris, {{1888, 15}});
  if (chosen(kLifePoint)) CopyRuns(old, c.lifePoint, {{1948, 19}});
  if (chosen(kArabicParts)) CopyRuns(old, c.arabicParts, {{1748, 11}});
  if (chosen(kRulers)) {
    BinaryReader in(old.Run(1792, 24 * kValue));
    for (auto& body : c.rulers) body = in.I16();
  }
  // Version 44.
  if (chosen(kTremin)) CopyRuns(old, c.treminSettings, {{2776, 20}}, {{32, 4}});
  if (chosen(kComments)) ImportComments(old, c);
  if (chosen(kParans)) CopyRuns(old, c.tablesInterface, {{3108, 20}});
  if (chosen(kStatistics)) CopyRuns(old, c.statistics, {{2708, 17}});
  if (chosen(kThematicCharts)) CopyRuns(old, c.thematicChart, {{2680, 7}});
  // Version 45.
  if (chosen(kQuery)) CopyRuns(old, c.query, {{3192, 11}});
  if (chosen(kTransits)) {
    CopyRuns(old, c.transit, {{3236, 60}});
    if (code == 4) {  // version 45: the search starts on 1 January 2007
      using T = cfg::TransitSettings;
      c.transit.Set(T::kStartDay, 1);
      c.transit.Set(T::kStartMonth, 1);
      c.transit.Set(T::kStartYear, 2007);
      c.transit.Set(T::kStartEra, 'A');
    }
  }
  if (chosen(kArchivePrint)) CopyRuns(old, c.archivePrint, {{3476, 16}});
  if (chosen(kMidpointPrint)) CopyRuns(old, c.midpointPrint, {{3548, 8}, {3540, 2}});
  // Version 50.
  if (chosen(kSort)) CopyRuns(old, c.archiveSort, {{3584, 13}});
  if (chosen(kAspectGraph)) CopyRuns(old, c.aspectGraph, {{3636, 6}});
  if (chosen(kLineTypes)) {
    const std::string_view table = old.Run(3360, C::kLineTypeCount);
    std::copy(table.begin(), table.end(), c.lineTypes.begin());
  }
  if (chosen(kInterpreter)) CopyRuns(old, c.interpretation, {{3670, 75}});
  if (chosen(kTreminForecast)) CopyRuns(old, c.treminForecast, {{3970, 30}});
  if (chosen(kDynamicArchive)) CopyRuns(old, c.dynamicArchive, {{4122, 72}});
  // Version 51.
  if (chosen(kSynastry)) CopyRuns(old, c.synastry, {{4410, 271}});
}

}  // namespace

Status Configuration::Import(const std::filesystem::path& path, int versionCode,
                             const oldcfg::SectionFlags& flags,
                             std::optional<oldcfg::TipOfTheDay>* tips) {
  constexpr const char* kWhere = "Configuration::Import";
  if (tips != nullptr) tips->reset();
  const std::int64_t length = oldcfg::LengthOfCode(versionCode);
  if (length < 0) return Status::Error(kErrParameter, kWhere, versionCode);
  std::string bytes;
  if (Status st = ReadWholeFile(path, bytes); !st.ok()) return st;
  // A file changed since it was recognised is not read at offsets of another layout.
  if (static_cast<std::int64_t>(bytes.size()) != length)
    return Status::Error(kErrRead, path.string());

  const OldFile old(bytes);
  const Layout layout = versionCode == 0 ? k41 : versionCode == 1 ? k4142 : k43on;
  Configuration read = *this;
  oldcfg::SectionFlags taken = flags;
  for (int s = 0; s < oldcfg::kSectionCount; ++s)
    if (!oldcfg::SectionAvailable(s, versionCode)) taken[static_cast<std::size_t>(s)] = 0;
  ImportBase(old, layout, taken, read);
  if (versionCode >= 1) ImportOfVersion41(old, layout, taken, read);
  if (versionCode >= 2) ImportOfVersion43(old, versionCode, taken, read);
  // The tip of the day is the profile's: handed out, the configuration has no field for it.
  if (tips != nullptr && taken[oldcfg::kTipOfTheDay] == 1) {
    oldcfg::TipOfTheDay t;
    t.showAtStart = old.I32(oldcfg::TipOfTheDay::kOffset) != 0;
    t.nextTip = std::max(0, old.I32(oldcfg::TipOfTheDay::kOffset + kValue));
    *tips = t;
  }
  // The older versions printed in the screen colours (version 50 kept print colours of its own).
  if (taken[oldcfg::kColours] == 1 && versionCode != 5) read.printColours = read.screenColours;
  SanitiseConfiguration(read);
  *this = read;
  return Status::Ok();
}
