// One aspect of an aspect system: its angle, its orbs per orb column, its look on the wheel, and
// the tests that take one aspect at a time. Texts are code page 1251.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace platform {
class Dc;
}

// An orb column of an aspect: columns 0..4 belong to the orb classes 1..5 of the chart objects,
// column 5 is the orb of an exact aspect. A type of its own so that an orb class (1..5) is never
// taken for a column.
struct OrbColumn {
  static constexpr int kExact = 5;
  int index = 0;
};

// The column of orb class 1..5 (the character of the configuration minus '0'); classes outside
// 1..5 are taken as the nearest of them.
OrbColumn OrbColumnOfClass(int orbClass);

// Aspect natures (the type byte); every value above 3 counts as "other".
inline constexpr int kAspectHarmonious = 0;
inline constexpr int kAspectTense = 1;
inline constexpr int kAspectCreative = 2;
inline constexpr int kAspectKarmic = 3;
inline constexpr int kAspectOther = 4;

// Display texts of one aspect (code page 1251).
struct AspectTexts {
  std::string abbreviation;         // "%-3s"
  std::string angle;                // "DDD:MM"
  std::array<std::string, 6> orbs;  // "DD:MM", columns 0..5
  std::string typeName;             // in the interface language
  std::string strengthLabel;        // major or minor, in the interface language
};

struct Aspect {
  static constexpr std::size_t kAbbreviationLength = 3;  // characters, without terminator
  static constexpr std::size_t kNameLength = 31;

  double angle = 0.0;            // degrees
  std::array<double, 6> orbs{};  // degrees, by OrbColumn
  std::string abbreviation;      // at most 3 characters
  std::uint16_t color = 1;       // palette number of an aspect within orb
  std::uint16_t exactColor = 1;  // palette number of an exact aspect
  std::uint8_t type = kAspectHarmonious;
  std::uint8_t major = 1;      // 1 major, anything else minor
  std::uint8_t lineStyle = 0;  // 0 solid, 1..3 dashed
  std::uint8_t thickness = 0;  // 1 thick
  std::string name;            // display name, at most 31 characters

  bool IsMajor() const { return major == 1; }
  double Orb(OrbColumn column) const;

  AspectTexts GetTexts() const;
  // Line style and thickness from the line-type table of the configuration: entry
  // 5 x strength (0 major, 1 minor) + type (above 3: "other"), value 10 x thickness + style. An
  // entry outside 0..3 and 10..13 counts as 0 (solid, thin).
  void SetStyleByType(const std::array<std::uint8_t, 10>& lineTypes);
  // The minutes of the angle: its fraction x 60, rounded; the whole degrees are the angle
  // truncated.
  int GetAngleMinutes() const;
  // The display name; the abbreviation when the aspect has no name.
  std::string GetName() const;
  // Draws the aspect's symbol at (x, y) at `size` (tenths of a point): '0' + its aspect index in
  // "VelmAstro5b", or its abbreviation in "Vudurez" when the angle has no index. `colourMode` 2
  // (an exact aspect, as FindAspect reports it) takes the exact colour, any other the orb colour.
  // Returns the palette number used.
  int DrawGlyph(platform::Dc& dc, int x, int y, int size, int colourMode) const;
  // 0 for a conjunction, else -1.
  int TestConjunction() const;
  // 0 for a conjunction or an opposition, else -1.
  int TestConjunctionOrOpposition() const;
  // 0 when the separation of two longitudes is within 1.033 degrees of the angle, else -1 (also
  // when a longitude is absent).
  int TestFixedOrb(double longitudeA, double longitudeB) const;
};

// The aspect index 0..19 of an angle: within 0.01 degrees (0.04 for 51.43) of 0, 180, 90, 120, 60,
// 150, 30, 45, 135, 72, 36, 108, 144, 40, 80, 20, 100, 51.43, 102.86, 154.28; -1 when none. The
// angle is first folded into 0..180, so that 360 counts as 0 and 240 as 120.
int ClassifyAspectAngle(double angleDeg);
int ClassifyAspectAngle(const Aspect& aspect);

// The separation of two longitudes folded into 0..180 degrees.
double AspectSeparation(double longitudeA, double longitudeB);

// The aspect system's own texts 0..7 in the interface language (code page 1251); empty outside.
const std::string& GetAspectMessage(int n);
// The number under which aspect-system message n is shown through the prompt service (outside the
// catalogue's numbers, so that scripted answers can tell them apart).
inline constexpr int AspectMessageNumber(int n) { return -1000 - n; }
// Shows aspect-system message n through the prompt service.
void ShowAspectMessage(int n);

// Aspect-system message numbers.
inline constexpr int kAspMsgBadName = 0;
inline constexpr int kAspMsgBadValue = 1;
inline constexpr int kAspMsgBadPosition = 2;
inline constexpr int kAspMsgTooMany = 3;
inline constexpr int kAspMsgSaved = 4;
inline constexpr int kAspMsgConfirmDelete = 5;
inline constexpr int kAspMsgNothingLeft = 6;
inline constexpr int kAspMsgNameTaken = 7;
