#include "archive/browser/comment_names_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/config/configuration.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

std::string Cut(const std::string& name) {
  return name.substr(0, std::min<std::size_t>(name.size(), DCommentNames::kMaxNameChars));
}

}  // namespace

DCommentNames::DCommentNames(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("НАЗВАНИЯ КОММЕНТАРИЕВ"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  for (int k = 0; k < kPages; ++k) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("name%1").arg(kIdcFirstName + k));
    edit->setMaxLength(kMaxNameChars);
    edit->setValidator(new platform::Cp1251Validator(edit));
    edits_[static_cast<std::size_t>(k)] = edit;
    form->addRow(QStringLiteral("%1.").arg(k + 1), edit);
  }
  layout->addLayout(form);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

bool DCommentNames::DoDataExchange(bool save) {
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (save)
      names[k] = Cut(platform::FromQt(edits_[k]->text()));
    else
      edits_[k]->setText(platform::ToQt(Cut(names[k])));
  }
  return true;
}

void DCommentNames::LoadFrom(const Configuration& config) {
  for (std::size_t k = 0; k < names.size(); ++k) names[k] = Cut(config.commentPageNames[k]);
}

void DCommentNames::StoreTo(Configuration& config) const {
  for (std::size_t k = 0; k < names.size(); ++k) config.commentPageNames[k] = Cut(names[k]);
}
