// The file commands on the simulated machine of tests/data/machine: what its
// folder image holds beyond the tree every backend shares (version resources of
// PE files, fixed dates, drives without a disc, a PATH, short names).

#include <gtest/gtest.h>

#include "engine/testing/script_rig.h"
#include "platform/sim/sim_machine.h"

namespace kavlo {
namespace {

class SimFileProbes : public ::testing::Test {
protected:
    void SetUp() override {
        auto loaded = platform::sim::LoadMachine(KAVLO_TEST_SOURCE_DIR "/probes/files/tests/data/machine");
        ASSERT_TRUE(loaded.machine) << loaded.error;
        machine = std::move(loaded.machine);
    }
    /// The text of a title of this kind line (and header lines) running `body` on the image as `os`.
    std::string Run(std::string_view kind, std::string_view body, OsInfo os = testing::Nt50()) {
        AppContext context(*machine, std::move(os), "C:\\");
        return testing::ScriptRunner(context).RunBody(kind, body).text;
    }

    std::unique_ptr<platform::Machine> machine;
};

TEST_F(SimFileProbes, FileInfoRowsOfDatesVersionResourcesAndDrives) {
    EXPECT_EQ(Run("text",
                  "FileInfo:<WINDOWS>\\win.ini,FNAME,FPATH,FNAMEPATH,FSIZE,FDATE,FTIME,FATTRIBUTE,DRVTYPE,MEDIATYPE,"
                  "EFFECTIVERIGHTS,FVERSION\n"
                  "FileInfo:<SYSTEM32>\\acmever.dll,FNAME,FVERSION,FDESCRIPTION,FMANUFACTURE,FPRODNAME,FPRODVERSION,"
                  "FCOMMENTS,FSIZE\n"
                  "FileInfo:<SYSTEM32>\\oldver.dll,FNAME,FVERSION,FMANUFACTURE\n"   // no translation table
                  "FileInfo:<SYSTEM32>\\german.dll,FNAME,FVERSION,FMANUFACTURE\n"   // German, Unicode
                  "FileInfo:<SYSTEM32>\\kavtool.exe,FNAME,FVERSION,FMANUFACTURE\n"  // not a PE file
                  "FileInfo:C:\\,FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE\n"
                  "FileInfo:D:\\,FNAME,DRVTYPE,MEDIATYPE\n"
                  "FileInfo:E:\\,FNAME,DRVTYPE,MEDIATYPE"),
              "win.ini\tC:\\WINNT\tC:\\WINNT\\win.ini\t124\t06/15/01\t02:05:09  PM\tA\tHardDrive\tNTFS\t\t\t\n"
              "acmever.dll\t5. 0. 2. 1\tAcme helper, shared\tAcme Corp\tAcme Tools\t5. 0\tfor tests\t2.0K\t\n"
              "oldver.dll\t4. 0. 0. 950\tOld Corp\t\n"
              "german.dll\t1.2\tDeutsch GmbH\t\n"
              "kavtool.exe\t\t\t\n"
              "C:\\\tC:\\\tC:\\\tHardDrive\tNTFS\t\n"
              "D:\\\tCD-ROM\t\t\n"  // no disc: no file system to show
              "E:\\\tRemovable\tFAT\t\n");
}

TEST_F(SimFileProbes, SearchesOfAFileListTitleFollowThePathInOrder) {
    EXPECT_EQ(Run("filelist,Name,20,Size,8\nFNAMEPATH,FSIZE,FATTRIBUTE\nss",
                  "CFileSearchPath:kavtool.exe\n  CFileSearch:<WINDOWS>\\*.ini\n  CFileSearch:C:\\Tools\\*.*"),
              "0,C:\\WINNT\\System32\\kavtool.exe,3.0K,RA,\n0,C:\\Tools\\kavtool.exe,512,A,\n"
              "0,C:\\WINNT\\win.ini,124,A,\n0,C:\\Tools\\kavtool.exe,512,A,\n");
}

TEST_F(SimFileProbes, ShortPathNamesOnNtOnly) {
    const std::string line = "CLFNtoSFN:C:\\Program Files\\Acme\\readme long name.txt";
    EXPECT_EQ(Run("text", line), "C:\\Program Files\\Acme\\readme long name.txt,C:\\PROGRA~1\\Acme\\README~1.TXT\n");
    EXPECT_EQ(Run("text", line, testing::Win95()), "");
}

}  // namespace
}  // namespace kavlo
