// The file commands on the simulated machine of tests/data/machine: what its
// folder image holds beyond the tree every backend shares (version resources of
// PE files, fixed dates, drives without a disc, a PATH, short names).

#include <gtest/gtest.h>

#include "engine/testing/script_rig.h"
#include "probes/system/tests/probe_test_support.h"
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

// The rows of FileInfo: (oldver.dll has no translation table, german.dll is
// German in Unicode, kavtool.exe is not a PE file, drive D: holds no disc), the
// searches of a file-list title along PATH, and short names on NT only.
TEST_F(SimFileProbes, WholeOutputOfFileInfoSearchesAndShortNames) {
    std::string output =
        Run("text",
            "FileInfo:<WINDOWS>\\win.ini,FNAME,FPATH,FNAMEPATH,FSIZE,FDATE,FTIME,FATTRIBUTE,DRVTYPE,MEDIATYPE,"
            "EFFECTIVERIGHTS,FVERSION\n"
            "FileInfo:<SYSTEM32>\\acmever.dll,FNAME,FVERSION,FDESCRIPTION,FMANUFACTURE,FPRODNAME,FPRODVERSION,"
            "FCOMMENTS,FSIZE\n"
            "FileInfo:<SYSTEM32>\\oldver.dll,FNAME,FVERSION,FMANUFACTURE\n"
            "FileInfo:<SYSTEM32>\\german.dll,FNAME,FVERSION,FMANUFACTURE\n"
            "FileInfo:<SYSTEM32>\\kavtool.exe,FNAME,FVERSION,FMANUFACTURE\n"
            "FileInfo:C:\\,FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE\n"
            "FileInfo:D:\\,FNAME,DRVTYPE,MEDIATYPE\n"
            "FileInfo:E:\\,FNAME,DRVTYPE,MEDIATYPE");
    output += "--- searches\n" +
              Run("filelist,Name,20,Size,8\nFNAMEPATH,FSIZE,FATTRIBUTE\nss",
                  "CFileSearchPath:kavtool.exe\n  CFileSearch:<WINDOWS>\\*.ini\n  CFileSearch:C:\\Tools\\*.*");
    const std::string shortName = "CLFNtoSFN:C:\\Program Files\\Acme\\readme long name.txt";
    output += "--- short names on NT 5.0, then Windows 95\n" + Run("text", shortName) +
              Run("text", shortName, testing::Win95());
    probe_test::ExpectSameAsFile(output, "probes/files/tests/expected/whole_output.txt");
}

}  // namespace
}  // namespace kavlo
