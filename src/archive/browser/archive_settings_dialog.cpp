#include "archive/browser/archive_settings_dialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "platform/qt/dialog_controls.h"

DARCHIVEPAR::DARCHIVEPAR(Archive& archive, QWidget* parent)
    : platform::Dialog(parent), archive_(archive) {
  setWindowTitle(QStringLiteral("АРХИВ - НАСТРОЙКИ"));
  auto* layout = new QVBoxLayout(this);
  target_ = platform::AddChoiceBox(this, layout, "Запрос архива при сохранении гороскопа",
                                   {"Не нужен", "При новом  сеансе работы ", "Каждый раз"});
  insertion_ = platform::AddChoiceBox(this, layout, "Новый гороскоп в архиве",
                                      {"Добавлять в конец", "Помещать в алфавитном порядке"});
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

bool DARCHIVEPAR::DoDataExchange(bool save) {
  if (save) {
    archive_.saveTargetMode = platform::Checked(target_, 2);
    archive_.insertionMode = platform::Checked(insertion_, 0);
    return true;
  }
  const int mode = archive_.saveTargetMode;
  platform::Check(target_, mode == 0 || mode == 1 ? mode : 2);
  platform::Check(insertion_, archive_.insertionMode == 0 ? 0 : 1);
  return true;
}
