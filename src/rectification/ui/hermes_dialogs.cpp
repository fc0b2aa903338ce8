#include "rectification/ui/hermes_dialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>

#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "rectification/core/morav_number.h"

namespace {

// The position of the Morav number in the glyph face, over the whole client area.
class MoravArea : public QWidget {
 public:
  MoravArea(double position, QWidget* parent) : QWidget(parent), position_(position) {
    setMinimumSize(360, 150);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    platform::QtDc dc(painter, false);
    DrawMoravNumber(dc, {width(), height()}, position_);
  }

 private:
  double position_;
};

}  // namespace

DTrutin::DTrutin(const Chart& chart, const HermesInput& input, QWidget* parent)
    : platform::Dialog(parent), chart_(chart), input_(input) {
  setWindowTitle(QStringLiteral("ТРУТИНА ГЕРМЕСА"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const char* columns[] = {"День", "Месяц", "Год", "Час", "Мин."};
  const int low[] = {1, 1, -3000, 0, 0}, high[] = {31, 12, 3000, 23, 59};
  for (int k = 0; k < 5; ++k)
    grid->addWidget(new QLabel(QString::fromUtf8(columns[k]), this), 0, k + 1);
  const char* rows[] = {"От", "До"};
  for (int r = 0; r < 2; ++r) {
    grid->addWidget(new QLabel(QString::fromUtf8(rows[r]), this), r + 1, 0);
    for (int k = 0; k < 5; ++k) {
      QSpinBox* box = platform::NumberBox(this, low[k], high[k]);
      fields_[static_cast<std::size_t>(r * 5 + k)] = box;
      grid->addWidget(box, r + 1, k + 1);
    }
  }
  layout->addLayout(grid);
  auto* months = new QHBoxLayout;
  pregnancy_ = platform::AddChoiceBox(this, months, "Беременность",
                                      {"7 месяцев", "8 месяцев", "9 месяцев", "10 месяцев"});
  layout->addLayout(months);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

bool DTrutin::DoDataExchange(bool save) {
  HermesRow* rows[] = {&input_.from, &input_.to};
  for (int r = 0; r < 2; ++r) {
    int* values[] = {&rows[r]->day, &rows[r]->month, &rows[r]->year, &rows[r]->hour,
                     &rows[r]->minute};
    for (int k = 0; k < 5; ++k) {
      if (save)
        *values[k] = Field(r, k)->value();
      else
        Field(r, k)->setValue(*values[k]);
    }
  }
  if (!save) {
    platform::Check(pregnancy_, input_.pregnancyIndex);
    return true;
  }
  input_.pregnancyIndex = platform::Checked(pregnancy_, 2);
  if (const int message = input_.Check(chart_); message != 0) {
    ShowMessage(message);
    return false;
  }
  return true;
}

DHermesResults::DHermesResults(HermesTrutine& trutine, QWidget* parent)
    : platform::Dialog(parent), trutine_(trutine) {
  setWindowTitle(QStringLiteral("ТРУТИНА ГЕРМЕСА - ВОЗМОЖНЫЕ ВАРИАНТЫ РОЖДЕНИЯ"));
  auto* layout = new QVBoxLayout(this);
  auto* caption = new QLabel(
      QStringLiteral("Дата и время рождения     Дата и время зачатия     Беременность (мес.)"),
      this);
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setPointSize(9);
  caption->setFont(mono);
  layout->addWidget(caption);
  list_ = new QListWidget(this);
  list_->setFont(mono);
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  for (int i = 0; i < trutine_.VariantCount(); ++i)
    list_->addItem(platform::ToQt(trutine_.VariantLine(i)));
  if (list_->count() > 0) {
    list_->setCurrentRow(0);
    list_->item(0)->setSelected(true);
  }
  list_->installEventFilter(this);
  layout->addWidget(list_);
  chartSet_ = platform::AddChoiceBox(this, layout, "Построить гороскопы",
                                     {"Рождения", "Зачатия", "Рождения и зачатия"});
  platform::Check(chartSet_, HermesTrutine::kBirthCharts);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
  resize(640, 360);
}

bool DHermesResults::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Insert) {
    const int row = list_->currentRow();
    if (row >= 0) {
      QListWidgetItem* item = list_->item(row);
      item->setSelected(!item->isSelected());
      if (row + 1 < list_->count()) list_->setCurrentRow(row + 1, QItemSelectionModel::NoUpdate);
    }
    return true;
  }
  return platform::Dialog::eventFilter(watched, event);
}

bool DHermesResults::DoDataExchange(bool save) {
  if (!save) return true;
  std::vector<int> chosen;
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->isSelected()) chosen.push_back(i);
  trutine_.SetSelection(std::move(chosen), platform::Checked(chartSet_, 0));
  return true;
}

D_MORAV::D_MORAV(const Chart& chart, QWidget* parent)
    : platform::Dialog(parent), position_(MoravNumber(chart)) {
  setWindowTitle(QStringLiteral("ЧИСЛО МОРАВА"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new MoravArea(position_, this), 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &D_MORAV::accept);
  layout->addWidget(buttons);
}

int RunHermesTrutine(ChartDocument& document, QWidget* parent) {
  const Chart* chart = document.GetChart();
  if (chart == nullptr) return 0;
  DTrutin input(*chart, HermesInput::FromChart(*chart), parent);
  if (input.DoModal() != platform::kIdOk) return 0;

  HermesTrutine trutine;
  if (trutine.Prepare(*chart, input.Input())) ShowMessage(kMsgHermesPlacidusSet);
  DPROGRESSBAR progress(QStringLiteral("Трутина Гермеса"), parent);
  const Status st = trutine.Search(ChartContext::FromCurrentSettings(), progress);
  if (!st.ok()) {
    ShowMessage(st.MessageNumber() != 0 ? st.MessageNumber() : kMsgHermesNoVariant);
    return 0;
  }
  if (trutine.VariantCount() == 0) {
    ShowMessage(kMsgHermesNoVariant);
    return 0;
  }
  if (trutine.Dropped()) ShowMessage(kMsgHermesVariantsDropped);
  DHermesResults results(trutine, parent);
  if (results.DoModal() != platform::kIdOk) return 0;

  int opened = 0;
  for (int i = 0; i < static_cast<int>(trutine.Selection().size()); ++i) {
    Moment birth, conception;
    const int set = trutine.GetVariant(i, birth, conception);
    if (set != HermesTrutine::kConceptionCharts && document.DrawRectifiedChart(birth, 'R'))
      ++opened;
    if (set != HermesTrutine::kBirthCharts && document.DrawRectifiedChart(conception, 'C'))
      ++opened;
  }
  trutine.FreeVariants();
  return opened;
}
