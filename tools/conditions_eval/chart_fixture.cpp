// The inputs of the condition evaluation tool read from text, and the charts written as an archive.
#include "chart_fixture.h"

#include <algorithm>
#include <cstdint>

#include "archive/store/archive_file.h"
#include "archive/store/file_transaction.h"
#include "astro/aspects/aspectarium.h"
#include "conditions/core/query_condition.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/tab_fields.h"

namespace fs = std::filesystem;

namespace chart_fixture {

namespace {

// "A:B" with both parts numbers, the first ending at the colon.
bool ParsePair(std::string_view text, int& a, int& b) {
  const std::size_t colon = text.find(':');
  return colon != std::string_view::npos && ParseField(text.substr(0, colon), a) &&
         ParseField(text.substr(colon + 1), b);
}

std::vector<std::string> ReadLines(const fs::path& file, std::optional<InputError>& error) {
  std::string bytes;
  if (!ReadWholeFile(file, bytes).ok()) {
    error = InputError{file.string(), 0, "cannot be read"};
    return {};
  }
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  return lines;
}

}  // namespace

// --- The aspect system ---

std::optional<InputError> LoadAspects(const fs::path& file, const fs::path& folder,
                                      Aspectarium& aspectarium) {
  const std::string name = SystemNameOfFile(file);
  if (name.empty()) return InputError{file.string(), 0, "the file name is no aspect system name"};
  std::optional<InputError> error;
  const std::vector<std::string> lines = ReadLines(file, error);
  if (error) return error;
  std::vector<Aspect> aspects;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    if (lines[i].empty() || lines[i][0] == '#') continue;
    const std::vector<std::string_view> f = SplitTabs(lines[i]);
    Aspect a;
    int nature = 0;
    bool ok = f.size() == 10 && ParseField(f[0], a.angle) && ParseField(f[7], nature) &&
              nature >= 0 && nature <= 255 && (f[8] == "major" || f[8] == "minor") && !f[9].empty();
    for (int k = 0; ok && k < 6; ++k)
      ok = ParseField(f[static_cast<std::size_t>(k) + 1], a.orbs[static_cast<std::size_t>(k)]) &&
           a.orbs[static_cast<std::size_t>(k)] >= 0.0;
    if (!ok || a.angle < 0.0 || a.angle > 360.0)
      return InputError{
          file.string(), lineNumber,
          "expected angle, orbs of classes 1-5, exact orb, nature, major|minor, name"};
    a.type = static_cast<std::uint8_t>(nature);
    a.major = f[8] == "major" ? 1 : 0;
    a.name = Cp1251(f[9]).substr(0, Aspect::kNameLength);
    a.abbreviation = a.name.substr(0, Aspect::kAbbreviationLength);
    aspects.push_back(std::move(a));
  }
  if (aspects.size() > static_cast<std::size_t>(AspectSystem::kMaxAspects))
    return InputError{file.string(), 0, "more than 50 aspects"};
  AspectSystem system(name, folder / SystemFileName(name));
  system.SetAspects(std::move(aspects));
  if (!system.SaveSystem().ok())
    return InputError{file.string(), 0, "cannot be written as a system"};
  aspectarium.LoadAll(folder);
  if (!aspectarium.FindSystem(name)) return InputError{file.string(), 0, "cannot be loaded back"};
  return std::nullopt;
}

// --- The charts ---

namespace {

std::optional<std::string> ParseChartLine(const std::vector<std::string_view>& f, Chart& chart) {
  if (f.size() != 8) return "a chart line has 8 fields";
  chart = Chart();
  chart.definition.SetKind(kChartNatal);
  chart.houseSystem = 0;
  for (PointRecord& p : chart.points) p.longitude.Set(kAbsent);
  chart.ConstructCusps();
  Source& s = chart.definition.sources[0];
  s.SetName(Cp1251(f[1]));
  chart.definition.SetTitle(Cp1251(f[2]));
  // Date: D.M.Y, the year 1 to 4 digits, " BC" after it before Christ.
  std::string_view date = f[3];
  char era = 'A';
  if (date.size() > 3 && date.substr(date.size() - 3) == " BC") {
    era = 'B';
    date.remove_suffix(3);
  }
  const std::size_t d1 = date.find('.'),
                    d2 = date.find('.', d1 == std::string_view::npos ? 0 : d1 + 1);
  int day = 0, month = 0, year = 0;
  if (d1 == std::string_view::npos || d2 == std::string_view::npos ||
      !ParseField(date.substr(0, d1), day) ||
      !ParseField(date.substr(d1 + 1, d2 - d1 - 1), month) || date.size() - d2 - 1 < 1 ||
      date.size() - d2 - 1 > 4 || !ParseField(date.substr(d2 + 1), year))
    return "the date is not D.M.Y";
  if (!s.moment.date.SetDate(day, month, year, era).ok()) return "the date does not exist";
  int hours = 0, minutes = 0;
  if (!ParsePair(f[4], hours, minutes) || !s.moment.time.SetTime(hours, minutes, 0).ok())
    return "the time is not HH:MM";
  const std::string_view zone = f[5];
  if (zone.empty() || (zone[0] != '+' && zone[0] != '-') ||
      !ParsePair(zone.substr(1), hours, minutes) ||
      !s.zone.SetTime(hours, minutes, 0, zone[0]).ok())
    return "the zone is not +HH:MM or -HH:MM";
  int latD = 0, latM = 0, lonD = 0, lonM = 0;
  const std::string_view lat = f[6], lon = f[7];
  if (lat.size() < 2 || lon.size() < 2 || !ParsePair(lat.substr(0, lat.size() - 1), latD, latM) ||
      !ParsePair(lon.substr(0, lon.size() - 1), lonD, lonM))
    return "the coordinates are not DD:MMN|S and DDD:MME|W";
  const char latLetter = lat.back(), lonLetter = lon.back();
  if ((latLetter != 'N' && latLetter != 'S') || (lonLetter != 'E' && lonLetter != 'W') ||
      !s.place.SetPlace(latD, latM, latLetter, lonD, lonM, lonLetter, "", "").ok())
    return "the coordinates are out of range";
  return std::nullopt;
}

}  // namespace

