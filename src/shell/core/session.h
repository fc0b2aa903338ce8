// The session file "velm.sav": the charts open at the end of the last run, one chart record of
// version 4200 after another, nothing else. It is read at start and written once at shut-down
// through the safe rewrite, so a failed write leaves the previous session as it was; a file that
// could not be read wholly at start is renamed aside, never replaced.
#pragma once

#include <filesystem>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/status.h"

// Writes the charts; with no charts the file is removed (there is nothing to restore).
Status WriteSessionFile(const std::filesystem::path& path, const std::vector<Chart>& charts);
// Reads every chart of the file. Error 102 when it cannot be opened, 103 when it cannot be read,
// 106 when its length is not a whole number of records (detail 1) or is above ten thousand
// records (detail 0, nothing read) or record n (from 1) holds a
// value no chart can have (detail n + 1); `charts` then holds nothing.
Status ReadSessionFile(const std::filesystem::path& path, std::vector<Chart>& charts);
// As ReadSessionFile, but on error 106 `charts` holds the records read before the damage: the
// whole records of a truncated file, or those before a record that cannot be read.
Status ReadSessionRecords(const std::filesystem::path& path, std::vector<Chart>& charts);
