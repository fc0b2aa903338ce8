#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/config/coord_conf.h"
#include "foundation/text/cp1251.h"

namespace {

// Writes through a stream of exactly `room` bytes without buffering, so that a write that does not
// fit fails at once; returns the bytes written.
struct MemoryStream {
  explicit MemoryStream(std::size_t room) : buffer(room + 1, '\0') {
    file = fmemopen(buffer.data(), room == 0 ? 1 : room, "w");
    std::setvbuf(file, nullptr, _IONBF, 0);
  }
  ~MemoryStream() { std::fclose(file); }
  std::string buffer;
  std::FILE* file;
};

std::FILE* StreamOf(const std::string& bytes) {
  std::FILE* f = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

std::string Le32(std::int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i)
    s[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return s;
}

TEST(CoordConf, ConstructorValues) {
  const COORD_CONF c;
  for (int s = 0; s < COORD_CONF::kSlotCount; ++s)
    EXPECT_EQ(c.slots[s], s >= 34 && s <= 49 ? 255 : 254) << s;
  EXPECT_EQ(c.fontSize, 0);
  EXPECT_EQ(c.lineStep, 0);
  EXPECT_EQ(c.fitToWindow, 0);
  EXPECT_EQ(c.width, 0);
  EXPECT_EQ(c.shortForm, 1);
  EXPECT_EQ(c.GetRowCount(), 0);
}

TEST(CoordConf, SaveWritesSlotsFontAndStepAndTheLongFormAddsFitAndWidth) {
  COORD_CONF c;
  c.slots[0] = 0;
  c.slots[50] = 1;
  c.fontSize = 0x01020304;
  c.lineStep = -2;
  c.fitToWindow = 1;
  c.width = 0x0506;
  std::string expected(62, '\0');
  for (int s = 0; s < 62; ++s) expected[s] = static_cast<char>(s >= 34 && s <= 49 ? 255 : 254);
  expected[0] = 0;
  expected[50] = 1;
  expected += std::string("\x04\x03\x02\x01", 4) + std::string("\xFE\xFF\xFF\xFF", 4);

  for (const int shortForm : {1, 0}) {
    c.shortForm = shortForm;
    std::FILE* f = std::tmpfile();
    ASSERT_TRUE(c.Save(f).ok());
    const long size = std::ftell(f);
    std::rewind(f);
    std::string written(static_cast<std::size_t>(size), '\0');
    ASSERT_EQ(std::fread(written.data(), 1, written.size(), f), written.size());
    std::fclose(f);
    const std::string want = shortForm ? expected : expected + std::string("\x01\x06\x05", 3);
    EXPECT_EQ(written, want) << "short form " << shortForm;
    EXPECT_EQ(c.SavedSize(), static_cast<int>(want.size()));
  }
}

TEST(CoordConf, FailedWriteNamesTheField) {
  struct Row {
    std::size_t room;
    int detail;
  };
  const Row rows[] = {{0, 1}, {61, 1}, {62, 2}, {65, 2}, {66, 3}, {70, 4}, {71, 5}, {72, 5}};
  COORD_CONF c;
  c.shortForm = 0;
  for (const Row& row : rows) {
    MemoryStream out(row.room);
    const Status st = c.Save(out.file);
    EXPECT_EQ(st.ErrorCode(), kErrWrite) << row.room;
    EXPECT_EQ(st.Detail(), row.detail) << row.room;
  }
  MemoryStream enough(COORD_CONF::kLongSize);
  EXPECT_TRUE(c.Save(enough.file).ok());
}

TEST(CoordConf, LoadForcesTheNeverShownSlotsAndCapsTheRest) {
  std::string bytes(62, '\xFE');
  bytes[0] = 1;  // rows 0 and 1
  bytes[5] = 0;
  bytes[34] = 3;       // a never-shown slot with a row: 255
  bytes[40] = '\xFE';  // 254 there: 255 too
  bytes[12] = '\xFF';  // 255 outside 34..49: 254
  bytes[61] = '\xFD';  // 253 is a row number: kept as the last row
  bytes += Le32(2500) + Le32(40);
  COORD_CONF c;
  std::FILE* f = StreamOf(bytes);
  ASSERT_TRUE(c.Load(f).ok());
  std::fclose(f);
  for (int s = 34; s <= 49; ++s) EXPECT_EQ(c.slots[s], 255) << s;
  EXPECT_EQ(c.slots[12], 254);
  EXPECT_EQ(c.slots[5], 0);
  EXPECT_EQ(c.slots[0], 1);
  EXPECT_EQ(c.slots[61], 2);  // rows are renumbered without gaps
  EXPECT_EQ(c.GetRowCount(), 3);
  EXPECT_EQ(c.fontSize, 2500);
  EXPECT_EQ(c.lineStep, 40);
}

TEST(CoordConf, DamagedRowNumbersAreRenumberedInTheirOrder) {
  struct Row {
    const char* name;
    std::vector<std::pair<int, int>> in;   // slot, value
    std::vector<std::pair<int, int>> out;  // slot, row after loading
  };
  const Row rows[] = {
      {"gap", {{3, 0}, {7, 5}}, {{3, 0}, {7, 1}}},
      {"duplicate", {{9, 1}, {2, 1}, {4, 0}}, {{4, 0}, {2, 1}, {9, 2}}},
      {"no_zero", {{55, 10}}, {{55, 0}}},
      {"already_dense", {{1, 1}, {0, 0}, {50, 2}}, {{0, 0}, {1, 1}, {50, 2}}},
  };
  for (const Row& row : rows) {
    std::string bytes(62, '\xFE');
    for (const auto& [slot, value] : row.in) bytes[slot] = static_cast<char>(value);
    bytes += Le32(0) + Le32(0);
    COORD_CONF c;
    ASSERT_TRUE(c.Import(bytes).ok()) << row.name;
    for (const auto& [slot, value] : row.out) EXPECT_EQ(c.slots[slot], value) << row.name << slot;
    EXPECT_EQ(c.GetRowCount(), static_cast<int>(row.out.size())) << row.name;
  }
}

TEST(CoordConf, ShortReadIsError103AndChangesNothing) {
  COORD_CONF c;
  c.shortForm = 0;
  c.slots[3] = 0;
  c.fontSize = 9;
  const COORD_CONF before = c;
  std::string full(62, '\x00');
  full += Le32(1) + Le32(2) + std::string("\x01\x02\x00", 3);
  for (std::size_t n : {std::size_t{0}, std::size_t{61}, std::size_t{69}, std::size_t{72}}) {
    std::FILE* f = StreamOf(full.substr(0, n));
    const Status st = c.Load(f);
    std::fclose(f);
    EXPECT_EQ(st.ErrorCode(), kErrRead) << n;
    EXPECT_EQ(c, before) << n;
    EXPECT_EQ(c.Import(full.substr(0, n)).ErrorCode(), kErrRead) << n;
    EXPECT_EQ(c, before) << n;
  }
  // The short form reads 70 bytes and leaves the rest of the stream.
  COORD_CONF print;
  std::FILE* f = StreamOf(full);
  ASSERT_TRUE(print.Load(f).ok());
  EXPECT_EQ(std::ftell(f), 70);
  std::fclose(f);
  EXPECT_EQ(print.fitToWindow, 0);
}

TEST(CoordConf, SaveThenLoadGivesTheSameLayout) {
  COORD_CONF screen;
  screen.shortForm = 0;
  const int order[] = {50, 0, 1, 59, 16};
  for (int r = 0; r < 5; ++r) screen.slots[order[r]] = static_cast<std::uint8_t>(r);
  screen.fontSize = 120;
  screen.lineStep = 15;
  screen.fitToWindow = 1;
  screen.width = 42;
  std::FILE* f = std::tmpfile();
  ASSERT_TRUE(screen.Save(f).ok());
  std::rewind(f);
  COORD_CONF loaded;
  loaded.shortForm = 0;
  ASSERT_TRUE(loaded.Load(f).ok());
  std::fclose(f);
  EXPECT_EQ(loaded, screen);
  EXPECT_EQ(loaded.GetRowCount(), 5);
}

// Rows 0..4: Sun, the cusp of house 1, Mars, Moon, the cusp of house 10; the other candidates
// outside the table.
COORD_CONF FiveRows() {
  COORD_CONF c;
  const int rows[] = {0, 50, 4, 1, 59};
  for (int r = 0; r < 5; ++r) c.slots[rows[r]] = static_cast<std::uint8_t>(r);
  return c;
}

std::vector<int> RowSlots(const COORD_CONF& c) {
  std::vector<int> slots;
  for (int p = 0; p < c.GetRowCount(); ++p) slots.push_back(c.FindSlot(true, p));
  return slots;
}

TEST(CoordConfRows, FindSlotByRowAndByCandidate) {
  const COORD_CONF c = FiveRows();
  struct Case {
    bool byPosition;
    int v;
    int slot;
  };
  const Case cases[] = {
      {true, 0, 0},    {true, 1, 50},   {true, 4, 59},
      {true, 5, -1},   {true, -1, -1},  {true, 254, -1},  // no row 254, though slots hold 254
      {false, 0, 2},   {false, 1, 3},   {false, 2, 5},    // Mercury, Venus, Jupiter
      {false, 30, 33},                                    // the last point: Vertex
      {false, 31, 51}, {false, 38, 58}, {false, 39, 60},  // cusps, 59 being a row
      {false, 40, 61}, {false, 41, -1}, {false, -1, -1},  // 31 points and 10 cusps
  };
  for (const Case& k : cases)
    EXPECT_EQ(c.FindSlot(k.byPosition, k.v), k.slot) << k.byPosition << ' ' << k.v;
}

TEST(CoordConfRows, HidingRowZeroKeepsTheOrderOfTheOthers) {
  COORD_CONF c = FiveRows();
  EXPECT_EQ(c.HideRow(0), 0);
  EXPECT_EQ(RowSlots(c), (std::vector<int>{50, 4, 1, 59}));
  EXPECT_EQ(c.slots[0], COORD_CONF::kNotInTable);
  EXPECT_EQ(c.HideRow(3), 0);  // the last row
  EXPECT_EQ(RowSlots(c), (std::vector<int>{50, 4, 1}));
  EXPECT_EQ(c.HideRow(3), -1);
  EXPECT_EQ(c.HideRow(-1), -1);
  EXPECT_EQ(RowSlots(c), (std::vector<int>{50, 4, 1}));
}

TEST(CoordConfRows, ShowingACandidateAppendsItWhateverItsSlot) {
  COORD_CONF c = FiveRows();
  EXPECT_EQ(c.ShowSlot(0), 2);    // Mercury, a slot before the rows' slots
  EXPECT_EQ(c.ShowSlot(37), 58);  // the cusp of house 9 (Mercury no longer a candidate)
  EXPECT_EQ(RowSlots(c), (std::vector<int>{0, 50, 4, 1, 59, 2, 58}));
  EXPECT_EQ(c.ShowSlot(99), -1);
  EXPECT_EQ(c.GetRowCount(), 7);
  // Slots 34..49 are never candidates.
  COORD_CONF all;
  for (int k = 0; all.ShowSlot(0) >= 0; ++k) ASSERT_LT(k, 62);
  EXPECT_EQ(all.GetRowCount(), 46);
  for (int s = 34; s <= 49; ++s) EXPECT_EQ(all.slots[s], COORD_CONF::kNeverShown);
}

TEST(CoordConfRows, MovingRowsExchangesNeighbours) {
  struct Case {
    bool up;
    int row;
    bool moved;
    std::vector<int> after;
  };
  const Case cases[] = {
      {true, 1, true, {50, 0, 4, 1, 59}},   {true, 4, true, {0, 50, 4, 59, 1}},
      {true, 0, false, {0, 50, 4, 1, 59}},  {false, 0, true, {50, 0, 4, 1, 59}},
      {false, 4, false, {0, 50, 4, 1, 59}}, {false, 5, false, {0, 50, 4, 1, 59}},
  };
  for (const Case& k : cases) {
    COORD_CONF c = FiveRows();
    EXPECT_EQ(k.up ? c.MoveRowUp(k.row) : c.MoveRowDown(k.row), k.moved) << k.up << k.row;
    EXPECT_EQ(RowSlots(c), k.after) << k.up << k.row;
  }
}

TEST(CoordConfRows, CountsCandidatesBeforeASlotAndNamesRows) {
  const COORD_CONF c = FiveRows();
  EXPECT_EQ(c.CountExtraBefore(0), 0);
  EXPECT_EQ(c.CountExtraBefore(1), 0);    // slot 0 is a row
  EXPECT_EQ(c.CountExtraBefore(4), 2);    // Mercury, Venus
  EXPECT_EQ(c.CountExtraBefore(50), 31);  // 34 points less 3 rows; 34..49 never shown
  EXPECT_EQ(c.CountExtraBefore(62), 41);
  EXPECT_EQ(c.GetRowName(0), Cp1251("Солнце"));
  EXPECT_EQ(c.GetRowName(1), Cp1251("1 дом"));
  EXPECT_EQ(c.GetRowName(4), Cp1251("10 дом"));
  EXPECT_EQ(c.GetRowName(5), "");
  EXPECT_EQ(COORD_CONF::SlotName(33), Cp1251("Вертекс"));
  EXPECT_EQ(COORD_CONF::SlotName(40), "");
}

}  // namespace
