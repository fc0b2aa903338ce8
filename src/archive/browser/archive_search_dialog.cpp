#include "archive/browser/archive_search_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "archive/browser/archive_view.h"
#include "astro/chart/published_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/fdate.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr int kNameLength = 34, kPlaceLength = 25, kTypeLength = 29, kCommentLength = 34;

QSpinBox* Spin(QWidget* parent, int low, int high) {
  auto* box = new QSpinBox(parent);
  box->setRange(low, high);
  return box;
}

}  // namespace

namespace {

// `rect` moved (not resized) to lie inside `area` as far as it can.
QRect MovedInside(QRect rect, const QRect& area) {
  rect.moveLeft(std::max(area.left(), std::min(rect.left(), area.right() - rect.width() + 1)));
  rect.moveTop(std::max(area.top(), std::min(rect.top(), area.bottom() - rect.height() + 1)));
  return rect;
}

}  // namespace

QRect SearchPlaceBeside(const QRect& owner, const QSize& size, const QRect& area) {
  if (area.right() - owner.right() >= size.width())
    return MovedInside(QRect(QPoint(owner.right() + 1, owner.top()), size), area);
  if (owner.left() - area.left() >= size.width())
    return MovedInside(QRect(QPoint(owner.left() - size.width(), owner.top()), size), area);
  return {};
}

QRect SearchPlaceOffRow(const QRect& dialog, const QRect& row, const QRect& area) {
  if (row.isEmpty() || !dialog.intersects(row)) return dialog;
  QRect moved = dialog;
  if (area.bottom() - row.bottom() >= dialog.height() ||
      area.bottom() - row.bottom() >= row.top() - area.top())
    moved.moveTop(row.bottom() + 1);
  else
    moved.moveBottom(row.top() - 1);
  return MovedInside(moved, area);
}

