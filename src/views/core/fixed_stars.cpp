#include "views/core/fixed_stars.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "astro/chart/chart.h"
#include "astro/ephemeris/star_places.h"
#include "astro/ephemeris/time_scales.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/source.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "foundation/text/code_page_866.h"

namespace {

namespace fs = std::filesystem;
using S = cfg::StarAspectSettings;

// The fields of a catalogue record: offset and size.
struct Field {
  std::size_t at, size;
};
constexpr std::array<Field, 3> kLatinTexts{{{2, 20}, {22, 20}, {42, 10}}};
constexpr std::array<Field, 3> kRussianTexts{{{52, 21}, {73, 20}, {93, 10}}};
constexpr Field kCode{103, 3}, kMagnitude{106, 5};
constexpr std::size_t kPmRa = 111, kPmDec = 115, kRa = 119, kDec = 123;
constexpr std::size_t kKeyLength = 21;
constexpr std::size_t kTextStartAfterMarker = 5;
constexpr int kTextColour = 4;

// The field's text up to its first NUL, never beyond the field.
std::string FieldText(const char* field, std::size_t size) {
  return std::string(field, strnlen(field, size));
}

float ReadFloat(std::string_view record, std::size_t at) {
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i)
    bits = (bits << 8) | static_cast<unsigned char>(record[at + static_cast<std::size_t>(i)]);
  return std::bit_cast<float>(bits);
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') c = static_cast<char>(u + 32);
    if (u >= 0xC0 && u <= 0xDF) c = static_cast<char>(u + 32);  // code page 1251 capitals
  }
  return out;
}

bool Absent(double value) { return value == kAbsent || !std::isfinite(value); }

platform::Font TextFont(int size) { return platform::Font{std::string(platform::kTextFace), size}; }

}  // namespace

// --- Scrambling ---

std::array<std::uint8_t, 21> StarTextKey() {
  std::array<std::uint8_t, 21> key{};
  for (std::size_t p = 0; p < key.size(); ++p)
    key[p] = static_cast<std::uint8_t>((p * 7 + 3) % 13 + 1);
  return key;
}

std::array<std::uint8_t, 10> StarInterpretationKey() {
  std::array<std::uint8_t, 10> key{};
  for (std::size_t p = 0; p < key.size(); ++p)
    key[p] = static_cast<std::uint8_t>((p * 5 + 2) % 9 + 1);
  return key;
}

void UnscrambleStarField(char* field, std::size_t size) {
  const auto key = StarTextKey();
  for (std::size_t p = 0; p < std::min(size, kKeyLength) && field[p] != '\0'; ++p)
    field[p] = static_cast<char>(static_cast<std::uint8_t>(field[p]) + key[p]);
}

void ScrambleStarField(char* field, std::size_t size) {
  const auto key = StarTextKey();
  for (std::size_t p = 0; p < std::min(size, kKeyLength) && field[p] != '\0'; ++p)
    field[p] = static_cast<char>(static_cast<std::uint8_t>(field[p]) - key[p]);
}

void UnscrambleInterpretations(std::string& bytes) {
  const auto key = StarInterpretationKey();
  for (std::size_t p = 0; p < bytes.size(); ++p)
    bytes[p] = static_cast<char>(static_cast<std::uint8_t>(bytes[p]) - key[p % key.size()]);
}

void ScrambleInterpretations(std::string& bytes) {
  const auto key = StarInterpretationKey();
  for (std::size_t p = 0; p < bytes.size(); ++p)
    bytes[p] = static_cast<char>(static_cast<std::uint8_t>(bytes[p]) + key[p % key.size()]);
}

// --- AllStars ---

Status AllStars::LoadStars(const fs::path& catalogue, const fs::path& interpretations,
                           int language) {
  Free();
  const Status texts = LoadInterpretations(interpretations);
  std::string bytes;
  // A read error keeps the whole records read before it.
  const Status read = ReadWholeFile(catalogue, bytes);
  DecodeCatalogue(bytes, language);
  return read.ok() ? texts : read;
}

Status AllStars::LoadInterpretations(const fs::path& file) {
  interpretations_.clear();
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) return st;
  SetInterpretations(std::move(bytes));
  return Status::Ok();
}

