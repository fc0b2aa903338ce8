#include "forecast/core/pred_list_pages.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kComparedNameLength = 32;

std::string NameKey(std::string_view name) {
  std::string key(name.substr(0, kComparedNameLength));
  StringToUpper(key);
  return key;
}

// The comment as a record keeps it.
std::string AsStored(std::string_view text) {
  PredListRecord r;
  r.SetComment(text);
  return r.comment;
}

}  // namespace

int PreselectedList(const std::vector<PredListFile>& lists, std::string_view lastUsed) {
  if (lists.empty()) return -1;
  const std::string key = NameKey(lastUsed);
  for (std::size_t i = 0; i < lists.size(); ++i)
    if (NameKey(lists[i].name) == key) return static_cast<int>(i);
  return 0;
}

// --- DPREDLIST_TRANSFER ---------------------------------------------------------------------

PredListTransferPage::PredListTransferPage(int clickedEvent, fs::path folder,
                                           std::string_view lastUsed)
    : clicked_(clickedEvent < 0 ? -1 : clickedEvent),
      folder_(std::move(folder)),
      lists_(EnumeratePredLists(folder_)) {
  selectedList = std::max(0, PreselectedList(lists_, lastUsed));
  target = lists_.empty() ? kNew : kExisting;
}

Status PredListTransferPage::Accept(bool openList) {
  if (target == kExisting && ExistingEnabled()) {
    const std::size_t k =
        static_cast<std::size_t>(std::clamp(selectedList, 0, static_cast<int>(lists_.size()) - 1));
    name_ = lists_[k].name;
    file_ = lists_[k].path;
  } else {
    std::string name = newName.substr(0, kMaxNewListName);
    if (Status st = CleanListName(name); !st.ok()) return st;
    name_ = std::move(name);
    file_ = PredListPath(folder_, name_);
  }
  open_ = openList;
  return Status::Ok();
}

std::vector<int> PredListTransferPage::Range(int eventCount) const {
  std::vector<int> range;
  if (countChoice == kClickedEvent && CountEnabled()) {
    if (clicked_ < eventCount) range.push_back(clicked_);
    return range;
  }
  for (int i = 0; i < eventCount; ++i) range.push_back(i);
  return range;
}

// --- DPREDICT_LIST --------------------------------------------------------------------------

bool PredictListPage::Open(std::string_view lastUsed, int storedFontSize, int intervalHundredths) {
  lists_ = EnumeratePredLists(folder_);
  fontSize = std::clamp(storedFontSize, kMinFontSize, kMaxFontSize);
  interval = std::clamp(intervalHundredths / 100.0, kMinInterval, kMaxInterval);
  if (lists_.empty()) return false;
  Load(PreselectedList(lists_, lastUsed));
  return true;
}

const std::string& PredictListPage::ListName() const {
  static const std::string kNone;
  return currentList_ >= 0 ? lists_[static_cast<std::size_t>(currentList_)].name : kNone;
}

bool PredictListPage::Load(int k) {
  currentList_ = k;
  const fs::path& file = lists_[static_cast<std::size_t>(k)].path;
  PredList loaded;
  const Status st = loaded.Load(file);
  // A list that cannot be read shows nothing and, having nothing changed, is never written.
  list_ = st.ok() ? std::move(loaded) : PredList();
  saved_ = list_.records;
  ShowRecord(list_.Count() > 0 ? 0 : -1);
  if (!st.ok()) {
    ReportStatus(st, "DPREDICT_LIST::LoadPredListData");
    return false;
  }
  if (list_.SkippedLines() > 0)
    platform::GetPrompter().ShowMessage(kMsgListLinesSkipped,
                                        SkippedLinesText(list_.SkippedLines(), file),
                                        platform::Icon::Warning);
  return true;
}

bool PredictListPage::Modified() const {
  if (list_.records != saved_) return true;
  return current_ >= 0 &&
         AsStored(comment) != list_.records[static_cast<std::size_t>(current_)].comment;
}

void PredictListPage::StoreComment() {
  if (current_ >= 0) list_.records[static_cast<std::size_t>(current_)].SetComment(comment);
}

void PredictListPage::ShowRecord(int i) {
  current_ = i >= 0 && i < list_.Count() ? i : -1;
  comment = current_ >= 0 ? list_.records[static_cast<std::size_t>(current_)].comment : "";
}

