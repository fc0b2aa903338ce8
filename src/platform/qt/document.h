// A document: the data that one or more views show. It is created by its document template,
// owned by it while open, and closed (OnCloseDocument, then deleted) when its last view goes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/qt/command_target.h"

namespace platform {

class DocTemplate;
class View;

class Document : public CommandTarget {
 public:
  Document() = default;
  ~Document() override = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // The title (code page 1251); setting it renews the captions of the document's frames.
  const std::string& GetTitle() const { return title_; }
  void SetTitle(std::string_view title);

  // Fills a new document; false refuses it (the template then destroys frame and document).
  virtual bool OnNewDocument() { return true; }
  // Asked before the document's last frame closes while the program runs; false keeps it open.
  virtual bool SaveModified() { return true; }
  // The document closes: called once, before it is deleted.
  virtual void OnCloseDocument() {}

  void UpdateAllViews(View* sender = nullptr);
  const std::vector<View*>& Views() const { return views_; }
  DocTemplate* GetDocTemplate() const { return template_; }

  // Called by views as they are attached and destroyed. Removing the last view closes the
  // document (unless it is being filled or already closing).
  void AddView(View* view);
  void RemoveView(View* view);

 private:
  friend class DocTemplate;
  friend class DocManager;
  DocTemplate* template_ = nullptr;
  std::string title_;
  std::vector<View*> views_;
  bool autoClose_ = false;  // set once the document is open; until then its template decides
};

}  // namespace platform
