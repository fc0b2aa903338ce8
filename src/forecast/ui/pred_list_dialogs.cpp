#include "forecast/ui/pred_list_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "forecast/core/pred_list_print.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"

namespace {

using List = cfg::PredictionListSettings;

constexpr int kListBoxFontSize = 90;  // tenths of a point: the dialog's own font
constexpr int kListBoxWidth = 560;
constexpr int kListHeadHeight = 18;  // pixels: the line of column names

QPushButton* Button(QWidget* owner, const char* text, int id) {
  auto* button = new QPushButton(QString::fromUtf8(text), owner);
  button->setObjectName(QStringLiteral("button%1").arg(id));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

void StorePredListName(Configuration& config, std::string_view name) {
  config.predictionList.Set(List::kListName, name.substr(0, kMaxStoredListName));
}

void StorePredListPrintValues(Configuration& config, int fontSize, int interval) {
  config.predictionList.Set(List::kPrintFontSize, static_cast<std::int32_t>(fontSize));
  config.predictionList.Set(List::kPrintInterval, static_cast<std::int32_t>(interval));
}

// --- DPREDLIST_TRANSFER ---------------------------------------------------------------------

DPREDLIST_TRANSFER::DPREDLIST_TRANSFER(int clickedEvent, const std::filesystem::path& folder,
                                       std::string_view lastUsed, QWidget* parent)
    : platform::Dialog(parent), page_(clickedEvent, folder, lastUsed) {
  setWindowTitle(QStringLiteral("Добавление данных в список аспектов "));
  auto* layout = new QVBoxLayout(this);
  QBoxLayout* countLayout = nullptr;
  QGroupBox* countBox = platform::Box(this, "Число добавляемых аспектов", countLayout);
  count_ = platform::AddChoices(this, countLayout, {"Все аспекты", "Один аспект"});
  layout->addWidget(countBox);

  auto* grid = new QGridLayout;
  target_ = new QButtonGroup(this);
  auto* existing = new QRadioButton(QStringLiteral("Добавить в существующий список"), this);
  auto* fresh = new QRadioButton(QStringLiteral("Создать новый список"), this);
  target_->addButton(existing, PredListTransferPage::kExisting);
  target_->addButton(fresh, PredListTransferPage::kNew);
  lists_ = new QComboBox(this);
  nameLabel_ = new QLabel(QStringLiteral("Название нового списка:"), this);
  name_ = new QLineEdit(this);
  name_->setMaxLength(static_cast<int>(kMaxNewListName));
  name_->setValidator(new platform::Cp1251Validator(name_));
  grid->addWidget(existing, 0, 0, 1, 2);
  grid->addWidget(lists_, 1, 1);
  grid->addWidget(fresh, 2, 0, 1, 2);
  grid->addWidget(nameLabel_, 3, 0);
  grid->addWidget(name_, 3, 1);
  layout->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  QPushButton* add = Button(this, "Просто добавить", platform::kIdOk);
  QPushButton* addOpen = Button(this, "Добавить и открыть список", 1);
  QPushButton* cancel = Button(this, "Отменить", platform::kIdCancel);
  add->setDefault(true);
  buttons->addWidget(add);
  buttons->addWidget(addOpen);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(add, &QPushButton::clicked, this, [this] { Close(false); });
  connect(addOpen, &QPushButton::clicked, this, [this] { Close(true); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(target_, &QButtonGroup::idClicked, this, [this](int id) {
    page_.target = id;
    Enable();
  });
}

void DPREDLIST_TRANSFER::Enable() {
  for (QAbstractButton* b : count_->buttons()) b->setEnabled(page_.CountEnabled());
  if (auto* group = qobject_cast<QWidget*>(count_->buttons().front()->parent()))
    group->setEnabled(page_.CountEnabled());
  target_->button(PredListTransferPage::kExisting)->setEnabled(page_.ExistingEnabled());
  lists_->setEnabled(page_.ListChoiceEnabled());
  name_->setEnabled(page_.NewNameEnabled());
  nameLabel_->setEnabled(page_.NewNameEnabled());
}

bool DPREDLIST_TRANSFER::DoDataExchange(bool save) {
  if (save) {
    page_.countChoice = platform::Checked(count_, PredListTransferPage::kAllEvents);
    page_.target = platform::Checked(target_, page_.target);
    page_.selectedList = std::max(0, lists_->currentIndex());
    page_.newName = platform::FromQt(name_->text());
    return true;
  }
  lists_->clear();
  for (const PredListFile& list : page_.Lists()) lists_->addItem(platform::ToQt(list.name));
  lists_->setCurrentIndex(page_.Lists().empty() ? -1 : page_.selectedList);
  platform::Check(count_, page_.countChoice);
  platform::Check(target_, page_.target);
  name_->setText(platform::ToQt(page_.newName));
  Enable();
  return true;
}

bool DPREDLIST_TRANSFER::CheckOk() {
  const Status st = page_.Accept(openList_);
  if (st.ok()) return true;
  ShowMessage(st.MessageNumber());
  return false;
}

bool DPREDLIST_TRANSFER::Close(bool openList) {
  openList_ = openList;
  if (!DoDataExchange(true) || !CheckOk()) return false;
  QDialog::accept();
  return true;
}

// --- CPredListBox ---------------------------------------------------------------------------

namespace {

class PredListDelegate : public QStyledItemDelegate {
 public:
  explicit PredListDelegate(CPredListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const std::vector<PredListRecord>* records = box_->Records();
    const auto row = static_cast<std::size_t>(index.row());
    if (records == nullptr || row >= records->size()) return;
    painter->save();
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), kListBoxFontSize});
    const QColor base = option.palette.base().color();
    const QRect r = option.rect;
    forecast::DrawPredListItem(dc, {r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                               (*records)[row], (option.state & QStyle::State_Selected) != 0,
                               platform::Color{static_cast<std::uint8_t>(base.red()),
                                               static_cast<std::uint8_t>(base.green()),
                                               static_cast<std::uint8_t>(base.blue())});
    painter->restore();
  }

  // As wide as the columns, so the list scrolls sideways rather than cut them.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), 18));
    size.setWidth(std::max(size.width(), LineWidth()));
    return size;
  }

  static int LineWidth() {
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    platform::QtDc dc(painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), kListBoxFontSize});
    return forecast::PredListLineWidth(dc);
  }

