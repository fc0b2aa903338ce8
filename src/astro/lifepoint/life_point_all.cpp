#include "astro/lifepoint/life_point_all.h"

#include <charconv>

#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"

namespace {

constexpr const char* kWhere = "LifePointAll::Load";

// The next line of `bytes` from `pos` without its line end; false at the end of the text.
bool NextLine(std::string_view bytes, std::size_t& pos, std::string_view& line) {
  if (pos >= bytes.size()) return false;
  std::size_t end = bytes.find('\n', pos);
  if (end == std::string_view::npos) end = bytes.size();
  line = bytes.substr(pos, end - pos);
  pos = end + 1;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return true;
}

}  // namespace

const LifePoint* LifePointAll::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &types_[static_cast<std::size_t>(index)];
}

Status LifePointAll::Parse(std::string_view bytes) {
  types_.clear();
  std::size_t pos = 0;
  std::string_view line;
  if (!NextLine(bytes, pos, line)) return Status::Error(kErrRead);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  int count = -1;
  const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), count);
  (void)end;
  if (ec != std::errc() || count < 0 || count > kMaxTypes) return Status::Error(kErrRead);
  std::vector<LifePoint> read;
  read.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    if (!NextLine(bytes, pos, line)) return Status::Error(kErrRead);
    line = line.substr(0, kMaxLineLength);
    if (line.size() < 5) return Status::Message(kMsgLifePointFileDamaged);
    LifePoint type;
    type.mode = line[0];
    type.direction = line[1];
    const int first = static_cast<unsigned char>(line[2]) - 'A';
    const int years = static_cast<unsigned char>(line[3]) - 'A';
    if (first < 0 || first > 11 || years < 1) return Status::Message(kMsgLifePointFileDamaged);
    type.first = static_cast<std::int16_t>(first);
    type.years = static_cast<std::int16_t>(years);
    type.name = std::string(line.substr(4));
    read.push_back(std::move(type));
  }
  types_ = std::move(read);
  return Status::Ok();
}

Status LifePointAll::Load(const std::filesystem::path& file) {
  types_.clear();
  std::string bytes;
  if (Status st = ReadWholeFile(file, bytes); !st.ok()) return st;
  const Status parsed = Parse(bytes);
  if (parsed.ErrorCode() != 0) return Status::Error(parsed.ErrorCode(), file.string());
  return parsed;
}

void LifePointAll::LoadAtStart(const std::filesystem::path& file) {
  ReportStatus(Load(file), kWhere);
}
