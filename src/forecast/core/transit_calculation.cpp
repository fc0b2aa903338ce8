#include "forecast/core/transit_calculation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "astro/aspects/aspect.h"
#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_math.h"
#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/longitudes.h"
#include "astro/ephemeris/speed_limits.h"
#include "conditions/core/group_editor.h"
#include "conditions/core/groups.h"
#include "conditions/core/wizard_pages.h"
#include "forecast/core/transit_bodies.h"
#include "forecast/core/transit_dispatch.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"

namespace {

using namespace transit_body;

constexpr const char* kTrace = "CTransitsView::CalculateTransits";
constexpr int kMaxListed = 13;  // transiting bodies and distinct targets kept for the heading
// The longest period: the table's limit starts here; a mode to the natal chart allows three
// quarters of the fastest body's revolution (in days of 365.25); a direction 270 degrees of arc.
constexpr int kNoTableLimit = 10000;
constexpr double kNatalModeDaysPerTurnYear = 273.9375;
constexpr double kDirectionArcLimit = 270.0;
constexpr double kMotionProbeDays = 1.0 / 24.0;
constexpr double kLunarToleranceArcminPerP = 0.25;

bool OneSided(double angle) { return std::fabs(angle) < 1e-9 || std::fabs(angle - 180.0) < 1e-9; }

// 'R' when the longitude one hour later lies behind, else 'D'.
char MotionOf(const ChartContext& ctx, int body, double ut) {
  const double now = chartmath::BodyAt(ctx, body, JdUt{ut}).longitude;
  const double later = chartmath::BodyAt(ctx, body, JdUt{ut + kMotionProbeDays}).longitude;
  return NormalizeDegrees(later - now) >= 180.0 ? 'R' : 'D';
}

bool NeverRetrograde(int body) {
  return body == kSun || body == kMoon || body == kBlackMoon || body == kWhiteMoon;
}

}  // namespace

int TransitTableRow(int body) {
  if (body >= kSun && body <= kChiron) return body;
  if (body == kBlackMoon) return 11;
  if (body == kWhiteMoon) return 12;
  return -1;
}

bool IsTransitBody(int body) { return TransitTableRow(body) >= 0; }

Status LoadTransitPeriods(const std::filesystem::path& file, TransitPeriodTable& table) {
  std::string text;
  if (const Status read = ReadWholeFile(file, text); !read.ok())
    return Status::Error(kErrCannotOpen, file.string());
  const char* p = text.c_str();
  const char* end = p + text.size();
  for (std::size_t i = 0; i < table.size(); ++i) {
    while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    char* after = nullptr;
    const long value = std::strtol(p, &after, 10);
    if (after == p || value < 0 || value > 10'000'000)
      return Status::Error(kErrFormat, file.string(), static_cast<int>(i) + 1);
    table[i] = static_cast<int>(value);
    p = after;
  }
  while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (p != end) return Status::Error(kErrFormat, file.string(), static_cast<int>(table.size()) + 1);
  return Status::Ok();
}

TransitCalculation::TransitCalculation(const TransitSettings& settings, const Chart& chart,
                                       const Groups& groups, std::filesystem::path periodsFile)
    : settings_(settings), chart_(chart), groups_(groups), periodsFile_(std::move(periodsFile)) {}

int TransitCalculation::Precision() const {
  return settings_.precision == 1 ? 1 : settings_.precision == 5 ? 5 : 10;
}

TransitPeriodTable ShippedTransitPeriods() {
  TransitPeriodTable table{};
  std::copy_n(TransitPeriodsTable(), table.size(), table.begin());
  return table;
}

double TransitTimeFactor(const ChartContext& ctx, const SuperSource& def) {
  const int kind = def.Kind();
  if (kind == kChartNatal || kind == kChartHorary || kind == kChartSynastry) return 1.0;
  const double converse = def.converse == 1 ? -1.0 : 1.0;
  double k = converse;
  if (kind == kChartProgressed)
    k = DefineProgressionKoef(def) * converse;
  else if (kind == kChartDirected)
    k = DefineDirectionKoef(ctx, def) * converse;
  return k == 0.0 || !std::isfinite(k) ? 1.0 : k;
}

