#include "conditions/core/tlr_editor.h"

#include <algorithm>

#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/collation.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCheckedCharacters = 100;

bool AskYesNo(int number, const std::string& text) {
  return platform::GetPrompter().AskYesNo(number, text) == platform::Answer::Yes;
}

std::string TitleKey(std::string_view title) {
  std::string key(title);
  RemoveAllBlanks(key);
  StringToUpper(key);
  return key;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

int CheckTlrTextParams(const TLRBASE& base, std::string_view title, std::string_view body,
                       int editing) {
  if (TitleKey(title).empty()) return kMsgTlrNoTitleEntered;
  if (const int refusal = CheckTlrTitle(title); refusal != 0) return refusal;
  std::string file;
  if (ReadWholeFile(base.FilePath("tlt"), file).ok()) {
    const std::string key = TitleKey(title);
    for (const int n : base.TextNumbers()) {
      TlrText other;
      if (n != editing && base.LoadTextFrom(file, n, other) == 0 && TitleKey(other.title) == key)
        return kMsgTlrTitleExists;
    }
  }
  return CheckTlrBody(body);
}

int CheckTlrGroupParams(std::string_view name) {
  if (const int refusal = CheckTlrGroupName(name); refusal != 0) return refusal;
  return TitleKey(name).empty() ? kMsgTlrEnterGroupName : 0;
}

int LoadTlrBodyFromFile(const fs::path& path, std::string& body) {
  std::string bytes;
  if (const Status read = ReadWholeFile(path, bytes); !read.ok()) {
    ReportStatus(read, "DTLR_TEXTPAR::LoadFromFile");
    return -1;
  }
  if (bytes.size() > static_cast<std::size_t>(TlrTextsPage::kMaxBody)) {
    bytes.resize(TlrTextsPage::kMaxBody);
    ShowMessage(kMsgTlrBodyCut);
  }
  const std::size_t checked = std::min(bytes.size(), kCheckedCharacters);
  for (std::size_t i = 0; i < checked; ++i) {
    const char c = bytes[i];
    if (c == '\n' || c == '\r' ||
        CollationPosition(c, Collation::kCyrillicFirst) <
            CollationLength(Collation::kCyrillicFirst))
      continue;
    if (platform::GetPrompter().AskOkCancel(
            kMsgTlrNotPlainText, GetMessageText(kMsgTlrNotPlainText)) != platform::Answer::Ok)
      return 1;
    break;
  }
  body = std::move(bytes);
  return 0;
}

// --- The bases page ---

TLRBASE* TlrFilesPage::Base() {
  return data_.current >= 0 && data_.current < data_.Count()
             ? &data_.bases[static_cast<std::size_t>(data_.current)]
             : nullptr;
}

void TlrFilesPage::Activate() {
  (void)data_.LoadBases();
  SelectBase(data_.Count() > 0 ? 0 : -1);
}

void TlrFilesPage::SelectBase(int base) {
  data_.current = base >= 0 && base < data_.Count() ? base : -1;
  const TLRBASE* b = Base();
  data_.second = b != nullptr && !b->groups.empty() ? 0 : -1;
}

void TlrFilesPage::SelectGroup(int group) {
  const TLRBASE* b = Base();
  data_.second =
      b != nullptr && group >= 0 && group < static_cast<int>(b->groups.size()) ? group : -1;
}

bool TlrFilesPage::ConnectBase() {
  if (data_.Count() >= TLRDATA::kMaxBases) return false;
  platform::FileChoice choice;
  choice.open = false;
  choice.filters = {{"Velm 5.* text database files (*.tlt)", "*.tlt"}};
  if (!platform::GetPrompter().ChooseFile(choice) || choice.path.empty()) return false;
  std::string name = choice.path;
  const std::size_t slash = name.rfind('/');
  if (const std::size_t dot = name.find('.', slash == std::string::npos ? 0 : slash + 1);
      dot != std::string::npos)
    name.resize(dot);
  for (const TLRBASE& b : data_.bases)
    if (SearchKey(b.name) == SearchKey(name)) {
      ShowMessage(kMsgTlrBaseConnected);
      return false;
    }
  const int slot = data_.AddBase(name, 'T');
  if (slot < 0) return false;
  TLRBASE& base = data_.bases[static_cast<std::size_t>(slot)];
  if (Exists(base.FilePath("tlt"))) {
    if (!Exists(base.FilePath("tlg")) || base.LoadGroupsFromFile(base.FilePath("tlg")) < 0)
      (void)CollectGroupNamesFromTextFile(base, base.FilePath("tlt"));
    (void)data_.AddAbsentGroups(base.FilePath("tlt"), slot);
    std::error_code ec;
    fs::remove(base.FilePath("tli"), ec);
  }
  SelectBase(slot);
  return true;
}

bool TlrFilesPage::DisconnectBase() {
  TLRBASE* base = Base();
  if (base == nullptr) return false;
  if (!AskYesNo(kMsgTlrRemoveBase, GetMessageText(kMsgTlrRemoveBase) + "\n" + base->name + "?"))
    return false;
  // Only the base's own files are offered for deletion.
  std::error_code ec;
  const auto length = fs::file_size(base->FilePath("tlt"), ec);
  if (!ec && length > 2 &&
      AskYesNo(kMsgTlrRemoveBaseFiles, GetMessageText(kMsgTlrRemoveBaseFiles))) {
    for (const char* ext : {"tlt", "tlf", "tlg", "tli"}) fs::remove(base->FilePath(ext), ec);
  }
  data_.RemoveBase(data_.current);
  SelectBase(data_.Count() > 0 ? 0 : -1);
  return true;
}

void TlrFilesPage::FlipBase() {
  if (TLRBASE* base = Base()) base->switchByte = base->switchByte == 'F' ? 'T' : 'F';
}

bool TlrFilesPage::AskUniqueGroup(std::string& name, int& priority, int editing) {
  const TLRBASE* base = Base();
  for (;;) {
    if (!dialogs_.AskGroup(name, priority)) return false;
    if (const int refusal = CheckTlrGroupParams(name); refusal != 0) {
      ShowMessage(refusal);
      continue;
    }
    priority = std::clamp(priority, 0, 99);
    const int same = base->FindGroup(name);
    if (same < 0 || same == editing) return true;
    ShowMessage(kMsgTlrGroupExists);
  }
}

bool TlrFilesPage::AddGroup() {
  TLRBASE* base = Base();
  if (base == nullptr || static_cast<int>(base->groups.size()) >= TLRBASE::kMaxGroups) return false;
  std::string name;
  int priority = 1;
  if (!AskUniqueGroup(name, priority, -1)) return false;
  base->groups.push_back({name, 'T', priority});
  data_.second = static_cast<int>(base->groups.size()) - 1;
  return true;
}

bool TlrFilesPage::EditGroup() {
  TLRBASE* base = Base();
  if (base == nullptr || data_.second < 0) return false;
  TlrGroup& group = base->groups[static_cast<std::size_t>(data_.second)];
  std::string name = group.name;
  int priority = group.priority;
  if (!AskUniqueGroup(name, priority, data_.second)) return false;
  const bool renamed = name != group.name;
  // The texts take the new name in their headings at once, and so does the group file: neither
  // names a group the other has lost, whatever the sheet's OK or Cancel.
  if (renamed && Exists(base->FilePath("tlt")) && base->RenameTextsGroup(group.name, name) != 1)
    return false;
  group.name = name;
  group.priority = priority;
  if (renamed) {
    (void)base->SaveGroups();
    (void)base->RebuildIndex();
  }
  return true;
}

bool TlrFilesPage::DeleteGroup() {
  TLRBASE* base = Base();
  if (base == nullptr || data_.second < 0) return false;
  const std::string name = base->groups[static_cast<std::size_t>(data_.second)].name;
  if (!AskYesNo(kMsgTlrRemoveGroup, GetMessageText(kMsgTlrRemoveGroup) + "\n" + name + "?"))
    return false;
  if (Exists(base->FilePath("tlt")) && base->DeleteTextsForGroup(name) != 1) return false;
  base->groups.erase(base->groups.begin() + data_.second);
  (void)base->SaveGroups();
  (void)base->RebuildIndex();
  data_.second = base->groups.empty() ? -1 : 0;
  return true;
}

void TlrFilesPage::FlipGroup() {
  TLRBASE* base = Base();
  if (base == nullptr || data_.second < 0) return;
  TlrGroup& group = base->groups[static_cast<std::size_t>(data_.second)];
  group.flag = group.flag == 'F' ? 'T' : 'F';
}

TlrFilesPage::Enabling TlrFilesPage::GetEnabling() const {
  const bool base = data_.current >= 0 && data_.current < data_.Count();
  const int groups =
      base ? static_cast<int>(data_.bases[static_cast<std::size_t>(data_.current)].groups.size())
           : 0;
  const bool group = base && data_.second >= 0;
  return {data_.Count() < TLRDATA::kMaxBases,   base,  base,  base,
          base && groups < TLRBASE::kMaxGroups, group, group, group};
}

// --- The texts page ---

TLRBASE* TlrTextsPage::Base() {
  return data_.current >= 0 && data_.current < data_.Count()
             ? &data_.bases[static_cast<std::size_t>(data_.current)]
             : nullptr;
}

int TlrTextsPage::SelectedNumber() const {
  return selected_ >= 0 && selected_ < static_cast<int>(numbers_.size())
             ? numbers_[static_cast<std::size_t>(selected_)]
             : -1;
}

void TlrTextsPage::ClearSet() {
  CFunc& set = data_.funcs;
  for (int i = 0; i < CFunc::kCapacity; ++i) set.Condition(i) = QueryCondition{};
  set.Clear();
  set.mode = 0;
  set.logic.clear();
}

bool TlrTextsPage::Activate() {
  numbers_.clear();
  titles_.clear();
  selected_ = -1;
  ClearSet();
  TLRBASE* base = Base();
  if (base != nullptr) (void)base->PrepareIndex();
  hasGroup_ =
      base != nullptr && data_.second >= 0 && data_.second < static_cast<int>(base->groups.size());
  if (!hasGroup_) {
    ShowMessage(kMsgTlrNoGroupChosen);
    return false;
  }
  Refill();
  if (!numbers_.empty()) SelectText(0);
  return true;
}

void TlrTextsPage::ChooseGroup(int group) {
  data_.second = group;
  Activate();
}

void TlrTextsPage::Refill() {
  numbers_.clear();
  titles_.clear();
  TLRBASE* base = Base();
  if (base == nullptr) return;
  std::string file;
  (void)ReadWholeFile(base->FilePath("tlt"), file);
  for (int n = 0; n < TLRBASE::kMaxTexts && static_cast<int>(numbers_.size()) < kMaxListed; ++n) {
    const TlrIndexEntry& e = base->index[static_cast<std::size_t>(n)];
    if (e.text < 0 || e.group != data_.second) continue;
    TlrText text;
    numbers_.push_back(n);
    titles_.push_back(base->LoadTextFrom(file, n, text) == 0 ? text.title : std::string());
  }
}

void TlrTextsPage::SelectText(int line) {
  selected_ = line >= 0 && line < static_cast<int>(numbers_.size()) ? line : -1;
  ShowFunction();
}

void TlrTextsPage::ShowFunction() {
  ClearSet();
  TLRBASE* base = Base();
  if (base != nullptr && SelectedNumber() >= 0)
    (void)base->ReadFunction(SelectedNumber(), data_.funcs);
}

bool TlrTextsPage::AddText() {
  TLRBASE* base = Base();
  if (!hasGroup_ || base == nullptr || static_cast<int>(numbers_.size()) >= kMaxListed)
    return false;
  std::string title, body;
  if (!dialogs_.AskText(title, body)) return false;
  if (static_cast<int>(body.size()) > kMaxBody) {
    ShowMessage(kMsgTlrBodyTooLong);
    return false;
  }
  if (const int refusal = CheckTlrTextParams(*base, title, body, -1); refusal != 0) {
    ShowMessage(refusal);
    return false;
  }
  const int number = base->InsertText(body, title, data_.second);
  if (number < 0) return false;
  Refill();
  const auto at = std::find(numbers_.begin(), numbers_.end(), number);
  selected_ = at == numbers_.end() ? -1 : static_cast<int>(at - numbers_.begin());
  ClearSet();
  return true;
}

bool TlrTextsPage::EditText() {
  TLRBASE* base = Base();
  const int number = SelectedNumber();
  if (base == nullptr || number < 0) return false;
  TlrText text;
  if (base->LoadText(number, text) < 0) return false;
  if (!dialogs_.AskText(text.title, text.body)) return false;
  if (static_cast<int>(text.body.size()) > kMaxBody) {
    ShowMessage(kMsgTlrBodyTooLong);
    return false;
  }
  if (const int refusal = CheckTlrTextParams(*base, text.title, text.body, number); refusal != 0) {
    ShowMessage(refusal);
    return false;
  }
  if (base->ReplaceText(number, text.body, text.title, data_.second) < 0) return false;
  const int line = selected_;
  Refill();
  SelectText(std::min(line, static_cast<int>(numbers_.size()) - 1));
  return true;
}

bool TlrTextsPage::DeleteText() {
  TLRBASE* base = Base();
  const int number = SelectedNumber();
  if (base == nullptr || number < 0) return false;
  const std::string& title = titles_[static_cast<std::size_t>(selected_)];
  if (!AskYesNo(kMsgTlrDeleteText, GetMessageText(kMsgTlrDeleteText) + "\n" + title)) return false;
  if (base->DeleteText(number) < 0) return false;
  const int line = selected_;
  Refill();
  SelectText(std::min(line, static_cast<int>(numbers_.size()) - 1));
  return true;
}

bool TlrTextsPage::WriteBack() {
  TLRBASE* base = Base();
  return base != nullptr && SelectedNumber() >= 0 &&
         base->WriteFunction(SelectedNumber(), data_.funcs) == 0;
}

bool TlrTextsPage::AddCondition() {
  if (SelectedNumber() < 0 || data_.funcs.Count() >= kMaxConditions) return false;
  if (dialogs_.AddCondition(data_.funcs) != 0) return false;
  if (data_.funcs.Count() == 1) data_.funcs.mode = 0;
  return WriteBack();
}

bool TlrTextsPage::DeleteCondition(int index) {
  if (SelectedNumber() < 0 || index < 0 || index >= data_.funcs.Count()) return false;
  if (!AskYesNo(kMsgTlrDeleteCondition, GetMessageText(kMsgTlrDeleteCondition))) return false;
  data_.funcs.RemoveCondition(index);
  return WriteBack();
}

bool TlrTextsPage::EditCondition(int index) {
  if (SelectedNumber() < 0 || index < 0 || index >= data_.funcs.Count()) return false;
  if (dialogs_.EditCondition(data_.funcs, index) != 0) return false;
  return WriteBack();
}

void TlrTextsPage::SetMode(int mode) {
  if (SelectedNumber() < 0 || mode < 0 || mode > 2) return;
  data_.funcs.mode = mode;
  (void)WriteBack();
}

bool TlrTextsPage::SetExpression(std::string_view typed) {
  if (SelectedNumber() < 0) return false;
  CFunc& set = data_.funcs;
  const std::string kept = set.logic;
  if (set.SetLogic(typed) == 1) return WriteBack();
  // The last valid expression stays (it passed its checks when it was set).
  set.logic.clear();
  if (!kept.empty()) (void)set.SetLogic(kept);
  return false;
}

TlrTextsPage::Enabling TlrTextsPage::GetEnabling() const {
  const bool texts = hasGroup_ && !numbers_.empty();
  const bool chosen = texts && SelectedNumber() >= 0;
  const bool conditions = chosen && data_.funcs.Count() > 0;
  return {hasGroup_,  hasGroup_,
          texts,      texts,
          texts,      hasGroup_ && static_cast<int>(numbers_.size()) < kMaxListed,
          conditions, chosen && data_.funcs.Count() < kMaxConditions,
          conditions, conditions,
          conditions, conditions && data_.funcs.mode == 2};
}