bool PredictListPage::SaveIfChanged() {
  StoreComment();
  if (currentList_ < 0 || list_.records == saved_) return true;
  if (Status st = list_.Save(lists_[static_cast<std::size_t>(currentList_)].path); !st.ok()) {
    ReportStatus(st, "DPREDICT_LIST::Save");
    return false;
  }
  saved_ = list_.records;
  return true;
}

void PredictListPage::SelectRecord(int i) {
  if (i == current_) return;
  StoreComment();
  ShowRecord(i);
}

bool PredictListPage::ChooseList(int k) {
  if (k < 0 || k >= static_cast<int>(lists_.size()) || k == currentList_) return true;
  if (!SaveIfChanged()) return false;
  Load(k);
  return true;
}

void PredictListPage::DeleteRecord() {
  if (current_ < 0) return;
  if (platform::GetPrompter().AskYesNo(kMsgDeleteListEvent, GetMessageText(kMsgDeleteListEvent)) !=
      platform::Answer::Yes)
    return;
  const int at = current_;
  list_.records.erase(list_.records.begin() + at);
  current_ = -1;  // the comment field went with the record
  ShowRecord(std::min(at, list_.Count() - 1));
}

void PredictListPage::MoveUp() {
  if (current_ < 1) return;
  StoreComment();
  const auto i = static_cast<std::size_t>(current_);
  std::swap(list_.records[i], list_.records[i - 1]);
  --current_;
}

void PredictListPage::MoveDown() {
  if (current_ < 0 || current_ > list_.Count() - 2) return;
  StoreComment();
  const auto i = static_cast<std::size_t>(current_);
  std::swap(list_.records[i], list_.records[i + 1]);
  ++current_;
}

void PredictListPage::ToggleStatus() {
  if (current_ < 0) return;
  char& status = list_.records[static_cast<std::size_t>(current_)].status;
  status = status == 'P' ? 'S' : 'P';
}

void PredictListPage::Sort() {
  StoreComment();
  list_.SortByMoment();
  ShowRecord(list_.Count() > 0 ? 0 : -1);
}

PredictListPage::Outcome PredictListPage::DeleteList() {
  if (currentList_ < 0) return Outcome::kStay;
  const std::string question = GetMessageText(kMsgDeletePredictionList) + " " + ListName() + "?";
  if (platform::GetPrompter().AskYesNo(kMsgDeletePredictionList, question) != platform::Answer::Yes)
    return Outcome::kStay;
  const fs::path file = lists_[static_cast<std::size_t>(currentList_)].path;
  std::error_code ec;
  if (!fs::remove(file, ec) || ec) {
    ReportStatus(Status::Error(kErrWrite, file.string()), "DPREDICT_LIST::DeleteList");
    return Outcome::kStay;
  }
  lists_.erase(lists_.begin() + currentList_);
  list_ = PredList();
  saved_.clear();
  current_ = -1;
  currentList_ = -1;
  if (lists_.empty()) return Outcome::kClosedCancel;
  Load(0);
  return Outcome::kStay;
}

std::optional<PredListFile> PredictListPage::Print() {
  if (currentList_ < 0 || !SaveIfChanged()) return std::nullopt;
  return lists_[static_cast<std::size_t>(currentList_)];
}

PredictListPage::Outcome PredictListPage::Ok() {
  return SaveIfChanged() ? Outcome::kClosedOk : Outcome::kStay;
}

PredictListPage::Outcome PredictListPage::Cancel() {
  if (!Modified()) return Outcome::kClosedCancel;
  const platform::Answer answer =
      platform::GetPrompter().AskYesNo(kMsgListNotSaved, GetMessageText(kMsgListNotSaved));
  return answer == platform::Answer::Yes ? Outcome::kClosedCancel : Outcome::kStay;
}

int PredictListPage::StoredFontSize() const {
  return std::clamp(fontSize, kMinFontSize, kMaxFontSize);
}

int PredictListPage::StoredInterval() const {
  const double value = std::isfinite(interval) ? interval : kMinInterval;
  return static_cast<int>(std::lround(std::clamp(value, kMinInterval, kMaxInterval) * 100.0));
}
