#include "forecast/core/pred_list_record.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "astro/aspects/aspect.h"
#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "forecast/core/life_point_events.h"
#include "forecast/core/lunar_trans.h"
#include "forecast/core/transit_calculation.h"
#include "foundation/datetime/fdate.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kLastKindLabel = 10;  // "loc"
constexpr int kProgressionKeys = 5, kDirectionKeys = 6;
constexpr int kPointCount = 34;
constexpr int kCuspTargetEnd = kPredCuspTarget + 12;
constexpr int kAspectIndexCount = 20;
constexpr int kFieldCount = 29;  // 3 + 5 + 2 + date, time + 14 + 2 + comment
// The largest angle a code carries: minus 360 degrees in minutes.
constexpr int kLowestAspectCode = -360 * 60;

// The fields of a line, split at runs of blanks (tabs as blanks); at most `limit` + 1 are kept,
// so that a line with too many fields is known without keeping them all.
std::vector<std::string_view> SplitFields(std::string_view line, std::size_t limit) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  const auto blank = [&](std::size_t i) { return line[i] == ' ' || line[i] == '\t'; };
  while (fields.size() <= limit) {
    while (at < line.size() && blank(at)) ++at;
    if (at == line.size()) break;
    const std::size_t start = at;
    while (at < line.size() && !blank(at)) ++at;
    fields.push_back(line.substr(start, at - start));
  }
  return fields;
}

template <typename T>
bool ReadNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ReadInt16(std::string_view text, std::int16_t& value) { return ReadNumber(text, value); }

bool ReadChar(std::string_view text, char& value) {
  if (text.size() != 1) return false;
  value = text[0];
  return true;
}

// A longitude of the file: the absent value or a finite angle in [0, 360].
bool ReadLongitude(std::string_view text, double& value) {
  if (!ReadNumber(text, value)) return false;
  return IsAbsent(value) || (std::isfinite(value) && value >= 0.0 && value <= 360.0);
}

bool TwoDigits(std::string_view text, std::size_t at, int& value) {
  if (text[at] < '0' || text[at] > '9' || text[at + 1] < '0' || text[at + 1] > '9') return false;
  value = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return true;
}

// "DD:MM:YYYYE" into a date that exists.
bool ReadDate(std::string_view text, FDate& date) {
  if (text.size() != 11 || text[2] != ':' || text[5] != ':') return false;
  int day = 0, month = 0, year = 0;
  if (!TwoDigits(text, 0, day) || !TwoDigits(text, 3, month)) return false;
  if (!ReadNumber(text.substr(6, 4), year)) return false;
  const char sign = text[10];
  if (sign != '+' && sign != '-') return false;
  return date.SetDate(day, month, year, sign == '-' ? 'B' : 'A').ok();
}

// "HH:MM" into a time of the day.
bool ReadTime(std::string_view text, FTime& time) {
  int hours = 0, minutes = 0;
  if (text.size() != 5 || text[2] != ':') return false;
  if (!TwoDigits(text, 0, hours) || !TwoDigits(text, 3, minutes)) return false;
  return time.SetTime(hours, minutes, 0).ok();
}

bool ValidMoving(int code) { return (code >= 0 && code < kPointCount) || code == kPredLifePoint; }
bool ValidTarget(int code) { return code >= 0 && code < kCuspTargetEnd; }
bool ValidAspect(int code) { return code >= kLowestAspectCode && code < kAspectIndexCount; }

// A target of the lunar and life-point events (a point, or 1000 + h) as a record's target.
std::int16_t RecordTarget(int eventTarget) {
  const int cusp = eventTarget - kLunarCuspTarget;
  return static_cast<std::int16_t>(cusp >= 0 ? kPredCuspTarget + cusp : eventTarget);
}

std::int16_t Int16(int value) { return static_cast<std::int16_t>(value); }

// The fields an aspect event of the Moon or the life point gives alike: a direct mover, the
// orb kind 'N', the phase, the moment and both longitudes.
template <class Event>
PredListRecord AspectEventRecord(int moving, const Event& e, int aspect, char targetMotion,
                                 double movingLongitude, double targetLongitude) {
  PredListRecord r;
  r.moving = static_cast<std::int16_t>(moving);
  r.target = RecordTarget(e.target);
  r.aspect = Int16(aspect);
  r.side = e.side;
  r.orbKind = 'N';
  r.phase = e.phase;
  r.movingMotion = 'D';
  r.targetMotion = targetMotion;
  r.when = e.when.GetPlainMoment();
  r.movingLongitude = movingLongitude;
  r.targetLongitude = targetLongitude;
  return r;
}

}  // namespace

