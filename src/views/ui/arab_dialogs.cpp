#include "views/ui/arab_dialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "foundation/drawing/palette.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr int kListFontSize = 90;  // tenths of a point
constexpr int kFormulaGlyphSize = 120;
constexpr int kColourOn = 0, kColourOff = 7, kColourSelection = 1, kColourSelectedOn = 14;

class ArabPartDelegate : public QStyledItemDelegate {
 public:
  explicit ArabPartDelegate(CArabListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int i = index.row();
    const AllArabParts& parts = box_->Parts();
    if (i < 0 || i >= parts.Count()) return;
    painter->save();
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    dc.SetBkMode(platform::BkMode::Transparent);
    const platform::Font old =
        dc.SelectFont(platform::Font{std::string(platform::kTextFace), kListFontSize});
    const QRect r = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const bool on = parts.Item(i).IsOn();
    if (selected)
      dc.FillRect({r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                  ColorByIndex(kColourSelection));
    dc.SetTextColor(ColorByIndex(selected ? (on ? kColourSelectedOn : kColourOff)
                                          : (on ? kColourOn : kColourOff)));
    dc.TextOut(r.left() + 2, r.top() + 1, parts.Item(i).name);
    // The formulas stand in one column after the longest name.
    std::size_t longest = 1;
    for (const ArabPart& p : parts.Items()) longest = std::max(longest, p.name.size());
    const int w = std::max(1, dc.GetTextExtent("w").cx), step = dc.GetTextExtent("W").cx;
    parts.DrawFormula(dc, i, kFormulaGlyphSize,
                      r.left() + static_cast<int>(longest - 1) * w + 2 * w, r.top() + 1, step, 0);
    dc.SelectFont(old);
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(std::max(s.height(), 20));
    return s;
  }

 private:
  CArabListBox* box_;
};

QComboBox* Combo(QWidget* owner, const std::vector<std::string>& texts) {
  auto* box = new QComboBox(owner);
  for (const std::string& t : texts) box->addItem(platform::ToQt(t));
  return box;
}

}  // namespace

CArabListBox::CArabListBox(const AllArabParts& parts, QWidget* parent)
    : QListWidget(parent), parts_(parts) {
  setItemDelegate(new ArabPartDelegate(this));
  setMinimumSize(420, 220);
}

void CArabListBox::Fill(int select) {
  clear();
  for (int i = 0; i < parts_.Count(); ++i) addItem(platform::ToQt(parts_.Item(i).name));
  if (parts_.Count() == 0) addItem(QString());
  setCurrentRow(std::clamp(select, 0, count() - 1));
}

