// The fixed stars of a chart document: the star-aspect settings (CStarFilter), the list of the
// stars in aspect to the chart's points and cusps (CStarsListView, Ctrl-I) and the text of one
// star (CStarsView, from a double click on the list).
#pragma once

#include "document/rich_text_view.h"
#include "platform/qt/dialog.h"
#include "platform/qt/line_list_view.h"
#include "views/core/fixed_stars.h"

class ChartDocument;
class Workbench;
class QButtonGroup;
class QCheckBox;
class QSpinBox;

// The program's star catalogue, read at start ("Velm.est", "Velm.int" of the data folder) and
// freed at exit.
AllStars& FixedStars();
void LoadStarsAtStart(Workbench& workbench);
void FreeStarsAtExit(Workbench& workbench);

class CStarFilter : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 175;
  static constexpr int kMaxOrb = 999;
  explicit CStarFilter(const StarAspectChoice& choice, QWidget* parent = nullptr);
  StarAspectChoice& Choice() { return choice_; }
  bool DoDataExchange(bool save) override;
  QButtonGroup* Kind() const { return kind_; }
  QSpinBox* Orb(int i) const { return orbs_[static_cast<std::size_t>(i)]; }
  QCheckBox* Aspect(int i) const { return aspects_[static_cast<std::size_t>(i)]; }
  QCheckBox* ShowBefore() const { return showBefore_; }

 private:
  StarAspectChoice choice_;
  QButtonGroup* kind_;
  std::array<QSpinBox*, 5> orbs_{};
  std::array<QCheckBox*, 5> aspects_{};
  QCheckBox* showBefore_;
};

// Runs the settings dialog and stores its choice on OK; false when cancelled.
bool RunStarFilter(QWidget* parent);

class CStarsListView : public platform::LineListView {
  Q_OBJECT

 public:
  static constexpr int kScreenFontSize = 2500;
  static constexpr int kPrintFontSize = 2500;

  explicit CStarsListView(QWidget* parent = nullptr);
  ~CStarsListView() override;

  // Counts the view in and selects the stars for the document's chart.
  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kStarsListHelpContext; }
  void OnPrint(platform::Dc& dc, int page) override;

  const CStarsListBox& List() const { return list_; }
  ChartDocument* Document() const;

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;
  // The star's text.
  void OnOpenLine(int line) override;

 private:
  CStarsListBox list_;
  CStarsListBox::Columns screen_, paper_;
  int titleHeight_ = 0;  // of the title line on the screen
  int printTop_ = 0;
  bool printing_ = false;  // inside OnPrint: the paper's columns, rows in black
  bool counted_ = false;
};

class CStarsView : public CRichTextCtrlView {
  Q_OBJECT

 public:
  explicit CStarsView(QWidget* parent = nullptr);
  ~CStarsView() override;
  // The catalogue index of the star shown; given before the first update.
  void SetStar(int index) { star_ = index; }
  int Star() const { return star_; }
  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kStarTextHelpContext; }
  int PrintTitleMessage() const override;
  const std::string& Text() const { return buffer_; }

 private:
  int star_ = -1;
  ChartDocument* counted_ = nullptr;
};

// The document's star-text command: a text view of star `index` when it has a text, else message
// 23. Returns the view, or nullptr.
CStarsView* ShowStarInterpretation(ChartDocument& document, int index);
