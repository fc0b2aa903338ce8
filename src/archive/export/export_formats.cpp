#include "archive/export/export_formats.h"

#include <algorithm>
#include <system_error>

#include "archive/comments/archive_comments.h"
#include "foundation/atlas/town_search.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/code_page_866.h"
#include "foundation/text/collation.h"
#include "foundation/text/cp1251.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr char kLoadTrace[] = "AllExpFormats::Load";
constexpr char kSaveTrace[] = "AllExpFormats::Save";

bool IsByte(int v) { return v >= 0 && v <= 255; }
bool IsFlag(std::int32_t v) { return v == 0 || v == 1; }

// A text field of `width` bytes: up to its first NUL, at most `max` bytes.
std::string TextOf(BinaryReader& in, std::size_t width, std::size_t max) {
  std::string text(in.Bytes(width));
  text.resize(std::min({text.find('\0'), text.size(), max}));
  return text;
}

std::string NameKey(std::string name) {
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

// The Source whose values a line carries: the real date (third Source) of a progressed chart when
// the format asks for it, else the base Source.
const Source& ExportedSource(const ExportFormat& format, const Chart& chart) {
  const SuperSource& d = chart.definition;
  if (d.Kind() == kChartProgressed && format.realDate == 1) return d.sources[2];
  const Source* base = d.GetBaseSource();
  return base != nullptr ? *base : d.sources[0];
}

std::string CharText(int code) { return code == 0 ? std::string() : std::string(1, char(code)); }

}  // namespace

// --- Elements ---

bool ExportKindPads(int kind) {
  switch (kind) {
    case kExpZoneName:
    case kExpZoneSign:
    case kExpLatSign:
    case kExpLonSign:
    case kExpEra:
    case kExpSeparator:
      return false;
    default:
      return kind >= 0 && kind < kExportKindCount;
  }
}

bool ExportKindIsText(int kind) {
  return kind == kExpName || kind == kExpTitle || kind == kExpTown || kind == kExpEra ||
         kind == kExpComment;
}

void ExportElement::Write(BinaryWriter& out) const {
  out.I16(kind);
  out.Zeros(2);
  out.I32(pad);
  out.U16(fill);
  out.U16(width);
  out.U16(fillSide);
  out.U16(codePage);
  out.U16(plus);
  out.U16(minus);
  out.FixedText(eraAd, kEraWidth);
  out.FixedText(eraBc, kEraWidth);
  out.U16(separator);
  out.Zeros(2);
  out.I32(lineBreaks);
  out.U16(commentPage);
  out.U16(maxCommentLength);
  out.U16(underscore);
  out.Zeros(26);
}

bool ExportElement::Read(BinaryReader& in) {
  kind = in.I16();
  in.Skip(2);
  pad = in.I32();
  fill = in.U16();
  width = in.U16();
  fillSide = in.U16();
  codePage = in.U16();
  plus = in.U16();
  minus = in.U16();
  eraAd = TextOf(in, kEraWidth, kEraWidth - 1);
  eraBc = TextOf(in, kEraWidth, kEraWidth - 1);
  separator = in.U16();
  in.Skip(2);
  lineBreaks = in.I32();
  commentPage = in.U16();
  maxCommentLength = in.U16();
  underscore = in.U16();
  in.Skip(26);
  return kind >= 0 && kind < kExportKindCount && IsFlag(pad) && IsByte(fill) &&
         width <= kMaxWidth && fillSide <= 1 && codePage <= 1 && IsByte(plus) && IsByte(minus) &&
         IsByte(separator) && IsFlag(lineBreaks) && commentPage <= 9 && maxCommentLength >= 1 &&
         maxCommentLength <= kMaxCommentLength && underscore <= 1;
}

// --- The file ---

int AllExpFormats::Load() { return Load(GetSettings().GetPath(kDataExportFormats)); }

