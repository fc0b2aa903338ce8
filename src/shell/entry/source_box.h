// The fields of one Source in the chart entry dialogs: name, date with era, local time, zone
// correction, latitude and longitude with hemisphere letters, town and region, and the town list
// that the town field searches as the user types; choosing a town fills the place, and the zone
// the town had at the date and time of the fields, which follows them until the zone is typed.
#pragma once

#include <QGroupBox>

#include "foundation/datetime/source.h"
#include "platform/qt/qt_text.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace entry {

using platform::Cp1251Validator;

// A line edit of at most `maxLength` characters that refuses what code page 1251 cannot hold.
QLineEdit* MakeTextEdit(QWidget* parent, int maxLength);

class SourceBox : public QGroupBox {
  Q_OBJECT

 public:
  // `withName` false: the name row is left out (the target moment of a chart).
  SourceBox(const QString& title, bool withName, QWidget* parent = nullptr);

  // Fills the fields. With SetZoneFollowsAtlasPlace, a Source whose place is a town of the atlas
  // (whose tz zone the installed database knows) is followed as if that town had been picked.
  void SetSource(const Source& source);
  // The box of a derived chart's moment: the zone of the place's town follows the date and time
  // the user types, until the zone, the town or the coordinates are typed.
  void SetZoneFollowsAtlasPlace(bool follows) { followsAtlasPlace_ = follows; }
  // 0 with `source` set from the fields (a Source without a name row keeps its name), or the
  // message that refuses a field: that field gets the focus and `source` stays unchanged.
  int ReadSource(Source& source) const;

  // The towns listed for the typed text (the town field's search).
  void SearchTowns(const QString& typed);
  // Fills the place from row `row` of the town list, and the zone with the offset the town's zone
  // had at the date and local time of the fields (the atlas's standard zone where the tz database
  // does not know it); false for a row the list does not hold. Until the zone, the town or the
  // coordinates are typed over, a change of the date or time fills the zone anew. A local time
  // the clocks skipped or repeated, or a zone known only as today's, is named in a note; a zone
  // that is not known or that a chart cannot hold empties the field, and the note says why.
  bool ChooseTown(int row);

  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* DateEdit() const { return date_; }
  QComboBox* EraBox() const { return era_; }
  QLineEdit* TimeEdit() const { return time_; }
  QLineEdit* ZoneEdit() const { return zone_; }
  QLineEdit* LatitudeEdit() const { return latitude_; }
  QLineEdit* LongitudeEdit() const { return longitude_; }
  QLineEdit* TownEdit() const { return town_; }
  QLineEdit* RegionEdit() const { return region_; }
  QListWidget* TownList() const { return towns_; }
  QLabel* ZoneNote() const { return zoneNote_; }

 protected:
  // The Down key in the town field goes to the town list; Enter in the list takes the town and
  // returns to the town field instead of pressing the dialog's OK.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnTownActivated(QListWidgetItem* item);
  // The zone of the picked town at the date and time of the fields, with its note.
  void FillZoneOfTown();
  // The zone no longer follows a picked town.
  void ForgetPick();
  // Shows or hides the town list's row; hidden, the window gives back the height the list took.
  void ShowTownList(bool show);

  QLineEdit* name_ = nullptr;
  QLineEdit* date_;
  QComboBox* era_;
  QLineEdit* time_;
  QLineEdit* zone_;
  QLabel* zoneNote_;
  QLineEdit* latitude_;
  QLineEdit* longitude_;
  QLineEdit* town_;
  QLineEdit* region_;
  QListWidget* towns_;
  QFormLayout* form_;
  int windowHeightWithoutList_ = 0;  // the window's height when the list appeared
  int pickedTown_ = -1;              // the atlas town whose zone the zone field follows
  bool zoneTyped_ = false;           // the zone typed by the user since the last pick or fill
  bool followsAtlasPlace_ = false;   // a Source set in follows its atlas town (SetSource)
};

}  // namespace entry
