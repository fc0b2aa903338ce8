#include "shell/core/entry/chart_information.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_math.h"
#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/instant.h"
#include "astro/ephemeris/time_scales.h"
#include "astro/houses/houses.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "shell/core/entry/entry_text.h"

namespace {

constexpr int kLastInfoPoint = 33;

// The Sources a kind uses, with the role of each (UTF-8 labels).
std::vector<std::pair<const char*, int>> SourcesOfKind(const SuperSource& d) {
  switch (d.Kind()) {
    case kChartHorary:
      return {{"Момент", 1}};
    case kChartTransit:
      return {{"Рождение", 0}, {"Транзит", 1}};
    case kChartProgressed:
      return {{"Рождение", 0}, {"Момент", 1}, {"Прогрессивный момент", 2}};
    case kChartDirected:
      return {{"Рождение", 0}, {"Момент", 1}};
    case kChartSynastry:
      if (d.keyKind == kCompositeSwitch) return {{"Первый", 0}, {"Второй", 1}, {"Композит", 2}};
      return {{"Первый", 0}, {"Второй", 1}};
    case kChartReturn:
      return {{"Рождение", 0}, {"Возврат", 1}};
    case kChartLunarPhase:
      return {{"Рождение", 0}, {"Фаза Луны", 1}};
    default:
      return {{"Момент", 0}};
  }
}

std::string MomentText(const Source& s) {
  return s.moment.date.ToText() + "  " + TimeText(s.moment.time) + "  " + ZoneText(s.zone);
}

std::string PlaceText(const Place& p) {
  std::string text = p.Town();
  if (!p.Region().empty()) text += (text.empty() ? "" : ", ") + p.Region();
  if (!text.empty()) text += "  ";
  return text + p.CoordText();
}

std::string HoursText(double hours) {
  int seconds = static_cast<int>(std::lround(hours * 3600.0)) % 86400;
  if (seconds < 0) seconds += 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

}  // namespace

std::string HouseSystemName(int code) {
  static const char* const kNames[kHouseSystemCount] = {"ПЛАЦИДУС",
                                                        "ТОПОЦЕНТРИЧЕСКАЯ",
                                                        "РЕГИОМОНТАНУС",
                                                        "РАВНОДОМНАЯ ОТ МС",
                                                        "РАВНОДОМНАЯ ОТ ASC",
                                                        "КАМПАНУС",
                                                        "КОХ",
                                                        "ПОРФИРИЙ",
                                                        "МЕРИДИАННАЯ (ЗАРИЕЛЬ)",
                                                        "МОРИНУС",
                                                        "СОЛЯР",
                                                        "БРАХМАГУПТА",
                                                        "МЕДИЦИНСКАЯ",
                                                        "ЗЕМНЫЕ ДОМА",
                                                        "СОЛНЕЧНЫЕ ДОМА",
                                                        "ЛУННЫЕ ДОМА",
                                                        "ЗНАК-ДОМ",
                                                        "ГОРИЗОНТАЛЬНАЯ",
                                                        "НАТУРАЛЬНАЯ (ПОДВОДНЫЙ)"};
  if (!IsKnownHouseSystem(code)) return {};
  std::string name = Cp1251(kNames[BaseHouseSystem(code)]);
  if (IsGeodeticHouseCode(code)) name += Cp1251(", геодетическая");
  return name;
}

std::string LongitudeInSignText(double longitude) {
  if (longitude == kAbsent || !std::isfinite(longitude)) return "-";
  const int minutes =
      static_cast<int>(std::lround(NormalizeDegrees(longitude) * 60.0) % (360L * 60L));
  const int sign = minutes / 1800;
  char text[16];
  std::snprintf(text, sizeof text, "%02d", minutes % 1800 / 60);
  std::string out = text + Cp1251("°");
  std::snprintf(text, sizeof text, "%02d'", minutes % 60);
  return out + text + ' ' + GetMessageText(kMsgSignNameFirst + sign);
}

double LocalSiderealHours(const Chart& chart) {
  const Source& source = ComputingSource(chart.definition);
  const Instant when = MakeInstant(chartmath::UtOf(source));
  return NormalizeDegrees(when.apparentSiderealTimeDeg + source.place.EastLongitudeDeg()) / 15.0;
}

std::string HouseNumeral(int house) {
  static const char* const kNumerals[12] = {"I",   "II",   "III", "IV", "V",  "VI",
                                            "VII", "VIII", "IX",  "X",  "XI", "XII"};
  return house >= 1 && house <= 12 ? kNumerals[house - 1] : "";
}

std::vector<ChartInfoRow> ChartInfoRows(const Chart& chart) {
  const SuperSource& d = chart.definition;
  std::vector<ChartInfoRow> rows;
  const Source* base = d.GetBaseSource();
  rows.push_back({Cp1251("Имя"), (base != nullptr ? *base : d.sources[0]).Name()});
  std::string kind =
      GetMessageText(kMsgKindNameFirst + (d.Kind() <= kChartLunarPhase ? d.Kind() : 0));
  if (d.Kind() == kChartSynastry && d.keyKind == kCompositeSwitch)
    kind += " (" + GetMessageText(kMsgComposite) + ")";
  rows.push_back({Cp1251("Тип"), kind});
  rows.push_back({Cp1251("Название"), d.Title()});
  for (const auto& [label, index] : SourcesOfKind(d)) {
    const Source& s = d.sources[index];
    rows.push_back({Cp1251(label), MomentText(s)});
    rows.push_back({Cp1251("Место"), PlaceText(s.place)});
  }
  std::string houses = HouseSystemName(chart.houseSystem);
  if (chart.porphyryFallback) houses += Cp1251(" (на этой широте - ПОРФИРИЙ)");
  rows.push_back({Cp1251("Система домов"), houses});
  rows.push_back({Cp1251("Система аспектов"), d.AspectSystemName()});
  rows.push_back({Cp1251("Звездное время"), HoursText(LocalSiderealHours(chart))});
  for (ChartInfoRow& row : UnknownBodyRows(chart)) rows.push_back(std::move(row));
  return rows;
}

std::vector<ChartInfoRow> UnknownBodyRows(const Chart& chart) {
  std::vector<ChartInfoRow> rows;
  const double tt = ToTt(chartmath::UtOf(ComputingSource(chart.definition))).days;
  const auto yearText = [](int year) {
    return year > 0 ? std::to_string(year) : std::to_string(1 - year) + Cp1251(" до н. э.");
  };
  for (int point = 0; point < kBodyCount; ++point) {
    int first = 0, last = 0;
    if (BodyKnownAt(point, tt) || !BodyKnownYears(point, first, last)) continue;
    rows.push_back({GetMessageText(kMsgPointNameFirst + point),
                    Cp1251("нет в карте (известен в ") + yearText(first) + "-" + yearText(last) +
                        Cp1251(" гг. по TT)")});
  }
  return rows;
}

std::vector<ChartInfoRow> AngleCuspRows(const Chart& chart) {
  std::vector<ChartInfoRow> rows;
  const auto known = [&chart](int house) {
    const double cusp = chart.cusps[static_cast<std::size_t>(house)].Get();
    return chart.cusps[static_cast<std::size_t>(house)].IsSet() && std::isfinite(cusp);
  };
  if (known(0)) rows.push_back({Cp1251("Асцендент"), LongitudeInSignText(chart.cusps[0].Get())});
  if (known(9)) rows.push_back({Cp1251("MC"), LongitudeInSignText(chart.cusps[9].Get())});
  for (int house = 0; house < 12; ++house)
    if (known(house))
      rows.push_back({Cp1251("Куспид ") + HouseNumeral(house + 1),
                      LongitudeInSignText(chart.cusps[static_cast<std::size_t>(house)].Get())});
  return rows;
}

std::vector<PointHouseRow> PointHouseRows(const Chart& chart) {
  std::vector<PointHouseRow> rows;
  for (int i = 0; i <= kLastInfoPoint; ++i) {
    const PointRecord& p = chart.points[i];
    if (!p.longitude.IsSet()) continue;
    PointHouseRow row;
    row.point = i;
    row.name = GetMessageText(kMsgPointNameFirst + i);
    row.longitude = LongitudeInSignText(p.longitude.Get());
    row.status = p.status;
    row.house = chart.HouseOf(p.longitude.Get()) + 1;
    rows.push_back(std::move(row));
  }
  return rows;
}
