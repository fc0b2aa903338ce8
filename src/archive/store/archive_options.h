// The settings of the archive object that the dialogs and commands read and set, and the header
// of the last query's results that the conditions part hands to the browser.
#pragma once

#include <string>
#include <vector>

struct ArchiveOptions {
  int targetChosen = 1;     // 0 after the first saving
  int saveTargetMode = -1;  // 0 current archive, 1 ask once, other: ask every time
  int insertionMode = 0;    // 0 append, other: alphabetical place
  int browserVariant = 3;   // 2 with comments, 3 plain
  // The mode of the SelectChart that runs the browser: 0 one record is chosen, another mode lets
  // the browser's OK take any number of marked records.
  int selectMode = 0;
  int importCommentPage = -1;
  int splitLines = 0;
  // The result-header lines the conditions subsystem hands to the browser.
  std::vector<std::string> resultHeaderLines;
  int resultMode = 0;
};
