#include "views/core/asp_graph_data.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "astro/aspects/aspectarium.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace aspgraph {
namespace {

constexpr int kPairWidth = 6 + kSystemNameWidth;  // six code characters and the system name
constexpr char kCodeBase = 'A';

// Kinds 0 natal, 3 transit, 4 progressed, 5 directed; methods are the chart's key kinds.
constexpr std::array<Technique, kTechniqueCount> kTechniques{{
    {0, 0, 852, 952},
    {5, 0, 853, 953},
    {5, 1, 854, 954},
    {5, 2, 855, 955},
    {5, 3, 856, 956},
    {5, 4, 857, 957},
    {3, 0, 858, 958},
    {4, 0, 859, 959},
    {4, 1, 860, 960},
    {4, 2, 861, 961},
    {4, 3, 862, 962},
}};

constexpr std::array<TimeScale, kPeriodCount> kTimeScales{{
    {31, 1, 5, 31},
    {62, 1, 10, 62},
    {92, 2, 10, 46},
    {183, 3, 15, 61},
    {275, 5, 30, 55},
    {371, 7, 42, 53},
    {742, 14, 84, 53},
    {1100, 20, 120, 55},
    {2000, 40, 240, 50},
    {3600, 90, 540, 40},
    {18250, 365, 2190, 50},
}};

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

char CodeChar(int value) { return static_cast<char>(kCodeBase + value); }
int CodeValue(char c) { return static_cast<unsigned char>(c) - kCodeBase; }

std::string UpperName(std::string_view name) {
  std::string upper(name);
  StringToUpper(upper);
  return upper;
}

}  // namespace

const Technique& TechniqueOf(int technique) {
  return kTechniques[InRange(technique, 0, kTechniqueCount - 1) ? technique : 0];
}

const TimeScale& TimeScaleOf(int period) {
  return kTimeScales[InRange(period, 0, kPeriodCount - 1) ? period : kPeriodCount - 1];
}

int SlotOf(int technique, int converse) {
  return (InRange(technique, 0, kTechniqueCount - 1) ? technique : 0) +
         (converse == 1 ? kTechniqueCount : 0);
}

std::string MemberName(int body, bool first, bool longRuler) {
  if (InRange(body, 0, kPointCount - 1)) return GetMessageText(kMsgPointNameFirst + body);
  if (InRange(body, kFirstCusp, kFirstCusp + 11))
    return GetMessageText(kMsgHouseNameFirst + body - kFirstCusp);
  if (first) return body == kLifePoint ? GetMessageText(kMsgLifePoint) : std::string();
  if (!InRange(body, kFirstRuler, kLastSecondMember)) return {};
  return GetMessageText(longRuler ? kMsgRuler : kMsgRulerShort) + ' ' +
         GetMessageText(kMsgHouseNameFirst + body - kFirstRuler) + GetMessageText(kMsgRulerSuffix);
}

std::string TechniqueText(int technique, int converse) {
  std::string text = GetMessageText(TechniqueOf(technique).shortName);
  if (converse == 1) text += GetMessageText(kMsgConverseMark);
  return text;
}

std::string PairText(const AspGraphPair& pair) {
  return MemberName(pair.fromBody, true) + TechniqueText(pair.fromTechnique, pair.fromConverse) +
         " - " + MemberName(pair.toBody, false) + TechniqueText(pair.toTechnique, pair.toConverse) +
         " {" + pair.systemName + '}';
}

}  // namespace aspgraph

using namespace aspgraph;

bool AspGraphPair::IsValid() const {
  return InRange(fromBody, 0, kLastFirstMember) && InRange(toBody, 0, kLastSecondMember) &&
         InRange(fromTechnique, 0, kTechniqueCount - 1) &&
         InRange(toTechnique, 0, kTechniqueCount - 1) && InRange(fromConverse, 0, 1) &&
         InRange(toConverse, 0, 1);
}

// --- the file ------------------------------------------------------------------------------------

