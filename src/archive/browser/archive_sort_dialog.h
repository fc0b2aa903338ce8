// The parameters of the archive sort ("СОРТИРОВКА" in the browser): up to three keys, the body or
// cusp of each computed key, the order, and whether the result goes into a new archive.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <array>

#include "archive/store/archive_sort.h"
#include "platform/qt/dialog.h"

class DArcSort : public platform::Dialog {
  Q_OBJECT

 public:
  // Controls.
  static constexpr int kIdKey1 = 1780, kIdKey2 = 1789, kIdKey3 = 1790;
  static constexpr int kIdBody1 = 1781, kIdBody2 = 1791, kIdBody3 = 1792;
  static constexpr int kIdAscending = 1782, kIdDescending = 1793, kIdNewArchive = 1783;

  explicit DArcSort(QWidget* parent = nullptr);

  // In: the choices shown; out after OK: the choices made.
  ArchiveSortParams params;

  bool DoDataExchange(bool save) override;
  // The enabling rules after a key changed: a body list only for a computed key (refilled, its
  // choice kept unless a cusp was chosen for the speed); no third key without a second.
  void OnKeyChanged();

  // --- For the tests ---
  QComboBox* Key(int k) const { return keys_[static_cast<std::size_t>(k)]; }
  QComboBox* Body(int k) const { return bodies_[static_cast<std::size_t>(k)]; }
  QRadioButton* Descending() const { return descending_; }
  QCheckBox* NewArchive() const { return newArchive_; }

 private:
  // The key chosen in list k (0 for "not used").
  int KeyOf(int k) const;
  void SelectKey(int k, int key);
  void FillBodies(int k, bool speed);

  std::array<QComboBox*, 3> keys_{};
  std::array<QComboBox*, 3> bodies_{};
  QRadioButton* ascending_;
  QRadioButton* descending_;
  QCheckBox* newArchive_;
  bool updating_ = false;
};
