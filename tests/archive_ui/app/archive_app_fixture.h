// The fixture of the archive's windows in the running program: the configuration the test
// changes is put back afterwards, an archive of the test's own is opened, and a window's printed
// pages and screen are written for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_fixture.h"
#include "foundation/config/configuration.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "shell/shell_fixture.h"

namespace shell_test {

class ArchiveAppTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    saved_ = GetConfiguration();
  }
  void TearDown() override {
    ShellTest::TearDown();
    GetConfiguration() = saved_;
  }

  // Writes `charts` as an archive of the 4400 layout and makes it the program's current archive.
  void OpenArchive(const std::vector<Chart>& charts) {
    const std::string path = (folder_ / "demo.arc").string();
    archive_test::WriteFile(path, archive_test::ArchiveBytes(kLayout4400, charts));
    ASSERT_EQ(app_->GetArchive().OpenByName(path), 0);
  }

  // The view's pages through the print path as `name`.pdf, page 1 as a 100-dpi `name`.png and
  // its window as `name`_screen.png, each shown to a person.
  void ShowPrinted(platform::View& view, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path pdf = folder_ / (name + ".pdf");
    const fs::path png = folder_ / (name + ".png");
    const fs::path screen = folder_ / (name + "_screen.png");
    ASSERT_TRUE(view.PrintToPdf(pdf).ok());
    EXPECT_GT(fs::file_size(pdf), 1000u);
    ASSERT_TRUE(platform::WritePagePng(png, 1, 100, [&view](platform::Dc& dc, int page) {
                  view.OnPrint(dc, page);
                }).ok());
    ASSERT_TRUE(platform::SaveWidgetScreenshot(*view.Frame(), screen).ok());
    testing_support::ShowToPerson(pdf, name);
    testing_support::ShowToPerson(png, name);
    testing_support::ShowToPerson(screen, name + "_screen");
  }

  Configuration saved_;
};

}  // namespace shell_test
