// The aspect graph's settings sheet and dialogs as page models, without a window: the
// calculation page (the pair lists of the store, the pairs of the chosen list and the first day),
// the display page (rows, fill type, speed), the list dialog, the pair dialog, and the dialog of
// the aspects at a clicked sample. The windows show these states and hand the user's actions to
// them. List and pair edits are written to "velm.agr" at once (also the moves of a pair); the
// first day, the chosen list and the display settings take effect when the sheet is accepted.
#pragma once

#include <string>
#include <vector>

#include "foundation/config/byte_block.h"
#include "foundation/datetime/fdate.h"
#include "platform/core/dc.h"
#include "views/core/asp_graph_data.h"

class Aspectarium;
class CAspGraphCalc;

namespace aspgraph {}  // namespace aspgraph

// The list dialog (D_ASPGRAPHSET): a new list, or list k of the store.
class AspGraphSetModel {
 public:
  static AspGraphSetModel ForNewList();
  static AspGraphSetModel ForList(const CAspGraphData& data, int k);

  bool IsNewList() const { return listIndex_ < 0; }
  int ListIndex() const { return listIndex_; }
  // The checks of OK: 0, or 848 for an empty name, 849 for a name another list has (letter case
  // ignored).
  int Accept(const CAspGraphData& data) const;

  std::string name;  // at most 35 characters
  int period = 0;    // 0..10
  int houseOrbClass = 1;

 private:
  int listIndex_ = -1;
};

// The pair dialog (DASPGRPH_ASP) over a copy of one pair.
class AspGraphPairModel {
 public:
  // Code lists: the first member 0..46 (points, houses, the life point); the second 0..57 with
  // the rulers while its technique is radix, else 0..45; first techniques 1..10, second 0..10.
  static constexpr int kFirstBodyCount = aspgraph::kLastFirstMember + 1;
  static constexpr int kSecondBodyCountWithRulers = aspgraph::kLastSecondMember + 1;
  static constexpr int kSecondBodyCount = aspgraph::kFirstRuler;

  AspGraphPairModel(const Aspectarium& systems, const AspGraphPair& pair);

  const AspGraphPair& Pair() const { return pair_; }
  int SecondBodyCount() const;
  const std::vector<std::string>& SystemNames() const { return systemNames_; }
  int SystemIndex() const { return systemIndex_; }  // -1 when no system is loaded

  void ChooseFirstBody(int code);
  void ChooseFirstTechnique(int technique);  // 1..10
  void SetFirstConverse(bool converse);
  void ChooseSecondBody(int code);
  void ChooseSecondTechnique(int technique);  // 0..10
  void SetSecondConverse(bool converse);
  void ChooseSystem(int index);

  bool FirstTechniqueEnabled() const { return pair_.fromBody != aspgraph::kLifePoint; }
  bool FirstConverseEnabled() const { return FirstTechniqueEnabled(); }
  bool SecondTechniqueEnabled() const { return pair_.toBody < aspgraph::kFirstRuler; }
  bool SecondConverseEnabled() const {
    return SecondTechniqueEnabled() && pair_.toTechnique != aspgraph::kTechniqueRadix;
  }

  // The check of OK: 0, or message 59 when no aspect system is loaded to name.
  int Accept() const;

 private:
  AspGraphPair pair_;
  std::vector<std::string> systemNames_;
  int systemIndex_ = -1;
};

// The calculation page (DASPGRAPH_CALC).
class AspGraphCalcPage {
 public:
  // The page as it opens: the chart's date, the configuration's selected list (0 when the store
  // has no such list).
  AspGraphCalcPage(CAspGraphData& data, const Aspectarium& systems, int configSelected,
                   const FDate& chartDate);

  CAspGraphData& Data() { return data_; }
  std::vector<std::string> ListNames() const;
  int SelectedList() const { return data_.ListCount() > 0 ? selected_ : -1; }
  void SelectList(int k);
  std::vector<std::string> PairTexts() const;  // of the selected list
  int SelectedPair() const { return selectedPair_; }
  void SelectPair(int j);

  // Enabling.
  bool ListControlsEnabled() const { return data_.ListCount() > 0; }  // combo, delete, edit
  bool PairControlsEnabled() const;  // pair box, delete, edit, up, down
  bool PairAddEnabled() const;
  bool ListAddEnabled() const { return data_.ListCount() < aspgraph::kMaxLists; }

