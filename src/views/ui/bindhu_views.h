// The Bindhu table (Alt-H) and the Sabian symbols (Alt-A) of a chart document with their settings
// dialogs; the thematic chart dialogs; and the two views that exist as windows without content.
#pragma once

#include <array>

#include "document/chart_doc_view.h"
#include "document/rich_text_view.h"
#include "platform/qt/dialog.h"
#include "views/core/bindhu.h"
#include "views/core/sabians.h"
#include "views/core/thematic_pages.h"

class ChartDocument;
class Workbench;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

class CBindhuView : public ChartDocView {
  Q_OBJECT

 public:
  explicit CBindhuView(QWidget* parent = nullptr);
  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kBindhuHelpContext; }
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

  const BINDHU& Table() const { return table_; }
  int FirstRow() const { return first_; }

 private:
  BINDHU table_;
  BindhuChoice choice_;
  std::vector<int> pageStarts_{0};
  BINDHU::Layout paper_;
  int first_ = 0;
};

class C_BINDHU_CONF : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 183;
  explicit C_BINDHU_CONF(const BindhuChoice& choice, QWidget* parent = nullptr);
  BindhuChoice& Choice() { return choice_; }
  bool DoDataExchange(bool save) override;
  QSpinBox* PrintSize() const { return printSize_; }
  QCheckBox* OnePage() const { return onePage_; }

 private:
  BindhuChoice choice_;
  QButtonGroup* bodies_;
  QButtonGroup* houses_;
  QButtonGroup* aspects_;
  QButtonGroup* layout_;
  QCheckBox* nodes_;
  QCheckBox* every_;
  QCheckBox* minutes_;
  QCheckBox* onePage_;
  QSpinBox* printSize_;
};

// The program's Sabian symbols, loaded from "velm.sab" at start when the file exists.
ALL_SABIANS& SabianSymbols();
void LoadSabiansAtStart(Workbench& workbench);

class CSabiansView : public CRichTextCtrlView {
  Q_OBJECT

 public:
  explicit CSabiansView(QWidget* parent = nullptr);
  ~CSabiansView() override;
  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kSabianHelpContext; }
  int PrintTitleMessage() const override;
  const std::string& Text() const { return buffer_; }

 private:
  ChartDocument* counted_ = nullptr;
};

class CD_Sabian : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 182;
  explicit CD_Sabian(const SabianChoice& choice, QWidget* parent = nullptr);
  SabianChoice& Choice() { return choice_; }
  bool DoDataExchange(bool save) override;

 private:
  SabianChoice choice_;
  QButtonGroup* bodies_;
  QButtonGroup* houses_;
  QCheckBox* nodes_;
  QCheckBox* every_;
};

class DTemat : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 230;
  DTemat(const TematPage& page, const Chart& chart, QWidget* parent = nullptr);
  TematPage& Page() { return page_; }
  // The choice from the controls; 489, 490, 491 keep the dialog open; the arbitrary point is
  // asked in DEnterPoint.
  bool DoDataExchange(bool save) override;
  QComboBox* Houses() const { return houses_; }
  QComboBox* SecondPlanet() const { return planet2_; }
  QButtonGroup* Kind() const { return kind_; }

 private:
  void OnKind(int kind);

  TematPage page_;
  const Chart& chart_;
  QButtonGroup* kind_;
  QComboBox* planet_;
  QComboBox* planet2_;
  QComboBox* houses_;
  QButtonGroup* direction_;
};

class DEnterPoint : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 238;
  explicit DEnterPoint(int point, QWidget* parent = nullptr);
  EnterPointPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;

 private:
  EnterPointPage page_;
  QComboBox* sign_;
  QSpinBox* degrees_;
  QSpinBox* minutes_;
};

// The thematic chart of the document's chart in a new window, as DTemat chooses it. Returns the
// new document, or nullptr when cancelled or refused.
ChartDocument* RunThematicChart(ChartDocument& document, Workbench& workbench);

// Windows without content: they draw and print nothing.
class CPlanEnergyView : public ChartDocView {
  Q_OBJECT
 public:
  explicit CPlanEnergyView(QWidget* parent = nullptr);
  void OnDraw(platform::Dc&) override {}
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return 131278; }
};

class CPlanetView : public ChartDocView {
  Q_OBJECT
 public:
  explicit CPlanetView(QWidget* parent = nullptr);
  void OnDraw(platform::Dc&) override {}
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return 131228; }
};