double TransitLongestPeriod(int kind, double k, int mode, int smallestTable, int fastestBody) {
  const double absK = std::fabs(k) > 0.0 && std::isfinite(k) ? std::fabs(k) : 1.0;
  if (kind == kChartNatal || kind == kChartHorary || kind == kChartSynastry) return smallestTable;
  if (kind == kChartDirected) return kDirectionArcLimit / absK;
  const double searchLimit =
      mode == 1 ? GetPlanetTurn(fastestBody) * kNatalModeDaysPerTurnYear : smallestTable;
  return searchLimit / absK;
}

double TransitLongestPeriod(const TransitSettings& s, int kind, double k, const Groups& groups,
                            const TransitPeriodTable& table) {
  std::vector<int> transiting;
  if (s.transiting != kTransitPlanetGroup) {
    transiting.push_back(s.transiting);
  } else if (s.transitingGroup >= 0 && s.transitingGroup < groups.Count('P')) {
    const GroupRecord& group = groups.Group('P', s.transitingGroup);
    for (int m = 0; m < group.count; ++m)
      transiting.push_back(group.members[static_cast<std::size_t>(m)]);
  }
  std::vector<int> targets;
  if (s.target == kTransitPlanetGroup) {
    for (int i = 0; i < groups.Count('P'); ++i)
      if (const GroupRecord& group = groups.Group('P', i); group.name == s.groupName)
        for (int m = 0; m < group.count; ++m)
          targets.push_back(group.members[static_cast<std::size_t>(m)]);
  } else if (s.target != kTransitHouseGroup) {
    targets.push_back(s.target);  // a house has no table value
  }
  int smallest = kNoTableLimit;
  int fastest = 9;  // Pluto
  for (int a : transiting) {
    if (!IsTransitBody(a)) continue;
    if (GetPlanetTurn(a) < GetPlanetTurn(fastest)) fastest = a;
    for (int b : targets) {
      const int row = TransitTableRow(a), column = TransitTableRow(b);
      if (column < 0 || (s.mode != 1 && a == b)) continue;
      smallest =
          std::min(smallest, table[static_cast<std::size_t>(row * kTransitTableRows + column)]);
    }
  }
  return TransitLongestPeriod(kind, k, s.mode, smallest, fastest);
}

Status TransitCalculation::PrepareCharts(const ChartContext& ctx) {
  const SuperSource& def = chart_.definition;
  const int kind = def.Kind();
  moving_ = chart_;
  base_.reset();
  if (kind != kChartNatal && kind != kChartHorary) {
    if (const Status st = ChartCalculate(ctx, moving_); !st.ok()) return st;
  }
  if (kind != kChartNatal && kind != kChartHorary && kind != kChartSynastry) {
    Chart natal;
    natal.definition.SetKind(kChartNatal);
    natal.definition.sources[0] = def.sources[0];
    if (const Status st = ChartCalculate(ctx, natal); !st.ok()) return st;
    base_ = std::move(natal);
  }
  k_ = TransitTimeFactor(ctx, def);
  birthUt_ = chartmath::UtOf(def.sources[0]).days;
  const Source* zoneSource = def.GetBaseSource();
  zoneDays_ = (zoneSource ? zoneSource->zone : def.sources[0].zone).GetCorrectionHours() / 24.0;
  return Status::Ok();
}

void TransitCalculation::AddPListItem(int transiting, int target, int aspect, double angle,
                                      char event, char side, int natal, char orbKind, int code) {
  TransitPairItem item;
  item.transiting = static_cast<std::int16_t>(transiting);
  item.target = static_cast<std::int16_t>(target);
  item.aspect = static_cast<std::uint16_t>(aspect);
  item.natal = static_cast<std::uint8_t>(natal);
  item.side = side;
  item.orbKind = orbKind;
  item.event = event;
  item.code = static_cast<std::int16_t>(code);
  item.angle = NormalizeDegrees(side == 'R' ? 360.0 - angle : angle);
  pairs_.push_back(item);
}

