// The file commands on the in-memory machine: orders, bounds, caps and failures
// that a folder image cannot express.
#include "probes/files/file_commands.h"

#include <gtest/gtest.h>

#include "engine/testing/address_space_limit.h"
#include "engine/testing/script_rig.h"
#include "engine/testing/sim_script_run.h"
#include "probes/files/file_paths.h"
#include "probes/files/text_lines.h"

namespace kavlo {
namespace {

using testing::ChildTitles;
using Titles = std::vector<std::string>;

class FileCommandsTest : public ::testing::Test {
protected:
    FileCommandsTest() { title.kind = "text"; }
    void Run(std::string_view line, TitleRecord* target) { rig.Dispatch(line, target); }
    void Run(std::string_view line) { Run(line, &title); }
    const ResultNode& Top() const { return *title.Root().children().at(0); }

    testing::ScriptRig rig;
    testing::FakeMachine& machine = rig.machine;
    TitleRecord title;
};

TEST_F(FileCommandsTest, FileInfoArgumentEdges) {
    machine.AddFile("C:\\a.txt", 3);
    Run("FileInfo:C:\\a.txt");         // no key list: an empty row
    Run("FileInfo: C:\\a.txt,FNAME");  // arguments are not trimmed
    EXPECT_EQ(title.text, "\n C:\\a.txt\t\n");
    Run("FileInfo:C:\\a.txt,FNAME", nullptr);  // catalog check: nothing
}

// PATH is read into a buffer of 1023 characters: a directory that only exists
// past its end is not searched.
TEST_F(FileCommandsTest, CFileSearchPathTakesWildcardsAndReadsAtMost1023Characters) {
    machine.AddFile("C:\\bin\\dup.exe", 20);
    machine.AddFile("C:\\bin\\dup.exe.bak", 30);
    machine.AddFile("C:\\late\\dup.exe", 10);
    title.header1 = "FNAMEPATH";
    Run("CFileSearchPath:dup.*");  // no PATH: nothing
    machine.environment["Path"] = "C:\\bin;" + std::string(1009, 'p') + ";C:\\late";
    Run("CFileSearchPath:dup.*");
    EXPECT_EQ(title.text, "0,C:\\bin\\dup.exe,\n0,C:\\bin\\dup.exe.bak,\n");
    title.text.clear();
    machine.environment["Path"] = "C:\\bin;" + std::string(1003, 'p') + ";C:\\late";
    Run("CFileSearchPath:dup.exe");
    EXPECT_EQ(title.text, "0,C:\\bin\\dup.exe,\n0,C:\\late\\dup.exe,\n");
}

TEST_F(FileCommandsTest, TEDirListKeepsTheListingOrderAndSplitsRowsUnderAColumnSpecification) {
    machine.AddFile("C:\\t\\b.txt", 3);
    machine.AddFile("C:\\t\\s\\c.txt", 4000);
    machine.AddFile("C:\\t\\a.txt", 5);
    title.kind = "treexp";
    title.Root().SetExtra("Size,10,Date,10");
    Run("TEDirList:C:\\t,FNAME,FSIZE,FDATE");
    ASSERT_EQ(ChildTitles(Top()), (Titles{"b.txt", "[D]  s", "a.txt"}));
    EXPECT_EQ(Top().children()[2]->extra(), "5,06/15/01,");
    EXPECT_EQ(ChildTitles(*Top().children()[1]), Titles{"c.txt"});
    EXPECT_EQ(Top().children()[1]->children()[0]->extra(), "4.0K,06/15/01,");
}

TEST_F(FileCommandsTest, DirectoryListingsStopAtTheDepthBound) {
    std::string path = "C:\\deep";
    for (int level = 0; level < kMaxWalkDepth + 10; ++level) path += "\\d";
    machine.AddFile(path + "\\f.txt", 1);
    title.kind = "tree";
    Run("TDirList:C:\\deep,FNAME");
    int depth = 0;
    const ResultNode* node = title.Root().children()[0].get();
    while (!node->children().empty()) {
        node = node->children()[0].get();
        ++depth;
    }
    EXPECT_EQ(depth, kMaxWalkDepth + 1);  // the deepest listed directory is shown but not entered
    EXPECT_EQ(node->title(), "[D]  d");
}

TEST_F(FileCommandsTest, VanishedFileGivesAMissingRow) {
    machine.AddFile("C:\\t\\gone.tmp", 7);
    machine.AddFile("C:\\t\\kept.tmp", 8);
    machine.Vanish("C:\\t\\gone.tmp");
    title.kind = "tree";
    Run("TEDirList:C:\\t,FNAME,FSIZE");
    EXPECT_EQ(ChildTitles(*title.Root().children()[0]), (std::vector<std::string>{"C:\\t\\gone.tmp,,", "kept.tmp,8,"}));
}

// Files of 20 GiB, sparse on the host: one endless line of zeros, and 17 MiB of
// log lines before such a line. Each is cut at the cap, within a memory limit
// far below its size, and reading stops there.
TEST(FileReadTextCap, AHugeFileIsCutAtTheCapWithinTheMemoryLimit) {
    if (!testing::AddressSpaceLimit::Supported()) GTEST_SKIP() << "no address-space limit here";
    testing::SimImage image;
    std::string lines, copied;  // as written, and as copied (lines end in "\n")
    while (lines.size() < (17u << 20)) {
        lines += "a line of a log\r\n";
        copied += "a line of a log\n";
    }
    image.DriveFile("zeros.log", "");
    image.DriveFile("lines.log", lines);
    for (const char* name : {"zeros.log", "lines.log"})
        std::filesystem::resize_file(image.HostPath(std::string("drives/c/") + name), std::uint64_t{20} << 30);
    image.Load();
    const std::pair<const char*, std::string> cases[] = {
        {"FileReadText:C:\\zeros.log", std::string(kMaxCommandTextBytes, '\0')},
        {"FileReadText:C:\\lines.log", copied.substr(0, kMaxCommandTextBytes)},
    };
    testing::AddressSpaceLimit limit(std::uint64_t{256} << 20);
    ASSERT_TRUE(limit.ok());
    for (const auto& [line, start] : cases) {
        const std::string& text = image.Run("text", line).text;
        ASSERT_EQ(text.size(), kMaxCommandTextBytes + kTextCutMarker.size()) << line;
        EXPECT_TRUE(text.starts_with(start) && text.ends_with(kTextCutMarker)) << line;
    }
}

// Text up to the cap is copied whole; beyond it, it is cut at the cap and marked.
TEST_F(FileCommandsTest, FileReadTextAndSectionsCopyUpToTheCapAndCutAndMarkBeyondIt) {
    machine.readChunk = 1 << 16;
    // the text ends exactly at the cap, its line end is beyond it, a line is beyond it
    for (const std::size_t size : {kMaxCommandTextBytes, kMaxCommandTextBytes + 1, kMaxCommandTextBytes + 50}) {
        std::string content;  // lines of 99 characters and "\n", the last one shorter
        while (content.size() < size) content += std::string(99, 'x') + "\n";
        content.resize(size - 1);
        content += '\n';
        machine.AddFile("C:\\big.txt", content);
        machine.AddFile("C:\\big.ini", "[Start]\n" + content);
        title.text.clear();
        Run("FileReadText:C:\\big.txt");
        Run("FileReadTextSection:C:\\big.ini,[End],[Start]");
        std::string one = content;
        if (size > kMaxCommandTextBytes) one = content.substr(0, kMaxCommandTextBytes) + std::string(kTextCutMarker);
        const std::string section =
            ("[Start]\n" + content).substr(0, kMaxCommandTextBytes) + std::string(kTextCutMarker);
        ASSERT_EQ(title.text.size(), one.size() + section.size()) << size;
        EXPECT_TRUE(title.text == one + section) << size;
    }
}

constexpr const char* kIni =
    "[General]\r\n"
    "a=1\r\n"
    "[Update]\r\n"
    "server=one\r\n"
    "    [indented end]\r\n"
    "b=2\r\n"
    "[Update]\r\n"
    "server=two\r\n"
    "\t  [Tail]\r\n"
    "c=3\r\n";

// The arguments after "FileReadTextSection:C:\\app.ini," and what they copy.
TEST_F(FileCommandsTest, FileReadTextSectionCopiesTheMarkedSections) {
    machine.AddFile("C:\\app.ini", kIni);
    const std::pair<const char*, const char*> cases[] = {
        // indented end markers end a section
        {"[,[Update]", "[Update]\nserver=one\n[Update]\nserver=two\n"},
        {"[,=tw", "server=two\n"},      // the start marker is found inside a line
        {"c=,[Tail]", "\t  [Tail]\n"},  // an indented start line is copied as read
        {"[,[", "[General]\na=1\n    [indented end]\nb=2\n\t  [Tail]\nc=3\n"},  // an end line is no start
        {"x,a=1,b", ""},                                                        // the start marker may hold commas
        {",server=two", "server=two\n\t  [Tail]\nc=3\n"},                       // an empty end marker runs to the end
        {"[,", ""},                                                             // an empty start marker copies nothing
        {"[", ""},                                                              // so do missing markers
    };
    for (const auto& [arguments, expected] : cases) {
        title.text.clear();
        Run(std::string("FileReadTextSection:C:\\app.ini,") + arguments);
        EXPECT_EQ(title.text, expected) << arguments;
    }
    title.text.clear();
    Run("FileReadTextSection:C:\\none.ini,[,[Update]");
    EXPECT_EQ(title.text, "") << "a missing file";
}

// Short paths are cut at their buffer, and made on NT only.
TEST_F(FileCommandsTest, CLFNtoSFNCutsAtItsBuffer) {
    machine.AddFile("C:\\x", 1).shortPath = std::string(600, 's');
    Run("CLFNtoSFN:C:\\x", &title);
    EXPECT_EQ(title.text, "C:\\x," + std::string(499, 's') + "\n");
    testing::ScriptRig win95(testing::Win95());
    win95.machine.AddFile("C:\\x", 1).shortPath = "C:\\X";
    EXPECT_EQ(win95.RunText("CLFNtoSFN:C:\\x").text, "");
}

}  // namespace
}  // namespace kavlo
