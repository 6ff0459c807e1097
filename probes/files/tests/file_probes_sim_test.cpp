// The file commands on the simulated machine of tests/data/machine: what its
// folder image holds beyond the tree every backend shares (version resources of
// PE files, fixed dates, drives without a disc, a PATH, short names).

#include <gtest/gtest.h>

#include "engine/testing/script_rig.h"
#include "platform/sim/sim_machine.h"
#include "probes/files/file_info.h"

namespace kavlo {
namespace {

class SimFileProbes : public ::testing::Test {
protected:
    void SetUp() override {
        auto loaded = platform::sim::LoadMachine(KAVLO_TEST_SOURCE_DIR "/probes/files/tests/data/machine");
        ASSERT_TRUE(loaded.machine) << loaded.error;
        machine = std::move(loaded.machine);
        context = std::make_unique<AppContext>(*machine, testing::Nt50(), "C:\\");
        title.kind = "text";
    }
    /// Runs script lines through the dispatcher against the title.
    std::string Lines(std::initializer_list<std::string_view> lines) {
        ScriptEngine engine(*context, StandardCommandTable());
        ScriptFile file{std::string()};
        for (std::string_view line : lines) engine.Dispatch(file, line, &title);
        return title.text;
    }

    std::unique_ptr<platform::Machine> machine;
    std::unique_ptr<AppContext> context;
    TitleRecord title;
};

TEST_F(SimFileProbes, FileInfoRowOfAFileWithAFixedDate) {
    EXPECT_EQ(Lines({"FileInfo:<WINDOWS>\\win.ini,FNAME,FPATH,FNAMEPATH,FSIZE,FDATE,FTIME,FATTRIBUTE,DRVTYPE,"
                     "MEDIATYPE,EFFECTIVERIGHTS,FVERSION"}),
              "win.ini\tC:\\WINNT\tC:\\WINNT\\win.ini\t124\t06/15/01\t02:05:09  PM\tA\tHardDrive\tNTFS\t\t\t\n");
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

TEST_F(SimFileProbes, SearchPathOrderAndMissingEntries) {
    title.header1 = "FNAMEPATH,FSIZE,FATTRIBUTE";
    EXPECT_EQ(Lines({"CFileSearchPath:kavtool.exe"}),
              "0,C:\\WINNT\\System32\\kavtool.exe,3.0K,RA,\n0,C:\\Tools\\kavtool.exe,512,A,\n");
}

TEST_F(SimFileProbes, ShortPathNamesOnNtOnly) {
    const std::string text =
        Lines({"CLFNtoSFN:C:\\Program Files\\Acme\\readme long name.txt", "CLFNtoSFN:C:\\nope.txt"});
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "C:\\Program Files\\Acme\\readme long name.txt,C:\\PROGRA~1\\Acme\\README~1.TXT\n");
    EXPECT_TRUE(text.ends_with("C:\\nope.txt,The system cannot find the file specified.\r\n\n")) << text;

    AppContext win95(*machine, testing::Win95(), "C:\\");
    ScriptEngine engine(win95, StandardCommandTable());
    ScriptFile file{std::string()};
    TitleRecord other;
    engine.Dispatch(file, "CLFNtoSFN:C:\\Program Files", &other);
    EXPECT_EQ(other.text, "");
}

TEST_F(SimFileProbes, FileListTitleOfAScript) {
    testing::ScriptRunner runner(*context);
    EXPECT_EQ(runner
                  .RunBody("filelist,Name,20,Size,8\nFNAME,FSIZE\nss",
                           "  CFileSearch:<WINDOWS>\\*.ini\n  CFileSearch:C:\\Tools\\*.*")
                  .text,
              "0,win.ini,124,\n0,kavtool.exe,512,\n");
}

}  // namespace
}  // namespace kavlo
