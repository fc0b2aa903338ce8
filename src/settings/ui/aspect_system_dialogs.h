// The aspect-system editor (CASPSYS, "СИСТЕМА  АСПЕКТОВ") with its owner-drawn aspect list
// (CAspListBox) and the aspect dialog (CEDIT_ASPECT, "АСПЕКТ"); the correspondence of systems to
// chart kinds (CASPSYS_CORRESP), the line types (DLINETYPES_CONF) and the aspect filter
// (ASPECT_FILTER). The work without windows is in settings/core.
#pragma once

#include <QListWidget>
#include <array>
#include <vector>

#include "platform/qt/dialog.h"
#include "settings/core/aspect_list_drawing.h"
#include "settings/core/aspect_system_editor.h"
#include "settings/core/settings_pages.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// --- CAspListBox ---

class CAspListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CAspListBox(QWidget* parent = nullptr);
  // Item i is aspect i of `system` (nullptr: empty). The list grows as wide as its columns need.
  void SetSystem(const AspectSystem* system);
  const AspectSystem* System() const { return system_; }
  // The columns of its lines and of the heading over them, for the viewport's width.
  settings::AspectListLayout Layout() const;
  // The widget of the column headings, placed over the list by its owner.
  QWidget* Heading() const { return heading_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  const AspectSystem* system_ = nullptr;
  std::vector<AspectTexts> rows_;
  QWidget* heading_ = nullptr;
};

// --- CEDIT_ASPECT ---

class CEDIT_ASPECT : public platform::Dialog {
  Q_OBJECT

 public:
  explicit CEDIT_ASPECT(QWidget* parent = nullptr);

  void OnInitDialog() override;
  // Out: the abbreviation (at most 3 characters) and the numbers; a number that cannot be read
  // is refused with its message and the dialog stays open.
  bool DoDataExchange(bool save) override;

  Aspect aspect;  // in and out

  QLineEdit* Abbreviation() const { return abbreviation_; }
  QLineEdit* Number(int i) const { return numbers_[static_cast<std::size_t>(i)]; }  // 0 angle
  QComboBox* Style() const { return style_; }
  QButtonGroup* Types() const { return types_; }
  QButtonGroup* Strength() const { return strength_; }
  QButtonGroup* Thickness() const { return thickness_; }
  // The colour buttons: the chooser with 16 colours; Cancel there keeps the colour.
  void OnColour(bool exact);

 private:
  QLineEdit* abbreviation_;
  std::array<QLineEdit*, 7> numbers_{};  // angle, orbs of groups 1..5, exact orb
  QButtonGroup* types_;
  QButtonGroup* strength_;
  QComboBox* style_;
  QButtonGroup* thickness_;
  QWidget* sample_;
  QLabel* swatch_;
  QLabel* exactSwatch_;
};

// --- CASPSYS ---

class CASPSYS : public platform::Dialog {
  Q_OBJECT

 public:
  CASPSYS(Aspectarium& aspects, Configuration& config, QWidget* parent = nullptr);

  // The current system shown, its first line selected; the combo box lists all systems.
  void OnInitDialog() override;

  // The buttons.
  void OnEdit();
  void OnAdd();
  void OnDelete();
  void OnSave();
  void OnDestroy();
  void OnCorrespondences();
  void OnLineTypes();
  // A name chosen in the combo box.
  void OnSystemChosen(const QString& name);

  settings::AspectSystemEditor& Editor() { return editor_; }
  QComboBox* SystemBox() const { return systemBox_; }
  CAspListBox* List() const { return list_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool EditAspect(Aspect& aspect);
  void Refill();
  void Rebuild();

  Aspectarium& aspects_;
  Configuration& config_;
  settings::AspectSystemEditor editor_;
  QComboBox* systemBox_;
  CAspListBox* list_;
};

// --- CASPSYS_CORRESP ---

class CASPSYS_CORRESP : public platform::Dialog {
  Q_OBJECT

 public:
  CASPSYS_CORRESP(const Aspectarium& aspects, QWidget* parent = nullptr);

  // Every combo box lists the loaded systems; its text is the kind's configured name.
  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;

  settings::CorrespondencePage page;  // set before the dialog runs

  QComboBox* Box(int kind) const { return boxes_[static_cast<std::size_t>(kind)]; }

 private:
  const Aspectarium& aspects_;
  std::array<QComboBox*, Configuration::kChartKindCount> boxes_{};
};

// --- DLINETYPES_CONF ---

class DLINETYPES_CONF : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DLINETYPES_CONF(QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;

  settings::LineTypesPage page;  // set before the dialog runs (LineTypesPage::From)

  QComboBox* Style(int entry) const { return styles_[static_cast<std::size_t>(entry)]; }
  QButtonGroup* Thickness(int entry) const { return thick_[static_cast<std::size_t>(entry)]; }
  QButtonGroup* Apply() const { return apply_; }

 private:
  std::array<QComboBox*, Configuration::kLineTypeCount> styles_{};
  std::array<QButtonGroup*, Configuration::kLineTypeCount> thick_{};
  QButtonGroup* apply_;
};

// --- ASPECT_FILTER ---

class ASPECT_FILTER : public platform::Dialog {
  Q_OBJECT

 public:
  explicit ASPECT_FILTER(QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;

  settings::AspectFilterPage page;

  QCheckBox* Show(int i) const { return shows_[static_cast<std::size_t>(i)]; }
  QButtonGroup* Overlay() const { return overlay_; }
  QCheckBox* AlwaysAsk() const { return alwaysAsk_; }
  QCheckBox* DashedScreen() const { return dashedScreen_; }
  QCheckBox* DashedPrinter() const { return dashedPrinter_; }
  QCheckBox* ThickScreen() const { return thickScreen_; }
  QCheckBox* ThickPrinter() const { return thickPrinter_; }

 private:
  std::array<QCheckBox*, settings::kFilterSwitchCount> shows_{};
  QButtonGroup* overlay_;
  QCheckBox* alwaysAsk_;
  QCheckBox *dashedScreen_, *dashedPrinter_, *thickScreen_, *thickPrinter_;
};
