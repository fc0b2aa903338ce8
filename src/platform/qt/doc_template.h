// Document templates: each pairs the document class with a child frame and one view class. A
// new document is opened on a template with a creation argument (document, frame and view, the
// argument handed to the document, then OnNewDocument); a further
// view of an open document is a new frame of another template on the same document. The
// DocManager holds the templates by number and owns the open documents.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/document.h"

class QMdiArea;
class QRect;
class QSize;

namespace platform {

class ChildFrame;
class DocManager;
class View;

// A window's geometry moved (and, where the area is smaller, made smaller) to lie inside an area
// of `area` size.
QRect KeptInside(const QRect& frame, const QSize& area);

class DocTemplate {
 public:
  using DocumentFactory = std::function<std::unique_ptr<Document>()>;
  using ViewFactory = std::function<View*()>;

  DocTemplate(DocManager& manager, int number, DocumentFactory makeDocument, ViewFactory makeView);
  DocTemplate(const DocTemplate&) = delete;
  DocTemplate& operator=(const DocTemplate&) = delete;

  int Number() const { return number_; }

  // A new document with its frame and view, made from `argument` (the document reads it in
  // OnNewDocument, its first view in OnInitialUpdate). OnNewDocument decides: when it refuses,
  // the frame and the document are destroyed and nullptr is returned. `visible` false keeps the
  // frame hidden (printing from the command line).
  Document* OpenDocumentFile(DocumentArgument argument = {}, bool visible = true);
  // A frame with a new view of this template on `document` (not yet shown).
  ChildFrame* CreateNewFrame(Document& document);
  // Shows the frame and gives its view the initial update.
  void InitialUpdateFrame(ChildFrame& frame, Document& document, bool visible = true);
  // A further view of `document` on this template: CreateNewFrame and InitialUpdateFrame.
  View* OpenView(Document& document);

  // Closes `document` (OnCloseDocument) and deletes it; its frames must be gone or going.
  void CloseDocument(Document* document);

 private:
  DocManager& manager_;
  int number_;
  DocumentFactory makeDocument_;
  ViewFactory makeView_;
};

class DocManager {
 public:
  DocManager();
  ~DocManager();

  // Frames go into this area; without one they are top-level windows.
  void SetMdiArea(QMdiArea* area) { area_ = area; }
  QMdiArea* MdiArea() const { return area_; }

  DocTemplate& AddTemplate(int number, DocTemplate::DocumentFactory makeDocument,
                           DocTemplate::ViewFactory makeView);
  // The template of that number; nullptr when none is registered.
  DocTemplate* GetTemplate(int number) const;
  std::size_t TemplateCount() const { return templates_.size(); }

  const std::vector<std::unique_ptr<Document>>& Documents() const { return documents_; }
  bool Holds(const Document* document) const;
  // Closes every document with all its frames, in the order they were opened. SaveModified is
  // not asked: the caller decides before.
  void CloseAllDocuments();

 private:
  friend class DocTemplate;
  QMdiArea* area_ = nullptr;
  std::vector<std::unique_ptr<DocTemplate>> templates_;
  std::vector<std::unique_ptr<Document>> documents_;
};

}  // namespace platform
