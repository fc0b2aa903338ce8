// The archive object: its parts wired together, the opening of an archive at start-up, from the
// recent list or by name, and the browser run to choose records.
#include "archive/store/archive.h"

#include "archive/store/archive_internal.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/numbers/vector_state.h"
#include "platform/core/codepage.h"

using namespace archive_detail;

Archive::Archive(CommentSlotTable& slots)
    : comments_(index_, slots),
      records_(index_, comments_, recent_),
      saving_(index_, comments_, recent_, *this),
      sorting_(index_, records_),
      query_(index_, comments_),
      import_(index_, recent_),
      export_(index_, records_, comments_) {}

Archive::~Archive() = default;

bool Archive::IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  return SameFile(a, b);
}

int Archive::OpenByName(const std::string& path) {
  CleanVectorState();  // the file's choice was the window's (foundation/numbers/vector_state.h)
  if (!IsArchiveFile(path)) {
    ReportStatus(Status::Message(kMsgNotAnArchive, path));
    return -1;
  }
  FreeIndex();
  recent_.AddRecentName(path);
  SetPath(path);
  return CreateIndex();
}

int Archive::Init() {
  const std::vector<std::string>& names = recent_.RecentNames();
  index_.SetLayout(kNotArchive);
  if (recent_.LoadNames() == -1) return -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!IsArchiveFile(names[i])) continue;
    if (i > 0)  // the most recent archive cannot be opened now: said once, and its name kept
      ShowMessage(
          kMsgRecentArchiveAway,
          GetMessageText(kMsgRecentArchiveAway) + "\n" + platform::Utf8ToCp1251(names.front()),
          platform::Icon::Information);
    const std::string name = names[i];
    recent_.AddRecentName(name);
    SetPath(name);
    return CreateIndex();
  }
  ShowMessage(kMsgRecentArchiveAway,
              GetMessageText(kMsgRecentArchiveAway) + "\n" + platform::Utf8ToCp1251(names.front()),
              platform::Icon::Information);
  return -1;
}

void Archive::SelectRecentArchive(int i) {
  const std::vector<std::string>& names = recent_.RecentNames();
  if (i < 0 || i >= static_cast<int>(names.size())) return;
  const std::string name = names[static_cast<std::size_t>(i)];
  if (!IsArchiveFile(name)) {
    ReportStatus(Status::Message(kMsgNotAnArchive, name));
    return;
  }
  recent_.AddRecentName(name);
  if (SetPath(name) != -1) CreateIndex();
}

int Archive::SelectChart(int mode) {
  while (browser_) {
    selectMode = mode;
    const bool ok = browser_->Run(*this, browserVariant == 2 ? 2 : 3);
    selectMode = 0;
    if (!ok) {
      if (browserVariant == 0) {
        browserVariant = 2;
      } else if (browserVariant == 1) {
        browserVariant = 3;
      } else {
        return -1;
      }
      continue;
    }
    if (mode != 0) return 0;
    // Nothing marked is no record: -1, never taken for record 0.
    int chosen = -1;
    for (int n = RecordCount() - 1; n >= 0; --n)
      if (Entry(n).IsSelected()) chosen = n;
    ClearMarks();
    return chosen;
  }
  return -1;
}
