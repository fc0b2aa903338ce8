// What the commit of several files (file_transaction.cpp) and the recovery of a stopped one
// (commit_recovery.cpp) share within the process: the commits and temporary files under way, the
// lock that lets one recovery run at a time, and small helpers of the file system.
#pragma once

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace commit_detail {

// What this process has under way: the intent records of its running commits and the temporary
// files of its open transactions (guarded by LiveMutex()).
std::mutex& LiveMutex();
std::set<std::string>& LiveIntents();
std::set<std::string>& LiveTemporaries();
// One recovery at a time: two threads opening the same archive never rename the same files.
std::mutex& RecoverMutex();

std::filesystem::path FolderOf(const std::filesystem::path& path);
void FlushFolder(const std::filesystem::path& folder);
// The inode of a file (its links not followed); 0 when it is not there.
unsigned long long InodeOf(const std::filesystem::path& path);
// When a process started (clock ticks after the boot); 0 when there is no such process.
unsigned long long StartTimeOf(long pid);
bool ProcessAlive(long pid);

// Shows message `number` with `detail` beneath it, once per process for the same text.
void TellOnce(int number, const std::string& detail);

}  // namespace commit_detail
