#include "views/core/coord_conf_page.h"

#include <algorithm>

#include "foundation/messages/message_numbers.h"
#include "views/core/coord_table.h"

namespace coords {

namespace {

int Candidates(const COORD_CONF& layout) {
  int n = 0;
  for (const std::uint8_t v : layout.slots) n += v == COORD_CONF::kNotInTable ? 1 : 0;
  return n;
}

}  // namespace

std::vector<std::string> CoordConfPage::CandidateNames() const {
  std::vector<std::string> names;
  for (int k = 0, s; (s = layout.FindSlot(false, k)) >= 0; ++k)
    names.push_back(COORD_CONF::SlotName(s));
  return names;
}

std::vector<std::string> CoordConfPage::RowNames() const {
  std::vector<std::string> names;
  for (int p = 0; p < layout.GetRowCount(); ++p) names.push_back(layout.GetRowName(p));
  return names;
}

bool CoordConfPage::ShowSelected() {
  if (layout.ShowSlot(candidate) < 0) return false;
  row = layout.GetRowCount() - 1;
  candidate = std::min(candidate, Candidates(layout) - 1);
  return true;
}

bool CoordConfPage::HideSelected() {
  if (layout.HideRow(row) != 0) return false;
  row = std::min(row, layout.GetRowCount() - 1);
  return true;
}

bool CoordConfPage::MoveSelectedUp() {
  if (row < 1 || !layout.MoveRowUp(row)) return false;
  --row;
  return true;
}

bool CoordConfPage::MoveSelectedDown() {
  if (row < 0 || !layout.MoveRowDown(row)) return false;
  ++row;
  return true;
}

void CoordConfPage::Clamp() {
  layout.fontSize = std::clamp(layout.fontSize, kMinFontSize, kMaxFontSize);
  layout.lineStep = std::clamp(layout.lineStep, 0, kMaxLineStep);
  layout.width =
      static_cast<std::int16_t>(std::clamp(static_cast<int>(layout.width), kMinWidth, kMaxWidth));
  layout.fitToWindow = layout.fitToWindow != 0 ? 1 : 0;
}

int CoordConfPage::CheckPrintSize(platform::Dc& dc) const {
  return MeasureTable(layout, dc, false, 1.0).height > kMaxPrintHeight ? kMsgSizeTooLarge
                                                                       : kMsgSizeFits;
}

}  // namespace coords
