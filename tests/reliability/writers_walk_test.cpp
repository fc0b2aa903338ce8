// Every writer of the program walked through every point at which a rewrite can fail (the fault
// walk of support/fault_walk.h): a failure is reported, the old files stay byte for byte, no
// temporary file is left, and what the writer holds in memory still matches what it can write
// again. A writer that succeeds in spite of a fault (a short write written out in full) leaves
// exactly the files of a clean run. The archive's own operations (insert, delete, move, sort,
// convert, copy, comments) are walked by the archive's fault test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "archive/archive_fixture.h"
#include "archive/comments/chart_comments.h"
#include "archive/comments/comment_pages.h"
#include "archive/export/export_formats.h"
#include "archive/import/foreign_import.h"
#include "archive/store/dynamic_archive.h"
#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/group_editor.h"
#include "conditions/core/groups.h"
#include "conditions/core/tlr_base.h"
#include "forecast/core/pred_list_file.h"
#include "foundation/config/configuration.h"
#include "foundation/files/data_folder.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/page_output.h"
#include "rectification/core/life_event_list.h"
#include "settings/core/colour_schemes.h"
#include "shell/core/entry/entry_history.h"
#include "shell/core/session.h"
#include "shell/profile.h"
#include "support/ephemeris_tables.h"
#include "support/fault_walk.h"
#include "views/core/arabic_parts.h"
#include "views/core/asp_graph_data.h"

