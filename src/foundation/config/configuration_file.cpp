// The file "velm.cfg": the magic "VCFG", the u16 format version, then tagged blocks, each a u16
// tag, a u32 length and that many bytes, and last the end block (tag 0) with the CRC-32 of every
// byte before it, so that a truncated or damaged file is recognised; little-endian throughout. A
// tag this version does not know is skipped; a tag missing from the file leaves its defaults; a
// block shorter than this version writes it keeps the defaults of its missing tail, so blocks may
// grow.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <system_error>

#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"

namespace {

constexpr std::string_view kMagic = "VCFG";
constexpr std::uint16_t kVersion = 1;
constexpr std::uint16_t kHouseSystemCodes = 19;  // house systems 0..18

enum Damage {
  kNotConfiguration = 1,
  kOtherVersion = 2,
  kRunsPastEnd = 3,  // also a file that ends before its end block
  kUnreadableBlock = 4,
  kChecksum = 5,  // the end block is not last, or the bytes before it were changed
};

// Tags of the typed groups; the settings blocks follow from 100 on.
enum Tag : std::uint16_t {
  kEnd = 0,  // the last block: the CRC-32 of every byte before it
  kObjects = 1,
  kColours = 2,
  kAspectFilter = 3,
  kLineTypes = 4,
  kWheel = 5,
  kCalculation = 6,
  kPrint = 7,
  kComments = 8,
  kRulers = 9,
  kProgram = 10,
  kSystemNames = 11,
  kScreenCoords = 12,
  kPrintCoords = 13,
  kWheelConstants = 14,
};

// A typed group: how it is written, and how it is read back from bytes at least as long as what
// it writes.
struct Group {
  std::uint16_t tag;
  std::function<void(const Configuration&, BinaryWriter&)> write;
  std::function<void(Configuration&, BinaryReader&)> read;
};

template <typename T, std::size_t N>
void WriteI32s(BinaryWriter& out, const std::array<T, N>& values) {
  for (const T v : values) out.I32(v);
}

const std::vector<Group>& Groups() {
  using C = Configuration;
  static const std::vector<Group> groups = {
      {kObjects,
       [](const C& c, BinaryWriter& out) {
         for (const auto& s : c.objectStrings) out.Bytes(std::string_view(s.data(), s.size()));
       },
       [](C& c, BinaryReader& in) {
         for (auto& s : c.objectStrings) {
           const std::string_view raw = in.Bytes(s.size());
           std::copy(raw.begin(), raw.end(), s.begin());
         }
       }},
      {kColours,
       [](const C& c, BinaryWriter& out) {
         for (const auto v : c.screenColours) out.U16(v);
         for (const auto v : c.printColours) out.U16(v);
         out.I32(c.colourPrinting);
         out.I32(c.colourChangeMarker);
       },
       [](C& c, BinaryReader& in) {
         for (auto& v : c.screenColours) v = in.U16();
         for (auto& v : c.printColours) v = in.U16();
         c.colourPrinting = in.I32();
         c.colourChangeMarker = in.I32();
       }},
      {kAspectFilter,
       [](const C& c, BinaryWriter& out) {
         const cfg::AspectFilter& f = c.aspectFilter;
         for (const std::int32_t v :
              {f.harmonious, f.tense, f.creative, f.karmic, f.other, f.major, f.minor, f.exact,
               f.inexact, f.overlay, f.alwaysAsk, f.dashedLines, f.thickLines})
           out.I32(v);
       },
       [](C& c, BinaryReader& in) {
         cfg::AspectFilter& f = c.aspectFilter;
         for (std::int32_t* v :
              {&f.harmonious, &f.tense, &f.creative, &f.karmic, &f.other, &f.major, &f.minor,
               &f.exact, &f.inexact, &f.overlay, &f.alwaysAsk, &f.dashedLines, &f.thickLines})
           *v = in.I32();
       }},
      {kLineTypes,
       [](const C& c, BinaryWriter& out) {
         for (const auto v : c.lineTypes) out.U8(v);
       },
       [](C& c, BinaryReader& in) {
         for (auto& v : c.lineTypes) v = in.U8();
       }},
      {kWheel,
       [](const C& c, BinaryWriter& out) {
         const cfg::WheelSettings& w = c.wheel;
         for (const std::int32_t v :
              {w.direction, w.wheelType, w.orientation, w.division, w.centreCircleOff,
               w.degreesShown, w.angleMarking, w.localSpaceDrawing, w.localSpaceOrientation})
           out.I32(v);
       },
       [](C& c, BinaryReader& in) {
         cfg::WheelSettings& w = c.wheel;
         for (std::int32_t* v :
              {&w.direction, &w.wheelType, &w.orientation, &w.division, &w.centreCircleOff,
               &w.degreesShown, &w.angleMarking, &w.localSpaceDrawing, &w.localSpaceOrientation})
           *v = in.I32();
       }},
      {kCalculation,
       [](const C& c, BinaryWriter& out) {
         const cfg::CalculationSettings& k = c.calculation;
         for (const std::uint16_t v :
              {k.houseSystem, k.blackMoon, k.lunarNodes, k.dayNight, k.geodetic})
           out.U16(v);
       },
       [](C& c, BinaryReader& in) {
         cfg::CalculationSettings& k = c.calculation;
         for (std::uint16_t* v :
              {&k.houseSystem, &k.blackMoon, &k.lunarNodes, &k.dayNight, &k.geodetic})
           *v = in.U16();
       }},
      {kPrint,
       [](const C& c, BinaryWriter& out) {
         const cfg::PrintSettings& p = c.print;
         for (const std::int32_t v :
              {p.aspectTable, p.coordinates, p.header, p.sizeChoice, p.pageFrame, p.marginLeft,
               p.marginTop, p.marginRight, p.marginBottom})
           out.I32(v);
         WriteI32s(out, p.offsets);
       },
       [](C& c, BinaryReader& in) {
         cfg::PrintSettings& p = c.print;
         for (std::int32_t* v :
              {&p.aspectTable, &p.coordinates, &p.header, &p.sizeChoice, &p.pageFrame,
               &p.marginLeft, &p.marginTop, &p.marginRight, &p.marginBottom})
           *v = in.I32();
         for (auto& v : p.offsets) v = in.I32();
       }},
      {kComments,
       [](const C& c, BinaryWriter& out) {
         for (const auto& name : c.commentPageNames) out.FixedText(name, C::kCommentNameWidth);
         out.U16(c.currentCommentPage);
       },
       [](C& c, BinaryReader& in) {
         for (auto& name : c.commentPageNames) name = in.FixedText(C::kCommentNameWidth);
         c.currentCommentPage = in.U16();
       }},
      {kRulers,
       [](const C& c, BinaryWriter& out) {
         for (const auto v : c.rulers) out.I16(v);
         for (const auto v : c.signRulers) out.I16(v);
       },
       [](C& c, BinaryReader& in) {
         for (auto& v : c.rulers) v = in.I16();
         for (auto& v : c.signRulers) v = in.I16();
       }},
      {kProgram,
       [](const C& c, BinaryWriter& out) {
         out.U32(c.launchCounter);
         for (const std::int32_t v :
              {c.windows2000, c.planetaryHoursLayout, c.largeFont, c.wideColumns})
           out.I32(v);
       },
       [](C& c, BinaryReader& in) {
         c.launchCounter = in.U32();
         for (std::int32_t* v :
              {&c.windows2000, &c.planetaryHoursLayout, &c.largeFont, &c.wideColumns})
           *v = in.I32();
       }},
      {kSystemNames,
       [](const C& c, BinaryWriter& out) {
         for (int slot = 0; slot < C::kSystemSlotCount; ++slot)
           out.FixedText(c.GetSystemName(slot), C::kSystemNameWidth);
       },
       [](C& c, BinaryReader& in) {
         // A slot whose name cannot be a system name keeps its default.
         for (int slot = 0; slot < C::kSystemSlotCount; ++slot)
           (void)c.SetSystemName(slot, in.FixedText(C::kSystemNameWidth));
       }},
      {kWheelConstants,
       [](const C& c, BinaryWriter& out) {
         for (int k = 0; k < WheelConstants::kSetCount; ++k)
           out.Bytes(c.wheelConstants.GetSet(k).Bytes());
       },
       [](C& c, BinaryReader& in) {
         for (int k = 0; k < WheelConstants::kSetCount; ++k)
           c.wheelConstants.Set(k).CopyIn(0, in.Bytes(cfg::WheelSet::kSize));
       }},
  };
  return groups;
}

// The settings blocks by tag.
const std::vector<std::pair<std::uint16_t, cfg::ByteBlock Configuration::*>>& Blocks() {
  using C = Configuration;
  static const std::vector<std::pair<std::uint16_t, cfg::ByteBlock C::*>> blocks = {
      {100, &C::archiveSearch},    {101, &C::archiveSort},    {102, &C::archivePrint},
      {103, &C::dynamicArchive},   {104, &C::aspectTable},    {105, &C::midpointPrint},
      {106, &C::arabicParts},      {107, &C::aspectGraph},    {108, &C::thematicChart},
      {109, &C::graphicEphemeris}, {110, &C::starAspects},    {111, &C::bindhu},
      {112, &C::sabian},           {113, &C::astroCart},      {114, &C::acLinesList},
      {115, &C::tablesInterface},  {116, &C::query},          {117, &C::synastry},
      {118, &C::statistics},       {119, &C::interpretation}, {120, &C::transit},
      {121, &C::lunarTransit},     {122, &C::lifePoint},      {123, &C::predictionList},
      {124, &C::treminSettings},   {125, &C::treminInterval}, {126, &C::treminForecast},
      {127, &C::rectification},
  };
  return blocks;
}

std::string TagHeader(std::uint16_t tag, std::size_t length) {
  BinaryWriter out;
  out.U16(tag);
  out.U32(static_cast<std::uint32_t>(length));
  return out.Take();
}

// CRC-32 (polynomial 0xEDB88320, as in zip and PNG).
std::uint32_t Crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char b : bytes) c = table[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

// The bytes that COORD_CONF::Save writes.
Status SavedCoords(const COORD_CONF& coords, std::string& bytes) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_memstream(&buffer, &size);
  if (stream == nullptr) return Status::Error(kErrNoMemory, "Configuration::Save");
  const Status st = coords.Save(stream);
  std::fclose(stream);
  bytes.assign(buffer, size);
  std::free(buffer);
  return st;
}

}  // namespace

