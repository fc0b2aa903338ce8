#include "archive/browser/archive_view_commented.h"

#include <QEvent>

#include "archive/comments/comment_pages.h"
#include "astro/chart/published_settings.h"
#include "document/rich_text_view.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/qt_text.h"

namespace {

// Buttons of the plain browser that this one keeps hidden.
constexpr int kHidden[] = {
    ArchiveView::kIdCopy,      ArchiveView::kIdMove,       ArchiveView::kIdOrder,
    ArchiveView::kIdConvert,   ArchiveView::kIdPrint,      ArchiveView::kIdStatistics,
    ArchiveView::kIdSort,      ArchiveView::kIdQuery,      ArchiveView::kIdSearch,
    ArchiveView::kIdSelectAll, ArchiveView::kIdSelectNone, ArchiveView::kIdInvert,
    ArchiveView::kIdUp,        ArchiveView::kIdDown};

}  // namespace

ArchiveViewCommented::ArchiveViewCommented(Archive& archive, QWidget* parent)
    : ArchiveView(archive, parent), pages_(new QComboBox(this)), edit_(new RichTextControl(this)) {
  setWindowTitle(QStringLiteral("АРХИВ"));
  for (int id : kHidden) Button(id)->hide();
  ShowCounts(false);
  Button(kIdComment)->setText(QStringLiteral("ЗАКРЫТЬ КОММЕНТАРИЙ"));
  ListBox()->SetSingleSelection(true);
  edit_->SetLimit(static_cast<int>(kCommentMaxLength));
  edit_->setMinimumHeight(160);
  edit_->installEventFilter(this);
  ListColumn()->insertWidget(2, pages_);
  ListColumn()->insertWidget(3, edit_, 1);
  connect(pages_, &QComboBox::activated, this, [this](int page) { OnPageChanged(page); });
}

int ArchiveViewCommented::Page() const {
  const int page = GetConfiguration().currentCommentPage;
  return page >= 0 && page < kCommentPages ? page : 0;
}

int ArchiveViewCommented::ChosenRow() const { return ListBox()->List().FirstSelectedRow(); }

int ArchiveViewCommented::MarkedRecord() const {
  const Archive& archive = Arc();
  if (!archive.IsIndexBuilt()) return -1;
  for (int n = 0; n < archive.RecordCount(); ++n)
    if (archive.Entry(n).IsSelected()) return n;
  return -1;
}

bool ArchiveViewCommented::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::FocusIn) modified_ = true;
  return ArchiveView::eventFilter(watched, event);
}

void ArchiveViewCommented::OnInitDialog() {
  ArchiveView::OnInitDialog();
  pages_->clear();
  for (const std::string& name : GetConfiguration().commentPageNames)
    pages_->addItem(platform::ToQt(name));
  pages_->setCurrentIndex(Page());
  ListBox()->SetCommentPage(Page());
  // The record marked is the one shown (the list's row with it); without one the list's row.
  const int marked = MarkedRecord();
  int row = marked >= 0 ? marked : List().CurrentRow();
  if (row >= List().RecordRowCount()) row = -1;
  ShowRecord(row);
}

void ArchiveViewCommented::ShowRecord(int row) {
  Archive& archive = Arc();
  modified_ = false;
  const int record = List().RecordOfRow(row);
  if (archive.IsIndexBuilt()) archive.ClearMarks();
  List().ClearSelection();
  if (record < 0) {
    edit_->SetText({});
    edit_->setEnabled(false);
    ListBox()->Changed();
    return;
  }
  archive.Entry(record).mark = 'Y';
  List().SetSelected(row, true);
  List().SetCurrentRow(row);
  List().EnsureVisible(row, ListBox()->VisibleRows());
  ListBox()->Changed();
  archive.Comments().LoadCurrentComment(record, Page());
  if (RefillIfReread()) {  // another copy changed the archive: its fresh list, no record chosen
    edit_->SetText({});
    edit_->setEnabled(false);
    return;
  }
  edit_->SetText(PageTextFromFile(archive.Comments().CommentText()));
  edit_->setEnabled(true);
  modified_ = false;
}

bool ArchiveViewCommented::HasCommentOrText(int row) const {
  if (!edit_->toPlainText().isEmpty()) return true;
  const int record = ListBox()->List().RecordOfRow(row);
  return record >= 0 && Arc().Entry(record).comments.HasText(Page());
}

