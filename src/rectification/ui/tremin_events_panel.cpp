#include "rectification/ui/tremin_events_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "rectification/core/life_event_list.h"
#include "rectification/ui/rect_events_list_box.h"
#include "rectification/ui/rect_setup_dialogs.h"

namespace {

// The list shows the planets' and the houses' glyphs; the method uses the houses.
constexpr int kListMode = 0;

}  // namespace

TreminEventsPanel::TreminEventsPanel(const TreminEventFiles& files, int eventKind, bool sortByDate,
                                     bool sortByText, QWidget* parent)
    : QWidget(parent),
      files_(files),
      editor_(*files.events, files.eventsFile),
      eventKind_(eventKind),
      sortByDate_(sortByDate),
      sortByText_(sortByText && !sortByDate) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  list_ = new CRectEventsListBox(kListMode, this);
  list_->setMinimumWidth(360);
  layout->addWidget(list_, 1);
  auto* commands = new QVBoxLayout;
  const auto button = [&](int id, const char* text, void (TreminEventsPanel::*handler)()) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    connect(b, &QPushButton::clicked, this, handler);
    commands->addWidget(b);
    buttons_.emplace_back(id, b);
  };
  button(kIdAdd, "ДОБАВИТЬ СОБЫТИЕ", &TreminEventsPanel::OnAdd);
  button(kIdEdit, "РЕДАКТИРОВАТЬ СОБЫТИЕ", &TreminEventsPanel::OnEdit);
  button(kIdRemove, "УБРАТЬ СОБЫТИЕ", &TreminEventsPanel::OnRemove);
  button(kIdSwitch, "ВКЛ./ВЫКЛ. СОБЫТИЕ", &TreminEventsPanel::OnSwitch);
  byDate_ = new QCheckBox(QStringLiteral("Хронологический порядок"), this);
  byText_ = new QCheckBox(QStringLiteral("Порядок по алфавиту"), this);
  connect(byDate_, &QCheckBox::clicked, this, &TreminEventsPanel::OnByDate);
  connect(byText_, &QCheckBox::clicked, this, &TreminEventsPanel::OnByText);
  commands->addWidget(byDate_);
  commands->addWidget(byText_);
  button(kIdExport, "Экспорт (в рект-ию по событиям)", &TreminEventsPanel::OnExport);
  commands->addStretch();
  layout->addLayout(commands);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });

  byDate_->setChecked(sortByDate_);
  byText_->setChecked(sortByText_);
  int select = files_.events->Count() > 0 ? 0 : -1;
  editor_.SetSortOrder(sortByDate_, sortByText_, select);
  Refill(select);
}

QPushButton* TreminEventsPanel::Button(int id) const {
  for (const auto& [key, b] : buttons_)
    if (key == id) return b;
  return nullptr;
}

void TreminEventsPanel::EnableEventControls(bool enabled) {
  list_->setEnabled(enabled);
  for (int id : {kIdEdit, kIdRemove, kIdSwitch, kIdExport}) Button(id)->setEnabled(enabled);
}

void TreminEventsPanel::Refill(int select) {
  list_->Fill(*files_.events, select);
  if (onCountChanged_) onCountChanged_();
}

void TreminEventsPanel::ShowFailure(const Status& st) {
  if (st.ok()) return;
  if (st.MessageNumber() != 0 && st.ErrorCode() == 0)
    ShowMessage(st.MessageNumber());
  else
    ReportStatus(st, "DTreminRectConf");
}

void TreminEventsPanel::ApplyOrder() {
  int select = list_->currentRow();
  editor_.SetSortOrder(sortByDate_, sortByText_, select);
  Refill(select);
}

void TreminEventsPanel::OnAdd() {
  if (const auto select =
          AddListedEvent(editor_, list_->currentRow(), eventKind_, this, "DTreminRectConf"))
    Refill(*select);
}

void TreminEventsPanel::OnEdit() {
  if (const auto select =
          EditListedEvent(editor_, list_->currentRow(), eventKind_, this, "DTreminRectConf"))
    Refill(*select);
}

void TreminEventsPanel::OnRemove() {
  if (const auto select = RemoveListedEvent(editor_, list_->currentRow(), "DTreminRectConf"))
    Refill(*select);
}

void TreminEventsPanel::OnSwitch() {
  if (const auto select = ToggleListedEvent(editor_, list_->currentRow(), "DTreminRectConf"))
    Refill(*select);
}

void TreminEventsPanel::OnByDate() {
  sortByDate_ = byDate_->isChecked();
  if (sortByDate_) sortByText_ = false;
  byText_->setChecked(sortByText_);
  ApplyOrder();
}

void TreminEventsPanel::OnByText() {
  sortByText_ = byText_->isChecked();
  if (sortByText_) sortByDate_ = false;
  byDate_->setChecked(sortByDate_);
  ApplyOrder();
}

void TreminEventsPanel::OnExport() {
  if (files_.rectification == nullptr) return;
  const Status st =
      editor_.Transfer(list_->currentRow(), *files_.rectification, files_.rectificationFile);
  if (st.ok())
    ShowMessage(kMsgEventTransferred, platform::Icon::Information);
  else
    ShowFailure(st);
}
