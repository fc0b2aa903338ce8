// The comment pages of an open chart: page k of the chart holding slot s lives in the file
// "Velm%03d%1d.txt" (s, k) of the data folder, raw cp1251 text without terminator, at most 32000
// bytes; a page without text has no file.
#pragma once

#include <filesystem>
#include <string>

#include "archive/comments/comment_slots.h"
#include "astro/chart/chart.h"

// The page file of slot `slot`, page `page` (0..9), in the data folder.
std::filesystem::path CommentFileName(int slot, int page);
// The page file of the chart's slot.
std::filesystem::path CommentFileName(const Chart& chart, int page);

// 1 when the chart holds a slot and page `page`'s file exists (its path given when asked), else 0.
int GetCommentFilePath(const Chart& chart, int page, std::filesystem::path* path = nullptr);
// 1 when any of the ten page files of the chart exists.
int HasCommentPages(const Chart& chart);
// Deletes the ten page files of the chart's slot.
void DeleteCommentFiles(const Chart& chart);
// For a chart that already holds a slot when its document is created: when a page file exists the
// slot is marked taken in `slots`; otherwise message 504 names the chart and the slot becomes 0.
void CheckCommentFiles(Chart& chart, CommentSlotTable& slots);

// Takes a free slot for a chart that begins a comment: the first free slot none of whose page
// files exists (files left by a session that was not restored are neither shown nor overwritten);
// slots passed over stay free. -1 when there is none.
int TakeUnusedCommentSlot(CommentSlotTable& slots);
