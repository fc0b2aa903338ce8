// The coordinate-table settings ("Конфигурация > Координаты"): a sheet of two pages over the
// screen layout ("ЭКРАН") and the print layout ("ПЕЧАТЬ"). Each page lists the candidates outside
// the table and the table's rows, moves rows in, out, up and down, and edits the font size and the
// line step; the screen page also the font mode and the window's width, the print page checks the
// table's height on paper.
#pragma once

#include "platform/qt/property_sheet.h"
#include "views/core/coord_conf_page.h"

class Configuration;
class QButtonGroup;
class QListWidget;
class QPushButton;
class QSpinBox;

class CoordConfPage : public platform::PropertyPage {
  Q_OBJECT

 public:
  CoordConfPage(const COORD_CONF& layout, bool screen, QWidget* parent = nullptr);

  coords::CoordConfPage& Model() { return model_; }
  const COORD_CONF& Layout() const { return model_.layout; }
  bool DoDataExchange(bool save) override;

  QListWidget* CandidateList() const { return candidates_; }  // 1251
  QListWidget* RowList() const { return rows_; }              // 1075
  QPushButton* ShowButton() const { return show_; }           // 1045 ">>>>>"
  QPushButton* HideButton() const { return hide_; }           // 1252 "Удалить"
  QPushButton* UpButton() const { return up_; }               // 1043 "Вверх"
  QPushButton* DownButton() const { return down_; }           // 1044 "Вниз"
  QSpinBox* FontBox() const { return font_; }                 // 1049
  QSpinBox* StepBox() const { return step_; }                 // 1050
  QButtonGroup* FitGroup() const { return fit_; }             // 1258 / 1037, screen only
  QSpinBox* WidthBox() const { return width_; }               // 1051, screen only
  QPushButton* CheckButton() const { return check_; }         // 1046, print only

 private:
  void Refill();
  void Act(bool (coords::CoordConfPage::*action)());
  void CheckSize();

  coords::CoordConfPage model_;
  bool screen_;
  QListWidget* candidates_;
  QListWidget* rows_;
  QPushButton* show_;
  QPushButton* hide_;
  QPushButton* up_;
  QPushButton* down_;
  QSpinBox* font_;
  QSpinBox* step_;
  QButtonGroup* fit_ = nullptr;
  QSpinBox* width_ = nullptr;
  QPushButton* check_ = nullptr;
};

class CoordConfSheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  static constexpr int kScreenPageId = 184;
  static constexpr int kPrintPageId = 186;
  explicit CoordConfSheet(QWidget* parent = nullptr);
  CoordConfPage* screen = nullptr;
  CoordConfPage* print = nullptr;
};

// Runs the sheet over copies of the two layouts; OK stores both into `config` (true), Cancel
// leaves them as they were.
bool RunCoordConfSheet(Configuration& config, QWidget* parent);
