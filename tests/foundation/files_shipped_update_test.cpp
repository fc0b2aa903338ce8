// A start brings the data folder's seeded copies of the shipped files up to date and keeps the
// user's own files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/files/data_folder.h"
#include "foundation/files/settings.h"
#include "foundation/files/sha256.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::SourceDir;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(Sha256, KnownDigests) {
  const std::pair<std::string, const char*> rows[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // 56 bytes: the length no longer fits the first block.
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& [bytes, digest] : rows) EXPECT_EQ(Sha256Hex(bytes), digest) << bytes.size();
  TempFolder dir;
  WriteFile(dir / "f", std::string(200000, 'x') + "end");
  EXPECT_EQ(Sha256HexOfFile(dir / "f"), Sha256Hex(std::string(200000, 'x') + "end"));
  EXPECT_FALSE(Sha256HexOfFile(dir / "missing").has_value());
}

// The inode of every file of the folder: a rewrite through SafeRewrite gives the file a new one.
std::map<std::string, ino_t> Inodes(const fs::path& folder) {
  std::map<std::string, ino_t> inodes;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    struct stat st {};
    if (::stat(e.path().c_str(), &st) == 0) inodes[e.path().filename().native()] = st.st_ino;
  }
  return inodes;
}

class ShippedUpdate : public ::testing::Test {
 protected:
  // Ships `versions` of `name` (the last one present) and lists them all.
  void Ship(const std::string& name, const std::vector<std::string>& versions) {
    WriteFile(shipped_ / name, versions.back());
    for (const std::string& v : versions)
      list_ += Sha256Hex(v) + " " + std::to_string(v.size()) + " " + name + "\n";
    WriteFile(shipped_ / kShippedVersionsName, list_);
  }
  std::vector<std::string> Start() {
    ScriptedPrompter prompts;
    DataFolderCandidates candidates;
    candidates.shippedDefaults = {shipped_};
    EXPECT_TRUE(PrepareDataFolder({data_, DataFolderOrigin::CommandLine}, candidates).ok());
    std::vector<std::string> texts;
    for (const auto& shown : prompts.shown) texts.push_back(shown.text);
    return texts;
  }

  TempFolder root_;
  fs::path shipped_ = root_ / "share";
  fs::path data_ = root_ / "data";
  std::string list_;
};

TEST_F(ShippedUpdate, UnchangedCopiesAreReplacedTheUsersKeptAndToldOncePerShippedVersion) {
  fs::create_directories(shipped_);
  Ship("Velm.est", {"stars 1", "stars two", "stars 3"});
  Ship("VELM.asp", {"aspects 1", "aspects 2"});
  Ship("Velm.col", {"colours 1", "colours 2"});
  Ship("Town.dat", {"towns"});
  fs::create_directories(data_);
  WriteFile(data_ / "Velm.est", "stars two");     // seeded by an earlier version, never changed
  WriteFile(data_ / "velm.asp", "my aspects");    // changed by the user (another spelling)
  WriteFile(data_ / "Velm.col", "colours 2");     // the present version already
  WriteFile(data_ / "Town.dat", "towns edited");  // the user's; no record of its version yet

  std::vector<std::string> told = Start();
  EXPECT_EQ(ReadFile(data_ / "Velm.est"), "stars 3");
  EXPECT_EQ(ReadFile(data_ / "velm.asp"), "my aspects");
  EXPECT_EQ(ReadFile(data_ / "velm.asp.new"), "aspects 2");
  EXPECT_EQ(ReadFile(data_ / "Town.dat"), "towns edited");
  EXPECT_EQ(ReadFile(data_ / "Town.dat.new"), "towns");
  EXPECT_FALSE(fs::exists(data_ / "Velm.est.new"));
  EXPECT_FALSE(fs::exists(data_ / "Velm.col.new"));
  EXPECT_FALSE(fs::exists(data_ / kShippedVersionsName));
  // One message for both kept files, naming each and where its shipped version lies.
  ASSERT_EQ(told.size(), 1u);
  for (const char* name : {"VELM.asp", "VELM.asp.new", "Town.dat.new", "Town.dat"})
    EXPECT_NE(told[0].find(name), std::string::npos) << name;
  EXPECT_EQ(told[0].find("Velm.est"), std::string::npos);

  // The next start says nothing and rewrites nothing, though the user removed a copy beside.
  fs::remove(data_ / "Town.dat.new");
  const std::map<std::string, ino_t> before = Inodes(data_);
  EXPECT_TRUE(Start().empty());
  EXPECT_EQ(Inodes(data_), before);

  // The user changes a file that came from the present version: nothing to tell either.
  WriteFile(data_ / "Velm.est", "my stars");
  EXPECT_TRUE(Start().empty());
  EXPECT_FALSE(fs::exists(data_ / "Velm.est.new"));

  // A newer version of the aspects is shipped: told once more, its copy beside replaced.
  list_.clear();
  Ship("Velm.est", {"stars 1", "stars two", "stars 3"});
  Ship("VELM.asp", {"aspects 1", "aspects 2", "aspects 3"});
  told = Start();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("VELM.asp"), std::string::npos);
  EXPECT_EQ(told[0].find("Velm.est"), std::string::npos);
  EXPECT_EQ(ReadFile(data_ / "velm.asp.new"), "aspects 3");
  EXPECT_EQ(ReadFile(data_ / "velm.asp"), "my aspects");
  EXPECT_TRUE(Start().empty());
}

