// The editor of the export formats ("Конфигурация > Форматы экспорта архивов"): DEXPORT edits the
// list of formats and the elements of one format on its own copy of "velm.exp", written only by
// "Сохранить"; EXPPARAM_EL edits one element.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <array>

#include "archive/export/export_formats.h"
#include "platform/qt/dialog.h"

class EXPPARAM_EL : public platform::Dialog {
  Q_OBJECT

 public:
  explicit EXPPARAM_EL(QWidget* parent = nullptr);

  // In: the element shown; out after OK: the element edited.
  ExportElement element;

  bool DoDataExchange(bool save) override;
  // The controls the chosen kind uses enabled, the others disabled.
  void UpdateEnabled();

  // --- For the tests ---
  QButtonGroup* KindChoice() const { return kind_; }
  QCheckBox* PadCheck() const { return pad_; }
  QSpinBox* Width() const { return width_; }
  QComboBox* Separator() const { return separator_; }
  QSpinBox* SeparatorCode() const { return separatorCode_; }
  QLineEdit* Plus() const { return plus_; }
  QComboBox* CommentPage() const { return page_; }

 private:
  QButtonGroup* kind_;
  QCheckBox* pad_;
  QSpinBox* width_;
  QButtonGroup* fill_;  // 0 blanks, 1 zeros, 2 the code
  QSpinBox* fillCode_;
  QButtonGroup* side_;
  QButtonGroup* codePage_;
  QCheckBox* underscore_;
  QLineEdit* plus_;
  QLineEdit* minus_;
  class QLabel* plusLabel_;
  class QLabel* minusLabel_;
  QLineEdit* eraAd_;
  QLineEdit* eraBc_;
  QComboBox* separator_;
  QSpinBox* separatorCode_;
  QComboBox* page_;
  QCheckBox* lineBreaks_;
  QSpinBox* maxLength_;
};

class DEXPORT : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DEXPORT(QWidget* parent = nullptr);

  void OnInitDialog() override;
  // "Сохранить": a new format (the entry "НОВЫЙ ТИП" or a typed name) needs a free name (714,
  // 755) and room (2042); every format an extension of 1 to 3 characters (715) and an element
  // (716). The formats are then written; a failed write keeps the dialog open.
  bool CheckOk() override;

  // The format entry `entry` into the edit area ("НОВЫЙ ТИП": an empty format).
  void OnFormatChosen(int entry);
  void OnAdd();
  void OnEdit();
  void OnDelete();
  void OnUpDown(bool up);
  void OnDeleteFormat();

  // --- For the tests ---
  const AllExpFormats& Formats() const { return formats_; }
  const ExportFormat& EditArea() const { return edit_; }
  QComboBox* FormatCombo() const { return combo_; }
  QListWidget* ElementList() const { return list_; }
  QLineEdit* Extension() const { return extension_; }
  QLineEdit* Header() const { return header_; }
  QCheckBox* HeaderCheck() const { return headerCheck_; }

 private:
  void FillCombo();
  void FillList(int selected);
  // The controls into the edit area.
  void TakeControls();
  // The entry of the format in the edit area: its index, or Count() for a new one (also when the
  // user typed another name in the combo box).
  int EditedEntry() const;

  AllExpFormats formats_;
  ExportFormat edit_;
  int entry_ = 0;
  QComboBox* combo_;
  QListWidget* list_;
  QLineEdit* extension_;
  QLineEdit* header_;
  QCheckBox* headerCheck_;
  QCheckBox* realDate_;
};
