#include "archive/browser/export_format_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

QString Text(int number) { return platform::ToQt(GetMessageText(number)); }

// A line edit of at most `length` characters of code page 1251.
QLineEdit* TextBox(QWidget* owner, int length) {
  auto* edit = new QLineEdit(owner);
  edit->setMaxLength(length);
  edit->setValidator(new platform::Cp1251Validator(edit));
  return edit;
}

int FirstChar(const QLineEdit* edit, int fallback) {
  const std::string text = platform::FromQt(edit->text());
  return text.empty() ? fallback : static_cast<unsigned char>(text[0]);
}

QString CharToQt(int code) {
  return code == 0 ? QString() : platform::ToQt(std::string(1, static_cast<char>(code)));
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::array<std::string, 10> PageNames() {
  std::array<std::string, 10> names;
  const Configuration& config = GetConfiguration();
  for (std::size_t k = 0; k < names.size(); ++k) names[k] = config.commentPageNames[k];
  return names;
}

}  // namespace

// --- EXPPARAM_EL ---

EXPPARAM_EL::EXPPARAM_EL(QWidget* parent)
    : platform::Dialog(parent),
      kind_(new QButtonGroup(this)),
      pad_(new QCheckBox(QStringLiteral("Выравнивать до длины"), this)),
      width_(platform::NumberBox(this, 0, ExportElement::kMaxWidth)),
      fillCode_(platform::NumberBox(this, 0, 255)),
      underscore_(new QCheckBox(QStringLiteral("Заменять пробелы на подчеркивания"), this)),
      plus_(TextBox(this, 1)),
      minus_(TextBox(this, 1)),
      plusLabel_(new QLabel(this)),
      minusLabel_(new QLabel(this)),
      eraAd_(TextBox(this, ExportElement::kEraWidth - 1)),
      eraBc_(TextBox(this, ExportElement::kEraWidth - 1)),
      separator_(new QComboBox(this)),
      separatorCode_(platform::NumberBox(this, 0, 255)),
      page_(new QComboBox(this)),
      lineBreaks_(new QCheckBox(QStringLiteral("Убирать разбивку на строки в комментариях"), this)),
      maxLength_(platform::NumberBox(this, 1, ExportElement::kMaxCommentLength)) {
  setWindowTitle(QStringLiteral("Элемент формата (для экспорта архивов)"));
  auto* kinds = new QVBoxLayout;
  for (int k = 0; k < kExportKindCount; ++k) {
    auto* button = new QRadioButton(Text(kMsgExportKindLabel + k), this);
    kind_->addButton(button, k);
    kinds->addWidget(button);
  }
  auto* options = new QVBoxLayout;
  auto* padRow = new QHBoxLayout;
  padRow->addWidget(pad_);
  padRow->addWidget(width_);
  options->addLayout(padRow);
  auto* fillRow = new QHBoxLayout;
  fill_ = platform::AddChoices(this, fillRow, {"пробелами", "нулями", "символами:"});
  fillRow->addWidget(fillCode_);
  options->addLayout(fillRow);
  auto* sideRow = new QHBoxLayout;
  side_ = platform::AddChoices(this, sideRow, {"слева", "справа"});
  options->addLayout(sideRow);
  auto* cpRow = new QHBoxLayout;
  codePage_ = platform::AddChoices(this, cpRow, {"Windows", "DOS"});
  options->addLayout(cpRow);
  options->addWidget(underscore_);
  auto* signs = new QGridLayout;
  signs->addWidget(plusLabel_, 0, 0);
  signs->addWidget(plus_, 0, 1);
  signs->addWidget(minusLabel_, 1, 0);
  signs->addWidget(minus_, 1, 1);
  signs->addWidget(new QLabel(QStringLiteral("для н.э."), this), 2, 0);
  signs->addWidget(eraAd_, 2, 1);
  signs->addWidget(new QLabel(QStringLiteral("для до н.э."), this), 3, 0);
  signs->addWidget(eraBc_, 3, 1);
  options->addLayout(signs);
  for (int i = 0; i <= kExportOtherSeparatorEntry; ++i)
    separator_->addItem(Text(kMsgExportSeparatorEntry + i));
  auto* separatorRow = new QHBoxLayout;
  separatorRow->addWidget(separator_, 1);
  separatorRow->addWidget(separatorCode_);
  options->addLayout(separatorRow);
  for (const std::string& name : PageNames()) page_->addItem(platform::ToQt(name));
  options->addWidget(page_);
  options->addWidget(lineBreaks_);
  auto* lengthRow = new QHBoxLayout;
  lengthRow->addWidget(new QLabel(QStringLiteral("Максимальная длина"), this));
  lengthRow->addWidget(maxLength_);
  options->addLayout(lengthRow);
  options->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(kinds);
  columns->addLayout(options, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
  connect(kind_, &QButtonGroup::idClicked, this, [this] { UpdateEnabled(); });
  connect(fill_, &QButtonGroup::idClicked, this, [this] { UpdateEnabled(); });
  connect(pad_, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(separator_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
}

void EXPPARAM_EL::UpdateEnabled() {
  const int kind = platform::Checked(kind_, kExpName);
  const bool widthGroup = ExportKindPads(kind) && kind != kExpEra;
  const bool textGroup = ExportKindIsText(kind);
  const bool sign = kind == kExpZoneSign || kind == kExpLatSign || kind == kExpLonSign;
  for (QWidget* w : std::initializer_list<QWidget*>{pad_, width_}) w->setEnabled(widthGroup);
  for (QAbstractButton* b : fill_->buttons()) b->setEnabled(widthGroup);
  for (QAbstractButton* b : side_->buttons()) b->setEnabled(widthGroup);
  fillCode_->setEnabled(widthGroup && pad_->isChecked());
  for (QAbstractButton* b : codePage_->buttons()) b->setEnabled(textGroup);
  underscore_->setEnabled(textGroup);
  plus_->setEnabled(sign);
  minus_->setEnabled(sign);
  const bool northSouth = kind == kExpLatSign;
  plusLabel_->setText(northSouth ? QStringLiteral("для севера") : QStringLiteral("для востока"));
  minusLabel_->setText(northSouth ? QStringLiteral("для юга") : QStringLiteral("для запада"));
  eraAd_->setEnabled(kind == kExpEra);
  eraBc_->setEnabled(kind == kExpEra);
  separator_->setEnabled(kind == kExpSeparator);
  separatorCode_->setEnabled(kind == kExpSeparator &&
                             separator_->currentIndex() == kExportOtherSeparatorEntry);
  for (QWidget* w : std::initializer_list<QWidget*>{page_, lineBreaks_, maxLength_})
    w->setEnabled(kind == kExpComment);
}

bool EXPPARAM_EL::DoDataExchange(bool save) {
  ExportElement& e = element;
  if (!save) {
    platform::Check(kind_, e.kind);
    pad_->setChecked(e.pad == 1);
    width_->setValue(e.width);
    platform::Check(fill_, e.fill == ' ' ? 0 : e.fill == '0' ? 1 : 2);
    fillCode_->setValue(e.fill);
    platform::Check(side_, e.fillSide);
    platform::Check(codePage_, e.codePage);
    underscore_->setChecked(e.underscore == 1);
    plus_->setText(CharToQt(e.plus));
    minus_->setText(CharToQt(e.minus));
    eraAd_->setText(platform::ToQt(e.eraAd));
    eraBc_->setText(platform::ToQt(e.eraBc));
    const int entry = ExportSeparatorEntry(e.separator);
    separator_->setCurrentIndex(entry);
    separatorCode_->setValue(e.separator);
    page_->setCurrentIndex(e.kind == kExpComment && e.commentPage <= 9 ? e.commentPage : 0);
    lineBreaks_->setChecked(e.lineBreaks == 1);
    maxLength_->setValue(e.maxCommentLength);
    UpdateEnabled();
    return true;
  }
  e.kind = static_cast<std::int16_t>(platform::Checked(kind_, kExpName));
  e.pad = pad_->isChecked() ? 1 : 0;
  e.width = static_cast<std::uint16_t>(width_->value());
  const int fill = platform::Checked(fill_, 0);
  e.fill = static_cast<std::uint16_t>(fill == 0 ? ' ' : fill == 1 ? '0' : fillCode_->value());
  e.fillSide = static_cast<std::uint16_t>(platform::Checked(side_, 0));
  e.codePage = static_cast<std::uint16_t>(platform::Checked(codePage_, 0));
  e.underscore = underscore_->isChecked() ? 1 : 0;
  e.plus = static_cast<std::uint16_t>(FirstChar(plus_, 0));
  e.minus = static_cast<std::uint16_t>(FirstChar(minus_, 0));
  e.eraAd = platform::FromQt(eraAd_->text());
  e.eraBc = platform::FromQt(eraBc_->text());
  const int entry = separator_->currentIndex();
  e.separator =
      static_cast<std::uint16_t>(entry >= 0 && entry < kExportOtherSeparatorEntry
                                     ? kExportSeparatorCodes[static_cast<std::size_t>(entry)]
                                     : separatorCode_->value());
  e.commentPage =
      static_cast<std::uint16_t>(e.kind == kExpComment ? std::max(page_->currentIndex(), 0) : 0);
  e.lineBreaks = lineBreaks_->isChecked() ? 1 : 0;
  e.maxCommentLength = static_cast<std::uint16_t>(maxLength_->value());
  return true;
}

// --- DEXPORT ---

DEXPORT::DEXPORT(QWidget* parent)
    : platform::Dialog(parent),
      combo_(new QComboBox(this)),
      list_(new QListWidget(this)),
      extension_(TextBox(this, 4)),
      header_(TextBox(this, static_cast<int>(ExportFormat::kHeaderWidth))),
      headerCheck_(new QCheckBox(QStringLiteral("Заголовок"), this)),
      realDate_(new QCheckBox(
          QStringLiteral("Для прогрессий экспортировать реальную дату гороскопа"), this)) {
  setWindowTitle(QStringLiteral("Экспорт архивов (настройка форматов)"));
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->lineEdit()->setMaxLength(static_cast<int>(ExportFormat::kNameWidth) - 1);
  combo_->lineEdit()->setValidator(new platform::Cp1251Validator(combo_));
  list_->setMinimumWidth(460);
  auto* top = new QGridLayout;
  top->addWidget(new QLabel(QStringLiteral("Название формата"), this), 0, 0);
  top->addWidget(combo_, 0, 1);
  top->addWidget(new QLabel(QStringLiteral("Расширение"), this), 1, 0);
  top->addWidget(extension_, 1, 1);
  top->addWidget(headerCheck_, 2, 0);
  top->addWidget(header_, 2, 1);
  auto* buttons = new QVBoxLayout;
  const std::pair<const char*, std::function<void()>> actions[] = {
      {"Добавить", [this] { OnAdd(); }},     {"Редактировать", [this] { OnEdit(); }},
      {"Удалить", [this] { OnDelete(); }},   {"Вверх", [this] { OnUpDown(true); }},
      {"Вниз", [this] { OnUpDown(false); }}, {"УДАЛИТЬ ФОРМАТ", [this] { OnDeleteFormat(); }}};
  for (const auto& [text, action] : actions) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, action);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  auto* middle = new QHBoxLayout;
  middle->addWidget(list_, 1);
  middle->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addWidget(realDate_);
  layout->addWidget(platform::DialogButtons(this, "Сохранить", "Отменить"));
  connect(combo_, &QComboBox::activated, this, [this](int entry) { OnFormatChosen(entry); });
  connect(headerCheck_, &QCheckBox::toggled, header_, &QWidget::setEnabled);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });
}

