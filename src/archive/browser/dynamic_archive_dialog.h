// "Гороскоп > Динамический архив": a new archive whose records are the document's chart recomputed
// at equal steps over a range of dates. The file name and the step are remembered in the
// configuration.
#pragma once

#include <QButtonGroup>
#include <QLineEdit>
#include <QSpinBox>
#include <array>

#include "archive/store/archive.h"
#include "platform/qt/dialog.h"

class DDYNARC : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kIdFileName = 2013;
  static constexpr int kIdBrowse = 2014;

  // The source chart and the archive (rebuilt when the current archive is written over).
  DDYNARC(const Chart& chart, Archive& archive, QWidget* parent = nullptr);

  void OnInitDialog() override;
  // The period, the step and the file checked (messages 657/656/775/776/777 for a date that does
  // not exist, 1106, 1107, 1108 and 74), then the archive written: false keeps the dialog open.
  bool CheckOk() override;
  // "ВЫБРАТЬ": an archive file chosen for the name.
  void OnBrowse();

  // --- The fields, for the tests: dates as day, month, year and era 'A'/'B' ---
  void SetBegin(int day, int month, int year, char era = 'A');
  void SetEnd(int day, int month, int year, char era = 'A');
  // Years, days, hours, minutes, seconds.
  void SetStep(int years, int days, int hours, int minutes, int seconds);
  QLineEdit* FileName() const { return fileName_; }
  // The records the last run wrote (0 before).
  int Written() const { return written_; }

 private:
  struct DateBoxes {
    QSpinBox* day;
    QSpinBox* month;
    QSpinBox* year;
    QButtonGroup* era;  // 0 "до н.э.", 1 "н.э."
  };
  DateBoxes MakeDate(const char* title, class QBoxLayout* into);
  static void SetDate(const DateBoxes& boxes, int day, int month, int year, char era);
  // The date of the boxes; a date that does not exist is told (its message) and gives false.
  static bool ReadDate(const DateBoxes& boxes, FDate& date);

  const Chart& chart_;
  Archive& archive_;
  QLineEdit* fileName_;
  DateBoxes begin_{}, end_{};
  std::array<QSpinBox*, 5> step_{};
  int written_ = 0;
};
