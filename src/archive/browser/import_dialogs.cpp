#include "archive/browser/import_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <cstdlib>

#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/background_run.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

DZETCONVCOM::DZETCONVCOM(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("КОММЕНТАРИИ"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Куда поместить комментарии гороскопов:"), this));
  page_ = new QComboBox(this);
  page_->setObjectName(QStringLiteral("page%1").arg(kIdcPage));
  layout->addWidget(page_);
  split_ = new QCheckBox(QStringLiteral("Разбивать текст на строки"), this);
  split_->setObjectName(QStringLiteral("split%1").arg(kIdcSplitLines));
  layout->addWidget(split_);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

bool DZETCONVCOM::DoDataExchange(bool save) {
  if (save) {
    choice = std::max(0, page_->currentIndex());
    splitLines = split_->isChecked();
    return true;
  }
  page_->clear();
  page_->addItem(platform::ToQt(GetMessageText(kMsgDoNotConvert)));
  for (const std::string& name : pageNames) page_->addItem(platform::ToQt(name));
  page_->setCurrentIndex(choice);
  split_->setChecked(splitLines);
  return true;
}

ForeignImportDialogs::ForeignImportDialogs(Workbench& workbench)
    : ForeignImport(workbench.GetArchive()), workbench_(workbench) {
  if (const char* program = std::getenv("VELM_CONVERTER"); program && *program)
    SetConverter({program});
}

int ForeignImportDialogs::ConvertToArchive(const std::string& source, std::string& archive,
                                           int type) {
  platform::BackgroundRun run(QStringLiteral("Конвертация"), workbench_.MainWindow());
  int result = -1;
  run.Run([&](platform::ProgressSink& progress) {
    SetProgress(&progress);
    result = ForeignImport::ConvertToArchive(source, archive, type);
    SetProgress(nullptr);
  });
  return result;
}

bool ForeignImportDialogs::ChooseCommentPage() {
  bool chosen = false;  // asked from the conversion's worker: the dialog is the window's
  platform::CallOnUiThread([&] { chosen = AskCommentPage(); });
  return chosen;
}

bool ForeignImportDialogs::AskCommentPage() {
  Archive& archive = workbench_.GetArchive();
  DZETCONVCOM dialog(workbench_.MainWindow());
  const Configuration& config = GetConfiguration();
  for (std::size_t k = 0; k < dialog.pageNames.size(); ++k)
    dialog.pageNames[k] = config.commentPageNames[k];
  dialog.choice = 0;
  dialog.splitLines = archive.splitLines != 0;
  if (dialog.DoModal() != platform::kIdOk) return false;
  archive.importCommentPage = dialog.choice - 1;
  archive.splitLines = dialog.splitLines ? 1 : 0;
  return true;
}
