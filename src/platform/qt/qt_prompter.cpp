#include "platform/qt/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include "platform/qt/qt_text.h"

namespace platform {

namespace {

QMessageBox::Icon ToQtIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Error:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton Ask(QWidget* parent, const QString& caption, std::string_view text,
                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::Question, caption, ToQt(text), buttons, parent);
  box.setFont(QFont(TextFaceFamily(), 9));
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString FilterText(const FileFilter& filter) {
  // Qt wants the patterns in brackets; a description that already shows them is kept as it is.
  const QString description = ToQt(filter.description);
  const QString pattern = QString::fromStdString(filter.pattern);
  if (description.contains(QLatin1Char('('))) return description;
  return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

}  // namespace

void QtPrompter::ShowMessage(int, std::string_view text, Icon icon) {
  QMessageBox box(ToQtIcon(icon), caption_, ToQt(text), QMessageBox::Ok, parent_);
  box.setFont(QFont(TextFaceFamily(), 9));
  box.exec();
}

Answer QtPrompter::AskYesNo(int, std::string_view text) {
  return Ask(parent_, caption_, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
             ? Answer::Yes
             : Answer::No;
}

Answer QtPrompter::AskYesNoCancel(int, std::string_view text) {
  switch (Ask(parent_, caption_, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

Answer QtPrompter::AskOkCancel(int, std::string_view text) {
  return Ask(parent_, caption_, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok
             ? Answer::Ok
             : Answer::Cancel;
}

bool QtPrompter::ChooseFile(FileChoice& choice) {
  QStringList filters;
  for (const FileFilter& filter : choice.filters) filters << FilterText(filter);
  QFileDialog dialog(parent_, ToQt(choice.title), QString::fromStdString(choice.path));
  dialog.setFont(QFont(TextFaceFamily(), 9));
  dialog.setNameFilters(filters);
  if (choice.filterIndex >= 1 && choice.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[choice.filterIndex - 1]);
  if (choice.open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  choice.path = dialog.selectedFiles().front().toStdString();
  choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (choice.filterIndex < 1) choice.filterIndex = 1;
  return true;
}

bool QtPrompter::InputText(int, std::string_view prompt, std::string& text) {
  QInputDialog dialog(parent_);
  dialog.setFont(QFont(TextFaceFamily(), 9));
  dialog.setWindowTitle(caption_);
  dialog.setLabelText(ToQt(prompt));
  dialog.setTextValue(ToQt(text));
  if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setValidator(new Cp1251Validator(edit));
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("Отмена"));
  if (dialog.exec() != QDialog::Accepted) return false;
  text = FromQt(dialog.textValue());
  return true;
}

bool InstallRussianTranslator() {
  static QTranslator translator;
  if (!translator.isEmpty()) return true;
  if (!translator.load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  return QCoreApplication::installTranslator(&translator);
}

QString TextFaceFamily() { return QStringLiteral("DejaVu Sans"); }

}  // namespace platform
