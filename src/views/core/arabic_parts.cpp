#include "views/core/arabic_parts.h"

#include <system_error>
#include <utility>

#include "foundation/drawing/glyph_drawing.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"

namespace {

constexpr std::size_t kFieldCount = 6;  // the switch, three operands, two operators

int OperandOf(char ch) { return static_cast<unsigned char>(ch) - 'A'; }
int OperatorOf(char ch) { return static_cast<unsigned char>(ch) - '+'; }

}  // namespace

const char* ArabOperatorText(int op) {
  static const char* const kTexts[] = {" + ", " - ", "+/-", "-/+"};
  return op >= 0 && op <= kArabMaxOperator ? kTexts[op] : "";
}

int AllArabParts::SetItem(std::string_view line) {
  if (line.size() <= kFieldCount) return -1;
  ArabPart part;
  const int a = OperandOf(line[1]), b = OperandOf(line[2]), c = OperandOf(line[3]);
  const int op1 = OperatorOf(line[4]), op2 = OperatorOf(line[5]);
  for (const int code : {a, b, c})
    if (code < 0 || code > kArabMaxOperand) return -2;
  for (const int op : {op1, op2})
    if (op < 0 || op > kArabMaxOperator) return -2;
  if (line[0] != 'Y' && line[0] != 'N') return -2;
  if (Count() >= kArabMaxParts) return -3;
  part.on = line[0];
  part.a = static_cast<std::int8_t>(a);
  part.b = static_cast<std::int8_t>(b);
  part.c = static_cast<std::int8_t>(c);
  part.op1 = static_cast<std::int8_t>(op1);
  part.op2 = static_cast<std::int8_t>(op2);
  part.name = std::string(line.substr(kFieldCount));
  parts_.push_back(std::move(part));
  return 0;
}

AllArabParts::LoadReport AllArabParts::Parse(std::string_view bytes) {
  parts_.clear();
  LoadReport report;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
    if (const std::size_t cr = line.find('\r'); cr != std::string_view::npos)
      line = line.substr(0, cr);
    const int result = SetItem(line);
    if (result == -2) ++report.badLines;
    if (result == -3) ++report.overLimit;
  }
  return report;
}

AllArabParts::LoadReport AllArabParts::Load(const std::filesystem::path& file) {
  parts_.clear();
  changed_ = false;
  unreadable_ = false;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) {
    unreadable_ = true;
    LoadReport report;
    report.status = st;
    return report;
  }
  return Parse(bytes);
}

std::string AllArabParts::Serialize() const {
  std::string out;
  for (const ArabPart& p : parts_) {
    out += p.on;
    out += static_cast<char>('A' + p.a);
    out += static_cast<char>('A' + p.b);
    out += static_cast<char>('A' + p.c);
    out += static_cast<char>('+' + p.op1);
    out += static_cast<char>('+' + p.op2);
    out += p.name;
    out += "\r\n";
  }
  return out;
}

Status AllArabParts::Save(const std::filesystem::path& file) const {
  return RewriteFile(file, Serialize());
}

Status AllArabParts::SaveIfChanged(const std::filesystem::path& file) {
  if (!changed_) return Status::Ok();
  if (unreadable_) return Status::Message(kMsgArabNotSaved, "AllArabParts::Save");
  const Status st = Save(file);
  if (st.ok()) changed_ = false;
  return st;
}

int AllArabParts::AddItem(const ArabPart& part) {
  if (Count() >= kArabMaxParts) return -1;
  parts_.push_back(part);
  changed_ = true;
  return Count() - 1;
}

bool AllArabParts::ReplaceItem(int i, const ArabPart& part) {
  if (i < 0 || i >= Count()) return false;
  parts_[static_cast<std::size_t>(i)] = part;
  changed_ = true;
  return true;
}

bool AllArabParts::DeleteItem(int i) {
  if (i < 0 || i >= Count() || Count() == 1) return false;
  parts_.erase(parts_.begin() + i);
  changed_ = true;
  return true;
}

bool AllArabParts::MoveUp(int i) {
  if (i < 1 || i >= Count()) return false;
  std::swap(parts_[static_cast<std::size_t>(i)], parts_[static_cast<std::size_t>(i - 1)]);
  changed_ = true;
  return true;
}

bool AllArabParts::MoveDown(int i) { return MoveUp(i + 1); }

void AllArabParts::Toggle(int i) {
  if (i < 0 || i >= Count()) return;
  char& on = parts_[static_cast<std::size_t>(i)].on;
  on = on == 'Y' ? 'N' : 'Y';
  changed_ = true;
}

bool AllArabParts::HasFormula(const ArabPart& part, int except) const {
  for (int i = 0; i < Count(); ++i)
    if (i != except && parts_[static_cast<std::size_t>(i)].SameFormula(part)) return true;
  return false;
}

bool AllArabParts::HasName(std::string_view name, int except) const {
  for (int i = 0; i < Count(); ++i)
    if (i != except && parts_[static_cast<std::size_t>(i)].name == name) return true;
  return false;
}

int AllArabParts::CountOn() const {
  int n = 0;
  for (const ArabPart& p : parts_) n += p.IsOn() ? 1 : 0;
  return n;
}

void DrawArabOperand(platform::Dc& dc, int code, int size, int x, int y) {
  if (code < 0 || code > kArabMaxOperand) return;
  if (code < kArabFirstCusp) {
    DrawGlyphText(dc, x, y, glyphs::Point(code), 'a', size, dc.GetBkMode());
  } else if (code < kArabFirstRuler) {
    DrawGlyphText(dc, x, y, glyphs::Cusp(code - kArabFirstCusp), 'a', size, dc.GetBkMode());
  } else {
    platform::Font font = dc.GetFont();
    font.face = platform::kGlyphFaceB;
    font.pointSize = size;
    const platform::Font old = dc.SelectFont(font);
    DrawRulerGlyph(dc, x, y, code - kArabFirstRuler);
    dc.SelectFont(old);
  }
}

void AllArabParts::DrawFormula(platform::Dc& dc, int i, int size, int x, int y, int step,
                               int layout) const {
  if (i < 0 || i >= Count()) return;
  const ArabPart& p = parts_[static_cast<std::size_t>(i)];
  const bool tight = layout == 1;
  DrawArabOperand(dc, p.a, size, x, y);
  dc.TextOut(x + (tight ? 1 : 2) * step, y, ArabOperatorText(p.op1));
  DrawArabOperand(dc, p.b, size, x + (tight ? 3 : 4) * step, y);
  dc.TextOut(x + (tight ? 4 : 6) * step, y, ArabOperatorText(p.op2));
  DrawArabOperand(dc, p.c, size, x + (tight ? 6 : 8) * step, y);
}
