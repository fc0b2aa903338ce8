// What a chart computation reads, taken once: the ephemeris and the settings (the configuration's
// calculation settings, sign rulers, orb classes, the aspect-system name of each chart kind, and
// the aspect systems) as one immutable snapshot. A computation reads only its ChartContext, never
// the program-wide settings, so that a settings dialog may change and publish them while a
// computation runs elsewhere; take the context on the user-interface thread and pass it down.
// Copying a context copies two shared pointers.
//
// The program-wide ephemeris is loaded once at start from "velm.str" in the data folder and shared
// read-only by every context that took it. When the file is missing or damaged the theories serve
// every date.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/published_settings.h"
#include "astro/ephemeris/ephemeris.h"
#include "foundation/config/configuration.h"
#include "foundation/status.h"

class Aspectarium;

class ChartContext {
 public:
  // The published `settings` (not null), over `ephemeris` (the program-wide one when null).
  explicit ChartContext(std::shared_ptr<const SettingsSnapshot> settings,
                        std::shared_ptr<const Ephemeris> ephemeris = nullptr);
  // A snapshot (a copy) of `config` and of the systems of `aspects`.
  ChartContext(const Configuration& config, const Aspectarium& aspects,
               std::shared_ptr<const Ephemeris> ephemeris = nullptr);
  // A snapshot of `config` without aspect systems.
  explicit ChartContext(const Configuration& config,
                        std::shared_ptr<const Ephemeris> ephemeris = nullptr);

  // The published settings (published_settings.h) and the program-wide ephemeris; nothing is
  // copied.
  static ChartContext FromCurrentSettings();

  const Ephemeris& GetEphemeris() const { return *ephemeris_; }
  const SettingsSnapshot& Settings() const { return *settings_; }
  const std::shared_ptr<const SettingsSnapshot>& SharedSettings() const { return settings_; }
  const Configuration& Config() const { return settings_->Config(); }
  const cfg::CalculationSettings& Calculation() const { return Config().calculation; }

  // The system of that name (letter case ignored); nullptr when the snapshot holds none.
  const AspectSystem* FindSystem(std::string_view name) const {
    return settings_->FindSystem(name);
  }
  // The system of that name, else the current one of the snapshot (as Aspectarium's
  // GetCurrentSystem); nullptr only without systems.
  const AspectSystem* SystemOrCurrent(std::string_view name) const {
    return settings_->SystemOrCurrent(name);
  }

 private:
  std::shared_ptr<const Ephemeris> ephemeris_;
  std::shared_ptr<const SettingsSnapshot> settings_;
};

// The loaded ephemeris (the theories alone until LoadEphemeris succeeds).
const Ephemeris& GetEphemeris();
// The same, shared: it stays alive for its holders when another file is loaded.
std::shared_ptr<const Ephemeris> GetSharedEphemeris();

// Loads the tables from `file`; on failure the ephemeris keeps what it had and the status names
// the file (error 102, 103 or 106).
Status LoadEphemeris(const std::filesystem::path& file);
// Loads "velm.str" of the data folder (GetSettings()), else the shipped copy. When the data
// folder's own copy cannot be loaded the shipped tables are loaded instead, and the status is the
// own copy's failure (for one message).
Status LoadEphemerisFromDataFolder();