void AllStars::SetInterpretations(std::string scrambled) {
  UnscrambleInterpretations(scrambled);
  interpretations_ = std::move(scrambled);
  for (Entry& star : stars_) star.text = FindInterpretation(star.number);
}

void AllStars::DecodeCatalogue(std::string_view bytes, int language) {
  stars_.clear();
  const std::size_t count = std::min<std::size_t>(bytes.size() / kRecordSize, kMaxStars);
  stars_.reserve(count);
  for (std::size_t r = 0; r < count; ++r) {
    std::array<char, kRecordSize> record{};
    std::memcpy(record.data(), bytes.data() + r * kRecordSize, kRecordSize);
    Entry star;
    star.number = static_cast<std::uint16_t>(static_cast<unsigned char>(record[0]) |
                                             static_cast<unsigned char>(record[1]) << 8);
    std::array<std::string, 3> latin, russian;
    for (std::size_t i = 0; i < 3; ++i) {
      UnscrambleStarField(record.data() + kLatinTexts[i].at, kLatinTexts[i].size);
      UnscrambleStarField(record.data() + kRussianTexts[i].at, kRussianTexts[i].size);
      latin[i] = FieldText(record.data() + kLatinTexts[i].at, kLatinTexts[i].size);
      russian[i] = FieldText(record.data() + kRussianTexts[i].at, kRussianTexts[i].size);
      ConvertString866To1251(russian[i]);
    }
    const std::array<std::string, 3>& shown = language == 1 ? russian : latin;
    star.text1 = shown[0];
    star.text2 = shown[1];
    star.text3 = shown[2];
    star.latinName = latin[0];
    star.code = FieldText(record.data() + kCode.at, kCode.size - 1);
    star.magnitude = FieldText(record.data() + kMagnitude.at, kMagnitude.size - 1);
    const std::string_view view(record.data(), record.size());
    star.properMotionRa = ReadFloat(view, kPmRa);
    star.properMotionDec = ReadFloat(view, kPmDec);
    star.rightAscension1950 = ReadFloat(view, kRa);
    star.declination1950 = ReadFloat(view, kDec);
    star.text = FindInterpretation(star.number);
    stars_.push_back(std::move(star));
  }
  ReadSpaceMotions(bytes);
}

void AllStars::ReadSpaceMotions(std::string_view bytes) {
  const std::size_t tail = bytes.size() % kRecordSize;
  const std::size_t trailer = kSpaceMotionMark.size() + 2;
  if (tail < trailer || bytes.substr(bytes.size() - trailer, 4) != kSpaceMotionMark) return;
  const std::size_t count = static_cast<unsigned char>(bytes[bytes.size() - 2]) |
                            static_cast<std::size_t>(static_cast<unsigned char>(bytes.back())) << 8;
  if (count > kMaxSpaceMotions || tail != count * kSpaceMotionSize + trailer) return;
  const std::string_view entries = bytes.substr(bytes.size() - tail, count * kSpaceMotionSize);
  for (std::size_t e = 0; e < count; ++e) {
    const std::string_view entry = entries.substr(e * kSpaceMotionSize, kSpaceMotionSize);
    const int number = static_cast<unsigned char>(entry[0]) | static_cast<unsigned char>(entry[1])
                                                                  << 8;
    const float parallax = ReadFloat(entry, 2), velocity = ReadFloat(entry, 6);
    if (!(parallax > 0.0f && parallax <= 1.0f) || !(std::fabs(velocity) <= 1000.0f)) continue;
    for (Entry& star : stars_) {
      if (star.number != number) continue;
      star.parallax = parallax;
      star.radialVelocity = velocity;
      break;
    }
  }
}

std::optional<std::size_t> AllStars::FindInterpretation(int number) const {
  if (interpretations_.empty() || number < kFirstMarkedNumber || number > kLastMarkedNumber)
    return std::nullopt;
  char marker[8];
  std::snprintf(marker, sizeof marker, "*%03d", number);
  const std::size_t at = interpretations_.find(marker);
  if (at == std::string::npos) return std::nullopt;
  return std::min(at + kTextStartAfterMarker, interpretations_.size());
}