 private:
  CPredListBox* box_;
};

// The column names over the lines, at the columns the delegate draws them in; it follows the
// list's horizontal scrolling.
class PredListHead : public QWidget {
 public:
  explicit PredListHead(CPredListBox* box) : QWidget(box), box_(box) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    platform::QtDc dc(painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), kListBoxFontSize});
    const QColor base = palette().window().color();
    const int left = -box_->horizontalScrollBar()->value();
    forecast::DrawPredListHead(dc, {left, 0, left + box_->viewport()->width(), height()},
                               platform::Color{static_cast<std::uint8_t>(base.red()),
                                               static_cast<std::uint8_t>(base.green()),
                                               static_cast<std::uint8_t>(base.blue())});
  }

 private:
  CPredListBox* box_;
};

}  // namespace

CPredListBox::CPredListBox(QWidget* parent) : QListWidget(parent), head_(new PredListHead(this)) {
  setItemDelegate(new PredListDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Its lines whole beside a vertical scroll bar.
  setMinimumWidth(std::max(kListBoxWidth, PredListDelegate::LineWidth() + 2 * frameWidth() +
                                              verticalScrollBar()->sizeHint().width()));
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setViewportMargins(0, kListHeadHeight, 0, 0);
}

void CPredListBox::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  const QRect lines = viewport()->geometry();
  head_->setGeometry(lines.left(), lines.top() - kListHeadHeight, lines.width(), kListHeadHeight);
}

void CPredListBox::scrollContentsBy(int dx, int dy) {
  QListWidget::scrollContentsBy(dx, dy);
  if (dx != 0) head_->update();
}

void CPredListBox::Fill(const std::vector<PredListRecord>& records, int select) {
  const QSignalBlocker block(this);
  records_ = &records;
  clear();
  for (const PredListRecord& r : records)
    addItem(platform::ToQt(PredMomentText(r.when, r.showTime == 'Y')));
  setCurrentRow(select >= 0 && select < count() ? select : -1);
}

// --- DPREDICT_LIST --------------------------------------------------------------------------

