#include "views/core/asptable_config.h"

#include <algorithm>
#include <cctype>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace tables {

namespace {

using Settings = cfg::AspectTableSettings;

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace

void AspTableConfigModel::LoadFrom(const Configuration& config) {
  const cfg::ByteBlock& block = config.aspectTable;
  for (std::size_t k = 0; k < kPoints; ++k) switches[k] = block.Get(Settings::kPointSwitch[k]);
  colourMode = block.Get(Settings::kColourMode);
  cellMode = block.Get(Settings::kCellMode);
  houseOrbGroup = block.Get(Settings::kHouseOrbGroup);
  for (std::size_t i = 0; i < 3; ++i) {
    tableWidths[i] = block.Get(Settings::kTableWidth[i]);
    pageLayouts[i] = block.Get(Settings::kPageLayout[i]);
  }
  diagonalMode = block.Get(Settings::kDiagonalMode);
  midpointHighlight = block.Get(Settings::kMidpointHighlight);
  onlyDisplayed = block.Get(Settings::kOnlyDisplayed);
  aspectsToHouses = block.Get(Settings::kAspectsToHouses);
  systemName = block.Get(Settings::kMidpointSystem);
}

void AspTableConfigModel::StoreTo(Configuration& config) const {
  cfg::ByteBlock& block = config.aspectTable;
  for (std::size_t k = 0; k < kPoints; ++k)
    block.Set(Settings::kPointSwitch[k], static_cast<std::uint8_t>(switches[k] != 0 ? 1 : 0));
  block.Set(Settings::kColourMode, static_cast<std::int16_t>(std::clamp(colourMode, 0, 2)));
  block.Set(Settings::kCellMode, static_cast<std::int16_t>(std::clamp(cellMode, 0, 3)));
  block.Set(Settings::kHouseOrbGroup, static_cast<std::int16_t>(std::clamp(houseOrbGroup, 1, 5)));
  for (std::size_t i = 0; i < 3; ++i) {
    block.Set(Settings::kTableWidth[i], static_cast<std::int32_t>(tableWidths[i]));
    block.Set(Settings::kPageLayout[i], static_cast<std::int32_t>(pageLayouts[i]));
  }
  block.Set(Settings::kDiagonalMode, static_cast<std::int32_t>(std::clamp(diagonalMode, 0, 3)));
  block.Set(Settings::kMidpointHighlight,
            static_cast<std::int32_t>(std::clamp(midpointHighlight, 0, 4)));
  block.Set(Settings::kOnlyDisplayed, static_cast<std::int32_t>(onlyDisplayed != 0 ? 1 : 0));
  block.Set(Settings::kAspectsToHouses, static_cast<std::uint8_t>(aspectsToHouses != 0 ? 1 : 0));
  block.Set(Settings::kMidpointSystem, systemName);
}

void AspTableConfigModel::AcceptSystemName(std::string typed,
                                           const std::vector<std::string>& loaded,
                                           std::string& message) {
  message.clear();
  if (typed.size() > kSystemNameLength) typed.resize(kSystemNameLength);
  if (!typed.empty()) {
    for (const std::string& name : loaded) {
      if (SameName(name, typed)) {
        systemName = typed;
        return;
      }
    }
  }
  if (loaded.empty()) {
    systemName = typed;
    return;
  }
  systemName = loaded.front();
  message = GetMessageText(kMsgAspectSystemNotFound) + ' ' + typed + '\n' +
            GetMessageText(kMsgSystemInstead) + ' ' + systemName;
}

}  // namespace tables