int AllStars::FindByName(std::string_view name) const {
  const std::string wanted = Lower(name);
  for (int i = 0; i < Count(); ++i) {
    const Entry& star = stars_[static_cast<std::size_t>(i)];
    if (Lower(star.latinName) == wanted || Lower(star.text1) == wanted) return i;
  }
  return -1;
}

bool AllStars::HasInterpretation(int index) const {
  return index >= 0 && index < Count() && stars_[static_cast<std::size_t>(index)].text.has_value();
}

std::string_view AllStars::Interpretation(int index) const {
  if (!HasInterpretation(index)) return {};
  const std::size_t begin = *stars_[static_cast<std::size_t>(index)].text;
  const std::size_t end = std::min(interpretations_.find('*', begin), interpretations_.size());
  return std::string_view(interpretations_).substr(begin, end - begin);
}

std::string AllStars::GetStarLabel(int index) const {
  if (index < 0 || index >= Count()) return {};
  const StarRecord& s = Star(index);
  return s.text1 + " (" + s.text3 + " " + s.text2 + " " + s.magnitude + " " + s.code + ")";
}

void AllStars::Free() {
  stars_.clear();
  interpretations_.clear();
}

// --- Places ---

StarMoment::StarMoment(double jdUt)
    : years((jdUt - kStarCatalogueEpoch) / kDaysPerYear),
      frame_(new StarPlaceFrame(kStarCatalogueEpoch, ToTt(JdUt{jdUt}).days)) {}

StarMoment::~StarMoment() { delete frame_; }

StarPosition CalcStarPosition(const StarRecord& star, const StarMoment& moment) {
  double ra = star.rightAscension1950 + star.properMotionRa * moment.years / 3600.0;
  double dec = star.declination1950 + star.properMotionDec * moment.years / 3600.0;
  if (star.parallax > 0.0f && std::isfinite(ra) && std::isfinite(dec) &&
      std::fabs(star.declination1950) <= 90.0f) {
    const double ra1950 = star.rightAscension1950 * 15.0, dec1950 = star.declination1950;
    const Equatorial place =
        EquatorialOf(SpaceMotionOf(ra1950, dec1950,
                                   star.properMotionRa * 15.0 * std::cos(dec1950 * M_PI / 180.0),
                                   star.properMotionDec, star.parallax, star.radialVelocity)
                         .At(moment.years));
    ra = place.rightAscension / 15.0;
    dec = place.declination;
  }
  if (!std::isfinite(ra) || !std::isfinite(dec) || std::fabs(dec) > 90.0)
    return StarPosition{kAbsent, kAbsent, kAbsent, kAbsent};
  const Ecliptic ecl = moment.Frame().ApparentEcliptic(ra * 15.0, dec);
  const Equatorial equ = moment.Frame().ApparentEquatorial(ecl);
  return StarPosition{ecl.longitude, ecl.latitude, equ.rightAscension, equ.declination};
}

// --- Settings, orbs, aspects ---

StarAspectChoice StarAspectChoice::Read(const Configuration& config) {
  const cfg::ByteBlock& b = config.starAspects;
  StarAspectChoice c;
  c.kind = b.Get(S::kKind) == 1 ? 1 : 0;
  for (std::size_t i = 0; i < c.orbs.size(); ++i) c.orbs[i] = b.Get(S::kOrb[i]);
  const std::array<cfg::I16, 5> aspects{S::kConjunction, S::kOpposition, S::kSquare, S::kTrine,
                                        S::kSextile};
  for (std::size_t i = 0; i < aspects.size(); ++i) c.aspects[i] = b.Get(aspects[i]) != 0;
  c.showDialog = b.Get(S::kShowDialog) != 0;
  return c;
}

