// A set-up sheet that checks its values on its own OK: a refusal is told while the sheet is still
// open, so the user mends the one field with everything else as typed.
#pragma once

#include <functional>
#include <memory>

#include "platform/qt/property_sheet.h"

class CheckedSheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  using Check = std::function<bool(platform::PropertySheet&)>;

  explicit CheckedSheet(const QString& caption, QWidget* parent = nullptr)
      : platform::PropertySheet(caption, parent) {}

  // The check OK runs after every page took its controls; it tells the user why it refuses.
  void SetCheck(Check check) { check_ = std::move(check); }
  bool CheckOk() override;
  // Whether the check accepted the values since the sheet was shown.
  bool Passed() const { return passed_; }

 private:
  Check check_;
  bool passed_ = false;
};

// Runs the sheet that `make` builds: the check runs on its OK (a refusal keeps it open) and
// `commit` takes the values over once it accepted. A sheet closed with OK without its check
// having run (a scripted answer that only took the controls) is checked then, and shown again
// on the values entered when refused. kIdOk or kIdCancel.
int RunCheckedSheet(const std::function<std::unique_ptr<CheckedSheet>()>& make,
                    const CheckedSheet::Check& check, const std::function<void()>& commit);