DArabEditor::DArabEditor(const ArabEditorPage& page, QWidget* parent)
    : platform::Dialog(parent), page_(page) {
  setWindowTitle(QStringLiteral("РЕДАКТОР АРАБСКИХ ТОЧЕК"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Название"), this), 0, 0);
  name_ = new QLineEdit(this);
  name_->setMaxLength(static_cast<int>(kArabNameLength));
  layout->addWidget(name_, 0, 1, 1, 5);
  const std::vector<std::string> names = ArabOperandNames();
  const std::vector<std::string> ops = {ArabOperatorText(0), ArabOperatorText(1),
                                        ArabOperatorText(2), ArabOperatorText(3)};
  const char* labels[] = {"A", "B", "C"};
  for (int k = 0; k < 3; ++k) {
    layout->addWidget(new QLabel(QString::fromUtf8(labels[k]), this), 1, 2 * k);
    operands_[static_cast<std::size_t>(k)] = Combo(this, names);
    layout->addWidget(operands_[static_cast<std::size_t>(k)], 2, 2 * k);
    if (k < 2) {
      operators_[static_cast<std::size_t>(k)] = Combo(this, ops);
      layout->addWidget(operators_[static_cast<std::size_t>(k)], 2, 2 * k + 1);
    }
  }
  layout->addWidget(new QLabel(QStringLiteral(" +   прибавить;  -   вычесть;\n"
                                              "+/-  прибавить днем, вычесть ночью;\n"
                                              "-/+  вычесть днем, прибавить ночью."),
                               this),
                    3, 0, 1, 6);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"), 4, 0, 1, 6);
}

bool DArabEditor::DoDataExchange(bool save) {
  int* operands[] = {&page_.a, &page_.b, &page_.c};
  int* ops[] = {&page_.op1, &page_.op2};
  if (!save) {
    name_->setText(platform::ToQt(page_.name));
    for (std::size_t k = 0; k < 3; ++k) operands_[k]->setCurrentIndex(*operands[k]);
    for (std::size_t k = 0; k < 2; ++k) operators_[k]->setCurrentIndex(*ops[k]);
    return true;
  }
  page_.name = platform::FromQt(name_->text());
  for (std::size_t k = 0; k < 3; ++k) *operands[k] = operands_[k]->currentIndex();
  for (std::size_t k = 0; k < 2; ++k) *ops[k] = operators_[k]->currentIndex();
  if (const int message = page_.CheckOk(); message != 0) {
    ShowMessage(message);
    return false;
  }
  return true;
}

DArabConf::DArabConf(AllArabParts& parts, const ArabSettings& settings, bool modesAllowed,
                     bool fromMenu, QWidget* parent)
    : platform::Dialog(parent), page_(parts, settings, modesAllowed, fromMenu) {
  setWindowTitle(QStringLiteral("АРАБСКИЕ ТОЧКИ - КОНФИГУРАЦИЯ"));
  auto* layout = new QGridLayout(this);
  list_ = new CArabListBox(parts, this);
  layout->addWidget(list_, 0, 0, 1, 2);
  auto* commands = new QVBoxLayout;
  const auto button = [&](const char* text, void (DArabConf::*handler)()) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setAutoDefault(false);  // Enter computes; the list commands are clicked
    connect(b, &QPushButton::clicked, this, handler);
    commands->addWidget(b);
  };
  button("Добавить", &DArabConf::OnAdd);
  button("Редактировать", &DArabConf::OnEdit);
  button("Удалить", &DArabConf::OnDelete);
  button("Вверх", &DArabConf::OnUp);
  button("Вниз", &DArabConf::OnDown);
  button("Вкл./Выкл.", &DArabConf::OnToggle);
  commands->addStretch();
  layout->addLayout(commands, 0, 2);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });

  auto* left = new QVBoxLayout;
  planets_ =
      platform::AddChoiceBox(this, left, "Аспекты к планетам",
                             {"Не надо", "Солнце - Плутон", "Все, выводимые на гороскоп", "Все"});
  nodes_ = new QCheckBox(QStringLiteral("В том числе Лунные узлы"), this);
  left->addWidget(nodes_);
  houses_ =
      platform::AddChoiceBox(this, left, "Аспекты к домам", {"Не надо", "Асцендент и МС", "Все"});
  layout->addLayout(left, 1, 0);
  auto* right = new QVBoxLayout;
  kinds_ = platform::AddChoiceBox(this, right, "Аспекты", {"Соединения", "Мажорные", "Все"});
  mode_ = platform::AddChoiceBox(
      this, right, "Гороскоп",
      {"Точки и аспекты этого гороскопа", "Точки натального, аспекты к этому гороскопу",
       "Точки этого гороскопа, аспекты к натальному"});
  for (QAbstractButton* b : mode_->buttons()) b->setEnabled(page_.ModesAllowed());
  layout->addLayout(right, 1, 1, 1, 2);

  auto* numbers = new QGridLayout;
  const auto number = [&](int row, const char* label, int low, int high) {
    numbers->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    QSpinBox* box = platform::NumberBox(this, low, high);
    numbers->addWidget(box, row, 1);
    return box;
  };
  orbClass_ = number(0, "Группа орбисов", 1, 5);
  printFont_ = number(1, "Шрифт печати", 100, 10000);
  printInterval_ = number(2, "Интервал печати (0,01 мм)", 0, 10000);
  formula_ = new QCheckBox(QStringLiteral("Выводить вместе с формулой"), this);
  ask_ = new QCheckBox(QStringLiteral("Показывать каждый раз при расчете"), this);
  numbers->addWidget(formula_, 3, 0, 1, 2);
  numbers->addWidget(ask_, 4, 0, 1, 2);
  // Under the list of charts, not across the dialog: it fits a small screen so.
  right->addLayout(numbers);

  auto* buttons = new QHBoxLayout;
  computeButton_ = new QPushButton(QStringLiteral("Рассчитать"), this);
  computeButton_->setEnabled(page_.ComputeEnabled());
  auto* keep = new QPushButton(
      page_.ComputeEnabled() ? QStringLiteral("Не рассчитывать") : QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Отменить"), this);
  // Enter computes; from the menu, where nothing is computed, it closes the dialog.
  computeButton_->setDefault(page_.ComputeEnabled());
  keep->setDefault(!page_.ComputeEnabled());
  connect(computeButton_, &QPushButton::clicked, this, [this] {
    compute_ = true;
    accept();
  });
  connect(keep, &QPushButton::clicked, this, [this] {
    compute_ = false;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &DArabConf::reject);
  buttons->addStretch();
  buttons->addWidget(computeButton_);
  buttons->addWidget(keep);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 3, 0, 1, 3);
  Refill(0);
}

