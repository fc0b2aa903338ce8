// The towns shared out over the maps (AllMaps::DistributeTowns, the end of AllMaps::Init) with a
// damaged map: six parts, the map "Weurop" (".mf1", ".mf2", ".mf3") and the atlas ("Town.cor",
// "Town.dat", "Town.dst"); the other maps are missing. Then every town of every map is looked
// up in the atlas.
#include "astrocarto/core/regional_maps.h"
#include "foundation/atlas/towns.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = fuzz::Parts(fuzz::Bytes(data, size), 6);
  const char* const extensions[] = {".mf1", ".mf2", ".mf3"};
  for (int k = 0; k < 3; ++k)
    fuzz::Put(std::string("Weurop") + extensions[k], parts[static_cast<std::size_t>(k)]);
  // An atlas that cannot be read leaves no town to share out.
  TOWNS towns;
  (void)towns.Load(fuzz::Put("Town.cor", parts[3]), fuzz::Put("Town.dat", parts[4]),
                   fuzz::Put("Town.dst", parts[5]));
  AllMaps maps;
  (void)maps.Init([](const std::string& name) { return fuzz::Folder() / name; }, towns);
  for (int m = 0; m < maps.Count(); ++m) {
    for (int townClass = 1; townClass <= 3; ++townClass) {
      for (const std::int32_t town : maps.Map(m).Towns(townClass)) {
        TownCoords coords;
        (void)towns.GetTownCoords(town, coords);
      }
    }
  }
  return 0;
}
