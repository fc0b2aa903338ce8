#include "astro/chart/chart_context.h"

#include "foundation/files/settings.h"

namespace {

// The program-wide ephemeris. A load builds a new one and swaps it in, so that a context that took
// the previous one keeps reading it unchanged.
std::shared_ptr<const Ephemeris>& TheEphemeris() {
  static std::shared_ptr<const Ephemeris> ephemeris = std::make_shared<const Ephemeris>();
  return ephemeris;
}

}  // namespace

ChartContext::ChartContext(std::shared_ptr<const SettingsSnapshot> settings,
                           std::shared_ptr<const Ephemeris> ephemeris)
    : ephemeris_(ephemeris ? std::move(ephemeris) : GetSharedEphemeris()),
      settings_(std::move(settings)) {}

ChartContext::ChartContext(const Configuration& config, std::shared_ptr<const Ephemeris> ephemeris)
    : ChartContext(std::make_shared<const SettingsSnapshot>(config), std::move(ephemeris)) {}

ChartContext::ChartContext(const Configuration& config, const Aspectarium& aspects,
                           std::shared_ptr<const Ephemeris> ephemeris)
    : ChartContext(std::make_shared<const SettingsSnapshot>(config, aspects),
                   std::move(ephemeris)) {}

ChartContext ChartContext::FromCurrentSettings() {
  return ChartContext(GetPublishedSettings(), GetSharedEphemeris());
}

const Ephemeris& GetEphemeris() { return *TheEphemeris(); }

std::shared_ptr<const Ephemeris> GetSharedEphemeris() { return TheEphemeris(); }

Status LoadEphemeris(const std::filesystem::path& file) {
  auto loaded = std::make_shared<Ephemeris>();
  if (Status st = loaded->Load(file); !st.ok()) return st;
  TheEphemeris() = std::move(loaded);
  return Status::Ok();
}

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