std::string CAspGraphData::FormatLine(const AspGraphList& list) {
  std::string line(1, CodeChar(list.PairCount()));
  for (const AspGraphPair& p : list.pairs) {
    for (int code :
         {p.fromBody, p.fromTechnique, p.fromConverse, p.toBody, p.toTechnique, p.toConverse})
      line += CodeChar(code);
    std::string system = p.systemName.substr(0, kSystemNameWidth);
    system.resize(kSystemNameWidth, ' ');
    line += system;
  }
  line += CodeChar(list.period);
  line += CodeChar(list.houseOrbClass);
  line += list.name;
  return line;
}

bool CAspGraphData::ParseLine(std::string_view line, AspGraphList& out) {
  if (line.empty() || line.size() > static_cast<std::size_t>(kMaxLineLength)) return false;
  const int count = CodeValue(line[0]);
  if (!InRange(count, 0, kMaxPairs)) return false;
  // The count, the pairs, period and house orb class, and a name of at least one character.
  const std::size_t nameAt = 1 + static_cast<std::size_t>(count * kPairWidth) + 2;
  if (line.size() <= nameAt || line.size() - nameAt > static_cast<std::size_t>(kMaxNameLength))
    return false;
  AspGraphList list;
  std::size_t at = 1;
  for (int j = 0; j < count; ++j) {
    AspGraphPair p;
    std::int16_t* codes[] = {&p.fromBody, &p.fromTechnique, &p.fromConverse,
                             &p.toBody,   &p.toTechnique,   &p.toConverse};
    for (std::int16_t* code : codes) *code = static_cast<std::int16_t>(CodeValue(line[at++]));
    if (!p.IsValid()) return false;
    // Trailing blanks are the padding; a blank inside a name is part of it.
    p.systemName = TrimmedRight(std::string(line.substr(at, kSystemNameWidth)));
    at += kSystemNameWidth;
    list.pairs.push_back(std::move(p));
  }
  list.period = static_cast<std::int16_t>(CodeValue(line[at++]));
  list.houseOrbClass = static_cast<std::int16_t>(CodeValue(line[at++]));
  if (!InRange(list.period, 0, kPeriodCount - 1) ||
      !InRange(list.houseOrbClass, kMinHouseOrbClass, kMaxHouseOrbClass))
    return false;
  list.name = std::string(line.substr(at));
  out = std::move(list);
  return true;
}

Status CAspGraphData::Load(const fs::path& file) {
  lists_.clear();
  damaged_ = false;
  file_ = file;
  std::error_code ec;
  if (!fs::exists(file, ec)) return Status::Ok();
  std::string bytes;
  if (Status st = ReadWholeFile(file, bytes); !st.ok()) {
    damaged_ = true;
    return st;
  }
  int firstBad = 0;
  int lineNumber = 0;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + at, end - at);
    at = end + 1;
    ++lineNumber;
    if (const std::size_t cr = line.find('\r'); cr != std::string_view::npos)
      line = line.substr(0, cr);
    if (line.empty()) continue;
    AspGraphList list;
    if (ListCount() >= kMaxLists || !ParseLine(line, list)) {
      if (firstBad == 0) firstBad = lineNumber;
      continue;
    }
    lists_.push_back(std::move(list));
  }
  if (firstBad == 0) return Status::Ok();
  damaged_ = true;
  return Status::Error(kErrFormat, file.string(), firstBad);
}

void CAspGraphData::LoadAtStart(const fs::path& file) {
  ReportStatus(Load(file), "CAspGraphData::Load");
}

std::string CAspGraphData::Serialize() const {
  std::string contents;
  for (const AspGraphList& list : lists_) contents += FormatLine(list) + '\n';
  return contents;
}

Status CAspGraphData::Save() {
  std::error_code ec;
  fs::path kept;
  const bool keepOld = damaged_ && fs::exists(file_, ec);
  if (Status st =
          keepOld ? RewriteKeepingOld(file_, Serialize(), kept) : RewriteFile(file_, Serialize());
      !st.ok())
    return st;
  damaged_ = false;
  return Status::Ok();
}

// --- edits ---------------------------------------------------------------------------------------

const AspGraphList* CAspGraphData::SelectedList() const {
  return InRange(selected_, 0, ListCount() - 1) ? &lists_[static_cast<std::size_t>(selected_)]
                                                : nullptr;
}

