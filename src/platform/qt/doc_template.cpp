#include "platform/qt/doc_template.h"

#include <QMdiArea>
#include <QRect>
#include <algorithm>

#include "platform/qt/child_frame.h"
#include "platform/qt/document.h"
#include "platform/qt/view.h"

namespace platform {

DocTemplate::DocTemplate(DocManager& manager, int number, DocumentFactory makeDocument,
                         ViewFactory makeView)
    : manager_(manager),
      number_(number),
      makeDocument_(std::move(makeDocument)),
      makeView_(std::move(makeView)) {}

Document* DocTemplate::OpenDocumentFile(DocumentArgument argument, bool visible) {
  manager_.documents_.push_back(makeDocument_());
  Document* document = manager_.documents_.back().get();
  document->template_ = this;
  document->creationArgument_ = std::move(argument);
  ChildFrame* frame = CreateNewFrame(*document);
  if (!document->OnNewDocument()) {
    // The view goes with its frame; a document that never opened is not closed, only deleted.
    delete frame;
    auto& documents = manager_.documents_;
    documents.erase(std::find_if(documents.begin(), documents.end(),
                                 [document](const auto& d) { return d.get() == document; }));
    return nullptr;
  }
  document->autoClose_ = true;
  InitialUpdateFrame(*frame, *document, visible);
  document->creationArgument_ = DocumentArgument();
  return document;
}

ChildFrame* DocTemplate::CreateNewFrame(Document& document) {
  auto* frame = new ChildFrame();
  View* view = makeView_();
  view->AttachDocument(&document);
  frame->SetView(view);
  if (manager_.MdiArea() != nullptr) manager_.MdiArea()->addSubWindow(frame);
  return frame;
}

QRect KeptInside(const QRect& frame, const QSize& area) {
  QRect kept(frame.topLeft(), frame.size().boundedTo(area));
  kept.moveLeft(std::clamp(kept.left(), 0, area.width() - kept.width()));
  kept.moveTop(std::clamp(kept.top(), 0, area.height() - kept.height()));
  return kept;
}

void DocTemplate::InitialUpdateFrame(ChildFrame& frame, Document&, bool visible) {
  if (View* view = frame.GetView()) view->OnInitialUpdate();
  frame.OnUpdateFrameTitle();
  if (visible) {
    frame.show();
    if (QMdiArea* area = manager_.MdiArea()) {
      area->setActiveSubWindow(&frame);
      // The area places a new window before its view sizes it: the window is then kept inside
      // the area, made smaller only where the area is smaller.
      if (area->isVisible() && !frame.isMaximized())
        frame.setGeometry(KeptInside(frame.geometry(), area->viewport()->size()));
    }
  }
}

View* DocTemplate::OpenView(Document& document) {
  ChildFrame* frame = CreateNewFrame(document);
  InitialUpdateFrame(*frame, document, true);
  return frame->GetView();
}

void DocTemplate::CloseDocument(Document* document) {
  auto& documents = manager_.documents_;
  const auto found = std::find_if(documents.begin(), documents.end(),
                                  [document](const auto& d) { return d.get() == document; });
  if (found == documents.end()) return;
  std::unique_ptr<Document> closing = std::move(*found);
  documents.erase(found);
  closing->autoClose_ = false;
  closing->OnCloseDocument();
}

DocManager::DocManager() = default;

DocManager::~DocManager() { CloseAllDocuments(); }

DocTemplate& DocManager::AddTemplate(int number, DocTemplate::DocumentFactory makeDocument,
                                     DocTemplate::ViewFactory makeView) {
  templates_.push_back(
      std::make_unique<DocTemplate>(*this, number, std::move(makeDocument), std::move(makeView)));
  return *templates_.back();
}

DocTemplate* DocManager::GetTemplate(int number) const {
  for (const auto& docTemplate : templates_) {
    if (docTemplate->Number() == number) return docTemplate.get();
  }
  return nullptr;
}

bool DocManager::Holds(const Document* document) const {
  return std::any_of(documents_.begin(), documents_.end(),
                     [document](const auto& d) { return d.get() == document; });
}

void DocManager::CloseAllDocuments() {
  while (!documents_.empty()) {
    Document* document = documents_.front().get();
    document->autoClose_ = false;
    const std::vector<View*> views = document->Views();
    for (View* view : views) delete view->Frame();
    document->GetDocTemplate()->CloseDocument(document);
  }
}

}  // namespace platform
