#include "astro/aspects/aspect_system.h"

#include <cmath>
#include <utility>

#include "foundation/errors/error_report.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "platform/core/codepage.h"

namespace {

// ".ASP" file: magic, version, aspect count (u16), then per aspect: angle f64, six orbs f64
// (columns 0..5), abbreviation char[4], colour u16, exact colour u16, type, major flag, line style,
// thickness (u8 each), name char[32]. Little-endian; nothing after the last aspect.
constexpr std::string_view kMagic = "VASP";
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kAbbreviationWidth = Aspect::kAbbreviationLength + 1;
constexpr std::size_t kNameWidth = Aspect::kNameLength + 1;

constexpr double kAbsent = -777.0;
constexpr double kMargin = 1e-9;  // orbs are inclusive, whatever the binary rounding

bool IsAbsent(double longitude) { return longitude == kAbsent || !std::isfinite(longitude); }

double FoldedAngle(const Aspect& aspect) {
  // Every usual angle lies within 0..180 already: no division then (the searches call this for
  // every aspect of every pair).
  if (std::fabs(aspect.angle) <= 180.0) return std::fabs(aspect.angle);
  double a = std::fmod(std::fabs(aspect.angle), 360.0);
  return a > 180.0 ? 360.0 - a : a;
}

bool ValuesAreFinite(const Aspect& aspect) {
  if (!std::isfinite(aspect.angle)) return false;
  for (double orb : aspect.orbs)
    if (!std::isfinite(orb)) return false;
  return true;
}

}  // namespace

AspectSystem::AspectSystem(std::string_view name, std::filesystem::path file)
    : name_(SystemNameUpper(name)), file_(std::move(file)) {}

int AspectSystem::CheckAspectNumber(int n) const {
  if (n >= 0 && n < Count()) return 0;
  ShowAspectMessage(kAspMsgBadPosition);
  return -1;
}

int AspectSystem::IsMajorAspect(int i) const {
  if (CheckAspectNumber(i) != 0) return -1;
  return GetAspect(i).IsMajor() ? 0 : -1;
}

AspectMatch AspectSystem::Match(const Aspect& aspect, int position, double separation,
                                OrbColumn column) const {
  AspectMatch match;
  const double deviation = separation - FoldedAngle(aspect);
  const double distance = std::fabs(deviation);
  if (distance <= aspect.Orb(OrbColumn{OrbColumn::kExact}) + kMargin) {
    match.result = 2;
  } else if (distance <= aspect.Orb(column) + kMargin) {
    match.result = 0;
  } else {
    return match;
  }
  match.position = position;
  match.separation = separation;
  match.deviation = deviation;
  match.major = aspect.IsMajor() ? 1 : 0;
  match.type = aspect.type;
  match.side = match.result == 2 ? 1 : (deviation < 0 ? 0 : 2);
  return match;
}

AspectMatch AspectSystem::FindAspect(double longitudeA, double longitudeB, OrbColumn column) const {
  if (IsAbsent(longitudeA) || IsAbsent(longitudeB)) return {};
  const double separation = AspectSeparation(longitudeA, longitudeB);
  for (int i = 0; i < Count(); ++i) {
    const AspectMatch match = Match(GetAspect(i), i, separation, column);
    if (match.Found()) return match;
  }
  AspectMatch none;
  none.separation = separation;
  return none;
}

AspectMatch AspectSystem::FindAspectBetween(double longitudeA, double longitudeB,
                                            OrbColumn column) const {
  return FindAspect(longitudeA, longitudeB, column);
}

AspectMatch AspectSystem::FindAspectMotion(double longitudeA, double speedA, double longitudeB,
                                           double speedB, OrbColumn column) const {
  AspectMatch match;
  if (IsAbsent(longitudeA) || IsAbsent(longitudeB)) return match;
  const double separation = AspectSeparation(longitudeA, longitudeB);
  double raw = std::fmod(longitudeB - longitudeA, 360.0);
  if (raw < 0) raw += 360.0;
  // The folded separation grows with B - A on the first half circle and shrinks on the second.
  const double separationRate = (raw <= 180.0 ? 1.0 : -1.0) * (speedB - speedA);
  for (int i = 0; i < Count(); ++i) {
    const Aspect& aspect = GetAspect(i);
    const double deviation = separation - FoldedAngle(aspect);
    if (std::fabs(deviation) > aspect.Orb(column) + 0.033 + kMargin) continue;
    match.result = deviation * separationRate < 0 ? 3 : 4;
    match.position = i;
    match.separation = separation;
    match.deviation = deviation;
    match.major = aspect.IsMajor() ? 1 : 0;
    match.type = aspect.type;
    match.side = deviation == 0 ? 1 : (deviation < 0 ? 0 : 2);
    return match;
  }
  match.separation = separation;
  return match;
}

int AspectSystem::FindAspectByClass(int aspectIndex) const {
  if (aspectIndex < 0) return -1;
  for (int i = 0; i < Count(); ++i)
    if (ClassifyAspectAngle(GetAspect(i)) == aspectIndex) return i;
  return -1;
}

