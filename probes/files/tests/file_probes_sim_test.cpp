// The file commands on a simulated machine, dispatched as script lines by the
// engine with the standard command table.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "probes/registration.h"
#include "engine/script_engine.h"
#include "engine/script_catalog.h"
#include "platform/sim/sim_machine.h"
#include "probes/files/file_info.h"

namespace kavlo {
namespace {

namespace fs = std::filesystem;

// A private copy of the test machine, so that a test can add what git cannot
// hold (an empty directory, a symbolic link loop) before the machine loads.
class MachineCopy {
public:
    MachineCopy() {
        static std::atomic<int> counter{0};
        folder_ = fs::temp_directory_path() /
                  ("kavlo-file-probes-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   std::to_string(counter++) + "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::copy(fs::path(KAVLO_TEST_SOURCE_DIR) / "probes/files/tests/data/machine", folder_,
                 fs::copy_options::recursive);
    }
    ~MachineCopy() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path Drive() const { return folder_ / "drives" / "c"; }
    std::string folder() const { return folder_.string(); }

private:
    fs::path folder_;
};

class SimFileProbes : public ::testing::Test {
protected:
    // Loads the machine; tests that change the copy call it after their changes.
    void Load() {
        auto loaded = platform::sim::LoadMachine(copy.folder());
        ASSERT_TRUE(loaded.machine) << loaded.error;
        machine = std::move(loaded.machine);
        context =
            std::make_unique<AppContext>(*machine, OsInfo{"NT5.0", "Windows 2000 Professional", 50, true}, "C:\\");
    }
    void SetUp() override { title.kind = "text"; }
    /// Runs script lines through the dispatcher against the title.
    std::string Lines(std::initializer_list<std::string_view> lines) {
        if (!machine) Load();
        ScriptEngine engine(*context, StandardCommandTable());
        ScriptFile file{std::string()};
        for (std::string_view line : lines) engine.Dispatch(file, line, &title);
        return title.text;
    }
    const ResultNode& TopNode() {
        EXPECT_EQ(title.Root().children().size(), 1u);
        return *title.Root().children().at(0);
    }
    static std::vector<std::string> ChildTitles(const ResultNode& node) {
        std::vector<std::string> out;
        for (const auto& child : node.children()) out.push_back(child->title());
        return out;
    }

