#include "rectification/core/rect_setup_pages.h"

#include <algorithm>
#include <cstdio>

#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"

namespace {

using Block = cfg::RectificationSettings;

constexpr int kColourText = 0, kColourFill = 1, kColourLeftOut = 7, kColourSelected = 14;

bool SameName(std::string a, std::string b) {
  StringToUpper(a);
  StringToUpper(b);
  return a == b;
}

bool IsBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string Glyphs(std::string_view mask, char (*glyph)(int)) {
  std::string out;
  for (std::size_t i = 0; i < mask.size(); ++i)
    if (mask[i] == 'Y') out += glyph(static_cast<int>(i));
  return out;
}

char PointGlyph(int n) { return glyphs::Point(n); }
char CuspGlyph(int h) { return glyphs::Cusp(h); }

using C = RectConfPage;
using cfg::Bind;
using cfg::Element;

constexpr cfg::FieldTable kConfFields{
    Bind(Element{&C::systems, C::kDirections}, Block::kDirectionsSystem),
    Bind(Element{&C::systems, C::kProgressions}, Block::kProgressionsSystem),
    Bind(Element{&C::systems, C::kTransits}, Block::kTransitsSystem),
    Bind(Element{&C::systems, C::kLifePoint}, Block::kLifePointSystem),
    Bind(&C::displayMode, Block::kDisplayMode, cfg::Clamp{0, 2}),
    Bind(&C::verticalGrid, Block::kVerticalGrid),
    Bind(&C::horizontalGrid, Block::kHorizontalGrid),
    Bind(&C::chronological, Block::kChronological)};

// A weight out of range reads as the main method's.
constexpr cfg::FieldTable kMethodFields{
    Bind(&RectMethodsPage::settings, Block::kMethod, cfg::InRange{0, 2})};

}  // namespace

// --- The calculation page ---

RectConfPage::RectConfPage(const Configuration& config, const Moment& chartMoment) {
  kConfFields.Read(config.rectification, *this);
  interval =
      RectIntervalAround(chartMoment, kRectDefaultHalfSpanMinutes, kRectDefaultHalfSpanMinutes);
}

std::string RectConfPage::CheckSystems(const std::vector<std::string>& systemNames) {
  std::string message;
  for (std::string& name : systems) {
    std::string typed = name.substr(0, kSystemNameReadWidth);
    const bool known = typed.size() <= kSystemNameWidth &&
                       std::any_of(systemNames.begin(), systemNames.end(),
                                   [&](const std::string& s) { return SameName(s, typed); });
    if (known || systemNames.empty()) {
      name = typed.substr(0, kSystemNameWidth);
      continue;
    }
    name = systemNames.front().substr(0, kSystemNameWidth);
    if (message.empty())
      message = GetMessageText(kMsgAspectSystemNotFound) + " " + typed + "\n" +
                GetMessageText(kMsgSystemInstead) + " " + name;
  }
  return message;
}

int RectConfPage::CheckRun(const LifeEventList& events) const {
  if (const int fault = CheckRectInterval(interval); fault != 0) return fault;
  bool anyInUse = false;
  Moment start;
  (void)MomentOfWords(interval.start, start);
  for (int i = 0; i < events.Count(); ++i) anyInUse = anyInUse || events.Event(i).InUse();
  if (!anyInUse) return kMsgNoEventInUse;
  for (int i = 0; i < events.Count(); ++i) {
    const LifeEvent& e = events.Event(i);
    if (e.InUse() && e.moment.JulianDay() <= start.JulianDay()) return kMsgEventBeforeBirth;
  }
  if (!RectEventsHavePoints(events)) return kMsgEventsNameNoPoints;
  return 0;
}

void RectConfPage::Store(Configuration& config) const {
  kConfFields.Write(*this, config.rectification);
  WriteRectInterval(config, interval);
}

// --- The methods page ---

RectMethodsPage::RectMethodsPage(const Configuration& config) {
  kMethodFields.Read(config.rectification, *this);
}

void RectMethodsPage::Store(Configuration& config) const {
  kMethodFields.Write(*this, config.rectification);
}

// --- One event ---

RectEventPage::RectEventPage() = default;

RectEventPage::RectEventPage(const LifeEvent& event) : text(event.text) {
  day = event.moment.date.Day();
  month = event.moment.date.Month();
  year = event.moment.date.Era() == 'B' ? -event.moment.date.Year() : event.moment.date.Year();
  for (std::uint16_t p : event.planets)
    if (p < planetMask.size()) planetMask[p] = 'Y';
  for (std::uint16_t h : event.houses)
    if (h < houseMask.size()) houseMask[h] = 'Y';
}

