// Colour schemes: named sets of the eleven wheel colours, kept in the text file "Velm.col" of the
// data folder (code page 1251), one scheme a line: the name (one word; blanks of a typed name
// become '_'), then the eleven palette numbers, each as a blank and a decimal number.
//
// The file is read line by line: a line that is not a name and exactly eleven numbers 0..65535 is
// skipped and counted, so a damaged line never shifts the names and numbers of the lines after it.
// Every rewrite goes through the safe rewrite.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"

inline constexpr int kSchemeColourCount = 11;  // the wheel colours 0..10
inline constexpr int kSchemeNameWidth = 29;    // bytes of a name
inline constexpr int kSchemesLoaded = 59;      // the most the colours dialog loads
inline constexpr int kSchemesMerged = 60;      // the most a merge of an older file leaves

struct ColourScheme {
  std::string name;  // cp1251, 1..29 bytes, no blanks
  std::array<std::uint16_t, kSchemeColourCount> colours{};
  bool operator==(const ColourScheme&) const = default;
};

struct SchemeFile {
  std::vector<ColourScheme> schemes;  // in file order, at most the limit asked for
  int skippedLines = 0;               // damaged lines
  std::vector<ColourScheme> beyond;   // the schemes after the limit, kept for rewrites
  bool MoreThanLimit() const { return !beyond.empty(); }
};

// Parses the text of a scheme file, keeping at most `limit` schemes. Blank lines are ignored; a
// name longer than 29 bytes is cut.
SchemeFile ParseSchemes(std::string_view text, int limit);
// The text of a scheme file: every line ends with a newline; no scheme, no text.
std::string SerializeSchemes(const std::vector<ColourScheme>& schemes);

// Reads a scheme file: a missing file gives no schemes and success; one that cannot be read gives
// error 102 or 103 under `trace`.
Status LoadSchemeFile(const std::filesystem::path& path, int limit, SchemeFile& out,
                      std::string_view trace);
// Rewrites the file safely; on failure the old file stays as it was. With `keepOld` (the file was
// read with damaged lines) a copy of the old file is kept beside it first and message 1900 names
// it, so that the skipped lines are not lost.
Status SaveSchemeFile(const std::filesystem::path& path, const std::vector<ColourScheme>& schemes,
                      bool keepOld);

// A typed name made a scheme name: trailing blanks cut, other blanks '_', cut to 29 bytes. Empty
// when nothing is left.
std::string SchemeNameOf(std::string_view typed);
// The first scheme called `name`, ignoring letter case (or exactly), or -1.
int FindScheme(const std::vector<ColourScheme>& schemes, std::string_view name,
               bool caseInsensitive);
// The first scheme whose eleven colours are the first eleven of `colours`, or -1.
int FindSchemeWithColours(const std::vector<ColourScheme>& schemes, const std::uint16_t* colours);

// Merges the schemes of an older scheme file into the file `current`: each older scheme whose name
// (case-sensitive) is not yet there is offered (`askAdd` answers true for Yes); taken ones are
// appended until 60 are in the list (then message 72 and no more); the current schemes are all
// kept. The file `target` is then rewritten with the whole list (`current` and `target` may be
// the same, or `current` the shipped copy). A missing or unreadable older file (error 102 or 103)
// changes nothing. Damaged lines of either file are skipped with message 2111.
Status MergeSchemeFiles(const std::filesystem::path& older, const std::filesystem::path& current,
                        const std::filesystem::path& target,
                        const std::function<bool(const std::string& name)>& askAdd);
