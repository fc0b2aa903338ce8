// The possible-moments dialog between the two passes of the Tremin search: the owner-drawn list
// of the possible intervals (CTmIntListBox) and the minimum possibility the second pass uses.
// "Рассчитать" goes on with the calculation, "Отмена" ends the search without scores.
#pragma once

#include <QListWidget>

#include "platform/qt/dialog.h"
#include "rectification/core/tm_possible_moments_page.h"

class Configuration;
class QSpinBox;

class CTmIntListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CTmIntListBox(QWidget* parent = nullptr);
  // One item per row; the item data is the interval index.
  void Fill(const std::vector<TmIntervalRow>& rows);
  const std::vector<TmIntervalRow>& Rows() const { return rows_; }

 private:
  std::vector<TmIntervalRow> rows_;
};

class DTmPossibleMoments : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = kTmPossibleMomentsDialogId;
  static constexpr int kIdList = 1074;
  static constexpr int kIdMinimum = 1775;

  explicit DTmPossibleMoments(const TmSearch& search, QWidget* parent = nullptr);

  TmPossibleMomentsPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;

  CTmIntListBox* List() const { return list_; }
  QSpinBox* MinimumBox() const { return minimum_; }

 private:
  TmPossibleMomentsPage page_;
  CTmIntListBox* list_;
  QSpinBox* minimum_;
};

// The chooser of the search's user-interface run: shows the dialog; on "Рассчитать" the minimum
// possibility goes to the search and into the settings block of `config`.
TmIntervalChooser MakeTmIntervalChooser(Configuration& config, QWidget* parent);
