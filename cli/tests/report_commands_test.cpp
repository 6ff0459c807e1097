// "kavlo gather", "kavlo show" and "kavlo export" end to end, output captured;
// the whole output of a small report is compared with cli/tests/expected/.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "cli/tests/command_outcome.h"
#include "platform/testing/temp_folder.h"
#include "report/report_file.h"

namespace kavlo::cli {
namespace {

namespace fs = std::filesystem;
using kavlo::cli::testing::ExpectSameAsFile;
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

TEST_F(ReportCommandsTest, ShowAndExportPrintTheWholeReport) {
    struct Command {
        int (*run)(const Args&);
        Args options;  // after the report's path
    };
    const Command commands[] = {
        {ShowCommand, {}},                    // the outline, below the file label
        {ShowCommand, {"--title", "Notes"}},  // UTF-8 from Windows-1252
        {ShowCommand, {"--title", "Files"}},
        {ShowCommand, {"--title", "Base/Services"}},
        {ShowCommand, {"--title", "Empty"}},  // a list without columns or rows shows nothing
        {ShowCommand, {"--info"}},
        {ExportCommand, {"--format", "json"}},  // keys renumbered depth first
        {ExportCommand, {"--format", "text"}},
    };
    std::string printed;
    for (const Command& command : commands) {
        Args args{path};
        args.insert(args.end(), command.options.begin(), command.options.end());
        const Outcome outcome = Kavlo(command.run, args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        printed += std::string(command.run == ShowCommand ? "$ kavlo show" : "$ kavlo export");
        for (const std::string& option : command.options) printed += " " + option;
        printed += "\n" + outcome.out;
    }
    ExpectSameAsFile(printed, "small-report.txt");
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

TEST_F(ReportCommandsTest, ExportWritesToAFileAndNeedsAKnownFormat) {
    const std::string out = folder.File("out.txt");
    const Outcome outcome = Kavlo(ExportCommand, {path, "--format", "text", "-o", out});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(ReadAll(out), Kavlo(ExportCommand, {path, "--format", "text"}).out);
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
