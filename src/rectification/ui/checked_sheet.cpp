#include "rectification/ui/checked_sheet.h"

bool CheckedSheet::CheckOk() {
  passed_ = !check_ || check_(*this);
  return passed_;
}

int RunCheckedSheet(const std::function<std::unique_ptr<CheckedSheet>()>& make,
                    const CheckedSheet::Check& check, const std::function<void()>& commit) {
  for (;;) {
    const std::unique_ptr<CheckedSheet> sheet = make();
    if (sheet == nullptr) return platform::kIdCancel;
    sheet->SetCheck(check);
    if (sheet->DoModal() != platform::kIdOk) return platform::kIdCancel;
    if (sheet->Passed() || check(*sheet)) break;
  }
  commit();
  return platform::kIdOk;
}
