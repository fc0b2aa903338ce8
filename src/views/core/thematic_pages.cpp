#include "views/core/thematic_pages.h"

#include <algorithm>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {
using T = cfg::ThematicChartSettings;
constexpr int kAngularHouses[4] = {0, 3, 6, 9};
}  // namespace

TematPage TematPage::Read(const Configuration& config) {
  TematPage page;
  page.choice_ = ThematicChoiceFromSettings(config);
  ThematicChoice& c = page.choice_;
  c.kind = std::clamp(c.kind, 0, 2);
  c.planet = std::clamp(c.planet, 0, kThematicArbitrary);
  c.planet2 = std::clamp(c.planet2, 0, kThematicArbitrary - 1);
  c.house = std::clamp(c.house, 0, 11);
  c.direction = c.direction != 0 ? 1 : 0;
  c.point = std::clamp(c.point, 0, 360 * 60 - 1);
  return page;
}

void TematPage::Write(Configuration& config) const {
  cfg::ByteBlock& b = config.thematicChart;
  b.Set(T::kKind, std::int32_t{choice_.kind});
  b.Set(T::kPlanet, std::int32_t{choice_.planet});
  b.Set(T::kPlanet2, std::int32_t{choice_.planet2});
  b.Set(T::kHouse, std::int32_t{HouseIndex()});
  b.Set(T::kDirection, std::int32_t{choice_.direction});
  b.Set(T::kPoint, std::int32_t{choice_.point});
}

std::vector<std::string> TematPage::PlanetNames() {
  std::vector<std::string> names = SecondPlanetNames();
  names.push_back(GetMessageText(kMsgArbitraryPointTheme));
  return names;
}

std::vector<std::string> TematPage::SecondPlanetNames() {
  std::vector<std::string> names;
  for (int b = 0; b < kThematicArbitrary; ++b)
    names.push_back(GetMessageText(kMsgPointNameFirst + b));
  return names;
}

std::vector<std::string> TematPage::HouseNames() const {
  std::vector<std::string> names;
  if (choice_.kind == 0) {
    for (const int h : kAngularHouses) names.push_back(GetMessageText(kMsgHouseNameFirst + h));
  } else {
    for (int h = 0; h < 12; ++h) names.push_back(GetMessageText(kMsgHouseNameFirst + h));
  }
  return names;
}

int TematPage::HouseIndex() const {
  if (choice_.kind == 0 && (choice_.house < 0 || choice_.house > 3)) return 0;
  return std::clamp(choice_.house, 0, 11);
}

void TematPage::SetKind(int kind) {
  const int k = std::clamp(kind, 0, 2);
  if (k != choice_.kind && k != 2) choice_.house = 0;
  choice_.kind = k;
}

int TematPage::CheckOk(const Chart& chart) const {
  if (const int refusal = ThematicRefusal(chart, choice_.kind); refusal != 0) return refusal;
  if (choice_.kind == 2 && choice_.planet == choice_.planet2) return kMsgThematicSamePlanets;
  return 0;
}

EnterPointPage EnterPointPage::FromPoint(int point) {
  const int p = std::clamp(point, 0, 360 * 60 - 1);
  return {p / 1800, (p / 60) % 30, p % 60};
}

int EnterPointPage::CheckOk() const {
  const bool ok =
      sign >= 0 && sign < 12 && degrees >= 0 && degrees < 30 && minutes >= 0 && minutes < 60;
  return ok ? 0 : kMsgBadCoordinate;
}
