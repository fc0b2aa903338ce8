#include "views/core/midpoint_dialogs.h"

#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"

namespace tables {

namespace {

using Settings = cfg::MidpointPrintSettings;
using M = MidpointPrintModel;
using cfg::Bind;

// Read into range (the form and the chart: anything but 1 is 0); written as they stand.
constexpr cfg::FieldTable kFields{
    Bind(&M::printForm, Settings::kPrintForm, cfg::OnlyOne{}),
    Bind(&M::samePage, Settings::kSamePage, cfg::Clamp{0, 2}),
    Bind(&M::fontSize, Settings::kListFontSize,
         cfg::Clamp{kMidpointListFontMin, kMidpointListFontMax}),
    Bind(&M::interval, Settings::kListInterval,
         cfg::Clamp{kMidpointListIntervalMin, kMidpointListIntervalMax}),
    Bind(&M::listChart, Settings::kListChart, cfg::OnlyOne{})};
static_assert(kPrintAsGrid == 0 && kPrintAsList == 1);

}  // namespace

void MidpointPrintModel::Load(const cfg::ByteBlock& block) { kFields.Read(block, *this); }

void MidpointPrintModel::Store(cfg::ByteBlock& block) const { kFields.Write(*this, block); }

Spot PlaceAtClick(Spot click, int width, int height, int areaWidth, int areaHeight) {
  Spot at = click;
  if (click.x + width > areaWidth && click.x - width >= 0) at.x = click.x - width;
  if (click.y + height > areaHeight && click.y - height >= 0) at.y = click.y - height;
  return at;
}

}  // namespace tables
