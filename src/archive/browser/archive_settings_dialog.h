// The archive's settings ("НАСТРОЙКИ" in either browser): when the program asks which archive a
// chart is saved to, and where a newly saved chart is placed.
#pragma once

#include <QButtonGroup>

#include "archive/store/archive.h"
#include "platform/qt/dialog.h"

class DARCHIVEPAR : public platform::Dialog {
  Q_OBJECT

 public:
  // Save-target choices 0 "Не нужен", 1 "При новом сеансе работы", 2 "Каждый раз" (any mode other
  // than 0 and 1 shows as 2); insertion choices 0 append, 1 alphabetical.
  explicit DARCHIVEPAR(Archive& archive, QWidget* parent = nullptr);

  // The archive's two modes to the choices, or the choices to the archive.
  bool DoDataExchange(bool save) override;

  QButtonGroup* TargetChoice() const { return target_; }
  QButtonGroup* InsertionChoice() const { return insertion_; }

 private:
  Archive& archive_;
  QButtonGroup* target_;
  QButtonGroup* insertion_;
};