void TransitCalculation::AddItemsOfAspect(int transiting, int target, int aspect, double angle,
                                          int code, double exactOrb, double classOrb) {
  const int natal = settings_.mode == 1 ? 1 : 0;
  const bool oneSided = OneSided(angle);
  const bool ownAngle = aspect == kTransitOwnAngle;
  if (settings_.exact == 1) {
    AddPListItem(transiting, target, aspect, angle, 'E', 'L', natal, 'X', code);
    if (!oneSided) AddPListItem(transiting, target, aspect, angle, 'E', 'R', natal, 'X', code);
  }
  const auto addOrb = [&](double orb, char orbKind) {
    if (orb == 0.0) return;
    if (settings_.entering == 1) {
      AddPListItem(transiting, target, aspect, angle - orb, 'I', 'L', natal, orbKind, code);
      if (!oneSided)
        AddPListItem(transiting, target, aspect, angle + orb, 'I', 'R', natal, orbKind, code);
    }
    if (settings_.leaving == 1) {
      AddPListItem(transiting, target, aspect, angle + orb, 'O', 'L', natal, orbKind, code);
      if (!oneSided)
        AddPListItem(transiting, target, aspect, angle - orb, 'O', 'R', natal, orbKind, code);
    }
  };
  if (ownAngle) {
    addOrb(classOrb, 'X');
    return;
  }
  addOrb(exactOrb, 'E');
  addOrb(classOrb, 'N');
}

void TransitCalculation::AddPairItems(const ChartContext& ctx, const AspectSystem* system,
                                      int transiting, int target) {
  if (settings_.mode != 1) {
    if (transiting == target) return;
    if (target < kTransitCuspTarget && !IsTransitBody(target)) return;
  }
  const bool systemOrbs = settings_.orbSource == 1;
  const double constantOrb = settings_.orbDegrees + settings_.orbMinutes / 60.0;
  const int orbClass = target >= kTransitCuspTarget
                           ? settings_.houseOrbGroup
                           : ctx.Config().GetPairOrbClass(transiting, target);
  if (settings_.aspectChoice == kTransitOwnAngle) {
    const double angle = settings_.angleDegrees + settings_.angleMinutes / 60.0;
    const int code = -(settings_.angleDegrees * 60 + settings_.angleMinutes);
    AddItemsOfAspect(transiting, target, kTransitOwnAngle, angle, code, 0.0, constantOrb);
    return;
  }
  if (!system) return;
  const auto addAspect = [&](int position) {
    const Aspect& a = system->GetAspect(position);
    const int index = ClassifyAspectAngle(a);
    const int code = index >= 0 ? index : -static_cast<int>(std::lround(a.angle * 60.0));
    const double exactOrb = systemOrbs && settings_.MaskBit(kTransitMaskExact)
                                ? a.Orb(OrbColumn{OrbColumn::kExact})
                                : 0.0;
    double classOrb = 0.0;
    if (settings_.MaskBit(kTransitMaskInexact) || !systemOrbs)
      classOrb = systemOrbs ? a.Orb(OrbColumnOfClass(orbClass)) : constantOrb;
    AddItemsOfAspect(transiting, target, position, a.angle, code, exactOrb, classOrb);
  };
  if (settings_.aspectChoice == kTransitAnyAspect) {
    for (int p = 0; p < system->Count(); ++p) {
      const Aspect& a = system->GetAspect(p);
      const bool strength = settings_.MaskBit(a.IsMajor() ? kTransitMaskMajor : kTransitMaskMinor);
      const bool nature = settings_.MaskBit(std::min<int>(a.type, kAspectOther));
      if (strength && nature) addAspect(p);
    }
  } else if (settings_.aspectChoice < system->Count()) {
    addAspect(settings_.aspectChoice);
  }
}

