// The profile "velm.ini": Profile::Load, then the recent-file list and the tip switches read from
// it, and the profile written out and read back.
#include "shell/profile.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Profile profile;
  const auto path = fuzz::Put(kProfileName, fuzz::Bytes(data, size));
  if (!profile.Load(path).ok()) return 0;
  RecentFileList recent;
  recent.ReadFrom(profile);
  recent.Add("/fuzz/chart.sav");
  recent.WriteTo(profile);
  (void)profile.GetInt("NextTip", 0);
  (void)profile.GetInt("ShowTips", 1);
  if (!profile.Save(path).ok()) return 0;
  Profile again;
  (void)again.Load(path);
  return 0;
}
