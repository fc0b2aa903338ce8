// The texts of the birth-data fields of the entry dialogs, read and checked with the catalogue's
// messages, and written back for display. Texts are code page 1251.
//
// Forms accepted: date "DD.MM.YYYY" (one-digit day and month allowed, a '-' before the year for
// a year before Christ) with the era chosen apart; time "HH:MM" or "HH:MM:SS" (one-digit fields
// allowed, "HH" alone is a whole hour); zone "+HH:MM" or "-HH:MM", seconds allowed as in the
// time ("+02:30:17"; no sign: east); latitude
// "55N45" (degrees, N or S, minutes), longitude "037E37" (degrees, E or W, minutes); letters in
// either case, blanks ignored, the minutes may be left out.
#pragma once

#include <string>
#include <string_view>

#include "foundation/datetime/source.h"

// Each parser returns 0 and sets its output, or returns the message that names the fault and
// leaves the output as it was.
int ParseDateText(std::string_view text, char era, FDate& date);
int ParseTimeText(std::string_view text, FTime& time);
int ParseZoneText(std::string_view text, FTimeCor& zone);
// Latitude degrees 0..89, longitude degrees 0..180 (180 only with 0 minutes), minutes 0..59.
int ParseLatitudeText(std::string_view text, int& degrees, int& minutes, char& letter);
int ParseLongitudeText(std::string_view text, int& degrees, int& minutes, char& letter);

// "DD.MM.YYYY" (the era is shown apart).
std::string DateText(const FDate& date);
// "HH:MM", or "HH:MM:SS" when the seconds are not 0.
std::string TimeText(const FTime& time);
// "+HH:MM", or "+HH:MM:SS" when the seconds are not 0.
std::string ZoneText(const FTimeCor& zone);
// "55N45" and "037E37".
std::string LatitudeText(const Place& place);
std::string LongitudeText(const Place& place);

// The texts of one Source as the dialogs show them.
struct SourceTexts {
  std::string name;
  std::string date;
  char era = 'A';
  std::string time;
  std::string zone;
  std::string latitude;
  std::string longitude;
  std::string town;
  std::string region;
};
SourceTexts TextsOfSource(const Source& source);
// Reads every field in the order of the dialog (date, time, zone, latitude, longitude); 0 with
// `source` set, or the message of the first fault with `source` unchanged. Names are cut to their
// field widths.
int SourceFromTexts(const SourceTexts& texts, Source& source);
