#include "conditions/ui/groups_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "conditions/core/group_list_drawing.h"
#include "conditions/core/member_choice.h"
#include "conditions/ui/plan_house_select.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "settings/ui/enter_name.h"

namespace {

constexpr char kKinds[3] = {'P', 'S', 'H'};

class GroupDelegate : public QStyledItemDelegate {
 public:
  explicit GroupDelegate(CGroupsListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    const QRect r = option.rect;
    const QColor base = option.palette.base().color();
    DrawGroupItem(dc, box_->Store(), index.row(),
                  platform::Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                  option.state & QStyle::State_Selected,
                  platform::Color{static_cast<std::uint8_t>(base.red()),
                                  static_cast<std::uint8_t>(base.green()),
                                  static_cast<std::uint8_t>(base.blue())},
                  CGroupsListBox::kFontSize);
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(400, CGroupsListBox::kItemHeight);
  }

 private:
  CGroupsListBox* box_;
};

}  // namespace

CGroupsListBox::CGroupsListBox(const Groups& store, QWidget* parent)
    : QListWidget(parent), store_(store) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setItemDelegate(new GroupDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void CGroupsListBox::Refill(int selected) {
  clear();
  const int count = store_.Count('C');
  for (int i = 0; i < count; ++i)  // the text serves accessibility; the delegate draws the row
    addItem(platform::ToQt(store_.Group('C', i).name));
  setCurrentRow(selected >= 0 && selected < count ? selected : -1);
  viewport()->update();
}

bool WindowGroupDialogs::AskName(const std::string& prompt, std::string& name) {
  return RunEnterName(name, prompt, parent_);
}

bool WindowGroupDialogs::AskMembers(int mode, std::string& flags) {
  return RunPlanHouseSelect(mode, flags, MemberChoice::kNoLimit, parent_);
}

DGROUPS::DGROUPS(Groups& store, QWidget* parent)
    : platform::Dialog(parent), dialogs_(this), editor_(store, dialogs_) {
  setWindowTitle(QStringLiteral("Группы планет/домов/знаков"));
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* kindBox = new QGroupBox(this);
  auto* kindLayout = new QHBoxLayout(kindBox);
  const QString names[3] = {QStringLiteral("Планеты"), QStringLiteral("Знаки"),
                            QStringLiteral("Дома")};
  for (int k = 0; k < 3; ++k) {
    kinds_[k] = new QRadioButton(names[k], kindBox);
    kindLayout->addWidget(kinds_[k]);
    const char kind = kKinds[k];
    connect(kinds_[k], &QRadioButton::toggled, this, [this, kind](bool on) {
      if (on) OnKind(kind);
    });
  }
  left->addWidget(kindBox);
  list_ = new CGroupsListBox(store, this);
  list_->setMinimumSize(560, 300);
  left->addWidget(list_);
  layout->addLayout(left);

  auto* right = new QVBoxLayout;
  const auto button = [&](const QString& text, void (DGROUPS::*action)()) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, action);
    right->addWidget(b);
    return b;
  };
  button(QStringLiteral("ДОБАВИТЬ"), &DGROUPS::OnAdd);
  button(QStringLiteral("РЕДАКТИРОВАТЬ"), &DGROUPS::OnEdit);
  button(QStringLiteral("УДАЛИТЬ"), &DGROUPS::OnDelete);
  button(QStringLiteral("ВВЕРХ"), &DGROUPS::OnUp);
  button(QStringLiteral("ВНИЗ"), &DGROUPS::OnDown);
  right->addStretch();
  auto* save = new QPushButton(QStringLiteral("СОХРАНИТЬ"), this);
  auto* cancel = new QPushButton(QStringLiteral("ОТМЕНА"), this);
  connect(save, &QPushButton::clicked, this, &DGROUPS::accept);
  connect(cancel, &QPushButton::clicked, this, &DGROUPS::reject);
  right->addWidget(save);
  right->addWidget(cancel);
  layout->addLayout(right);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { editor_.Select(row); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });
}

void DGROUPS::OnInitDialog() {
  const char kind = editor_.Kind();
  for (int k = 0; k < 3; ++k) {
    const QSignalBlocker block(kinds_[k]);
    kinds_[k]->setChecked(kKinds[k] == kind);
  }
  Refresh();
}

void DGROUPS::Refresh() {
  const QSignalBlocker block(list_);
  list_->Refill(editor_.Selected());
}

void DGROUPS::OnKind(char kind) {
  editor_.SetKind(kind);
  Refresh();
}

void DGROUPS::OnAdd() {
  if (editor_.Add()) Refresh();
}

void DGROUPS::OnEdit() {
  if (editor_.Edit()) Refresh();
}

void DGROUPS::OnDelete() {
  if (editor_.Delete()) Refresh();
}

void DGROUPS::OnUp() {
  if (editor_.MoveUp()) Refresh();
}

void DGROUPS::OnDown() {
  if (editor_.MoveDown()) Refresh();
}

int RunGroupsDialog(Groups& store, QWidget* parent) {
  DGROUPS dialog(store, parent);
  if (!dialog.Editor().Open()) return platform::kIdCancel;
  const int result = dialog.DoModal();
  if (result == platform::kIdOk)
    dialog.Editor().Save();
  else
    dialog.Editor().Cancel();
  return result;
}

void RunPlanetGroupsCommand(QWidget* parent) {
  Groups store;
  if (store.LoadGroups() != 0) return;
  if (RunGroupsDialog(store, parent) == platform::kIdOk) store.SaveGroups(0, -1);
}