int AspectSystem::FindMajorAspect(int n) const {
  if (n < 0) return -1;
  for (int i = 0; i < Count(); ++i) {
    if (!GetAspect(i).IsMajor()) continue;
    if (n-- == 0) return i;
  }
  return -1;
}

int AspectSystem::AddAspect(const Aspect& aspect) {
  if (Count() >= kMaxAspects) {
    ShowAspectMessage(kAspMsgTooMany);
    return -1;
  }
  if (!ValuesAreFinite(aspect)) {
    ShowAspectMessage(kAspMsgBadValue);
    return -1;
  }
  aspects_.push_back(aspect);
  return 0;
}

int AspectSystem::DeleteAspect(int position) {
  if (CheckAspectNumber(position) != 0) return -1;
  aspects_.erase(aspects_.begin() + position);
  return 0;
}

void AspectSystem::SetAspects(std::vector<Aspect> aspects) {
  if (aspects.size() > static_cast<std::size_t>(kMaxAspects)) aspects.resize(kMaxAspects);
  aspects_ = std::move(aspects);
}

std::string AspectSystem::Serialize(const std::vector<Aspect>& aspects) {
  BinaryWriter out;
  out.Bytes(kMagic);
  out.U16(kVersion);
  out.U16(static_cast<std::uint16_t>(aspects.size()));
  for (const Aspect& a : aspects) {
    out.F64(a.angle);
    for (double orb : a.orbs) out.F64(orb);
    out.FixedText(a.abbreviation, kAbbreviationWidth);
    out.U16(a.color);
    out.U16(a.exactColor);
    out.U8(a.type);
    out.U8(a.major);
    out.U8(a.lineStyle);
    out.U8(a.thickness);
    out.FixedText(a.name, kNameWidth);
  }
  return out.Take();
}

Status AspectSystem::Parse(std::string_view bytes, std::vector<Aspect>& out,
                           const std::string& where) {
  BinaryReader in(bytes);
  if (in.Bytes(kMagic.size()) != kMagic) return Status::Error(kErrFormat, where, 1);
  if (in.U16() != kVersion) return Status::Error(kErrFormat, where, 2);
  const int count = in.U16();
  if (!in.Ok() || count > kMaxAspects) return Status::Error(kErrFormat, where, 3);
  std::vector<Aspect> aspects(static_cast<std::size_t>(count));
  for (Aspect& a : aspects) {
    a.angle = in.F64();
    for (double& orb : a.orbs) orb = in.F64();
    a.abbreviation = in.FixedText(kAbbreviationWidth).substr(0, Aspect::kAbbreviationLength);
    a.color = in.U16();
    a.exactColor = in.U16();
    a.type = in.U8();
    a.major = in.U8();
    a.lineStyle = in.U8();
    a.thickness = in.U8();
    a.name = in.FixedText(kNameWidth).substr(0, Aspect::kNameLength);
    if (!in.Ok()) return Status::Error(kErrFormat, where, 4);
    if (!ValuesAreFinite(a)) return Status::Error(kErrFormat, where, 5);
  }
  if (in.Remaining() != 0) return Status::Error(kErrFormat, where, 6);
  out = std::move(aspects);
  return Status::Ok();
}

Status AspectSystem::SaveSystem() const {
  Status status = file_.empty() ? Status::Error(kErrParameter, name_, 1)
                                : RewriteFile(file_, Serialize(aspects_));
  if (!status.ok()) ReportStatus(status, "AspectSystem::SaveSystem");
  return status;
}

Status AspectSystem::LoadSystem(const std::filesystem::path& file) {
  const std::string name = SystemNameOfFile(file);
  if (name.empty()) return Status::Error(kErrFormat, file.string(), 7);
  std::string bytes;
  if (Status st = ReadWholeFile(file, bytes); !st.ok()) return st;
  std::vector<Aspect> aspects;
  if (Status st = Parse(bytes, aspects, file.string()); !st.ok()) return st;
  name_ = name;
  file_ = file;
  aspects_ = std::move(aspects);
  return Status::Ok();
}

bool IsValidSystemName(std::string_view name) {
  if (name.empty() || name.size() > AspectSystem::kMaxNameLength) return false;
  if (name.front() == ' ' || name.back() == ' ') return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || u == 0x98) return false;
    if (std::string_view("/\\:*?\"<>|.").find(c) != std::string_view::npos) return false;
  }
  return true;
}

std::string SystemNameUpper(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z')
      c = static_cast<char>(u - 0x20);
    else if (u >= 0xE0)
      c = static_cast<char>(u - 0x20);  // а..я
    else if (u == 0xB8)
      c = static_cast<char>(0xA8);  // ё
  }
  return upper;
}

std::filesystem::path SystemFileName(std::string_view name) {
  return std::filesystem::path(platform::Cp1251ToUtf8(name) + ".ASP");
}

std::string SystemNameOfFile(const std::filesystem::path& file) {
  bool lossless = false;
  const std::string name = platform::Utf8ToCp1251(file.stem().string(), &lossless);
  if (!lossless || !IsValidSystemName(name)) return {};
  return SystemNameUpper(name);
}
