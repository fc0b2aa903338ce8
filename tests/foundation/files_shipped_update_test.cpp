// A start brings the data folder's seeded copies of the shipped files up to date and keeps the
// user's own files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/files/data_folder.h"
#include "foundation/files/settings.h"
#include "foundation/files/sha256.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;  // NOLINT(google-build-using-namespace)

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
  for (const fs::directory_entry& e : fs::directory_iterator(folder))
    if (struct stat st{}; ::stat(e.path().c_str(), &st) == 0)
      inodes[e.path().filename()] = st.st_ino;
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
  // A start with data_ named on the command line; the messages it shows.
  std::vector<ScriptedPrompter::Shown> Start() {
    ScriptedPrompter prompts;
    DataFolderCandidates candidates;
    candidates.commandLine = data_;
    candidates.shippedDefaults = {root_ / "missing", shipped_};
    EXPECT_TRUE(PrepareDataFolder(ChooseDataFolder(candidates), candidates).ok());
    return prompts.shown;
  }
  bool Tells(const std::string& text, const char* name) { return text.find(name) != text.npos; }

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
  Ship("tlr.bas", {"\x03Tsigns\n"});
  const struct {
    const char *name, *before, *after, *beside;  // beside: the shipped copy kept beside, if any
  } files[] = {{"Velm.est", "stars two", "stars 3", nullptr},  // an earlier version, unchanged
               {"velm.asp", "my aspects", "my aspects", "aspects 2"},  // the user's (other case)
               {"Velm.col", "colours 2", "colours 2", nullptr},        // the present version
               {"Town.dat", "towns edited", "towns edited", "towns"},  // no record of a version
               // rewritten by the program itself with the folder's path: never the user's
               {"tlr.bas", "\x03T/old/signs\n", "\x03T/old/signs\n", nullptr}};
  fs::create_directories(data_);
  for (const auto& f : files) WriteFile(data_ / f.name, f.before);
  auto told = Start();
  for (const auto& f : files) {
    EXPECT_EQ(ReadFile(data_ / f.name), f.after) << f.name;
    const fs::path beside = data_ / (f.name + std::string(".new"));
    EXPECT_EQ(fs::exists(beside) ? ReadFile(beside) : "-", f.beside ? f.beside : "-") << f.name;
  }
  EXPECT_FALSE(fs::exists(data_ / kShippedVersionsName));
  // One message for both kept files, naming each and where its shipped version lies.
  ASSERT_EQ(told.size(), 1u);
  for (const char* name : {"VELM.asp", "VELM.asp.new", "Town.dat.new", "Town.dat"})
    EXPECT_TRUE(Tells(told[0].text, name)) << name;
  EXPECT_FALSE(Tells(told[0].text, "Velm.est") || Tells(told[0].text, "tlr.bas"));

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
  Ship("tlr.bas", {"\x03Tsigns\n", "\x03Tsigns\n\x03Thouses\n"});
  told = Start();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(Tells(told[0].text, "VELM.asp") && !Tells(told[0].text, "Velm.est") &&
              !Tells(told[0].text, "tlr.bas"));
  EXPECT_FALSE(fs::exists(data_ / "tlr.bas.new"));
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

// The shipped data themselves: every file's present version is the last listed; a folder seeded
// by an earlier version of the star catalogue, with an aspect system the user edited, gets the
// present catalogue, the aspects beside the user's and every other shipped file, and only once.
TEST_F(ShippedUpdate, TheShippedDataReplaceAnEarlierCopyAndKeepTheUsersOwn) {
  shipped_ = SourceDir() / "data";
  std::map<std::string, std::string> last;  // name -> "<sha256> <size>"
  std::istringstream list(ReadFile(shipped_ / kShippedVersionsName));
  for (std::string line, sha, size, name; std::getline(list, line);) {
    std::istringstream fields(line);
    if (line.empty() || line[0] == '#') continue;
    ASSERT_TRUE(fields >> sha >> size >> name) << line;
    last[name] = sha + " " + size;
  }
  fs::create_directories(data_);
  fs::copy_file(FixturePath("data_folder/Velm.est.first"), data_ / "Velm.est");
  ASSERT_NE(ReadFile(data_ / "Velm.est"), ReadFile(shipped_ / "Velm.est"));
  const std::string mine = ReadFile(shipped_ / "VELM.asp") + "my own line\r\n";
  WriteFile(data_ / "VELM.asp", mine);
  const auto told = Start();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(Tells(told[0].text, "VELM.asp.new"));
  EXPECT_EQ(ReadFile(data_ / "VELM.asp"), mine);
  std::size_t files = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(shipped_)) {
    const std::string n = e.path().filename();
    if (n == "SOURCES.md" || n == kShippedVersionsName) {
      EXPECT_FALSE(fs::exists(data_ / n));
      continue;
    }
    ++files;
    EXPECT_EQ(last[n], *Sha256HexOfFile(e.path()) + " " + std::to_string(fs::file_size(e.path())))
        << n << ": run scripts/shipped-versions.sh";
    EXPECT_EQ(ReadFile(data_ / (n == "VELM.asp" ? n + ".new" : n)), ReadFile(e.path())) << n;
  }
  EXPECT_EQ(files, last.size());
  const std::map<std::string, ino_t> before = Inodes(data_);
  EXPECT_TRUE(Start().empty());
  EXPECT_EQ(Inodes(data_), before);
}

// A walk of the shipped folder that stops (the folder missing, a subfolder that cannot be read)
// leaves files unseeded: a failure with its message, never success. The seeding runs in a child
// process that, as root, first gives up reading every folder.
TEST_F(ShippedUpdate, AWalkOfTheShippedFolderThatStopsIsAFailure) {
  fs::create_directories(shipped_ / "sub");
  Ship("Velm.est", {"stars"});
  WriteFile(shipped_ / "sub" / "inner", "inner");
  fs::permissions(shipped_ / "sub", fs::perms::none);
  fs::permissions(root_.Path(), fs::perms::all);  // the child's data folder is made in it
  const auto stops = [this](const fs::path& defaults) {
    const Status st = SeedDataFolder(data_, defaults);
    return st.MessageNumber() == kMsgShippedFolderUnread && st.Where() == defaults.native();
  };
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(2);
        std::_Exit(stops(shipped_) ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(stops(root_ / "missing"));
  fs::permissions(shipped_ / "sub", fs::perms::owner_all);
}

TEST(ShippedData, AnEmptyListNamesTheFileAndTheFolder) {
  TempFolder dir;
  const fs::path saved = GetSettings().Folder();
  GetSettings().SetFolder(dir.Path());
  const std::string text = MissingDataText("Форматов экспорта", "velm.exp", "Подсказка.");
  GetSettings().SetFolder(saved);
  EXPECT_EQ(text.rfind(Cp1251("Форматов экспорта нет"), 0), 0u) << text;
  for (const std::string& part :
       {std::string("velm.exp"), dir.Path().string(), Cp1251("\nПодсказка.")})
    EXPECT_NE(text.find(part), std::string::npos) << part;
}

}  // namespace