std::optional<InputError> LoadFixture(const fs::path& file, std::vector<FixtureChart>& charts) {
  std::optional<InputError> error;
  const std::vector<std::string> lines = ReadLines(file, error);
  if (error) return error;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    const std::string& line = lines[i];
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string_view> f = SplitTabs(line);
    const auto fail = [&](std::string why) {
      return InputError{file.string(), lineNumber, std::move(why)};
    };
    if (f[0] == "chart") {
      charts.emplace_back();
      if (auto why = ParseChartLine(f, charts.back().chart)) return fail(*why);
      continue;
    }
    if (charts.empty()) return fail("a chart line must come first");
    Chart& chart = charts.back().chart;
    if (f[0] == "point") {
      int n = -1;
      double lon = 0, lat = 0, speed = 0;
      if (f.size() != 5 || !ParseField(f[1], n) || n < 0 || n >= kSelectablePoints ||
          !ParseField(f[2], lon) || !ParseField(f[3], lat) || !ParseField(f[4], speed) ||
          lon < 0.0 || lon >= 360.0)
        return fail("expected point N (0..33), longitude [0, 360), latitude, speed");
      PointRecord& p = chart.points[static_cast<std::size_t>(n)];
      p.longitude.Set(lon);
      p.latitude = lat;
      p.speed = speed;
      p.status = speed < 0.0 ? 'R' : 'D';
    } else if (f[0] == "cusps") {
      if (f.size() != 13) return fail("expected twelve cusps");
      for (int h = 0; h < 12; ++h) {
        double c = 0;
        if (!ParseField(f[static_cast<std::size_t>(h) + 1], c) || c < 0.0 || c >= 360.0)
          return fail("a cusp is not a longitude in [0, 360)");
        chart.cusps[static_cast<std::size_t>(h)].Set(c);
      }
    } else if (f[0] == "localspace") {
      chart.SetDerivationMarker(kMarkerLocalSpace);
    } else if (f[0] == "page") {
      int k = -1;
      if (f.size() != 3 || !ParseField(f[1], k) || k < 0 || k >= kCommentPages || f[2].empty())
        return fail("expected page N (0..9) and a text");
      charts.back().pages[static_cast<std::size_t>(k)] = Cp1251(f[2]);
    } else {
      return fail("unknown line kind '" + std::string(f[0]) + "'");
    }
  }
  return std::nullopt;
}

bool WriteArchive(const std::vector<FixtureChart>& charts, const std::string& path) {
  FileTransaction tx;
  SafeRewrite& out = tx.Rewrite(path);
  if (!out.Ok() || !archive_file::WriteHeader(out, kLayout4400)) return false;
  std::array<std::uint32_t, kCommentPages> written{};  // bytes in each comment file so far
  for (const FixtureChart& fixture : charts) {
    CommentRefBlock block;
    for (std::size_t k = 0; k < fixture.pages.size(); ++k) {
      const std::string& page = fixture.pages[k];
      if (page.empty()) continue;
      const std::size_t length = std::min<std::size_t>(page.size(), kCommentMaxLength);
      SafeRewrite& comments = tx.Rewrite(ArchiveCommentFileName(path, static_cast<int>(k)));
      if (!comments.Write(std::string_view(page).substr(0, length))) return false;
      block.offsets[k] = written[k];
      block.lengths[k] = static_cast<std::uint16_t>(length);
      written[k] += static_cast<std::uint32_t>(length);
    }
    if (!out.Write(archive_file::RecordBytes(fixture.chart, kLayout4400, block))) return false;
  }
  return tx.Commit().ok();
}

}  // namespace chart_fixture
