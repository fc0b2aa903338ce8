#include "shell/core/entry/entry_history.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "astro/chart/chart.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"

namespace {

constexpr std::string_view kMagic = "VENT";
constexpr std::uint16_t kVersion = 1;
// The definition part of a version-4200 chart record: 3 x 117 + 2 + 30 + 2 + 2 + 8 + 9.
constexpr std::size_t kDefinitionSize = 404;

// The part of a chart record that follows the definition, as an empty chart has it; a stored
// definition is read back by the chart record's own reader with this part appended.
const std::string& RecordTail() {
  static const std::string tail = [] {
    BinaryWriter out;
    Chart().Save(out, kChartRecordVersion4200);
    return out.Data().substr(kDefinitionSize);
  }();
  return tail;
}

std::string DefinitionBytes(const SuperSource& definition) {
  Chart chart;
  chart.definition = definition;
  BinaryWriter out;
  chart.Save(out, kChartRecordVersion4200);
  return out.Data().substr(0, kDefinitionSize);
}

bool ReadDefinition(BinaryReader& in, SuperSource& definition) {
  const std::string record = std::string(in.Bytes(kDefinitionSize)) + RecordTail();
  if (!in.Ok()) return false;
  BinaryReader recordIn(record);
  Chart chart;
  if (!chart.Load(recordIn, kChartRecordVersion4200).ok()) return false;
  if (chart.definition.Kind() > kChartLunarPhase) return false;
  definition = chart.definition;
  return true;
}

}  // namespace

Status EntryHistory::Load(const std::filesystem::path& file) {
  for (auto& group : groups_) group.clear();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return Status::Ok();
  std::string bytes;
  if (Status st = ReadWholeFile(file, bytes); !st.ok())
    return Status::Error(kErrRead, file.string());
  BinaryReader in(bytes);
  if (in.Bytes(kMagic.size()) != kMagic || in.U16() != kVersion || in.U8() != kEntryGroupCount ||
      !in.Ok())
    return Status::Error(kErrFormat, file.string());
  std::array<std::vector<SuperSource>, kEntryGroupCount> read;
  for (int g = 0; g < kEntryGroupCount; ++g) {
    const int count = in.U8();
    if (!in.Ok() || count > kMaxEntries) return Status::Error(kErrFormat, file.string());
    for (int i = 0; i < count; ++i) {
      SuperSource definition;
      if (!ReadDefinition(in, definition) || EntryGroupOfKind(definition.Kind()) != g)
        return Status::Error(kErrFormat, file.string());
      read[g].push_back(definition);
    }
  }
  if (in.Remaining() != 0) return Status::Error(kErrFormat, file.string());
  groups_ = std::move(read);
  return Status::Ok();
}

Status EntryHistory::Save(const std::filesystem::path& file) const {
  BinaryWriter out;
  out.Bytes(kMagic);
  out.U16(kVersion);
  out.U8(kEntryGroupCount);
  for (const auto& group : groups_) {
    out.U8(static_cast<std::uint8_t>(group.size()));
    for (const SuperSource& definition : group) out.Bytes(DefinitionBytes(definition));
  }
  return RewriteFile(file, out.Data());
}

void EntryHistory::Remember(const SuperSource& definition) {
  auto& group = groups_[EntryGroupOfKind(definition.Kind())];
  group.erase(std::remove(group.begin(), group.end(), definition), group.end());
  group.insert(group.begin(), definition);
  if (group.size() > static_cast<std::size_t>(kMaxEntries)) group.resize(kMaxEntries);
}

const std::vector<SuperSource>& EntryHistory::Entries(int kind) const {
  return groups_[EntryGroupOfKind(kind)];
}

const SuperSource* EntryHistory::Last(int kind) const {
  const auto& group = Entries(kind);
  return group.empty() ? nullptr : &group.front();
}
