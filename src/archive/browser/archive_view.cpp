#include "archive/browser/archive_view.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "archive/browser/archive_print_dialog.h"
#include "archive/browser/archive_search_dialog.h"
#include "archive/browser/archive_settings_dialog.h"
#include "archive/browser/archive_sort_dialog.h"
#include "archive/export/export_formats.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/file_utils.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/qt_text.h"

namespace {

// The commands that act on records: off while the archive has none.
constexpr std::array kRecordCommands = {
    ArchiveView::kIdDelete,     ArchiveView::kIdLoad,      ArchiveView::kIdCopy,
    ArchiveView::kIdMove,       ArchiveView::kIdOrder,     ArchiveView::kIdSearch,
    ArchiveView::kIdStatistics, ArchiveView::kIdCopyWhole, ArchiveView::kIdConvert,
    ArchiveView::kIdComment,    ArchiveView::kIdPrint,     ArchiveView::kIdQuery,
    ArchiveView::kIdSort};

// The recent-name box: its context menu removes the name shown.
class RecentNamesBox : public QComboBox {
 public:
  RecentNamesBox(ArchiveView* view, QWidget* parent) : QComboBox(parent), view_(view) {}

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override {
    if (currentIndex() < 0) return;
    QMenu menu(this);
    QAction* remove = menu.addAction(platform::ToQt(GetMessageText(kMsgRemoveRecent)));
    if (menu.exec(event->globalPos()) == remove) view_->OnRemoveRecent(currentIndex());
  }

 private:
  ArchiveView* view_;
};

}  // namespace