ChartDefinition NatalDefinition() { return {0, 0, -1, 1, 0, 1, 0}; }

ChartDefinition TransitDefinition(int converse) {
  return {kChartTransit, Int16(converse), -1, 1, 0, 1, 0};
}

ChartDefinition FullDefinition(const Chart& chart) {
  const SuperSource& d = chart.definition;
  // The key kind's "none" (0xFFFF) is -1 as a signed number.
  return {Int16(d.Kind()),       Int16(d.converse),    static_cast<std::int16_t>(d.keyKind),
          Int16(d.key.arcCount), Int16(d.key.arcUnit), Int16(d.key.timeCount),
          Int16(d.key.timeUnit)};
}

ChartDefinition TransitChartDefinition(const Chart& chart) {
  const SuperSource& d = chart.definition;
  const int kind = d.Kind();
  if (kind == kChartProgressed || kind == kChartDirected) return FullDefinition(chart);
  // Natal, horary and synastry charts move forward by the clock; any other kind by the clock
  // too, backward when converse.
  const bool clockOnly = kind == kChartNatal || kind == kChartHorary || kind == kChartSynastry;
  return TransitDefinition(!clockOnly && d.converse == 1 ? 1 : 0);
}

std::string ChartDefinitionToText(const ChartDefinition& d) {
  char text[96];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d", d[0], d[1], d[2], d[3], d[5], d[4],
                d[6]);
  return text;
}

std::string ChartDefinitionLabel(const ChartDefinition& d) {
  const int kind = d[0];
  if (kind < 0 || kind > kLastKindLabel) return std::to_string(kind);
  std::string label = GetMessageText(kMsgFirstKindLabel + kind);
  const bool converse = d[1] == 1;
  std::string inner;
  if (kind == kChartProgressed || kind == kChartDirected) {
    const int first = kind == kChartProgressed ? kMsgFirstProgressionKey : kMsgFirstDirectionKey;
    const int keys = kind == kChartProgressed ? kProgressionKeys : kDirectionKeys;
    if (d[2] >= 0 && d[2] < keys) inner = GetMessageText(first + d[2]);
  } else if (kind != kChartTransit) {
    return label;
  }
  if (converse) {
    if (!inner.empty()) inner += ',';
    inner += GetMessageText(kMsgConverseWord);
  }
  return inner.empty() ? label : label + "(" + inner + ")";
}

int PredAspectCode(const AspectSystem* system, int position) {
  if (system == nullptr || position < 0 || position >= system->Count()) return kPredUnknownAspect;
  const Aspect& aspect = system->GetAspect(position);
  const int index = ClassifyAspectAngle(aspect);
  if (index >= 0) return index;
  // An angle in minutes that would read as the unknown code is the nearest code beyond it.
  return std::min(-static_cast<int>(std::lround(aspect.angle * 60.0)), kPredUnknownAspect - 1);
}

std::string PredMomentText(const Moment& when, bool withTime) {
  const std::string text = when.ToTextEra();  // "DD:MM:YYYYE  HH:MM"
  return withTime ? text : text.substr(0, 11);
}

