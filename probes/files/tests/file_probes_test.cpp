// The file commands on one small tree, written the same way on every file
// backend: a simulated machine image and, in Windows builds, the computer the
// tests run on (Wine). Listings are compared sorted: the backends list in
// different orders. Then the simulated machine of tests/data/machine, and the
// computer itself, beyond that tree.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/testing/backend_fixture.h"
#include "probes/system/tests/line_runner.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using testing::BackendChoice;

class FileProbes : public ::testing::TestWithParam<BackendChoice> {
protected:
    // 512 + 600 + 18 bytes below the root.
    void SetUp() override {
        backend_ = GetParam().make();
        backend_->WriteFile("a.txt", std::string(512, 'a'));
        backend_->WriteFile("sub\\b.txt", std::string(600, 'b'));
        backend_->WriteFile("Long File Name.text", "one\r\n  [End]\n\r\ntwo");
        backend_->Mkdir("Empty.txt");  // a folder that a file pattern matches
        root = backend_->Root();
    }
    /// Dispatches script lines against a new title of this kind (and keys); its text.
    std::string Lines(std::initializer_list<std::string> lines, std::string_view kind = "text",
                      std::string_view keys = "") {
        titles_.push_back(std::make_unique<TitleRecord>());
        title = titles_.back().get();
        title->kind = std::string(kind);
        title->header1 = std::string(keys);
        ScriptEngine engine(backend_->Context(), StandardCommandTable());
        ScriptFile file{std::string()};
        for (const std::string& line : lines) engine.Dispatch(file, line, title);
        return title->text;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> titles) {
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    const ResultNode& Top(std::size_t index = 0) const { return *title->Root().children().at(index); }

    std::unique_ptr<testing::TestBackend> backend_;
    std::vector<std::unique_ptr<TitleRecord>> titles_;
    TitleRecord* title = nullptr;
    std::string root;
};

// The short name of a missing file is the system's error text.
TEST_P(FileProbes, FileInfoAndShortNamesOfFilesDirectoriesAndMissingPaths) {
    EXPECT_EQ(Lines({"FileInfo:" + root + "\\a.txt,FNAME,FPATH,FSIZE,FATTRIBUTE,DRVTYPE",
                     "FileInfo:" + root + ",FSIZE,FATTRIBUTE", "  FileInfo:" + root + "\\none.txt,FNAME,FSIZE",
                     "CFileInfo:" + root + ",FNAME", "CLFNtoSFN:" + root + "\\none"}),
              "a.txt\t" + root + "\t512\tA\tHardDrive\t\n1.1K\tD\t\n" + root + "\\none.txt\t\t\n" + root + "\\none," +
                  backend_->Context().machine.ErrorText(err::kFileNotFound) + "\n");
}

TEST_P(FileProbes, TreeListingsOfTheTreeAnEmptyAndAMissingFolder) {
    Lines({"TEDirList:" + root + ",FNAME,FSIZE", "TDirList:" + root + "\\sub,FNAME,FSIZE",
           "TDirList:" + root + "\\Empty.txt,FNAME", "TDirList:" + root + "\\nowhere,FNAME"},
          "tree");
    ASSERT_EQ(title->Root().children().size(), 4u);
    EXPECT_EQ(Top().title(), "[D]  " + root);
    EXPECT_EQ(Sorted(testing::ChildTitles(Top())),
              (std::vector<std::string>{"Long File Name.text,18,", "[D]  Empty.txt", "[D]  sub", "a.txt,512,"}));
    EXPECT_EQ(testing::ChildTitles(testing::Child(Top(), "[D]  sub")), std::vector<std::string>{"b.txt,600,"});
    EXPECT_EQ(testing::ChildTitles(Top(1)), std::vector<std::string>{"b.txt       600       "});
    for (std::size_t i : {2u, 3u}) EXPECT_TRUE(Top(i).children().empty()) << Top(i).title();
    EXPECT_EQ(Top(3).title(), "[D]  " + root + "\\nowhere");
}

TEST_P(FileProbes, SearchesListMatchesAndDirectoriesWithDotEntries) {
    EXPECT_EQ(Lines({"FileSearch:" + root + "\\*.txt,FNAME,FSIZE", "FileSearch:" + root + "\\*.none,FNAME",
                     "CFileSearch:" + root + "\\missing\\*.*", "FileSearch:"}),
              "a.txt\t512\t\n");
    Lines({"CDirSearch:" + root + "\\*"}, "text", "FNAME,FATTRIBUTE");
    const std::vector<std::string> rows = probe_test::Lines(title->text);
    // "." and ".." are listed too; what they resolve to differs between the backends.
    EXPECT_EQ(rows.size(), 4u);
    EXPECT_THAT(rows, ::testing::IsSupersetOf({"0,Empty.txt,D,", "0,sub,D,"}));
}

// Missing files, folders, patterns and no path at all append nothing.
TEST_P(FileProbes, TextFilesWithMixedLineEndsAndSections) {
    const std::string file = root + "\\Long File Name.text";
    EXPECT_EQ(Lines({"FileReadText:" + file, "FileReadTextSection:" + file + ",[End],one",
                     "FileReadText:" + root + "\\none.txt", "FileReadText:" + root + "\\Empty.txt",
                     "FileReadText:" + root + "\\*.txt", "FileReadText:"}),
              "one\n  [End]\n\ntwo\none\n");
}

TEST_P(FileProbes, LinkToTheParentIsListedNotFollowed) {
    if (!backend_->LinkToParent("sub\\loop")) GTEST_SKIP() << "no directory links here";
    EXPECT_EQ(Lines({"FileInfo:" + root + ",FSIZE"}), "1.1K\t\n");
    Lines({"TEDirList:" + root + ",FNAME"}, "tree");
    EXPECT_EQ(Sorted(testing::ChildTitles(testing::Child(Top(), "[D]  sub"))),
              (std::vector<std::string>{"b.txt,", "loop,"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, FileProbes, ::testing::ValuesIn(testing::TestBackends()), testing::BackendName);

// The folder image holds what the shared tree cannot: version resources of PE
// files, fixed dates, drives without a disc, a PATH, short names.
// The rows of FileInfo: (oldver.dll has no translation table, german.dll is
// German in Unicode, kavtool.exe is not a PE file, drive D: holds no disc), the
// searches of a file-list title along PATH, and short names.
TEST(SimFileProbes, WholeOutputOfFileInfoSearchesAndShortNames) {
    probe_test::MachineFolder image("probes/files/tests/data/machine");
    std::string output =
        image
            .Run("text",
                 "FileInfo:<WINDOWS>\\win.ini,FNAME,FPATH,FNAMEPATH,FSIZE,FDATE,FTIME,FATTRIBUTE,DRVTYPE,MEDIATYPE,"
                 "EFFECTIVERIGHTS,FVERSION\n"
                 "FileInfo:<SYSTEM32>\\acmever.dll,FNAME,FVERSION,FDESCRIPTION,FMANUFACTURE,FPRODNAME,FPRODVERSION,"
                 "FCOMMENTS,FSIZE\n"
                 "FileInfo:<SYSTEM32>\\oldver.dll,FNAME,FVERSION,FMANUFACTURE\n"
                 "FileInfo:<SYSTEM32>\\german.dll,FNAME,FVERSION,FMANUFACTURE\n"
                 "FileInfo:<SYSTEM32>\\kavtool.exe,FNAME,FVERSION,FMANUFACTURE\n"
                 "FileInfo:C:\\,FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE\n"
                 "FileInfo:D:\\,FNAME,DRVTYPE,MEDIATYPE\n"
                 "FileInfo:E:\\,FNAME,DRVTYPE,MEDIATYPE")
            .text;
    output += "--- searches\n" +
              image
                  .Run("filelist,Name,20,Size,8\nFNAMEPATH,FSIZE,FATTRIBUTE\nss",
                       "CFileSearchPath:kavtool.exe\n  CFileSearch:<WINDOWS>\\*.ini\n  CFileSearch:C:\\Tools\\*.*")
                  .text;
    const std::string shortName = "CLFNtoSFN:C:\\Program Files\\Acme\\readme long name.txt";
    output += "--- short names\n" + image.Run("text", shortName).text;
    probe_test::ExpectSameAsFile(output, "probes/files/tests/expected/whole_output.txt");
}

#ifdef _WIN32
// Beyond the shared tree, the computer the tests run on (Wine): effective rights,
// its own system DLLs and drive roots, generated short names. Wine grants every
// access and generates short names its own way: there the shapes are checked.
class RealFileProbes : public FileProbes {};

TEST_P(RealFileProbes, EffectiveRightsOfAFileAndAFolderOnNtfs) {
    platform::Machine& machine = backend_->Context().machine;
    auto volume = machine.Volume(root.substr(0, 3));
    if (!volume.ok() || volume->fileSystem.find("NTFS") == std::string::npos)
        GTEST_SKIP() << "the temporary folder is not on an NTFS drive";
    std::string text =
        Lines({"FileInfo:" + root + "\\a.txt,EFFECTIVERIGHTS", "FileInfo:" + root + "\\sub,EFFECTIVERIGHTS"});
    // The user who made them may read them; the other five letters may have either sign.
    EXPECT_EQ(text.substr(0, 2) + text.substr(14, 2), "+R+R") << text;
    std::replace(text.begin(), text.end(), '-', '+');
    EXPECT_EQ(text, "+R+W+X+D+P+O\t\n+R+W+X+D+P+O\t\n");
    EXPECT_EQ(machine.EffectiveAccess(root + "\\none.txt").error(), err::kFileNotFound);
}

TEST_P(RealFileProbes, SystemDllVersionDriveRootAndGeneratedShortName) {
    const std::string text =
        Lines({"FileInfo:<SYSTEM32>\\kernel32.dll,FVERSION", "FileInfo:C:\\,FNAME,FPATH,FNAMEPATH,DRVTYPE",
               "CLFNtoSFN:" + root + "\\Long File Name.text"});
    const std::string version = text.substr(0, text.find('\t'));
    EXPECT_TRUE(!version.empty() && version.find(',') == std::string::npos && version.find('.') != std::string::npos)
        << text;
    const std::string shortNameLine = root + "\\Long File Name.text,";
    ASSERT_NE(text.find("\nC:\\\tC:\\\tC:\\\tHardDrive\t\n" + shortNameLine), std::string::npos) << text;
    const std::string shortName = text.substr(text.rfind('\\') + 1);
    EXPECT_NE(shortName.find('~'), std::string::npos) << text;  // "LONGFI~1.TEX", or Wine's hashed form
    EXPECT_TRUE(shortName.ends_with(".TEX\n")) << text;
}

INSTANTIATE_TEST_SUITE_P(Backends, RealFileProbes, ::testing::Values(testing::TestBackends().back()),
                         testing::BackendName);
#endif

}  // namespace
}  // namespace kavlo