ArchiveView::ArchiveView(Archive& archive, QWidget* parent)
    : platform::Dialog(parent),
      archive_(archive),
      list_(new CArchiveListBox(archive.Index(), this)),
      recent_(new RecentNamesBox(this, this)),
      recordCount_(new QLabel(this)),
      selectedCount_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("АРХИВ "));
  recent_->setEditable(true);
  recent_->setInsertPolicy(QComboBox::NoInsert);
  recent_->setMinimumWidth(420);

  auto* top = new QHBoxLayout;
  top->addWidget(recent_, 1);
  top->addWidget(AddButton(kIdSelect, QStringLiteral("ВЫБРАТЬ ")));

  auto* commands = new QVBoxLayout;
  commands->addWidget(AddButton(kIdLoad, QStringLiteral("ЗАГРУЗИТЬ")));
  commands->addWidget(AddButton(kIdDelete, QStringLiteral("УДАЛИТЬ")));
  commands->addWidget(AddButton(kIdCopy, QStringLiteral("КОПИРОВАТЬ")));
  commands->addWidget(AddButton(kIdMove, QStringLiteral("ПЕРЕНЕСТИ")));
  commands->addWidget(AddButton(kIdOrder, QStringLiteral("Упорядочить")));
  commands->addWidget(AddButton(kIdConvert, platform::ToQt(GetMessageText(kMsgConvertTo44))));
  commands->addWidget(AddButton(kIdCopyWhole, QStringLiteral("Копировать весь архив")));
  commands->addWidget(AddButton(kIdPrint, QStringLiteral("Печать")));
  commands->addWidget(AddButton(kIdStatistics, QStringLiteral("СТАТИСТИКА")));
  commands->addWidget(AddButton(kIdComment, QStringLiteral("КОММЕНТАРИЙ")));
  commands->addWidget(AddButton(kIdSort, QStringLiteral("СОРТИРОВКА")));
  commands->addWidget(AddButton(kIdQuery, QStringLiteral("ЗАПРОС")));
  commands->addWidget(AddButton(kIdSearch, QStringLiteral("ПОИСК")));
  commands->addWidget(AddButton(kIdSettings, QStringLiteral("НАСТРОЙКИ")));
  commands->addStretch(1);
  commands->addWidget(AddButton(kIdExit, QStringLiteral("Выход")));

  auto* marks = new QHBoxLayout;
  for (const auto& [id, text] :
       {std::pair{kIdSelectAll, "+"}, std::pair{kIdSelectNone, "--"}, std::pair{kIdInvert, "*"},
        std::pair{kIdUp, "^"}, std::pair{kIdDown, "v"}}) {
    QPushButton* button = AddButton(id, QString::fromLatin1(text));
    button->setFixedWidth(36);
    marks->addWidget(button);
  }
  marks->addStretch(1);
  countCaptions_ = {new QLabel(QStringLiteral("Записей:"), this),
                    new QLabel(QStringLiteral("Выделено:"), this)};
  marks->addWidget(countCaptions_[0]);
  marks->addWidget(recordCount_);
  marks->addSpacing(16);
  marks->addWidget(countCaptions_[1]);
  marks->addWidget(selectedCount_);

  auto* left = new QVBoxLayout;
  listColumn_ = left;
  left->addLayout(top);
  left->addWidget(list_, 1);
  left->addLayout(marks);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(commands);

  Button(kIdLoad)->setDefault(true);

  connect(Button(kIdLoad), &QPushButton::clicked, this, &ArchiveView::accept);
  connect(Button(kIdExit), &QPushButton::clicked, this, &ArchiveView::reject);
  connect(Button(kIdSelect), &QPushButton::clicked, this, [this] { OnSelectArchive(); });
  connect(Button(kIdDelete), &QPushButton::clicked, this, [this] { OnDelete(); });
  connect(Button(kIdCopy), &QPushButton::clicked, this, [this] { OnCopy(false); });
  connect(Button(kIdMove), &QPushButton::clicked, this, [this] { OnCopy(true); });
  connect(Button(kIdOrder), &QPushButton::clicked, this, [this] { OnOrder(); });
  connect(Button(kIdConvert), &QPushButton::clicked, this, [this] { OnConvert(); });
  connect(Button(kIdCopyWhole), &QPushButton::clicked, this, [this] { OnCopyWholeArchive(); });
  connect(Button(kIdSearch), &QPushButton::clicked, this, [this] { OnSearch(); });
  connect(Button(kIdSort), &QPushButton::clicked, this, [this] { OnSort(); });
  connect(Button(kIdQuery), &QPushButton::clicked, this, [this] { OnQuery(); });
  connect(Button(kIdStatistics), &QPushButton::clicked, this, [this] { OnStatistics(); });
  connect(Button(kIdComment), &QPushButton::clicked, this, [this] { OnComment(); });
  connect(Button(kIdSettings), &QPushButton::clicked, this, [this] { OnSettings(); });
  connect(Button(kIdPrint), &QPushButton::clicked, this, [this] { OnPrint(); });
  connect(Button(kIdSelectAll), &QPushButton::clicked, this, [this] { OnSelectAll(); });
  connect(Button(kIdSelectNone), &QPushButton::clicked, this, [this] { OnSelectNone(); });
  connect(Button(kIdInvert), &QPushButton::clicked, this, [this] { OnInvert(); });
  connect(Button(kIdUp), &QPushButton::clicked, this, [this] { OnUpDown(true); });
  connect(Button(kIdDown), &QPushButton::clicked, this, [this] { OnUpDown(false); });
  connect(recent_, &QComboBox::activated, this, [this](int k) {
    if (!fillingCombo_) OnRecentChosen(k);
  });
  connect(list_, &CArchiveListBox::selectionChanged, this, [this] { OnListSelectionChanged(); });
  connect(list_, &CArchiveListBox::rowActivated, this, [this](int row) {
    List().ClearSelection();
    List().SetSelected(row, true);
    list_->Changed();
    accept();
  });
}

QPushButton* ArchiveView::AddButton(int id, const QString& text) {
  auto* button = new QPushButton(text, this);
  button->setAutoDefault(false);
  buttons_[id] = button;
  return button;
}