void DArabConf::Refill(int select) { list_->Fill(select); }

bool DArabConf::DoDataExchange(bool save) {
  ArabSettings& s = page_.Settings();
  if (!save) {
    platform::Check(planets_, s.planets);
    nodes_->setChecked(s.withNodes != 0);
    platform::Check(houses_, s.houses);
    platform::Check(kinds_, s.kinds);
    platform::Check(mode_, s.chartMode);
    orbClass_->setValue(s.orbClass);
    printFont_->setValue(s.printFontSize);
    printInterval_->setValue(s.printInterval);
    formula_->setChecked(s.withFormula != 0);
    ask_->setChecked(s.askEveryTime != 0);
    return true;
  }
  s.planets = platform::Checked(planets_, s.planets);
  s.withNodes = nodes_->isChecked() ? 1 : 0;
  s.houses = platform::Checked(houses_, s.houses);
  s.kinds = platform::Checked(kinds_, s.kinds);
  s.chartMode = page_.ModesAllowed() ? platform::Checked(mode_, 0) : 0;
  s.orbClass = orbClass_->value();
  s.printFontSize = printFont_->value();
  s.printInterval = printInterval_->value();
  s.withFormula = formula_->isChecked() ? 1 : 0;
  s.askEveryTime = ask_->isChecked() ? 1 : 0;
  return true;
}

void DArabConf::OnAdd() {
  DArabEditor editor(ArabEditorPage{}, this);
  if (editor.DoModal() != platform::kIdOk) return;
  if (const int at = page_.Add(editor.Page()); at >= 0) Refill(at);
}

void DArabConf::OnEdit() {
  const int i = list_->currentRow();
  if (i < 0 || i >= page_.Parts().Count()) return;
  DArabEditor editor(ArabEditorPage::FromPart(page_.Parts().Item(i)), this);
  if (editor.DoModal() != platform::kIdOk) return;
  if (const int at = page_.Edit(i, editor.Page()); at >= 0) Refill(at);
}

void DArabConf::OnDelete() {
  if (const int at = page_.Delete(list_->currentRow()); at >= 0) Refill(at);
}

void DArabConf::OnUp() {
  if (const int at = page_.MoveUp(list_->currentRow()); at >= 0) Refill(at);
}

void DArabConf::OnDown() {
  if (const int at = page_.MoveDown(list_->currentRow()); at >= 0) Refill(at);
}

void DArabConf::OnToggle() {
  if (const int at = page_.Toggle(list_->currentRow()); at >= 0) Refill(at);
}
