// Real dialogs driven as a person drives them: a script of the modal dialogs a command is expected
// to open, each found as QApplication::activeModalWidget() once it runs, photographed, typed into
// by the labels of its controls (or their object names) with QTest key events and closed by a
// click on one of its buttons. A dialog out of script is recorded and cancelled.
#pragma once

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

namespace testing_support {

namespace modal_detail {

// A text as a person reads it: without the accelerator marks and the trailing colon.
inline QString Readable(QString text) {
  text.remove(QLatin1Char('&'));
  text = text.trimmed();
  if (text.endsWith(QLatin1Char(':'))) text.chop(1);
  return text.trimmed();
}

inline bool Input(const QWidget* w) {
  return qobject_cast<const QLineEdit*>(w) != nullptr ||
         qobject_cast<const QComboBox*>(w) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}

// The controls a person reads in `dialog`, for a message when one is not found.
inline QString Inventory(QWidget& dialog) {
  QStringList seen;
  for (const QWidget* w : dialog.findChildren<QWidget*>()) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
      seen << QStringLiteral("label '%1'").arg(Readable(label->text()));
    else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
      seen << QStringLiteral("button '%1'").arg(Readable(button->text()));
    else if (Input(w) && !w->objectName().isEmpty())
      seen << QStringLiteral("input '%1'").arg(w->objectName());
  }
  return seen.join(QStringLiteral(", "));
}

}  // namespace modal_detail

// The class of `object` as its source names it ("entry::CD_ENTER_Natal").
inline std::string ClassName(const QObject& object) {
  int status = 0;
  char* name = abi::__cxa_demangle(typeid(object).name(), nullptr, nullptr, &status);
  std::string out = status == 0 ? name : typeid(object).name();
  std::free(name);
  return out;
}

// The input of `dialog` a person finds by `label`: a QLabel's buddy, the field of a form row with
// that label, the nearest input to the right of the label in its row, or the input with that
// object name; nullptr when there is none.
inline QWidget* FindControl(QWidget& dialog, const QString& label) {
  using modal_detail::Input;
  using modal_detail::Readable;
  for (QWidget* w : dialog.findChildren<QWidget*>())
    if (w->objectName() == label && Input(w) && w->isVisibleTo(&dialog)) return w;
  for (QLabel* l : dialog.findChildren<QLabel*>()) {
    if (!l->isVisibleTo(&dialog) || Readable(l->text()) != label) continue;
    if (l->buddy() != nullptr) return l->buddy();
    if (auto* form = qobject_cast<QFormLayout*>(l->parentWidget()->layout())) {
      int row = -1;
      QFormLayout::ItemRole role;
      form->getWidgetPosition(l, &row, &role);
      if (row >= 0)
        if (QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole)) {
          if (QWidget* w = field->widget()) return w;
          if (QLayout* inner = field->layout())
            for (int i = 0; i < inner->count(); ++i)
              if (QWidget* w = inner->itemAt(i)->widget(); w != nullptr && Input(w)) return w;
        }
    }
    const QRect at(l->mapTo(&dialog, QPoint(0, 0)), l->size());
    QWidget* best = nullptr;
    int bestDistance = 1 << 30;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
      if (!Input(w) || !w->isVisibleTo(&dialog) || qobject_cast<QComboBox*>(w->parentWidget()) ||
          qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
        continue;
      const QRect r(w->mapTo(&dialog, QPoint(0, 0)), w->size());
      if (r.top() >= at.bottom() || at.top() >= r.bottom() || r.left() < at.right()) continue;
      if (r.left() - at.right() < bestDistance) {
        bestDistance = r.left() - at.right();
        best = w;
      }
    }
    if (best != nullptr) return best;
  }
  return nullptr;
}

// The button (push, radio or check box) of `dialog` showing `text`, visible first; `nth` counts
// the buttons of the same text from 0.
inline QAbstractButton* FindButton(QWidget& dialog, const QString& text, int nth = 0) {
  QAbstractButton* hidden = nullptr;
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) {
    if (modal_detail::Readable(b->text()) != text) continue;
    if (b->isVisibleTo(&dialog) && nth-- == 0) return b;
    if (!b->isVisibleTo(&dialog)) hidden = b;
  }
  return hidden;
}

// Key presses of `text` into `widget` (QTest::keyClicks knows only ASCII keys).
inline void TypeKeys(QWidget& widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(&widget, static_cast<char>(c.unicode()));
    else
      QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// Types `text` into the control labelled `label` as a person does: click, select all, keys.
inline void TypeInto(QWidget& dialog, const QString& label, const QString& text) {
  QWidget* control = FindControl(dialog, label);
  ASSERT_NE(control, nullptr) << "no control '" << label.toStdString() << "' in "
                              << dialog.metaObject()->className() << ": "
                              << modal_detail::Inventory(dialog).toStdString();
  if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && !combo->isEditable()) {
    const int row = combo->findText(text);
    ASSERT_GE(row, 0) << "no row '" << text.toStdString() << "' in " << label.toStdString();
    combo->setFocus();
    // Keys down or up to the row, as a person walks a closed list.
    const int steps = row - combo->currentIndex();
    for (int i = 0; i < std::abs(steps); ++i)
      QTest::keyClick(combo, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(combo->currentIndex(), row);
    return;
  }
  QWidget* target = control;
  if (auto* combo = qobject_cast<QComboBox*>(control)) target = combo->lineEdit();
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) target = spin->findChild<QLineEdit*>();
  ASSERT_NE(target, nullptr);
  target->setFocus();
  QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(target, Qt::Key_Delete);
  TypeKeys(*target, text);
}

