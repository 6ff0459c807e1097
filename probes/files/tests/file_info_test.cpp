#include "probes/files/file_info.h"

#include <gtest/gtest.h>

#include "probes/files/file_paths.h"
#include "engine/testing/fake_machine.h"

namespace kavlo {
namespace {

using testing::FakeMachine;
using testing::FakeVersion;

FakeVersion ToolVersion() {
    FakeVersion v;
    v.translations = {{{0x0409, 0x04B0}}};
    const std::string b = "\\StringFileInfo\\040904b0\\";
    v.strings = {{b + "FileVersion", "5, 0, 2, 1"}, {b + "FileDescription", "Tool, the best"},
                 {b + "Comments", "none"},          {b + "CompanyName", "Acme Corp"},
                 {b + "ProductName", "Acme Tools"}, {b + "ProductVersion", "5, 0"}};
    return v;
}

class FileInfoTest : public ::testing::Test {
protected:
    FileInfoTest() : context(machine, OsInfo{"NT5.0", "Windows 2000", 50, true}, "C:\\") {
        auto& tool = machine.AddFile("C:\\Program Files\\Acme\\tool.exe", 1'234'567);
        tool.version = ToolVersion();
        machine.drives['A'] = {platform::drive::kRemovable, "FAT", 1'000};
    }
    /// The files and settings of the row table.
    void AddRowTableFiles() {
        machine.AddFile("C:\\t.txt", 1).lastWrite = {1999, 12, 31, 0, 0, 7, 5};
        machine.AddFile("C:\\u.txt", 1).lastWrite = {2000, 1, 2, 12, 30, 0, 0};
        machine.environment["windir"] = "C:\\WINNT";
        machine.environment["LONG"] = std::string(400, 'L');
        machine.grantedAccess = 0x120089;
        machine.AddFile("C:\\WINNT\\win.ini", 2048);
        machine.AddFile("C:\\WINNT\\System32\\drivers\\x.sys", 20'000);
        FakeVersion v = ToolVersion();
        v.blockSize = 7999;
        machine.AddFile("C:\\small.dll", 10).version = v;
        v.blockSize = 8000;
        machine.AddFile("C:\\big.dll", 10).version = v;
        const std::string b = "\\StringFileInfo\\040904e4\\";
        machine.AddFile("C:\\long.dll", 10).version = FakeVersion{std::nullopt,
                                                                  {{b + "FileDescription", std::string(10'000, 'd')},
                                                                   {b + "FileVersion", std::string(300, ',')},
                                                                   {b + "Comments", std::string("abc\0def", 7)}}};
        machine.AddFile("C:\\data\\a.bin", 600);
        machine.AddFile("C:\\data\\sub\\one.iso", 3'000'000'000ull);
        machine.AddFile("C:\\data\\sub\\deeper\\two.iso", 3'000'000'000ull);
        machine.AddFile("C:\\data\\z.bin", 1);  // the last entry counts too
        machine.AddDirectory("C:\\empty");
    }
    FileInfo Gathered(std::string_view path, PathMode mode = PathMode::Unchanged) {
        FileInfo record;
        record.Gather(context, path, mode);
        return record;
    }
    std::string Row(const FileInfo& record, std::string_view keys, std::string_view sep = ",") {
        std::string row;
        record.BuildRow(keys, sep, row);
        return row;
    }

    FakeMachine machine;
    AppContext context;
};

TEST_F(FileInfoTest, EffectiveRightsAreTheLettersOfTheGrantedMask) {
    machine.AddFile("A:\\setup.exe", 10);
    struct Case {
        const char* path;
        std::optional<std::uint32_t> granted;
        std::string rights;
    };
    // Each letter is granted in one row and refused in the others.
    const Case cases[] = {
        {"C:\\Program Files\\Acme", 0x1200A9, "+R-W+X-D-P-O"},  // directories are checked too
        {"C:\\Program Files\\Acme\\tool.exe", 0x10000 | 0x2, "-R+W-X+D-P-O"},
        {"C:\\Program Files\\Acme\\tool.exe", 0x40000 | 0x80000, "-R-W-X-D+P+O"},
        {"C:\\Program Files\\Acme\\tool.exe", std::nullopt, ""},  // the check failed
        {"A:\\setup.exe", 0x1F03FF, ""},                          // FAT: no access lists, no check
    };
    for (const Case& c : cases) {
        machine.grantedAccess = c.granted;
        EXPECT_EQ(Row(Gathered(c.path), "EFFECTIVERIGHTS"), c.rights + ",\n") << c.path;
    }
}

// (Separators and an empty key list are in the file commands' tests.)
TEST_F(FileInfoTest, BuildRowFindsKeyNamesInsideKeys) {
    const FileInfo r = Gathered("C:\\Program Files\\Acme\\tool.exe");
    // Key names are found anywhere in a key, case-sensitively, the first of them
    // in the record's order winning: FNAMEPATH before FNAME before FDATE.
    EXPECT_EQ(Row(r, "XFNAMEX,FDATE_FNAME,FSIZE FNAMEPATH,fname,SIZE"),
              "tool.exe,tool.exe,C:\\Program Files\\Acme\\tool.exe,\n");
}

// The row of a path gathered in a mode, by keys.
TEST_F(FileInfoTest, RowsOfGatheredPaths) {
    AddRowTableFiles();
    struct Case {
        std::string path;
        std::string keys;
        std::string row;
        int missing = 0;
        PathMode mode = PathMode::Unchanged;
    };
    const std::string place = "FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE,FDATE";
    const std::string longest = "C:\\" + std::string(32'764, 'a');
    const std::string version = "FVERSION,FDESCRIPTION,FCOMMENTS,FMANUFACTURE,FPRODNAME,FPRODVERSION";
    const Case cases[] = {
        // a missing path keeps the path whole as name
        {"C:\\nowhere\\gone.dll", place, "C:\\nowhere\\gone.dll,,,,,,,\n", 1},
        {longest, place, longest + ",,,,,,,\n", 1},
        // a short one fails with the error number
        {"C:", place + ",EFFECTIVERIGHTS", ",,C:,Error 2,Error 2,Error 2,,Error 2,\n", 1},
        {"", place, ",,,Error 2,Error 2,Error 2,,\n", 1},
        // one of three characters is a drive root (those of the simulated machine are in its expected output)
        {"Q:\\", place, "Q:\\,Q:\\,Q:\\,Not a root,,,,\n"},  // no such drive: still a root
        {"C:\\t.txt", "FDATE,FTIME", "12/31/99,12:00:07  AM,\n"},
        {"C:\\u.txt", "FDATE,FTIME", "01/02/00,12:30:00  PM,\n"},
        // a version block of 8000 bytes or more is not read; the rest of the record is
        {"C:\\small.dll", "FVERSION", "5. 0. 2. 1,\n"},
        {"C:\\big.dll", "FNAME,FSIZE," + version, "big.dll,10,,,,,,,\n"},
        // version texts are cut at 255 characters and at a zero
        {"C:\\long.dll", "FDESCRIPTION,FVERSION,FCOMMENTS",
         std::string(255, 'd') + "," + std::string(255, '.') + ",abc,\n"},
        // a directory's size is the total at every depth, in 64 bits
        {"C:\\data", "FSIZE,FATTRIBUTE", "6.0G,D,\n"},
        {"C:\\data\\sub\\one.iso", "FSIZE,FATTRIBUTE", "3000.0MB,A,\n"},  // fits in 32 bits: shown as always
        {"C:\\empty", "FSIZE,FATTRIBUTE", ",D,\n"},                       // a zero size leaves the field empty
        // variables are expanded before everything, cut at the 260-character buffer
        {"%WINDIR%\\win.ini", "FNAMEPATH,FSIZE,EFFECTIVERIGHTS", "C:\\WINNT\\win.ini,2.0K,+R-W-X-D-P-O,\n"},
        {"%LONG%", "FNAME", std::string(259, 'L') + ",\n", 1},
        // NT forms are normalised in the NT path mode only
        {"\\SystemRoot\\System32\\drivers\\x.sys", "FNAMEPATH,FSIZE", "C:\\WINNT\\System32\\drivers\\x.sys,20.0K,\n", 0,
         PathMode::NtPath},
        {"\\??\\C:\\WINNT\\System32\\drivers\\x.sys", "FNAMEPATH,FSIZE", ",,\n", 1},
        // the first matching form wins; a missing path shows the normalised one
        {"\\??\\C:\\x.sys", "FNAME", "C:\\x.sys,\n", 1, PathMode::NtPath},
        {"\\WINNT\\System32\\b.sys", "FNAME", "C:\\WINNT\\System32\\b.sys,\n", 1, PathMode::NtPath},
        {"\\System32\\drivers\\c.sys", "FNAME", "C:\\WINNT\\system32\\\\drivers\\c.sys,\n", 1, PathMode::NtPath},
        {"\\??\\C:\\SystemRoot\\d.sys", "FNAME", "C:\\SystemRoot\\d.sys,\n", 1, PathMode::NtPath},
        {"System32\\drivers\\e.sys", "FNAME", "System32\\drivers\\e.sys,\n", 1, PathMode::NtPath},  // "\" first only
        {"\\systemroot\\g.sys", "FNAME", "\\systemroot\\g.sys,\n", 1, PathMode::NtPath},            // case-sensitively
    };
    for (const Case& c : cases) {
        const FileInfo r = Gathered(c.path, c.mode);
        EXPECT_EQ(r.Missing(), c.missing) << c.path;
        EXPECT_EQ(Row(r, c.keys), c.row) << c.path;
    }
}

// Only the first pair of the translation table counts; an empty table, like
// none (long.dll of the row table), reads US English in the Windows code page.
// Other languages and code pages are in the simulated machine's expected output.
TEST_F(FileInfoTest, TheFirstTranslationPicksTheStringTable) {
    FakeVersion v;
    v.translations = {{{0x0409, 0x04B0}, {0x0409, 0x04E4}}};
    v.strings = {{"\\StringFileInfo\\040904b0\\CompanyName", "first pair"},
                 {"\\StringFileInfo\\040904e4\\CompanyName", "default"}};
    machine.AddFile("C:\\t.dll", 10).version = v;
    EXPECT_EQ(Gathered("C:\\t.dll").Manufacturer(), "first pair");
    v.translations.emplace();  // an empty table reads as none
    machine.AddFile("C:\\t.dll", 10).version = v;
    EXPECT_EQ(Gathered("C:\\t.dll").Manufacturer(), "default");
}

TEST_F(FileInfoTest, DirectorySizeSumsEveryDepthUpToTheBound) {
    AddRowTableFiles();
    EXPECT_EQ(DirectorySize(machine, "C:\\data"), 6'000'000'601ull);
    std::string path = "C:\\deep";
    for (int level = 0; level <= kMaxWalkDepth + 5; ++level) {
        machine.AddFile(path + "\\f.bin", 1);
        path += "\\d";
    }
    EXPECT_EQ(DirectorySize(machine, "C:\\deep"), static_cast<std::uint64_t>(kMaxWalkDepth + 1));
}

}  // namespace
}  // namespace kavlo
