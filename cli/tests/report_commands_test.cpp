// "kavlo gather", "kavlo show" and "kavlo export" end to end, output captured.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "cli/tests/command_outcome.h"
#include "platform/testing/temp_folder.h"
#include "report/report_file.h"

namespace kavlo::cli {
namespace {

namespace fs = std::filesystem;
using kavlo::cli::testing::Kavlo;
using kavlo::cli::testing::Outcome;
using kavlo::testing::ReadAll;
using kavlo::testing::TempFolder;

/// A report with one script of four titles: text, a file list, an expandable
/// tree and one that was never gathered.
report::ReportContents SmallReport() {
    report::ReportContents report;
    report.navigation.Add(NavNode::kRootMarker, 100, "PC1  [local computer]");
    report.navigation.Add(100, 200, "Base");
    for (std::uint32_t key : {301u, 302u, 303u, 304u}) report.navigation.Add(200, key, "");
    report.infoPage.kind = "text";
    report.infoPage.runPending = 0;
    report.infoPage.text = "Current Date: 03/14/01 21:05:00\n";
    auto file = std::make_unique<ScriptRecord>("C:\\KAVLO\\Base.dbg", "Base");
    file->treeKey = 200;
    const char* names[] = {"Notes", "Files", "Services", "Empty"};
    for (std::uint32_t i = 0; i < 4; ++i) {
        TitleRecord& title = file->AddTitle(names[i]);
        title.treeKey = 301 + i;
        title.runPending = i == 3 ? 1 : 0;
        const_cast<NavNode*>(report.navigation.Find(301 + i))->SetText(names[i]);
    }
    file->titles[0]->kind = "text";
    file->titles[0]->text = "Hello\nW\xE9lt\n";
    file->titles[1]->SetKindLine("filelist,Name,8,Version,10");
    file->titles[1]->text = "0,kernel32.dll,5.0\n1,ntdll.dll,\n";
    TitleRecord& services = *file->titles[2];
    services.SetKindLine("treexptxt,Name,20");
    services.PrepareRun();
    ResultNode& running = services.root.AddChild("[D] Running");
    running.AddChild("[D] Spooler");
    running.AddChild("plain entry");
    services.root.AddChild("{D} Stopped");
    file->titles[3]->kind = "col";
    report.catalog.push_back(std::move(file));
    return report;
}

class ReportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(report::SaveReportFile(path, SmallReport()).ok); }
    TempFolder folder;
    const std::string path = folder.File("small.IFO");
};

TEST_F(ReportCommandsTest, ShowPrintsTheOutlineWithTheFileLabel) {
    const Outcome outcome = Kavlo(ShowCommand, {path});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "PC1  [file]\n"
              "  Base\n"
              "    Notes (text, 2 lines)\n"
              "    Files (filelist, 2 rows)\n"
              "    Services (treexptxt, 4 nodes)\n"
              "    Empty (col, not gathered)\n");
}

TEST_F(ReportCommandsTest, ShowTitles) {
    struct Case {
        std::string title;
        std::string text;
    };
    const Case cases[] = {
        {"Notes", "== Base / Notes ==\nHello\nW\xC3\xA9lt\n"},  // UTF-8 from Windows-1252
        {"Files",
         "== Base / Files ==\n"
         "Name          Version\n"
         "------------  -------\n"
         "kernel32.dll  5.0\n"
         "ntdll.dll\n"},
        {"Base/Services", "== Base / Services ==\nServices\n  Running\n    Spooler\n    plain entry\n  Stopped\n"},
        {"Empty", "== Base / Empty ==\n"},  // a list without columns or rows shows nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const Outcome outcome = Kavlo(ShowCommand, {path, "--title", c.title});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, c.text);
    }
    EXPECT_EQ(Kavlo(ShowCommand, {path, "--info"}).out, "Current Date: 03/14/01 21:05:00\n");
}