    MachineCopy copy;
    std::unique_ptr<platform::Machine> machine;
    std::unique_ptr<AppContext> context;
    TitleRecord title;
};

TEST_F(SimFileProbes, FileInfoRowOfAFileWithAFixedDate) {
    EXPECT_EQ(Lines({"FileInfo:<WINDOWS>\\win.ini,FNAME,FPATH,FNAMEPATH,FSIZE,FDATE,FTIME,FATTRIBUTE,DRVTYPE,"
                     "MEDIATYPE,EFFECTIVERIGHTS,FVERSION"}),
              "win.ini\tC:\\WINNT\tC:\\WINNT\\win.ini\t124\t06/15/01\t02:05:09  PM\tA\tHardDrive\tNTFS\t\t\t\n");
}

TEST_F(SimFileProbes, CFileInfoRunsNothing) {
    EXPECT_EQ(Lines({"CFileInfo:<WINDOWS>\\win.ini,FNAME", "  // FileInfo:<WINDOWS>\\win.ini,FNAME"}), "");
}

TEST_F(SimFileProbes, VersionResourcesOfPeFiles) {
    const std::string text = Lines({
        "FileInfo:<SYSTEM32>\\acmever.dll,FNAME,FVERSION,FDESCRIPTION,FMANUFACTURE,FPRODNAME,FPRODVERSION,FCOMMENTS,"
        "FSIZE",
        "FileInfo:<SYSTEM32>\\oldver.dll,FNAME,FVERSION,FMANUFACTURE",   // no translation table
        "FileInfo:<SYSTEM32>\\german.dll,FNAME,FVERSION,FMANUFACTURE",   // German, Unicode
        "FileInfo:<SYSTEM32>\\kavtool.exe,FNAME,FVERSION,FMANUFACTURE",  // not a PE file
    });
    EXPECT_EQ(text,
              "acmever.dll\t5. 0. 2. 1\tAcme helper, shared\tAcme Corp\tAcme Tools\t5. 0\tfor tests\t2.0K\t\n"
              "oldver.dll\t4. 0. 0. 950\tOld Corp\t\n"
              "german.dll\t1.2\tDeutsch GmbH\t\n"
              "kavtool.exe\t\t\t\n");
}

TEST_F(SimFileProbes, NtPathsOfDrivers) {
    Load();
    FileInfo record;
    record.Gather(*context, "\\SystemRoot\\System32\\drivers\\acme.sys", PathMode::NtPath);
    EXPECT_EQ(record.Missing(), 0);
    EXPECT_EQ(record.NameAndPath(), "C:\\WINNT\\System32\\drivers\\acme.sys");
    EXPECT_EQ(record.Description(), "Acme filter driver");
    record.Clear();
    record.Gather(*context, "\\??\\C:\\WINNT\\System32\\drivers\\acme.sys", PathMode::NtPath);
    EXPECT_EQ(record.Version(), "2.0.1");
    record.Clear();
    record.Gather(*context, "<SYSTEM32>\\drivers\\acme.sys", PathMode::FolderToken);
    EXPECT_EQ(record.Path(), "C:\\WINNT\\System32\\drivers");
}

TEST_F(SimFileProbes, DriveRootsAndShortPaths) {
    const std::string text = Lines({"FileInfo:C:\\,FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE",
                                    "FileInfo:D:\\,FNAME,DRVTYPE,MEDIATYPE", "FileInfo:E:\\,FNAME,DRVTYPE,MEDIATYPE"});
    EXPECT_EQ(text,
              "C:\\\tC:\\\tC:\\\tHardDrive\tNTFS\t\n"
              "D:\\\tCD-ROM\t\t\n"  // no disc: no file system to show
              "E:\\\tRemovable\tFAT\t\n");
    title.text.clear();
    const std::string shortPath = Lines({"FileInfo:C:,FNAME,FNAMEPATH,DRVTYPE,MEDIATYPE,EFFECTIVERIGHTS,FSIZE"});
    EXPECT_TRUE(shortPath.starts_with("\tC:\tError ")) << shortPath;
    EXPECT_EQ(std::count(shortPath.begin(), shortPath.end(), 'E'), 4) << shortPath;
}

TEST_F(SimFileProbes, DirectorySizeIsRecursive) {
    EXPECT_EQ(Lines({"FileInfo:C:\\Data,FNAME,FSIZE,FATTRIBUTE"}), "Data\t1.5K\tD\t\n");
}

TEST_F(SimFileProbes, SearchPathOrderAndMissingEntries) {
    title.header1 = "FNAMEPATH,FSIZE,FATTRIBUTE";
    EXPECT_EQ(Lines({"CFileSearchPath:kavtool.exe"}),
              "0,C:\\WINNT\\System32\\kavtool.exe,3.0K,RA,\n0,C:\\Tools\\kavtool.exe,512,A,\n");
}

TEST_F(SimFileProbes, FileSearchAndDirectorySearch) {
    title.header1 = "FNAME,FATTRIBUTE";
    const std::string text = Lines({"FileSearch:C:\\Data\\*,FNAME,FSIZE", "CDirSearch:C:\\Data\\*"});
    EXPECT_EQ(text.substr(0, text.find("0,")), "a.bin\t600\t\n");
    const std::string dirs = text.substr(text.find("0,"));
    // "." and ".." are listed as directories, then "sub".
    EXPECT_EQ(std::count(dirs.begin(), dirs.end(), '\n'), 3) << dirs;
    EXPECT_TRUE(dirs.ends_with("0,sub,D,\n")) << dirs;
}

TEST_F(SimFileProbes, EmptyDirectoryListsOnlyItsTopNode) {
    fs::create_directories(copy.Drive() / "Empty");
    title.kind = "tree";
    Lines({"TDirList:C:\\Empty,FNAME"});
    EXPECT_EQ(TopNode().title(), "[D]  C:\\Empty");
    EXPECT_TRUE(TopNode().children().empty());
}

TEST_F(SimFileProbes, TreeListingInterleavesAndSeparates) {
    title.kind = "tree";
    Lines({"TDirList:C:\\Data,FNAME,FSIZE", "TEDirList:C:\\Data,FNAME,FSIZE,FATTRIBUTE"});
    ASSERT_EQ(title.Root().children().size(), 2u);
    const ResultNode& blanks = *title.Root().children()[0];
    EXPECT_EQ(ChildTitles(blanks), (std::vector<std::string>{"a.bin       600       ", "[D]  sub"}));
    EXPECT_EQ(ChildTitles(*blanks.children()[1]), (std::vector<std::string>{"b.bin       500       ", "[D]  deep"}));
    EXPECT_EQ(ChildTitles(*blanks.children()[1]->children()[1]), std::vector<std::string>{"c.bin       400       "});
    const ResultNode& commas = *title.Root().children()[1];
    EXPECT_EQ(commas.title(), "[D]  C:\\Data");
    EXPECT_EQ(ChildTitles(*commas.children()[1]->children()[1]), std::vector<std::string>{"c.bin,400,HS,"});
}

TEST_F(SimFileProbes, SymbolicLinkLoopIsListedNotFollowed) {
    std::error_code error;
    fs::create_directory_symlink("..", copy.Drive() / "Data" / "sub" / "loop", error);
    if (error) GTEST_SKIP() << "host cannot make symbolic links: " << error.message();
    title.kind = "tree";
    const std::string sizes = Lines({"FileInfo:C:\\Data,FSIZE", "TEDirList:C:\\Data,FNAME,FATTRIBUTE,FSIZE"});
    EXPECT_EQ(sizes, "1.5K\t\n");
    const ResultNode& sub = *TopNode().children()[1];
    ASSERT_EQ(sub.title(), "[D]  sub");
    const auto titles = ChildTitles(sub);
    EXPECT_EQ(titles.size(), 3u);
    EXPECT_NE(std::find(titles.begin(), titles.end(), "loop,D,,"), titles.end()) << ::testing::PrintToString(titles);
}

TEST_F(SimFileProbes, TextFilesAndSections) {
    const std::string text = Lines({
        "FileReadText:C:\\Logs\\service.log",
        "FileReadTextSection:<WINDOWS>\\win.ini,[,[extensions]",
        "FileReadTextSection:<WINDOWS>\\win.ini,[,[mci extensions]",  // ended by the indented "[Mail]"
        "FileReadTextSection:<WINDOWS>\\win.ini,[,[never]",
        "FileReadText:C:\\Logs\\missing.log",
    });
    EXPECT_EQ(text,
              "started\nstopped\n"
              "[extensions]\ntxt=notepad.exe ^.txt\n"
              "[mci extensions]\nmid=Sequencer\n");
}

TEST_F(SimFileProbes, ShortPathNamesOnNtOnly) {
    const std::string text =
        Lines({"CLFNtoSFN:C:\\Program Files\\Acme\\readme long name.txt", "CLFNtoSFN:C:\\nope.txt"});
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "C:\\Program Files\\Acme\\readme long name.txt,C:\\PROGRA~1\\Acme\\README~1.TXT\n");
    EXPECT_TRUE(text.ends_with("C:\\nope.txt,The system cannot find the file specified.\r\n\n")) << text;

