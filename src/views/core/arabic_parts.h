// The program's list of Arabic parts: named formulas A op1 B op2 C over chart points, house cusps
// and house rulers, each switched on or off, kept in the text file "velm.arb" of the data folder.
// One part a line: the switch 'Y'/'N', the three operands as 'A' + code, the two operators as
// '+' + operator, then the name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"
#include "platform/core/dc.h"

inline constexpr int kArabMaxParts = 300;
inline constexpr int kArabMaxOperand = 53;
inline constexpr int kArabMaxOperator = 3;
inline constexpr std::size_t kArabNameLength = 30;  // typed in the editor
// Operand codes: 0..29 chart points, 30..41 the cusps of houses 1..12, 42..53 their rulers.
inline constexpr int kArabFirstCusp = 30;
inline constexpr int kArabFirstRuler = 42;

struct ArabPart {
  std::string name;  // code page 1251
  std::int8_t a = 0, b = 0, c = 0;
  std::int8_t op1 = 0, op2 = 0;  // 0 add, 1 subtract, 2 add by day, 3 subtract by day
  char on = 'Y';

  bool IsOn() const { return on == 'Y'; }
  bool SameFormula(const ArabPart& o) const {
    return a == o.a && b == o.b && c == o.c && op1 == o.op1 && op2 == o.op2;
  }
  friend bool operator==(const ArabPart&, const ArabPart&) = default;
};

// The operator texts " + ", " - ", "+/-", "-/+".
const char* ArabOperatorText(int op);

class AllArabParts {
 public:
  // What a load found: lines refused for a bad field, good lines beyond the 300 the list holds.
  struct LoadReport {
    Status status;  // error 102/103 when the file exists but cannot be read
    int badLines = 0;
    int overLimit = 0;
  };

  // Reads the file into the list (emptied first). A missing file gives an empty list and no
  // error. A file that cannot be read leaves the list empty and is never saved over afterwards.
  LoadReport Load(const std::filesystem::path& file);
  // Parses file contents into the list (emptied first); lines end with LF or CR LF.
  LoadReport Parse(std::string_view bytes);
  // Parses one line (without its line end) onto the end of the list: 0 taken; -1 a line shorter
  // than 7 characters (nothing taken); -2 a bad field; -3 the list is full.
  int SetItem(std::string_view line);

  // The file contents: one "%c%c%c%c%c%c%s" line a part, CR LF.
  std::string Serialize() const;
  // Rewrites the file safely with the list (error 105 or 104; the old file is then unchanged).
  Status Save(const std::filesystem::path& file) const;
  // At the end of the program: saves only when the list changed since it was loaded, and never
  // over a file that could not be read (message 2003 then, with nothing written).
  Status SaveIfChanged(const std::filesystem::path& file);
  bool Changed() const { return changed_; }

  int Count() const { return static_cast<int>(parts_.size()); }
  const ArabPart& Item(int i) const { return parts_.at(static_cast<std::size_t>(i)); }
  const std::vector<ArabPart>& Items() const { return parts_; }

  // Appends a part: its index, or -1 when the list holds 300 already (message 421).
  int AddItem(const ArabPart& part);
  // Replaces part i; false for an index outside the list.
  bool ReplaceItem(int i, const ArabPart& part);
  // Removes part i: false when it is the only part (message 423) or outside the list.
  bool DeleteItem(int i);
  // Exchange part i with the one before (MoveUp, i 1..count-1) or after (MoveDown, 0..count-2);
  // false for other indices.
  bool MoveUp(int i);
  bool MoveDown(int i);
  // Flips part i between on and off.
  void Toggle(int i);
  // True when a part other than `except` has the same formula (name).
  bool HasFormula(const ArabPart& part, int except) const;
  bool HasName(std::string_view name, int except) const;
  // The number of parts switched on.
  int CountOn() const;

  // Draws the formula of part i with glyphs of `size` from (x, y), element k at x + k x step:
  // a at 0, op1 at 2 (1 with layout 1), b at 4 (3), op2 at 6 (4), c at 8 (6). Operands are the
  // point's glyph, the house's glyph or the ruler reference; operators their texts in the current
  // text font.
  void DrawFormula(platform::Dc& dc, int i, int size, int x, int y, int step, int layout) const;

 private:
  std::vector<ArabPart> parts_;
  bool changed_ = false;
  bool unreadable_ = false;
};

// Draws one operand of a formula (code 0..53) at (x, y) with glyphs of `size`.
void DrawArabOperand(platform::Dc& dc, int code, int size, int x, int y);