int AllExpFormats::Load(const fs::path& file) {
  formats_.clear();
  whole_ = true;
  loadedFrom_ = file;
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) {
    if (st.ErrorCode() != kErrCannotOpen) {
      ReportError(st.ErrorCode(), kLoadTrace, 0);
      whole_ = false;
    }
    return -1;
  }
  BinaryReader in(bytes);
  // A fault of format i at field position p: reported with detail 100 i + p, loading stops.
  auto fail = [this](int code, int i, int position) {
    ReportError(code, kLoadTrace, 100 * i + position);
    whole_ = false;
    return -1;
  };
  for (int i = 0; in.Remaining() > 0; ++i) {
    if (i == kMaxFormats) {
      whole_ = false;
      ShowMessage(kMsgTooManyFormatsInFile);
      return 0;
    }
    if (in.Remaining() < ExportFormat::kNameWidth) return fail(kErrRead, i, 0);
    ExportFormat f;
    f.name = TextOf(in, ExportFormat::kNameWidth, ExportFormat::kNameWidth - 1);
    f.extension = TextOf(in, ExportFormat::kExtensionWidth, ExportFormat::kMaxExtension);
    if (!in.Ok()) return fail(kErrRead, i, 0);
    f.headerFlag = in.I32();
    f.header = TextOf(in, ExportFormat::kHeaderWidth, ExportFormat::kHeaderWidth);
    if (!in.Ok()) return fail(kErrRead, i, 3);
    f.realDate = in.I32();
    if (!in.Ok()) return fail(kErrRead, i, 2);
    const std::int32_t count = in.I32();
    if (!in.Ok()) return fail(kErrRead, i, 1);
    if (f.extension.empty()) return fail(kErrFormat, i, 0);
    if (!IsFlag(f.headerFlag) || !IsFlag(f.realDate)) return fail(kErrFormat, i, 2);
    if (count < 1 || count > ExportFormat::kMaxElements) return fail(kErrFormat, i, 1);
    // The elements are there before any is allocated: a huge count costs nothing.
    if (in.Remaining() < ExportElement::kSize * static_cast<std::size_t>(count))
      return fail(kErrRead, i, 2 + static_cast<int>(in.Remaining() / ExportElement::kSize));
    f.elements.resize(static_cast<std::size_t>(count));
    for (int j = 0; j < count; ++j)
      if (!f.elements[static_cast<std::size_t>(j)].Read(in)) return fail(kErrFormat, i, 2 + j);
    formats_.push_back(std::move(f));
  }
  return 0;
}

int AllExpFormats::Save() { return Save(GetSettings().GetPath(kDataExportFormats)); }

int AllExpFormats::Save(const fs::path& file) {
  BinaryWriter out;
  for (const ExportFormat& f : formats_) {
    out.FixedText(f.name, ExportFormat::kNameWidth);
    out.FixedText(f.extension, ExportFormat::kExtensionWidth);
    out.I32(f.headerFlag);
    out.FixedText(f.header, ExportFormat::kHeaderWidth, false);
    out.I32(f.realDate);
    out.I32(static_cast<std::int32_t>(f.elements.size()));
    for (const ExportElement& e : f.elements) e.Write(out);
  }
  // What a damaged or too long file held beyond the formats read is kept beside it.
  std::error_code ec;
  const bool keepOld = !whole_ && file == loadedFrom_ && fs::exists(file, ec);
  fs::path kept;
  const Status st =
      keepOld ? RewriteKeepingOld(file, out.Data(), kept) : RewriteFile(file, out.Data());
  if (!st.ok()) {
    ReportError(st.ErrorCode(), kSaveTrace, 0);
    return -1;
  }
  if (keepOld) {
    platform::GetPrompter().ShowMessage(
        kMsgUnreadLinesKept, GetMessageText(kMsgUnreadLinesKept) + " " + PathText(kept.native()),
        platform::Icon::Information);
    whole_ = true;
  }
  return 0;
}

int AllExpFormats::Append(ExportFormat format) {
  if (Count() >= kMaxFormats) return -1;
  formats_.push_back(std::move(format));
  return Count() - 1;
}

void AllExpFormats::ReAlloc(int f, int n) {
  Format(f).elements.assign(static_cast<std::size_t>(std::max(n, 0)), ExportElement());
}

void AllExpFormats::Delete(int f) {
  if (f < 0 || f >= Count()) return;
  formats_.erase(formats_.begin() + f);
}

int AllExpFormats::Find(const std::string& name) const {
  const std::string key = NameKey(name);
  for (int f = 0; f < Count(); ++f)
    if (CompareStrings(NameKey(Format(f).name), key, ExportFormat::kNameWidth, true,
                       Collation::kLatinFirst) == kCompareEqual)
      return f;
  return -1;
}

// --- Conversion ---

void PadExportText(const ExportElement& e, std::string& text) {
  if (e.pad != 1 || e.fill == 0 || text.size() >= e.width) return;
  const std::string fill(e.width - text.size(), static_cast<char>(e.fill));
  text = e.fillSide == 0 ? fill + text : text + fill;
}

void UnderscoreBlanks(std::string& text) {
  const std::size_t last = text.find_last_not_of(' ');
  if (last == std::string::npos) return;
  std::replace(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(last), ' ', '_');
}

