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
        tool.attributes = platform::attr::kReadOnly | platform::attr::kArchive;
        tool.version = ToolVersion();
        machine.drives['D'] = {platform::drive::kCdRom, "CDFS", std::nullopt};
        machine.drives['A'] = {platform::drive::kRemovable, "FAT", 1'000};
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
        bool checked;  // only files on NTFS drives are checked
    };
    const Case cases[] = {
        {"C:\\Program Files\\Acme\\tool.exe", 0x1F03FF, "+R+W+X+D+P+O", true},
        {"C:\\Program Files\\Acme\\tool.exe", 0, "-R-W-X-D-P-O", true},  // a check that grants nothing
        {"C:\\Program Files\\Acme", 0x1200A9, "+R-W+X-D-P-O", true},     // directories are checked too
        {"C:\\Program Files\\Acme\\tool.exe", 0x10000 | 0x2, "-R+W-X+D-P-O", true},
        {"C:\\Program Files\\Acme\\tool.exe", 0x40000 | 0x80000, "-R-W-X-D+P+O", true},
        {"C:\\Program Files\\Acme\\tool.exe", std::nullopt, "", true},  // the check failed
        {"A:\\setup.exe", 0x1F03FF, "", false},                         // FAT: no access lists
    };
    for (const Case& c : cases) {
        machine.grantedAccess = c.granted;
        machine.accessChecked.clear();
        const FileInfo r = Gathered(c.path);
        EXPECT_EQ(Row(r, "EFFECTIVERIGHTS"), c.rights + ",\n") << c.path;
        if (c.checked) {
            EXPECT_EQ(machine.accessChecked, std::vector<std::string>{c.path});
        } else {
            EXPECT_TRUE(machine.accessChecked.empty()) << c.path;
        }
    }
}

TEST_F(FileInfoTest, BuildRowFollowsEveryFieldWithTheSeparator) {
    const FileInfo r = Gathered("C:\\Program Files\\Acme\\tool.exe");
    std::string output = "0,";
    r.BuildRow("FNAME,FVERSION", "\t", output);
    EXPECT_EQ(output, "0,tool.exe\t5. 0. 2. 1\t\n");
    EXPECT_EQ(Row(r, "FNAME,,nothing,FSIZE,", "       "), "tool.exe       1.2MB       \n");
    EXPECT_EQ(Row(r, ""), "\n");
    // Key names are found anywhere in a key, case-sensitively, the first of them
    // in the record's order winning: FNAMEPATH before FNAME before FDATE.
    EXPECT_EQ(Row(r, "XFNAMEX,FDATE_FNAME,FSIZE FNAMEPATH,fname,SIZE"),
              "tool.exe,tool.exe,C:\\Program Files\\Acme\\tool.exe,\n");
}

