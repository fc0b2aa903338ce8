#include "platform/qt/document.h"

#include <algorithm>

#include "platform/qt/doc_template.h"
#include "platform/qt/view.h"

namespace platform {

void Document::SetTitle(std::string_view title) {
  title_ = title;
  for (View* view : views_) view->UpdateFrameTitle();
}

void Document::UpdateAllViews(View* sender) {
  // A copy: an update may open or close views.
  const std::vector<View*> views = views_;
  for (View* view : views) {
    if (view != sender) view->OnUpdate(sender);
  }
}

void Document::AddView(View* view) {
  if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void Document::RemoveView(View* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
  if (views_.empty() && autoClose_ && template_ != nullptr) template_->CloseDocument(this);
}

}  // namespace platform
