// A place on the Earth: latitude and longitude in degrees, minutes and hemisphere letter, with the
// town's and the region's names (code page 1251).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "foundation/status.h"

// Widths of the name fields of the chart record, the terminating NUL included.
inline constexpr std::size_t kTownWidth = 26;
inline constexpr std::size_t kRegionWidth = 26;

class Place {
 public:
  Place() = default;  // 0 N, 0 E, no names

  int LatitudeDegrees() const { return latDeg_; }
  int LatitudeMinutes() const { return latMin_; }
  char LatitudeLetter() const { return latLetter_; }  // 'N' or 'S'
  int LongitudeDegrees() const { return lonDeg_; }
  int LongitudeMinutes() const { return lonMin_; }
  char LongitudeLetter() const { return lonLetter_; }  // 'E' or 'W'
  const std::string& Town() const { return town_; }
  const std::string& Region() const { return region_; }

  // Latitude degrees 0..90 (90 only with 0 minutes), longitude degrees 0..180 (180 only with 0
  // minutes), minutes 0..59, letters 'N'/'S' and 'E'/'W' (upper or lower case). A bad value leaves
  // the place unchanged and returns message 778. The names are cut to their field widths (25
  // bytes each).
  Status SetPlace(int latDeg, int latMin, char latLetter, int lonDeg, int lonMin, char lonLetter,
                  std::string_view town, std::string_view region);
  void SetNames(std::string_view town, std::string_view region);

  // Signed decimal degrees: north and east positive.
  double LatitudeDeg() const;
  double EastLongitudeDeg() const;

  // The latitude and longitude texts joined by a blank: "55N45 037E37".
  std::string CoordText() const;

  friend bool operator==(const Place&, const Place&) = default;

 private:
  int latDeg_ = 0;
  int latMin_ = 0;
  char latLetter_ = 'N';
  int lonDeg_ = 0;
  int lonMin_ = 0;
  char lonLetter_ = 'E';
  std::string town_;
  std::string region_;
};

// The display form of a coordinate: kind 'N' a longitude "DDDLMM" ("037E37"), any other kind
// ('T') a latitude "DDLMM" ("55N45"), the letter upper-cased.
std::string FormatLatLongByLetter(int degrees, int minutes, char letter, char kind);
// Signed decimal degrees of a coordinate: 'S' and 'W' (either case) make the value negative.
double SignedDegrees(int degrees, int minutes, char letter);
