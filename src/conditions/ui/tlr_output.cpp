#include "conditions/ui/tlr_output.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "astro/chart/chart_context.h"
#include "astro/chart/published_settings.h"
#include "conditions/ui/view_kinds.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/drawing/palette.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/file_dialog.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

using T = cfg::InterpretationSettings;
namespace fs = std::filesystem;
using cfg::Bind;

constexpr cfg::FieldTable kOptionFields{
    Bind(&TlrOutputOptions::sortOrder, T::kSortOrder, cfg::Clamp{0, 2}),
    Bind(&TlrOutputOptions::titles, T::kTitles),
    Bind(&TlrOutputOptions::groupHeadings, T::kGroupHeadings),
    Bind(&TlrOutputOptions::comments, T::kComments)};

constexpr cfg::FieldTable kFileFields{Bind(&DTLRPARAMS::saveToFile, T::kSaveToFile),
                                      Bind(&DTLRPARAMS::replaceFile, T::kReplaceFile),
                                      Bind(&DTLRPARAMS::fileName, T::kFileName)};

constexpr int kAreaChars = 40;

QColor ToQColor(int paletteIndex) {
  const platform::Color c = ColorByIndex(paletteIndex);
  return QColor(c.r, c.g, c.b);
}

class TlrFilesDelegate : public QStyledItemDelegate {
 public:
  explicit TlrFilesDelegate(CTlrFilesListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) painter->fillRect(option.rect, ToQColor(1));
    painter->setPen(selected                     ? ToQColor(14)
                    : box_->ItemOff(index.row()) ? ToQColor(7)
                                                 : QColor(Qt::black));
    painter->drawText(option.rect.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      platform::ToQt(box_->ItemText(index.row())));
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(300, CTlrFilesListBox::kItemHeight);
  }

 private:
  CTlrFilesListBox* box_;
};

}  // namespace

// --- The list box ---

