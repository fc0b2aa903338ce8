// The interpretation output: the list box of text bases and groups, the output parameters dialog
// DTLRPARAMS, and CTLRVIEW, the text view that selects the texts for its document's chart and
// shows them with two hot areas that copy the whole text or the selection to the clipboard.
#pragma once

#include <QListWidget>
#include <string>

#include "conditions/core/tlr_base.h"
#include "document/rich_text_view.h"
#include "platform/qt/dialog.h"

class Configuration;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class Workbench;

// An owner-drawn list: mode 0 the bases of TLRDATA (their names), mode 1 the groups of its
// current base ("name [priority]"). Switched-off items are grey, the selected one yellow on navy.
class CTlrFilesListBox : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 20;

  CTlrFilesListBox(const TLRDATA& data, int mode, QWidget* parent = nullptr);
  void Refill(int selected);
  int Mode() const { return mode_; }
  std::string ItemText(int row) const;
  bool ItemOff(int row) const;

 private:
  const TLRDATA& data_;
  int mode_;
};

// "ВЫВОД ИНТЕРПРЕТАЦИИ - ПАРАМЕТРЫ": the output options and the bases' switches.
class DTLRPARAMS : public platform::Dialog {
  Q_OBJECT

 public:
  DTLRPARAMS(TLRDATA& data, QWidget* parent = nullptr);

  void LoadFrom(const Configuration& config);
  void StoreTo(Configuration& config) const;
  bool DoDataExchange(bool save) override;
  // Message 1126 unless a base is switched on.
  bool CheckOk() override;

  // "ВКЛ/ВЫКЛ" and a double click: flips the selected base and saves the list at once.
  void OnFlip();
  // "Изменить": the output file chosen (message 1021 asks about an existing file).
  void OnChangeFile();

  TlrOutputOptions options;
  bool saveToFile = false;
  bool replaceFile = true;
  std::string fileName;  // OS bytes

  CTlrFilesListBox* Bases() const { return bases_; }

 private:
  void UpdateEnabling();
  // The output file's path, shortened in the middle to the field's width.
  void ShowFileName();

  TLRDATA& data_;
  QButtonGroup* order_;
  QCheckBox* titles_;
  QCheckBox* groups_;
  QCheckBox* comments_;
  QCheckBox* save_;
  QLineEdit* file_;
  QPushButton* change_;
  CTlrFilesListBox* bases_;
};

class CTLRVIEW : public CRichTextCtrlView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131353;
  static constexpr double kTextFraction = 0.9;
  static constexpr int kMinTextLimit = 200000;
  static constexpr int kCopyAllArea = 0;
  static constexpr int kCopySelectionArea = 1;

  explicit CTLRVIEW(TLRDATA& data, QWidget* parent = nullptr);
  ~CTLRVIEW() override;

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }
  int PrintTitleMessage() const override;

  void CopyAll();
  void CopySelection();

 protected:
  void OnLButtonDblClk(platform::Point point) override;

 private:
  void SaveToFile(const Configuration& config);

  TLRDATA& data_;
  bool attached_ = false;
};

// The output options of the configuration's interpretation block.
TlrOutputOptions TlrOptionsOf(const Configuration& config);
// The interpretation command: the list re-read, message 1015 without bases, then DTLRPARAMS;
// true when the view is to open.
bool PrepareInterpretation(TLRDATA& data, QWidget* parent);
