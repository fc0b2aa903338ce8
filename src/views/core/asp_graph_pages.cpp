#include "views/core/asp_graph_pages.h"

#include <algorithm>
#include <cstdio>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"
#include "views/core/asp_graph_calc.h"
#include "views/core/asp_graph_layout.h"

using namespace aspgraph;

namespace {

constexpr int kMomentTextWidth = 30;
constexpr int kItemFirstSize = 500;
constexpr int kItemIndent = 2;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

bool AskToDelete(int message, const std::string& what) {
  const std::string text = GetMessageText(message) + ' ' + what + '?';
  return platform::GetPrompter().AskYesNo(message, text) == platform::Answer::Yes;
}

}  // namespace

// --- the list dialog -----------------------------------------------------------------------------

AspGraphSetModel AspGraphSetModel::ForNewList() { return AspGraphSetModel(); }

AspGraphSetModel AspGraphSetModel::ForList(const CAspGraphData& data, int k) {
  AspGraphSetModel model;
  model.listIndex_ = k;
  const AspGraphList& list = data.List(k);
  model.name = list.name;
  model.period = list.period;
  model.houseOrbClass = list.houseOrbClass;
  return model;
}

int AspGraphSetModel::Accept(const CAspGraphData& data) const {
  if (TrimmedRight(name).empty()) return kMsgEnterListName;
  // Names stay unique also when a list is renamed.
  if (data.IsNameUsed(name, listIndex_)) return kMsgListNameTaken;
  return 0;
}

// --- the pair dialog -----------------------------------------------------------------------------

AspGraphPairModel::AspGraphPairModel(const Aspectarium& systems, const AspGraphPair& pair)
    : pair_(pair), systemNames_(systems.Names()) {
  if (!systemNames_.empty()) {
    systemIndex_ = 0;
    std::string wanted = pair.systemName;
    StringToUpper(wanted);
    for (std::size_t k = 0; k < systemNames_.size(); ++k) {
      std::string name = systemNames_[k];
      StringToUpper(name);
      if (name == wanted) systemIndex_ = static_cast<int>(k);
    }
    pair_.systemName = systemNames_[static_cast<std::size_t>(systemIndex_)];
  }
  if (!InRange(pair_.fromTechnique, 1, kTechniqueCount - 1))
    pair_.fromTechnique = kTechniqueSymbolicDirections;
  ChooseFirstBody(pair_.fromBody);
  ChooseSecondBody(pair_.toBody);
  ChooseSecondTechnique(pair_.toTechnique);
}

int AspGraphPairModel::SecondBodyCount() const {
  return pair_.toTechnique == kTechniqueRadix ? kSecondBodyCountWithRulers : kSecondBodyCount;
}

void AspGraphPairModel::ChooseFirstBody(int code) {
  pair_.fromBody = static_cast<std::int16_t>(InRange(code, 0, kLastFirstMember) ? code : 0);
}

void AspGraphPairModel::ChooseFirstTechnique(int technique) {
  if (InRange(technique, 1, kTechniqueCount - 1))
    pair_.fromTechnique = static_cast<std::int16_t>(technique);
}

void AspGraphPairModel::SetFirstConverse(bool converse) { pair_.fromConverse = converse ? 1 : 0; }

void AspGraphPairModel::ChooseSecondBody(int code) {
  pair_.toBody = static_cast<std::int16_t>(InRange(code, 0, kLastSecondMember) ? code : 0);
  // A ruler is the radix's.
  if (pair_.toBody >= kFirstRuler) {
    pair_.toTechnique = kTechniqueRadix;
    pair_.toConverse = 0;
  }
}

void AspGraphPairModel::ChooseSecondTechnique(int technique) {
  if (!InRange(technique, 0, kTechniqueCount - 1)) return;
  pair_.toTechnique = static_cast<std::int16_t>(technique);
  if (technique == kTechniqueRadix)
    pair_.toConverse = 0;
  else if (pair_.toBody >= kFirstRuler)
    pair_.toBody = 0;  // the rulers are offered with the radix only
}

void AspGraphPairModel::SetSecondConverse(bool converse) {
  if (SecondConverseEnabled()) pair_.toConverse = converse ? 1 : 0;
}

void AspGraphPairModel::ChooseSystem(int index) {
  if (!InRange(index, 0, static_cast<int>(systemNames_.size()) - 1)) return;
  systemIndex_ = index;
  pair_.systemName = systemNames_[static_cast<std::size_t>(index)];
}

int AspGraphPairModel::Accept() const { return systemIndex_ < 0 ? kMsgAspectSystemNotFound : 0; }

// --- the calculation page ------------------------------------------------------------------------