AspGraphList* CAspGraphData::MutableList(int k) {
  return InRange(k, 0, ListCount() - 1) ? &lists_[static_cast<std::size_t>(k)] : nullptr;
}

Status CAspGraphData::AddList(std::string_view name, int period, int houseOrbClass) {
  if (ListCount() >= kMaxLists) return Status::Message(kMsgTooManyLists);
  lists_.emplace_back();
  (void)SetList(ListCount() - 1, name, period, houseOrbClass);
  return Status::Ok();
}

bool CAspGraphData::SetList(int k, std::string_view name, int period, int houseOrbClass) {
  AspGraphList* list = MutableList(k);
  if (list == nullptr) return false;
  list->name = std::string(name.substr(0, kMaxNameLength));
  list->period = static_cast<std::int16_t>(std::clamp(period, 0, kPeriodCount - 1));
  list->houseOrbClass =
      static_cast<std::int16_t>(std::clamp(houseOrbClass, kMinHouseOrbClass, kMaxHouseOrbClass));
  return true;
}

bool CAspGraphData::DeleteList(int k) {
  if (MutableList(k) == nullptr) return false;
  lists_.erase(lists_.begin() + k);
  return true;
}

Status CAspGraphData::AddPair(int k, const AspGraphPair& pair) {
  AspGraphList* list = MutableList(k);
  if (list == nullptr || !pair.IsValid()) return Status::Error(kErrParameter);
  if (list->PairCount() >= kMaxPairs) return Status::Message(kMsgTooManyPairs);
  list->pairs.push_back(pair);
  return Status::Ok();
}

bool CAspGraphData::ReplacePair(int k, int j, const AspGraphPair& pair) {
  AspGraphList* list = MutableList(k);
  if (list == nullptr || !InRange(j, 0, list->PairCount() - 1) || !pair.IsValid()) return false;
  list->pairs[static_cast<std::size_t>(j)] = pair;
  return true;
}

bool CAspGraphData::DeletePair(int k, int j) {
  AspGraphList* list = MutableList(k);
  if (list == nullptr || !InRange(j, 0, list->PairCount() - 1)) return false;
  list->pairs.erase(list->pairs.begin() + j);
  return true;
}

bool CAspGraphData::SwapPairs(int k, int j, int j2) {
  AspGraphList* list = MutableList(k);
  if (list == nullptr || !InRange(j, 0, list->PairCount() - 1) ||
      !InRange(j2, 0, list->PairCount() - 1))
    return false;
  std::swap(list->pairs[static_cast<std::size_t>(j)], list->pairs[static_cast<std::size_t>(j2)]);
  return true;
}

bool CAspGraphData::IsNameUsed(std::string_view name, int except) const {
  const std::string wanted = UpperName(name);
  for (int k = 0; k < ListCount(); ++k)
    if (k != except && UpperName(lists_[static_cast<std::size_t>(k)].name) == wanted) return true;
  return false;
}

int CAspGraphData::CheckSystemNames(const Aspectarium& systems) {
  std::vector<std::string> missing, missingUpper;  // as first met, and upper case
  for (const AspGraphList& list : lists_)
    for (const AspGraphPair& pair : list.pairs) {
      const std::string upper = UpperName(pair.systemName);
      if (systems.HasSystem(pair.systemName) != 0 ||
          std::find(missingUpper.begin(), missingUpper.end(), upper) != missingUpper.end())
        continue;
      missing.push_back(pair.systemName);
      missingUpper.push_back(upper);
    }
  if (missing.empty()) return 1;
  if (systems.Count() == 0) return 0;
  const std::string& replacement = systems.GetSystem(0).GetName();
  std::string text;
  for (const std::string& name : missing) {
    if (!text.empty()) text += '\n';
    text += GetMessageText(kMsgMissingSystem) + ' ' + name + ".\n" +
            GetMessageText(kMsgAspectSystemReplaced) + ' ' + replacement + '.';
  }
  for (AspGraphList& list : lists_)
    for (AspGraphPair& pair : list.pairs)
      if (systems.HasSystem(pair.systemName) == 0) pair.systemName = replacement;
  platform::GetPrompter().ShowMessage(kMsgMissingSystem, text, platform::Icon::Warning);
  return 0;
}
