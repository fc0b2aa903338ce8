#include "views/core/sabians.h"

#include <cmath>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "platform/core/codepage.h"
#include "views/core/point_choice.h"

namespace {

using S = cfg::SabianSettings;
using C = SabianChoice;
using cfg::Bind;

// A choice out of range reads as its default; the switches read 1 when nonzero.
constexpr cfg::FieldTable kFields{Bind(&C::bodies, S::kBodies, cfg::InRange{0, 4}),
                                  Bind(&C::houses, S::kHouses, cfg::InRange{0, 4}),
                                  Bind(&C::nodes, S::kNodes, cfg::NonZero{}),
                                  Bind(&C::showEveryTime, S::kShowEveryTime, cfg::NonZero{})};
constexpr int kBodyCount = 34;

const std::string kEmpty;

}  // namespace

Status ALL_SABIANS::Load(const std::filesystem::path& file) {
  Free();
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) return st;
  Decode(bytes);
  return Status::Ok();
}

void ALL_SABIANS::Decode(std::string_view bytes) {
  for (std::string& t : texts_) t.clear();
  std::size_t at = 0;
  for (int k = 0; k < kSabianCount && at < bytes.size(); ++k) {
    const std::size_t end = bytes.find('\0', at);
    const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
    texts_[static_cast<std::size_t>(k)] = std::string(bytes.substr(at, stop - at));
    at = stop + 1;
  }
  loaded_ = true;
}

const std::string& ALL_SABIANS::Text(int degree) const {
  return degree >= 0 && degree < kSabianCount ? texts_[static_cast<std::size_t>(degree)] : kEmpty;
}

void ALL_SABIANS::Free() {
  for (std::string& t : texts_) t.clear();
  loaded_ = false;
}

SabianChoice SabianChoice::Read(const Configuration& config) {
  SabianChoice s;
  kFields.Read(config.sabian, s);
  return s;
}

void SabianChoice::Write(Configuration& config) const { kFields.Write(*this, config.sabian); }

int SabianDegree(double longitude) {
  if (longitude == kAbsent || !std::isfinite(longitude)) return -1;
  return static_cast<int>(NormalizeDegrees(longitude)) % kSabianCount;
}

std::string SabianText(const Chart& chart, const SabianChoice& s, const Configuration& config,
                       const ALL_SABIANS& sabians) {
  std::string text;
  const auto add = [&](const std::string& name, double longitude) {
    const int degree = SabianDegree(longitude);
    if (degree < 0) return;
    text += "   " + name + ". " + sabians.Text(degree) + "\n";
  };
  for (int b = 0; b < kBodyCount; ++b)
    if (BodyChosen(b, s.bodies, s.nodes != 0, config))
      add(GetMessageText(kMsgPointNameFirst + b), chart.GetPointLongitude(b).Get());
  for (int k = 0; k < 12; ++k)
    if (CuspChosen(k, s.houses))
      add(GetMessageText(kMsgHouseNameFirst + k), chart.GetCusp(k).Get());
  return text.empty() ? GetMessageText(kMsgSabianNothing) : text;
}

Status MakeSabianFile(std::string_view utf8, std::string& out) {
  out.clear();
  int lines = 0;
  while (!utf8.empty() && lines <= kSabianCount) {
    const std::size_t end = utf8.find('\n');
    std::string_view line = utf8.substr(0, end);
    utf8 = end == std::string_view::npos ? std::string_view{} : utf8.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    bool lossless = true;
    const std::string cp = platform::Utf8ToCp1251(line, &lossless);
    if (!lossless || cp.find('\0') != std::string::npos) {
      out.clear();
      return Status::Error(kErrFormat, "line " + std::to_string(lines + 1));
    }
    out += cp;
    out += '\0';
    ++lines;
  }
  if (lines != kSabianCount) {
    out.clear();
    return Status::Error(kErrFormat, std::to_string(lines) + " lines");
  }
  return Status::Ok();
}
