// Scrolling and keyboard movement of the hand-made lists (Bindhu table, Sabian list, paran table,
// town list, fixed stars, transit and rectification tables). A list has `lineCount` lines, of
// which `pageSize` are on show starting at the first visible line; one line is selected.
//
// The first visible line stays within 0..max(0, lineCount - pageSize), so the last page is always
// full when the list is long enough; the selection stays within 0..lineCount - 1 and on the page.
// A page size below 1 counts as 1.
#pragma once

#include <optional>

// Scroll codes of the vertical scroll bar.
inline constexpr int kScrollLineUp = 0;
inline constexpr int kScrollLineDown = 1;
inline constexpr int kScrollPageUp = 2;
inline constexpr int kScrollPageDown = 3;
inline constexpr int kScrollThumbPosition = 4;  // the thumb was released at `position`
inline constexpr int kScrollThumbTrack = 5;     // the thumb is being dragged at `position`
inline constexpr int kScrollTop = 6;
inline constexpr int kScrollBottom = 7;

// Virtual key codes of the list keys.
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;  // ignored
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;  // ignored
inline constexpr int kKeyDown = 40;

// Results of NavigateListByKey.
inline constexpr int kListUnchanged = 0;
inline constexpr int kListSelectionMoved = 1;  // only the selection moved: repaint two lines
inline constexpr int kListScrolled = 2;        // the first line moved: repaint the page

// The first visible line a scroll code aims at from `first`, before it is brought into
// 0..maxFirst: a line or a page (of at least one line) up or down, the thumb `position`, the top
// (0) or the bottom (maxFirst). Nothing for an unknown code.
std::optional<long long> ScrollCodeTarget(int code, int position, long long first, long long page,
                                          long long maxFirst);

// What changed between two states of a list: kListScrolled when the first line moved, else
// kListSelectionMoved when the selection moved, else kListUnchanged.
int ListChangeOf(int oldFirst, int oldSelection, int newFirst, int newSelection);

// Applies a scroll code to the first visible line and returns the new first line; the selection
// is moved onto the new page when it left it. `position` is the thumb position (codes 4 and 5).
// An unknown code changes nothing.
int ApplyScrollCode(int code, int position, int first, int& selection, int pageSize, int lineCount);

// Moves the selection and the first line by a key: Page Up and Page Down move both by a page,
// Home and End go to the first and the last line, Up and Down move the selection by one line and
// scroll when it leaves the page; Left, Right and other keys change nothing. The new first line
// and selection go to the out parameters (also when nothing changed); the result tells what
// changed (kListUnchanged, kListSelectionMoved, kListScrolled).
int NavigateListByKey(int key, int first, int selection, int& newFirst, int& newSelection,
                      int linesPerPage, int lineCount);
