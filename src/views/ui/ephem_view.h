// The graphic ephemeris of a chart document ("Анализ > Графические эфемериды", Alt-G): the ten
// longitude curves over the period of the settings, with the chart's planets, scrolled by its two
// buttons; the values at a point in DEphemData; the settings in DEphemConf.
#pragma once

#include <array>

#include "document/chart_doc_view.h"
#include "platform/qt/dialog.h"
#include "views/core/ephem_view_draw.h"

class Configuration;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QSpinBox;
class QPushButton;

class EphemView : public ChartDocView {
  Q_OBJECT

 public:
  explicit EphemView(QWidget* parent = nullptr);

  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return ephem::kHelpContext; }
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

  RGraphEphem& Graph() { return graph_; }
  // A scroll by the buttons (1 forward, -1 back): the period moves and the values are computed
  // again before the next paint.
  void Scroll(int direction);
  // The values dialog for the sample point under plot x; after each scroll it asked for, it opens
  // again on the new values. False when x is right of the plot.
  bool ShowValuesAt(int x);

 protected:
  void OnLButtonDown(platform::Point at) override;
  void OnLButtonDblClk(platform::Point at) override;
  void OnRButtonDown(platform::Point at) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayOutScreen();
  void Recalculate();

  RGraphEphem graph_;
  ephem::ScrollButtons buttons_;
};

class DEphemData : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 207;

  DEphemData(const ephem::EphemDataPage& page, QWidget* parent = nullptr);
  ephem::EphemDataPage& Page() { return page_; }
  // 1 or -1 when the dialog ended asking the graph to scroll that way, else 0.
  int ScrollRequest() const { return scroll_; }
  void OnNext();
  void OnPrevious();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Step(int request);

  ephem::EphemDataPage page_;
  QLabel* moment_;
  QCheckBox* follow_;
  int scroll_ = 0;
};

class DEphemConf : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 222;

  explicit DEphemConf(const cfg::ByteBlock& block, QWidget* parent = nullptr);
  ephem::EphemConfPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;
  // The colour button of curve 0..9, or 10 for the glyph colour: the colour chooser on the copy.
  void ChooseColour(int which);
  QCheckBox* Rotation() const { return rotation_; }
  QButtonGroup* Orientation() const { return orientation_; }

 private:
  void ShowSwatch(int which);

  ephem::EphemConfPage page_;
  std::array<QSpinBox*, 3> date_{};
  QButtonGroup* period_;
  std::array<QCheckBox*, 4> switches_{};  // sign grid, time grid, glyphs, mark chart
  QButtonGroup* orientation_;
  QCheckBox* rotation_;
  QCheckBox* heading_;
  std::array<QLabel*, ephem::kBodies + 1> swatches_{};
};
