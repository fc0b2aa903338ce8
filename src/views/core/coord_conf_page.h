// The page model of the coordinate-table settings ("ЭКРАН" and "ПЕЧАТЬ"): the candidates outside
// the table and the rows of the table as two lists, the row editor's buttons with their
// selections, the font size and the line step, and on the print page the check of the table's
// height on paper.
#pragma once

#include <string>
#include <vector>

#include "foundation/config/coord_conf.h"
#include "platform/core/dc.h"

namespace coords {

inline constexpr int kMinFontSize = 10;
inline constexpr int kMaxFontSize = 20000;
inline constexpr int kMaxLineStep = 5000;
inline constexpr int kMinWidth = 1;
inline constexpr int kMaxWidth = 50;
// The tallest table a page holds (0.01 mm).
inline constexpr int kMaxPrintHeight = 11600;

struct CoordConfPage {
  COORD_CONF layout;
  int candidate = 0;  // selected candidate, -1 none
  int row = 0;        // selected row, -1 none

  std::vector<std::string> CandidateNames() const;
  std::vector<std::string> RowNames() const;
  // ">>>>>": the selected candidate becomes the last row (and is selected there); the candidate
  // selection stays at its index, or the one before when the last was taken.
  bool ShowSelected();
  // "Удалить": the selected row leaves the table; the row selection stays at its index or the
  // one before.
  bool HideSelected();
  // "Вверх" / "Вниз": the selected row moves, the selection following it.
  bool MoveSelectedUp();
  bool MoveSelectedDown();
  // The font size, line step and width brought into their ranges.
  void Clamp();
  // "Проверить размеры": the message of the table's height at scale 1 in the font size and line
  // step entered (85 fits on a page, 86 too large).
  int CheckPrintSize(platform::Dc& dc) const;
};

}  // namespace coords
