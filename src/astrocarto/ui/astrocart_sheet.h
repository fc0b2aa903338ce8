// The astrocartography settings sheet "АСТРОКАРТОГРАФИЯ - КОНФИГУРАЦИЯ": what to calculate and
// show (DACMAP_CONF), the map colours (DACMAP_MAPCOL_CONF), the line colours (DACMAP_LINECOL) and
// the display page of the astrocartography tables. The pages edit one pending copy; the
// configuration takes it only after OK, colours included.
#pragma once

#include <functional>
#include <vector>

#include "astrocarto/core/astrocart_page.h"
#include "platform/qt/property_sheet.h"

class Configuration;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The colour chooser a colour button runs: the current colour in, the chosen one or -1 out.
using ColourChooser = std::function<int(int current)>;

class DACMAP_CONF : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 210;
  DACMAP_CONF(AstroCartPage& values, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  QCheckBox* GridBox() const { return grid_; }
  QCheckBox* NodesBox() const { return nodes_; }
  QCheckBox* ShowEveryTimeBox() const { return showEveryTime_; }
  QCheckBox* CountryNamesBox() const { return countryNames_; }
  QButtonGroup* LineChoiceGroup() const { return lineChoice_; }
  QButtonGroup* SpeedGroup() const { return speed_; }
  QButtonGroup* LineSystemGroup() const { return lineSystem_; }
  QButtonGroup* CrossingBandGroup() const { return crossingBand_; }
  QButtonGroup* TownFontGroup() const { return townFont_; }
  QButtonGroup* GlyphFontGroup() const { return glyphFont_; }
  QSpinBox* OrbBox() const { return orb_; }
  QSpinBox* LatitudeLimitBox() const { return latitudeLimit_; }

 private:
  AstroCartPage& values_;
  QCheckBox *grid_, *nodes_, *showEveryTime_, *countryNames_;
  QButtonGroup *lineChoice_, *speed_, *lineSystem_, *crossingBand_, *townFont_, *glyphFont_;
  QSpinBox *orb_, *latitudeLimit_;
};

// A page of colour buttons, each beside its label and swatch.
class AstroCartColourPage : public platform::PropertyPage {
  Q_OBJECT

 public:
  QPushButton* Button(int i) const { return buttons_.at(static_cast<std::size_t>(i)); }
  int ColourCount() const { return static_cast<int>(colours_.size()); }

 protected:
  AstroCartColourPage(std::vector<int*> colours, const std::vector<const char*>& labels,
                      ColourChooser chooser, QWidget* parent);
  void ShowSwatches();

 private:
  std::vector<int*> colours_;
  std::vector<QPushButton*> buttons_;
  std::vector<QLabel*> swatches_;
  ColourChooser chooser_;
};

class DACMAP_MAPCOL_CONF : public AstroCartColourPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 211;
  DACMAP_MAPCOL_CONF(AstroCartPage& values, ColourChooser chooser, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  QButtonGroup* PrintBackgroundGroup() const { return background_; }

 private:
  AstroCartPage& values_;
  QButtonGroup* background_;
};

class DACMAP_LINECOL : public AstroCartColourPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 212;
  DACMAP_LINECOL(AstroCartPage& values, ColourChooser chooser, QWidget* parent = nullptr);
};

class AstroCartSheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  explicit AstroCartSheet(QWidget* parent = nullptr);
};

// Runs the sheet on the configuration (command 32870, and before the map view when the
// show-every-time setting is on). True after OK, when the configuration took the values.
bool RunAstroCartSheet(Configuration& config, ColourChooser chooser = {},
                       QWidget* parent = nullptr);