void TransitCalculation::AddTargetsOf(const ChartContext& ctx, const AspectSystem* system,
                                      int transiting) {
  const bool toNatal = settings_.mode == 1;
  const int target = settings_.target;
  if (target == kTransitPlanetGroup || target == kTransitHouseGroup) {
    const char kind = target == kTransitPlanetGroup ? 'P' : 'H';
    const GroupRecord* group = nullptr;
    for (int i = 0; i < groups_.Count(kind) && !group; ++i)
      if (groups_.Group(kind, i).name == settings_.groupName) group = &groups_.Group(kind, i);
    if (!group) {
      ReportStatus(Status::Message(kMsgGroupNotFound, settings_.groupName), kTrace);
      return;
    }
    bool any = false;
    for (int m = 0; m < group->count; ++m) {
      const int member = group->members[static_cast<std::size_t>(m)];
      if (kind == 'H') {
        if (!toNatal) continue;
        AddPairItems(ctx, system, transiting, kTransitCuspTarget + member);
        any = true;
      } else if (toNatal || (IsTransitBody(member) && member != transiting)) {
        AddPairItems(ctx, system, transiting, member);
        any = true;
      }
    }
    if (!any) ReportStatus(Status::Message(kMsgGroupWithoutPlanets), kTrace);
    return;
  }
  if (!toNatal && target == transiting) {
    ReportStatus(Status::Message(kMsgTransitToItself), kTrace);
    return;
  }
  AddPairItems(ctx, system, transiting, target);
}

void TransitCalculation::CreatePointsListGeneral(const ChartContext& ctx) {
  pairs_.clear();
  transitingBodies_.clear();
  const AspectSystem* system = nullptr;
  if (settings_.aspectChoice != kTransitOwnAngle) {
    system = ctx.FindSystem(settings_.aspectSystem);
    if (!system) {
      ReportStatus(Status::Message(kMsgAspectSystemNotFound, settings_.aspectSystem), kTrace);
      return;
    }
  }
  if (settings_.transiting != kTransitPlanetGroup) {
    if (!IsTransitBody(settings_.transiting)) return;
    transitingBodies_.push_back(settings_.transiting);
  } else {
    const int index = settings_.transitingGroup;
    if (index < 0 || index >= groups_.Count('P')) {
      ReportStatus(Status::Message(kMsgGroupNotFound), kTrace);
      return;
    }
    const GroupRecord& group = groups_.Group('P', index);
    if (group.count <= 0) {
      ReportStatus(Status::Message(kMsgGroupNeedsMember), kTrace);
      return;
    }
    for (int m = 0; m < group.count; ++m) {
      const int member = group.members[static_cast<std::size_t>(m)];
      if (IsTransitBody(member) && static_cast<int>(transitingBodies_.size()) < kMaxListed)
        transitingBodies_.push_back(member);
    }
    if (transitingBodies_.empty()) {
      ReportStatus(Status::Message(kMsgGroupWithoutPlanets), kTrace);
      return;
    }
  }
  for (int body : transitingBodies_) AddTargetsOf(ctx, system, body);
}

bool TransitCalculation::MapsThroughProgression() const {
  const int kind = chart_.definition.Kind();
  return kind != kChartNatal && kind != kChartHorary && kind != kChartDirected &&
         kind != kChartSynastry;
}

double TransitCalculation::LifeToSearch(double lifeUt) const {
  return MapsThroughProgression() ? birthUt_ + (lifeUt - birthUt_) * k_ : lifeUt;
}

double TransitCalculation::SearchToLife(double searchUt) const {
  return MapsThroughProgression() ? birthUt_ + (searchUt - birthUt_) / k_ : searchUt;
}

Moment TransitCalculation::ToChartTime(double searchUt) const {
  Moment m;
  (void)m.SetMoment(SearchToLife(searchUt) + zoneDays_);
  return m;
}

