// Writes the default aspect system "VELM.asp" into a folder: the classical major and minor
// aspects with orbs per orb class, as recorded in docs/decisions.md ("Aspect systems").
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/text/cp1251.h"

namespace {

struct Row {
  const char* nameUtf8;
  const char* abbreviationUtf8;  // Russian, at most three letters
  double angle;
  double orbs[6];  // orb classes 1..5, exact
  int type;
  bool major;
  int color;
  int exactColor;
};

// Palette: 1 navy, 2 green, 4 maroon, 5 purple, 8 dark grey, 9 blue, 10 light green, 12 red,
// 13 magenta.
const Row kVelm[] = {
    {"Соединение", "Сое", 0.0, {10, 9, 8, 7, 6, 1}, kAspectOther, true, 1, 9},
    {"Оппозиция", "Опп", 180.0, {10, 9, 8, 7, 6, 1}, kAspectTense, true, 4, 12},
    {"Квадрат", "Кв", 90.0, {8, 7, 6, 5, 5, 1}, kAspectTense, true, 4, 12},
    {"Трин", "Тр", 120.0, {8, 7, 6, 5, 5, 1}, kAspectHarmonious, true, 2, 10},
    {"Секстиль", "Сек", 60.0, {6, 5, 4, 4, 3, 1}, kAspectHarmonious, true, 2, 10},
    {"Квинконс", "Ккс", 150.0, {3, 2.5, 2, 2, 1.5, 0.5}, kAspectKarmic, false, 8, 13},
    {"Полусекстиль", "ПСк", 30.0, {2, 2, 1.5, 1.5, 1, 0.5}, kAspectHarmonious, false, 2, 10},
    {"Полуквадрат", "ПКв", 45.0, {2, 2, 1.5, 1.5, 1, 0.5}, kAspectTense, false, 4, 12},
    {"Полутораквадрат", "Скв", 135.0, {2, 2, 1.5, 1.5, 1, 0.5}, kAspectTense, false, 4, 12},
    {"Квинтиль", "Квн", 72.0, {2, 2, 1.5, 1.5, 1, 0.5}, kAspectCreative, false, 5, 13},
    {"Биквинтиль", "БКв", 144.0, {2, 2, 1.5, 1.5, 1, 0.5}, kAspectCreative, false, 5, 13},
    {"Септиль", "Сеп", 360.0 / 7.0, {1.5, 1.5, 1, 1, 1, 0.5}, kAspectKarmic, false, 8, 13},
};

// Major aspects solid, minor aspects dashed (style 1); all thin.
std::vector<Aspect> Build(const Row* rows, std::size_t n) {
  std::vector<Aspect> aspects;
  for (std::size_t i = 0; i < n; ++i) {
    const Row& r = rows[i];
    Aspect a;
    a.angle = r.angle;
    for (int k = 0; k < 6; ++k) a.orbs[static_cast<std::size_t>(k)] = r.orbs[k];
    a.abbreviation = Cp1251(r.abbreviationUtf8);
    a.name = Cp1251(r.nameUtf8);
    a.type = static_cast<std::uint8_t>(r.type);
    a.major = r.major ? 1 : 0;
    a.lineStyle = r.major ? 0 : 1;
    a.thickness = 0;
    a.color = static_cast<std::uint16_t>(r.color);
    a.exactColor = static_cast<std::uint16_t>(r.exactColor);
    aspects.push_back(a);
  }
  return aspects;
}

bool Write(const std::filesystem::path& file, const std::vector<Aspect>& aspects) {
  const Status st = RewriteFile(file, AspectSystem::Serialize(aspects));
  if (!st.ok()) std::fprintf(stderr, "cannot write %s\n", file.c_str());
  return st.ok();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_aspect_systems <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  return Write(folder / "VELM.asp", Build(kVelm, std::size(kVelm))) ? 0 : 1;
}
