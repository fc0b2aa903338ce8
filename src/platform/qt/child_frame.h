// A child window of the main frame's MDI area holding one view. Its caption is what the view
// gives: the document title followed by the view's own part.
#pragma once

#include <QMdiSubWindow>

namespace platform {

class View;

class ChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit ChildFrame(QWidget* parent = nullptr);

  void SetView(View* view);
  View* GetView() const { return view_; }
  // Renews the caption from the view.
  void OnUpdateFrameTitle();

 protected:
  // The last frame of a document asks the document whether it may close.
  void closeEvent(QCloseEvent* event) override;

 private:
  View* view_ = nullptr;
};

}  // namespace platform
