#include "foundation/datetime/place.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "foundation/messages/message_numbers.h"

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool CoordinateOk(int degrees, int minutes, int maxDegrees) {
  if (degrees < 0 || degrees > maxDegrees || minutes < 0 || minutes > 59) return false;
  return degrees < maxDegrees || minutes == 0;
}

std::string Cut(std::string_view text, std::size_t width) {
  return std::string(text.substr(0, std::min(text.size(), width - 1)));
}

}  // namespace

Status Place::SetPlace(int latDeg, int latMin, char latLetter, int lonDeg, int lonMin,
                       char lonLetter, std::string_view town, std::string_view region) {
  latLetter = Upper(latLetter);
  lonLetter = Upper(lonLetter);
  if (!CoordinateOk(latDeg, latMin, 90) || (latLetter != 'N' && latLetter != 'S') ||
      !CoordinateOk(lonDeg, lonMin, 180) || (lonLetter != 'E' && lonLetter != 'W')) {
    return Status::Message(kMsgBadCoordinate, "Place::SetPlace");
  }
  latDeg_ = latDeg;
  latMin_ = latMin;
  latLetter_ = latLetter;
  lonDeg_ = lonDeg;
  lonMin_ = lonMin;
  lonLetter_ = lonLetter;
  SetNames(town, region);
  return Status::Ok();
}

void Place::SetNames(std::string_view town, std::string_view region) {
  town_ = Cut(town, kTownWidth);
  region_ = Cut(region, kRegionWidth);
}

double Place::LatitudeDeg() const { return SignedDegrees(latDeg_, latMin_, latLetter_); }
double Place::EastLongitudeDeg() const { return SignedDegrees(lonDeg_, lonMin_, lonLetter_); }

std::string Place::CoordText() const {
  return FormatLatLongByLetter(latDeg_, latMin_, latLetter_, 'T') + ' ' +
         FormatLatLongByLetter(lonDeg_, lonMin_, lonLetter_, 'N');
}

std::string FormatLatLongByLetter(int degrees, int minutes, char letter, char kind) {
  char text[48];
  std::snprintf(text, sizeof text, kind == 'N' ? "%03d%c%02d" : "%02d%c%02d", degrees,
                Upper(letter), minutes);
  return text;
}

double SignedDegrees(int degrees, int minutes, char letter) {
  const double value = degrees + minutes / 60.0;
  const char l = Upper(letter);
  return (l == 'S' || l == 'W') ? -value : value;
}