void StarAspectChoice::Write(Configuration& config) const {
  cfg::ByteBlock& b = config.starAspects;
  b.Set(S::kKind, static_cast<std::int16_t>(kind));
  for (std::size_t i = 0; i < orbs.size(); ++i)
    b.Set(S::kOrb[i], static_cast<std::int16_t>(orbs[i]));
  const std::array<cfg::I16, 5> fields{S::kConjunction, S::kOpposition, S::kSquare, S::kTrine,
                                       S::kSextile};
  for (std::size_t i = 0; i < fields.size(); ++i)
    b.Set(fields[i], static_cast<std::int16_t>(aspects[i]));
  b.Set(S::kShowDialog, static_cast<std::int16_t>(showDialog));
}

int GetStarOrb(const StarAspectChoice& choice, std::string_view magnitude) {
  if (magnitude == "VAR") return choice.orbs[4];
  double value = 0.0;
  const char* end = magnitude.data() + magnitude.size();
  if (std::from_chars(magnitude.data(), end, value).ec != std::errc{}) value = 0.0;
  if (value < 2.0) return choice.orbs[0];
  if (value < 3.0) return choice.orbs[1];
  if (value < 4.0) return choice.orbs[2];
  return choice.orbs[3];
}

int TestStarAspect(int kind, double starLon, double starLat, double pointLon, double pointLat,
                   double aspectAngle, int orb, int& deviation) {
  deviation = 0;
  if (Absent(starLon) || Absent(starLat) || Absent(pointLon) || Absent(pointLat)) return 0;
  double distance = 0.0;
  if (kind == 1) {
    distance = AngularDistance(starLon, starLat, pointLon, pointLat);
  } else {
    distance = std::fmod(std::fabs(starLon - pointLon), 360.0);
    if (distance > 180.0) distance = 360.0 - distance;
  }
  // Whole arc-minutes; a difference that is a whole number of minutes but computed a hair short
  // of it counts as that number.
  deviation = static_cast<int>(std::trunc(std::fabs(distance - aspectAngle) * 60.0 + 1e-7));
  return deviation < orb ? 65535 : 0;
}

// --- The list ---

void CStarsListBox::SelectStars(const AllStars& stars, const Chart& chart,
                                const StarAspectChoice& choice, const Configuration& config) {
  hits_.clear();
  if (stars.Count() == 0) return;
  const StarMoment moment(UniversalJulianDay(chart.definition.GetCountSrc()));
  const int lastObject = choice.kind == 1 ? 29 : 45;
  for (int s = 0; s < stars.Count(); ++s) {
    const StarPosition place = CalcStarPosition(stars.Star(s), moment);
    const int orb = GetStarOrb(choice, stars.Star(s).magnitude);
    for (int k = 0; k < 5; ++k) {
      if (choice.aspects[static_cast<std::size_t>(k)] == 0) continue;
      for (int o = 0; o <= lastObject; ++o) {
        double lon = 0.0, lat = 0.0;
        int code = o;
        if (o < 34) {
          if (config.DisplayFlag(o) == 'N') continue;
          lon = chart.GetPointLongitude(o).Get();
          lat = chart.points[static_cast<std::size_t>(o)].latitude;
        } else {
          code = 1000 + o - 34;
          lon = chart.GetCusp(o - 34).Get();
        }
        int deviation = 0;
        if (TestStarAspect(choice.kind, place.longitude, place.latitude, lon, lat,
                           kStarAspectAngles[static_cast<std::size_t>(k)], orb, deviation) == 0)
          continue;
        hits_.push_back(StarHit{static_cast<std::int16_t>(s), static_cast<std::int16_t>(code),
                                static_cast<std::int16_t>(k), static_cast<std::int16_t>(deviation),
                                place});
        if (Count() >= kMaxHits) return;
      }
    }
  }
}

int CStarsListBox::WidestLabel(platform::Dc& dc, const AllStars& stars, int fontSize) const {
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(fontSize));
  int widest = -1, width = -1;
  for (int h = 0; h < Count(); ++h) {
    const int w = dc.GetTextExtent(stars.GetStarLabel(hits_[static_cast<std::size_t>(h)].star)).cx;
    if (w > width) {
      width = w;
      widest = h;
    }
  }
  return widest;
}

