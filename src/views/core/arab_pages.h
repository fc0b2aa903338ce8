// The page models of the Arabic parts dialogs: the editor of one part and the configuration
// dialog's list commands and settings.
#pragma once

#include <string>
#include <vector>

#include "views/core/arab_table.h"
#include "views/core/arabic_parts.h"

// The texts of the operand combos: the chart points 0..29, the houses 1..12 and their rulers, so
// that a text's index is the operand's code.
std::vector<std::string> ArabOperandNames();

// The editor of one part.
struct ArabEditorPage {
  std::string name;
  int a = 0, b = 0, c = 0;
  int op1 = 0, op2 = 0;

  static ArabEditorPage FromPart(const ArabPart& part);
  // 0 when OK may close the dialog, else the message to show (422 for an empty name).
  int CheckOk() const;
  // The part the dialog stores: switched on, the name cut to 30 characters.
  ArabPart ToPart() const;
};

// The configuration dialog over the part list and a copy of the settings.
class ArabConfPage {
 public:
  ArabConfPage(AllArabParts& parts, const ArabSettings& settings, bool modesAllowed, bool fromMenu)
      : parts_(parts), settings_(settings), modesAllowed_(modesAllowed), fromMenu_(fromMenu) {
    if (!modesAllowed_) settings_.chartMode = 0;
  }

  ArabSettings& Settings() { return settings_; }
  bool ModesAllowed() const { return modesAllowed_; }
  // From the configuration menu only "OK" and "Отменить" apply.
  bool ComputeEnabled() const { return !fromMenu_; }
  AllArabParts& Parts() { return parts_; }

  // The list commands; each answers the line to select afterwards, -1 when nothing changed.
  // Add: 424 for a formula that exists (nothing added), 425 asked for a name that exists (No adds
  // nothing), 421 when the list is full.
  int Add(const ArabEditorPage& page);
  // Edit part i with the same checks, the part itself excepted.
  int Edit(int i, const ArabEditorPage& page);
  // Delete part i after question 431 (Yes); 423 when it is the only part.
  int Delete(int i);
  int MoveUp(int i);
  int MoveDown(int i);
  int Toggle(int i);

 private:
  // True when the part may be stored at `except` (-1 a new part); a refusal is shown or asked.
  bool Admit(const ArabPart& part, int except);

  AllArabParts& parts_;
  ArabSettings settings_;
  bool modesAllowed_;
  bool fromMenu_;
};