DPREDICT_LIST::DPREDICT_LIST(const std::filesystem::path& folder, QWidget* parent)
    : platform::Dialog(parent), page_(folder) {
  setWindowTitle(QStringLiteral("Список событий для прогноза"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Список:"), this));
  lists_ = new QComboBox(this);
  top->addWidget(lists_, 1);
  QPushButton* deleteList = Button(this, "Удалить", kIdcDeleteList);
  top->addWidget(deleteList);
  layout->addLayout(top);

  auto* middle = new QHBoxLayout;
  events_ = new CPredListBox(this);
  middle->addWidget(events_, 1);
  auto* side = new QVBoxLayout;
  QPushButton* del = Button(this, "Удалить", kIdcDeleteEvent);
  QPushButton* up = Button(this, "Вверх", kIdcEventUp);
  QPushButton* down = Button(this, "Вниз", kIdcEventDown);
  QPushButton* status = Button(this, "Статус", kIdcEventStatus);
  QPushButton* sort = Button(this, "Упорядочить", kIdcSortEvents);
  for (QPushButton* b : {del, up, down, status, sort}) side->addWidget(b);
  side->addStretch();
  middle->addLayout(side);
  layout->addLayout(middle, 1);

  layout->addWidget(new QLabel(QStringLiteral("Комментарий:"), this));
  comment_ = new QLineEdit(this);
  comment_->setMaxLength(static_cast<int>(PredictListPage::kCommentLength));
  comment_->setValidator(new platform::Cp1251Validator(comment_));
  layout->addWidget(comment_);

  auto* print = new QHBoxLayout;
  print->addWidget(new QLabel(QStringLiteral("Размер шрифта:"), this));
  fontSize_ =
      platform::NumberBox(this, PredictListPage::kMinFontSize, PredictListPage::kMaxFontSize);
  print->addWidget(fontSize_);
  print->addWidget(new QLabel(QStringLiteral("Интервал:"), this));
  interval_ = new QDoubleSpinBox(this);
  interval_->setRange(PredictListPage::kMinInterval, PredictListPage::kMaxInterval);
  interval_->setDecimals(2);
  interval_->setSingleStep(0.1);
  print->addWidget(interval_);
  QPushButton* printButton = Button(this, "Печать", kIdcPrintList);
  print->addWidget(printButton);
  print->addStretch();
  layout->addLayout(print);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* ok = Button(this, "OK", platform::kIdOk);
  QPushButton* cancel = Button(this, "Отменить", platform::kIdCancel);
  ok->setDefault(true);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &DPREDICT_LIST::accept);
  connect(cancel, &QPushButton::clicked, this, &DPREDICT_LIST::reject);
  connect(deleteList, &QPushButton::clicked, this, &DPREDICT_LIST::OnDeleteList);
  connect(del, &QPushButton::clicked, this, &DPREDICT_LIST::OnDeleteEvent);
  connect(up, &QPushButton::clicked, this, &DPREDICT_LIST::OnUp);
  connect(down, &QPushButton::clicked, this, &DPREDICT_LIST::OnDown);
  connect(status, &QPushButton::clicked, this, &DPREDICT_LIST::OnStatus);
  connect(sort, &QPushButton::clicked, this, &DPREDICT_LIST::OnSort);
  connect(printButton, &QPushButton::clicked, this, &DPREDICT_LIST::OnPrint);
  connect(lists_, &QComboBox::activated, this, &DPREDICT_LIST::OnChooseList);
  connect(events_, &QListWidget::currentRowChanged, this, &DPREDICT_LIST::OnSelectEvent);
}

bool DPREDICT_LIST::Open(const Configuration& config) {
  const bool opened = page_.Open(config.predictionList.Get(List::kListName),
                                 config.predictionList.Get(List::kPrintFontSize),
                                 config.predictionList.Get(List::kPrintInterval));
  Show();
  return opened;
}

void DPREDICT_LIST::Show() {
  showing_ = true;
  {
    const QSignalBlocker block(lists_);
    lists_->clear();
    for (const PredListFile& list : page_.Lists()) lists_->addItem(platform::ToQt(list.name));
    lists_->setCurrentIndex(page_.CurrentList());
  }
  events_->Fill(page_.Records(), page_.Current());
  events_->viewport()->update();
  comment_->setText(platform::ToQt(page_.comment));
  fontSize_->setValue(page_.fontSize);
  interval_->setValue(page_.interval);
  showing_ = false;
}

void DPREDICT_LIST::Take() {
  page_.comment = platform::FromQt(comment_->text());
  page_.fontSize = fontSize_->value();
  page_.interval = interval_->value();
}

void DPREDICT_LIST::OnSelectEvent(int i) {
  if (showing_) return;
  Take();
  page_.SelectRecord(i);
  comment_->setText(platform::ToQt(page_.comment));
}

void DPREDICT_LIST::OnChooseList(int k) {
  Take();
  page_.ChooseList(k);  // a failed save is reported and keeps the current list
  Show();
}

void DPREDICT_LIST::OnDeleteEvent() {
  Take();
  page_.DeleteRecord();
  Show();
}

void DPREDICT_LIST::OnUp() {
  Take();
  page_.MoveUp();
  Show();
}

void DPREDICT_LIST::OnDown() {
  Take();
  page_.MoveDown();
  Show();
}

void DPREDICT_LIST::OnStatus() {
  Take();
  page_.ToggleStatus();
  Show();
}

void DPREDICT_LIST::OnSort() {
  Take();
  page_.Sort();
  Show();
}

void DPREDICT_LIST::OnDeleteList() {
  Take();
  if (page_.DeleteList() == PredictListPage::Outcome::kClosedCancel) {
    QDialog::reject();
    return;
  }
  Show();
}

void DPREDICT_LIST::OnPrint() {
  Take();
  toPrint_ = page_.Print();
  if (!toPrint_) return;
  StorePredListPrintValues(GetConfiguration(), page_.StoredFontSize(), page_.StoredInterval());
  QDialog::accept();
}

void DPREDICT_LIST::accept() {
  Take();
  if (page_.Ok() != PredictListPage::Outcome::kClosedOk) return;
  StorePredListPrintValues(GetConfiguration(), page_.StoredFontSize(), page_.StoredInterval());
  QDialog::accept();
}

void DPREDICT_LIST::reject() {
  Take();
  if (page_.Cancel() == PredictListPage::Outcome::kClosedCancel) QDialog::reject();
}
