#include "astro/chart/chart_context.h"

#include "astro/aspects/aspectarium.h"
#include "foundation/files/settings.h"

namespace {

// The program-wide ephemeris. A load builds a new one and swaps it in, so that a context that took
// the previous one keeps reading it unchanged.
std::shared_ptr<const Ephemeris>& TheEphemeris() {
  static std::shared_ptr<const Ephemeris> ephemeris = std::make_shared<const Ephemeris>();
  return ephemeris;
}

}  // namespace

ChartContext::ChartContext(const Configuration& config, std::shared_ptr<const Ephemeris> ephemeris)
    : ephemeris_(ephemeris ? std::move(ephemeris) : GetSharedEphemeris()),
      config_(std::make_shared<const Configuration>(config)) {}

ChartContext::ChartContext(const Configuration& config, const Aspectarium& aspects,
                           std::shared_ptr<const Ephemeris> ephemeris)
    : ChartContext(config, std::move(ephemeris)) {
  systems_.reserve(static_cast<std::size_t>(aspects.Count()));
  for (int i = 0; i < aspects.Count(); ++i)
    systems_.push_back(std::make_shared<const AspectSystem>(aspects.GetSystem(i)));
  currentSystemName_ = aspects.CurrentSystemName();
}

ChartContext ChartContext::FromCurrentSettings() {
  return ChartContext(GetConfiguration(), GetAspectarium(), GetSharedEphemeris());
}

const AspectSystem* ChartContext::FindSystem(std::string_view name) const {
  // The loaded names are upper case; a name is found without regard to letter case.
  const std::string upper = SystemNameUpper(name);
  for (const auto& system : systems_)
    if (system->GetName() == upper) return system.get();
  return nullptr;
}

const AspectSystem* ChartContext::SystemOrCurrent(std::string_view name) const {
  if (const AspectSystem* named = FindSystem(name)) return named;
  if (const AspectSystem* current = FindSystem(currentSystemName_)) return current;
  return systems_.empty() ? nullptr : systems_.front().get();
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