Status TransitCalculation::DefinePeriod(const ChartContext& ctx) {
  FDate start, end;
  if (const Status st = start.SetDate(settings_.startDay, settings_.startMonth, settings_.startYear,
                                      settings_.startEra);
      !st.ok())
    return st;
  if (const Status st =
          end.SetDate(settings_.endDay, settings_.endMonth, settings_.endYear, settings_.endEra);
      !st.ok())
    return st;
  // The table is compiled in as well: without the file the run uses that copy, and a damaged
  // file is reported once before it does.
  TransitPeriodTable table{};
  if (const Status st = LoadTransitPeriods(periodsFile_, table); !st.ok()) {
    if (st.ErrorCode() != kErrCannotOpen) ReportStatus(st, kTrace);
    table = ShippedTransitPeriods();
  }

  int smallest = kNoTableLimit;
  int fastest = 9;  // Pluto
  targets_.clear();
  for (const TransitPairItem& item : pairs_) {
    const int row = TransitTableRow(item.transiting), column = TransitTableRow(item.target);
    if (row >= 0 && column >= 0)
      smallest =
          std::min(smallest, table[static_cast<std::size_t>(row * kTransitTableRows + column)]);
    if (std::find(targets_.begin(), targets_.end(), item.target) == targets_.end() &&
        static_cast<int>(targets_.size()) < kMaxListed)
      targets_.push_back(item.target);
    if (GetPlanetTurn(item.transiting) < GetPlanetTurn(fastest)) fastest = item.transiting;
  }

  const int kind = chart_.definition.Kind();
  const double absK = std::fabs(k_);
  const double lifeStart = start.ToJulianDay();
  // The longest period in days of life.
  const double limitDays = TransitLongestPeriod(kind, k_, settings_.mode, smallest, fastest);
  if (kind == kChartNatal || kind == kChartHorary || kind == kChartSynastry)
    showTimeOfDay_ = GetPlanetTurn(fastest) <= 20.0;
  else if (kind == kChartDirected)
    showTimeOfDay_ = absK >= 30.0;
  else
    showTimeOfDay_ = GetPlanetTurn(fastest) / absK <= 20.0;
  double lifeEnd = end.ToJulianDay();
  const bool cut = lifeEnd > lifeStart + limitDays;
  if (cut) lifeEnd = lifeStart + limitDays;
  const double a = LifeToSearch(lifeStart), b = LifeToSearch(lifeEnd);
  searchStart_ = std::min(a, b);
  searchEnd_ = std::max(a, b);
  if (cut) {
    // The period used, in the chart's time as the list's heading and its events give it, so that
    // the message and the heading name the same last day.
    ShowMessage(kMsgTransitPeriodCut,
                GetMessageText(kMsgTransitPeriodCut) + "\n" + GetMessageText(kMsgPeriodWord) + " " +
                    PeriodStart().date.ToText() + " - " + PeriodEnd().date.ToText());
  }
  if (kind == kChartDirected) {
    // The directed chart at the start of the period: its points move from there by the rate.
    Source& moment = moving_.definition.sources[1];
    if (const Status st = chartmath::MoveSourceToUt(moment, lifeStart); !st.ok()) return st;
    if (const Status st = ChartCalculate(ctx, moving_); !st.ok()) return st;
  }
  return Status::Ok();
}

double TransitCalculation::NatalLongitude(int target) const {
  const Chart& natal = base_ ? *base_ : moving_;
  if (target >= kTransitCuspTarget)
    return natal.cusps[static_cast<std::size_t>((target - kTransitCuspTarget) % 12)].Get();
  return natal.GetPointLongitude(target).Get();
}

