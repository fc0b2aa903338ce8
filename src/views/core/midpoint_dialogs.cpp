#include "views/core/midpoint_dialogs.h"

#include <algorithm>

#include "foundation/config/settings_blocks.h"

namespace tables {

using Settings = cfg::MidpointPrintSettings;

void MidpointPrintModel::Load(const cfg::ByteBlock& block) {
  printForm = block.Get(Settings::kPrintForm) == kPrintAsList ? kPrintAsList : kPrintAsGrid;
  samePage = std::clamp(block.Get(Settings::kSamePage), 0, 2);
  fontSize =
      std::clamp(block.Get(Settings::kListFontSize), kMidpointListFontMin, kMidpointListFontMax);
  interval = std::clamp(block.Get(Settings::kListInterval), kMidpointListIntervalMin,
                        kMidpointListIntervalMax);
  listChart = block.Get(Settings::kListChart) == 1 ? 1 : 0;
}

void MidpointPrintModel::Store(cfg::ByteBlock& block) const {
  block.Set(Settings::kPrintForm, printForm);
  block.Set(Settings::kSamePage, samePage);
  block.Set(Settings::kListFontSize, fontSize);
  block.Set(Settings::kListInterval, interval);
  block.Set(Settings::kListChart, listChart);
}

Spot PlaceAtClick(Spot click, int width, int height, int areaWidth, int areaHeight) {
  Spot at = click;
  if (click.x + width > areaWidth && click.x - width >= 0) at.x = click.x - width;
  if (click.y + height > areaHeight && click.y - height >= 0) at.y = click.y - height;
  return at;
}

}  // namespace tables
