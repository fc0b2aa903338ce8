// Helpers shared by the archive's source files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/datetime/super_source.h"

namespace archive_detail {

// The chart kind's aspect system from the configuration.
void ResetAspectSystemName(SuperSource& definition);
// Keeps the definition's aspect system when such a system is loaded, else resets it.
void CheckAspectSystemName(SuperSource& definition);

// Catalogue message n as a Yes/No question: true for Yes.
bool AskYesNo(int n);
bool AskYesNo(int n, const std::string& text);
void Tell(int n);
void Tell(int n, const std::string& text);

// Reads exactly n bytes into `out`; false on a short read.
bool ReadExactly(std::FILE* f, std::size_t n, std::string& out);
bool SeekTo(std::FILE* f, std::int64_t offset);
// The whole file; an empty text for a missing file (`exists` false). False on a read error.
bool ReadFileIfExists(const std::filesystem::path& path, std::string& out, bool& exists);
// The base Source's name of a chart definition.
const std::string& BaseName(const SuperSource& definition);
// The free bytes on the disk of the folder that holds `path`.
std::int64_t FreeSpaceBeside(const std::filesystem::path& path);
// True when two paths name the same file (or, for files not yet there, the same normal path).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace archive_detail
