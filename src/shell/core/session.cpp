#include "shell/core/session.h"

#include <system_error>

#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"

namespace {

constexpr int kSessionVersion = kChartRecordVersion4200;
// Far more charts than the program keeps open at once (a hundred): a longer file is no session
// or chart file and is refused unread.
constexpr std::size_t kMostRecords = 10000;

}  // namespace

Status WriteSessionFile(const std::filesystem::path& path, const std::vector<Chart>& charts) {
  if (charts.empty()) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) return Status::Error(kErrWrite, path.string());
    return Status::Ok();
  }
  BinaryWriter out;
  for (const Chart& chart : charts) chart.Save(out, kSessionVersion);
  return RewriteFile(path, out.Data());
}

Status ReadSessionRecords(const std::filesystem::path& path, std::vector<Chart>& charts) {
  charts.clear();
  std::string bytes;
  const std::size_t size = Chart::RecordSize(kSessionVersion);
  if (Status read = ReadWholeFile(path, bytes, kMostRecords * size); !read.ok()) return read;
  BinaryReader in(bytes);
  for (std::size_t i = 0; i < bytes.size() / size; ++i) {
    Chart chart;
    if (Status status = chart.Load(in, kSessionVersion); !status.ok())
      return Status::Error(kErrFormat, path.string(), static_cast<int>(i) + 2);
    charts.push_back(std::move(chart));
  }
  if (bytes.size() % size != 0) return Status::Error(kErrFormat, path.string(), 1);
  return Status::Ok();
}

Status ReadSessionFile(const std::filesystem::path& path, std::vector<Chart>& charts) {
  Status read = ReadSessionRecords(path, charts);
  if (!read.ok()) charts.clear();
  return read;
}
