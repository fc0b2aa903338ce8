#include "platform/qt/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <QTreeView>

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

// The file dialog's columns of size, type and date in Russian. Qt's own model writes sizes and
// dates in the system's locale, names a folder through a text its Russian translation does not
// hold and a file by its MIME comment in the system's language.
class RussianFileColumns final : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || index.column() < kSize ||
        index.column() > kDate)
      return QIdentityProxyModel::data(index, role);
    const QFileInfo info = files->fileInfo(mapToSource(index));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    switch (index.column()) {
      case kSize:
        return info.isDir() ? QString() : SizeText(info.size(), russian);
      case kType:
        if (info.isDir()) return QStringLiteral("Папка");
        if (info.suffix().isEmpty()) return QStringLiteral("Файл");
        return QStringLiteral("Файл ") + info.suffix().toUpper();
      default:
        return russian.toString(info.lastModified(), QLocale::ShortFormat);
    }
  }

 private:
  static constexpr int kSize = 1, kType = 2, kDate = 3;

  static QString SizeText(qint64 bytes, const QLocale& russian) {
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral(" байт");
    const char* const units[] = {"КБ", "МБ", "ГБ", "ТБ"};
    double value = static_cast<double>(bytes) / 1024.0;
    int unit = 0;
    while (value >= 1024.0 && unit < 3) {
      value /= 1024.0;
      ++unit;
    }
    return russian.toString(value, 'f', 1) + QLatin1Char(' ') + QString::fromUtf8(units[unit]);
  }
};

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
  // Qt's own dialog, not the desktop's: it speaks the program's language whatever the desktop's.
  QFileDialog dialog(parent_, ToQt(choice.title), PathToQt(choice.path));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setProxyModel(new RussianFileColumns(&dialog));
  // The size, type and date columns as wide as their texts once the folder is read.
  auto* files = dialog.findChild<QFileSystemModel*>();
  auto* details = dialog.findChild<QTreeView*>();
  if (files != nullptr && details != nullptr)
    QObject::connect(files, &QFileSystemModel::directoryLoaded, details, [details] {
      for (int column = 1; column < details->header()->count(); ++column)
        details->resizeColumnToContents(column);
    });
  dialog.setFont(QFont(TextFaceFamily(), 9));
  if (!choice.acceptText.empty()) dialog.setLabelText(QFileDialog::Accept, ToQt(choice.acceptText));
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
  choice.path = PathFromQt(dialog.selectedFiles().front());
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
