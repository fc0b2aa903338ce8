// Shared by the archive benchmarks: a prompter that answers nothing, so that they run without a
// user, and large layout-4400 archives written once into a folder of their own.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"
#include "bench_support.h"
#include "foundation/files/settings.h"
#include "platform/core/prompter.h"

namespace archive_bench {

using SilentPrompter = platform::SilentPrompter;

// A chart that differs record by record: record i has its points spread by 37.3 degrees from an
// offset that moves with i, and its houses from it.
inline Chart SpreadChart(int i) {
  Chart chart = bench::MoscowChart(1 + i % 28, 1 + i % 12, 1900 + i % 120, i % 24, i % 60);
  const double offset = (i * 7.77) - 360.0 * static_cast<int>(i * 7.77 / 360.0);
  for (int p = 0; p < 34; ++p) {
    double lon = offset + p * 37.3;
    while (lon >= 360.0) lon -= 360.0;
    chart.points[static_cast<std::size_t>(p)].longitude.Set(lon);
  }
  for (int h = 0; h < 12; ++h) {
    double cusp = offset + h * 30.0 + 7.0;
    while (cusp >= 360.0) cusp -= 360.0;
    chart.cusps[static_cast<std::size_t>(h)].Set(cusp);
  }
  return chart;
}

// A folder made for this process, the data folder while it exists.
struct BenchFolder {
  BenchFolder() {
    std::filesystem::create_directories(path);
    GetSettings().SetFolder(path);
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("velm-bench-" + std::to_string(::getpid()));
};

// The archive `name` of `count` records, record i the chart `make(i)`, in the bench folder.
inline std::filesystem::path WriteArchive(const std::string& name, int count,
                                          const std::function<Chart(int)>& make) {
  static const BenchFolder folder;
  const std::filesystem::path file = folder.path / name;
  BinaryWriter w;
  w.I32(4400);
  for (int i = 0; i < count; ++i) {
    make(i).Save(w, 4200);
    CommentRefBlock().Write(w);
  }
  std::FILE* f = std::fopen(file.c_str(), "wb");
  std::fwrite(w.Data().data(), 1, w.Size(), f);
  std::fclose(f);
  return file;
}

}  // namespace archive_bench