CStarsListBox::Columns CStarsListBox::Measure(platform::Dc& dc, const AllStars& stars,
                                              int fontSize) const {
  Columns c;
  c.fontSize = fontSize;
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(fontSize));
  const platform::Size w = dc.GetTextExtent("W");
  c.rowHeight = std::max(1, w.cy);
  const int widest = WidestLabel(dc, stars, fontSize);
  const int label =
      widest < 0
          ? 0
          : dc.GetTextExtent(stars.GetStarLabel(hits_[static_cast<std::size_t>(widest)].star)).cx;
  const auto title = [&dc](int message) { return dc.GetTextExtent(GetMessageText(message)).cx; };
  const int starTitle = title(kMsgStarColumnStar), aspectTitle = title(kMsgStarColumnAspect);
  const int eclipticTitle = title(kMsgStarColumnEcliptic),
            equatorTitle = title(kMsgStarColumnEquator);
  // Each title spans its columns: a column group is as wide as its values or its title.
  c.aspect = std::max(label, starTitle) + 2 * w.cx;
  c.object = c.aspect + 2 * w.cx;
  c.deviation = c.object + 2 * w.cx;
  dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), fontSize});
  c.rowHeight = std::max(c.rowHeight, dc.GetTextExtent("A").cy);
  const int coordinate = dc.GetTextExtent(
                               "-000\xB0"
                               "00'")
                             .cx +
                         w.cx;
  c.longitude = std::max(c.deviation + 3 * w.cx, c.aspect + aspectTitle + w.cx);
  c.latitude = c.longitude + coordinate;
  c.rightAscension = std::max(c.latitude + coordinate, c.longitude + eclipticTitle + w.cx);
  c.declination = c.rightAscension + coordinate;
  c.width = std::max(c.declination + coordinate, c.rightAscension + equatorTitle);
  return c;
}

int CStarsListBox::FitFontSize(platform::Dc& dc, const AllStars& stars, int width,
                               int startSize) const {
  int size = startSize;
  while (size > 1000 && Measure(dc, stars, size).width > width) size -= 1000;
  while (size > 100 && Measure(dc, stars, size).width > width) size -= 100;
  return std::max(100, size);
}

void CStarsListBox::DrawRow(platform::Dc& dc, const AllStars& stars, const Columns& c, int row,
                            platform::Point at, bool colour) const {
  if (row < 0 || row >= Count()) return;
  const StarHit& hit = hits_[static_cast<std::size_t>(row)];
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetTextColor(colour && stars.HasInterpretation(hit.star) ? ColorByIndex(kTextColour)
                                                              : platform::kBlack);
  dc.SelectFont(TextFont(c.fontSize));
  dc.TextOut(at.x, at.y, stars.GetStarLabel(hit.star));
  dc.TextOut(at.x + c.deviation, at.y, std::to_string(hit.deviation));
  dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceB), c.fontSize});
  DrawGlyphNumber(dc, at.x + c.aspect, at.y, hit.aspect);
  const char object =
      hit.object >= 1000 ? glyphs::Cusp(hit.object - 1000) : glyphs::Point(hit.object);
  DrawGlyphText(dc, at.x + c.object, at.y, object, 'a', c.fontSize, platform::BkMode::Transparent);
  dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), c.fontSize});
  DrawLongitude(dc, at.x + c.longitude, at.y, hit.place.longitude, 0);
  DrawLongitude(dc, at.x + c.latitude, at.y, hit.place.latitude, 2);
  DrawLongitude(dc, at.x + c.rightAscension, at.y, hit.place.rightAscension, 1);
  DrawLongitude(dc, at.x + c.declination, at.y, hit.place.declination, 2);
}

void CStarsListBox::DrawColumnTitles(platform::Dc& dc, const Columns& c, platform::Point at) {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetTextColor(platform::kBlack);
  dc.SelectFont(TextFont(c.fontSize));
  dc.TextOut(at.x, at.y, GetMessageText(kMsgStarColumnStar));
  dc.TextOut(at.x + c.aspect, at.y, GetMessageText(kMsgStarColumnAspect));
  dc.TextOut(at.x + c.longitude, at.y, GetMessageText(kMsgStarColumnEcliptic));
  dc.TextOut(at.x + c.rightAscension, at.y, GetMessageText(kMsgStarColumnEquator));
}