DArchiveSearch::DArchiveSearch(ArchiveView& browser, const ArchiveIndex& index)
    : platform::Dialog(&browser),
      browser_(browser),
      index_(index),
      name_(new QLineEdit(this)),
      place_(new QLineEdit(this)),
      type_(new QLineEdit(this)),
      comment_(new QLineEdit(this)),
      nameContext_(new QCheckBox(QStringLiteral("контекст"), this)),
      placeContext_(new QCheckBox(QStringLiteral("контекст"), this)),
      typeContext_(new QCheckBox(QStringLiteral("контекст"), this)),
      caseSensitive_(new QCheckBox(QStringLiteral("учет регистра"), this)),
      dateOn_(new QCheckBox(QStringLiteral("Дата"), this)),
      dateRange_(new QCheckBox(QStringLiteral("до"), this)),
      latOn_(new QCheckBox(QStringLiteral("Широта"), this)),
      latRange_(new QCheckBox(QStringLiteral("до"), this)),
      lonOn_(new QCheckBox(QStringLiteral("Долгота"), this)),
      lonRange_(new QCheckBox(QStringLiteral("до"), this)),
      date1_(MakeDate(kMaxEnteredYear)),
      date2_(MakeDate(kMaxYear)),
      lat1_(MakeAngle(90, QStringLiteral("С"), QStringLiteral("Ю"))),
      lat2_(MakeAngle(90, QStringLiteral("С"), QStringLiteral("Ю"))),
      lon1_(MakeAngle(180, QStringLiteral("В"), QStringLiteral("З"))),
      lon2_(MakeAngle(180, QStringLiteral("В"), QStringLiteral("З"))),
      page_(new QComboBox(this)) {
  setModal(false);
  setWindowTitle(QStringLiteral("ПОИСК"));
  name_->setMaxLength(kNameLength);
  place_->setMaxLength(kPlaceLength);
  type_->setMaxLength(kTypeLength);
  comment_->setMaxLength(kCommentLength);

  auto* grid = new QGridLayout;
  int row = 0;
  auto addText = [&](const QString& label, QLineEdit* edit, QCheckBox* context) {
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(edit, row, 1, 1, 4);
    if (context) grid->addWidget(context, row, 5);
    ++row;
  };
  auto addDate = [&](QWidget* lead, const DateControls& d) {
    if (lead) grid->addWidget(lead, row, 0);
    grid->addWidget(d.day, row, 1);
    grid->addWidget(d.month, row, 2);
    grid->addWidget(d.year, row, 3);
    grid->addWidget(d.bc, row, 4);
    grid->addWidget(d.ad, row, 5);
    ++row;
  };
  auto addAngle = [&](QWidget* lead, const AngleControls& a) {
    if (lead) grid->addWidget(lead, row, 0);
    grid->addWidget(a.degrees, row, 1);
    grid->addWidget(a.minutes, row, 2);
    grid->addWidget(a.positive, row, 4);
    grid->addWidget(a.negative, row, 5);
    ++row;
  };
  addText(QStringLiteral("Имя"), name_, nameContext_);
  grid->addWidget(caseSensitive_, row++, 1, 1, 3);
  addDate(dateOn_, date1_);
  addDate(dateRange_, date2_);
  addText(QStringLiteral("Место"), place_, placeContext_);
  addAngle(latOn_, lat1_);
  addAngle(latRange_, lat2_);
  addAngle(lonOn_, lon1_);
  addAngle(lonRange_, lon2_);
  addText(QStringLiteral("Тип"), type_, typeContext_);
  addText(QStringLiteral("Комментарий"), comment_, nullptr);
  grid->addWidget(page_, row++, 1, 1, 4);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(AddButton(kIdFirst, QStringLiteral("Первая")));
  buttons->addWidget(AddButton(kIdLast, QStringLiteral("Последняя")));
  buttons->addWidget(AddButton(kIdNext, QStringLiteral("Следующая")));
  buttons->addWidget(AddButton(kIdPrevious, QStringLiteral("Предыдущая")));
  buttons->addWidget(AddButton(kIdSelectAll, QStringLiteral("Выделить все")));
  buttons->addWidget(AddButton(kIdSelectNone, QStringLiteral("Убрать выделение")));
  buttons->addWidget(AddButton(kIdClear, QStringLiteral("Очистить запрос")));
  buttons->addStretch(1);
  buttons->addWidget(AddButton(kIdCancel, QStringLiteral("Отмена")));
  Button(kIdFirst)->setDefault(true);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(grid, 1);
  layout->addLayout(buttons);

  connect(Button(kIdFirst), &QPushButton::clicked, this,
          [this] { OnStep(ArchiveFindMode::kFirst); });
  connect(Button(kIdLast), &QPushButton::clicked, this, [this] { OnStep(ArchiveFindMode::kLast); });
  connect(Button(kIdNext), &QPushButton::clicked, this, [this] { OnStep(ArchiveFindMode::kNext); });
  connect(Button(kIdPrevious), &QPushButton::clicked, this,
          [this] { OnStep(ArchiveFindMode::kPrevious); });
  connect(Button(kIdSelectAll), &QPushButton::clicked, this,
          [this] { OnStep(ArchiveFindMode::kAll); });
  connect(Button(kIdSelectNone), &QPushButton::clicked, this, [this] { OnSelectNone(); });
  connect(Button(kIdClear), &QPushButton::clicked, this, [this] { OnClearQuery(); });
  connect(Button(kIdCancel), &QPushButton::clicked, this, [this] { reject(); });
  for (QCheckBox* box : {dateOn_, dateRange_, latOn_, latRange_, lonOn_, lonRange_})
    connect(box, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
}

QPushButton* DArchiveSearch::AddButton(int id, const QString& text) {
  auto* button = new QPushButton(text, this);
  button->setAutoDefault(false);
  buttons_[id] = button;
  return button;
}

QPushButton* DArchiveSearch::Button(int id) const {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

DArchiveSearch::DateControls DArchiveSearch::MakeDate(int maxYear) {
  DateControls d{Spin(this, 1, 31), Spin(this, 1, 12), Spin(this, 1, maxYear),
                 new QRadioButton(QStringLiteral("до н.э."), this),
                 new QRadioButton(QStringLiteral("н.э."), this)};
  auto* group = new QButtonGroup(this);
  group->addButton(d.bc);
  group->addButton(d.ad);
  return d;
}

DArchiveSearch::AngleControls DArchiveSearch::MakeAngle(int maxDegrees, const QString& positive,
                                                        const QString& negative) {
  AngleControls a{Spin(this, 0, maxDegrees), Spin(this, 0, 59), new QRadioButton(positive, this),
                  new QRadioButton(negative, this)};
  auto* group = new QButtonGroup(this);
  group->addButton(a.positive);
  group->addButton(a.negative);
  return a;
}

void DArchiveSearch::OnInitDialog() {
  criteria = ArchiveSearchCriteria::FromBlock(GetConfiguration().archiveSearch);
  page_->clear();
  for (const std::string& name : GetConfiguration().commentPageNames)
    page_->addItem(platform::ToQt(name));
  page_->addItem(platform::ToQt(GetMessageText(kMsgAllComments)));
  DoDataExchange(false);
}

bool DArchiveSearch::DoDataExchange(bool save) {
  using C = ArchiveSearchCriteria;
  auto putDate = [](const DateControls& d, const C::Date& v) {
    d.day->setValue(v.day);
    d.month->setValue(v.month);
    d.year->setValue(v.year);
    (v.era == 'B' ? d.bc : d.ad)->setChecked(true);
  };
  auto getDate = [](const DateControls& d) {
    return C::Date{d.day->value(), d.month->value(), d.year->value(),
                   EraLetter(d.bc->isChecked() ? 0 : 1)};
  };
  auto putAngle = [](const AngleControls& a, const C::Angle& v, char positive) {
    a.degrees->setValue(v.degrees);
    a.minutes->setValue(v.minutes);
    (v.letter == positive ? a.positive : a.negative)->setChecked(true);
  };
  auto getAngle = [](const AngleControls& a, char positive, char negative) {
    return C::Angle{a.degrees->value(), a.minutes->value(),
                    a.negative->isChecked() ? negative : positive};
  };
  if (!save) {
    name_->setText(platform::ToQt(criteria.name));
    place_->setText(platform::ToQt(criteria.place));
    type_->setText(platform::ToQt(criteria.type));
    comment_->setText(platform::ToQt(criteria.comment));
    nameContext_->setChecked(criteria.nameContext);
    placeContext_->setChecked(criteria.placeContext);
    typeContext_->setChecked(criteria.typeContext);
    caseSensitive_->setChecked(criteria.caseSensitive);
    dateOn_->setChecked(criteria.dateOn);
    dateRange_->setChecked(criteria.dateRange);
    latOn_->setChecked(criteria.latOn);
    latRange_->setChecked(criteria.latRange);
    lonOn_->setChecked(criteria.lonOn);
    lonRange_->setChecked(criteria.lonRange);
    putDate(date1_, criteria.date1);
    putDate(date2_, criteria.date2);
    putAngle(lat1_, criteria.lat1, 'N');
    putAngle(lat2_, criteria.lat2, 'N');
    putAngle(lon1_, criteria.lon1, 'E');
    putAngle(lon2_, criteria.lon2, 'E');
    page_->setCurrentIndex(criteria.commentPage);
    UpdateEnabling();
    return true;
  }
  C c;
  c.name = platform::FromQt(name_->text());
  c.place = platform::FromQt(place_->text());
  c.type = platform::FromQt(type_->text());
  c.comment = platform::FromQt(comment_->text());
  c.nameContext = nameContext_->isChecked();
  c.placeContext = placeContext_->isChecked();
  c.typeContext = typeContext_->isChecked();
  c.caseSensitive = caseSensitive_->isChecked();
  c.dateOn = dateOn_->isChecked();
  c.dateRange = dateRange_->isChecked();
  c.latOn = latOn_->isChecked();
  c.latRange = latRange_->isChecked();
  c.lonOn = lonOn_->isChecked();
  c.lonRange = lonRange_->isChecked();
  c.date1 = getDate(date1_);
  c.date2 = getDate(date2_);
  c.lat1 = getAngle(lat1_, 'N', 'S');
  c.lat2 = getAngle(lat2_, 'N', 'S');
  c.lon1 = getAngle(lon1_, 'E', 'W');
  c.lon2 = getAngle(lon2_, 'E', 'W');
  c.commentPage = page_->currentIndex() < 0 ? C::kAllPages : page_->currentIndex();
  // A date that never was (31 February, year 0) is named and the dialog kept on it.
  if (c.dateOn) {
    const auto check = [](const C::Date& d, bool range, QSpinBox* focus) {
      const int fault = DateFault(d.day, d.month, d.year, d.era, range);
      if (fault == 0) return true;
      ShowMessage(fault);
      focus->setFocus();
      return false;
    };
    if (!check(c.date1, true, date1_.day)) return false;
    if (c.dateRange && !check(c.date2, false, date2_.day)) return false;
  }
  criteria = c;
  return true;
}

bool DArchiveSearch::Store() {
  if (!DoDataExchange(true)) return false;
  ChangeSettings(
      [this](Configuration& config, Aspectarium&) { criteria.ToBlock(config.archiveSearch); });
  return true;
}

void DArchiveSearch::UpdateEnabling() {
  const auto twoLevel = [](bool on, bool range, QCheckBox* rangeBox,
                           std::initializer_list<QWidget*> first,
                           std::initializer_list<QWidget*> second) {
    rangeBox->setEnabled(on);
    for (QWidget* w : first) w->setEnabled(on);
    for (QWidget* w : second) w->setEnabled(on && range);
  };
  twoLevel(dateOn_->isChecked(), dateRange_->isChecked(), dateRange_,
           {date1_.day, date1_.month, date1_.year, date1_.bc, date1_.ad},
           {date2_.day, date2_.month, date2_.year, date2_.bc, date2_.ad});
  twoLevel(latOn_->isChecked(), latRange_->isChecked(), latRange_,
           {lat1_.degrees, lat1_.minutes, lat1_.positive, lat1_.negative},
           {lat2_.degrees, lat2_.minutes, lat2_.positive, lat2_.negative});
  twoLevel(lonOn_->isChecked(), lonRange_->isChecked(), lonRange_,
           {lon1_.degrees, lon1_.minutes, lon1_.positive, lon1_.negative},
           {lon2_.degrees, lon2_.minutes, lon2_.positive, lon2_.negative});
  bool comments = false;
  if (index_.IsIndexBuilt() && index_.LayoutCode() == kLayout4400)
    for (int n = 0; n < index_.RecordCount() && !comments; ++n)
      comments = index_.HasComments(n) != 0;
  comment_->setEnabled(comments);
  page_->setEnabled(comments);
}

void DArchiveSearch::OnStep(ArchiveFindMode mode) {
  if (Store()) {
    const int row = browser_.Find(static_cast<int>(mode), lastMatch_);
    lastMatch_ = mode == ArchiveFindMode::kAll ? -1 : row;
  }
  KeepInFront();
}

void DArchiveSearch::OnSelectNone() {
  if (Store()) browser_.OnSelectNone();
  KeepInFront();
}

void DArchiveSearch::KeepInFront() {
  // A message box (nothing found, a date that never was) hands the activation back to the
  // browser when it closes, which would then cover the dialog the user goes on with.
  raise();
  activateWindow();
}

void DArchiveSearch::OnClearQuery() {
  criteria.Clear();
  DoDataExchange(false);
}

void DArchiveSearch::reject() {
  browser_.ShowSelectedCount(-1);
  hide();
  browser_.SearchClosed();
  deleteLater();
}
