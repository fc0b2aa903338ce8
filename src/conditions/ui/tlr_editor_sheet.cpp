#include "conditions/ui/tlr_editor_sheet.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "conditions/ui/condition_wizard.h"
#include "conditions/ui/groups_dialog.h"
#include "conditions/ui/tlr_output.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr int kMaxGroupName = 100;

QPushButton* Button(QWidget* owner, const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromUtf8(text), owner);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

}  // namespace

// --- The sheet ---

MyPropertySheet::MyPropertySheet(const QString& caption, QWidget* parent, int firstPage)
    : platform::PropertySheet(caption, parent), firstPage_(firstPage) {}

void MyPropertySheet::OnInitDialog() {
  if (firstPage_ >= 0 && firstPage_ < PageCount()) Page(firstPage_)->OnSetActive();
}

// --- DTLR_GROUP ---

DTLR_GROUP::DTLR_GROUP(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("Ввод/редактирование группы текстов"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  name_ = new QLineEdit(this);
  name_->setMaxLength(kMaxGroupName);
  name_->setValidator(new platform::Cp1251Validator(name_));
  priority_ = platform::NumberBox(this, 0, 99);
  form->addRow(QStringLiteral("Название группы"), name_);
  form->addRow(QStringLiteral("Приоритет"), priority_);
  layout->addLayout(form);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

bool DTLR_GROUP::DoDataExchange(bool save) {
  if (save) {
    name = platform::FromQt(name_->text());
    priority = priority_->value();
  } else {
    name_->setText(platform::ToQt(name));
    priority_->setValue(priority);
  }
  return true;
}

bool DTLR_GROUP::CheckOk() {
  const int refusal = CheckTlrGroupParams(name);
  if (refusal != 0) ShowMessage(refusal);
  return refusal == 0;
}

// --- DTLR_TEXTPAR ---

DTLR_TEXTPAR::DTLR_TEXTPAR(const TLRBASE& base, int editing, QWidget* parent)
    : platform::Dialog(parent), base_(base), editing_(editing) {
  setWindowTitle(QStringLiteral("Параметры текста"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  title_ = new QLineEdit(this);
  title_->setMaxLength(TlrTextsPage::kMaxTitle);
  title_->setValidator(new platform::Cp1251Validator(title_));
  form->addRow(QStringLiteral("Название текста"), title_);
  layout->addLayout(form);
  body_ = new QPlainTextEdit(this);
  body_->setMinimumSize(460, 260);
  layout->addWidget(body_, 1);
  auto* row = new QHBoxLayout;
  QPushButton* paste = Button(this, "Взять текст из буфера", "paste");
  QPushButton* load = Button(this, "Взять текст из файла", "load");
  row->addWidget(paste);
  row->addWidget(load);
  layout->addLayout(row);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
  connect(paste, &QPushButton::clicked, this, [this] { OnPaste(); });
  connect(load, &QPushButton::clicked, this, [this] { OnLoadFile(); });
}

bool DTLR_TEXTPAR::DoDataExchange(bool save) {
  if (save) {
    title = platform::FromQt(title_->text());
    bodyFits_ = platform::FitsCp1251(body_->toPlainText());
    body = platform::FromQt(body_->toPlainText());
  } else {
    title_->setText(platform::ToQt(title));
    body_->setPlainText(platform::ToQt(body));
  }
  return true;
}

bool DTLR_TEXTPAR::CheckOk() {
  const int refusal =
      bodyFits_ ? CheckTlrTextParams(base_, title, body, editing_) : kMsgTextNotInCodePage;
  if (refusal != 0) ShowMessage(refusal);
  return refusal == 0;
}

void DTLR_TEXTPAR::OnPaste() {
  // Only what code page 1251 can hold is taken.
  body_->insertPlainText(
      platform::ToQt(platform::FromQt(QApplication::clipboard()->text(QClipboard::Clipboard))));
}

void DTLR_TEXTPAR::OnLoadFile() {
  platform::FileChoice choice;
  choice.filters = {{GetMessageText(kMsgTlrTextFilter), "*.txt"}};
  if (!platform::GetPrompter().ChooseFile(choice) || choice.path.empty()) return;
  std::string loaded;
  if (LoadTlrBodyFromFile(choice.path, loaded) == 0) body_->setPlainText(platform::ToQt(loaded));
}

// --- The dialogs in windows ---

bool WindowTlrDialogs::AskGroup(std::string& name, int& priority) {
  DTLR_GROUP dialog(parent_);
  dialog.name = name;
  dialog.priority = priority;
  if (dialog.DoModal() != platform::kIdOk) return false;
  name = dialog.name;
  priority = dialog.priority;
  return true;
}

bool WindowTlrDialogs::AskText(std::string& title, std::string& body) {
  if (data_.current < 0 || data_.current >= data_.Count()) return false;
  DTLR_TEXTPAR dialog(data_.bases[static_cast<std::size_t>(data_.current)], editing, parent_);
  dialog.title = title;
  dialog.body = body;
  if (dialog.DoModal() != platform::kIdOk) return false;
  title = dialog.title;
  body = dialog.body;
  return true;
}

int WindowTlrDialogs::AddCondition(CFunc& set) { return RunConditionWizard(set, parent_); }
int WindowTlrDialogs::EditCondition(CFunc& set, int index) {
  return ::EditCondition(set, index, parent_);
}
void WindowTlrDialogs::EditGroups(CFunc& set) { (void)RunGroupsDialog(set.groups, parent_); }

// --- DTlrFiles ---

DTlrFiles::DTlrFiles(TLRDATA& data, TlrEditorDialogs& dialogs, QWidget* parent)
    : platform::PropertyPage(parent), data_(data), model_(data, dialogs) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  auto* layout = new QGridLayout(this);
  bases_ = new CTlrFilesListBox(data_, 0, this);
  groups_ = new CTlrFilesListBox(data_, 1, this);
  addBase_ = Button(this, "ДОБАВИТЬ", "addBase");
  removeBase_ = Button(this, "УДАЛИТЬ", "removeBase");
  flipBase_ = Button(this, "ВКЛ/ВЫКЛ", "flipBase");
  addGroup_ = Button(this, "ДОБАВИТЬ", "addGroup");
  editGroup_ = Button(this, "РЕДАКТИРОВАТЬ", "editGroup");
  removeGroup_ = Button(this, "УДАЛИТЬ", "removeGroup");
  flipGroup_ = Button(this, "ВКЛ/ВЫКЛ", "flipGroup");
  layout->addWidget(new QLabel(QStringLiteral("Базы с текстами"), this), 0, 0);
  layout->addWidget(bases_, 1, 0);
  auto* baseButtons = new QHBoxLayout;
  for (QPushButton* b : {addBase_, removeBase_, flipBase_}) baseButtons->addWidget(b);
  layout->addLayout(baseButtons, 2, 0);
  layout->addWidget(new QLabel(QStringLiteral("Группы текстов в файле   [приоритет]"), this), 3, 0);
  layout->addWidget(groups_, 4, 0);
  auto* groupButtons = new QHBoxLayout;
  for (QPushButton* b : {addGroup_, editGroup_, removeGroup_, flipGroup_})
    groupButtons->addWidget(b);
  layout->addLayout(groupButtons, 5, 0);

  connect(bases_, &QListWidget::currentRowChanged, this, [this](int row) {
    model_.SelectBase(row);
    Refresh();
  });
  connect(groups_, &QListWidget::currentRowChanged, this, [this](int row) {
    model_.SelectGroup(row);
    Refresh();
  });
  connect(addBase_, &QPushButton::clicked, this, [this] { Run(&TlrFilesPage::ConnectBase); });
  connect(removeBase_, &QPushButton::clicked, this, [this] { Run(&TlrFilesPage::DisconnectBase); });
  connect(flipBase_, &QPushButton::clicked, this, [this] {
    model_.FlipBase();
    Refresh();
  });
  connect(addGroup_, &QPushButton::clicked, this, [this] { Run(&TlrFilesPage::AddGroup); });
  connect(editGroup_, &QPushButton::clicked, this, [this] { Run(&TlrFilesPage::EditGroup); });
  connect(removeGroup_, &QPushButton::clicked, this, [this] { Run(&TlrFilesPage::DeleteGroup); });
  connect(flipGroup_, &QPushButton::clicked, this, [this] {
    model_.FlipGroup();
    Refresh();
  });
}

void DTlrFiles::Run(bool (TlrFilesPage::*action)()) {
  (void)(model_.*action)();
  Refresh();
}

void DTlrFiles::OnSetActive() {
  model_.Activate();
  Refresh();
}

void DTlrFiles::Refresh() {
  bases_->Refill(data_.current);
  groups_->Refill(data_.second);
  const TlrFilesPage::Enabling e = model_.GetEnabling();
  addBase_->setEnabled(e.addBase);
  removeBase_->setEnabled(e.removeBase);
  flipBase_->setEnabled(e.flipBase);
  groups_->setEnabled(e.groups);
  addGroup_->setEnabled(e.addGroup);
  editGroup_->setEnabled(e.editGroup);
  removeGroup_->setEnabled(e.removeGroup);
  flipGroup_->setEnabled(e.flipGroup);
}

// --- DTlrTexts ---

DTlrTexts::DTlrTexts(TLRDATA& data, WindowTlrDialogs& dialogs, QWidget* parent)
    : platform::PropertyPage(parent), data_(data), dialogs_(dialogs), model_(data, dialogs) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  group_ = new QComboBox(this);
  groupEditor_ = Button(this, "РЕДАКТОР ГРУПП", "groupEditor");
  top->addWidget(new QLabel(QStringLiteral("Группа:"), this));
  top->addWidget(group_, 1);
  top->addWidget(groupEditor_);
  layout->addLayout(top);
  layout->addWidget(new QLabel(QStringLiteral("Список текстов в группе"), this));
  texts_ = new QListWidget(this);
  layout->addWidget(texts_, 1);
  auto* textButtons = new QHBoxLayout;
  addText_ = Button(this, "ДОБАВИТЬ", "addText");
  removeText_ = Button(this, "УДАЛИТЬ", "removeText");
  editText_ = Button(this, "РЕДАКТИРОВАТЬ", "editText");
  for (QPushButton* b : {addText_, removeText_, editText_}) textButtons->addWidget(b);
  layout->addLayout(textButtons);
  layout->addWidget(new QLabel(QStringLiteral("Условия выбора текста"), this));
  conditions_ = new QListWidget(this);
  layout->addWidget(conditions_, 1);
  auto* conditionButtons = new QHBoxLayout;
  addCondition_ = Button(this, "ДОБАВИТЬ", "addCondition");
  removeCondition_ = Button(this, "УДАЛИТЬ", "removeCondition");
  editCondition_ = Button(this, "РЕДАКТИРОВАТЬ", "editCondition");
  for (QPushButton* b : {addCondition_, removeCondition_, editCondition_})
    conditionButtons->addWidget(b);
  layout->addLayout(conditionButtons);
  auto* modeRow = new QHBoxLayout;
  mode_ = platform::AddChoiceBox(
      this, modeRow, "Выполняются:", {"все условия", "одно из условий", "логическая операция"});
  expression_ = new QLineEdit(this);
  expression_->setMaxLength(30);
  expression_->setValidator(new platform::Cp1251Validator(expression_));
  modeRow->addWidget(expression_, 1);
  layout->addLayout(modeRow);

  connect(group_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (refreshing_ || index < 0) return;
    model_.ChooseGroup(index);
    Refresh();
  });
  connect(texts_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (refreshing_) return;
    model_.SelectText(row);
    Refresh();
  });
  connect(texts_, &QListWidget::itemDoubleClicked, this, [this] {
    dialogs_.editing = model_.SelectedNumber();
    Run([this] { return model_.EditText(); });
  });
  connect(addText_, &QPushButton::clicked, this, [this] {
    dialogs_.editing = -1;
    Run([this] { return model_.AddText(); });
  });
  connect(removeText_, &QPushButton::clicked, this,
          [this] { Run([this] { return model_.DeleteText(); }); });
  connect(editText_, &QPushButton::clicked, this, [this] {
    dialogs_.editing = model_.SelectedNumber();
    Run([this] { return model_.EditText(); });
  });
  connect(addCondition_, &QPushButton::clicked, this,
          [this] { Run([this] { return model_.AddCondition(); }); });
  connect(removeCondition_, &QPushButton::clicked, this,
          [this] { Run([this] { return model_.DeleteCondition(conditions_->currentRow()); }); });
  connect(editCondition_, &QPushButton::clicked, this,
          [this] { Run([this] { return model_.EditCondition(conditions_->currentRow()); }); });
  connect(mode_, &QButtonGroup::idClicked, this, [this](int id) {
    model_.SetMode(id);
    Refresh();
  });
  connect(expression_, &QLineEdit::editingFinished, this, [this] {
    if (refreshing_ || !expression_->isEnabled()) return;
    if (platform::FromQt(expression_->text()) == model_.Set().logic) return;
    model_.SetExpression(platform::FromQt(expression_->text()));
    Refresh();
  });
  connect(groupEditor_, &QPushButton::clicked, this, [this] {
    model_.EditGroups();
    Refresh();
  });
}