void TransitCalculation::Record(const ChartContext& ctx, const TransitPairItem& pair,
                                int transiting, int target, double ut, double transitingLongitude,
                                double targetLongitude, char side) {
  TransitEventRecord e;
  e.transiting = static_cast<std::int16_t>(transiting);
  e.target = static_cast<std::int16_t>(target);
  e.code = pair.code;
  e.side = side;
  e.orbKind = pair.orbKind;
  e.event = pair.event;
  e.julianDay = ut;  // carried to the chart's time when the searches are done
  e.transitingLongitude = transitingLongitude;
  e.targetLongitude = targetLongitude;
  if (chart_.definition.Kind() == kChartDirected) {
    e.transitingMotion = 'D';
    e.targetMotion = '0';
  } else {
    e.transitingMotion = NeverRetrograde(transiting) ? '0' : MotionOf(ctx, transiting, ut);
    e.targetMotion = NeverRetrograde(target) || pair.natal == 1 || target >= kTransitCuspTarget
                         ? '0'
                         : MotionOf(ctx, target, ut);
  }
  events_.push_back(e);
}

int TransitCalculation::CalculateAspectDates(const ChartContext& ctx, const TransitPairItem& pair,
                                             double start) {
  if (EventCount() >= kMaxEvents) return 0;
  const TransitSearchContext search{ctx.GetEphemeris(), pair.angle, Precision(),
                                    chartmath::VariantOfPoint(ctx.Calculation(), kBlackMoon)};
  if (pair.natal == 1) {
    const double natal = NatalLongitude(pair.target);
    if (IsAbsent(natal)) return 0;
    const TransitResult r =
        NatalTargetNextTransit(search, pair.transiting, natal, JdUt{start}, JdUt{searchEnd_});
    const double t = r.moment.days;
    if (r.status != 1 || t < searchStart_ || t > searchEnd_) return 0;
    Record(ctx, pair, pair.transiting, pair.target, t,
           chartmath::BodyAt(ctx, pair.transiting, r.moment).longitude, natal, pair.side);
    return 1;
  }
  const int faster = SearchFasterBody(pair.transiting, pair.target);
  const int slower = faster == pair.transiting ? pair.target : pair.transiting;
  double t = 0.0, fasterLongitude = kAbsent;
  if (faster == kMoon) {
    // The lunar aspect search works on the local clock of the chart's computing Source.
    const double zone = ComputingSource(moving_.definition).zone.GetCorrectionHours() / 24.0;
    // It looks 40 days around its start: a period that begins before the other body's place is
    // known is searched from where it is.
    JdUt from{start}, until{searchEnd_};
    if (!ClipToKnownSpan({slower}, from, until)) return 0;
    Moment m;
    if (!m.SetMoment(from.days + zone).ok()) return 0;
    const double lon = moving_.FindLunarAspectMoment(ctx, m, slower, pair.angle, 0.0, 1,
                                                     Precision() * kLunarToleranceArcminPerP);
    if (IsAbsent(lon)) return 0;
    t = m.JulianDay() - zone;
    fasterLongitude = NormalizeDegrees(lon);
  } else {
    const TransitResult r =
        MovingPairNextTransit(search, faster, slower, JdUt{start}, JdUt{searchEnd_});
    if (r.status == -1) {
      FatalError("Case error!", "CTransitsView::CalculateAspectDates");
      return 0;
    }
    if (r.status != 1) return 0;
    t = r.moment.days;
    fasterLongitude = chartmath::BodyAt(ctx, faster, r.moment).longitude;
  }
  if (t < start || t > searchEnd_) return 0;
  // The faster body is listed as transiting; where the search measured the other one from it (the
  // Sun from Mercury or Venus), the aspect's side is the other one as the list reads it.
  char side = pair.side;
  if (MovingPairMeasuredBody(faster, slower) != faster && !OneSided(pair.angle))
    side = side == 'L' ? 'R' : 'L';
  Record(ctx, pair, faster, slower, t, fasterLongitude,
         chartmath::BodyAt(ctx, slower, JdUt{t}).longitude, side);
  return 1;
}