// Clicks the button showing `text` with the mouse (a tab page holding it is shown first).
inline void Click(QWidget& dialog, const QString& text, int nth = 0) {
  QAbstractButton* button = FindButton(dialog, text, nth);
  ASSERT_NE(button, nullptr) << "no button '" << text.toStdString() << "' in "
                             << dialog.metaObject()->className() << ": "
                             << modal_detail::Inventory(dialog).toStdString();
  for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
    for (int i = 0; i < tabs->count(); ++i)
      if (tabs->widget(i)->isAncestorOf(button)) tabs->setCurrentIndex(i);
  ASSERT_TRUE(button->isEnabled()) << text.toStdString();
  // A radio button or check box answers to a click on its mark or its text, not beside them.
  const bool marked = qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button);
  const QPoint at = marked ? QPoint(6, button->height() / 2) : button->rect().center();
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

// Shows the tab page titled `title` of the first tab widget that has one.
inline void ShowTab(QWidget& dialog, const QString& title) {
  for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
    for (int i = 0; i < tabs->count(); ++i)
      if (modal_detail::Readable(tabs->tabText(i)) == title) {
        tabs->setCurrentIndex(i);
        return;
      }
  ADD_FAILURE() << "no tab '" << title.toStdString() << "' in " << dialog.metaObject()->className();
}

// The modal dialogs a step of the session is expected to open, in order.
class ModalScript {
 public:
  using Act = std::function<void(QWidget& dialog)>;
  // Called with each dialog met once it is shown (before its act), and its class name.
  using Met = std::function<void(QWidget& dialog, const std::string& className)>;

  explicit ModalScript(Met met) : met_(std::move(met)) {
    poll_.setInterval(10);
    QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
    poll_.start();
  }
  ~ModalScript() { poll_.stop(); }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  // The next modal dialog is of class `className`; `act` types into it and closes it.
  ModalScript& Then(std::string className, Act act) {
    steps_.push_back({std::move(className), std::move(act)});
    return *this;
  }
  // Dialogs out of script are given to `act` instead of being refused, each class at most
  // `perClass` times until Verify (a flow that asks again for ever is refused then); empty: off.
  ModalScript& Otherwise(Act act, int perClass = 3) {
    otherwise_ = std::move(act);
    perClass_ = perClass;
    return *this;
  }
  // Dialogs of class `className` (progress windows) are photographed and left to close by
  // themselves wherever they come.
  ModalScript& Leave(std::string className) {
    left_.push_back(std::move(className));
    return *this;
  }
  // Fails the test for every step not taken and every dialog out of script; clears both.
  void Verify(const std::string& where) {
    for (const Step& step : steps_)
      ADD_FAILURE() << where << ": the dialog " << step.className << " never came";
    for (const std::string& name : unexpected_)
      ADD_FAILURE() << where << ": a dialog out of script came: " << name;
    steps_.clear();
    unexpected_.clear();
    otherwiseCount_.clear();
  }

 private:
  struct Step {
    std::string className;
    Act act;
  };

  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    const bool seen = std::find(handled_.begin(), handled_.end(), modal) != handled_.end();
    if (seen && modal != current_) {  // back from a dialog it opened
      current_ = modal;
      handledAt_.restart();
      return;
    }
    if (seen && std::find(left_.begin(), left_.end(), ClassName(*modal)) == left_.end()) {
      // A dialog its act left open (a control or a button not found) is closed, not waited for.
      if (handledAt_.elapsed() > kStuckMilliseconds) {
        unexpected_.push_back(ClassName(*modal) + " stayed open after its act");
        if (auto* d = qobject_cast<QDialog*>(modal))
          d->reject();
        else
          modal->close();
        handledAt_.restart();
      }
      return;
    }
    handled_.push_back(modal);
    current_ = modal;
    handledAt_.start();
    QPointer<QWidget> dialog = modal;
    // Acted on from a timer of its own, so that a dialog it opens is polled too.
    QTimer::singleShot(0, [this, dialog] {
      if (dialog == nullptr) return;
      const std::string name = ClassName(*dialog);
      if (met_) met_(*dialog, name);
      if (std::find(left_.begin(), left_.end(), name) != left_.end()) return;
      const bool scripted = !steps_.empty() && steps_.front().className == name;
      if (!scripted && otherwise_ && ++otherwiseCount_[name] <= perClass_) {
        otherwise_(*dialog);
        return;
      }
      if (!scripted) {
        unexpected_.push_back(name + " \"" + dialog->windowTitle().toStdString() + "\"");
        if (auto* d = qobject_cast<QDialog*>(dialog.data()))
          d->reject();
        else
          dialog->close();
        return;
      }
      const Act act = steps_.front().act;
      steps_.pop_front();
      act(*dialog);
    });
  }

  static constexpr int kStuckMilliseconds = 8000;
  Met met_;
  QTimer poll_;
  QElapsedTimer handledAt_;
  std::vector<QPointer<QWidget>> handled_;  // dialogs met, closed ones turned null
  QPointer<QWidget> current_;
  std::deque<Step> steps_;
  std::vector<std::string> left_;
  Act otherwise_;
  int perClass_ = 0;
  std::map<std::string, int> otherwiseCount_;
  std::vector<std::string> unexpected_;
};

}  // namespace testing_support