std::string RenderExportElement(const ExportElement& e, const ExportFormat& format,
                                const Chart& chart, int record, const ArchiveTexts* comments) {
  const Source& s = ExportedSource(format, chart);
  const FDate& date = s.moment.date;
  const FTime& time = s.moment.time;
  const Place& place = s.place;
  std::string text;
  switch (e.kind) {
    case kExpName:
      text = s.Name();
      break;
    case kExpDay:
      text = std::to_string(date.Day());
      break;
    case kExpMonth:
      text = std::to_string(date.Month());
      break;
    case kExpYear:
      text = std::to_string(date.Year());
      break;
    case kExpTitle:
      text = chart.definition.Title();
      break;
    case kExpHours:
      text = std::to_string(time.Hours());
      break;
    case kExpMinutes:
      text = std::to_string(time.Minutes());
      break;
    case kExpSeconds:
      text = std::to_string(time.Seconds());
      break;
    case kExpZoneHours:
      text = std::to_string(s.zone.Hours());
      break;
    case kExpZoneMinutes:
      text = std::to_string(s.zone.Minutes());
      break;
    case kExpZoneSeconds:
      text = std::to_string(s.zone.Seconds());
      break;
    case kExpZoneName: {
      // The tz database's name where it is known to be right, else the correction itself.
      std::string name = TownZoneAbbreviation(GetTowns(), s);
      return name.empty() ? "GMT" + s.zone.FullText() : name;
    }
    case kExpZoneSign:
      return CharText(s.zone.Sign() == '+' ? e.plus : e.minus);
    case kExpTown:
      text = place.Town();
      break;
    case kExpLatDegrees:
      text = std::to_string(place.LatitudeDegrees());
      break;
    case kExpLatMinutes:
      text = std::to_string(place.LatitudeMinutes());
      break;
    case kExpLatSign:
      return CharText(place.LatitudeLetter() == 'N' ? e.plus : e.minus);
    case kExpLonDegrees:
      text = std::to_string(place.LongitudeDegrees());
      break;
    case kExpLonMinutes:
      text = std::to_string(place.LongitudeMinutes());
      break;
    case kExpLonSign:
      return CharText(place.LongitudeLetter() == 'E' ? e.plus : e.minus);
    case kExpEra:
      text = date.Era() == 'A' ? e.eraAd : e.eraBc;
      break;
    case kExpComment:
      if (comments == nullptr || comments->Read(record, e.commentPage, text) != 0) return {};
      if (e.maxCommentLength < ExportElement::kMaxCommentLength)
        text.resize(std::min<std::size_t>(text.size(), e.maxCommentLength));
      if (e.lineBreaks == 1)
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
      break;
    case kExpSeparator:
      return CharText(e.separator);
    default:
      return {};
  }
  if (ExportKindPads(e.kind)) PadExportText(e, text);
  if (ExportKindIsText(e.kind)) {
    if (e.codePage == 1) ConvertString1251To866(text);
    if (e.underscore == 1) UnderscoreBlanks(text);
  }
  return text;
}

int AllExpFormats::Convert(int f, const Chart& chart, std::string& out, int record,
                           const ArchiveTexts* comments) const {
  out.clear();
  if (f < 0 || f >= Count()) return -1;
  const ExportFormat& format = Format(f);
  for (const ExportElement& e : format.elements)
    out += RenderExportElement(e, format, chart, record, comments);
  return static_cast<int>(out.size());
}

// --- The editor's description of an element ---

int ExportSeparatorEntry(int code) {
  for (std::size_t i = 0; i < kExportSeparatorCodes.size(); ++i)
    if (kExportSeparatorCodes[i] == code) return static_cast<int>(i);
  return kExportOtherSeparatorEntry;
}

std::string DescribeExportElement(const ExportElement& e,
                                  const std::array<std::string, 10>& pageNames) {
  const std::string label = e.kind >= 0 && e.kind < kExportKindCount
                                ? GetMessageText(kMsgExportKindLabel + e.kind)
                                : std::string();
  const auto text = [](int n) { return GetMessageText(n); };
  switch (e.kind) {
    case kExpZoneName:
      return label;
    case kExpZoneSign:
    case kExpLatSign:
    case kExpLonSign:
      return label + " (" + char(e.plus) + "/" + char(e.minus) + ")";
    case kExpSeparator: {
      const int entry = ExportSeparatorEntry(e.separator);
      if (entry != kExportOtherSeparatorEntry)
        return label + " (" + text(kMsgExportSeparatorEntry + entry) + ")";
      return label + " '" + char(e.separator) + "'";
    }
    default:
      break;
  }
  std::string width = e.pad == 1
                          ? "(" + text(kMsgExportPadWith) + " '" + char(e.fill) + "' " +
                                text(e.fillSide == 0 ? kMsgExportPadLeft : kMsgExportPadRight) +
                                " " + text(kMsgExportPadTo) + " " + std::to_string(e.width) + ")"
                          : "(" + text(kMsgExportNoPad) + ")";
  std::string line =
      e.kind == kExpComment
          ? label + ":" + pageNames[std::min<std::size_t>(e.commentPage, 9)] + " " + width
          : label + " " + width;
  if (!ExportKindIsText(e.kind)) return line;
  line.pop_back();
  line += text(e.codePage == 1 ? kMsgExportDos : kMsgExportWindows);
  if (e.underscore == 1) line += ";" + text(kMsgExportUnderscores);
  if (e.kind == kExpEra) line += ";" + e.eraAd + "/" + e.eraBc;
  if (e.kind == kExpComment)
    line += ";" + text(e.lineBreaks == 1 ? kMsgExportNoBreaks : kMsgExportBreaks);
  return line + ")";
}
