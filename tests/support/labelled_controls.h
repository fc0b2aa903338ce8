// Whether every input of a dialog carries a label the user can read it by: a text label directly
// to its left in its row or directly above it in its column, or, in a grid of inputs, a row label
// to the left in its row together with a column label above it in its column. Buttons, check
// boxes and radio buttons carry their own texts and are not asked about.
#pragma once

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace testing_support {

namespace labelled_detail {

inline QRect Place(const QWidget* widget, const QWidget* top) {
  return QRect(widget->mapTo(top, QPoint(0, 0)), widget->size());
}

inline bool SameRow(const QRect& a, const QRect& b) {
  return a.top() < b.bottom() && b.top() < a.bottom();
}

inline bool SameColumn(const QRect& a, const QRect& b) {
  return a.left() < b.right() && b.left() < a.right();
}

}  // namespace labelled_detail

// The inputs of `dialog` (laid out and visible to it) that have no label, by their class and
// object names; empty when every input is labelled.
inline QStringList UnlabelledInputs(QWidget& dialog) {
  using namespace labelled_detail;
  std::vector<QRect> inputs, labels;
  std::vector<const QWidget*> inputWidgets;
  for (const QWidget* w : dialog.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&dialog)) continue;
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
      if (!label->text().trimmed().isEmpty()) labels.push_back(Place(w, &dialog));
      continue;
    }
    const bool editor = qobject_cast<const QLineEdit*>(w) != nullptr &&
                        qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) == nullptr &&
                        qobject_cast<const QComboBox*>(w->parentWidget()) == nullptr;
    if (editor || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w)) {
      inputs.push_back(Place(w, &dialog));
      inputWidgets.push_back(w);
    }
  }
  // Another input standing between a label and the input it would label.
  const auto inputBetween = [&](const QRect& from, const QRect& to, bool across) {
    for (const QRect& other : inputs) {
      if (other == to) continue;
      if (across && SameRow(other, to) && other.left() >= from.right() &&
          other.right() <= to.left())
        return true;
      if (!across && SameColumn(other, to) && other.top() >= from.bottom() &&
          other.bottom() <= to.top())
        return true;
    }
    return false;
  };
  QStringList unlabelled;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const QRect& input = inputs[i];
    bool direct = false, rowLabel = false, columnLabel = false;
    for (const QRect& label : labels) {
      if (SameRow(label, input) && label.right() <= input.left()) {
        rowLabel = true;
        direct = direct || !inputBetween(label, input, true);
      }
      // A column label stands close above: within a few rows of inputs.
      if (SameColumn(label, input) && label.bottom() <= input.top() &&
          input.top() - label.bottom() < 4 * input.height()) {
        columnLabel = true;
        direct = direct || !inputBetween(label, input, false);
      }
    }
    if (!direct && !(rowLabel && columnLabel))
      unlabelled << QString::fromLatin1(inputWidgets[i]->metaObject()->className()) +
                        QLatin1Char(' ') + inputWidgets[i]->objectName();
  }
  return unlabelled;
}

}  // namespace testing_support