void DTlrTexts::Run(const std::function<bool()>& action) {
  (void)action();
  Refresh();
}

void DTlrTexts::OnSetActive() {
  model_.Activate();
  Refresh();
}

bool DTlrTexts::OnKillActive() {
  // An expression typed and not yet confirmed is taken (or refused) on leaving the page.
  if (expression_->isEnabled() && platform::FromQt(expression_->text()) != model_.Set().logic)
    model_.SetExpression(platform::FromQt(expression_->text()));
  return true;
}

void DTlrTexts::Refresh() {
  refreshing_ = true;
  group_->clear();
  if (data_.current >= 0 && data_.current < data_.Count())
    for (const TlrGroup& g : data_.bases[static_cast<std::size_t>(data_.current)].groups)
      group_->addItem(platform::ToQt(g.name));
  group_->setCurrentIndex(data_.second);
  texts_->clear();
  for (const std::string& title : model_.Titles()) texts_->addItem(platform::ToQt(title));
  texts_->setCurrentRow(model_.Selected());
  conditions_->clear();
  const CFunc& set = model_.Set();
  for (int i = 0; i < set.Count(); ++i)
    conditions_->addItem(platform::ToQt(set.QueryConditionText(i, true)));
  if (set.Count() > 0) conditions_->setCurrentRow(0);
  platform::Check(mode_, set.mode);
  expression_->setText(platform::ToQt(set.GetLogicText(false)));
  const TlrTextsPage::Enabling e = model_.GetEnabling();
  group_->setEnabled(e.groupCombo);
  groupEditor_->setEnabled(e.groupEditor);
  texts_->setEnabled(e.texts);
  removeText_->setEnabled(e.removeText);
  editText_->setEnabled(e.editText);
  addText_->setEnabled(e.addText);
  conditions_->setEnabled(e.conditions);
  addCondition_->setEnabled(e.addCondition);
  removeCondition_->setEnabled(e.removeCondition);
  editCondition_->setEnabled(e.editCondition);
  for (QAbstractButton* b : mode_->buttons()) b->setEnabled(e.modes);
  expression_->setEnabled(e.expression);
  refreshing_ = false;
}

int RunTlrEditor(TLRDATA& data, QWidget* parent) {
  WindowTlrDialogs dialogs(data, parent);
  MyPropertySheet sheet(platform::ToQt(GetMessageText(kMsgSheetCaption)), parent, 0);
  auto* files = new DTlrFiles(data, dialogs, &sheet);
  auto* texts = new DTlrTexts(data, dialogs, &sheet);
  sheet.AddPage(files, QStringLiteral("БАЗЫ"));
  sheet.AddPage(texts, QStringLiteral("ТЕКСТЫ"));
  const int result = sheet.DoModal();
  // After Cancel the list on disk stays; every opening of the editor or of the output re-reads it.
  if (result == platform::kIdOk) (void)files->Model().Ok();
  return result;
}
