// What the benchmarks share: the data folder the program ships, its ephemeris tables loaded once,
// a temporary folder of the run, an aspect system of ten aspects and a chart born in Moscow.
// Header only: every .cpp of bench/ is a benchmark program of its own.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/status.h"

namespace bench {

// data/ of the source tree.
inline std::filesystem::path DataFolder() {
  return std::filesystem::path(VELM_SOURCE_DIR) / "data";
}

// The program's ephemeris tables ("velm.str"), loaded once for every chart computation; when they
// cannot be read the theories serve, and it is said once.
inline const Ephemeris& Tables() {
  static const bool loaded = [] {
    const std::filesystem::path file = DataFolder() / "velm.str";
    if (const Status st = LoadEphemeris(file); !st.ok())
      std::fprintf(stderr, "%s: error %d; the theories serve\n", file.c_str(), st.ErrorCode());
    return true;
  }();
  (void)loaded;
  return GetEphemeris();
}

// A folder of the run's own under the temporary folder ("name-pid"), emptied when made and
// removed with the object.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The aspect system `name` of ten aspects (0, 180, 120, 90, 60, 150, 30, 45, 135 and 72 degrees,
// orbs 8, 7, 6, 5, 4 by class and 1 exact) written into `folder`; false when it cannot be written.
inline bool WriteTenAspectSystem(const std::filesystem::path& folder, const std::string& name) {
  AspectSystem system(name, folder / SystemFileName(name));
  std::vector<Aspect> aspects;
  for (const double angle : {0.0, 180.0, 120.0, 90.0, 60.0, 150.0, 30.0, 45.0, 135.0, 72.0}) {
    Aspect a;
    a.angle = angle;
    a.orbs = {8, 7, 6, 5, 4, 1};
    a.abbreviation = "a";
    aspects.push_back(a);
  }
  system.SetAspects(aspects);
  return system.SaveSystem().ok();
}

// A natal chart born in Moscow (55N45, 37E37) on day.month.year at hour:minute of its zone, three
// hours east of Greenwich; not computed.
inline Chart MoscowChart(int day, int month, int year, int hour, int minute) {
  Chart chart;
  chart.definition.SetKind(kChartNatal);
  Source& birth = chart.definition.sources[0];
  (void)birth.moment.date.SetDate(day, month, year, 'A');
  (void)birth.moment.time.SetTime(hour, minute, 0);
  (void)birth.zone.SetTime(3, 0, '+');
  (void)birth.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "");
  return chart;
}

}  // namespace bench
