// The file commands against the computer the tests run on (Windows builds only,
// run under Wine here): files in a private temporary folder, Wine's own system
// DLLs, short names and a directory symbolic link that points at its parent.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "probes/registration.h"
#include "engine/script_engine.h"
#include "platform/win32/win32_machine.h"

namespace kavlo {
namespace {

namespace fs = std::filesystem;

class RealFileProbes : public ::testing::Test {
protected:
    RealFileProbes()
        : machine(platform::win32::MakeWin32Machine()),
          context(*machine, OsInfo{"NT5.0", "Windows 2000 Professional", 50, true}, "C:\\") {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof temp, temp);
        folder = std::string(temp, length < sizeof temp ? length : 0) + "KavloFileProbes-" +
                 std::to_string(::GetCurrentProcessId());
        fs::remove_all(folder);
        fs::create_directories(fs::path(folder) / "sub");
        fs::create_directories(fs::path(folder) / "Empty");
        Write("a.txt", std::string(512, 'a'));
        Write("sub\\b.txt", std::string(600, 'b'));
        Write("Long File Name.text", "one\r\n  [End]\r\ntwo\r\n");
        title.kind = "text";
    }
    ~RealFileProbes() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(folder + "\\" + name, std::ios::binary) << content;
    }
    std::string Lines(std::initializer_list<std::string> lines) {
        ScriptEngine engine(context, StandardCommandTable());
        ScriptFile file{std::string()};
        for (const std::string& line : lines) engine.Dispatch(file, line, &title);
        return title.text;
    }
    static std::set<std::string> ChildTitles(const ResultNode& node) {
        std::set<std::string> out;
        for (const auto& child : node.children()) out.insert(child->title());
        return out;
    }

    std::unique_ptr<platform::Machine> machine;
    AppContext context;
    std::string folder;
    TitleRecord title;
};

TEST_F(RealFileProbes, FileInfoOfFilesAndDirectories) {
    const std::string text =
        Lines({"FileInfo:" + folder + "\\a.txt,FNAME,FPATH,FSIZE,FATTRIBUTE,DRVTYPE",
               "FileInfo:" + folder + ",FSIZE,FATTRIBUTE", "FileInfo:" + folder + "\\none.txt,FNAME,FSIZE"});
    EXPECT_EQ(text, "a.txt\t" + folder + "\t512\tA\tHardDrive\t\n" +  // 512 + 600 + 19 bytes below the folder
                        "1.1K\tD\t\n" + folder + "\\none.txt\t\t\n");
}

TEST_F(RealFileProbes, EffectiveRightsOfAFileOnAnNtfsDrive) {
    auto volume = machine->Volume(folder.substr(0, 3));
    if (!volume.ok() || volume->fileSystem.find("NTFS") == std::string::npos)
        GTEST_SKIP() << "the temporary folder is not on an NTFS drive";
    for (const std::string& path : {folder + "\\a.txt", folder + "\\sub"}) {
        const std::string text = Lines({"FileInfo:" + path + ",EFFECTIVERIGHTS"});
        title.text.clear();
        ASSERT_EQ(text.size(), 12u + 2u) << path << ": " << text;  // six sign and letter pairs, a tab, a line end
        for (std::size_t pair = 0; pair < 6; ++pair) {
            EXPECT_TRUE(text[2 * pair] == '+' || text[2 * pair] == '-') << text;
            EXPECT_EQ(text[2 * pair + 1], "RWXDPO"[pair]) << text;
        }
        // The user who made the file may read it.
        EXPECT_EQ(text.substr(0, 2), "+R") << path;
    }
    auto granted = machine->EffectiveAccess(folder + "\\a.txt");
    ASSERT_TRUE(granted.ok()) << granted.error();
    EXPECT_NE(*granted & FILE_READ_DATA, 0u);
    EXPECT_EQ(machine->EffectiveAccess(folder + "\\none.txt").error(), static_cast<WinError>(ERROR_FILE_NOT_FOUND));
}

