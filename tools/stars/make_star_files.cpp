// Writes the program's star catalogue and star texts from tools/stars/stars.tsv (made by
// select_stars.py from the sources named in data/SOURCES.md).
//
// Usage: make_star_files STARS_TSV DATA_FOLDER [--check]
// Each star's J2000 place is carried back to 1 January 1950 by its proper motion, then referred
// to the equinox of that day by rigorous precession; its proper motion is given in that frame
// (the change of its 1950-equinox place between 1950 and J2000, per year). A star with a parallax
// and a radial velocity is carried back along its line in space instead, and its place, proper
// motion, parallax and radial velocity of 1950 are written (the space motions after the records,
// fixed_stars.h). The texts are
// scrambled with the program's keys. With --check nothing is written: the exit status is 0 when
// the folder's files are what the table gives, 1 otherwise.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "astro/ephemeris/star_places.h"
#include "foundation/datetime/moment.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/text/code_page_866.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/tab_fields.h"
#include "views/core/fixed_stars.h"

namespace {

// Columns of stars.tsv.
enum Column {
  kNumber,
  kHip,
  kName,
  kNameRu,
  kDesig,
  kDesigRu,
  kConst,
  kConstRu,
  kSpectral,
  kMagnitude,
  kRa2000,
  kDec2000,
  kPmRaMas,
  kPmDecMas,
  kParallaxMas,  // empty for a star whose motion is taken linearly
  kRadialKms,
  kText,
  kColumns
};

void PutText(std::string& record, std::size_t at, std::size_t size, std::string text,
             bool scramble) {
  if (text.size() >= size) throw std::runtime_error("text too long for its field: " + text);
  std::memcpy(record.data() + at, text.data(), text.size());
  if (scramble) ScrambleStarField(record.data() + at, size);
}

void PutFloat(std::string& record, std::size_t at, double value) {
  const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
  for (int i = 0; i < 4; ++i)
    record[at + static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::string Russian866(std::string_view utf8) {
  std::string text = Cp1251(utf8);
  ConvertString1251To866(text);
  return text;
}

double Number(std::string_view field) {
  double value = 0.0;
  if (!ParseField(field, value)) throw std::runtime_error("not a number: " + std::string(field));
  return value;
}

struct Files {
  std::string catalogue, texts, spaceMotions;
  int spaceMotionCount = 0;
};

// The record's place, proper motion and space motion of 1 January 1950 for a star with a known
// parallax and radial velocity: its line in space (J2000 frame) carried back from J2000 to 1950,
// then turned into the frame of the equinox of 1950.
struct Place1950 {
  double ra = 0.0, dec = 0.0;                   // degrees
  double pmRaCosDec = 0.0, pmDec = 0.0;         // seconds of arc a year
  double parallax = 0.0, radialVelocity = 0.0;  // seconds of arc, km/s
};
Place1950 SpaceMotionBack(double ra, double dec, double pmRaMas, double pmDecMas,
                          double parallaxMas, double radialKms, double years) {
  const StarSpaceMotion at2000 =
      SpaceMotionOf(ra, dec, pmRaMas / 1000.0, pmDecMas / 1000.0, parallaxMas / 1000.0, radialKms);
  const Matrix3 to1950 = EquatorialPrecession(kJ2000, kStarCatalogueEpoch);
  const Vector3 position = to1950 * at2000.At(-years), velocity = to1950 * at2000.velocity;
  const double distance = position.Length();  // in distances of J2000
  const Vector3 u = position / distance;
  const Equatorial place = EquatorialOf(u);
  const double a = place.rightAscension * M_PI / 180.0, d = place.declination * M_PI / 180.0;
  const Vector3 east{-std::sin(a), std::cos(a), 0.0};
  const Vector3 north{-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)};
  const double toArcsec = 180.0 / M_PI * 3600.0;
  Place1950 p;
  p.ra = place.rightAscension;
  p.dec = place.declination;
  p.pmRaCosDec = Dot(velocity, east) / distance * toArcsec;
  p.pmDec = Dot(velocity, north) / distance * toArcsec;
  p.parallax = parallaxMas / 1000.0 / distance;
  p.radialVelocity =
      Dot(velocity, u) / (parallaxMas / 1000.0 / toArcsec) / kAuPerYearPerKmPerSecond;
  return p;
}

Files Make(std::istream& in) {
  Files out;
  std::string line;
  const double years = (kJ2000 - kStarCatalogueEpoch) / kDaysPerYear;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string_view> f = SplitTabs(line);
    if (f.size() != kColumns) throw std::runtime_error("wrong column count: " + line);
    const int number = static_cast<int>(Number(f[kNumber]));
    if (number < AllStars::kFirstMarkedNumber || number > AllStars::kLastMarkedNumber)
      throw std::runtime_error("star number outside 1..999: " + line);
    const double ra = Number(f[kRa2000]), dec = Number(f[kDec2000]);
    const double cosDec = std::cos(dec * M_PI / 180.0);
    const bool spaceMotion = !f[kParallaxMas].empty() || !f[kRadialKms].empty();
    // The place of 1950 in the J2000 frame, both places referred to the equinox of 1950.
    const Equatorial then{ra - Number(f[kPmRaMas]) / cosDec / 3.6e6 * years,
                          dec - Number(f[kPmDecMas]) / 3.6e6 * years};
    const Equatorial p1950 = PrecessMeanPlace(then, kJ2000, kStarCatalogueEpoch);
    const Equatorial p2000 = PrecessMeanPlace({ra, dec}, kJ2000, kStarCatalogueEpoch);
    double dRa = p2000.rightAscension - p1950.rightAscension;
    if (dRa > 180.0) dRa -= 360.0;
    if (dRa < -180.0) dRa += 360.0;

    std::string record(AllStars::kRecordSize, '\0');
    record[0] = static_cast<char>(number & 0xFF);
    record[1] = static_cast<char>(number >> 8);
    PutText(record, 2, 20, Cp1251(f[kName]), true);
    PutText(record, 22, 20, Cp1251(f[kConst]), true);
    PutText(record, 42, 10, Cp1251(f[kDesig]), true);
    PutText(record, 52, 21, Russian866(f[kNameRu]), true);
    PutText(record, 73, 20, Russian866(f[kConstRu]), true);
    PutText(record, 93, 10, Russian866(f[kDesigRu]), true);
    PutText(record, 103, 3, std::string(f[kSpectral]), false);
    PutText(record, 106, 5, std::string(f[kMagnitude]), false);
    if (spaceMotion) {
      const Place1950 p = SpaceMotionBack(ra, dec, Number(f[kPmRaMas]), Number(f[kPmDecMas]),
                                          Number(f[kParallaxMas]), Number(f[kRadialKms]), years);
      if (!(p.parallax > 0.0 && p.parallax <= 1.0))
        throw std::runtime_error("parallax outside (0, 1000] mas: " + line);
      if (++out.spaceMotionCount > static_cast<int>(AllStars::kMaxSpaceMotions))
        throw std::runtime_error("more space motions than the catalogue holds: " + line);
      PutFloat(record, 111, p.pmRaCosDec / std::cos(p.dec * M_PI / 180.0) / 15.0);
      PutFloat(record, 115, p.pmDec);
      PutFloat(record, 119, p.ra / 15.0);
      PutFloat(record, 123, p.dec);
      std::string entry(AllStars::kSpaceMotionSize, '\0');
      entry[0] = static_cast<char>(number & 0xFF);
      entry[1] = static_cast<char>(number >> 8);
      PutFloat(entry, 2, p.parallax);
      PutFloat(entry, 6, p.radialVelocity);
      out.spaceMotions += entry;
    } else {
      PutFloat(record, 111, dRa / 15.0 * 3600.0 / years);
      PutFloat(record, 115, (p2000.declination - p1950.declination) * 3600.0 / years);
      PutFloat(record, 119, p1950.rightAscension / 15.0);
      PutFloat(record, 123, p1950.declination);
    }
    out.catalogue += record;

    const std::string text = Cp1251(f[kText]);
    if (text.find('*') != std::string::npos) throw std::runtime_error("'*' in a text: " + line);
    char marker[8];
    std::snprintf(marker, sizeof marker, "*%03d", number);
    out.texts += std::string(marker) + "\n" + text + "\n";
  }
  ScrambleInterpretations(out.texts);
  if (out.spaceMotionCount > 0) {
    const auto count = static_cast<unsigned>(out.spaceMotionCount);
    out.catalogue += out.spaceMotions + std::string(AllStars::kSpaceMotionMark) +
                     static_cast<char>(count & 0xFF) + static_cast<char>(count >> 8);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 4 && std::string(argv[3]) == "--check";
  if (argc != 3 && !check) {
    std::cerr << "usage: make_star_files STARS_TSV DATA_FOLDER [--check]\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "cannot open " << argv[1] << '\n';
    return 2;
  }
  Files files;
  try {
    files = Make(in);
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 2;
  }
  const std::filesystem::path folder = argv[2];
  const std::array<std::pair<const char*, const std::string*>, 2> outputs{
      {{"Velm.est", &files.catalogue}, {"Velm.int", &files.texts}}};
  int status = 0;
  for (const auto& [name, bytes] : outputs) {
    if (check) {
      std::string present;
      const bool same = ReadWholeFile(folder / name, present).ok() && present == *bytes;
      std::cout << name << (same ? " reproduced\n" : " differs\n");
      status |= same ? 0 : 1;
    } else if (const Status st = RewriteFile(folder / name, *bytes); !st.ok()) {
      std::cerr << "cannot write " << name << '\n';
      status = 1;
    }
  }
  return status;
}
