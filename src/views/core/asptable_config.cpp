#include "views/core/asptable_config.h"

#include <algorithm>
#include <cctype>

#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace tables {

namespace {

using Settings = cfg::AspectTableSettings;
using M = AspTableConfigModel;
using cfg::Bind;

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// Read as they stand; a choice is written brought into lo..hi.
struct WrittenInRange : cfg::AsIs {
  int lo, hi;
  constexpr WrittenInRange(int low, int high) : lo(low), hi(high) {}
  template <typename V, typename T>
  V Write(const T& member) const {
    return static_cast<V>(std::clamp(member, lo, hi));
  }
};

// Read as they stand; a switch is written as 1 when nonzero.
struct WrittenAsSwitch : cfg::AsIs {
  template <typename V, typename T>
  V Write(const T& member) const {
    return static_cast<V>(member != 0 ? 1 : 0);
  }
};

constexpr cfg::FieldTable kFields{
    Bind(&M::switches, Settings::kPointSwitch, WrittenAsSwitch{}),
    Bind(&M::colourMode, Settings::kColourMode, WrittenInRange{0, 2}),
    Bind(&M::cellMode, Settings::kCellMode, WrittenInRange{0, 3}),
    Bind(&M::houseOrbGroup, Settings::kHouseOrbGroup, WrittenInRange{1, 5}),
    Bind(&M::tableWidths, Settings::kTableWidth),
    Bind(&M::pageLayouts, Settings::kPageLayout),
    Bind(&M::diagonalMode, Settings::kDiagonalMode, WrittenInRange{0, 3}),
    Bind(&M::midpointHighlight, Settings::kMidpointHighlight, WrittenInRange{0, 4}),
    Bind(&M::onlyDisplayed, Settings::kOnlyDisplayed, WrittenAsSwitch{}),
    Bind(&M::aspectsToHouses, Settings::kAspectsToHouses, WrittenAsSwitch{}),
    Bind(&M::systemName, Settings::kMidpointSystem)};

}  // namespace

void AspTableConfigModel::LoadFrom(const Configuration& config) {
  kFields.Read(config.aspectTable, *this);
}

void AspTableConfigModel::StoreTo(Configuration& config) const {
  kFields.Write(*this, config.aspectTable);
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
