// The entry of a new chart's birth data: name, date, time, zone and place, each checked with the
// catalogue's messages. It fills the chart definition's base Source and the Source the chart is
// computed for.
#pragma once

#include <string>

#include "foundation/datetime/super_source.h"
#include "platform/qt/dialog.h"

class QLineEdit;

class CD_ENTER_Natal : public platform::Dialog {
  Q_OBJECT

 public:
  explicit CD_ENTER_Natal(QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;

  // In: the preset definition; out: the entered one.
  SuperSource definition;

  // The text checks of the fields; 0 or the message that refuses the text.
  static int ParseDate(const std::string& text, FDate& date);
  static int ParseTime(const std::string& text, FTime& time);
  static int ParseZone(const std::string& text, FTimeCor& zone);
  static int ParsePlace(const std::string& latitude, const std::string& longitude, Place& place);

 private:
  QLineEdit* name_;
  QLineEdit* date_;
  QLineEdit* time_;
  QLineEdit* zone_;
  QLineEdit* latitude_;
  QLineEdit* longitude_;
  QLineEdit* town_;
  QLineEdit* region_;
};
