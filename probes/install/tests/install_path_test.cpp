// "InstallPath:" with each kind of path spec on a simulated machine.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"

namespace kavlo {
namespace {

constexpr std::string_view kColumns = "filelist,Component,20,File,16,Size,9,Folder,30\nFNAME,FSIZE,FPATH\nA,A,A,A";

class InstallPath : public ::testing::Test {
protected:
    InstallPath()
        : image(
              std::string(kavlo::testing::kMinimalSystem) +
              "[environment]\nProgramFiles = C:\\Program Files\n[folders]\nCSIDL_PROGRAM_FILES = C:\\Program Files\n") {
        image.Registry("50-app",
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\App]\n\"Path\"=\"C:\\\\Program Files\\\\App\\\\app.exe\"\n"
                       "\"Drive\"=\"C:\"\n");
        image.DriveFile("Program Files/App/app.exe", std::string(1500, 'x'));
    }
    std::string Row(std::string_view line) { return image.Run(kColumns, line).text; }
    testing::SimImage image;
};

TEST_F(InstallPath, EachKindOfPathSpec) {
    const std::string found = ",app.exe,1.5K,C:\\Program Files\\App,\n";
    EXPECT_EQ(Row("InstallPath:Direct,C:\\Program Files\\App\\app.exe"), "0,Direct" + found);
    EXPECT_EQ(Row("InstallPath:Env,%ProgramFiles%\\App\\app.exe"), "0,Env" + found);
    EXPECT_EQ(Row("InstallPath:Token,<CSIDL_PROGRAM_FILES>\\App\\app.exe"), "0,Token" + found);
    EXPECT_EQ(Row("InstallPath:Value,RVAL:HKLM\\SOFTWARE\\App\\Path"), "0,Value" + found);
}

TEST_F(InstallPath, ShortResultsNameARootAndMissingThingsAreMarked) {
    EXPECT_EQ(Row("InstallPath:Root,RVAL:HKLM\\SOFTWARE\\App\\Drive"), "0,Root,C:\\,,C:\\,\n");
    // A missing value: one empty cell for each column after the first.
    EXPECT_EQ(Row("InstallPath:Gone,RVAL:HKLM\\SOFTWARE\\App\\Nothing"), "2,Gone,Not Present,,\n");
    EXPECT_EQ(Row("InstallPath:Gone,C:\\Program Files\\App\\none.exe"), "2,Gone,C:\\Program Files\\App\\none.exe,,,\n");
    // Without a spec the path is "\", which no search finds.
    EXPECT_EQ(Row("InstallPath:No spec"), "2,No spec,,Error 2,,\n");
}

}  // namespace
}  // namespace kavlo
