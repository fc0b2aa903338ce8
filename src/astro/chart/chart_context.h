// The program-wide ephemeris that chart computation reads: loaded once at start from "velm.str"
// in the data folder, then shared read-only by every chart. When the file is missing or damaged
// the theories serve every date.
#pragma once

#include <filesystem>

#include "astro/ephemeris/ephemeris.h"
#include "foundation/status.h"

// The loaded ephemeris (the theories alone until LoadEphemeris succeeds).
const Ephemeris& GetEphemeris();

// Loads the tables from `file`; on failure the ephemeris keeps what it had and the status names
// the file (error 102, 103 or 106).
Status LoadEphemeris(const std::filesystem::path& file);
// Loads "velm.str" of the data folder (GetSettings()), else the shipped copy. When the data
// folder's own copy cannot be loaded the shipped tables are loaded instead, and the status is the
// own copy's failure (for one message).
Status LoadEphemerisFromDataFolder();