namespace {

namespace fs = std::filesystem;
using platform::Answer;
using testing_support::FolderFiles;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::WriteFile;

fs::path Shipped(const char* name) { return testing_support::SourceDir() / "data" / name; }

// How the files of a failed write relate to the old ones.
enum class CommitRule {
  kAllOrNothing,  // every file as it was
  kEachFile,      // each file as it was or as a clean run leaves it (files copied one by one)
};

class Folder;
struct Writer {
  const char* name;
  std::function<void(Folder&)> setup;                   // the old files
  std::function<bool(Folder&, ScriptedPrompter&)> run;  // false: the failure was reported
  CommitRule rule = CommitRule::kAllOrNothing;
};

void PrintTo(const Writer& w, std::ostream* os) { *os << w.name; }

class Folder {
 public:
  fs::path operator/(std::string_view name) const { return folder_.Path() / name; }
  const fs::path& Path() const { return folder_.Path(); }
  void Copy(const char* shipped, const char* name = nullptr) {
    WriteFile(*this / (name ? name : shipped), ReadFile(Shipped(shipped)));
  }
  testing_support::TempFolder folder_;
  CommentSlotTable slots;
};

// Whether an error was reported to the user.
bool Told(const ScriptedPrompter& prompts) {
  for (const auto& s : prompts.shown)
    if (s.number < 0) return true;
  return false;
}

// The shipped text base, listed in "tlr.bas" by its full path, with its index.
void TextBase(Folder& f) {
  for (const char* n : {"signs.tlg", "signs.tlt", "signs.tlf"}) f.Copy(n);
  WriteFile(f / "tlr.bas", "\x03T" + (f / "signs").string() + "\n");
  TLRDATA data;
  ASSERT_EQ(data.LoadBases(), 0);
  ASSERT_EQ(data.bases.at(0).RebuildIndex(), 0);
}

class NoGroupDialogs final : public GroupEditorDialogs {
 public:
  bool AskName(const std::string&, std::string&) override { return false; }
  bool AskMembers(int, std::string&) override { return false; }
};

PredListRecord Record(int day, std::string comment) {
  PredListRecord r;
  EXPECT_TRUE(r.when.date.SetDate(day, 2, 2002, 'A').ok());
  EXPECT_TRUE(r.when.time.SetTime(12, 0).ok());
  r.movingLongitude = r.targetLongitude = 10.0;
  r.comment = std::move(comment);
  return r;
}

const std::string kSunInAries = "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";
const std::string kMoonInCancer = "2 + 1 1 103 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";

std::vector<Writer> Writers() {
  return {
      {"configuration", [](Folder& f) { ASSERT_TRUE(Configuration().Save(f / "velm.cfg").ok()); },
       [](Folder& f, ScriptedPrompter& p) {
         ConfigurationFile file;
         Configuration config;
         file.LoadAtStart(f / "velm.cfg", config);
         config.SetSystemName(kChartNatal, "OTHER");
         file.SaveAtExit(config);
         return !Told(p);
       }},
      {"configuration_unread", [](Folder& f) { WriteFile(f / "velm.cfg", "not a configuration"); },
       [](Folder& f, ScriptedPrompter& p) {
         ConfigurationFile file;
         Configuration config;
         file.LoadAtStart(f / "velm.cfg", config);
         p.shown.clear();
         config.SetSystemName(kChartNatal, "OTHER");
         p.Expect(kMsgSaveOverUnread, Answer::Yes);
         file.SaveAtExit(config);
         return !Told(p);
       }},
      {"aspect_system", [](Folder& f) { f.Copy("VELM.asp"); },
       [](Folder& f, ScriptedPrompter&) {
         AspectSystem system;
         EXPECT_TRUE(system.LoadSystem(f / "VELM.asp").ok());
         const int count = system.Count();
         EXPECT_EQ(system.DeleteAspect(0), 0);
         const bool ok = system.SaveSystem().ok();
         EXPECT_EQ(system.Count(), count - 1);  // the edit stays, to be saved again
         return ok;
       }},
      {"recent_archives",
       [](Folder& f) { WriteFile(f / "velm.arn", (f / "old.arc").string() + "\n"); },
       [](Folder& f, ScriptedPrompter&) {
         Archive archive(f.slots);
         archive.Recent().LoadNames();
         archive.Recent().AddRecentName((f / "new.arc").string());
         return archive.Recent().SaveNames() == 0;
       }},
      {"comment_page", [](Folder&) { WriteFile(CommentFileName(1, 0), "old page"); },
       [](Folder& f, ScriptedPrompter&) {
         Chart chart = archive_test::MakeChart("Paged");
         chart.commentSlot = 1;
         CommentPages pages(f.slots, 0);
         std::string text;
         EXPECT_TRUE(pages.Fill(chart, text).ok());
         const bool ok = pages.Save(chart, "new page").ok();
         EXPECT_EQ(chart.commentSlot, 1);
         return ok;
       }},
      {"session",
       [](Folder& f) {
         ASSERT_TRUE(WriteSessionFile(f / "velm.ses", {archive_test::MakeChart("Old")}).ok());
       },
       [](Folder& f, ScriptedPrompter&) {
         return WriteSessionFile(f / "velm.ses",
                                 {archive_test::MakeChart("A"), archive_test::MakeChart("B")})
             .ok();
       }},
      {"entry_history",
       [](Folder& f) {
         EntryHistory h;
         h.Remember(archive_test::MakeChart("Old").definition);
         ASSERT_TRUE(h.Save(f / kEntryHistoryFile).ok());
       },
       [](Folder& f, ScriptedPrompter&) {
         EntryHistory h;
         EXPECT_TRUE(h.Load(f / kEntryHistoryFile).ok());
         h.Remember(archive_test::MakeChart("New").definition);
         return h.Save(f / kEntryHistoryFile).ok();
       }},
      {"profile", [](Folder& f) { WriteFile(f / "velm.ini", "ShowTips=1\n"); },
       [](Folder& f, ScriptedPrompter&) {
         Profile profile;
         EXPECT_TRUE(profile.Load(f / "velm.ini").ok());
         profile.SetInt("NextTip", 3);
         return profile.Save(f / "velm.ini").ok();
       }},
      {"colour_schemes", [](Folder& f) { f.Copy("Velm.col"); },
       [](Folder& f, ScriptedPrompter&) {
         SchemeFile file;
         EXPECT_TRUE(LoadSchemeFile(f / "Velm.col", 50, file, "test").ok());
         file.schemes.erase(file.schemes.begin());
         return SaveSchemeFile(f / "Velm.col", file.schemes, false).ok();
       }},
      {"colour_schemes_damaged",
       [](Folder& f) { WriteFile(f / "Velm.col", ReadFile(Shipped("Velm.col")) + "broken\n"); },
       [](Folder& f, ScriptedPrompter&) {
         SchemeFile file;
         EXPECT_TRUE(LoadSchemeFile(f / "Velm.col", 50, file, "test").ok());
         EXPECT_GT(file.skippedLines, 0);
         return SaveSchemeFile(f / "Velm.col", file.schemes, true).ok();
       }},
      {"export_formats", [](Folder& f) { f.Copy("velm.exp"); },
       [](Folder& f, ScriptedPrompter&) {
         AllExpFormats formats;
         EXPECT_EQ(formats.Load(f / "velm.exp"), 0);
         ExportFormat copy = formats.Format(0);
         copy.name = "copy";
         EXPECT_EQ(formats.Append(copy), 1);
         const int result = formats.Save(f / "velm.exp");
         EXPECT_EQ(formats.Count(), 2);  // the edit stays, to be saved again
         return result == 0;
       }},
      {"export_output",
       [](Folder& f) {
         WriteFile(f / "a.arc",
                   archive_test::ArchiveBytes(kLayout4400, {archive_test::MakeChart("A")}));
         WriteFile(f / "a.csv", "old export\n");
       },
       [](Folder& f, ScriptedPrompter& p) {
         Archive archive(f.slots);
         EXPECT_EQ(archive.SetPath((f / "a.arc").string()), kLayout4400);
         EXPECT_EQ(archive.CreateIndex(), 0);
         AllExpFormats formats;
         EXPECT_EQ(formats.Load(Shipped("velm.exp")), 0);
         formats.Format(0).extension = "csv";
         p.Expect(kMsgReplaceFile, Answer::Yes);
         return archive.Export().ExportArchive((f / "a.csv").string(), 0, formats) >= 0;
       }},
      {"dynamic_archive",
       [](Folder& f) {
         WriteFile(f / "dyn.arc", "old");
         WriteFile(ArchiveCommentFileName(f / "dyn.arc", 3), "stale");
       },
       [](Folder& f, ScriptedPrompter&) {
         FDate begin;
         EXPECT_TRUE(begin.SetDate(1, 1, 2000, 'A').ok());
         testing_support::RecordingProgress progress;
         return WriteDynamicArchive(
                    ChartContext(GetConfiguration(), testing_support::SharedTables()),
                    archive_test::MakeChart("Dyn"), begin, 30.0, 3, f / "dyn.arc", progress)
             .ok();
       }},
      {"import_target",
       [](Folder& f) {
         WriteFile(f / "x.arc",
                   archive_test::ArchiveBytes(kLayout4400, {archive_test::MakeChart("Old")}));
         WriteFile(f / "x.ar0", "old text");
         WriteFile(f / "x.cat", "header\n|01.02.1990 13:45:30|New|Moskva|+030000554500N0373700E\n");
       },
       [](Folder& f, ScriptedPrompter& p) {
         Archive archive(f.slots);
         ForeignImport importer(archive);
         std::string target;
         p.Expect(kMsgReplaceConverted, Answer::Yes);
         return importer.ConvertToArchive((f / "x.cat").string(), target, 6) == 0;
       }},
      {"arabic_parts", [](Folder& f) { f.Copy("velm.arb"); },
       [](Folder& f, ScriptedPrompter&) {
         AllArabParts parts;
         EXPECT_TRUE(parts.Load(f / "velm.arb").status.ok());
         parts.Toggle(0);
         const bool ok = parts.SaveIfChanged(f / "velm.arb").ok();
         EXPECT_EQ(parts.Changed(), !ok);  // saved again at the next chance
         return ok;
       }},
      {"aspect_graph_lists", [](Folder& f) { f.Copy("velm.agr"); },
       [](Folder& f, ScriptedPrompter&) {
         CAspGraphData data;
         EXPECT_TRUE(data.Load(f / "velm.agr").ok());
         EXPECT_TRUE(data.DeleteList(0));
         return data.Save().ok();
       }},
      {"aspect_graph_lists_damaged",
       [](Folder& f) { WriteFile(f / "velm.agr", ReadFile(Shipped("velm.agr")) + "broken\n"); },
       [](Folder& f, ScriptedPrompter&) {
         CAspGraphData data;
         EXPECT_FALSE(data.Load(f / "velm.agr").ok());
         EXPECT_TRUE(data.DeleteList(0));
         return data.Save().ok();
       }},
      {"groups", [](Folder& f) { f.Copy("groups.lst"); },
       [](Folder& f, ScriptedPrompter&) {
         Groups groups;
         EXPECT_EQ(groups.LoadGroups(f / "groups.lst"), 0);
         return groups.SaveGroups(f / "groups.lst", 'P', 0) == 0;
       }},
      {"groups_damaged",
       [](Folder& f) { WriteFile(f / "groups.lst", ReadFile(Shipped("groups.lst")) + "broken\n"); },
       [](Folder& f, ScriptedPrompter& p) {
         Groups groups;
         EXPECT_EQ(groups.LoadGroups(f / "groups.lst"), 0);
         p.shown.clear();
         return groups.SaveGroups(f / "groups.lst", 'P', 0) == 0;
       }},
      {"groups_backup_of_the_editor", [](Folder& f) { f.Copy("groups.lst"); },
       [](Folder&, ScriptedPrompter& p) {
         Groups groups;
         NoGroupDialogs dialogs;
         GroupEditor editor(groups, dialogs);
         EXPECT_TRUE(editor.Open());  // without its backup the editor still opens
         return !Told(p);
       }},
      {"condition_list",
       [](Folder& f) { WriteFile(f / "quefuncs.lst", kSunInAries + kMoonInCancer); },
       [](Folder& f, ScriptedPrompter&) {
         CFunc set;
         EXPECT_EQ(set.LoadFuncs(f / "quefuncs.lst", 20), 2);
         set.ParseFuncs(kSunInAries, 20);
         return set.SaveFuncs(f / "quefuncs.lst") == 0;
       }},
      {"archive_list", [](Folder& f) { WriteFile(f / "quearcs.lst", "+old.arc\n"); },
       [](Folder& f, ScriptedPrompter&) {
         return SaveArcs(f / "quearcs.lst", {{"a.arc", true}, {"b.arc", false}}) == 0;
       }},
      {"synastry_archive_list", [](Folder& f) { WriteFile(f / "synarcs.lst", "+old.arc\n"); },
       [](Folder& f, ScriptedPrompter&) {
         return SaveArcs(f / ArcsFileName(QueryMode::kSynastry), {{"a.arc", true}}) == 0;
       }},
      {"logic_history", [](Folder& f) { WriteFile(f / "quelog.lst", "1&2\n"); },
       [](Folder& f, ScriptedPrompter&) {
         return SaveLogic(f / "quelog.lst", {"1|2", "1&2"}) == 0;
       }},
      {"text_base_list_and_groups", TextBase,
       [](Folder&, ScriptedPrompter&) {
         TLRDATA data;
         EXPECT_EQ(data.LoadBases(), 0);
         data.bases.at(0).switchByte = 'F';
         return data.Save() == 0;
       },
       CommitRule::kEachFile},
      {"text_base_text", TextBase,
       [](Folder&, ScriptedPrompter&) {
         TLRDATA data;
         EXPECT_EQ(data.LoadBases(), 0);
         TLRBASE& base = data.bases.at(0);
         // The files restored are newer than their index: it is rebuilt, a writer too.
         if (base.PrepareIndex() != 0) return false;
         return base.InsertText("a new text\n", "new", 0) > 0;
       },
       CommitRule::kEachFile},
      {"text_base_function", TextBase,
       [](Folder&, ScriptedPrompter&) {
         TLRDATA data;
         EXPECT_EQ(data.LoadBases(), 0);
         TLRBASE& base = data.bases.at(0);
         if (base.PrepareIndex() != 0) return false;
         CFunc set;
         set.ParseFuncs(kMoonInCancer, 20);
         return base.WriteFunction(base.TextNumbers().at(0), set) == 0;
       },
       CommitRule::kEachFile},
      {"interpretation_output_copy",
       [](Folder& f) {
         WriteFile(f / TLRDATA::kOutputName, "the texts\n");
         WriteFile(f / "mine.txt", "kept before\n");
       },
       [](Folder& f, ScriptedPrompter&) { return TLRDATA::CopyOutput(f / "mine.txt", false); }},
      {"prediction_list",
       [](Folder& f) { WriteFile(f / "L.pls", Record(1, "old").ToText() + "\n"); },
       [](Folder& f, ScriptedPrompter&) {
         PredList list;
         EXPECT_TRUE(list.Load(f / "L.pls").ok());
         list.records.push_back(Record(2, "new"));
         return list.Save(f / "L.pls").ok();
       }},
      {"prediction_list_damaged",
       [](Folder& f) { WriteFile(f / "L.pls", Record(1, "old").ToText() + "\nbroken\n"); },
       [](Folder& f, ScriptedPrompter&) {
         PredList list;
         EXPECT_TRUE(list.Load(f / "L.pls").ok());
         EXPECT_EQ(list.SkippedLines(), 1);
         const bool ok = list.Save(f / "L.pls").ok();
         EXPECT_EQ(list.SkippedLines(), ok ? 0 : 1);  // kept aside at the next save
         return ok;
       }},
      {"prediction_list_append",
       [](Folder& f) { WriteFile(f / "L.pls", Record(1, "old").ToText() + "\n"); },
       [](Folder& f, ScriptedPrompter&) {
         return AppendPredListRecords(f / "L.pls", {Record(3, "added")}).ok();
       }},
      {"life_events", [](Folder& f) { f.Copy("velm.lev"); },
       [](Folder& f, ScriptedPrompter&) {
         LifeEventList list;
         Status problem;
         list.Load(f / "velm.lev", problem);
         EXPECT_TRUE(problem.ok());
         EXPECT_TRUE(list.Add("Wedding", 5, 3, 1987, "AC", "G").ok());
         return list.Save(f / "velm.lev").ok();
       }},
      {"tremin_events_damaged",
       [](Folder& f) { WriteFile(f / "velm.tev", ReadFile(Shipped("velm.tev")) + "broken\n"); },
       [](Folder& f, ScriptedPrompter&) {
         LifeEventList list;
         Status problem;
         list.Load(f / "velm.tev", problem);
         EXPECT_TRUE(list.Add("Move", 1, 9, 1999, "A", "D").ok());
         return list.Save(f / "velm.tev").ok();
       }},
      {"files_written_together_at_exit",
       [](Folder& f) {
         WriteFile(f / "velm.ini", "ShowTips=1\n");
         WriteFile(f / "velm.arb", ReadFile(Shipped("velm.arb")));
       },
       [](Folder& f, ScriptedPrompter&) {
         RewriteBatch batch;
         bool ok = RewriteFile(f / "velm.ini", "ShowTips=0\n").ok();
         ok = RewriteFile(f / "velm.arb", "changed\r\n").ok() && ok;
         ok = RewriteFile(f / "velm.arn", "/new.arc\n").ok() && ok;
         return batch.Finish().ok() && ok;
       },
       CommitRule::kEachFile},
      {"page_printed_to_pdf",  // the file's date differs from run to run: one file
       [](Folder& f) { WriteFile(f / "chart.pdf", "old"); },
       [](Folder& f, ScriptedPrompter&) {
         return platform::WritePdf(f / "chart.pdf", "chart", 1, [](platform::Dc&, int) {}).ok();
       }},
      {"page_pictures_png_and_svg",
       [](Folder& f) {
         for (const char* n : {"chart.png", "chart.svg"}) WriteFile(f / n, "old");
       },
       [](Folder& f, ScriptedPrompter&) {
         const platform::PageRenderer render = [](platform::Dc&, int) {};
         const bool ok = platform::WritePagePng(f / "chart.png", 1, 30, render).ok();
         return platform::WritePageSvg(f / "chart.svg", 1, render).ok() && ok;
       },
       CommitRule::kEachFile},
      {"shipped_files_advice_and_bases",
       [](Folder& f) {
         fs::create_directories(f / "defaults");
         for (const char* n : {"advice.txt", "groups.lst", "velm.exp"})
           WriteFile(f / "defaults" / n, ReadFile(Shipped(n)));
         WriteFile(f / "data" / "groups.lst", "P mine|A\n");
       },
       [](Folder& f, ScriptedPrompter&) { return SeedDataFolder(f / "data", f / "defaults").ok(); },
       CommitRule::kEachFile},
  };
}

// The files of a failed run against the old ones and those of a clean run.
void ExpectKept(CommitRule rule, const FolderFiles& initial, const FolderFiles& clean,
                const FolderFiles& now) {
  if (rule == CommitRule::kAllOrNothing) {
    EXPECT_EQ(now, initial);
    return;
  }
  for (const auto& [name, bytes] : now) {
    const auto old = initial.find(name);
    const auto written = clean.find(name);
    EXPECT_TRUE((old != initial.end() && old->second == bytes) ||
                (written != clean.end() && written->second == bytes))
        << name << " is neither old nor new";
  }
  for (const auto& [name, bytes] : initial) {
    EXPECT_TRUE(now.count(name) > 0 || clean.count(name) == 0) << name << " lost";
  }
}

class WritersWalk : public ::testing::TestWithParam<Writer> {
 protected:
  void SetUp() override {
    GetSettings().SetFolder(folder_.Path());
    testing_support::SharedTables();
    GetParam().setup(folder_);
    initial_ = testing_support::Snapshot(folder_.Path());
  }
  void TearDown() override {
    DisarmFault();
    GetSettings().SetFolder({});
  }
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadEphemeris(testing_support::SourceDir() / "data" / "velm.str").ok());
  }

  struct Outcome {
    bool ok = false;     // the writer reported success
    bool fired = false;  // the fault happened
    FolderFiles files;   // the folder afterwards
  };
  // The writer run once from the old files with `fault` armed.
  Outcome Run(const FileFault& fault) {
    testing_support::Restore(folder_.Path(), initial_);
    folder_.slots = CommentSlotTable();
    Outcome out;
    {
      ScriptedPrompter prompts;
      ArmFault(fault);
      out.ok = GetParam().run(folder_, prompts);
      out.fired = FaultFired();
      DisarmFault();
    }
    out.files = testing_support::Snapshot(folder_.Path());
    return out;
  }
  // The folder after a clean run.
  FolderFiles Clean() {
    const Outcome clean = Run(testing_support::kNoFault);
    EXPECT_TRUE(clean.ok) << "the clean run";
    EXPECT_NE(clean.files, initial_) << "the clean run wrote nothing";
    return clean.files;
  }

  Folder folder_;
  FolderFiles initial_;
};

