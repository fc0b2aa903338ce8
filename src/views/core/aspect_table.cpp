#include "views/core/aspect_table.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "astro/ephemeris/longitudes.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "views/core/table_page_header.h"

namespace {

using Settings = cfg::AspectTableSettings;
using ListSettings = cfg::MidpointPrintSettings;

constexpr int kCuspCodeFirst = 100;  // code of the cusp of house I
constexpr int kMarkHighlight = 3;

// Midpoint highlight modes.
enum HighlightMode { kNoHighlight = 0, kMajorInOrb, kAnyExact, kMajorExact, kAnyInOrb };

// The printed list's page (0.01 mm): the usable width and height of an A4 page inside 1 mm.
constexpr int kListPageWidth = 20800;
constexpr int kListPageHeight = 27700;
constexpr int kListTop = 2000;  // the list's first line under the top margin

bool Accepted(int mode, const AspectMatch& match) {
  if (!match.Found()) return false;
  const bool exact = match.result == 2;
  const bool major = match.major == 1;
  switch (mode) {
    case kMajorInOrb:
      return major;
    case kAnyExact:
      return exact;
    case kMajorExact:
      return major && exact;
    case kAnyInOrb:
      return true;
    default:
      return false;
  }
}

}  // namespace

AspectTable::AspectTable(const Configuration& config, const Aspectarium& systems)
    : config_(config), systems_(systems) {}

int AspectTable::EffectiveChoice(int choice, bool hasOuter) {
  if (choice < 0 || choice > 3) return 0;
  if ((choice == 1 || choice == 2) && !hasOuter) return 0;
  return choice;
}

void AspectTable::LoadSettings(const Chart& chart) {
  const cfg::AspTableConfig settings = config_.GetAspTableConfig();
  switches.fill(0);
  for (int k = 0; k < kTablePoints; ++k)
    switches[static_cast<std::size_t>(k)] = settings.switches[static_cast<std::size_t>(k)] == 1;
  colourMode = std::clamp(settings.colourMode, 0, 2);
  cellMode = std::clamp(settings.cellMode, 0, 3);
  houseOrbClass = std::clamp(settings.houseOrbGroup, 1, 5);
  localSpace = chart.IsLocalSpace() ? 1 : 0;
  if (localSpace == 1) std::fill(switches.begin() + kLocalSpacePoints, switches.end(), 0);
}

void AspectTable::CountPoints() {
  count = static_cast<int>(std::count(switches.begin(), switches.begin() + kTablePoints, 1));
  cellWidth = cellHeight = fontSize = 0;
}

void AspectTable::FreePlanets() {
  columns.clear();
  rows.clear();
  columnOrbClass.clear();
  rowOrbClass.clear();
}

void AspectTable::SetPlanets(int choice, const Chart& inner, const Chart* outer) {
  FreePlanets();
  const Chart& second = outer != nullptr ? *outer : inner;
  const Chart& columnChart = choice == 1 ? second : inner;
  const Chart& rowChart = choice == 1 || choice == 2 ? second : inner;

  const auto fill = [this](const Chart& chart, std::vector<PointRecord>& points,
                           std::vector<int>& orbClasses) {
    points.reserve(static_cast<std::size_t>(count));
    orbClasses.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < kTablePoints && static_cast<int>(points.size()) < count; ++k) {
      if (switches[static_cast<std::size_t>(k)] != 1) continue;
      if (k < kChartPoints) {
        points.push_back(chart.points[static_cast<std::size_t>(k)]);
        orbClasses.push_back(config_.GetOrbClass(k));
      } else {
        PointRecord cusp;
        cusp.longitude = chart.GetCuspFromTenth(k - kFirstCuspPoint);
        points.push_back(cusp);
        orbClasses.push_back(houseOrbClass);
      }
    }
  };
  fill(columnChart, columns, columnOrbClass);
  fill(rowChart, rows, rowOrbClass);
  systemName.fill('\0');
  const std::string& name = rowChart.definition.AspectSystemName();
  std::copy_n(name.begin(), std::min(name.size(), systemName.size() - 1), systemName.begin());
}

int AspectTable::TablePointAt(int position) const {
  if (position < 0) return -1;
  int seen = 0;
  for (int k = 0; k < kTablePoints; ++k) {
    if (switches[static_cast<std::size_t>(k)] != 1) continue;
    if (seen++ == position) return k;
  }
  return -1;
}

