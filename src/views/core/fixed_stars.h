// The fixed-star catalogue ("Velm.est", with the star texts of "Velm.int"), the places of its
// stars for a moment, their orbs and the aspects of a star to a chart's points and cusps.
//
// "Velm.est" holds records of 127 bytes, no header: number (u16), a first text group of 20, 20
// and 10 bytes (name, constellation, designation in Latin), a second group of 21, 20 and 10 bytes
// (the same in Russian, code page 866), the spectral code (3), the magnitude text (5, "VAR" for a
// variable star), the annual proper motion in right ascension (float, seconds of time) and in
// declination (float, seconds of arc), and the right ascension (float, hours) and declination
// (float, degrees) referred to the equinox of 1 January 1950. The six texts are stored
// scrambled, each NUL-terminated inside its field. After the whole records the file may hold the
// space motions of its fastest stars, fewer bytes than a record (so that a reader counting
// records passes over them): entries of 10 bytes (number u16, parallax float in seconds of arc,
// radial velocity float in km/s, both of 1 January 1950), then "VSPM" and their count (u16).
// "Velm.int" is one scrambled text (code page 1251) in which "*NNN" and one more character
// introduce the text of star NNN.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;
class StarPlaceFrame;

inline constexpr int kStarsListHelpContext = 131330;
inline constexpr int kStarTextHelpContext = 131226;

struct StarRecord {
  std::uint16_t number = 0;
  std::string text1, text2, text3;  // name, constellation, designation (code page 1251)
  std::string magnitude;            // at most 4 characters
  std::string code;                 // at most 2 characters
  float rightAscension1950 = 0.0f;  // hours
  float declination1950 = 0.0f;     // degrees
  float properMotionRa = 0.0f;      // seconds of time a year
  float properMotionDec = 0.0f;     // seconds of arc a year
  // Of the space motion, when the catalogue gives it (else 0): the star is then carried along its
  // line in space (StarSpaceMotion) rather than linearly in right ascension and declination.
  float parallax = 0.0f;        // seconds of arc
  float radialVelocity = 0.0f;  // km/s, positive receding
};

// The scrambling keys of the two files: text field byte p (p < 21) is stored less kTextKey[p],
// byte p of "Velm.int" less kInterpretationKey[p mod 10] (8-bit wrap-around).
std::array<std::uint8_t, 21> StarTextKey();
std::array<std::uint8_t, 10> StarInterpretationKey();
// In place, up to the field's first NUL and at most 21 bytes.
void UnscrambleStarField(char* field, std::size_t size);
void ScrambleStarField(char* field, std::size_t size);
void UnscrambleInterpretations(std::string& bytes);
void ScrambleInterpretations(std::string& bytes);

class AllStars {
 public:
  static constexpr int kMaxStars = 300;
  static constexpr std::size_t kRecordSize = 127;
  // The space motions after the records: at most 12 entries, so they stay shorter than a record.
  static constexpr std::size_t kSpaceMotionSize = 10, kMaxSpaceMotions = 12;
  static constexpr std::string_view kSpaceMotionMark = "VSPM";
  // Star numbers that an interpretation marker "*%03d" can name.
  static constexpr int kFirstMarkedNumber = 1, kLastMarkedNumber = 999;

  // Reads the interpretations (`interpretations`) and then the catalogue (`catalogue`), with the
  // texts of the language `language` (1 the Russian group, any other the Latin one). A file that
  // cannot be opened gives error 102, one that cannot be read 103; without texts the stars have
  // none, without the catalogue there are no stars. The catalogue's failure is returned before
  // the texts'.
  Status LoadStars(const std::filesystem::path& catalogue,
                   const std::filesystem::path& interpretations, int language);
  // The whole text of the interpretations, unscrambled; error 102 or 103 when the file cannot be
  // opened or read. An empty file gives no texts.
  Status LoadInterpretations(const std::filesystem::path& file);
  void SetInterpretations(std::string scrambled);
  // The stars of whole records of `bytes`, at most 300; a record beyond them is not read. The
  // space motions after them are given to the stars of their numbers; an entry with a parallax
  // outside (0, 1] or a radial velocity beyond 1000 km/s, or one that is not a number, is passed
  // over.
  void DecodeCatalogue(std::string_view bytes, int language);

  // Where the text of star `number` begins: five characters after its marker, never beyond the
  // end; nothing when the marker does not occur or the number is outside 1..999.
  std::optional<std::size_t> FindInterpretation(int number) const;

  int Count() const { return static_cast<int>(stars_.size()); }
  const StarRecord& Star(int index) const { return stars_[static_cast<std::size_t>(index)]; }
  // The catalogue index of the star whose Latin or Russian name (code page 1251) is `name`,
  // without regard to case; -1 when there is none.
  int FindByName(std::string_view name) const;
  bool HasInterpretation(int index) const;
  // The star's text up to the next marker (empty without one).
  std::string_view Interpretation(int index) const;
  // "%s (%s %s %s %s)": name, designation, constellation, magnitude, code.
  std::string GetStarLabel(int index) const;
  void Free();