CTlrFilesListBox::CTlrFilesListBox(const TLRDATA& data, int mode, QWidget* parent)
    : QListWidget(parent), data_(data), mode_(mode) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setItemDelegate(new TlrFilesDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

std::string CTlrFilesListBox::ItemText(int row) const {
  if (mode_ == 0)
    return row >= 0 && row < data_.Count() ? data_.bases[static_cast<std::size_t>(row)].name
                                           : std::string();
  if (data_.current < 0 || data_.current >= data_.Count()) return {};
  const auto& groups = data_.bases[static_cast<std::size_t>(data_.current)].groups;
  if (row < 0 || row >= static_cast<int>(groups.size())) return {};
  const TlrGroup& g = groups[static_cast<std::size_t>(row)];
  return g.name + " [" + std::to_string(g.priority) + "]";
}

bool CTlrFilesListBox::ItemOff(int row) const {
  if (mode_ == 0)
    return row >= 0 && row < data_.Count() &&
           data_.bases[static_cast<std::size_t>(row)].switchByte == 'F';
  if (data_.current < 0 || data_.current >= data_.Count()) return false;
  const auto& groups = data_.bases[static_cast<std::size_t>(data_.current)].groups;
  return row >= 0 && row < static_cast<int>(groups.size()) &&
         groups[static_cast<std::size_t>(row)].flag == 'F';
}

void CTlrFilesListBox::Refill(int selected) {
  const QSignalBlocker block(this);
  clear();
  int count = 0;
  if (mode_ == 0)
    count = data_.Count();
  else if (data_.current >= 0 && data_.current < data_.Count())
    count = static_cast<int>(data_.bases[static_cast<std::size_t>(data_.current)].groups.size());
  for (int i = 0; i < count; ++i) addItem(platform::ToQt(ItemText(i)));
  setCurrentRow(selected >= 0 && selected < count ? selected : -1);
  viewport()->update();
}

// --- DTLRPARAMS ---

TlrOutputOptions TlrOptionsOf(const Configuration& config) {
  TlrOutputOptions options;
  kOptionFields.Read(config.interpretation, options);
  return options;
}

DTLRPARAMS::DTLRPARAMS(TLRDATA& data, QWidget* parent) : platform::Dialog(parent), data_(data) {
  setWindowTitle(QStringLiteral("ВЫВОД ИНТЕРПРЕТАЦИИ - ПАРАМЕТРЫ"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  auto* layout = new QVBoxLayout(this);
  order_ =
      platform::AddChoiceBox(this, layout, "Порядок вывода",
                             {"Сначала по базам, потом по приоритету группы",
                              "Сначала по приоритету группы, потом по базам", "Только по базам"});
  titles_ = new QCheckBox(QStringLiteral("Выводить заголовки текстов"), this);
  groups_ = new QCheckBox(QStringLiteral("Выводить заголовки групп"), this);
  comments_ = new QCheckBox(QStringLiteral("Выводить комментарии"), this);
  save_ = new QCheckBox(QStringLiteral("Сохранять в файл"), this);
  for (QCheckBox* box : {titles_, groups_, comments_, save_}) layout->addWidget(box);
  auto* fileRow = new QHBoxLayout;
  file_ = new QLineEdit(this);
  file_->setReadOnly(true);
  change_ = new QPushButton(QStringLiteral("Изменить"), this);
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(change_);
  layout->addLayout(fileRow);
  layout->addWidget(new QLabel(QStringLiteral("Базы с текстами"), this));
  bases_ = new CTlrFilesListBox(data_, 0, this);
  layout->addWidget(bases_);
  auto* flip = new QPushButton(QStringLiteral("ВКЛ/ВЫКЛ"), this);
  layout->addWidget(flip);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
  connect(save_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
  connect(change_, &QPushButton::clicked, this, [this] { OnChangeFile(); });
  connect(flip, &QPushButton::clicked, this, [this] { OnFlip(); });
  connect(bases_, &QListWidget::itemDoubleClicked, this, [this] { OnFlip(); });
  LoadFrom(GetConfiguration());
}

void DTLRPARAMS::LoadFrom(const Configuration& config) {
  options = TlrOptionsOf(config);
  kFileFields.Read(config.interpretation, *this);
}

void DTLRPARAMS::StoreTo(Configuration& config) const {
  kOptionFields.Write(options, config.interpretation);
  kFileFields.Write(*this, config.interpretation);
}

bool DTLRPARAMS::DoDataExchange(bool save) {
  if (save) {
    options.sortOrder = platform::Checked(order_, 0);
    options.titles = titles_->isChecked();
    options.groupHeadings = groups_->isChecked();
    options.comments = comments_->isChecked();
    saveToFile = save_->isChecked();
    return true;
  }
  platform::Check(order_, options.sortOrder);
  titles_->setChecked(options.titles);
  groups_->setChecked(options.groupHeadings);
  comments_->setChecked(options.comments);
  save_->setChecked(saveToFile);
  ShowFileName();
  bases_->Refill(data_.Count() > 0 ? 0 : -1);
  UpdateEnabling();
  return true;
}

void DTLRPARAMS::UpdateEnabling() {
  file_->setEnabled(save_->isChecked());
  change_->setEnabled(save_->isChecked());
}

bool DTLRPARAMS::CheckOk() {
  for (const TLRBASE& base : data_.bases)
    if (base.switchByte != 'F') return true;
  ShowMessage(kMsgTlrSwitchOnABase, GetMessageText(kMsgTlrSwitchOnABase));
  return false;
}

void DTLRPARAMS::OnFlip() {
  const int row = bases_->currentRow();
  if (row < 0 || row >= data_.Count()) return;
  TLRBASE& base = data_.bases[static_cast<std::size_t>(row)];
  base.switchByte = base.switchByte == 'F' ? 'T' : 'F';
  (void)data_.Save();
  bases_->Refill(row);
}

void DTLRPARAMS::OnChangeFile() {
  platform::FileChoice choice;
  choice.open = false;
  choice.filters = {{GetMessageText(kMsgTlrTextFilter), "*.txt"}};
  choice.path = fileName;
  if (!platform::GetPrompter().ChooseFile(choice) || choice.path.empty()) return;
  std::string path = choice.path;
  if (HasFileExtension(path) == 0) path += ".txt";
  if (!PathFitsOrTell(path, T::kFileName.width)) return;
  if (FileExists(path) != 0) {
    const platform::Answer answer = platform::GetPrompter().AskYesNoCancel(
        kMsgTlrOutputFileExists, GetMessageText(kMsgTlrOutputFileExists));
    if (answer == platform::Answer::Cancel) return;
    replaceFile = answer == platform::Answer::Yes;
  }
  fileName = path;
  ShowFileName();
}

void DTLRPARAMS::ShowFileName() {
  const QFontMetrics metrics(file_->font());
  file_->setText(metrics.elidedText(QString::fromStdString(fileName), Qt::ElideMiddle,
                                    std::max(100, file_->width() - 8)));
}

bool PrepareInterpretation(TLRDATA& data, QWidget* parent) {
  (void)data.LoadBases();
  if (data.Count() == 0) {
    ShowMessage(kMsgTlrNoBases, GetMessageText(kMsgTlrNoBases) + "\n" +
                                    MissingDataText("Баз с текстами интерпретации",
                                                    g_DataFileNames[kDataTextBases]));
    return false;
  }
  DTLRPARAMS dialog(data, parent);
  if (dialog.DoModal() != platform::kIdOk) return false;
  ChangeSettings([&dialog](Configuration& config, Aspectarium&) { dialog.StoreTo(config); });
  return true;
}

// --- CTLRVIEW ---

CTLRVIEW::CTLRVIEW(TLRDATA& data, QWidget* parent) : CRichTextCtrlView(parent), data_(data) {}

CTLRVIEW::~CTLRVIEW() {
  std::error_code ec;
  fs::remove(TLRDATA::OutputPath(), ec);
  if (!attached_) return;
  OnDestroy();
  if (ChartDocument* document = GetChartDocument())
    document->ViewClosed(kDocViewInterpretationText);
}

void CTLRVIEW::OnInitialUpdate() {
  textFraction_ = kTextFraction;
  textLimit_ = kMinTextLimit;
  saveOnClose_ = false;
  CRichTextCtrlView::OnInitialUpdate();
  ChartDocument* document = GetChartDocument();
  if (document != nullptr) {
    document->ViewOpened(kDocViewInterpretationText);
    attached_ = true;
  }
  const Chart* chart = document != nullptr ? document->GetChart() : nullptr;
  buffer_.clear();
  const Configuration& config = GetConfiguration();
  if (chart != nullptr &&
      data_.SelectTexts(ChartContext::FromCurrentSettings(), *chart, TlrOptionsOf(config)) == 0) {
    SaveToFile(config);
    // The whole output is shown, however long.
    if (const Status read = ReadWholeFile(TLRDATA::OutputPath(), buffer_); !read.ok()) {
      ShowMessage(kMsgCannotLoad, GetMessageText(kMsgCannotLoad));
      buffer_.clear();
      std::error_code ec;
      fs::remove(TLRDATA::OutputPath(), ec);
    }
    textLimit_ = std::max<int>(kMinTextLimit, static_cast<int>(buffer_.size()) * 2 + 1);
  }
  CreateRichEdit();
  hotAreas_.Clear();
  hotAreas_.Add({10, 130, 280, 800, GetMessageText(kMsgCopyAll), 0, kAreaChars});
  hotAreas_.Add({310, 130, 670, 800, GetMessageText(kMsgCopySelection), 0, kAreaChars});
}

void CTLRVIEW::SaveToFile(const Configuration& config) {
  const auto& b = config.interpretation;
  if (b.Get(T::kSaveToFile) == 0) return;
  const std::string target = b.Get(T::kFileName);
  if (!TLRDATA::CopyOutput(target, b.Get(T::kReplaceFile) != 0)) {
    ShowMessage(kMsgSaveFailed, GetMessageText(kMsgSaveFailed));
    return;
  }
  ShowMessage(kMsgSaved, GetMessageText(kMsgSaved) + "\n" + target, platform::Icon::Information);
}

std::string CTLRVIEW::GetFrameTitle() const {
  return CRichTextCtrlView::GetFrameTitle() + GetMessageText(kMsgInterpretationCaption);
}

int CTLRVIEW::PrintTitleMessage() const { return kMsgInterpretationPrintTitle; }

void CTLRVIEW::CopyAll() {
  if (Control() == nullptr) return;
  Control()->selectAll();
  Control()->copy();
  QTextCursor cursor = Control()->textCursor();
  cursor.clearSelection();
  Control()->setTextCursor(cursor);
}

void CTLRVIEW::CopySelection() {
  if (Control() != nullptr) Control()->copy();
}

void CTLRVIEW::OnLButtonDblClk(platform::Point point) {
  const int hit = FindHotArea(point, StripRect());
  if (hit == kCopyAllArea)
    CopyAll();
  else if (hit == kCopySelectionArea)
    CopySelection();
}