// Missing paths keep the path whole as name; short ones fail with the error
// number, roots are drives.
TEST_F(FileInfoTest, MissingPathsShortPathsAndRoots) {
    struct Case {
        const char* path;
        int missing;
        std::string row;  // of FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE,FDATE
    };
    const std::string longest = "C:\\" + std::string(32'764, 'a');
    const Case cases[] = {
        {"C:\\nowhere\\gone.dll", 1, "C:\\nowhere\\gone.dll,,,,,,,\n"},
        {longest.c_str(), 1, longest + ",,,,,,,\n"},
        {"C:", 1, ",,C:,Error 2,Error 2,Error 2,,\n"},
        {"x", 1, ",,x,Error 2,Error 2,Error 2,,\n"},
        {"", 1, ",,,Error 2,Error 2,Error 2,,\n"},
        {"C:\\", 0, "C:\\,C:\\,C:\\,HardDrive,NTFS,,,\n"},
        {"D:\\", 0, "D:\\,D:\\,D:\\,CD-ROM,CDFS,,,\n"},
        {"Q:\\", 0, "Q:\\,Q:\\,Q:\\,Not a root,,,,\n"},  // no such drive: still a root
    };
    for (const Case& c : cases) {
        const FileInfo r = Gathered(c.path);
        EXPECT_EQ(r.Missing(), c.missing) << c.path;
        EXPECT_EQ(Row(r, "FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE,FDATE"), c.row) << c.path;
    }
    EXPECT_EQ(Row(Gathered("C:"), "EFFECTIVERIGHTS"), "Error 2,\n");
}

TEST_F(FileInfoTest, TheFirstTranslationPicksTheStringTable) {
    using Translations = std::vector<std::pair<std::uint16_t, std::uint16_t>>;
    struct Case {
        std::optional<Translations> translations;
        std::string block;
    };
    const Case cases[] = {
        {Translations{{0x0409, 0x04B0}, {0x0409, 0x04E4}}, "040904b0"},  // only the first pair counts
        {Translations{{0x0407, 0x0000}}, "04070000"},
        {Translations{{0x0C0A, 0xFDE9}}, "0c0afde9"},
        {std::nullopt, "040904e4"},  // no table: US English in the Windows code page
        {Translations{}, "040904e4"},
    };
    for (const Case& c : cases) {
        FakeVersion v;
        v.translations = c.translations;
        const std::string decoy = c.block == "040904e4" ? "040904b0" : "040904e4";
        v.strings = {{"\\StringFileInfo\\" + c.block + "\\CompanyName", c.block},
                     {"\\StringFileInfo\\" + decoy + "\\CompanyName", "decoy"}};
        machine.AddFile("C:\\t.dll", 10).version = v;
        EXPECT_EQ(Gathered("C:\\t.dll").Manufacturer(), c.block);
    }
}

TEST_F(FileInfoTest, VersionBlockOfTheBufferSizeOrMoreIsNotRead) {
    FakeVersion v = ToolVersion();
    v.blockSize = 7999;
    machine.AddFile("C:\\small.dll", 10).version = v;
    EXPECT_EQ(Gathered("C:\\small.dll").Version(), "5. 0. 2. 1");
    v.blockSize = 8000;
    machine.AddFile("C:\\big.dll", 10).version = v;
    const FileInfo big = Gathered("C:\\big.dll");
    EXPECT_EQ(Row(big, "FVERSION,FDESCRIPTION,FCOMMENTS,FMANUFACTURE,FPRODNAME,FPRODVERSION"), ",,,,,,\n");
    EXPECT_EQ(big.Name(), "big.dll");  // the rest of the record is still filled
    EXPECT_EQ(big.Size(), "10");
}

TEST_F(FileInfoTest, VersionTextsAreCutAtTheirLengthAndAtAZero) {
    FakeVersion v;
    const std::string b = "\\StringFileInfo\\040904e4\\";
    v.strings = {{b + "FileDescription", std::string(10'000, 'd')},
                 {b + "FileVersion", std::string(300, ',')},
                 {b + "Comments", std::string("abc\0def", 7)}};
    machine.AddFile("C:\\long.dll", 10).version = v;
    const FileInfo r = Gathered("C:\\long.dll");
    EXPECT_EQ(r.Description(), std::string(255, 'd'));
    EXPECT_EQ(r.Version(), std::string(255, '.'));
    EXPECT_EQ(Row(r, "FCOMMENTS"), "abc,\n");
}

TEST_F(FileInfoTest, DirectorySizeCountsEveryDepthIn64Bits) {
    machine.AddFile("C:\\data\\a.bin", 600);
    machine.AddFile("C:\\data\\sub\\one.iso", 3'000'000'000ull);
    machine.AddFile("C:\\data\\sub\\deeper\\two.iso", 3'000'000'000ull);
    machine.AddFile("C:\\data\\z.bin", 1);  // the last entry counts too
    machine.AddDirectory("C:\\empty");
    EXPECT_EQ(DirectorySize(machine, "C:\\data"), 6'000'000'601ull);
    EXPECT_EQ(DirectorySize(machine, "C:\\nothere"), 0u);
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\data", "6.0G,D,\n"},
        {"C:\\data\\sub\\one.iso", "3000.0MB,A,\n"},  // fits in 32 bits: shown as always
        {"C:\\empty", ",D,\n"},                       // a zero size leaves the field empty
    };
    for (const auto& [path, row] : cases) EXPECT_EQ(Row(Gathered(path), "FSIZE,FATTRIBUTE"), row) << path;
}

TEST_F(FileInfoTest, DirectorySizeStopsAtTheDepthBound) {
    std::string path = "C:\\deep";
    for (int level = 0; level <= kMaxWalkDepth + 5; ++level) {
        machine.AddFile(path + "\\f.bin", 1);
        path += "\\d";
    }
    EXPECT_EQ(DirectorySize(machine, "C:\\deep"), static_cast<std::uint64_t>(kMaxWalkDepth + 1));
}

TEST_F(FileInfoTest, EnvironmentVariablesAreExpandedBeforeEverything) {
    machine.environment["windir"] = "C:\\WINNT";
    machine.AddFile("C:\\WINNT\\win.ini", 2048);
    machine.grantedAccess = 0x120089;
    const FileInfo r = Gathered("%WINDIR%\\win.ini");
    EXPECT_EQ(Row(r, "FNAMEPATH,FSIZE,EFFECTIVERIGHTS"), "C:\\WINNT\\win.ini,2.0K,+R-W-X-D-P-O,\n");
    EXPECT_EQ(machine.accessChecked, std::vector<std::string>{"C:\\WINNT\\win.ini"});
    // The expansion is cut at the 260-character buffer; a cut path is not found.
    machine.environment["LONG"] = std::string(400, 'L');
    EXPECT_EQ(Gathered("%LONG%").Name(), std::string(259, 'L'));
}

TEST_F(FileInfoTest, NtPathModeNormalisesFirst) {
    machine.AddFile("C:\\WINNT\\System32\\drivers\\x.sys", 20'000);
    const FileInfo r = Gathered("\\SystemRoot\\System32\\drivers\\x.sys", PathMode::NtPath);
    EXPECT_EQ(Row(r, "FNAMEPATH,FSIZE"), "C:\\WINNT\\System32\\drivers\\x.sys,20.0K,\n");
    EXPECT_EQ(Gathered("\\??\\C:\\WINNT\\System32\\drivers\\x.sys", PathMode::Unchanged).Missing(), 1);
}

TEST_F(FileInfoTest, NormalizeNtPathFirstMatchingFormWins) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"\\??\\C:\\x.sys", "C:\\x.sys"},
        {"\\SystemRoot\\System32\\drivers\\a.sys", "C:\\WINNT\\System32\\drivers\\a.sys"},
        {"\\WINNT\\System32\\b.sys", "C:\\WINNT\\System32\\b.sys"},
        {"\\System32\\drivers\\c.sys", "C:\\WINNT\\system32\\\\drivers\\c.sys"},
        {"\\??\\C:\\SystemRoot\\d.sys", "C:\\SystemRoot\\d.sys"},  // "\??\" is tested first
        {"System32\\drivers\\e.sys", "System32\\drivers\\e.sys"},  // only paths beginning with "\"
        {"\\systemroot\\g.sys", "\\systemroot\\g.sys"},            // the forms are matched case-sensitively
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(NormalizeNtPath(machine, c.in), c.out) << c.in;
}

TEST_F(FileInfoTest, TimesAroundMidnightAndNoon) {
    machine.AddFile("C:\\t.txt", 1).lastWrite = {1999, 12, 31, 0, 0, 7, 5};
    EXPECT_EQ(Row(Gathered("C:\\t.txt"), "FDATE,FTIME"), "12/31/99,12:00:07  AM,\n");
    machine.AddFile("C:\\u.txt", 1).lastWrite = {2000, 1, 2, 12, 30, 0, 0};
    EXPECT_EQ(Row(Gathered("C:\\u.txt"), "FDATE,FTIME"), "01/02/00,12:30:00  PM,\n");
}

}  // namespace
}  // namespace kavlo