int RectEventPage::CheckOk() const {
  if (IsBlank(text)) return kMsgEnterEventName;
  if (year < RectConfPage::kYearMin || year > RectConfPage::kYearMax) return 776;
  return DateFault(day, month, year, year < 0 ? 'B' : 'A', true);
}

Status RectEventPage::ApplyTo(LifeEvent& event) const {
  if (const int fault = CheckOk(); fault != 0) return Status::Message(fault, "DRectEvent");
  LifeEvent changed = event;
  if (Status st = changed.Set(text.substr(0, kMaxText), day, month, year, planetMask, houseMask);
      !st.ok())
    return st;
  changed.status = event.status;  // editing keeps the event on or off
  event = std::move(changed);
  return Status::Ok();
}

std::string RectEventPage::PlanetGlyphs() const { return Glyphs(planetMask, &PointGlyph); }
std::string RectEventPage::HouseGlyphs() const { return Glyphs(houseMask, &CuspGlyph); }

// --- The list's commands ---

Status RectEventsEditor::Add(const RectEventPage& page, int& select) {
  if (const int fault = page.CheckOk(); fault != 0) return Status::Message(fault, "DRectConf");
  if (Status st = events_.Add(page.text.substr(0, RectEventPage::kMaxText), page.day, page.month,
                              page.year, page.planetMask, page.houseMask);
      !st.ok())
    return st;
  select = 0;
  return events_.Save(file_);
}

Status RectEventsEditor::Edit(int k, const RectEventPage& page) {
  LifeEvent* e = events_.AtDisplay(k);
  if (e == nullptr) return Status::Message(kMsgChooseEvent, "DRectConf");
  if (Status st = page.ApplyTo(*e); !st.ok()) return st;
  return events_.Save(file_);
}

Status RectEventsEditor::Remove(int k, int& select) {
  if (events_.AtDisplay(k) == nullptr) return Status::Ok();
  const int left = events_.Delete(k);
  select = left == 0 ? -1 : std::min(k, left - 1);
  return events_.Save(file_);
}

Status RectEventsEditor::Toggle(int k, int& select) {
  LifeEvent* e = events_.AtDisplay(k);
  if (e == nullptr) return Status::Ok();
  const int storage = events_.OrderAt(k);
  e->status = e->InUse() ? kLifeEventLeftOut : kLifeEventInUse;
  select = k;
  if (events_.sortByDate == 1 || events_.sortByText == 1) {
    events_.BuildOrder();
    for (int i = 0; i < events_.Count(); ++i)
      if (events_.OrderAt(i) == storage) select = i;
  }
  return events_.Save(file_);
}

void RectEventsEditor::SetChronological(bool on, int& select) {
  SetSortOrder(on, events_.sortByText == 1, select);
}

void RectEventsEditor::SetSortOrder(bool byDate, bool byText, int& select) {
  events_.sortByDate = byDate ? 1 : 0;
  events_.sortByText = byText ? 1 : 0;
  if (events_.Count() >= 2) {
    events_.BuildOrder();
    select = 0;
  }
}

Status RectEventsEditor::Transfer(int k, LifeEventList& other,
                                  const std::filesystem::path& otherFile) {
  const LifeEvent* e = events_.AtDisplay(k);
  if (e == nullptr) return Status::Message(kMsgChooseEvent, "DRectConf");
  return other.AddCopyAndSave(*e, otherFile);
}

// --- The list's lines ---

std::string_view RectEventTextSample(int mode) {
  return mode == 0 ? "WWWWWWWWWWWWWWWWw" : "WWWWWWWWWWWWWWWWWWWWWWWW";
}

std::vector<RectEventLine> RectEventLines(const LifeEventList& events, int mode, int selected) {
  std::vector<RectEventLine> lines;
  for (int k = 0; k < events.Count(); ++k) {
    const LifeEvent& e = *events.AtDisplay(k);
    RectEventLine line;
    line.text = e.text;
    if (mode != 3) {
      char date[16];
      std::snprintf(date, sizeof date, "%02d:%02d:%04d", e.moment.date.Day(), e.moment.date.Month(),
                    e.moment.date.Year());
      line.date = date;
    }
    if (mode == 0) {
      for (std::uint16_t p : e.planets) line.planetGlyphs += glyphs::Point(p);
      for (std::uint16_t h : e.houses) line.houseGlyphs += glyphs::Cusp(h);
    }
    const bool chosen = k == selected;
    line.textColour = !e.InUse() ? kColourLeftOut : chosen ? kColourSelected : kColourText;
    line.fillColour = chosen ? kColourFill : -1;
    lines.push_back(std::move(line));
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}