std::string PredListRecord::ToText() const {
  std::string note;
  for (char c : comment) note += (c == ' ' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
  if (note.empty()) note = "_";
  char head[160];
  std::snprintf(head, sizeof head, "%d %d %d %c %c %c %c %c %f %f ", moving, target, aspect, side,
                orbKind, phase, movingMotion, targetMotion, movingLongitude, targetLongitude);
  std::string line = head;
  line += PredMomentText(when, true);
  line += ' ';
  line += ChartDefinitionToText(movingChart);
  line += ' ';
  line += ChartDefinitionToText(targetChart);
  line += ' ';
  line += status;
  line += ' ';
  line += showTime;
  line += ' ';
  return line + note;
}

std::optional<PredListRecord> PredListRecord::FromText(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  const std::vector<std::string_view> f = SplitFields(line, kFieldCount);
  if (f.size() != kFieldCount) return std::nullopt;
  PredListRecord r;
  bool ok = ReadInt16(f[0], r.moving) && ReadInt16(f[1], r.target) && ReadInt16(f[2], r.aspect) &&
            ValidMoving(r.moving) && ValidTarget(r.target) && ValidAspect(r.aspect);
  ok = ok && ReadChar(f[3], r.side) && ReadChar(f[4], r.orbKind) && ReadChar(f[5], r.phase) &&
       ReadChar(f[6], r.movingMotion) && ReadChar(f[7], r.targetMotion);
  ok = ok && ReadLongitude(f[8], r.movingLongitude) && ReadLongitude(f[9], r.targetLongitude);
  ok = ok && ReadDate(f[10], r.when.date) && ReadTime(f[11], r.when.time);
  // Each definition is written [0] [1] [2] [3] [5] [4] [6].
  static constexpr int kFileOrder[7] = {0, 1, 2, 3, 5, 4, 6};
  for (int i = 0; ok && i < 7; ++i) {
    ok = ReadInt16(f[12 + static_cast<std::size_t>(i)], r.movingChart[kFileOrder[i]]) &&
         ReadInt16(f[19 + static_cast<std::size_t>(i)], r.targetChart[kFileOrder[i]]);
  }
  ok = ok && ReadChar(f[26], r.status) && ReadChar(f[27], r.showTime);
  const std::string_view note = f[28];
  ok = ok && note.size() <= kMaxComment;
  if (!ok) return std::nullopt;
  r.comment.assign(note);
  for (char& c : r.comment)
    if (c == '_') c = ' ';
  if (r.comment == " ") r.comment.clear();
  return r;
}

PredListRecord PredListRecord::FromTransitEvent(const TransitEventRecord& e, const Chart& chart,
                                                const Chart* second, bool withSecond,
                                                bool showTime) {
  PredListRecord r;
  r.moving = e.transiting;
  r.target = e.target;
  r.aspect = e.code;
  r.side = e.side;
  r.orbKind = e.orbKind;
  r.phase = e.event;
  r.movingMotion = e.transitingMotion;
  r.targetMotion = e.targetMotion;
  r.when = e.moment.GetPlainMoment();
  r.movingLongitude = e.transitingLongitude;
  r.targetLongitude = e.targetLongitude;
  r.showTime = showTime ? 'Y' : 'N';
  r.movingChart = TransitChartDefinition(chart);
  // Compared with a second chart: the natal chart behind a moving chart, or the document's own
  // chart when that is the natal (or horary) chart the transits go over.
  r.targetChart = withSecond ? FullDefinition(second != nullptr ? *second : chart) : r.movingChart;
  return r;
}

std::optional<PredListRecord> PredListRecord::FromLunarEvent(const LunarTransitEvent& e,
                                                             const Chart& chart, bool natalTarget,
                                                             const AspectSystem* system) {
  if (e.IsIngress()) return std::nullopt;
  PredListRecord r = AspectEventRecord(1, e, PredAspectCode(system, e.aspect), e.motion,
                                       e.moonTarget, e.pointLongitude);  // 1: the Moon
  r.showTime = 'Y';
  const int kind = chart.definition.Kind();
  if (kind == kChartTransit) {
    r.movingChart = TransitDefinition(chart.definition.converse);
  } else if (kind == kChartProgressed) {
    // The progressed Moon's time of day says little: the date alone is shown.
    r.movingChart = FullDefinition(chart);
    r.showTime = 'N';
  } else {
    r.movingChart = TransitDefinition(0);
  }
  r.targetChart = natalTarget ? NatalDefinition() : r.movingChart;
  return r;
}

std::optional<PredListRecord> PredListRecord::FromLifePointEvent(const LifePointEvent& e,
                                                                 const Chart& chart,
                                                                 bool toThisChart,
                                                                 const AspectSystem* system) {
  if (e.IsIngress()) return std::nullopt;
  PredListRecord r = AspectEventRecord(kPredLifePoint, e, PredAspectCode(system, e.aspect),
                                       e.targetMotion, e.reachLongitude, e.targetLongitude);
  r.showTime = 'N';
  const SuperSource& d = chart.definition;
  r.movingChart = TransitDefinition(d.converse);
  if (!toThisChart) {
    r.targetChart = NatalDefinition();
  } else if (d.Kind() == kChartTransit) {
    r.targetChart = TransitDefinition(d.converse);
  } else if (d.Kind() == kChartProgressed || d.Kind() == kChartDirected) {
    r.targetChart = FullDefinition(chart);
  } else {
    r.targetChart = {Int16(d.Kind()), 0, -1, 1, 0, 1, 0};
  }
  return r;
}

void PredListRecord::SetComment(std::string_view text, std::size_t limit) {
  comment.assign(text.substr(0, std::min(limit, kMaxComment)));
  for (char& c : comment)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
}

std::optional<double> PredListRecord::Arc() const {
  if (IsAbsent(movingLongitude) || IsAbsent(targetLongitude)) return std::nullopt;
  return AngleDifference180(movingLongitude, targetLongitude);
}

std::string PredArcText(const PredListRecord& record) {
  const std::optional<double> arc = record.Arc();
  if (!arc) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%4.2f", *arc);
  return text;
}
