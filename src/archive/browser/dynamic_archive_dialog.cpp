#include "archive/browser/dynamic_archive_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <system_error>

#include "archive/store/dynamic_archive.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/published_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_dialog.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/background_run.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

using P = cfg::DynamicArchiveParams;
constexpr std::array<cfg::I16, 5> kStepFields = {P::kYears, P::kDays, P::kHours, P::kMinutes,
                                                 P::kSeconds};

}  // namespace

DDYNARC::DDYNARC(const Chart& chart, Archive& archive, QWidget* parent)
    : platform::Dialog(parent), chart_(chart), archive_(archive), fileName_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("СОЗДАНИЕ ДИНАМИЧЕСКОГО АРХИВА"));
  auto* layout = new QVBoxLayout(this);
  auto* file = new QHBoxLayout;
  file->addWidget(new QLabel(QStringLiteral("Архив:"), this));
  file->addWidget(fileName_, 1);
  auto* browse = new QPushButton(QStringLiteral("ВЫБРАТЬ"), this);
  browse->setAutoDefault(false);
  file->addWidget(browse);
  layout->addLayout(file);
  auto* dates = new QHBoxLayout;
  begin_ = MakeDate("С", dates);
  end_ = MakeDate("ДО", dates);
  layout->addLayout(dates);
  QBoxLayout* stepBox = nullptr;
  layout->addWidget(platform::Box(this, "Интервал", stepBox));
  auto* grid = new QGridLayout;
  const char* labels[] = {"ЛЕТ", "ДНЕЙ", "ЧАСОВ", "МИНУТ", "СЕКУНД"};
  for (std::size_t i = 0; i < step_.size(); ++i) {
    step_[i] = platform::NumberBox(this, 0, kDynamicArchiveMaxStepValue);
    grid->addWidget(step_[i], 0, static_cast<int>(i));
    grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), 1, static_cast<int>(i));
  }
  stepBox->addLayout(grid);
  layout->addWidget(platform::DialogButtons(this, "Создать", "Отмена"));
  connect(browse, &QPushButton::clicked, this, [this] { OnBrowse(); });
}

DDYNARC::DateBoxes DDYNARC::MakeDate(const char* title, QBoxLayout* into) {
  QBoxLayout* box = nullptr;
  into->addWidget(platform::Box(this, title, box));
  auto* row = new QHBoxLayout;
  DateBoxes d{platform::NumberBox(this, 1, 31), platform::NumberBox(this, 1, 12),
              platform::NumberBox(this, 1, kMaxEnteredYear), nullptr};
  row->addWidget(d.day);
  row->addWidget(d.month);
  row->addWidget(d.year);
  box->addLayout(row);
  auto* eras = new QHBoxLayout;
  d.era = platform::AddChoices(this, eras, {"до н.э.", "н.э."});
  box->addLayout(eras);
  return d;
}

void DDYNARC::SetDate(const DateBoxes& d, int day, int month, int year, char era) {
  d.day->setValue(day);
  d.month->setValue(month);
  d.year->setValue(year);
  platform::Check(d.era, era == 'B' ? 0 : 1);
}

void DDYNARC::SetBegin(int day, int month, int year, char era) {
  SetDate(begin_, day, month, year, era);
}
void DDYNARC::SetEnd(int day, int month, int year, char era) {
  SetDate(end_, day, month, year, era);
}
void DDYNARC::SetStep(int years, int days, int hours, int minutes, int seconds) {
  const int values[] = {years, days, hours, minutes, seconds};
  for (std::size_t i = 0; i < step_.size(); ++i) step_[i]->setValue(values[i]);
}

bool DDYNARC::ReadDate(const DateBoxes& d, FDate& date) {
  const char era = platform::Checked(d.era, 1) == 0 ? 'B' : 'A';
  const Status st = date.SetDate(d.day->value(), d.month->value(), d.year->value(), era);
  if (!st.ok()) ReportStatus(st);
  return st.ok();
}

