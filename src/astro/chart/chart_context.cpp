#include "astro/chart/chart_context.h"

#include "foundation/files/settings.h"

namespace {

Ephemeris& TheEphemeris() {
  static Ephemeris ephemeris;
  return ephemeris;
}

}  // namespace

const Ephemeris& GetEphemeris() { return TheEphemeris(); }

Status LoadEphemeris(const std::filesystem::path& file) { return TheEphemeris().Load(file); }

Status LoadEphemerisFromDataFolder() {
  return LoadEphemeris(GetSettings().FindProgramFile(g_DataFileNames[kDataEphemeris]));
}
