// What a chart computation reads, taken once: the ephemeris, the configuration (calculation
// settings, sign rulers, orb classes, the aspect-system name of each chart kind) and copies of the
// loaded aspect systems. A computation reads only its ChartContext, never the program-wide
// settings, so that a settings dialog may change them while a computation runs elsewhere; build
// the context on the user-interface thread and pass it down.
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
#include "astro/ephemeris/ephemeris.h"
#include "foundation/config/configuration.h"
#include "foundation/status.h"

class Aspectarium;

class ChartContext {
 public:
  // A snapshot of `config` and of the systems of `aspects`, over `ephemeris` (the program-wide one
  // when null).
  ChartContext(const Configuration& config, const Aspectarium& aspects,
               std::shared_ptr<const Ephemeris> ephemeris = nullptr);
  // A snapshot of `config` without aspect systems.
  explicit ChartContext(const Configuration& config,
                        std::shared_ptr<const Ephemeris> ephemeris = nullptr);

  // A snapshot of the program-wide configuration, aspect systems and ephemeris as they are now.
  // Call it on the user-interface thread.
  static ChartContext FromCurrentSettings();

  const Ephemeris& GetEphemeris() const { return *ephemeris_; }
  const Configuration& Config() const { return *config_; }
  const cfg::CalculationSettings& Calculation() const { return config_->calculation; }

  // The system of that name (letter case ignored); nullptr when the snapshot holds none.
  const AspectSystem* FindSystem(std::string_view name) const;
  // The system of that name, else the current one of the snapshot (as Aspectarium's
  // GetCurrentSystem); nullptr only without systems.
  const AspectSystem* SystemOrCurrent(std::string_view name) const;

 private:
  std::shared_ptr<const Ephemeris> ephemeris_;
  std::shared_ptr<const Configuration> config_;
  std::vector<std::shared_ptr<const AspectSystem>> systems_;
  std::string currentSystemName_;
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
