// The settings every computation reads, published as one immutable whole.
//
// The user-interface thread edits the program-wide configuration (GetConfiguration) and aspect
// systems (GetAspectarium) in place. A change reaches the computations when it is published:
// PublishSettings copies both once into a new SettingsSnapshot and replaces the published one
// atomically. A ChartContext holds the snapshot it took, so a computation that runs while a dialog
// changes and publishes the settings reads its own snapshot to the end.
//
// Every change of the settings is published: a command that changes them does it through
// ChangeSettings (the change and the publish in one call) or calls PublishSettings before it
// computes anything, and the main window publishes again after every command it runs, so that a
// change made by a command is never left unpublished.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"

class SettingsSnapshot {
 public:
  // Copies of `config` and of every system of `aspects` with its current-system name.
  SettingsSnapshot(const Configuration& config, const Aspectarium& aspects);
  // A copy of `config` without aspect systems.
  explicit SettingsSnapshot(const Configuration& config);

  const Configuration& Config() const { return config_; }
  int SystemCount() const { return static_cast<int>(systems_.size()); }

  // The system of that name (letter case ignored); nullptr when the snapshot holds none.
  const AspectSystem* FindSystem(std::string_view name) const;
  // The system of that name, else the current one (as Aspectarium's GetCurrentSystem); nullptr
  // only without systems.
  const AspectSystem* SystemOrCurrent(std::string_view name) const;

 private:
  Configuration config_;
  std::vector<AspectSystem> systems_;
  std::string currentSystemName_;
};

// The settings published last; any thread may take them. Before the first publish, the
// program-wide settings as they are at the first call.
std::shared_ptr<const SettingsSnapshot> GetPublishedSettings();

// Publishes the program-wide configuration and aspect systems as they are now (user-interface
// thread) and returns the new snapshot.
std::shared_ptr<const SettingsSnapshot> PublishSettings();

// Changes the program-wide settings by `edit(Configuration&, Aspectarium&)` and publishes them.
template <class Edit>
void ChangeSettings(Edit&& edit) {
  edit(GetConfiguration(), GetAspectarium());
  PublishSettings();
}
