#include "views/core/arab_pages.h"

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace {

// The houses whose ruler reads without the genitive ending (the fourth and the tenth).
bool PlainRulerText(int house) { return house == 3 || house == 9; }

}  // namespace

std::vector<std::string> ArabOperandNames() {
  std::vector<std::string> names;
  for (int p = 0; p < kArabFirstCusp; ++p) names.push_back(GetMessageText(kMsgPointNameFirst + p));
  for (int h = 0; h < 12; ++h) names.push_back(GetMessageText(kMsgHouseNameFirst + h));
  for (int h = 0; h < 12; ++h) {
    std::string text = GetMessageText(kMsgRuler) + " " + GetMessageText(kMsgHouseNameFirst + h);
    if (!PlainRulerText(h)) text += GetMessageText(kMsgRulerSuffix);
    names.push_back(std::move(text));
  }
  return names;
}

ArabEditorPage ArabEditorPage::FromPart(const ArabPart& part) {
  return {part.name, part.a, part.b, part.c, part.op1, part.op2};
}

int ArabEditorPage::CheckOk() const { return name.empty() ? kMsgArabEmptyName : 0; }

ArabPart ArabEditorPage::ToPart() const {
  const auto operand = [](int v) {
    return static_cast<std::int8_t>(v < 0 || v > kArabMaxOperand ? 0 : v);
  };
  const auto op = [](int v) {
    return static_cast<std::int8_t>(v < 0 || v > kArabMaxOperator ? 0 : v);
  };
  return ArabPart{
      name.substr(0, kArabNameLength), operand(a), operand(b), operand(c), op(op1), op(op2), 'Y'};
}

bool ArabConfPage::Admit(const ArabPart& part, int except) {
  if (parts_.HasFormula(part, except)) {
    ShowMessage(kMsgArabSameFormula);
    return false;
  }
  if (parts_.HasName(part.name, except) &&
      platform::GetPrompter().AskYesNo(kMsgArabSameName, GetMessageText(kMsgArabSameName)) !=
          platform::Answer::Yes)
    return false;
  return true;
}

int ArabConfPage::Add(const ArabEditorPage& page) {
  const ArabPart part = page.ToPart();
  if (!Admit(part, -1)) return -1;
  const int index = parts_.AddItem(part);
  if (index < 0) ShowMessage(kMsgArabTooMany);
  return index;
}

int ArabConfPage::Edit(int i, const ArabEditorPage& page) {
  if (i < 0 || i >= parts_.Count()) return -1;
  ArabPart part = page.ToPart();
  part.on = parts_.Item(i).on;
  if (!Admit(part, i)) return -1;
  parts_.ReplaceItem(i, part);
  return i;
}

int ArabConfPage::Delete(int i) {
  if (i < 0 || i >= parts_.Count()) return -1;
  if (parts_.Count() == 1) {
    ShowMessage(kMsgArabLastPart);
    return -1;
  }
  const std::string text = GetMessageText(kMsgArabDelete) + "\n" + parts_.Item(i).name + "?";
  if (platform::GetPrompter().AskYesNo(kMsgArabDelete, text) != platform::Answer::Yes) return -1;
  parts_.DeleteItem(i);
  return i < parts_.Count() ? i : parts_.Count() - 1;
}

int ArabConfPage::MoveUp(int i) { return parts_.MoveUp(i) ? i - 1 : -1; }
int ArabConfPage::MoveDown(int i) { return parts_.MoveDown(i) ? i + 1 : -1; }

int ArabConfPage::Toggle(int i) {
  if (i < 0 || i >= parts_.Count()) return -1;
  parts_.Toggle(i);
  return i;
}
