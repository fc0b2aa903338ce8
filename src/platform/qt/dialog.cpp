#include "platform/qt/dialog.h"

#include <QFont>

namespace platform {

namespace {

struct DriverState {
  std::map<std::type_index, std::deque<ModalDriver::Answer>> queued;
  std::map<std::type_index, ModalDriver::Answer> persistent;
  std::vector<std::type_index> shown;
  std::vector<std::type_index> unanswered;
  bool strict = false;
  bool acceptAll = false;
  std::map<std::type_index, int> accepted;  // per class, in accept-all mode
};

DriverState& State() {
  static DriverState state;
  return state;
}

}  // namespace

Dialog::Dialog(QWidget* parent) : QDialog(parent) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setModal(true);
}

int Dialog::DoModal() {
  OnInitDialog();
  int result = kIdCancel;
  if (ModalDriver::Answers(*this, result)) return result;
  return exec() == QDialog::Accepted ? kIdOk : kIdCancel;
}

bool Dialog::DoDataExchange(bool) { return true; }

void Dialog::accept() {
  if (DoDataExchange(true) && CheckOk()) QDialog::accept();
}

void ModalDriver::SetStrict(bool strict) { State().strict = strict; }

void ModalDriver::SetAcceptAll(bool acceptAll) {
  State().acceptAll = acceptAll;
  State().accepted.clear();
}

void ModalDriver::Clear() { State() = DriverState{}; }

const std::vector<std::type_index>& ModalDriver::Shown() { return State().shown; }

const std::vector<std::type_index>& ModalDriver::Unanswered() { return State().unanswered; }

bool ModalDriver::Answers(Dialog& dialog, int& result) {
  DriverState& state = State();
  const std::type_index type(typeid(dialog));
  if (auto queued = state.queued.find(type);
      queued != state.queued.end() && !queued->second.empty()) {
    const Answer answer = std::move(queued->second.front());
    queued->second.pop_front();
    state.shown.push_back(type);
    result = answer(dialog);
    return true;
  }
  if (auto always = state.persistent.find(type); always != state.persistent.end()) {
    state.shown.push_back(type);
    result = always->second(dialog);
    return true;
  }
  if (state.acceptAll) {
    // A dialog that comes back after its OK (a flow that asks again until it succeeds) is
    // cancelled the third time.
    state.shown.push_back(type);
    result = ++state.accepted[type] <= 2 && dialog.DoDataExchange(true) && dialog.CheckOk()
                 ? kIdOk
                 : kIdCancel;
    return true;
  }
  if (state.strict) {
    state.unanswered.push_back(type);
    result = kIdCancel;
    return true;
  }
  return false;
}

void ModalDriver::Queue(std::type_index type, Answer answer) {
  State().queued[type].push_back(std::move(answer));
}

void ModalDriver::Persist(std::type_index type, Answer answer) {
  State().persistent[type] = std::move(answer);
}

}  // namespace platform
