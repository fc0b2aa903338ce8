// The user's export formats ("velm.exp"): each turns a chart record into one line of text, element
// by element (name, day, month, place, latitude sign, comment text, a separator character ...).
//
// The file has no header: the formats follow one another, each its name (80 bytes), extension (5),
// header flag (int32), header text (80, without terminator when full), real-date flag (int32),
// element count n (int32) and n elements of 80 bytes. Every field is checked when it is read: a
// count or value no format can have stops the loading with error 106, a file cut short with error
// 103, and the formats read before stay. Only the first kMaxFormats formats are taken. A file that
// was not read whole is kept aside (as "velm.exp.bad") when it is next saved.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/messages/message_numbers.h"

class ArchiveTexts;

// Element kinds.
enum ExportElementKind : int {
  kExpName = 0,
  kExpDay = 1,
  kExpMonth = 2,
  kExpYear = 3,
  kExpTitle = 4,
  kExpHours = 5,
  kExpMinutes = 6,
  kExpSeconds = 7,
  kExpZoneHours = 8,
  kExpZoneMinutes = 9,
  kExpZoneSeconds = 10,
  kExpZoneName = 11,
  kExpZoneSign = 12,
  kExpTown = 13,
  kExpLatDegrees = 14,
  kExpLatMinutes = 15,
  kExpLatSign = 16,
  kExpLonDegrees = 17,
  kExpLonMinutes = 18,
  kExpLonSign = 19,
  kExpEra = 20,
  kExpComment = 21,
  kExpSeparator = 22,
};
inline constexpr int kExportKindCount = 23;

// One element of a format, 80 bytes on file. Characters are code page 1251 (or 866) codes 0..255.
struct ExportElement {
  static constexpr std::size_t kSize = 80;
  static constexpr std::size_t kEraWidth = 10;  // at most 9 characters and a NUL
  static constexpr int kMaxWidth = 300;
  static constexpr int kMaxCommentLength = 32000;

  std::int16_t kind = kExpName;
  std::int32_t pad = 0;        // 1: pad the text to `width`
  std::uint16_t fill = ' ';    // fill character code
  std::uint16_t width = 1;     // 0..300
  std::uint16_t fillSide = 0;  // 0 fill on the left (text aligned right), 1 on the right
  std::uint16_t codePage = 0;  // 0 Windows (1251), 1 DOS (866)
  std::uint16_t plus = '+';    // for a '+' zone, a northern latitude, an eastern longitude
  std::uint16_t minus = '-';   // otherwise
  std::string eraAd, eraBc;    // at most 9 characters each
  std::uint16_t separator = ';';
  std::int32_t lineBreaks = 1;  // 1: CR and LF of a comment become blanks
  std::uint16_t commentPage = 0;
  std::uint16_t maxCommentLength = 1;  // 1..32000
  std::uint16_t underscore = 0;        // 1: blanks of the text become '_'

  void Write(BinaryWriter& out) const;
  // Reads 80 bytes; false when a field holds a value no element can have (`in` then still Ok()).
  bool Read(BinaryReader& in);
  friend bool operator==(const ExportElement&, const ExportElement&) = default;
};

// Texts that can be padded to a width, converted to code page 866 and have their blanks made '_'
// (the options the format editor offers for each kind).
bool ExportKindPads(int kind);
bool ExportKindIsText(int kind);

struct ExportFormat {
  static constexpr std::size_t kNameWidth = 80;      // at most 79 characters
  static constexpr std::size_t kExtensionWidth = 5;  // 1..3 characters
  static constexpr std::size_t kMaxExtension = 3;
  static constexpr std::size_t kHeaderWidth = 80;  // up to 80, no terminator when full
  static constexpr int kMaxElements = 200;

  std::string name;
  std::string extension;
  std::int32_t headerFlag = 0;  // 1: the export file begins with the header line
  std::string header;
  std::int32_t realDate = 0;  // 1: progressed charts export the chart's real date
  std::vector<ExportElement> elements;