int AspectTable::PointCode(int position) const {
  const int k = TablePointAt(position);
  if (k < 0) return -1;
  if (k < kChartPoints) return k;
  // Table points 34..36 are the cusps of houses X..XII, 37..39 those of houses I..III.
  return k < kFirstCuspPoint + 3 ? 109 + (k - kFirstCuspPoint) : kCuspCodeFirst + (k - 37);
}

bool AspectTable::HitCell(int x, int y, int& columnPoint, int& rowPoint) const {
  if (cellWidth <= 0 || cellHeight <= 0) return false;
  const int column = (x - originX) / cellWidth - 1;
  const int row = -((y - originY) / cellHeight) - 1;
  if (column < 0 || column >= count || row < 0 || row >= count) return false;
  const int c = TablePointAt(column);
  const int r = TablePointAt(row);
  if (c < 0 || r < 0) return false;
  columnPoint = c;
  rowPoint = r;
  return true;
}

const AspectSystem* AspectTable::MidpointSystem() const {
  return systems_.FindSystem(config_.aspectTable.Get(Settings::kMidpointSystem));
}

AngleValue AspectTable::TablePointLongitude(const Chart& chart, int tablePoint) {
  if (tablePoint < kFirstCuspPoint) return chart.GetPointLongitude(tablePoint);
  return chart.GetCuspFromTenth(tablePoint - kFirstCuspPoint);
}

std::vector<MidpointAspect> AspectTable::AspectsToMidpoint(double longitude,
                                                           const Chart& chart) const {
  std::vector<MidpointAspect> found;
  const AspectSystem* system = MidpointSystem();
  if (system == nullptr) return found;
  const cfg::ByteBlock& block = config_.aspectTable;
  const bool onlyDisplayed = block.Get(Settings::kOnlyDisplayed) == 1;
  const bool localSpace = chart.IsLocalSpace();
  const bool toHouses = block.Get(Settings::kAspectsToHouses) != 0 && !localSpace;
  const int last = localSpace ? kLocalSpacePoints : kMidpointTargets;
  for (int n = 0; n < last; ++n) {
    double target;
    int orbClass;
    if (n < kChartPoints) {
      if (onlyDisplayed && config_.DisplayFlag(n) == 'N') continue;
      target = chart.points[static_cast<std::size_t>(n)].longitude.Get();
      orbClass = config_.GetOrbClass(n);
    } else {
      if (!toHouses) break;
      target = chart.GetCusp(n - kChartPoints).Get();
      orbClass = houseOrbClass;
    }
    if (IsAbsent(target)) continue;
    const AspectMatch match =
        system->FindAspectBetween(longitude, target, OrbColumnOfClass(orbClass));
    if (!match.Found() || match.position < 0 || match.position >= system->Count()) continue;
    found.push_back(
        {n, match.position, match.result == 2, match.separation, std::fabs(match.deviation)});
  }
  return found;
}

int AspectTable::FindMidpointAspects(double longitude, const Chart& chart,
                                     std::vector<std::uint8_t>* codes,
                                     std::vector<std::uint8_t>* points) const {
  const int mode = config_.aspectTable.Get(Settings::kMidpointHighlight);
  if (mode <= kNoHighlight || mode > kAnyInOrb) return 0;
  const AspectSystem* system = MidpointSystem();
  if (system == nullptr) return 0;
  int found = 0;
  for (const MidpointAspect& a : AspectsToMidpoint(longitude, chart)) {
    const Aspect& aspect = system->GetAspect(a.position);
    AspectMatch match;
    match.result = a.exact ? 2 : 0;
    match.major = aspect.IsMajor() ? 1 : 0;
    if (!Accepted(mode, match)) continue;
    ++found;
    if (codes != nullptr && points != nullptr) {
      codes->push_back(static_cast<std::uint8_t>(ClassifyAspectAngle(aspect)));
      points->push_back(static_cast<std::uint8_t>(a.target));
    }
  }
  return found;
}

int AspectTable::GetMidpointMark(double longitude, const Chart& chart) const {
  return FindMidpointAspects(longitude, chart, nullptr, nullptr) > 0 ? kMarkHighlight : 0;
}

