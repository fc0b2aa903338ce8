// Entering a new chart of a kind: the entry dialog of the kind, preset with the last entry of its
// group from the entry history, and on OK the accepted definition remembered in the history file
// of the data folder.
#pragma once

#include <memory>

#include "foundation/datetime/present_moment.h"
#include "foundation/datetime/super_source.h"
#include "shell/entry/chart_entry_dialog.h"

class QWidget;

namespace entry {

// The entry dialog of chart kind 0..9 (natal, horary and draconic: CD_ENTER_Natal); kinds
// outside 0..9 get the natal dialog.
std::unique_ptr<ChartEntryDialog> MakeEntryDialog(int kind, QWidget* parent = nullptr);

}  // namespace entry

// Runs the entry dialog of `kind` with the group's last stored entry (with `definition` when the
// history holds none for the group), titled with the kind's name. With `active`, the definition of
// the active chart, a kind derived from a birth chart starts from the active chart's birth data;
// the moment such a kind looks at, and a horary chart without a history entry, start at the
// present moment of `clock` (InitialEntry). On OK the definition becomes
// the entered one (a return's or lunar phase's moment searched from the target moment on; a
// failed search is reported and gives false; an empty title becomes the kind's name, the
// aspect-system name the configuration's for the kind), is remembered in the history, and true is
// returned; on Cancel the definition is left as it was. The history lives in the data folder;
// without a data folder nothing is stored.
bool EnterChartOfKind(SuperSource& definition, int kind, QWidget* parent = nullptr,
                      const Clock& clock = ReadSystemClock, const SuperSource* active = nullptr);