TEST_F(ReportCommandsTest, ShowFailures) {
    const std::string missing = folder.File("missing.IFO");
    Outcome outcome = Kavlo(ShowCommand, {missing});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              missing + "\nCannot find this file.\nPlease verify that the correct path and file name are given.\n");
    folder.Write("bad.IFO", "not a report");
    outcome = Kavlo(ShowCommand, {folder.File("bad.IFO")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "Unexpected file format.\n");
    EXPECT_EQ(outcome.out, "");
    outcome = Kavlo(ShowCommand, {path, "--title", "Nothing"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(Kavlo(ShowCommand, {}).status, 2);
    EXPECT_EQ(Kavlo(ShowCommand, {path, "--bogus"}).status, 2);
}

TEST_F(ReportCommandsTest, ExportJson) {
    report::ReportContents tiny;
    tiny.navigation.Add(NavNode::kRootMarker, 7, "PC");
    tiny.navigation.Add(7, 9, "S");
    tiny.infoPage.kind = "text";
    tiny.infoPage.runPending = 0;
    tiny.infoPage.text = "\xE9";
    tiny.catalog.push_back(std::make_unique<ScriptRecord>("C:\\S.dbg", "S"));
    tiny.catalog[0]->treeKey = 9;
    ASSERT_TRUE(report::SaveReportFile(folder.File("tiny.IFO"), tiny).ok);
    const Outcome outcome = Kavlo(ExportCommand, {folder.File("tiny.IFO"), "--format", "json"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "{\"format_version\":306,\"build\":35,"
              "\"navigation\":{\"text\":\"PC\",\"key\":1,\"children\":[{\"text\":\"S\",\"key\":2,\"children\":[]}]},"
              "\"info_page\":{\"name\":\"\",\"key\":0,\"pending\":0,\"kind\":\"text\",\"kind_detail\":\"\","
              "\"header1\":\"\",\"header2\":\"\",\"text\":\"\xC3\xA9\",\"tree\":null},"
              "\"scripts\":[{\"path\":\"C:\\\\S.dbg\",\"key\":2,\"file_name\":\"S\",\"titles\":[]}]}\n");
}

TEST_F(ReportCommandsTest, ExportJsonKeysPairTitlesWithNodesAndTreesNest) {
    const Outcome outcome = Kavlo(ExportCommand, {path, "--format", "json"});
    ASSERT_EQ(outcome.status, 0);
    // keys renumbered depth first: root 1, Base 2, titles 3..6
    EXPECT_NE(outcome.out.find("{\"text\":\"Services\",\"key\":5,"), std::string::npos);
    EXPECT_NE(outcome.out.find("{\"name\":\"Services\",\"key\":5,\"pending\":0,\"kind\":\"treexptxt\""),
              std::string::npos);
    EXPECT_NE(
        outcome.out.find("\"tree\":{\"title\":\"Services\",\"children\":[{\"title\":\"[D] Running\",\"children\":["
                         "{\"title\":\"[D] Spooler\",\"children\":[]},{\"title\":\"plain entry\",\"children\":[]}]},"
                         "{\"title\":\"{D} Stopped\",\"children\":[]}]}}"),
        std::string::npos)
        << outcome.out;
}

TEST_F(ReportCommandsTest, ExportTextToAFile) {
    const std::string out = folder.File("out.txt");
    const Outcome outcome = Kavlo(ExportCommand, {path, "--format", "text", "-o", out});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    const std::string text = ReadAll(out);
    EXPECT_EQ(text.rfind("PC1  [file]\n", 0), 0u);
    EXPECT_NE(text.find("\n== Information page ==\nCurrent Date: 03/14/01 21:05:00\n"), std::string::npos);
    EXPECT_NE(text.find("\n== Base / Files (filelist) ==\nName          Version\n"), std::string::npos);
    EXPECT_EQ(Kavlo(ExportCommand, {path}).status, 2);
    EXPECT_EQ(Kavlo(ExportCommand, {path, "--format", "xml"}).status, 2);
}

TEST_F(ReportCommandsTest, ExportRefusesToReplaceTheReportItReads) {
    const std::string before = ReadAll(path);
    const std::string link = folder.File("link.IFO");
    std::vector<std::string> outputs{path};
    std::error_code noLinks;  // Wine has no symbolic links
    fs::create_symlink(path, link, noLinks);
    if (!noLinks) outputs.push_back(link);
    for (const std::string& output : outputs) {
        const Outcome outcome = Kavlo(ExportCommand, {path, "--format", "json", "-o", output});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, "kavlo export: the output '" + output + "' is the report being exported\n");
    }
    EXPECT_EQ(ReadAll(path), before);
    if (!noLinks) {
        EXPECT_TRUE(fs::is_symlink(link));
    }
}

// ------------------------------------------------------------ gather

const std::string kScripts = std::string(KAVLO_TEST_SOURCE_DIR) + "/scripts";
const std::string kSample = std::string(KAVLO_TEST_SOURCE_DIR) + "/samples/office7";

TEST(GatherCommandTest, GathersTheSampleMachineIntoACompressedReportNamedByDefault) {
    TempFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.root());
    const Outcome outcome = Kavlo(GatherCommand, {"--scripts", kScripts, "--machine", kSample, "--gz"});
    fs::current_path(before);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    ASSERT_EQ(folder.Names().size(), 1u);
    const std::string name = *folder.Names().begin();
    EXPECT_TRUE(
        std::regex_match(name, std::regex("OFFICE7 [0-9]{2}_[0-9]{2}_[0-9]{4} [0-9]{2}_[0-9]{2}_(AM|PM)\\.IFO\\.gz")))
        << name;
    EXPECT_EQ(outcome.out.rfind("OFFICE7  [local computer]\n", 0), 0u) << outcome.out;
    EXPECT_NE(outcome.out.find("Report saved to "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(name + "\n"), std::string::npos) << outcome.out;
    EXPECT_TRUE(std::regex_search(outcome.out, std::regex("\n[0-9]+ scripts, [0-9]+ titles, [0-9]+ with output\n")));
    // one progress line per title (stderr is not a terminal here)
    EXPECT_EQ(outcome.err.rfind("[1/", 0), 0u) << outcome.err;

    const std::string path = folder.File(name);
    const Outcome shown = Kavlo(ShowCommand, {path});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out.rfind("OFFICE7  [file]\n", 0), 0u);
    // the outline of the saved report is the one gather printed, but for the root label
    EXPECT_EQ(shown.out.substr(shown.out.find('\n')),
              outcome.out.substr(outcome.out.find('\n'), shown.out.size() - shown.out.find('\n')));
    // The information page holds the system summary of the gathered machine.
    const Outcome exported = Kavlo(ExportCommand, {path, "--format", "text"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(
        exported.out.find("OS: Windows 2000 Professional  Workstation  build 2195 Service Pack 2\nProcessors: 1\n"),
        std::string::npos);
}

TEST(GatherCommandTest, Failures) {
    TempFolder folder;
    folder.Mkdir("empty");
    Outcome empty =
        Kavlo(GatherCommand, {"--scripts", folder.File("empty"), "--machine", kSample, "-o", folder.File("e.IFO")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "kavlo gather: no scripts (*.dbg) in '" + folder.File("empty") + "'\n");
    EXPECT_EQ(Kavlo(GatherCommand, {"--scripts", folder.File("none")}).status, 1);
    EXPECT_EQ(Kavlo(GatherCommand, {"--machine", folder.File("none"), "--scripts", kScripts}).status, 1);
    EXPECT_EQ(Kavlo(GatherCommand, {"--bogus"}).status, 2);
    const Outcome outcome =
        Kavlo(GatherCommand, {"--scripts", kScripts, "--machine", kSample, "-o", folder.File("no/such/dir/r.IFO")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Failed to save document.\n(the folder '" + folder.File("no/such/dir") +
                               "' does not exist)\n"),
              std::string::npos);
}

}  // namespace
}  // namespace kavlo::cli