TEST_P(WritersWalk, EveryFailureIsReportedAndKeepsTheOldFiles) {
  FolderFiles clean;
  testing_support::WalkFaults([&](const FileFault& fault) {
    if (fault.at == testing_support::kNoFault.at) {
      clean = Clean();
      return false;
    }
    SCOPED_TRACE(testing_support::FaultName(fault));
    const Outcome out = Run(fault);
    if (!out.fired) return false;
    if (out.ok) {
      EXPECT_EQ(out.files, clean) << "success reported after a fault";
    } else {
      ExpectKept(GetParam().rule, initial_, clean, out.files);
    }
    return true;
  });
}

// Failures that last the whole run: a data folder that cannot be written, a full disk. Where the
// tests do not run as the superuser, a folder made read-only for real too.
TEST_P(WritersWalk, AReadOnlyFolderOrAFullDiskChangesNothing) {
  const FolderFiles clean = Clean();
  for (const FileFault lasting :
       {FileFault{FaultPoint::kReadOnly, 0}, FileFault{FaultPoint::kNoSpace, 0}}) {
    SCOPED_TRACE(testing_support::FaultName(lasting));
    const Outcome out = Run(lasting);
    EXPECT_FALSE(out.ok);
    ExpectKept(GetParam().rule, initial_, clean, out.files);
  }
  if (::geteuid() == 0) return;
  testing_support::Restore(folder_.Path(), initial_);
  const auto setModes = [this](fs::perms perms) {
    fs::permissions(folder_.Path(), perms);
    for (const auto& e : fs::recursive_directory_iterator(folder_.Path()))
      if (e.is_directory()) fs::permissions(e.path(), perms);
  };
  setModes(fs::perms::owner_read | fs::perms::owner_exec);
  bool ok = false;
  {
    ScriptedPrompter prompts;
    ok = GetParam().run(folder_, prompts);
  }
  const FolderFiles now = testing_support::Snapshot(folder_.Path());
  setModes(fs::perms::owner_all);
  EXPECT_FALSE(ok) << "a real read-only folder";
  ExpectKept(GetParam().rule, initial_, clean, now);
}

INSTANTIATE_TEST_SUITE_P(Writers, WritersWalk, ::testing::ValuesIn(Writers()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