void AspectTable::FreeMidpList() { midpoints.clear(); }

void AspectTable::SetListLayout(platform::Dc& dc, const Chart& inner, const Chart* outer) {
  const cfg::PrintSettings& print = config_.print;
  const int size = std::max(1, config_.midpointPrint.Get(ListSettings::kListFontSize));
  const int interval = std::max(0, config_.midpointPrint.Get(ListSettings::kListInterval));
  const platform::Size w = FontCharSize(dc, platform::kGlyphFaceA, size, 'W');
  // The columns are measured in the widest of the glyphs they hold: the digits of the longitude
  // and the aspect symbols can be wider than "W", and would run into each other.
  int widest = w.cx;
  for (char c = '0'; c <= '9'; ++c)
    widest = std::max(widest, FontCharWidth(dc, platform::kGlyphFaceA, size, c));
  for (int k = 0; k < 20; ++k)
    widest = std::max(widest, FontCharWidth(dc, platform::kGlyphFaceB, size, '0' + k));
  glyphWidth = std::max(1, widest);
  lineHeight = std::max(1, interval + w.cy);
  firstEntryX = print.marginLeft + (5 * glyphWidth + 100) * 2;
  // Under the page head, however far a long header and the title under it reach; a page holds
  // an entry at least, so the list has no more pages than the table has pairs.
  const int usualTop = print.marginTop + kListTop;
  const PageHeadBlocks head = TablePageHeadBlocks(dc, config_, inner, outer);
  const PageTitlePlace title =
      PlacePageTitle(dc, print, MidpointListTitle(std::max(1, count * count)), head);
  listTop = -PageContentTop(title, -usualTop);
  linesPerPage =
      std::max(1, (kListPageHeight - print.marginTop - print.marginBottom - (listTop - usualTop)) /
                      lineHeight);
  entriesPerLine =
      std::max(1, (kListPageWidth - print.marginRight - print.marginLeft - 10 * glyphWidth) /
                      (3 * glyphWidth));
}

int AspectTable::CreateMidpList(platform::Dc& dc, int choice, const Chart& inner,
                                const Chart* outer, const Chart& aspectChart) {
  FreeMidpList();
  LoadSettings(inner);
  CountPoints();
  choice = EffectiveChoice(choice, outer != nullptr);
  SetPlanets(choice, inner, outer);
  SetListLayout(dc, inner, outer);

  // Between two charts the columns and rows are different points: every pair counts. Within one
  // chart (i, j) and (j, i) are the same midpoint.
  const bool between = choice == kChoiceBetween;
  for (int i = 0; i < count; ++i) {
    for (int j = between ? 0 : i + 1; j < count; ++j) {
      const int code1 = PointCode(i), code2 = PointCode(j);
      if (localSpace == 1 && (code1 >= kLocalSpacePoints || code2 >= kLocalSpacePoints)) continue;
      const double a = columns[static_cast<std::size_t>(i)].longitude.Get();
      const double b = rows[static_cast<std::size_t>(j)].longitude.Get();
      if (IsAbsent(a) || IsAbsent(b)) continue;
      MidpointEntry entry;
      entry.longitude = MidpointLongitude(a, b);
      const int found =
          FindMidpointAspects(entry.longitude, aspectChart, &entry.aspects, &entry.points);
      if (found == 0) continue;
      entry.code1 = static_cast<std::int8_t>(code1);
      entry.code2 = static_cast<std::int8_t>(code2);
      entry.count = static_cast<std::int16_t>(found);
      midpoints.push_back(std::move(entry));
    }
  }
  if (midpoints.empty()) {
    ShowMessage(kMsgNoMidpointAspects, platform::Icon::Information);
    return -1;
  }

  // Each entry takes whole lines; an entry that does not fit the rest of a page begins the next.
  int pages = 1;
  int lines = 0;
  for (MidpointEntry& entry : midpoints) {
    const int needed = (entry.count + entriesPerLine - 1) / entriesPerLine;
    if (lines > 0 && lines + needed > linesPerPage) {
      entry.pageBreak = 1;
      ++pages;
      lines = 0;
    }
    lines += needed;
  }
  midpoints.front().pageBreak = 1;
  return pages;
}