bool ArchiveViewCommented::SaveCommentIfModified(int row, int page, bool ask) {
  if (!modified_) return true;
  modified_ = false;
  Archive& archive = Arc();
  const int record = List().RecordOfRow(row);
  if (record < 0) return true;
  const std::string typed = edit_->Text();
  const std::string text = PageTextToFile(typed);
  // The same text, whatever line breaks it was stored with, is no change.
  if (archive.Comments().IsCommentUnchanged(text) ||
      PageTextFromFile(archive.Comments().CommentText()) == typed)
    return true;
  if (ask && platform::GetPrompter().AskYesNo(
                 kMsgUnsavedComment, GetMessageText(kMsgUnsavedComment)) != platform::Answer::Yes)
    return true;
  const ArchiveIndexEntry chart = archive.Entry(record);
  archive.Comments().SetCommentText(text);
  if (archive.Comments().SaveComment(record, page) != 0) {
    KeepTyped(chart, typed);
    return false;
  }
  if (!RefillIfReread()) ListBox()->Changed();
  return true;
}

namespace {

// The same chart: every field of the record but its mark and where its texts lie.
bool SameChart(ArchiveIndexEntry a, ArchiveIndexEntry b) {
  a.mark = b.mark;
  a.comments = b.comments;
  return a == b;
}

}  // namespace

void ArchiveViewCommented::KeepTyped(const ArchiveIndexEntry& chart, const std::string& typed) {
  RefillIfReread();
  int row = -1;
  for (int r = 0; r < List().RecordRowCount() && row < 0; ++r)
    if (const int n = List().RecordOfRow(r); n >= 0 && SameChart(Arc().Entry(n), chart)) row = r;
  if (row >= 0) {
    ShowRecord(row);
  } else {
    if (Arc().IsIndexBuilt()) Arc().ClearMarks();
    List().ClearSelection();
    ListBox()->Changed();
  }
  edit_->SetText(typed);
  edit_->setEnabled(true);
  modified_ = row >= 0;
}

void ArchiveViewCommented::OnListSelectionChanged() {
  const int old = MarkedRecord();
  if (old >= 0) {
    if (!SaveCommentIfModified(old, Page(), false)) return;
    Arc().Entry(old).mark = 'N';
  }
  ShowRecord(ChosenRow());
}

void ArchiveViewCommented::OnPageChanged(int page) {
  if (page < 0 || page >= kCommentPages || page == Page()) return;
  const int row = ChosenRow();
  if (row >= 0 && !SaveCommentIfModified(row, Page(), false)) {
    pages_->setCurrentIndex(Page());
    return;
  }
  ChangeSettings([page](Configuration& config, Aspectarium&) {
    config.currentCommentPage = static_cast<std::uint16_t>(page);
  });
  ListBox()->SetCommentPage(page);
  ShowRecord(row);
}

bool ArchiveViewCommented::BeforeArchiveChange() {
  const int row = ChosenRow();
  return row < 0 || !HasCommentOrText(row) || SaveCommentIfModified(row, Page(), false);
}

void ArchiveViewCommented::OnDelete() {
  if (!BeforeArchiveChange()) return;
  ArchiveView::OnDelete();
  // A record still marked (the deletion was declined) shows its stored text again.
  const int marked = MarkedRecord();
  ShowRecord(marked >= 0 ? marked : -1);
}

void ArchiveViewCommented::ArchiveChanged() {
  ArchiveView::ArchiveChanged();
  if (Arc().LayoutCode() != kLayout4400) {
    SwitchToPlain();
    return;
  }
  const int row = List().CurrentRow();
  ShowRecord(row < List().RecordRowCount() ? row : -1);
}

void ArchiveViewCommented::SwitchToPlain() {
  modified_ = false;
  CloseSearch();
  const int row = ChosenRow();
  Archive& archive = Arc();
  if (archive.IsIndexBuilt()) archive.ClearMarks();
  const int record = List().RecordOfRow(row);
  if (record >= 0) archive.Entry(record).mark = 'Y';
  archive.browserVariant = 1;
  reject();
}

void ArchiveViewCommented::OnComment() {
  if (BeforeArchiveChange()) SwitchToPlain();
}

bool ArchiveViewCommented::CheckOk() { return BeforeArchiveChange() && ArchiveView::CheckOk(); }

void ArchiveViewCommented::reject() {
  const int row = ChosenRow();
  if (row >= 0 && HasCommentOrText(row) && !SaveCommentIfModified(row, Page(), true)) return;
  ArchiveView::reject();
}