 private:
  void ReadSpaceMotions(std::string_view bytes);
  struct Entry : StarRecord {
    std::string latinName;
    std::optional<std::size_t> text;
  };
  std::vector<Entry> stars_;
  std::string interpretations_;  // unscrambled
};

// The star's apparent place of date.
struct StarPosition {
  double longitude = 0.0, latitude = 0.0;          // ecliptic; longitude [0, 360)
  double rightAscension = 0.0, declination = 0.0;  // degrees; right ascension [0, 360)
};
// The moment of a star computation: the frame of the catalogue's equinox for the moment and the
// years of proper motion since 1 January 1950.
struct StarMoment {
  explicit StarMoment(double jdUt);
  ~StarMoment();
  StarMoment(const StarMoment&) = delete;
  StarMoment& operator=(const StarMoment&) = delete;
  const StarPlaceFrame& Frame() const { return *frame_; }
  double years = 0.0;

 private:
  StarPlaceFrame* frame_;
};
// The star's place at the moment: its 1950 place moved by its proper motion over the years since
// 1950 (along its line in space when its parallax is known, else linearly), then brought to the
// moment by rigorous precession, nutation and aberration. A place that is not a number gives -777.0
// for every coordinate.
StarPosition CalcStarPosition(const StarRecord& star, const StarMoment& moment);

// The twelve words of the star-aspect settings.
struct StarAspectChoice {
  int kind = 0;                  // 0 ecliptic, 1 mundane
  std::array<int, 5> orbs{};     // arc-minutes: below 2, 2..3, 3..4, 4 and fainter, variable
  std::array<int, 5> aspects{};  // conjunction, opposition, square, trine, sextile (0/1)
  int showDialog = 0;
  static StarAspectChoice Read(const Configuration& config);
  void Write(Configuration& config) const;
  friend bool operator==(const StarAspectChoice&, const StarAspectChoice&) = default;
};
// The angles of the five star aspects; the position is also the aspect's index in the glyph face.
inline constexpr std::array<double, 5> kStarAspectAngles{0.0, 180.0, 90.0, 120.0, 60.0};

// The orb (arc-minutes) of a star of magnitude text `magnitude`: "VAR" the variable star's;
// otherwise the text read as a decimal number (0 when it is none) chooses by class.
int GetStarOrb(const StarAspectChoice& choice, std::string_view magnitude);
// 65535 when the star and the point are within `orb` (arc-minutes, the deviation strictly below
// it) of the aspect angle, else 0; `deviation` gets the distance from exactness in whole
// arc-minutes. Kind 0 compares the longitudes, kind 1 the angular distance of the two places. An
// absent place (-777.0) is never in aspect.
int TestStarAspect(int kind, double starLon, double starLat, double pointLon, double pointLat,
                   double aspectAngle, int orb, int& deviation);

struct StarHit {
  std::int16_t star = 0;    // catalogue index
  std::int16_t object = 0;  // chart point, or 1000 + cusp
  std::int16_t aspect = 0;  // 0..4 as kStarAspectAngles
  std::int16_t deviation = 0;
  StarPosition place;
};

// The hits of the star list and their drawing.
class CStarsListBox {
 public:
  static constexpr int kMaxHits = 1000;
  // Objects 0..33 are the chart's points (those whose display flag is not 'N'), 34..45 its cusps;
  // the mundane kind takes points 0..29 only.
  void SelectStars(const AllStars& stars, const Chart& chart, const StarAspectChoice& choice,
                   const Configuration& config);
  const std::vector<StarHit>& Hits() const { return hits_; }
  int Count() const { return static_cast<int>(hits_.size()); }
  // The hit whose star has the widest label at `fontSize`; -1 without hits.
  int WidestLabel(platform::Dc& dc, const AllStars& stars, int fontSize) const;

  // Where a row's columns begin, from its left edge, at a font size.
  struct Columns {
    int fontSize = 0, rowHeight = 1;
    int aspect = 0, object = 0, deviation = 0, longitude = 0, latitude = 0, rightAscension = 0,
        declination = 0, width = 0;
  };
  Columns Measure(platform::Dc& dc, const AllStars& stars, int fontSize) const;
  // The largest size (steps of 1000, then 100) at which the row fits `width`; at least 100.
  int FitFontSize(platform::Dc& dc, const AllStars& stars, int width, int startSize) const;
  // Row `row` with its top-left corner at `at`: on the screen (`colour`) in palette colour 4 when
  // the star has a text, else black.
  void DrawRow(platform::Dc& dc, const AllStars& stars, const Columns& c, int row,
               platform::Point at, bool colour) const;
  // The column titles above the first row of a printed page.
  static void DrawColumnTitles(platform::Dc& dc, const Columns& c, platform::Point at);

 private:
  std::vector<StarHit> hits_;
};
