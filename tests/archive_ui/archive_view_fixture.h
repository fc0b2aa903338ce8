// Shared by the browser tests: an archive of named charts, current and in the recent list, with
// the browser dialog on it, strict modal answers and the scripted prompter.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "archive/archive_fixture.h"
#include "archive/browser/archive_view.h"
#include "archive/browser/archive_view_commented.h"

namespace archive_ui_test {

using archive_test::ArchiveTest;
using archive_test::MakeChart;

class ArchiveViewTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
  }
  void TearDown() override {
    view_.reset();
    prompts_.VerifyAllUsed();
    EXPECT_TRUE(platform::ModalDriver::Unanswered().empty());
    platform::ModalDriver::Clear();
    ArchiveTest::TearDown();
  }
  // An archive of charts with these names, current and in the recent list, and the dialog on it.
  void Open(const std::vector<std::string>& names, int layout = kLayout4400,
            const std::string& file = "a.arc") {
    std::vector<Chart> charts;
    for (const std::string& name : names) charts.push_back(MakeChart(name));
    OpenArchive(file, layout, charts);
    archive_.Recent().AddRecentName(PathOf(file));
    Show();
  }
  // The plain browser, or with `commented` the browser with comments.
  void Show(bool commented = false) {
    view_.reset();
    if (commented)
      view_ = std::make_unique<ArchiveViewCommented>(archive_);
    else
      view_ = std::make_unique<ArchiveView>(archive_);
    view_->OnInitDialog();
  }
  ArchiveBrowserList& List() { return view_->List(); }
  void SelectRows(std::initializer_list<int> rows) {
    List().ClearSelection();
    for (int row : rows) List().SetSelected(row, true);
  }
  void Click(int id) {
    QPushButton* button = view_->Button(id);
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->isEnabled()) << id;
    button->click();
  }
  std::vector<int> Shown() const {
    std::vector<int> numbers;
    for (const auto& s : prompts_.shown) numbers.push_back(s.number);
    return numbers;
  }
  std::string Marks() const {
    std::string marks;
    for (int n = 0; n < archive_.RecordCount(); ++n) marks += archive_.Entry(n).mark;
    return marks;
  }
  std::unique_ptr<ArchiveView> view_;
};

}  // namespace archive_ui_test