int TransitCalculation::DirectedEvents() {
  // A directed point moves by the arc at |k| degrees a day of life: one meeting with its target
  // within the period (at most 270 degrees of arc).
  int added = 0;
  for (const TransitPairItem& pair : pairs_) {
    if (EventCount() >= kMaxEvents) break;
    const double directed =
        pair.transiting >= kTransitCuspTarget
            ? moving_.cusps[static_cast<std::size_t>((pair.transiting - kTransitCuspTarget) % 12)]
                  .Get()
            : moving_.GetPointLongitude(pair.transiting).Get();
    const double natal = NatalLongitude(pair.target);
    if (IsAbsent(directed) || IsAbsent(natal)) continue;
    const double goal = NormalizeDegrees(natal + pair.angle);
    const double arc =
        k_ > 0.0 ? NormalizeDegrees(goal - directed) : NormalizeDegrees(directed - goal);
    const double t = searchStart_ + arc / std::fabs(k_);
    if (t > searchEnd_) continue;
    TransitEventRecord e;
    e.transiting = pair.transiting;
    e.target = pair.target;
    e.code = pair.code;
    e.side = pair.side;
    e.orbKind = pair.orbKind;
    e.event = pair.event;
    e.transitingMotion = 'D';
    e.targetMotion = '0';
    e.julianDay = t;
    e.transitingLongitude = goal;
    e.targetLongitude = natal;
    events_.push_back(e);
    ++added;
  }
  return added;
}

int TransitCalculation::CalculateTransits(const ChartContext& ctx,
                                          platform::ProgressSink* progress) {
  events_.clear();
  if (pairs_.empty()) return 0;
  const bool showProgress = progress && pairs_.size() > 5;
  if (showProgress) progress->Begin();
  bool cancelled = false;
  if (chart_.definition.Kind() == kChartDirected) {
    DirectedEvents();
  } else {
    // Cancel is asked before every search, whether or not progress is shown: a run of one pair
    // over a long period is a long run too.
    const auto cancelAsked = [&] { return cancelled = progress && progress->Cancelled(); };
    for (std::size_t i = 0; i < pairs_.size() && EventCount() < kMaxEvents; ++i) {
      if (cancelAsked()) break;
      if (showProgress) progress->SetPos(static_cast<int>(100 * i / pairs_.size()));
      double from = searchStart_;
      while (EventCount() < kMaxEvents && !cancelAsked() &&
             CalculateAspectDates(ctx, pairs_[i], from) == 1)
        from = events_.back().julianDay + kNextSearchDays;
      if (cancelled) break;
    }
  }
  if (showProgress) progress->End();
  if (EventCount() >= kMaxEvents) {
    ReportStatus(Status::Message(kMsgTooManyTransits), kTrace);
    events_.clear();
    return 0;
  }
  if (events_.empty()) {
    if (!cancelled) ReportStatus(Status::Message(kMsgTransitsNotFound), kTrace);
    return 0;
  }
  for (TransitEventRecord& e : events_) {
    e.moment = ToChartTime(e.julianDay);
    e.julianDay = SearchToLife(e.julianDay) + zoneDays_;
  }
  std::stable_sort(events_.begin(), events_.end(),
                   [](const TransitEventRecord& a, const TransitEventRecord& b) {
                     return a.julianDay < b.julianDay;
                   });
  return 1;
}

int TransitCalculation::Run(const ChartContext& ctx, platform::ProgressSink* progress) {
  events_.clear();
  if (const Status st = PrepareCharts(ctx); !st.ok()) {
    ReportStatus(st, "CTransitsView::OnInitialUpdate");
    return 0;
  }
  CreatePointsListGeneral(ctx);
  if (pairs_.empty()) return 0;
  if (const Status st = DefinePeriod(ctx); !st.ok()) {
    ReportStatus(st, "CTransitsView::DefinePeriod");
    return 0;
  }
  const int found = CalculateTransits(ctx, progress);
  pairs_.clear();
  return found;
}