void DEXPORT::OnInitDialog() {
  formats_.Load();
  FillCombo();
  OnFormatChosen(0);
}

void DEXPORT::FillCombo() {
  combo_->clear();
  for (int f = 0; f < formats_.Count(); ++f)
    combo_->addItem(platform::ToQt(formats_.Format(f).name));
  combo_->addItem(Text(kMsgNewFormat));
}

void DEXPORT::FillList(int selected) {
  list_->clear();
  const std::array<std::string, 10> names = PageNames();
  for (const ExportElement& e : edit_.elements)
    list_->addItem(platform::ToQt(DescribeExportElement(e, names)));
  if (list_->count() > 0) list_->setCurrentRow(std::clamp(selected, 0, list_->count() - 1));
}

void DEXPORT::OnFormatChosen(int entry) {
  entry_ = std::clamp(entry, 0, formats_.Count());
  combo_->setCurrentIndex(entry_);
  edit_ = entry_ < formats_.Count() ? formats_.Format(entry_) : ExportFormat();
  extension_->setText(platform::ToQt(edit_.extension));
  header_->setText(platform::ToQt(edit_.header));
  headerCheck_->setChecked(edit_.headerFlag == 1);
  header_->setEnabled(edit_.headerFlag == 1);
  realDate_->setChecked(edit_.realDate == 1);
  FillList(0);
}