void SanitiseConfiguration(Configuration& c) {
  const Configuration defaults;
  for (int i = 0; i < Configuration::kObjectStringLength; ++i) {
    const char orb = c.objectStrings[Configuration::kOrbString][i];
    if (orb < '1' || orb > '5')
      c.objectStrings[Configuration::kOrbString][i] =
          defaults.objectStrings[Configuration::kOrbString][i];
  }
  if (c.currentCommentPage >= Configuration::kCommentPageCount) c.currentCommentPage = 0;
  for (auto& body : c.rulers)
    if (body < -1 || body > 29) body = -1;
  for (auto& body : c.signRulers)
    if (body < -1 || body > 33) body = -1;
  cfg::CalculationSettings& k = c.calculation;
  if (k.houseSystem >= kHouseSystemCodes) k.houseSystem = defaults.calculation.houseSystem;
  if (k.blackMoon > 1) k.blackMoon = defaults.calculation.blackMoon;
  if (k.lunarNodes > 1) k.lunarNodes = defaults.calculation.lunarNodes;
}

Status Configuration::Save(const std::filesystem::path& path) const {
  BinaryWriter image;
  image.Bytes(kMagic);
  image.U16(kVersion);
  for (const Group& group : Groups()) {
    BinaryWriter out;
    group.write(*this, out);
    image.Bytes(TagHeader(group.tag, out.Size()));
    image.Bytes(out.Data());
  }
  for (const auto& [tag, coords] :
       {std::pair{kScreenCoords, &screenCoords}, std::pair{kPrintCoords, &printCoords}}) {
    std::string bytes;
    if (Status st = SavedCoords(*coords, bytes); !st.ok()) return st;
    image.Bytes(TagHeader(tag, bytes.size()));
    image.Bytes(bytes);
  }
  for (const auto& [tag, member] : Blocks()) {
    const cfg::ByteBlock& block = this->*member;
    image.Bytes(TagHeader(tag, block.Size()));
    image.Bytes(block.Bytes());
  }
  const std::uint32_t crc = Crc32(image.Data());
  image.Bytes(TagHeader(kEnd, 4));
  image.U32(crc);
  return RewriteFile(path, image.Data());
}