  friend bool operator==(const ExportFormat&, const ExportFormat&) = default;
};

class AllExpFormats {
 public:
  static constexpr int kMaxFormats = 100;

  // "velm.exp" of the data folder (or `file`): 0; -1 when it cannot be opened (zero formats, no
  // message) or after a report of a damaged file (the formats read before it stay). More than
  // kMaxFormats formats: the first ones are kept and message 2040 says so.
  int Load();
  int Load(const std::filesystem::path& file);
  // Writes every format through a safe rewrite (the old file kept aside when it was not read
  // whole): 0, or -1 after error 105 / 104 (the old file untouched).
  int Save();
  int Save(const std::filesystem::path& file);

  int Count() const { return static_cast<int>(formats_.size()); }
  ExportFormat& Format(int f) { return formats_[static_cast<std::size_t>(f)]; }
  const ExportFormat& Format(int f) const { return formats_[static_cast<std::size_t>(f)]; }
  // Appends a format: its index, or -1 when kMaxFormats are in use.
  int Append(ExportFormat format);
  // The element array of format f replaced by n new elements.
  void ReAlloc(int f, int n);
  // Removes format f; the later ones move down.
  void Delete(int f);
  // The index of the format named `name` (trailing blanks cut, letter case ignored); -1 none.
  int Find(const std::string& name) const;

  // The line of `chart` in format f appended to nothing: `out` receives it; the result is its
  // length, or -1 (and `out` empty) for no such format. `record` is the chart's number in the
  // archive whose texts `comments` reads under its lock (the comment elements read its pages;
  // without them they write nothing).
  int Convert(int f, const Chart& chart, std::string& out, int record,
              const ArchiveTexts* comments) const;

  // False after a load that stopped early or left formats out.
  bool LoadedWhole() const { return whole_; }

 private:
  std::vector<ExportFormat> formats_;
  bool whole_ = true;
  std::filesystem::path loadedFrom_;
};

// One element of a chart's line in `format` (the Source chosen by the real-date rule).
std::string RenderExportElement(const ExportElement& element, const ExportFormat& format,
                                const Chart& chart, int record, const ArchiveTexts* comments);
// Puts width - length fill characters on the element's side (nothing with the pad flag off, a
// text at or over the width, or fill code 0).
void PadExportText(const ExportElement& element, std::string& text);
// Blanks before the last character that is not a blank become '_'.
void UnderscoreBlanks(std::string& text);

// The refusals of an export: each '.' until a chart of its kind was refused, then '+'.
struct ExportRefusals {
  char composite = '.';
  char localSpace = '.';
  char thematic = '.';
};
// 0 when the chart may be exported; -1 for a composite, Local Space or symbolic thematic chart,
// whose kind is noted in `refusals`.
int CheckExportable(const Chart& chart, ExportRefusals& refusals);
// The refusal of each kind noted, one message a kind.
void TellExportRefusals(const ExportRefusals& refusals);
// The export file of `path` in `format`: the format's extension added unless the name already
// ends in it (letter case aside).
std::string ExportFileName(const std::string& path, const ExportFormat& format);

// The separator choices of the element editor: entry i (0..9) is message 717 + i with code
// kExportSeparatorCodes[i]; entry 10 ("...другой символ...") any other code.
inline constexpr int kExportOtherSeparatorEntry = 10;
inline constexpr std::array<int, 10> kExportSeparatorCodes = {32,  46, 44, 58, 59,
                                                              124, 13, 10, 0,  1};
// The entry of a separator code: 0..9, or 10 for another code.
int ExportSeparatorEntry(int code);

// The line of an element in the format editor's list (code page 1251); `pageNames` are the ten
// comment page names.
std::string DescribeExportElement(const ExportElement& element,
                                  const std::array<std::string, 10>& pageNames);
