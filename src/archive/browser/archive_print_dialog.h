// "Печать архива - параметры ": what the archive listing prints (coordinates, the largest font,
// the line interval, two comment pages, all or the selected charts), then the hint of message 677.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRadioButton>
#include <QSpinBox>
#include <array>
#include <cstdint>

#include "archive/print/archive_print.h"
#include "platform/qt/dialog.h"

class DARCPRINT : public platform::Dialog {
  Q_OBJECT

 public:
  // Controls.
  static constexpr int kIdCoordinates = 1752, kIdPage1 = 1753, kIdPage2 = 1754;
  static constexpr int kIdFontSize = 1755, kIdInterval = 1756, kIdAll = 1757, kIdSelected = 1758;

  // `anyMarked`: some record is flagged (else the all/selected choice is off); `withComments`: the
  // archive has the 4400 layout (else the comment page lists are off).
  DARCPRINT(bool anyMarked, bool withComments, QWidget* parent = nullptr);

  // In: the choices shown; out after OK: the choices made.
  ArchivePrintParams params;

  bool DoDataExchange(bool save) override;

  QCheckBox* Coordinates() const { return coordinates_; }
  QComboBox* Page(int k) const { return pages_[static_cast<std::size_t>(k)]; }
  QRadioButton* Selected() const { return selected_; }
  QRadioButton* All() const { return all_; }

 private:
  QCheckBox* coordinates_;
  QSpinBox* fontSize_;
  QDoubleSpinBox* interval_;
  std::array<QComboBox*, 2> pages_{};
  QRadioButton* all_;
  QRadioButton* selected_;
};

// After the dialog's OK: when the hint is due (its switch on, or every 20th launch) the switch is
// set and message 677 asked with OK/Cancel; Cancel turns the switch off.
void ShowArchivePrintHint(ArchivePrintParams& params, std::uint32_t launchCounter);