QPushButton* ArchiveView::Button(int id) const {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

void ArchiveView::ShowCounts(bool on) {
  for (QLabel* label : {countCaptions_[0], countCaptions_[1], recordCount_, selectedCount_})
    label->setVisible(on);
}

void ArchiveView::OnListSelectionChanged() { ShowSelectedCount(List().SelectedCount()); }

void ArchiveView::OnInitDialog() {
  endResult_ = 0;
  // An archive another copy of the program changed since it was listed is listed afresh.
  if (archive_.IsIndexBuilt() && !archive_.Index().IsCurrent()) archive_.Index().ReadAgain(false);
  RefillList(false);
  list_->setFocus();
  FillRecentCombo();
  SyncSelection(ArchiveBrowserList::Sync::kMarksToList);
  list_->Changed();
  UpdateCaption();
  ShowSelectedCount(-1);
}

// --- The shared operations ---

bool ArchiveView::RefillIfReread() {
  if (archive_.Index().Readings() == readings_) return false;
  RefillList(true);
  ShowSelectedCount(0);
  return true;
}

void ArchiveView::RefillList(bool reset) {
  readings_ = archive_.Index().Readings();
  list_->Refill(reset);
  EnableCommands(!List().IsEmptyArchive());
  ShowRecordCount();
}

int ArchiveView::SyncSelection(ArchiveBrowserList::Sync direction) {
  const int count = List().SyncSelection(direction);
  if (direction == ArchiveBrowserList::Sync::kMarksToList) list_->Changed();
  return count;
}

void ArchiveView::ShowSelectedCount(int n) {
  if (n < 0) n = archive_.IsIndexBuilt() ? archive_.MarkedCount() : 0;
  selectedCount_->setText(QString::number(n));
}

void ArchiveView::ShowRecordCount() {
  recordCount_->setText(QString::number(List().RecordRowCount()));
}

void ArchiveView::EnableCommands(bool on) {
  for (int id : kRecordCommands) Button(id)->setEnabled(on);
  Button(kIdQuery)->setEnabled(on && queryCommand != nullptr);
  Button(kIdStatistics)->setEnabled(on && statisticsCommand != nullptr);
  // The comments exist in the 4.4 layout only.
  Button(kIdComment)->setEnabled(on && archive_.LayoutCode() == kLayout4400);
  UpdateConvertCaption();
}

void ArchiveView::UpdateConvertCaption() {
  const int number = archive_.LayoutCode() == kLayout4400 ? kMsgConvertTo43 : kMsgConvertTo44;
  Button(kIdConvert)->setText(platform::ToQt(GetMessageText(number)));
}

void ArchiveView::UpdateCaption() {
  QString caption = QStringLiteral("АРХИВ ");
  if (archive_.IsIndexBuilt() && archive_.IsDamaged())
    caption += QLatin1Char(' ') + platform::ToQt(GetMessageText(kMsgReadOnly));
  setWindowTitle(caption);
}

void ArchiveView::FillRecentCombo() {
  fillingCombo_ = true;
  recent_->clear();
  const std::vector<std::string>& names = archive_.Recent().RecentNames();
  for (int k = 0; k < static_cast<int>(names.size()); ++k) {
    QString shown = platform::PathToQt(ArchivePathDisplay(names[static_cast<std::size_t>(k)]));
    int state = 0;
    switch (archive_.Recent().RecentNameState(k)) {
      case Archive::RecentState::kArchive:
        break;
      case Archive::RecentState::kMissing:
        state = kMsgRecentMissing;
        break;
      case Archive::RecentState::kUnreadable:
        state = kMsgRecentUnreadable;
        break;
      case Archive::RecentState::kNoArchive:
        state = kMsgRecentNoArchive;
        break;
    }
    if (state != 0) shown += QLatin1Char(' ') + platform::ToQt(GetMessageText(state));
    recent_->addItem(shown);
  }
  recent_->setCurrentIndex(names.empty() ? -1 : 0);
  recent_->setEditText(names.empty() ? QString()
                                     : platform::PathToQt(ArchivePathDisplay(names.front())));
  fillingCombo_ = false;
}

bool ArchiveView::RefuseChange() const {
  if (!archive_.IsIndexBuilt() || !archive_.IsDamaged()) return false;
  ShowMessage(kMsgDamagedReadOnly);
  return true;
}

void ArchiveView::ArchiveChanged() {
  CloseSearch();
  FillRecentCombo();
  RefillList(true);
  UpdateCaption();
  ShowSelectedCount(0);
}

// --- Choosing the archive ---

void ArchiveView::OnSelectArchive() {
  if (!BeforeArchiveChange()) return;
  std::string text = platform::PathFromQt(recent_->currentText().trimmed());
  if (!text.empty() && !HasFileExtension(text)) text += ".arc";
  const std::vector<std::string>& names = archive_.Recent().RecentNames();
  // The name shown for the current archive (or nothing) asks for a file instead.
  if (!text.empty() && (names.empty() || text != ArchivePathDisplay(names.front()))) {
    if (archive_.OpenByName(text) != 0 && !Archive::IsArchiveFile(text)) {
      FillRecentCombo();  // message 477 was shown; nothing changed
      return;
    }
  } else {
    const std::string before = archive_.GetPath();
    const bool listed = archive_.IsIndexBuilt();
    // Cancelled or refused, nothing changed. A file made current whose index could not be built
    // (it was told) leaves no rows of the archive before it: the list is refilled.
    if (archive_.Import().OpenOtherArchive() == 0 && archive_.GetPath() == before &&
        archive_.IsIndexBuilt() == listed) {
      FillRecentCombo();
      return;
    }
  }
  ArchiveChanged();
}

void ArchiveView::OnRecentChosen(int k) {
  const std::vector<std::string>& names = archive_.Recent().RecentNames();
  if (k < 0 || k >= static_cast<int>(names.size())) return;
  if (!Archive::IsArchiveFile(names[static_cast<std::size_t>(k)])) {
    ReportStatus(Status::Message(kMsgNotAnArchive, names[static_cast<std::size_t>(k)]));
    FillRecentCombo();
    return;
  }
  if (!BeforeArchiveChange()) return;
  archive_.SelectRecentArchive(k);
  ArchiveChanged();
}

void ArchiveView::OnRemoveRecent(int k) {
  // The current archive stays in the list while it is open.
  if (k <= 0 && archive_.IsIndexBuilt()) return;
  archive_.Recent().RemoveRecentName(k);
  FillRecentCombo();
}

// --- Record commands ---

void ArchiveView::OnDelete() {
  if (RefuseChange()) return;
  if (SyncSelection(ArchiveBrowserList::Sync::kListToMarks) == 0) {
    ShowMessage(kMsgChooseChart);
    return;
  }
  archive_.Records().Delete(true);
  RefillList(true);
  SyncSelection(ArchiveBrowserList::Sync::kMarksToList);
  ShowSelectedCount(List().SelectedCount());
  if (!archive_.IsIndexBuilt()) ArchiveChanged();  // the last record went with the file's index
}

void ArchiveView::OnCopy(bool move) {
  if (move && RefuseChange()) return;
  if (SyncSelection(ArchiveBrowserList::Sync::kListToMarks) == 0) {
    ShowMessage(kMsgChooseChart);
    return;
  }
  std::string target;
  int exists = 0, layout = 0;
  if (archive_.Records().ChooseDestinationFile(target, exists, layout) != 0) return;
  const int focused = List().CurrentRow();
  archive_.Records().CopyToArchive(target, exists, layout, move, false);
  FillRecentCombo();
  RefillList(true);
  if (!move && focused >= 0 && focused < List().RecordRowCount()) {
    List().SetSelected(focused, true);
    List().SetCurrentRow(focused);
    List().EnsureVisible(focused, list_->VisibleRows());
  } else if (move && !List().IsEmptyArchive()) {
    List().SetCurrentRow(0);
  }
  list_->Changed();
  ShowSelectedCount(List().SelectedCount());
}

void ArchiveView::OnOrder() {
  if (RefuseChange()) return;
  if (archive_.Index().NeedsOrdering() == 0) {
    ShowMessage(kMsgAlreadyOrdered);
    return;
  }
  archive_.Records().Order();
  RefillList(true);
  ShowSelectedCount(0);
}

void ArchiveView::OnConvert() {
  if (RefuseChange()) return;
  CloseSearch();
  if (archive_.LayoutCode() == kLayout4400)
    archive_.Records().ConvertTo43();
  else
    archive_.Records().ConvertTo44();
  RefillIfReread();
  UpdateConvertCaption();
  Button(kIdComment)->setEnabled(!List().IsEmptyArchive() && archive_.LayoutCode() == kLayout4400);
}

void ArchiveView::OnCopyWholeArchive() {
  if (!BeforeArchiveChange()) return;
  AllExpFormats formats;
  formats.Load();
  if (formats.Count() == 0)
    platform::GetPrompter().ShowMessage(
        platform::kNoMessage,
        MissingDataText(
            "Форматов экспорта", g_DataFileNames[kDataExportFormats],
            "Архив можно только скопировать; форматы создает команда \"Конфигурация > Форматы "
            "экспорта архивов\"."),
        platform::Icon::Information);
  platform::FileChoice choice =
      ArchiveFileChoice(false, ArchiveFilter::kVersion4, archive_.DialogFolder());
  for (int f = 0; f < formats.Count(); ++f) {
    const ExportFormat& format = formats.Format(f);
    choice.filters.push_back(
        {format.name + "(*." + format.extension + ")", "*." + format.extension});
  }
  choice.filterIndex = 1;
  if (!platform::GetPrompter().ChooseFile(choice) || choice.path.empty()) return;
  if (choice.filterIndex >= 2 && choice.filterIndex - 2 < formats.Count()) {
    archive_.Export().ExportArchive(choice.path, choice.filterIndex - 2, formats);
    return;
  }
  archive_.Records().CopyWholeArchive(choice.path);
  FillRecentCombo();
}

void ArchiveView::OnSettings() {
  DARCHIVEPAR dialog(archive_, this);
  dialog.DoModal();
}

void ArchiveView::OnSelectAll() {
  const int n = List().SelectAll();
  list_->Changed();
  ShowSelectedCount(n);
}

void ArchiveView::OnSelectNone() {
  List().SelectNone();
  list_->Changed();
  ShowSelectedCount(0);
}

void ArchiveView::OnInvert() {
  const int n = List().InvertSelection();
  list_->Changed();
  ShowSelectedCount(n);
}

void ArchiveView::OnUpDown(bool up) {
  if (List().SelectedCount() != 1) {
    ShowMessage(kMsgUpDownOneOnly);
    return;
  }
  if (RefuseChange()) return;
  SyncSelection(ArchiveBrowserList::Sync::kListToMarks);
  archive_.Records().ChartUpDown(up);
  if (RefillIfReread()) return;
  SyncSelection(ArchiveBrowserList::Sync::kMarksToList);
  const int row = List().FirstSelectedRow();
  if (row >= 0) {
    List().SetCurrentRow(row);
    List().EnsureVisible(row, list_->VisibleRows());
  }
  list_->Changed();
}

void ArchiveView::OnQuery() {
  if (!queryCommand) return;
  CloseSearch();
  SyncSelection(ArchiveBrowserList::Sync::kListToMarks);
  const bool load = queryCommand(this);
  // A run over a list of archives made others current on the way and indexed this one anew.
  FillRecentCombo();
  RefillList(false);
  UpdateCaption();
  ShowSelectedCount(SyncSelection(ArchiveBrowserList::Sync::kMarksToList));
  if (load) QDialog::accept();
}

void ArchiveView::OnStatistics() {
  if (!statisticsCommand) return;
  CloseSearch();
  if (!statisticsCommand(this)) return;
  const int marked = SyncSelection(ArchiveBrowserList::Sync::kListToMarks);
  if (GetConfiguration().GetStatisticsSettings().selectedRecords != 0 && marked == 0) {
    ShowMessage(kMsgStatSelectSome);
    return;
  }
  statisticsRequested = true;
  QDialog::reject();
}

void ArchiveView::OnSort() {
  DArcSort dialog(this);
  dialog.params = ArchiveSortParams::FromBlock(GetConfiguration().archiveSort);
  if (dialog.DoModal() != platform::kIdOk) return;
  const ArchiveSortParams params = dialog.params;
  params.ToBlock(GetConfiguration().archiveSort);
  PublishSettings();
  // A damaged archive can be sorted into a new one, never in place.
  if (!params.newArchive && RefuseChange()) return;
  CloseSearch();
  archive_.ClearMarks();
  List().SelectNone();
  const std::string former = archive_.GetPath();
  if (archive_.Sorting().BreakToClasses(params) != 0 ||
      archive_.Sorting().OrderClasses(params) != 0)
    ShowMessage(kMsgSortCancelled);
  archive_.Sorting().FreeClasses();
  if (archive_.GetPath() != former) {
    ArchiveChanged();
    return;
  }
  RefillList(true);
  ShowSelectedCount(0);
}

void ArchiveView::OnComment() {
  const int row = List().FirstSelectedRow();
  if (archive_.IsIndexBuilt()) archive_.ClearMarks();
  if (const int record = List().RecordOfRow(row); record >= 0) archive_.Entry(record).mark = 'Y';
  archive_.browserVariant = 0;
  QDialog::reject();
}

void ArchiveView::OnPrint() {
  const int marked = SyncSelection(ArchiveBrowserList::Sync::kListToMarks);
  DARCPRINT dialog(marked > 0, archive_.LayoutCode() == kLayout4400, this);
  Configuration& config = GetConfiguration();
  dialog.params = ArchivePrintParams::FromBlock(config.archivePrint);
  if (dialog.DoModal() != platform::kIdOk) return;
  ArchivePrintParams params = dialog.params;
  ShowArchivePrintHint(params, config.launchCounter);
  params.ToBlock(config.archivePrint);
  printRequested = true;
  QDialog::reject();
}

// --- Search ---

namespace {

// The rectangle a window takes on the screen with its frame. Until the window manager has framed
// a window just shown, its frame holds no title bar yet: one is then counted above the window, so
// that a window placed at the screen's foot does not run off it.
QRect FramedRect(const QWidget& window) {
  QRect framed = window.frameGeometry();
  const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  if (window.geometry().top() - framed.top() < titleBar)
    framed.setTop(window.geometry().top() - titleBar);
  return framed;
}

}  // namespace

void ArchiveView::OnSearch() {
  if (search_) return;
  List().SelectNone();
  list_->Changed();
  search_ = new DArchiveSearch(*this, archive_.Index());
  search_->OnInitDialog();
  search_->show();
  // Beside the browser; where the screen has no room for that, over the browser's foot (a found
  // row is scrolled to the list's top) and moved off each row it finds.
  const QRect area = screen()->availableGeometry();
  const QRect owner = frameGeometry();
  const QRect framed = FramedRect(*search_);
  const QSize size = framed.size();
  QRect place = SearchPlaceBeside(owner, size, area);
  if (place.isEmpty())
    place = QRect(
        QPoint(std::max(area.left(), std::min(owner.right(), area.right()) - size.width() + 1),
               area.bottom() - size.height() + 1),
        size);
  search_->move(place.topLeft());  // the corner of the frame
}

void ArchiveView::CloseSearch() {
  if (!search_) return;
  DArchiveSearch* dialog = search_;
  search_ = nullptr;
  dialog->hide();
  dialog->deleteLater();
}

int ArchiveView::Find(int mode, int remembered) {
  // The criteria the search dialog stored and published.
  const ArchiveMatcher matcher(
      archive_.Index(), archive_.Comments(),
      ArchiveSearchCriteria::FromBlock(ChartContext::FromCurrentSettings().Config().archiveSearch));
  const ArchiveFindResult result =
      ArchiveFind(archive_.Index(), List(), matcher, static_cast<ArchiveFindMode>(mode), remembered,
                  list_->VisibleRows());
  // A list found stale was read again (and said so): its fresh rows, nothing searched.
  if (RefillIfReread()) return -1;
  list_->Changed();
  // The count follows the rows the search took, and the dialog stays off the row it found.
  ShowSelectedCount(List().SelectedCount());
  if (search_ != nullptr && result.found && result.row >= 0) {
    const QRect frame = FramedRect(*search_);
    const QRect moved =
        SearchPlaceOffRow(frame, list_->RowOnScreen(result.row), screen()->availableGeometry());
    if (moved != frame) search_->move(moved.topLeft());
  }
  if (!result.found) {
    ShowMessage(kMsgNotFound);
  } else if (mode == static_cast<int>(ArchiveFindMode::kAll)) {
    const std::string text = GetMessageText(kMsgFoundCount) + " - " + std::to_string(result.count);
    platform::GetPrompter().ShowMessage(kMsgFoundCount, text, platform::Icon::Information);
  }
  return result.row;
}

// --- Ending ---

bool ArchiveView::CheckOk() {
  if (!noChoiceNeeded) {
    const int selected = List().IsEmptyArchive() ? 0 : List().SelectedCount();
    if (selected == 0) {
      ShowMessage(kMsgChooseChart);
      return false;
    }
    if (selected > 1) {
      ShowMessage(kMsgMoreThanOne);
      return false;
    }
  }
  if (SyncSelection(ArchiveBrowserList::Sync::kListToMarks) == 0) {
    ShowMessage(kMsgChooseChart);
    return false;
  }
  return true;
}

void ArchiveView::reject() { QDialog::reject(); }

void ArchiveView::done(int result) {
  CloseSearch();
  endResult_ = result == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
  QDialog::done(result);
}