  // List and pair edits; each is saved at once (a failed save is reported, the edit stays).
  // 0 when a list may be added, else message 850 (shown by the caller).
  int CheckAddList() const;
  // The list dialog accepted in new-list mode: the list is appended with its name, period and
  // house orb class and selected; the list selected before is not touched.
  void AddList(const AspGraphSetModel& dialog);
  // Asks (969) and deletes the selected list; the same place stays selected, or the one before
  // when the last went.
  void DeleteList();
  void EditList(const AspGraphSetModel& dialog);
  // The pair dialog accepted: appended and selected (message 883, shown, when 24 are there).
  void AddPair(const AspGraphPair& pair);
  // Asks (970) and deletes the selected pair.
  void DeletePair();
  void EditPair(const AspGraphPair& pair);
  void MovePairUp();
  void MovePairDown();

  // The first day as entered.
  int day = 1, month = 1, year = 2000;
  char era = 'A';

  // The check of OK: 0, or the message of a date that does not exist (657, 656, 775, 776, 777).
  int Accept() const;
  // After an accepted OK: the first day and the selected list into the store, the selected list
  // into the settings block; missing aspect systems replaced (and the store saved when they were).
  void Commit(cfg::ByteBlock& settings);

 private:
  void Save();
  void KeepSelectionInRange();

  CAspGraphData& data_;
  const Aspectarium& systems_;
  int selected_ = 0;
  int selectedPair_ = 0;
};

// The display page (ASPGRAPH_CONF): words 0, 1 and 8 of the settings block.
struct AspGraphConfPage {
  int rows = 12;     // 1..24
  int fillType = 1;  // 0..2
  int speed = 1;     // 0..3

  // Values out of range are brought in: rows to 1..24, fill type and speed to their defaults.
  static AspGraphConfPage FromBlock(const cfg::ByteBlock& block);
  void ToBlock(cfg::ByteBlock& block) const;
};

// Degrees and minutes of a value in hundredths of a degree: "%3d:%02d" (padded) or "%d:%02d",
// the minutes being truncate((value mod 100) x 0.6).
std::string AspGraphDegreesText(int hundredths, bool padded);

// The dialog of the aspects at one sample (DASPGRAPHDATA).
class AspGraphDataModel {
 public:
  AspGraphDataModel(const CAspGraphCalc& calc, int sample);

  int Sample() const { return sample_; }
  bool CanGoBack() const { return sample_ > 0; }
  bool CanGoForward() const;
  void Back();
  void Forward();
  // The sample's moment and the zone of the chart: "16:01:2014  12:00 +03:00".
  std::string MomentText() const;

  struct Row {
    std::string pairText;
    bool hasAspect = false;
    int aspect = -1;         // index 0..19, or negative for an angle of no known kind
    std::string aspectName;  // for an angle of no known kind
    int colour = 0;          // palette number
    std::string arc;         // "%3d:%02d"
    std::string deviation;   // "%d:%02d"
    std::string noAspect;    // "аспекта нет" when there is none
  };
  int RowCount() const;
  Row RowOf(int j) const;

 private:
  const CAspGraphCalc& calc_;
  int sample_ = 0;
};

// The columns of the sample dialog's list: x of the aspect, the arc and the orb, from the item's
// left edge (the dialog measures them on its captions).
struct AspGraphDataColumns {
  int aspect = 0, arc = 0, orb = 0;
};
// The size of the text font of an item `itemHeight` high (device pixels): the largest, in steps
// of 10, at which "Vudurez" fits the height; the smallest step for an item lower than any size.
int AspGraphDataTextSize(platform::Dc& dc, int itemHeight);
// Draws one item of the sample dialog's list (device pixels, y down): the highlight when it is
// selected, the pair's text, then the aspect's glyph (in "VelmAstro5b" at the size at which
// "VelmAstro5a" fits the item's height, or the aspect's name) in the aspect's colour, the arc and
// the deviation; "аспекта нет" at the aspect column for a pair without aspect. The texts are in
// "Vudurez" at AspGraphDataTextSize; however low the item, they are drawn.
void DrawAspGraphDataItem(platform::Dc& dc, const platform::Rect& item,
                          const AspGraphDataModel::Row& row, const AspGraphDataColumns& columns,
                          bool selected, platform::Color highlight, platform::Color highlightText);
