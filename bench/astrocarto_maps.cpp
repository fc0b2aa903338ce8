// Loading the eleven maps and "velm.lnd" at start-up (goal: 50 ms), on synthetic files of the
// largest sizes the formats allow, with the shipped atlas shared out over the maps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "astrocarto/core/regional_maps.h"
#include "foundation/atlas/towns.h"
#include "foundation/files/binary_io.h"

namespace {

namespace fs = std::filesystem;

const char* const kNames[] = {"World",  "Camer",  "Namer", "Samer", "Weurop", "Neurop",
                              "Russia", "Middle", "Afri",  "Asia",  "Austra"};

void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every map at its largest: 16372 border points, 16383 sea points, 10922 circles.
fs::path MakeMaps() {
  const fs::path dir = fs::temp_directory_path() / "velm_bench_maps";
  fs::create_directories(dir);
  for (const char* name : kNames) {
    BinaryWriter mf1, mf2, mf3;
    for (std::int16_t v : {0, 0, 0, 999, 499}) mf1.I16(v);
    for (double v : {-10.0, 70.0, 40.0, 30.0}) mf1.F64(v);
    mf1.I16(0);
    mf1.I16(0);
    for (int i = 0; i < (65534 - 46) / 4; ++i) {
      mf1.I16(static_cast<std::int16_t>(i % 1000));
      mf1.I16(static_cast<std::int16_t>(i % 500));
    }
    for (int i = 0; i < 65532 / 4; ++i) {
      mf2.I16(static_cast<std::int16_t>(i % 997));
      mf2.I16(static_cast<std::int16_t>(i % 499));
    }
    for (int i = 0; i < 65532 / 6; ++i) {
      mf3.I16(static_cast<std::int16_t>(i % 991));
      mf3.I16(static_cast<std::int16_t>(i % 487));
      mf3.I16(static_cast<std::int16_t>(i % 50));
    }
    Write(dir / (std::string(name) + ".mf1"), mf1.Data());
    Write(dir / (std::string(name) + ".mf2"), mf2.Data());
    Write(dir / (std::string(name) + ".mf3"), mf3.Data());
  }
  std::string lnd;
  for (const char* name : kNames) {
    lnd += std::string("#") + name + " 60\r\n";
    for (int i = 0; i < 60; ++i) lnd += "-5.5 51.25 8.0 42.75 Country" + std::to_string(i) + "\r\n";
  }
  Write(dir / "velm.lnd", lnd);
  return dir;
}

void BM_LoadAllMaps(benchmark::State& state) {
  const fs::path dir = MakeMaps();
  TOWNS towns;
  // Without the shipped atlas the maps load without towns.
  (void)towns.Load(fs::path(VELM_SOURCE_DIR) / "data");
  const auto locate = [&dir](const std::string& name) { return dir / name; };
  for (auto _ : state) {
    AllMaps maps;
    const std::vector<Status> failures = maps.Init(locate, towns);
    if (!failures.empty()) state.SkipWithError("the synthetic maps do not load");
    benchmark::DoNotOptimize(maps.GetMaxPointCount(1));
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_LoadAllMaps)->Unit(benchmark::kMillisecond);

}  // namespace
