// The entry history "velm.ent": EntryHistory::Load, then the last entry of every group.
#include "shell/core/entry/entry_history.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  EntryHistory history;
  if (!history.Load(fuzz::Put("velm.ent", bytes)).ok()) return 0;
  for (int kind = 0; kind < kEntryGroupCount; ++kind) (void)history.Last(kind);
  return 0;
}
