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

TEST_F(FileInfoTest, ClearEmptiesEveryFieldAndMarksMissing) {
    FileInfo record = Gathered("C:\\Program Files\\Acme\\tool.exe");
    ASSERT_EQ(record.Missing(), 0);
    record.Clear();
    EXPECT_EQ(record.Missing(), 1);
    EXPECT_EQ(Row(record,
                  "FNAMEPATH,FNAME,FDATE,FTIME,FVERSION,FMANUFACTURE,FATTRIBUTE,FPATH,FSIZE,EFFECTIVERIGHTS,"
                  "DRVTYPE,MEDIATYPE,FDESCRIPTION,FPRODNAME,FPRODVERSION,FCOMMENTS"),
              std::string(16, ',') + "\n");
}

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
        {"C:\\Program Files\\Acme\\tool.exe", 0x120089, "+R-W-X-D-P-O", true},
        {"C:\\Program Files\\Acme\\tool.exe", 0, "-R-W-X-D-P-O", true},  // a check that grants nothing
        {"C:\\Program Files\\Acme", 0x1200A9, "+R-W+X-D-P-O", true},     // directories are checked too
        {"C:\\Program Files\\Acme\\tool.exe", std::nullopt, "", true},   // the check failed
        {"A:\\setup.exe", 0x1F03FF, "", false},                          // FAT: no access lists
    };
    for (const Case& c : cases) {
        machine.grantedAccess = c.granted;
        machine.accessChecked.clear();
        const FileInfo r = Gathered(c.path);
        EXPECT_EQ(r.EffectiveRightsText(), c.rights) << c.path;
        EXPECT_EQ(Row(r, "EFFECTIVERIGHTS"), c.rights + ",\n") << c.path;
        if (c.checked) {
            EXPECT_EQ(machine.accessChecked, std::vector<std::string>{c.path});
        } else {
            EXPECT_TRUE(machine.accessChecked.empty()) << c.path;
        }
    }
}

TEST_F(FileInfoTest, EffectiveRightsOfTheExpandedPath) {
    machine.environment["ACME"] = "C:\\Program Files\\Acme";
    machine.grantedAccess = 0x120089;
    const FileInfo r = Gathered("%ACME%\\tool.exe");
    EXPECT_EQ(r.EffectiveRightsText(), "+R-W-X-D-P-O");
    EXPECT_EQ(machine.accessChecked, std::vector<std::string>{"C:\\Program Files\\Acme\\tool.exe"});
}

TEST_F(FileInfoTest, FieldForKeyTestsKeyNamesAsSubstringsInTheirOrder) {
    const FileInfo r = Gathered("C:\\Program Files\\Acme\\tool.exe");
    struct Case {
        const char* key;
        std::string expected;
    };
    const Case cases[] = {
        {"FNAMEPATH", "C:\\Program Files\\Acme\\tool.exe,"},
        {"FNAME", "tool.exe,"},
        {"XFNAMEX", "tool.exe,"},
        {"FDATE_FNAME", "tool.exe,"},  // FNAME is tested before FDATE
        {"FSIZE FNAMEPATH", "C:\\Program Files\\Acme\\tool.exe,"},
        {"FPATH", "C:\\Program Files\\Acme,"},
        {"FPRODVERSION", "5. 0,"},
        {"FPRODNAME", "Acme Tools,"},
        {"FVERSION", "5. 0. 2. 1,"},
        {"FMANUFACTURE", "Acme Corp,"},
        {"FDESCRIPTION", "Tool, the best,"},
        {"FCOMMENTS", "none,"},
        {"FATTRIBUTE", "RA,"},
        {"FSIZE", "1.2MB,"},
        {"FDATE", "06/15/01,"},
        {"FTIME", "02:05:09  PM,"},
        {"DRVTYPE", "HardDrive,"},
        {"MEDIATYPE", "NTFS,"},
        {"EFFECTIVERIGHTS", ","},
        {"fname", ""},  // case-sensitive: no key, not even a separator
        {"", ""},
        {"SIZE", ""},
    };
    for (const Case& c : cases) {
        std::string row = "x";
        r.FieldForKey(c.key, ",", row);
        EXPECT_EQ(row, "x" + c.expected) << c.key;
    }
}

TEST_F(FileInfoTest, BuildRowFollowsEveryFieldWithTheSeparator) {
    const FileInfo r = Gathered("C:\\Program Files\\Acme\\tool.exe");
    std::string output = "0,";
    r.BuildRow("FNAME,FVERSION", "\t", output);
    EXPECT_EQ(output, "0,tool.exe\t5. 0. 2. 1\t\n");
    EXPECT_EQ(Row(r, "FNAME,,nothing,FSIZE,", "       "), "tool.exe       1.2MB       \n");
    EXPECT_EQ(Row(r, ""), "\n");
}

TEST_F(FileInfoTest, MissingPathKeepsThePathAsName) {
    const FileInfo r = Gathered("C:\\nowhere\\gone.dll");
    EXPECT_EQ(r.Missing(), 1);
    EXPECT_EQ(Row(r, "FNAME,FNAMEPATH,FSIZE,DRVTYPE,FVERSION"), "C:\\nowhere\\gone.dll,,,,,\n");
}