TEST_F(ShippedUpdate, DamagedListsAndOddFilesChangeNothing) {
  fs::create_directories(shipped_);
  Ship("Velm.est", {"stars 1", "stars 2"});
  Ship("velm.lnd", {"lines 1", "lines 2"});
  // Damaged lines among good ones, and a damaged record of the data folder.
  WriteFile(shipped_ / kShippedVersionsName, "# comment\nnot a line\n" + list_ +
                                                 std::string(64, 'z') + " 7 velm.lnd\n" +
                                                 Sha256Hex("lines 1") + " x velm.lnd\n");
  fs::create_directories(data_);
  WriteFile(data_ / kSeedRecordName, std::string("\t\t\n\xff\xfe garbage\nvelm.lnd\tshort\n"));
  WriteFile(data_ / "lines-target", "lines 1");
  fs::create_symlink(data_ / "lines-target", data_ / "velm.lnd");  // a link is left alone
  WriteFile(data_ / "Velm.est", "stars 1");
  EXPECT_TRUE(Start().empty());
  EXPECT_EQ(ReadFile(data_ / "Velm.est"), "stars 2");
  EXPECT_TRUE(fs::is_symlink(data_ / "velm.lnd"));
  EXPECT_EQ(ReadFile(data_ / "lines-target"), "lines 1");
}

TEST(ShippedData, EveryShippedFilesPresentVersionIsTheLastListed) {
  const fs::path data = SourceDir() / "data";
  std::map<std::string, std::string> last;  // name -> "<sha256> <size>"
  std::istringstream list(ReadFile(data / kShippedVersionsName));
  std::string sha, size, name;
  std::string line;
  while (std::getline(list, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    ASSERT_TRUE(fields >> sha >> size >> name) << line;
    last[name] = sha + " " + size;
  }
  int files = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(data)) {
    const std::string n = e.path().filename().native();
    if (n == "SOURCES.md" || n == kShippedVersionsName) continue;
    ++files;
    EXPECT_EQ(last[n], *Sha256HexOfFile(e.path()) + " " + std::to_string(fs::file_size(e.path())))
        << n << ": run scripts/shipped-versions.sh";
  }
  EXPECT_EQ(files, static_cast<int>(last.size()));
}

// The start path with the shipped data itself: a folder seeded by an earlier version with its
// star catalogue, and an aspect system the user edited.
TEST(ShippedData, AStartReplacesAnEarlierShippedFileAndKeepsTheUsersOwn) {
  TempFolder root;
  const fs::path data = root / "data";
  fs::create_directories(data);
  const fs::path shipped = SourceDir() / "data";
  fs::copy_file(SourceDir() / "tests" / "fixtures" / "data_folder" / "Velm.est.first",
                data / "Velm.est");
  ASSERT_NE(ReadFile(data / "Velm.est"), ReadFile(shipped / "Velm.est"));
  WriteFile(data / "VELM.asp", ReadFile(shipped / "VELM.asp") + "my own line\r\n");

  DataFolderCandidates candidates;
  candidates.commandLine = data;
  candidates.shippedDefaults = {root / "missing", shipped};
  const DataFolderChoice choice = ChooseDataFolder(candidates);
  {
    ScriptedPrompter prompts;
    ASSERT_TRUE(PrepareDataFolder(choice, candidates).ok());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("VELM.asp.new"), std::string::npos);
  }
  EXPECT_EQ(ReadFile(data / "Velm.est"), ReadFile(shipped / "Velm.est"));
  EXPECT_EQ(ReadFile(data / "VELM.asp"), ReadFile(shipped / "VELM.asp") + "my own line\r\n");
  EXPECT_EQ(ReadFile(data / "VELM.asp.new"), ReadFile(shipped / "VELM.asp"));
  // Seeded on its first use like the default folder: every shipped program file is there.
  for (const char* name : {"advice.txt", "velm.agr", "velm.exp", "tlr.bas", "Town.dat"})
    EXPECT_EQ(ReadFile(data / name), ReadFile(shipped / name)) << name;
  EXPECT_FALSE(fs::exists(data / "SOURCES.md"));

  // A second start overwrites nothing and says nothing.
  const std::map<std::string, ino_t> before = Inodes(data);
  ScriptedPrompter prompts;
  ASSERT_TRUE(PrepareDataFolder(choice, candidates).ok());
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Inodes(data), before);
}

TEST(ShippedData, AnEmptyListNamesTheFileAndTheFolder) {
  TempFolder dir;
  const fs::path saved = GetSettings().Folder();
  GetSettings().SetFolder(dir.Path());
  const std::string text = MissingDataText("Форматов экспорта", "velm.exp", "Подсказка.");
  GetSettings().SetFolder(saved);
  EXPECT_EQ(text.rfind(Cp1251("Форматов экспорта нет"), 0), 0u) << text;
  EXPECT_NE(text.find("velm.exp"), std::string::npos);
  EXPECT_NE(text.find(dir.Path().native()), std::string::npos);
  EXPECT_NE(text.find(Cp1251("\nПодсказка.")), std::string::npos);
}

}  // namespace
