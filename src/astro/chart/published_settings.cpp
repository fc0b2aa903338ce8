#include "astro/chart/published_settings.h"

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

// The snapshot published last, behind a lock of its own: the library's atomic shared pointer
// lets go of its internal lock after a load without ordering it before the next store, which
// ThreadSanitizer reports as a race between a run taking the settings and a dialog publishing
// them. Only the pointer is copied under the lock; a snapshot is freed outside it.
struct PublishedSlot {
  std::mutex mutex;
  std::shared_ptr<const SettingsSnapshot> settings;
};

PublishedSlot& Published() {
  static PublishedSlot published;
  return published;
}

std::shared_ptr<const SettingsSnapshot> LoadPublished() {
  PublishedSlot& slot = Published();
  const std::lock_guard lock(slot.mutex);
  return slot.settings;
}

}  // namespace

std::shared_ptr<const SettingsSnapshot> GetPublishedSettings() {
  if (auto settings = LoadPublished()) return settings;
  // The first reader publishes what the program holds; later readers find it.
  static std::once_flag first;
  std::call_once(first, [] {
    if (!LoadPublished()) PublishSettings();
  });
  return LoadPublished();
}

std::shared_ptr<const SettingsSnapshot> PublishSettings() {
  std::shared_ptr<const SettingsSnapshot> settings =
      std::make_shared<const SettingsSnapshot>(GetConfiguration(), GetAspectarium());
  std::shared_ptr<const SettingsSnapshot> replaced = settings;
  {
    PublishedSlot& slot = Published();
    const std::lock_guard lock(slot.mutex);
    slot.settings.swap(replaced);
  }
  return settings;
}
