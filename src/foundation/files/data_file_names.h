// The fixed names of the program's data files, by position. Every data file lives in the data
// folder (Settings::GetPath); callers name a file by its position so that one table holds the
// spellings.
#pragma once

#include <array>
#include <cstddef>

enum DataFile : std::size_t {
  kDataConfig = 0,         // "velm.cfg": the program-wide configuration
  kDataAspectSystem,       // "velm.asp": the default aspect systems
  kDataTownCoordinates,    // "Town.cor": the town atlas
  kDataTownNames,          // "Town.dat"
  kDataTownRegions,        // "Town.dst"
  kDataEphemeris,          // "velm.str": ephemeris tables
  kDataRecentArchives,     // "velm.arn"
  kDataSession,            // "velm.sav": the charts open at the last exit
  kDataExportFormats,      // "velm.exp"
  kDataColourSchemes,      // "Velm.col"
  kDataGlyphFaceA,         // "Velm5a.ttf"
  kDataGlyphFaceB,         // "Velm5b.ttf"
  kDataGlyphFaceH,         // "Velmh.ttf"
  kDataFontRirevir,        // "Rirevir_.uzu"
  kDataFontAcademy,        // "Academyu.ttf"
  kDataArabicParts,        // "velm.arb"
  kDataFixedStars,         // "Velm.est"
  kDataSabianSymbols,      // "velm.sab" (position 17)
  kDataStarTexts,          // "Velm.int"
  kDataMapTowns,           // "velm.lnd"
  kDataAspectGraph,        // "velm.agr"
  kDataGroups,             // "groups.lst"
  kDataQueryArchives,      // "quearcs.lst"
  kDataQueryFunctions,     // "quefuncs.lst"
  kDataQueryLogic,         // "quelogic.lst"
  kDataSynastryArchives,   // "synarcs.lst"
  kDataSynastryFunctions,  // "synfuncs.lst"
  kDataSynastryLogic,      // "synlogic.lst"
  kDataTextBases,          // "tlr.bas"
  kDataLifePointTypes,     // "velm.lpn"
  kDataLifeEvents,         // "velm.lev"
  kDataTestEvents,         // "velm.tev"
  kDataTransitPeriods,     // "velm.tri"
  kDataAdvice,             // "advice.txt"
  kDataConverter,          // "Ormcnvt.exe": the sibling database converter
  kDataConverterFlag,      // "_.flg": its flag file
  kDataLock,               // "velm.lck": held while a copy of the program uses the folder
  kDataOldConfig,          // "VELM.CFG": the configuration of an older version (import)
  kDataOldColours,         // "VELM.COL": the colour schemes of an older version (import)
  kDataFileCount
};

inline constexpr std::array<const char*, kDataFileCount> g_DataFileNames = {
    "velm.cfg",     "velm.asp",     "Town.cor",     "Town.dat",     "Town.dst",    "velm.str",
    "velm.arn",     "velm.sav",     "velm.exp",     "Velm.col",     "Velm5a.ttf",  "Velm5b.ttf",
    "Velmh.ttf",    "Rirevir_.uzu", "Academyu.ttf", "velm.arb",     "Velm.est",    "velm.sab",
    "Velm.int",     "velm.lnd",     "velm.agr",     "groups.lst",   "quearcs.lst", "quefuncs.lst",
    "quelogic.lst", "synarcs.lst",  "synfuncs.lst", "synlogic.lst", "tlr.bas",     "velm.lpn",
    "velm.lev",     "velm.tev",     "velm.tri",     "advice.txt",   "Ormcnvt.exe", "_.flg",
    "velm.lck",     "VELM.CFG",     "VELM.COL",
};

static_assert(kDataFileCount == 39);
