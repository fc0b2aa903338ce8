// A life event: a dated happening in the native's life with the chart points and houses the user
// marks as significant for it; one line of a life-event list file ("velm.lev", "velm.tev").
//
// A line: the date "DD:MM:YYYYE" ('+' AD, '-' BC), the text, 0x03, one letter 'A' + i per point
// i (0..29), 0x03, one letter 'A' + h per house h (0..11), 0x03, the status 'Y' or 'N', and a
// line feed. Texts are code page 1251.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/datetime/moment.h"
#include "foundation/status.h"

inline constexpr int kLifeEventPlanetCount = 30;  // chart points 0..29
inline constexpr int kLifeEventHouseCount = 12;
inline constexpr char kLifeEventSeparator = '\x03';
inline constexpr char kLifeEventInUse = 'Y';
inline constexpr char kLifeEventLeftOut = 'N';

class LifeEvent {
 public:
  LifeEvent() { Clear(); }

  // No text, no points, no houses, 1 January 1900 12:00, status 'Y'.
  void Clear();

  // Fills the event from one line (without its line end). A rejected line leaves the event
  // cleared and returns the reason: message 444, 445 or 447 for a point, house or status that is
  // out of range, error 106 for any other fault (a bad or impossible date, a missing separator).
  Status Import(std::string_view line);
  // The event as one file line, line feed included.
  std::string FormatLine() const;

  // Text, date (a negative year is before Christ), time 12:00, the two masks (SetOnMasks),
  // status 'Y'. An impossible date leaves the event as it was and returns the date's message.
  Status Set(std::string_view text, int day, int month, int year, std::string_view planetMask,
             std::string_view houseMask);
  // Masks of 30 and 12 characters, 'Y' for significant; the index lists are rebuilt ascending.
  // A shorter mask leaves the missing entries not significant.
  void SetOnMasks(std::string_view planetMask, std::string_view houseMask);
  // The text with every control character (the separator 0x03 and line ends among them) replaced
  // by a blank, so that the event always stays one line of its file.
  void SetText(std::string_view text);

  // '<', '=' or '>' of this event against `other`: by the moments' Julian days when `sortByDate`
  // is 1; else by the first 100 characters of the texts, case-insensitive, when `sortByText` is 1;
  // '0' when neither is 1.
  char Compare(const LifeEvent& other, int sortByDate, int sortByText) const;

  bool InUse() const { return status == kLifeEventInUse; }
  bool HasPlanet(int point) const;
  bool HasHouse(int house) const;

  friend bool operator==(const LifeEvent&, const LifeEvent&) = default;

  std::string text;
  std::vector<std::uint16_t> planets;  // 0..29, ascending, each once
  std::vector<std::uint16_t> houses;   // 0..11, ascending, each once
  Moment moment;                       // the date; the time of day is always 12:00
  char status = kLifeEventInUse;
};
