// Modal dialogs. Each dialog is a class derived from Dialog with its controls, an exchange
// function between members and controls, and an OK rule. DoModal() first asks the modal driver:
// tests register answers per dialog class (set the members, return OK or Cancel), so whole
// command flows run without a screen; without a registered answer the real dialog runs.
#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

namespace platform {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// The room a dialog opens in at most: a screen of 1024 x 768 less the window's frame, its title
// bar and a task bar.
inline constexpr int kDialogRoomWidth = 1024 - 2 * 8, kDialogRoomHeight = 768 - 48 - 32;

// The size of `window`'s frame on the screen, title bar and borders included: its frame geometry,
// never less than its own size with room for a title bar and borders.
QSize FrameSize(const QWidget& window);
// The top-left corner for a frame of `frame` size wanted at `wanted`, moved back from the right
// and bottom edges of `available` as far as it must to lie inside it; never left of or above the
// area (a frame larger than the area starts at its corner).
QPoint KeptOnScreen(QPoint wanted, QSize frame, const QRect& available);
// Moves a top-level window so that its frame's top-left corner stands at `at` (global pixels),
// kept whole inside the available area of the screen holding `at` (the window's own screen when
// none does). Every window placed at a click or beside a point of a view goes through it.
void PlaceWindowAt(QWidget& window, QPoint at);

class Dialog : public QDialog {
  Q_OBJECT

 public:
  explicit Dialog(QWidget* parent = nullptr);

  // kIdOk or kIdCancel.
  int DoModal();

  // Members to controls (save false) or controls to members (save true). A refusal while saving
  // (the user was told why) returns false and leaves the dialog open.
  virtual bool DoDataExchange(bool save);
  // The rule checked after a successful exchange on OK; false keeps the dialog open.
  virtual bool CheckOk() { return true; }
  // Before the dialog is shown (and before a driver's answer): controls from members.
  virtual void OnInitDialog() { DoDataExchange(false); }

  void accept() override;
  // The layout's size within the room of a small screen (kDialogRoomWidth x kDialogRoomHeight):
  // what stretches (lists, text boxes) gives way first; never below the layout's minimum.
  QSize sizeHint() const override;

  // Places the dialog at `at` by PlaceWindowAt: at once when it is shown, else as it shows, when
  // its size is final.
  void PlaceAt(QPoint at);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::optional<QPoint> placeAt_;
};

// Answers to modal dialogs, registered per dialog class.
class ModalDriver {
 public:
  using Answer = std::function<int(Dialog&)>;

  // The next DoModal of class T is answered by `answer` (queued, first in first out).
  template <class T>
  static void Expect(std::function<int(T&)> answer) {
    Queue(typeid(T), [answer](Dialog& d) { return answer(static_cast<T&>(d)); });
  }
  // Every DoModal of class T is answered by `answer` until Clear().
  template <class T>
  static void Always(std::function<int(T&)> answer) {
    Persist(typeid(T), [answer](Dialog& d) { return answer(static_cast<T&>(d)); });
  }
  // Strict mode (tests): a dialog without an answer is not shown but cancelled and recorded.
  static void SetStrict(bool strict);
  // Every dialog without an answer is closed with OK as it opened (its own exchange and OK rule
  // decide), as a user who accepts every default would; tests that walk every command use it. A
  // class answered twice is cancelled from then on, so that no flow asks for ever.
  static void SetAcceptAll(bool acceptAll);
  static void Clear();  // answers, record, strict and accept-all modes

  // The classes of the dialogs answered or refused since Clear(), in order.
  static const std::vector<std::type_index>& Shown();
  template <class T>
  static int CountShown() {
    int n = 0;
    for (const auto& t : Shown()) n += t == std::type_index(typeid(T));
    return n;
  }
  // Dialogs that ran without an answer in strict mode.
  static const std::vector<std::type_index>& Unanswered();

  // Used by DoModal: true with `result` when an answer (or strict mode) decided.
  static bool Answers(Dialog& dialog, int& result);

 private:
  static void Queue(std::type_index type, Answer answer);
  static void Persist(std::type_index type, Answer answer);
};

}  // namespace platform
