// "kavlo gather", "kavlo show" and "kavlo export" end to end, output captured;
// the whole output of a small report is compared with cli/tests/expected/.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cli/tests/command_outcome.h"
#include "document/tests/small_report.h"
#include "platform/testing/temp_folder.h"
#include "report/report_file.h"

namespace kavlo::cli {
namespace {

namespace fs = std::filesystem;
using kavlo::cli::testing::ExpectFailures;
using kavlo::cli::testing::ExpectSameAsFile;
using kavlo::cli::testing::Kavlo;
using kavlo::cli::testing::Outcome;
using kavlo::testing::ReadAll;
using kavlo::testing::TempFolder;

// The document tests' two small scripts; the report they gather is cli/tests/expected/gather.txt.
const std::string kScripts = std::string(KAVLO_TEST_SOURCE_DIR) + "/document/tests/data/scripts";
const std::string kSample = std::string(KAVLO_TEST_SOURCE_DIR) + "/samples/office7";

class ReportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(report::SaveReportFile(path, kavlo::testing::SmallReport()).ok); }
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

TEST_F(ReportCommandsTest, FailuresExitNonZeroWithAMessageAndPrintNothing) {
    const std::string missing = folder.File("missing.IFO");
    folder.Write("bad.IFO", "not a report");
    folder.Mkdir("empty");
    ExpectFailures({
        {ShowCommand,
         {missing},
         1,
         missing + "\nCannot find this file.\nPlease verify that the correct path and file name are given.\n"},
        {ShowCommand, {folder.File("bad.IFO")}, 1, "Unexpected file format.\n"},
        {ShowCommand, {path, "--title", "Nothing"}, 1, ""},
        {ShowCommand, {}, 2, ""},
        {ExportCommand, {path, "--format", "xml"}, 2, ""},
        {GatherCommand,
         {"--scripts", folder.File("empty"), "--machine", kSample, "-o", folder.File("e.IFO")},
         1,
         "kavlo gather: no scripts (*.dbg) in '" + folder.File("empty") + "'\n"},
        {GatherCommand, {"--scripts", folder.File("none")}, 1, ""},
        {GatherCommand, {"--machine", folder.File("none"), "--scripts", kScripts}, 1, ""},
        {GatherCommand,
         {"--scripts", kScripts, "--machine", kSample, "-o", folder.File("no/such/dir/r.IFO")},
         1,
         "Failed to save document.\n(the folder '" + folder.File("no/such/dir") + "' does not exist)\n"},
    });
}

TEST_F(ReportCommandsTest, ExportWritesToAFileButNotOverTheReportItReads) {
    const std::string out = folder.File("out.txt");
    const Outcome written = Kavlo(ExportCommand, {path, "--format", "text", "-o", out});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(ReadAll(out), Kavlo(ExportCommand, {path, "--format", "text"}).out);

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

TEST(GatherCommandTest, GathersIntoACompressedReportNamedByTheMachineAndItsClock) {
    // The sample machine's clock stands at 10:32 on 14 May 2002; stderr is not
    // a terminal here, so the progress comes one line per title.
    TempFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.root());
    const Outcome gathered = Kavlo(GatherCommand, {"--scripts", kScripts, "--machine", kSample, "--gz"});
    fs::current_path(before);
    ASSERT_EQ(gathered.status, 0) << gathered.err;
    EXPECT_EQ(folder.Names(), std::set<std::string>{"OFFICE7 05_14_2002 10_32_AM.IFO.gz"});
    const Outcome exported =
        Kavlo(ExportCommand, {folder.File("OFFICE7 05_14_2002 10_32_AM.IFO.gz"), "--format", "text"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    std::string printed =
        "$ kavlo gather --gz\n" + gathered.out + gathered.err + "$ kavlo export --format text\n" + exported.out;
    for (std::size_t at; (at = printed.find(KAVLO_TEST_SOURCE_DIR)) != std::string::npos;)
        printed.replace(at, std::string(KAVLO_TEST_SOURCE_DIR).size(), "<source>");
    ExpectSameAsFile(printed, "gather.txt");
}

}  // namespace
}  // namespace kavlo::cli
