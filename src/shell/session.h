// The session file "velm.sav": the charts open at the end of the last run, one chart record of
// version 4200 after another, nothing else. It is written once at shut-down through the safe
// rewrite, so a failed write leaves the previous session as it was.
#pragma once

#include <filesystem>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/status.h"

// Writes the charts; with no charts the file is removed (there is nothing to restore).
Status WriteSessionFile(const std::filesystem::path& path, const std::vector<Chart>& charts);
// Reads every chart of the file. Error 102 when it cannot be opened, 106 when its length is not a
// whole number of records or a record holds a value no chart can have; `charts` then holds
// nothing.
Status ReadSessionFile(const std::filesystem::path& path, std::vector<Chart>& charts);
// True when the file exists and holds one or more whole records.
bool SessionFileHoldsCharts(const std::filesystem::path& path);
