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
  const Settings& settings = GetSettings();
  const std::string_view name = g_DataFileNames[kDataEphemeris];
  const std::filesystem::path file = settings.FindProgramFile(name);
  const Status loaded = LoadEphemeris(file);
  if (loaded.ok()) return loaded;
  // A data folder's own copy that cannot be read gives way to the shipped tables; its failure is
  // the one message.
  const std::filesystem::path shipped = settings.FindShippedFile(name);
  if (!shipped.empty() && shipped != file) (void)LoadEphemeris(shipped);
  return loaded;
}