AspGraphCalcPage::AspGraphCalcPage(CAspGraphData& data, const Aspectarium& systems,
                                   int configSelected, const FDate& chartDate)
    : data_(data), systems_(systems) {
  day = chartDate.Day();
  month = chartDate.Month();
  year = chartDate.Year();
  era = chartDate.Era();
  selected_ = InRange(configSelected, 0, data_.ListCount() - 1) ? configSelected : 0;
}

std::vector<std::string> AspGraphCalcPage::ListNames() const {
  std::vector<std::string> names;
  for (int k = 0; k < data_.ListCount(); ++k) names.push_back(data_.List(k).name);
  return names;
}

void AspGraphCalcPage::SelectList(int k) {
  if (!InRange(k, 0, data_.ListCount() - 1)) return;
  selected_ = k;
  selectedPair_ = 0;
}

std::vector<std::string> AspGraphCalcPage::PairTexts() const {
  std::vector<std::string> texts;
  if (SelectedList() < 0) return texts;
  for (const AspGraphPair& pair : data_.List(selected_).pairs) texts.push_back(PairText(pair));
  return texts;
}

void AspGraphCalcPage::SelectPair(int j) {
  if (SelectedList() >= 0 && InRange(j, 0, data_.List(selected_).PairCount() - 1))
    selectedPair_ = j;
}

bool AspGraphCalcPage::PairControlsEnabled() const {
  return SelectedList() >= 0 && data_.List(selected_).PairCount() > 0;
}

bool AspGraphCalcPage::PairAddEnabled() const {
  return SelectedList() >= 0 && data_.List(selected_).PairCount() < kMaxPairs;
}

void AspGraphCalcPage::Save() { ReportStatus(data_.Save(), "CAspGraphData::Save"); }

void AspGraphCalcPage::KeepSelectionInRange() {
  selected_ = std::clamp(selected_, 0, std::max(data_.ListCount() - 1, 0));
  const int pairs = SelectedList() >= 0 ? data_.List(selected_).PairCount() : 0;
  selectedPair_ = std::clamp(selectedPair_, 0, std::max(pairs - 1, 0));
}

int AspGraphCalcPage::CheckAddList() const { return ListAddEnabled() ? 0 : kMsgTooManyLists; }

void AspGraphCalcPage::AddList(const AspGraphSetModel& dialog) {
  if (Status st = data_.AddList(dialog.name, dialog.period, dialog.houseOrbClass); !st.ok()) {
    ReportStatus(st);
    return;
  }
  Save();
  SelectList(data_.ListCount() - 1);
}

void AspGraphCalcPage::DeleteList() {
  if (SelectedList() < 0 || !AskToDelete(kMsgDeleteGraphList, data_.List(selected_).name)) return;
  (void)data_.DeleteList(selected_);
  Save();
  selectedPair_ = 0;
  KeepSelectionInRange();
}

void AspGraphCalcPage::EditList(const AspGraphSetModel& dialog) {
  if (!data_.SetList(dialog.ListIndex(), dialog.name, dialog.period, dialog.houseOrbClass)) return;
  Save();
}

void AspGraphCalcPage::AddPair(const AspGraphPair& pair) {
  if (SelectedList() < 0) return;
  if (Status st = data_.AddPair(selected_, pair); !st.ok()) {
    ReportStatus(st);
    return;
  }
  Save();
  selectedPair_ = data_.List(selected_).PairCount() - 1;
}

void AspGraphCalcPage::DeletePair() {
  if (!PairControlsEnabled()) return;
  const AspGraphPair& pair = data_.List(selected_).pairs[static_cast<std::size_t>(selectedPair_)];
  if (!AskToDelete(kMsgDeletePair, PairText(pair))) return;
  (void)data_.DeletePair(selected_, selectedPair_);
  Save();
  KeepSelectionInRange();
}

void AspGraphCalcPage::EditPair(const AspGraphPair& pair) {
  if (!PairControlsEnabled() || !data_.ReplacePair(selected_, selectedPair_, pair)) return;
  Save();
}

void AspGraphCalcPage::MovePairUp() {
  if (!PairControlsEnabled() || !data_.SwapPairs(selected_, selectedPair_, selectedPair_ - 1))
    return;
  --selectedPair_;
  Save();
}

void AspGraphCalcPage::MovePairDown() {
  if (!PairControlsEnabled() || !data_.SwapPairs(selected_, selectedPair_, selectedPair_ + 1))
    return;
  ++selectedPair_;
  Save();
}

int AspGraphCalcPage::Accept() const { return DateFault(day, month, year, era, true); }

void AspGraphCalcPage::Commit(cfg::ByteBlock& settings) {
  FDate first;
  if (first.SetDate(day, month, year, era).ok()) data_.SetFirstDay(first);
  const int selected = std::max(SelectedList(), 0);
  data_.SetSelectedIndex(selected);
  settings.Set(cfg::AspectGraphSettings::kSelectedList, static_cast<std::int16_t>(selected));
  if (data_.CheckSystemNames(systems_) == 0 && systems_.Count() > 0) Save();
}

