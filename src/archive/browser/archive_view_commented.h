// The archive browser with comments: the record list (single selection) with an editor of one
// comment page of the chosen record of a 4.4 archive. The chosen record is the one marked 'Y';
// its text is stored when another record or page is chosen, on "ЗАГРУЗИТЬ", on "ЗАКРЫТЬ
// КОММЕНТАРИЙ", before the archive is changed or copied, and after a question on "Выход". The
// editor holds at most 32000 bytes of the stored form and only text code page 1251 can hold.
#pragma once

#include <QComboBox>

#include "archive/browser/archive_view.h"

class RichTextControl;

class ArchiveViewCommented : public ArchiveView {
  Q_OBJECT

 public:
  static constexpr int kIdPage = 1608;
  static constexpr int kIdEdit = 1609;

  explicit ArchiveViewCommented(Archive& archive, QWidget* parent = nullptr);

  void OnInitDialog() override;
  bool CheckOk() override;
  void reject() override;

  // True when the editor holds text, or the record of `row` has a text on the current page.
  bool HasCommentOrText(int row) const;
  // Stores the editor's text as page `page` of the record of `row` when the editor was entered
  // and its text differs from the stored one; `ask`: after message 515 (No drops the change).
  // False when the text was not stored (the list was stale, or the write failed): it stays in
  // the editor, on the same chart found again in the list read anew, and is stored by the next
  // change of record or page; the caller then does nothing else.
  bool SaveCommentIfModified(int row, int page, bool ask);
  // The page combo's choice: the text stored on the old page, the new page shown and remembered.
  void OnPageChanged(int page);
  void OnDelete() override;
  // "ЗАКРЫТЬ КОММЕНТАРИЙ": the text stored, the chosen record marked alone, the plain browser next.
  void OnComment() override;

  // --- For the tests ---
  QComboBox* PageCombo() const { return pages_; }
  RichTextControl* Editor() const { return edit_; }
  // The editor was entered (as when it gains the focus).
  void EditorEntered() { modified_ = true; }
  bool Modified() const { return modified_; }

 protected:
  void OnListSelectionChanged() override;
  void ArchiveChanged() override;
  bool BeforeArchiveChange() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The row chosen (the list's one selected row); -1 none.
  int ChosenRow() const;
  // The record marked 'Y'; -1 none.
  int MarkedRecord() const;
  // The record of `row` marked alone, chosen in the list, its text of the current page shown.
  void ShowRecord(int row);
  // The editor keeps `typed`, entered, on the row of the chart `chart` in the list as it is now
  // (none when the chart is no longer there).
  void KeepTyped(const ArchiveIndexEntry& chart, const std::string& typed);
  // The switch to the plain browser (without storing anything).
  void SwitchToPlain();
  int Page() const;

  QComboBox* pages_;
  RichTextControl* edit_;
  bool modified_ = false;
};
