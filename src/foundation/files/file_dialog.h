// The open and save-as dialogs, over the prompt service.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/prompter.h"

// The width of the path fields of the program's records and dialogs: at most 259 bytes and a NUL.
inline constexpr std::size_t kPathWidth = 260;

// A filter list as NUL-separated pairs "description\0pattern\0...", ended by an empty description
// or by the end of the text. A pattern written in brackets, "(*.txt)", is taken without them.
std::vector<platform::FileFilter> ParseFilterList(std::string_view pairs);

// The common open (open 1) or save-as (open 0) dialog. `path` holds the proposed path and receives
// the chosen one; `mustExist` applies to open. Non-zero when the user chose a file. A chosen path
// of `width` bytes or more (it would not fit the caller's field with its NUL) is refused with a
// message and the dialog counts as cancelled; `path` is then unchanged.
// True when `path` fits a path field of `width` bytes with its NUL; otherwise the user is told
// that the path is too long (the path and the limit named) and false is returned. A path is never
// stored cut: a cut path names another file.
bool PathFitsOrTell(std::string_view path, std::size_t width = kPathWidth);

int FileDialog(std::string& path, int open, std::string_view filterPairs, int mustExist,
               std::size_t width = kPathWidth);
// The same, also giving the number of the chosen filter (1 for the first) in `filterIndex`.
int FileDialogEx(std::string& path, int open, std::string_view filterPairs, int mustExist,
                 int& filterIndex, std::size_t width = kPathWidth);
int FileDialogEx(std::string& path, int open, const std::vector<platform::FileFilter>& filters,
                 int mustExist, int& filterIndex, std::size_t width = kPathWidth);
