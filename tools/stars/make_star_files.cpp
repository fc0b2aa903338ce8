// Writes the program's star catalogue and star texts from tools/stars/stars.tsv (made by
// select_stars.py from the sources named in data/SOURCES.md).
//
// Usage: make_star_files STARS_TSV DATA_FOLDER [--check]
// Each star's J2000 place is carried back to 1 January 1950 by its proper motion, then referred
// to the equinox of that day by rigorous precession; its proper motion is given in that frame
// (the change of its 1950-equinox place between 1950 and J2000, per year). The texts are
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
  std::string catalogue, texts;
};

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
    PutFloat(record, 111, dRa / 15.0 * 3600.0 / years);
    PutFloat(record, 115, (p2000.declination - p1950.declination) * 3600.0 / years);
    PutFloat(record, 119, p1950.rightAscension / 15.0);
    PutFloat(record, 123, p1950.declination);
    out.catalogue += record;

    const std::string text = Cp1251(f[kText]);
    if (text.find('*') != std::string::npos) throw std::runtime_error("'*' in a text: " + line);
    char marker[8];
    std::snprintf(marker, sizeof marker, "*%03d", number);
    out.texts += std::string(marker) + "\n" + text + "\n";
  }
  ScrambleInterpretations(out.texts);
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