int DEXPORT::EditedEntry() const {
  if (entry_ >= formats_.Count()) return formats_.Count();
  // A name typed over the entry's own is a new format.
  return combo_->currentText() == combo_->itemText(entry_) ? entry_ : formats_.Count();
}

void DEXPORT::TakeControls() {
  edit_.extension = platform::FromQt(extension_->text());
  edit_.header = platform::FromQt(header_->text());
  edit_.headerFlag = headerCheck_->isChecked() ? 1 : 0;
  edit_.realDate = realDate_->isChecked() ? 1 : 0;
}

void DEXPORT::OnAdd() {
  EXPPARAM_EL dialog(this);
  if (dialog.DoModal() != platform::kIdOk) return;
  if (static_cast<int>(edit_.elements.size()) >= ExportFormat::kMaxElements) {
    ShowMessage(kMsgTooManyElements);
    return;
  }
  edit_.elements.push_back(dialog.element);
  FillList(static_cast<int>(edit_.elements.size()) - 1);
}

void DEXPORT::OnEdit() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(edit_.elements.size())) return;
  EXPPARAM_EL dialog(this);
  dialog.element = edit_.elements[static_cast<std::size_t>(row)];
  if (dialog.DoModal() != platform::kIdOk) return;
  edit_.elements[static_cast<std::size_t>(row)] = dialog.element;
  FillList(row);
}

