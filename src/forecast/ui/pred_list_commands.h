// What the prediction lists do for the program: the aspect-list command (Alt+Y) and the hand-over
// of the forecast views' events to a list on a right click.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "forecast/core/pred_list_record.h"

class Chart;
class Workbench;

// The list dialog on the lists of the data folder, or message 1168 when there is none. Its
// "Печать" opens the list's print document (creation mode -10), whose pages name `person`, the
// chart the command was given from, when there is one.
void RunPredictListCommand(Workbench& workbench, const Chart* person = nullptr);

// The hand-over protocol of the event views: DPREDLIST_TRANSFER with the event under the pointer
// (`clicked`, -1 for none, and none when `make` refuses it: an ingress is not offered alone); on
// OK the chosen events out of `eventCount` become records by `make` (nothing for an event it
// refuses) and are appended to the chosen list. A file that cannot be written is reported as
// error 105 with `trace`, and nothing is added; an aspect outside its system is told once, and a
// hand-over that added nothing says so (message 1931). The list dialog follows when the user
// asked for it, for `person`, the chart whose events were handed over.
void HandOverToPredList(Workbench& workbench, int clicked, int eventCount,
                        const std::function<std::optional<PredListRecord>(int event)>& make,
                        std::string_view trace, const Chart* person = nullptr);