    auto loaded = platform::sim::LoadMachine(copy.folder());
    ASSERT_TRUE(loaded.machine);
    AppContext win95(*loaded.machine, OsInfo{"Win95", "Windows 95", 95, false}, "C:\\");
    ScriptEngine engine(win95, StandardCommandTable());
    ScriptFile file{std::string()};
    TitleRecord other;
    engine.Dispatch(file, "CLFNtoSFN:C:\\Program Files", &other);
    EXPECT_EQ(other.text, "");
}

TEST_F(SimFileProbes, FileListTitleOfAScript) {
    Load();
    const fs::path script = fs::path(copy.folder()) / "files.dbg";
    std::ofstream(script) << "[TITLE LIST] {\nFiles\n}\n[TITLE]\nFiles\nfilelist,Name,20,Size,8\n"
                             "FNAME,FSIZE\nss\n  CFileSearch:<WINDOWS>\\*.ini\n  CFileSearch:C:\\Tools\\*.*\n}\n";
    auto file = ScriptCatalog(*context, StandardCommandTable()).LoadScript(script.string(), "files");
    ASSERT_TRUE(file);
    TitleRecord* files = file->FindTitle("Files");
    ASSERT_NE(files, nullptr);
    ScriptEngine(*context, StandardCommandTable()).RunTitle(*files);
    EXPECT_EQ(files->text, "0,win.ini,124,\n0,kavtool.exe,512,\n");
}

}  // namespace
}  // namespace kavlo