TEST_F(FileInfoTest, VeryLongPathIsMissingAndKeptWhole) {
    const std::string longPath = "C:\\" + std::string(32'764, 'a');
    const FileInfo r = Gathered(longPath);
    EXPECT_EQ(r.Missing(), 1);
    EXPECT_EQ(r.Name(), longPath);
}

TEST_F(FileInfoTest, ShortPathsThatFailCarryTheErrorNumber) {
    for (const char* path : {"C:", "Q:", "x", ""}) {
        const FileInfo r = Gathered(path);
        EXPECT_EQ(r.Missing(), 1) << path;
        EXPECT_EQ(r.Name(), "") << path;
        EXPECT_EQ(Row(r, "FNAMEPATH,DRVTYPE,MEDIATYPE,EFFECTIVERIGHTS,FSIZE,FDATE"),
                  std::string(path) + ",Error 2,Error 2,Error 2,Error 2,,\n")
            << path;
    }
}

TEST_F(FileInfoTest, ThreeCharacterRootIsGatheredAsADrive) {
    const FileInfo c = Gathered("C:\\");
    EXPECT_EQ(c.Missing(), 0);
    EXPECT_EQ(Row(c, "FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE"), "C:\\,C:\\,C:\\,HardDrive,NTFS,,\n");
    const FileInfo d = Gathered("D:\\");
    EXPECT_EQ(Row(d, "FNAME,DRVTYPE,MEDIATYPE"), "D:\\,CD-ROM,CDFS,\n");
    const FileInfo q = Gathered("Q:\\");  // no such drive: still a root, with no words to show
    EXPECT_EQ(Row(q, "FNAME,DRVTYPE,MEDIATYPE"), "Q:\\,Not a root,,\n");
}

TEST_F(FileInfoTest, MissingTranslationTableUsesUsEnglishWindowsCodePage) {
    FakeVersion v;
    v.strings = {{"\\StringFileInfo\\040904e4\\FileVersion", "1,2"},
                 {"\\StringFileInfo\\040904b0\\FileVersion", "wrong"}};
    machine.AddFile("C:\\old.dll", 10).version = v;
    EXPECT_EQ(Gathered("C:\\old.dll").Version(), "1.2");
    v.translations = std::vector<std::pair<std::uint16_t, std::uint16_t>>{};  // present but empty
    machine.AddFile("C:\\empty.dll", 10).version = v;
    EXPECT_EQ(Gathered("C:\\empty.dll").Version(), "1.2");
}

TEST_F(FileInfoTest, TranslationPicksTheStringTable) {
    struct Case {
        std::uint16_t language, codePage;
        const char* block;
    };
    const Case cases[] = {{0x0409, 0x04B0, "040904b0"},
                          {0x0000, 0x04B0, "000004b0"},
                          {0x0407, 0x0000, "04070000"},
                          {0x0C0A, 0xFDE9, "0c0afde9"}};
    for (const Case& c : cases) {
        FakeVersion v;
        v.translations = {{{c.language, c.codePage}, {0x0409, 0x04E4}}};  // only the first pair counts
        v.strings = {{std::string("\\StringFileInfo\\") + c.block + "\\CompanyName", c.block},
                     {"\\StringFileInfo\\040904e4\\CompanyName", "second pair"}};
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

TEST_F(FileInfoTest, LongVersionTextsAreCut) {
    FakeVersion v;
    v.strings = {{"\\StringFileInfo\\040904e4\\FileDescription", std::string(10'000, 'd')},
                 {"\\StringFileInfo\\040904e4\\FileVersion", std::string(300, ',')}};
    machine.AddFile("C:\\long.dll", 10).version = v;
    const FileInfo r = Gathered("C:\\long.dll");
    EXPECT_EQ(r.Description(), std::string(255, 'd'));
    EXPECT_EQ(r.Version(), std::string(255, '.'));
}

TEST_F(FileInfoTest, DirectorySizeCountsEveryDepth) {
    machine.AddFile("C:\\data\\a.bin", 600);
    machine.AddFile("C:\\data\\sub\\b.bin", 500);
    machine.AddFile("C:\\data\\sub\\deeper\\c.bin", 400);
    machine.AddFile("C:\\data\\z.bin", 1);  // the last entry counts too
    EXPECT_EQ(DirectorySize(machine, "C:\\data"), 1501u);
    const FileInfo r = Gathered("C:\\data");
    EXPECT_EQ(r.Size(), "1.5K");
    EXPECT_EQ(r.Attributes(), "D");
    machine.AddDirectory("C:\\empty");
    EXPECT_EQ(Gathered("C:\\empty").Size(), "");  // a zero size leaves the field empty
    EXPECT_EQ(DirectorySize(machine, "C:\\nothere"), 0u);
}

TEST_F(FileInfoTest, DirectorySizeKeeps64Bits) {
    machine.AddFile("C:\\media\\one.iso", 3'000'000'000ull);
    machine.AddFile("C:\\media\\two.iso", 3'000'000'000ull);
    EXPECT_EQ(DirectorySize(machine, "C:\\media"), 6'000'000'000ull);
    EXPECT_EQ(Gathered("C:\\media").Size(), "6.0G");
    EXPECT_EQ(Gathered("C:\\media\\one.iso").Size(), "3000.0MB");  // fits in 32 bits: shown as always
}

TEST_F(FileInfoTest, DirectorySizeDoesNotEnterReparsePoints) {
    machine.AddFile("C:\\Users\\me\\a.txt", 100);
    machine.AddJunction("C:\\Users\\me\\Application Data");  // points back at its parent on a real system
    machine.AddJunction("C:\\Users\\me\\Application Data\\x");
    machine.AddFile("C:\\Users\\me\\Application Data\\hidden.bin", 1'000'000);
    EXPECT_EQ(DirectorySize(machine, "C:\\Users"), 100u);
    const FileInfo junction = Gathered("C:\\Users\\me\\Application Data");
    EXPECT_EQ(junction.Missing(), 0);
    EXPECT_EQ(junction.Size(), "");
    EXPECT_EQ(junction.Attributes(), "D");
}

TEST_F(FileInfoTest, DirectorySizeStopsAtTheDepthBound) {
    std::string path = "C:\\deep";
    for (int level = 0; level <= kMaxWalkDepth + 5; ++level) {
        machine.AddFile(path + "\\f.bin", 1);
        path += "\\d";
    }
    EXPECT_EQ(DirectorySize(machine, "C:\\deep"), static_cast<std::uint64_t>(kMaxWalkDepth + 1));
}

TEST_F(FileInfoTest, FileThatVanishedAfterItsListingIsMissing) {
    machine.AddFile("C:\\tmp\\gone.tmp", 5);
    machine.Vanish("C:\\tmp\\gone.tmp");
    const FileInfo r = Gathered("C:\\tmp\\gone.tmp");
    EXPECT_EQ(r.Missing(), 1);
    EXPECT_EQ(Row(r, "FNAME,FSIZE"), "C:\\tmp\\gone.tmp,,\n");
}

TEST_F(FileInfoTest, EnvironmentVariablesAreExpanded) {
    machine.environment["windir"] = "C:\\WINNT";
    machine.AddFile("C:\\WINNT\\win.ini", 2048);
    const FileInfo r = Gathered("%WINDIR%\\win.ini");
    EXPECT_EQ(r.Missing(), 0);
    EXPECT_EQ(r.NameAndPath(), "C:\\WINNT\\win.ini");
    EXPECT_EQ(r.Size(), "2.0K");
    // The expansion is cut at the 260-character buffer; a cut path is not found.
    machine.environment["LONG"] = std::string(400, 'L');
    EXPECT_EQ(Gathered("%LONG%").Name(), std::string(259, 'L'));
}

TEST_F(FileInfoTest, NtPathModeNormalisesFirst) {
    machine.AddFile("C:\\WINNT\\System32\\drivers\\x.sys", 20'000);
    const FileInfo r = Gathered("\\SystemRoot\\System32\\drivers\\x.sys", PathMode::NtPath);
    EXPECT_EQ(r.NameAndPath(), "C:\\WINNT\\System32\\drivers\\x.sys");
    EXPECT_EQ(r.Size(), "20.0K");
    EXPECT_EQ(Gathered("\\??\\C:\\WINNT\\System32\\drivers\\x.sys", PathMode::NtPath).Missing(), 0);
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
        {"\\Device\\Harddisk0\\f.sys", "\\Device\\Harddisk0\\f.sys"},
        {"\\systemroot\\g.sys", "\\systemroot\\g.sys"},  // the forms are matched case-sensitively
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(NormalizeNtPath(machine, c.in), c.out) << c.in;
}

TEST_F(FileInfoTest, GatherDriveShowsFreeSpace) {
    FileInfo c;
    c.GatherDrive(machine, "C:\\");
    EXPECT_EQ(Row(c, "FNAME,FPATH,FNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE"), "C:\\,C:\\,C:\\,HardDrive,NTFS,2.5G Avail,\n");
    FileInfo d;
    d.GatherDrive(machine, "D:\\");  // no disc in the drive
    EXPECT_EQ(Row(d, "FNAME,DRVTYPE,MEDIATYPE,FSIZE"), "D:\\,CD-ROM,CDFS,,\n");
    FileInfo a;
    a.GatherDrive(machine, "A:\\");
    EXPECT_EQ(a.Size(), "1000 Avail");
}

TEST_F(FileInfoTest, TimesAroundMidnightAndNoon) {
    auto& f = machine.AddFile("C:\\t.txt", 1);
    f.lastWrite = {1999, 12, 31, 0, 0, 7, 5};
    EXPECT_EQ(Row(Gathered("C:\\t.txt"), "FDATE,FTIME"), "12/31/99,12:00:07  AM,\n");
    machine.AddFile("C:\\u.txt", 1).lastWrite = {2000, 1, 2, 12, 30, 0, 0};
    EXPECT_EQ(Row(Gathered("C:\\u.txt"), "FDATE,FTIME"), "01/02/00,12:30:00  PM,\n");
}

}  // namespace
}  // namespace kavlo
