// The walk of a writer through every point at which a rewrite can fail, shared by the tests of
// every writer: the folder's files before and after, and the faults to walk.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "foundation/files/safe_rewrite.h"

namespace testing_support {

// Every file under `folder` (temporary files included) with its bytes, by relative path; the
// archive folders' lock files, which hold nothing, left out.
using FolderFiles = std::map<std::string, std::string>;
FolderFiles Snapshot(const std::filesystem::path& folder);
// Makes `folder` hold exactly `files` again.
void Restore(const std::filesystem::path& folder, const FolderFiles& files);

// "create 2", "byte 17", ...: the fault for a test's message.
std::string FaultName(const FileFault& fault);

// Calls `run` with each fault of the walk. `run` prepares the files, arms the fault (ArmFault),
// runs the writer, disarms, checks, and returns FaultFired(). The first call is a clean run with a
// fault that never happens; the bytes it writes give the byte positions walked: an input/output
// error and a full disk at the first, the middle and the last byte. Every create, short write,
// fsync and rename then fails in turn, the first, the second, ..., until the n-th no longer
// happens.
void WalkFaults(const std::function<bool(const FileFault&)>& run);

// The fault of the clean run.
inline constexpr FileFault kNoFault{FaultPoint::kCreate, 1LL << 60};

}  // namespace testing_support