Status Configuration::Load(const std::filesystem::path& path) {
  const Configuration defaults;
  *this = defaults;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return Status::Ok();

  std::string bytes;
  if (Status st = ReadWholeFile(path, bytes); !st.ok()) return st;
  const std::string where = path.string();
  BinaryReader in(bytes);
  if (in.Bytes(kMagic.size()) != kMagic) return Status::Error(kErrFormat, where, kNotConfiguration);
  const std::uint16_t version = in.U16();
  if (!in.Ok()) return Status::Error(kErrFormat, where, kNotConfiguration);
  if (version != kVersion) return Status::Error(kErrFormat, where, kOtherVersion);

  Configuration read = defaults;
  for (;;) {
    const std::size_t blockStart = in.Position();
    const std::uint16_t tag = in.U16();
    const std::uint32_t length = in.U32();
    const std::string_view payload = in.Bytes(length);
    if (!in.Ok()) return Status::Error(kErrFormat, where, kRunsPastEnd);
    if (tag == kEnd) {
      BinaryReader crc(payload);
      if (length != 4 || in.Remaining() != 0 ||
          crc.U32() != Crc32(std::string_view(bytes).substr(0, blockStart)))
        return Status::Error(kErrFormat, where, kChecksum);
      break;
    }

    if (tag == kScreenCoords || tag == kPrintCoords) {
      COORD_CONF& coords = tag == kScreenCoords ? read.screenCoords : read.printCoords;
      if (!coords.Import(payload).ok()) return Status::Error(kErrFormat, where, kUnreadableBlock);
      continue;
    }
    // A tag found in neither table is a block of a later version: skipped.
    for (const Group& group : Groups()) {
      if (group.tag != tag) continue;
      // The stored bytes over the defaults' bytes: a shorter group keeps its defaulted tail.
      BinaryWriter out;
      group.write(defaults, out);
      std::string merged = out.Take();
      merged.replace(0, std::min(merged.size(), payload.size()),
                     payload.substr(0, std::min(merged.size(), payload.size())));
      BinaryReader groupIn(merged);
      group.read(read, groupIn);
    }
    for (const auto& [blockTag, member] : Blocks()) {
      if (blockTag == tag) (read.*member).CopyIn(0, payload);
    }
  }
  SanitiseConfiguration(read);
  *this = read;
  return Status::Ok();
}

