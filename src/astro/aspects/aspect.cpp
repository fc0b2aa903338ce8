#include "astro/aspects/aspect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/prompter.h"

namespace {

// Within a tolerance, inclusive; the small margin keeps a deviation that is the tolerance in
// decimal from failing on its binary rounding.
constexpr double kMargin = 1e-9;

struct AspectIndexEntry {
  double angle;
  double tolerance;
};

constexpr std::array<AspectIndexEntry, 20> kAspectIndex = {{
    {0.0, 0.01},   {180.0, 0.01}, {90.0, 0.01},  {120.0, 0.01},  {60.0, 0.01},
    {150.0, 0.01}, {30.0, 0.01},  {45.0, 0.01},  {135.0, 0.01},  {72.0, 0.01},
    {36.0, 0.01},  {108.0, 0.01}, {144.0, 0.01}, {40.0, 0.01},   {80.0, 0.01},
    {20.0, 0.01},  {100.0, 0.01}, {51.43, 0.04}, {102.86, 0.01}, {154.28, 0.01},
}};

double FoldTo180(double angle) {
  // The difference of two longitudes lies within a circle: no division then.
  double a = std::fabs(angle);
  if (a >= 360.0) a = std::fmod(a, 360.0);
  if (a > 180.0) a = 360.0 - a;
  return a;
}

// "%0*d:%02d" of a value in degrees rounded to whole minutes.
std::string DegreesMinutes(double value, int degreeDigits) {
  const long long total = std::llround(std::fabs(value) * 60.0);
  char text[32];
  std::snprintf(text, sizeof text, "%s%0*lld:%02lld", value < 0 ? "-" : "", degreeDigits,
                total / 60, total % 60);
  return text;
}

const std::string& TypeName(int type) {
  static const std::array<std::string, 5> kRussian = {Cp1251("ГАРМОНИЧНЫЙ"), Cp1251("НАПРЯЖЕННЫЙ"),
                                                      Cp1251("ТВОРЧЕСКИЙ"), Cp1251("КАРМИЧЕСКИЙ"),
                                                      Cp1251("ПРОЧИЙ")};
  static const std::array<std::string, 5> kEnglish = {"HARMONIOUS", "TENSE", "CREATIVE", "KARMIC",
                                                      "OTHER"};
  const int i = std::clamp(type, 0, 4);
  return g_bRussianInterface ? kRussian[i] : kEnglish[i];
}

const std::string& StrengthLabel(bool major) {
  static const std::string kMajor = Cp1251("МАЖОРНЫЙ"), kMinor = Cp1251("МИНОРНЫЙ");
  static const std::string kMajorEn = "MAJOR", kMinorEn = "MINOR";
  if (g_bRussianInterface) return major ? kMajor : kMinor;
  return major ? kMajorEn : kMinorEn;
}

}  // namespace

OrbColumn OrbColumnOfClass(int orbClass) { return OrbColumn{std::clamp(orbClass, 1, 5) - 1}; }

double Aspect::Orb(OrbColumn column) const {
  return orbs[static_cast<std::size_t>(std::clamp(column.index, 0, OrbColumn::kExact))];
}

AspectTexts Aspect::GetTexts() const {
  AspectTexts texts;
  char abbreviationText[16];
  std::snprintf(abbreviationText, sizeof abbreviationText, "%-3s", abbreviation.c_str());
  texts.abbreviation = abbreviationText;
  texts.angle = DegreesMinutes(angle, 3);
  for (std::size_t i = 0; i < orbs.size(); ++i) texts.orbs[i] = DegreesMinutes(orbs[i], 2);
  texts.typeName = TypeName(type);
  texts.strengthLabel = StrengthLabel(IsMajor());
  return texts;
}

void Aspect::SetStyleByType(const std::array<std::uint8_t, 10>& lineTypes) {
  const int strength = IsMajor() ? 0 : 1;
  const int entry = 5 * strength + std::min<int>(type, kAspectOther);
  std::uint8_t value = lineTypes[static_cast<std::size_t>(entry)];
  if (!(value <= 3 || (value >= 10 && value <= 13))) value = 0;
  lineStyle = value % 10;
  thickness = value / 10;
}

int Aspect::GetAngleMinutes() const {
  const double whole = std::trunc(angle);
  return static_cast<int>(std::lround((angle - whole) * 60.0));
}

std::string Aspect::GetName() const { return name.empty() ? abbreviation : name; }

int Aspect::TestConjunction() const { return ClassifyAspectAngle(*this) == 0 ? 0 : -1; }

int Aspect::TestConjunctionOrOpposition() const {
  const int index = ClassifyAspectAngle(*this);
  return index == 0 || index == 1 ? 0 : -1;
}

int Aspect::TestFixedOrb(double longitudeA, double longitudeB) const {
  // An absent (-777.0) longitude is no position and makes no aspect.
  for (double lon : {longitudeA, longitudeB})
    if (lon == -777.0 || !std::isfinite(lon)) return -1;
  const double deviation = AspectSeparation(longitudeA, longitudeB) - FoldTo180(angle);
  return std::fabs(deviation) <= 1.033 + kMargin ? 0 : -1;
}

int ClassifyAspectAngle(double angleDeg) {
  if (!std::isfinite(angleDeg)) return -1;
  const double a = FoldTo180(angleDeg);
  for (std::size_t i = 0; i < kAspectIndex.size(); ++i) {
    if (std::fabs(a - kAspectIndex[i].angle) <= kAspectIndex[i].tolerance + kMargin)
      return static_cast<int>(i);
  }
  return -1;
}

int ClassifyAspectAngle(const Aspect& aspect) { return ClassifyAspectAngle(aspect.angle); }

double AspectSeparation(double longitudeA, double longitudeB) {
  return FoldTo180(longitudeB - longitudeA);
}

const std::string& GetAspectMessage(int n) {
  static const std::array<std::string, 8> kRussian = {
      Cp1251("Недопустимое имя системы аспектов: нужно от 1 до 8 символов, без точки, "
             "пробелов по краям и символов / \\ : * ? \" < > |"),
      Cp1251("Недопустимое значение угла или орбиса аспекта"),
      Cp1251("Номер аспекта вне системы аспектов"),
      Cp1251("Слишком много аспектов !"),
      Cp1251("Система аспектов успешно сохранена"),
      Cp1251("Вы действительно хотите удалить этот аспект?"),
      Cp1251("Ничего не осталось. Удаление невозможно."),
      Cp1251("Система аспектов с таким именем уже есть"),
  };
  static const std::array<std::string, 8> kEnglish = {
      "Invalid aspect system name: 1 to 8 characters, no dot, no leading or trailing blank, "
      "none of / \\ : * ? \" < > |",
      "Invalid angle or orb of an aspect",
      "Aspect number outside the aspect system",
      "Too many aspects !",
      "The aspect system has been saved",
      "Do you really want to delete this aspect?",
      "Nothing is left. Cannot delete.",
      "An aspect system of that name already exists",
  };
  static const std::string kEmpty;
  if (n < 0 || n >= static_cast<int>(kRussian.size())) return kEmpty;
  return g_bRussianInterface ? kRussian[static_cast<std::size_t>(n)]
                             : kEnglish[static_cast<std::size_t>(n)];
}

void ShowAspectMessage(int n) {
  platform::GetPrompter().ShowMessage(
      AspectMessageNumber(n), GetAspectMessage(n),
      n == kAspMsgSaved ? platform::Icon::Information : platform::Icon::Warning);
}
