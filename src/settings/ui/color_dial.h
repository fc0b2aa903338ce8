// The colour chooser "ВЫБОР  ЦВЕТА": a list of colour swatches, item i being palette number i, of
// which the user picks one. Every colour button of the settings dialogs runs it through
// RunColorDialog.
//
//   const int chosen = RunColorDialog(config.someColour, kColorChooserFullCount, this);
//   if (chosen >= 0) config.someColour = chosen;   // -1: cancelled, the colour stays
#pragma once

#include <QListWidget>

#include "platform/qt/dialog.h"
#include "settings/core/color_swatch.h"

// Control number of the swatch list.
inline constexpr int kIdcColorList = 1058;

// The owner-drawn swatch list: no texts, fixed items of kColorSwatchHeight pixels; each item's
// data is its palette number, drawn by DrawColorSwatch.
class CColorListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CColorListBox(QWidget* parent = nullptr);
  // Items 0 .. count - 1.
  void Fill(int count);
};

class CColorDial : public platform::Dialog {
  Q_OBJECT

 public:
  explicit CColorDial(QWidget* parent = nullptr);

  // The swatches offered (0 .. numColors - 1) and the current colour, selected once when the
  // dialog opens; after OK `chosen` holds the selected number (-1 when none is selected).
  int numColors = kColorChooserDefaultCount;
  int current = 0;
  int chosen = 0;

  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;
  CColorListBox* List() const { return list_; }

 private:
  CColorListBox* list_;
};

// Runs CColorDial offering colours 0 .. count - 1 with `current` selected: the chosen palette
// number after OK, or -1 after Cancel.
int RunColorDialog(int current, int count, QWidget* parent = nullptr);
// The same offering the 16 colours 0..15.
int RunColorDialog(int current, QWidget* parent = nullptr);
