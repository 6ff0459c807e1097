// The file commands on the simulated machine of tests/data/machine: what its
// folder image holds beyond the tree every backend shares (version resources of
// PE files, fixed dates, drives without a disc, a PATH, short names).

#include <gtest/gtest.h>

#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

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

}  // namespace
}  // namespace kavlo