void DDYNARC::OnInitDialog() {
  const cfg::ByteBlock& params = GetConfiguration().dynamicArchive;
  fileName_->setText(platform::PathToQt(params.Get(P::kFileName)));
  std::array<int, 5> stored{};
  for (std::size_t i = 0; i < step_.size(); ++i) stored[i] = params.Get(kStepFields[i]);
  const Source* base = chart_.definition.GetBaseSource();
  const DynamicArchiveOpening opening =
      OpenDynamicArchive(base != nullptr ? base->moment.date : FDate(), stored);
  for (std::size_t i = 0; i < step_.size(); ++i) step_[i]->setValue(opening.step[i]);
  const FDate& b = opening.begin;
  const FDate& e = opening.end;
  SetBegin(b.Day(), b.Month(), b.Year(), b.Era());
  SetEnd(e.Day(), e.Month(), e.Year(), e.Era());
}

void DDYNARC::OnBrowse() {
  platform::FileChoice choice =
      ArchiveFileChoice(true, ArchiveFilter::kVersions45, archive_.DialogFolder());
  choice.mustExist = false;
  if (platform::GetPrompter().ChooseFile(choice) && !choice.path.empty())
    fileName_->setText(platform::PathToQt(choice.path));
}

bool DDYNARC::CheckOk() {
  FDate begin, end;
  if (!ReadDate(begin_, begin) || !ReadDate(end_, end)) return false;
  const double from = begin.ToJulianDay(), to = end.ToJulianDay();
  if (to <= from) {
    ShowMessage(kMsgEndNotLater);
    return false;
  }
  std::array<int, 5> values{};
  for (std::size_t i = 0; i < step_.size(); ++i) values[i] = step_[i]->value();
  const double step = DynamicArchiveStep(values[0], values[1], values[2], values[3], values[4]);
  const std::string typed = platform::PathFromQt(fileName_->text().trimmed());
  if (!PathFitsOrTell(typed, P::kFileName.width)) return false;
  ChangeSettings([&](Configuration& config, Aspectarium&) {
    config.dynamicArchive.Set(P::kFileName, typed);
    for (std::size_t i = 0; i < step_.size(); ++i)
      config.dynamicArchive.Set(kStepFields[i], static_cast<std::int16_t>(values[i]));
  });
  if (step <= 0.0) {
    ShowMessage(kMsgZeroStep);
    return false;
  }
  bool cut = false;
  const int steps = DynamicArchiveSteps(from, to, step, cut);
  if (cut) ShowMessage(kMsgTooLarge, DynamicArchiveCutText(begin, step));
  if (typed.empty()) {
    OnBrowse();
    return false;
  }
  // A name without a folder lies beside the current archive (in the data folder without one).
  std::string file = DynamicArchiveFileName(typed);
  if (std::filesystem::path(file).is_relative()) file = archive_.DialogFolder() + file;
  std::error_code ec;
  if (std::filesystem::exists(file, ec) &&
      platform::GetPrompter().AskYesNo(kMsgReplaceFile, GetMessageText(kMsgReplaceFile)) !=
          platform::Answer::Yes)
    return false;

  const ChartContext ctx = ChartContext::FromCurrentSettings();
  Status st;
  platform::BackgroundRun run(windowTitle(), this);
  run.Run([&](platform::ProgressSink& progress) {
    st = WriteDynamicArchive(ctx, chart_, begin, step, steps, file, progress);
  });
  if (!st.ok()) {
    ReportStatus(st, "DDYNARC::OnOK");
    return false;
  }
  written_ = steps + 1;
  // The current archive written over: its layout is found anew and its index rebuilt.
  if (!archive_.GetPath().empty() && Archive::IsSameFile(file, archive_.GetPath())) {
    const std::string current = archive_.GetPath();
    archive_.FreeIndex();
    archive_.SetPath(current);
    archive_.CreateIndex();
  }
  ShowMessage(kMsgCreated, platform::Icon::Information);
  return true;
}
