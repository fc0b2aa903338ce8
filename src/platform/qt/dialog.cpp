#include "platform/qt/dialog.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <algorithm>

#include "platform/qt/title_room.h"

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
  installEventFilter(new TitleRoomKeeper(this));
}

int Dialog::DoModal() {
  OnInitDialog();
  int result = kIdCancel;
  if (ModalDriver::Answers(*this, result)) return result;
  return exec() == QDialog::Accepted ? kIdOk : kIdCancel;
}

bool Dialog::DoDataExchange(bool) { return true; }

QSize Dialog::sizeHint() const {
  return QDialog::sizeHint()
      .boundedTo(QSize(kDialogRoomWidth, kDialogRoomHeight))
      .expandedTo(minimumSizeHint());
}

void Dialog::PlaceAt(QPoint at) {
  if (isVisible()) {
    PlaceWindowAt(*this, at);
    return;
  }
  placeAt_ = at;
}

void Dialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);  // centres an unplaced dialog over its parent
  if (placeAt_) {
    PlaceWindowAt(*this, *placeAt_);
    placeAt_.reset();
  }
}

QSize FrameSize(const QWidget& window) {
  // Until a window manager has framed the window its frame is not known: at least the borders and
  // title bar that Qt's own placement of dialogs counts then, 10 pixels across and 40 down.
  constexpr int kAcross = 10, kDown = 40;
  return window.frameGeometry().size().expandedTo(window.geometry().size() + QSize(kAcross, kDown));
}

QPoint KeptOnScreen(QPoint wanted, QSize frame, const QRect& available) {
  const int x = std::min(wanted.x(), available.left() + available.width() - frame.width());
  const int y = std::min(wanted.y(), available.top() + available.height() - frame.height());
  return {std::max(x, available.left()), std::max(y, available.top())};
}

void PlaceWindowAt(QWidget& window, QPoint at) {
  const QScreen* screen = QGuiApplication::screenAt(at);
  if (screen == nullptr) screen = window.screen();
  // move() places a window's frame, title bar included.
  window.move(screen != nullptr ? KeptOnScreen(at, FrameSize(window), screen->availableGeometry())
                                : at);
}

int TitleBarWidth(const QString& title) {
  // Window managers draw captions in about 11-point bold type; the bar's icon and its three
  // buttons take about 150 pixels. Never wider than a small screen.
  constexpr int kBarRoom = 150, kWidest = 1000;
  QFont face(QStringLiteral("DejaVu Sans"), 11, QFont::Bold);
  return std::min(kWidest, QFontMetrics(face).horizontalAdvance(title) + kBarRoom);
}

bool TitleRoomKeeper::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type == QEvent::WindowTitleChange || type == QEvent::LayoutRequest ||
       type == QEvent::Show) &&
      watched->isWidgetType()) {
    auto* window = static_cast<QWidget*>(watched);
    // A window's explicit minimum width stands in place of its layout's: it takes the layout's
    // too, so the window never gets narrower than its controls.
    int width = std::max(window->minimumWidth(), TitleBarWidth(window->windowTitle()));
    if (window->layout() != nullptr)
      width = std::max(width, window->layout()->totalMinimumSize().width());
    if (width != window->minimumWidth()) window->setMinimumWidth(width);
  }
  return false;
}

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
