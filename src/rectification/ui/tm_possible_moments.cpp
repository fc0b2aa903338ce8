#include "rectification/ui/tm_possible_moments.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"

namespace {

constexpr int kListFontSize = 90;  // tenths of a point

class TmIntervalDelegate : public QStyledItemDelegate {
 public:
  explicit TmIntervalDelegate(CTmIntListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto row = static_cast<std::size_t>(index.data(Qt::UserRole).toInt());
    if (row >= box_->Rows().size()) return;
    painter->save();
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
    const platform::Font old =
        dc.SelectFont(platform::Font{std::string(platform::kTextFace), kListFontSize});
    const QRect r = option.rect;
    const QColor base = option.palette.base().color();
    DrawTmIntervalRow(dc, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}, box_->Rows()[row],
                      (option.state & QStyle::State_Selected) != 0,
                      platform::Color{static_cast<std::uint8_t>(base.red()),
                                      static_cast<std::uint8_t>(base.green()),
                                      static_cast<std::uint8_t>(base.blue())});
    dc.SelectFont(old);
    painter->restore();
  }

 private:
  CTmIntListBox* box_;
};

}  // namespace

CTmIntListBox::CTmIntListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new TmIntervalDelegate(this));
  setMinimumWidth(260);
}

void CTmIntListBox::Fill(const std::vector<TmIntervalRow>& rows) {
  rows_ = rows;
  clear();
  for (std::size_t k = 0; k < rows_.size(); ++k) {
    auto* item = new QListWidgetItem(QString::fromStdString(rows_[k].first + " - " + rows_[k].last +
                                                            "  " + rows_[k].possibility),
                                     this);
    item->setData(Qt::UserRole, static_cast<int>(k));
  }
}

DTmPossibleMoments::DTmPossibleMoments(const TmSearch& search, QWidget* parent)
    : platform::Dialog(parent), page_(search) {
  setWindowTitle(QStringLiteral("Интервалы возможного рождения"));
  auto* layout = new QVBoxLayout(this);
  list_ = new CTmIntListBox(this);
  layout->addWidget(list_);
  layout->addWidget(new QLabel(QStringLiteral("Минимальный допустимый коэффициент"), this));
  minimum_ = platform::NumberBox(this, kTmMinPossibilityLow, kTmMinPossibilityHigh);
  layout->addWidget(minimum_);
  layout->addWidget(platform::DialogButtons(this, "Рассчитать", "Отмена"));
  list_->Fill(page_.Rows());
}

bool DTmPossibleMoments::DoDataExchange(bool save) {
  if (save) return page_.SetMinimumPossibility(minimum_->value());
  minimum_->setValue(page_.MinimumPossibility());
  return true;
}

TmIntervalChooser MakeTmIntervalChooser(Configuration& config, QWidget* parent) {
  return [&config, parent](const TmSearch& search, int& minimumPossibility) {
    DTmPossibleMoments dialog(search, parent);
    if (dialog.DoModal() != platform::kIdOk) return false;
    minimumPossibility = dialog.Page().MinimumPossibility();
    WriteTmMinimumPossibility(config, minimumPossibility);
    return true;
  };
}