void ConfigurationFile::LoadAtStart(const std::filesystem::path& path, Configuration& config) {
  path_ = path;
  atStart_.reset();
  std::error_code ec;
  const bool existed = std::filesystem::exists(path, ec) || ec;
  const Status st = config.Load(path);
  if (st.ok()) {
    // A data folder without a configuration gets the defaults written at once (when the program
    // can write there).
    if (!existed && GetSettings().Writable())
      ReportStatus(config.Save(path), "Configuration::Save");
    return;
  }
  ReportStatus(st, "Configuration::Load");
  atStart_ = std::make_unique<Configuration>(config);
}

void ConfigurationFile::SaveAtExit(const Configuration& config) {
  if (path_.empty() || !GetSettings().Writable()) return;
  if (atStart_ != nullptr) {
    // The user was told at start; unchanged settings leave the unread file as it is.
    if (config == *atStart_) return;
    if (platform::GetPrompter().AskYesNo(kMsgSaveOverUnread, GetMessageText(kMsgSaveOverUnread)) !=
        platform::Answer::Yes)
      return;
    std::filesystem::path kept;
    std::error_code ec;
    if (std::filesystem::exists(path_, ec) || ec) {
      if (Status moved = MoveAside(path_, kept); !moved.ok()) {
        ReportStatus(moved, "Configuration::Save");
        return;
      }
    }
    const Status saved = config.Save(path_);
    // Not saved: the unread file goes back under its name, as it was.
    if (!saved.ok() && !kept.empty()) std::rename(kept.c_str(), path_.c_str());
    if (saved.ok()) atStart_.reset();
    ReportStatus(saved, "Configuration::Save");
    return;
  }
  ReportStatus(config.Save(path_), "Configuration::Save");
}
