// The search dialog of the archive browser ("ПОИСК"): modeless over the browser, it edits the
// criteria of the last search (kept in the configuration) and steps through the matching rows of
// the browser's list. The browser owns it and destroys it when it ends, changes archive or
// converts the archive.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QSpinBox>
#include <map>

#include "archive/store/archive_index.h"
#include "archive/store/archive_search.h"
#include "platform/qt/dialog.h"

class ArchiveView;

// Where the search dialog (frame `size`) opens: beside the browser `owner` within the screen's
// `area`, on the right where there is room, else on the left, its top at the browser's top (moved
// into the area); an empty rectangle when neither side has room.
QRect SearchPlaceBeside(const QRect& owner, const QSize& size, const QRect& area);
// The dialog's frame kept off a found row: unchanged when it does not cover `row`; else moved just
// below the row or, without room there, just above it, inside the area.
QRect SearchPlaceOffRow(const QRect& dialog, const QRect& row, const QRect& area);

class DArchiveSearch : public platform::Dialog {
  Q_OBJECT

 public:
  // Controls.
  static constexpr int kIdFirst = 1570, kIdLast = 1553, kIdNext = 1555, kIdPrevious = 1554;
  static constexpr int kIdSelectAll = 1556, kIdSelectNone = 1571, kIdClear = 1569;
  static constexpr int kIdCancel = 2;

  DArchiveSearch(ArchiveView& browser, const ArchiveIndex& index);

  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;
  void reject() override;

  // The buttons' handlers.
  void OnStep(ArchiveFindMode mode);
  void OnSelectNone();
  void OnClearQuery();

  // --- For the tests ---
  ArchiveSearchCriteria criteria;  // the dialog's own copies of the criteria
  int LastMatch() const { return lastMatch_; }
  QPushButton* Button(int id) const;
  QLineEdit* NameEdit() const { return name_; }
  QCheckBox* NameContext() const { return nameContext_; }
  QCheckBox* DateOn() const { return dateOn_; }
  QCheckBox* DateRange() const { return dateRange_; }
  QSpinBox* Date1Day() const { return date1_.day; }
  QSpinBox* Date1Month() const { return date1_.month; }
  QSpinBox* Date1Year() const { return date1_.year; }
  QLineEdit* CommentEdit() const { return comment_; }
  QComboBox* PageCombo() const { return page_; }

 private:
  struct DateControls {
    QSpinBox *day, *month, *year;
    QRadioButton *bc, *ad;
  };
  struct AngleControls {
    QSpinBox *degrees, *minutes;
    QRadioButton *positive, *negative;
  };
  QPushButton* AddButton(int id, const QString& text);
  DateControls MakeDate(int maxYear);
  AngleControls MakeAngle(int maxDegrees, const QString& positive, const QString& negative);
  // The criteria read from the controls and stored in the configuration: false (the dialog kept
  // on the field) when a date does not exist.
  bool Store();
  // Raised and made active over the browser again, after a step and any message it showed.
  void KeepInFront();
  // The two-level enabling of dates and coordinates; the comment fields only for an archive with
  // comment pages of which some record has a text.
  void UpdateEnabling();

  ArchiveView& browser_;
  const ArchiveIndex& index_;
  int lastMatch_ = -1;
  QLineEdit *name_, *place_, *type_, *comment_;
  QCheckBox *nameContext_, *placeContext_, *typeContext_, *caseSensitive_;
  QCheckBox *dateOn_, *dateRange_, *latOn_, *latRange_, *lonOn_, *lonRange_;
  DateControls date1_, date2_;
  AngleControls lat1_, lat2_, lon1_, lon2_;
  QComboBox* page_;
  std::map<int, QPushButton*> buttons_;
};
