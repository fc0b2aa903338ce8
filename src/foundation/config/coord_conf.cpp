#include "foundation/config/coord_conf.h"

#include <string>
#include <utility>

#include "foundation/files/binary_io.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kFirstNeverShown = 34;
constexpr int kLastNeverShown = 49;
constexpr int kFirstCusp = 50;

bool WriteAll(std::FILE* file, const std::string& bytes) {
  return file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

COORD_CONF::COORD_CONF() {
  slots.fill(kNotInTable);
  for (int s = kFirstNeverShown; s <= kLastNeverShown; ++s) slots[s] = kNeverShown;
}

Status COORD_CONF::Save(std::FILE* file) const {
  constexpr const char* kWhere = "COORD_CONF::Save";
  BinaryWriter part;
  part.Bytes(std::string_view(reinterpret_cast<const char*>(slots.data()), slots.size()));
  if (!WriteAll(file, part.Take())) return Status::Error(kErrWrite, kWhere, 1);
  part.I32(fontSize);
  if (!WriteAll(file, part.Take())) return Status::Error(kErrWrite, kWhere, 2);
  part.I32(lineStep);
  if (!WriteAll(file, part.Take())) return Status::Error(kErrWrite, kWhere, 3);
  if (shortForm) return Status::Ok();
  part.U8(fitToWindow);
  if (!WriteAll(file, part.Take())) return Status::Error(kErrWrite, kWhere, 4);
  part.I16(width);
  if (!WriteAll(file, part.Take())) return Status::Error(kErrWrite, kWhere, 5);
  return Status::Ok();
}

Status COORD_CONF::Load(std::FILE* file) {
  std::string bytes(static_cast<std::size_t>(SavedSize()), '\0');
  if (file == nullptr || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
    return Status::Error(kErrRead, "COORD_CONF::Load");
  return Import(bytes);
}

Status COORD_CONF::Import(std::string_view bytes) {
  BinaryReader in(bytes);
  COORD_CONF read = *this;
  const std::string_view raw = in.Bytes(kSlotCount);
  read.fontSize = in.I32();
  read.lineStep = in.I32();
  if (!shortForm) {
    read.fitToWindow = in.U8();
    read.width = in.I16();
  }
  if (!in.Ok()) return Status::Error(kErrRead, "COORD_CONF::Load");
  for (int s = 0; s < kSlotCount; ++s) read.slots[s] = static_cast<std::uint8_t>(raw[s]);
  read.ForceSlots();
  *this = read;
  return Status::Ok();
}

void COORD_CONF::ForceSlots() {
  for (int s = 0; s < kSlotCount; ++s) {
    if (s >= kFirstNeverShown && s <= kLastNeverShown)
      slots[s] = kNeverShown;
    else if (slots[s] > kNotInTable)
      slots[s] = kNotInTable;
  }
  // The rows must be exactly 0 .. row count - 1, each once, or the row editor loses rows; a
  // damaged file is renumbered in the order of its rows (equal rows by slot).
  std::array<int, kSlotCount> order{};
  int rows = 0;
  for (int v = 0; v < kNotInTable; ++v)
    for (int s = 0; s < kSlotCount; ++s)
      if (slots[s] == v) order[rows++] = s;
  for (int r = 0; r < rows; ++r) slots[order[r]] = static_cast<std::uint8_t>(r);
}

int COORD_CONF::GetRowCount() const {
  int rows = 0;
  for (const std::uint8_t v : slots) rows += v < kNotInTable ? 1 : 0;
  return rows;
}

std::string COORD_CONF::SlotName(int s) {
  if (s >= 0 && s < kFirstNeverShown) return GetMessageText(kMsgPointNameFirst + s);
  if (s >= kFirstCusp && s < kSlotCount) return GetMessageText(kMsgHouseNameFirst + s - kFirstCusp);
  return {};
}

std::string COORD_CONF::GetRowName(int p) const {
  const int s = FindSlot(true, p);
  return s < 0 ? std::string() : SlotName(s);
}

int COORD_CONF::FindSlot(bool byPosition, int v) const {
  if (v < 0) return -1;
  int candidates = 0;
  for (int s = 0; s < kSlotCount; ++s) {
    if (byPosition) {
      if (slots[s] == v && v < kNotInTable) return s;
    } else if (slots[s] == kNotInTable && candidates++ == v) {
      return s;
    }
  }
  return -1;
}

int COORD_CONF::ShowSlot(int k) {
  const int s = FindSlot(false, k);
  if (s >= 0) slots[s] = static_cast<std::uint8_t>(GetRowCount());
  return s;
}

int COORD_CONF::HideRow(int p) {
  const int s = FindSlot(true, p);
  if (s < 0) return -1;
  slots[s] = kNotInTable;
  for (std::uint8_t& v : slots)
    if (v < kNotInTable && v > p) --v;
  return 0;
}

bool COORD_CONF::MoveRowUp(int p) {
  const int a = FindSlot(true, p), b = FindSlot(true, p - 1);
  if (a < 0 || b < 0) return false;
  std::swap(slots[a], slots[b]);
  return true;
}

bool COORD_CONF::MoveRowDown(int p) { return MoveRowUp(p + 1); }

int COORD_CONF::CountExtraBefore(int s) const {
  int n = 0;
  for (int i = 0; i < s && i < kSlotCount; ++i) n += slots[i] == kNotInTable ? 1 : 0;
  return n;
}
