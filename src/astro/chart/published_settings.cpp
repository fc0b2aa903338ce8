#include "astro/chart/published_settings.h"

#include <atomic>
#include <mutex>

SettingsSnapshot::SettingsSnapshot(const Configuration& config) : config_(config) {}

SettingsSnapshot::SettingsSnapshot(const Configuration& config, const Aspectarium& aspects)
    : config_(config), currentSystemName_(aspects.CurrentSystemName()) {
  systems_.reserve(static_cast<std::size_t>(aspects.Count()));
  for (int i = 0; i < aspects.Count(); ++i) systems_.push_back(aspects.GetSystem(i));
}

const AspectSystem* SettingsSnapshot::FindSystem(std::string_view name) const {
  // The loaded names are upper case; a name is found without regard to letter case.
  const std::string upper = SystemNameUpper(name);
  for (const AspectSystem& system : systems_)
    if (system.GetName() == upper) return &system;
  return nullptr;
}

const AspectSystem* SettingsSnapshot::SystemOrCurrent(std::string_view name) const {
  if (const AspectSystem* named = FindSystem(name)) return named;
  if (const AspectSystem* current = FindSystem(currentSystemName_)) return current;
  return systems_.empty() ? nullptr : &systems_.front();
}

namespace {

std::atomic<std::shared_ptr<const SettingsSnapshot>>& Published() {
  static std::atomic<std::shared_ptr<const SettingsSnapshot>> published;
  return published;
}

}  // namespace

std::shared_ptr<const SettingsSnapshot> GetPublishedSettings() {
  if (auto settings = Published().load()) return settings;
  // The first reader publishes what the program holds; later readers find it.
  static std::once_flag first;
  std::call_once(first, [] {
    if (!Published().load()) PublishSettings();
  });
  return Published().load();
}

std::shared_ptr<const SettingsSnapshot> PublishSettings() {
  auto settings = std::make_shared<const SettingsSnapshot>(GetConfiguration(), GetAspectarium());
  Published().store(settings);
  return settings;
}