void DEXPORT::OnDelete() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(edit_.elements.size())) return;
  edit_.elements.erase(edit_.elements.begin() + row);
  FillList(0);
}

void DEXPORT::OnUpDown(bool up) {
  const int row = list_->currentRow();
  const int other = up ? row - 1 : row + 1;
  const int count = static_cast<int>(edit_.elements.size());
  if (row < 0 || row >= count || other < 0 || other >= count) return;
  std::swap(edit_.elements[static_cast<std::size_t>(row)],
            edit_.elements[static_cast<std::size_t>(other)]);
  FillList(other);
}

void DEXPORT::OnDeleteFormat() {
  if (formats_.Count() == 1) {
    ShowMessage(kMsgLastFormat);
    return;
  }
  if (platform::GetPrompter().AskYesNo(kMsgDeleteFormat, GetMessageText(kMsgDeleteFormat)) !=
      platform::Answer::Yes)
    return;
  const int entry = EditedEntry();
  if (entry >= formats_.Count()) {
    ShowMessage(kMsgNoSuchFormat);
    return;
  }
  formats_.Delete(entry);
  FillCombo();
  OnFormatChosen(0);
}

bool DEXPORT::CheckOk() {
  TakeControls();
  const int entry = EditedEntry();
  const bool isNew = entry >= formats_.Count();
  if (isNew) {
    const std::string name = TrimRight(platform::FromQt(combo_->currentText()));
    if (name.empty() || name == GetMessageText(kMsgNewFormat)) {
      ShowMessage(kMsgNameNeeded);
      return false;
    }
    if (formats_.Find(name) >= 0) {
      ShowMessage(kMsgNameTaken);
      return false;
    }
    edit_.name = name;
  }
  // Every format stored needs what loading it asks for: an extension and an element.
  if (edit_.extension.empty() || edit_.extension.size() > ExportFormat::kMaxExtension) {
    ShowMessage(kMsgBadExtension);
    return false;
  }
  if (edit_.elements.empty()) {
    ShowMessage(kMsgNoElements);
    return false;
  }
  if (isNew) {
    if (formats_.Count() >= AllExpFormats::kMaxFormats) {
      ShowMessage(kMsgFormatsFull);
      return false;
    }
    entry_ = formats_.Append(edit_);
  } else {
    edit_.name = formats_.Format(entry).name;
    formats_.Format(entry) = edit_;
    entry_ = entry;
  }
  if (formats_.Save() == 0) return true;
  // Not written: the dialog stays as it was before "Сохранить".
  if (isNew) {
    formats_.Delete(entry_);
    entry_ = formats_.Count();
  }
  return false;
}
