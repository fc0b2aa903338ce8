#include "views/core/table_choices.h"

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace tables {

std::array<std::string, kChoiceLineCount> ChartChoiceLines() {
  std::array<std::string, kChoiceLineCount> lines;
  for (int i = 0; i < kChoiceLineCount; ++i)
    lines[static_cast<std::size_t>(i)] = GetMessageText(kMsgInnerChart + i);
  return lines;
}

std::string ChartChoiceQuestion(int tableKind, int slot) {
  std::string question = GetMessageText(kMsgForWhichChart) + ' ' +
                         GetMessageText(kMsgTableKind + (tableKind == 1 ? 1 : 0));
  if (slot > 0) question += GetMessageText(kMsgSlot + (slot == 1 ? 1 : 2));
  return question + '?';
}

void PrintOptionsModel::Init() { selection = caller == kCallerAspectTable ? 1 : 0; }

bool PrintOptionsModel::IsEnabled(int option) const {
  const int own = caller == kCallerAspectTable ? 0 : caller == kCallerMidpoints ? 1 : 2;
  return option != own;
}

}  // namespace tables