TEST_F(RealFileProbes, VersionOfASystemDll) {
    const std::string text = Lines({"FileInfo:<SYSTEM32>\\kernel32.dll,FNAME,FVERSION,FPRODVERSION,MEDIATYPE"});
    EXPECT_TRUE(text.starts_with("kernel32.dll\t")) << text;
    const std::string version = text.substr(13, text.find('\t', 13) - 13);
    EXPECT_FALSE(version.empty()) << text;
    EXPECT_EQ(version.find(','), std::string::npos) << text;
    EXPECT_NE(version.find('.'), std::string::npos) << text;
}

TEST_F(RealFileProbes, DriveRootAndShortPath) {
    EXPECT_EQ(Lines({"FileInfo:C:\\,FNAME,FPATH,FNAMEPATH,DRVTYPE"}), "C:\\\tC:\\\tC:\\\tHardDrive\t\n");
}

TEST_F(RealFileProbes, ShortNamesAndTheirFailures) {
    const std::string text = Lines({"CLFNtoSFN:" + folder + "\\Long File Name.text", "CLFNtoSFN:" + folder + "\\none"});
    const std::string first = text.substr(0, text.find('\n'));
    EXPECT_TRUE(first.starts_with(folder + "\\Long File Name.text,")) << first;
    const std::string shortName = first.substr(first.rfind('\\') + 1);
    EXPECT_NE(shortName.find('~'), std::string::npos) << first;  // "LONGFI~1.TEX", or Wine's hashed form
    EXPECT_TRUE(shortName.ends_with(".TEX")) << first;
    EXPECT_TRUE(text.ends_with("\r\n\n")) << text;  // the system's message text keeps its line end
}

TEST_F(RealFileProbes, ListingsAndTextFiles) {
    title.kind = "tree";
    Lines({"TDirList:" + folder + "\\Empty,FNAME", "TEDirList:" + folder + ",FNAME,FSIZE"});
    ASSERT_EQ(title.Root().children().size(), 2u);
    EXPECT_TRUE(title.Root().children()[0]->children().empty());
    const ResultNode& tree = *title.Root().children()[1];
    EXPECT_EQ(tree.title(), "[D]  " + folder);
    EXPECT_EQ(ChildTitles(tree),
              (std::set<std::string>{"a.txt,512,", "[D]  sub", "[D]  Empty", "Long File Name.text,19,"}));
    const std::string text = Lines({"FileReadText:" + folder + "\\Long File Name.text",
                                    "FileReadTextSection:" + folder + "\\Long File Name.text,[End],one"});
    EXPECT_EQ(text, "one\n  [End]\ntwo\none\n");
}

TEST_F(RealFileProbes, SymbolicLinkToTheParentIsNotFollowed) {
    const std::string link = folder + "\\sub\\loop";
    if (!::CreateSymbolicLinkA(link.c_str(), folder.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
        GTEST_SKIP() << "no directory symbolic links here (error " << ::GetLastError() << ")";
    auto entries = machine->FindFiles(link);
    if (!entries.ok()) GTEST_SKIP() << "the link cannot be found again (error " << entries.error() << ")";
    if (!entries->front().IsReparsePoint()) GTEST_SKIP() << "the link is not reported as a reparse point";
    title.kind = "tree";
    const std::string size = Lines({"FileInfo:" + folder + ",FSIZE", "TEDirList:" + folder + ",FNAME"});
    EXPECT_EQ(size, "1.1K\t\n");
    const ResultNode& top = *title.Root().children()[0];
    const auto sub = std::find_if(top.children().begin(), top.children().end(),
                                  [](const auto& c) { return c->title() == "[D]  sub"; });
    ASSERT_NE(sub, top.children().end());
    EXPECT_EQ(ChildTitles(**sub), (std::set<std::string>{"b.txt,", "loop,"}));
}

}  // namespace
}  // namespace kavlo
