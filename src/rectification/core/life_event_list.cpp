#include "rectification/core/life_event_list.h"

#include <algorithm>
#include <system_error>

#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/dc.h"

namespace fs = std::filesystem;

int LifeEventList::OrderAt(int k) const {
  if (k < 0 || k >= static_cast<int>(order_.size())) return -1;
  return order_[static_cast<std::size_t>(k)];
}

const LifeEvent* LifeEventList::AtDisplay(int k) const {
  const int i = OrderAt(k);
  return i < 0 ? nullptr : &events_[static_cast<std::size_t>(i)];
}

LifeEvent* LifeEventList::AtDisplay(int k) {
  const int i = OrderAt(k);
  return i < 0 ? nullptr : &events_[static_cast<std::size_t>(i)];
}

int LifeEventList::Load(const fs::path& file, Status& problem) {
  problem = Status::Ok();
  events_.clear();
  order_.clear();
  damagedFile_.clear();
  std::error_code ec;
  if (!fs::exists(file, ec)) return -1;
  std::string bytes;
  if (Status st = ReadWholeFile(file, bytes); !st.ok()) {
    problem = st;
    damagedFile_ = file;
    return -1;
  }
  // One report for the file: the first rejection the catalogue names, else a format error.
  Status firstMessage, firstFormat;
  bool skipped = false;
  std::size_t at = 0;
  while (at < bytes.size() && Count() < kMaxEvents) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + at, end - at);
    at = end + 1;
    if (const std::size_t cr = line.find('\r'); cr != std::string_view::npos)
      line = line.substr(0, cr);
    if (line.size() < 2) continue;
    // A line without a single separator (a date alone, a stray text) is skipped silently.
    if (line.find(kLifeEventSeparator) == std::string_view::npos) {
      skipped = true;
      continue;
    }
    LifeEvent event;
    if (Status st = event.Import(line); !st.ok()) {
      if (st.MessageNumber() != 0 && firstMessage.ok())
        firstMessage = Status::Message(st.MessageNumber(), file.string());
      if (firstFormat.ok()) firstFormat = Status::Error(kErrFormat, file.string());
      continue;
    }
    events_.push_back(std::move(event));
  }
  problem = !firstMessage.ok() ? firstMessage : firstFormat;
  // Skipped lines, and lines past the 200th event, are kept aside by the next save.
  const bool linesLeft = bytes.find_first_not_of("\r\n", at) != std::string::npos;
  if (skipped || !problem.ok() || linesLeft) damagedFile_ = file;
  BuildOrder();
  return Count();
}

void LifeEventList::LoadAtStart(const fs::path& file) {
  Status problem;
  (void)Load(file, problem);
  ReportStatus(problem, "LifeEventList::Load");
}

std::string LifeEventList::Serialize() const {
  std::string contents;
  for (const LifeEvent& e : events_) contents += e.FormatLine();
  return contents;
}

Status LifeEventList::Save(const fs::path& file) {
  std::error_code ec;
  fs::path kept;
  const bool keepOld = !damagedFile_.empty() && damagedFile_ == file && fs::exists(file, ec);
  const Status st =
      keepOld ? RewriteKeepingOld(file, Serialize(), kept) : RewriteFile(file, Serialize());
  if (!st.ok()) return st;
  damagedFile_.clear();
  if (!kept.empty())
    ReportStatus(Status::Message(kMsgUnreadLinesKept, kept.string()), "LifeEventList::Save");
  return Status::Ok();
}

Status LifeEventList::Add(std::string_view text, int day, int month, int year,
                          std::string_view planetMask, std::string_view houseMask) {
  if (Count() >= kMaxEvents) return Status::Message(kMsgTooManyEvents);
  LifeEvent event;
  if (Status st = event.Set(text, day, month, year, planetMask, houseMask); !st.ok()) return st;
  events_.push_back(std::move(event));
  BuildOrder();
  return Status::Ok();
}

Status LifeEventList::AddCopyAndSave(const LifeEvent& event, const fs::path& file) {
  if (Count() >= kMaxEvents) return Status::Message(kMsgTooManyEvents);
  events_.push_back(event);
  BuildOrder();
  return Save(file);
}

int LifeEventList::Delete(int k) {
  const int i = OrderAt(k);
  if (i < 0) return Count();
  events_.erase(events_.begin() + i);
  BuildOrder();
  return Count();
}

void LifeEventList::BuildOrder() {
  const int n = Count();
  order_.resize(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) order_[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(k);
  if ((sortByDate != 1 && sortByText != 1) || n < 2) return;
  // An exchange sort over the display order; the list holds at most 200 events.
  const auto goesBefore = [&](const LifeEvent& e, const LifeEvent& c) {
    if (e.InUse() != c.InUse()) return e.InUse();
    return e.Compare(c, sortByDate, sortByText) == '<';
  };
  for (int i = 0; i + 1 < n; ++i) {
    std::uint16_t c = order_[static_cast<std::size_t>(i)];
    for (int j = i + 1; j < n; ++j) {
      const std::uint16_t e = order_[static_cast<std::size_t>(j)];
      if (goesBefore(events_[e], events_[c])) {
        order_[static_cast<std::size_t>(j)] = c;
        c = e;
      }
    }
    order_[static_cast<std::size_t>(i)] = c;
  }
}

int LifeEventList::GetMaxTextWidth(platform::Dc& dc) const {
  int widest = 0;
  for (const LifeEvent& e : events_) widest = std::max(widest, dc.GetTextExtent(e.text).cx);
  return widest;
}
