// The dialogs of the Arabic parts: the configuration (the part list with its commands and the
// view's settings) and the editor of one part; the owner-drawn list of the parts.
#pragma once

#include <QListWidget>
#include <array>

#include "platform/qt/dialog.h"
#include "views/core/arab_pages.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CArabListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CArabListBox(const AllArabParts& parts, QWidget* parent = nullptr);
  // One line per part (an empty list: one blank line); `select` is selected.
  void Fill(int select);
  const AllArabParts& Parts() const { return parts_; }

 private:
  const AllArabParts& parts_;
};

class DArabEditor : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 220;

  explicit DArabEditor(const ArabEditorPage& page, QWidget* parent = nullptr);
  ArabEditorPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;

  QLineEdit* Name() const { return name_; }
  QComboBox* Operand(int k) const { return operands_[static_cast<std::size_t>(k)]; }
  QComboBox* Operator(int k) const { return operators_[static_cast<std::size_t>(k)]; }

 private:
  ArabEditorPage page_;
  QLineEdit* name_;
  std::array<QComboBox*, 3> operands_{};
  std::array<QComboBox*, 2> operators_{};
};

class DArabConf : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 221;

  DArabConf(AllArabParts& parts, const ArabSettings& settings, bool modesAllowed, bool fromMenu,
            QWidget* parent = nullptr);

  ArabConfPage& Page() { return page_; }
  // After OK: 1 when "Рассчитать" ended the dialog.
  bool Compute() const { return compute_; }
  bool DoDataExchange(bool save) override;

  CArabListBox* List() const { return list_; }
  QPushButton* ComputeButton() const { return computeButton_; }
  // The list commands on the selected line (also for tests).
  void OnAdd();
  void OnEdit();
  void OnDelete();
  void OnUp();
  void OnDown();
  void OnToggle();

 private:
  void Refill(int select);

  ArabConfPage page_;
  bool compute_ = false;
  CArabListBox* list_;
  QSpinBox* printFont_;
  QSpinBox* printInterval_;
  QSpinBox* orbClass_;
  QButtonGroup* planets_;
  QCheckBox* nodes_;
  QButtonGroup* houses_;
  QButtonGroup* kinds_;
  QCheckBox* formula_;
  QButtonGroup* mode_;
  QCheckBox* ask_;
  QPushButton* computeButton_;
};
