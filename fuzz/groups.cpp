// The groups "groups.lst": Groups::LoadGroups.
#include "conditions/core/groups.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  Groups groups;
  (void)groups.LoadGroups(fuzz::Put("groups.lst", bytes));
  return 0;
}
