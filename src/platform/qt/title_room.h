// Captions that are never cut: a window keeps at least the width its title bar needs.
#pragma once

#include <QObject>
#include <QString>

namespace platform {

// The width a window needs for its whole caption in the title bar: the caption in a bold title
// face with room for the icon and the buttons of the bar.
int TitleBarWidth(const QString& title);

// Installed on a window (and owned by it): each new caption widens the window's minimum width to
// TitleBarWidth of the caption, and each new layout to the width the layout needs at least (an
// explicit minimum width would otherwise replace the layout's).
class TitleRoomKeeper : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace platform
