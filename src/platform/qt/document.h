// A document: the data that one or more views show. It is created by its document template,
// owned by it while open, and closed (OnCloseDocument, then deleted) when its last view goes.
#pragma once

#include <any>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/qt/command_target.h"

namespace platform {

class DocTemplate;
class View;

// What a new document is to be made from: the caller of DocTemplate::OpenDocumentFile gives it,
// and the new document holds it while it opens, from before OnNewDocument until its first view's
// OnInitialUpdate has run; then it is dropped. The platform carries any copyable value untouched;
// each document class names the type it reads. Empty: a plain new document.
class DocumentArgument;
template <class T>
concept ArgumentValue = !std::is_same_v<std::remove_cvref_t<T>, DocumentArgument>;

class DocumentArgument {
 public:
  DocumentArgument() = default;
  // Explicit, so that no stray value (a flag, a number) becomes an argument by accident.
  template <ArgumentValue T>
  explicit DocumentArgument(T value) : value_(std::move(value)) {}

  bool IsEmpty() const { return !value_.has_value(); }
  // The value when it is a T; nullptr when empty or of another type.
  template <class T>
  const T* Get() const {
    return std::any_cast<T>(&value_);
  }

 private:
  std::any value_;
};

class Document : public CommandTarget {
 public:
  Document() = default;
  ~Document() override = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // The title (code page 1251); setting it renews the captions of the document's frames.
  const std::string& GetTitle() const { return title_; }
  void SetTitle(std::string_view title);
  // The name (code page 1251, no extension) a file made of the document is offered under: the
  // title unless the document knows a better one.
  virtual std::string FileNameProposal() const { return title_; }

  // Fills a new document from its creation argument; false refuses it (the template then
  // destroys frame and document).
  virtual bool OnNewDocument() { return true; }
  // The argument of the OpenDocumentFile call that creates this document, while it opens (see
  // DocumentArgument); empty afterwards.
  const DocumentArgument& CreationArgument() const { return creationArgument_; }
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
  DocumentArgument creationArgument_;
  bool autoClose_ = false;  // set once the document is open; until then its template decides
};

}  // namespace platform
