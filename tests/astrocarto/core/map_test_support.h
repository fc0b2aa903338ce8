// Small synthetic maps and atlases for the tests of the map drawing and the map view.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "astrocarto/core/regional_maps.h"
#include "foundation/atlas/towns.h"
#include "foundation/files/binary_io.h"
#include "support/test_support.h"

namespace map_test {

// A ".mf1" of a raster of `across` x `down` cells over the edges, with border cells (x, y).
inline std::string Mf1(double west, double east, double north, double south, int across, int down,
                       std::initializer_list<std::int16_t> points = {}) {
  BinaryWriter w;
  for (int v : {0, 0, 0, across - 1, down - 1}) w.I16(static_cast<std::int16_t>(v));
  for (double v : {west, north, east, south}) w.F64(v);
  w.I16(0);
  w.I16(0);
  for (std::int16_t v : points) w.I16(v);
  return w.Take();
}

inline std::string Values(std::initializer_list<std::int16_t> values) {
  BinaryWriter w;
  for (std::int16_t v : values) w.I16(v);
  return w.Take();
}

// The world (10-degree cells over -180..180, 90..-90) and West Europe (1-degree cells over
// -10..40, 70..35) with no cells, loaded from a folder.
inline void WriteTwoMaps(const std::filesystem::path& dir) {
  testing_support::WriteFile(dir / "World.mf1", Mf1(-180, 180, 90, -90, 36, 18));
  testing_support::WriteFile(dir / "Weurop.mf1", Mf1(-10, 40, 70, 35, 50, 35));
}

inline void LoadMaps(AllMaps& maps, const std::filesystem::path& dir) {
  const TOWNS none;
  maps.Init([&dir](const std::string& name) { return dir / name; }, none);
}

struct Town {
  const char* name;
  double latitude, longitude;  // degrees, whole minutes
};

// An atlas of the given towns (region "R", codes 0), loaded from `dir`.
inline void LoadAtlas(TOWNS& towns, const std::filesystem::path& dir,
                      const std::vector<Town>& list) {
  BinaryWriter cor, dat, dst;
  cor.Bytes("VTWC");
  cor.U16(1);
  cor.U32(static_cast<std::uint32_t>(list.size()));
  dat.Bytes("VTWD");
  dat.U16(1);
  dat.U32(static_cast<std::uint32_t>(list.size()));
  for (const Town& t : list) {
    cor.I16(static_cast<std::int16_t>(t.latitude * 60));
    cor.I16(static_cast<std::int16_t>(t.longitude * 60));
    cor.U32(0);
    dat.U16(0);
    dat.U8(static_cast<std::uint8_t>(std::string(t.name).size()));
    dat.Bytes(t.name);
  }
  dst.Bytes("VTWR");
  dst.U16(1);
  dst.U16(1);
  dst.U8(1);
  dst.Bytes("R");
  testing_support::WriteFile(dir / "Town.cor", cor.Data());
  testing_support::WriteFile(dir / "Town.dat", dat.Data());
  testing_support::WriteFile(dir / "Town.dst", dst.Data());
  ASSERT_TRUE(towns.Load(dir).ok());
}

}  // namespace map_test