// --- the display page ----------------------------------------------------------------------------

namespace {

using G = cfg::AspectGraphSettings;
using cfg::Bind;

constexpr cfg::FieldTable kConfFields{
    Bind(&AspGraphConfPage::rows, G::kRows, cfg::Clamp{1, kMaxRows}),
    Bind(&AspGraphConfPage::fillType, G::kFillType, cfg::InRange{0, 2}),
    Bind(&AspGraphConfPage::speed, G::kSpeed, cfg::InRange{0, 3})};

}  // namespace

AspGraphConfPage AspGraphConfPage::FromBlock(const cfg::ByteBlock& block) {
  AspGraphConfPage page;
  kConfFields.Read(block, page);
  return page;
}

void AspGraphConfPage::ToBlock(cfg::ByteBlock& block) const { kConfFields.Write(*this, block); }

// --- the dialog of one sample --------------------------------------------------------------------

std::string AspGraphDegreesText(int hundredths, bool padded) {
  char text[24];
  std::snprintf(text, sizeof text, padded ? "%3d:%02d" : "%d:%02d", hundredths / 100,
                static_cast<int>((hundredths % 100) * 0.6));
  return text;
}

AspGraphDataModel::AspGraphDataModel(const CAspGraphCalc& calc, int sample) : calc_(calc) {
  sample_ = std::clamp(sample, 0, std::max(calc.SampleCount() - 1, 0));
}

bool AspGraphDataModel::CanGoForward() const { return sample_ + 1 < calc_.SampleCount(); }

void AspGraphDataModel::Back() {
  if (CanGoBack()) --sample_;
}

void AspGraphDataModel::Forward() {
  if (CanGoForward()) ++sample_;
}

std::string AspGraphDataModel::MomentText() const {
  std::string text =
      calc_.MomentOfSample(sample_).ToText() + ' ' + calc_.ClockSource().zone.ToText();
  if (text.size() > static_cast<std::size_t>(kMomentTextWidth)) text.resize(kMomentTextWidth);
  return text;
}

int AspGraphDataModel::RowCount() const { return calc_.PairCount(); }

AspGraphDataModel::Row AspGraphDataModel::RowOf(int j) const {
  Row row;
  if (!InRange(j, 0, RowCount() - 1)) return row;
  row.pairText = PairText(calc_.List().pairs[static_cast<std::size_t>(j)]);
  const AspGraphCell& cell = calc_.Cell(j, sample_);
  if (!cell.HasAspect()) {
    row.noAspect = GetMessageText(kMsgNoAspect);
    return row;
  }
  row.hasAspect = true;
  row.aspect = cell.aspect;
  row.aspectName = calc_.Samples().AspectName(j, cell.aspect);
  row.colour = cell.colour;
  row.arc = AspGraphDegreesText(cell.arc, true);
  row.deviation = AspGraphDegreesText(cell.deviation, false);
  return row;
}

int AspGraphDataTextSize(platform::Dc& dc, int itemHeight) {
  return FitFontHeightFinely(dc, platform::kTextFace, kItemFirstSize, itemHeight);
}

void DrawAspGraphDataItem(platform::Dc& dc, const platform::Rect& item,
                          const AspGraphDataModel::Row& row, const AspGraphDataColumns& columns,
                          bool selected, platform::Color highlight, platform::Color highlightText) {
  platform::DcState state(dc);
  const int height = std::abs(item.bottom - item.top);
  dc.FillRect(item, selected ? highlight : platform::kWhite);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const platform::Color text = selected ? highlightText : platform::kBlack;
  const platform::Font textFont{std::string(platform::kTextFace), AspGraphDataTextSize(dc, height)};
  const int glyphSize = FitFontHeightFinely(dc, platform::kGlyphFaceA, kItemFirstSize, height);
  dc.SelectFont(textFont);
  dc.SetTextColor(text);
  dc.TextOut(item.left + kItemIndent, item.top, row.pairText);
  const int x = item.left + columns.aspect;
  if (!row.hasAspect) {
    dc.TextOut(x, item.top, row.noAspect);
    return;
  }
  dc.SetTextColor(ColorByIndex(row.colour));
  if (row.aspect >= 0) {
    dc.SelectFont({std::string(platform::kGlyphFaceB), glyphSize});
    (void)DrawGlyphNumber(dc, x, item.top, row.aspect);
  } else {
    dc.TextOut(x, item.top, row.aspectName);
  }
  dc.SelectFont(textFont);
  dc.SetTextColor(text);
  dc.TextOut(item.left + columns.arc, item.top, row.arc);
  dc.TextOut(item.left + columns.orb, item.top, row.deviation);
}
