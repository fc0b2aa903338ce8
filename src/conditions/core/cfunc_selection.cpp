// The condition sets of the interpretation texts' selections: their mode line and conditions read
// from a text, and the logic text they show.
#include <cstdio>
#include <istream>

#include "conditions/core/cfunc.h"
#include "conditions/core/condition_logic.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace {

constexpr std::size_t kMaxModeLine = 998;

// One line without CR and LF; false at the end of the text.
bool ReadLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return true;
}

}  // namespace

int CFunc::ReadSelection(std::istream& in) {
  count_ = 0;
  std::string line;
  std::string modeLine;
  if (!ReadLine(in, line) || !ReadLine(in, modeLine)) return 0;
  if (modeLine.size() > kMaxModeLine) modeLine.resize(kMaxModeLine);

  while (ReadLine(in, line)) {
    if (count_ >= capacity_) {
      char text[256];
      std::snprintf(text, sizeof text, GetMessageText(kMsgSelectionTooLong).c_str(), capacity_,
                    capacity_);
      platform::GetPrompter().ShowMessage(kMsgSelectionTooLong, text, platform::Icon::Warning);
      break;
    }
    if (LoadCondition(line, count_) != 0) break;
    ++count_;
  }

  // The numbers of an expression are checked against the conditions, so the mode is decided
  // once they are read: an expression that passes is never taken for a mode word.
  if (CheckLogic(modeLine, *this).Passes()) {
    mode = 2;
    SetLogic(modeLine);
  } else if (modeLine.find("ANY") != std::string::npos) {
    mode = 1;
  } else if (modeLine.find("ALL") != std::string::npos) {
    mode = 0;
  } else {
    mode = 2;
    logic = modeLine;
    RemoveAllBlanks(logic);
    if (logic.size() > kMaxLogicLength) logic.resize(kMaxLogicLength);
  }
  return count_;
}

std::string CFunc::GetLogicText(bool wanted) const {
  if (mode == 2) return logic;
  std::string text;
  if (!wanted) return text;
  for (int i = 0; i < count_; ++i) {
    if (i > 0) text += mode == 1 ? '|' : '&';
    text += std::to_string(Condition(i).Number());
  }
  return text;
}
