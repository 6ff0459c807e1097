// The file commands against the computer the tests run on (Windows builds only,
// run under Wine here), beyond the tree every backend shares: effective rights,
// Wine's own system DLLs, drive roots and generated short names.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "probes/registration.h"
#include "engine/script_engine.h"
#include "platform/win32/win32_machine.h"

namespace kavlo {
namespace {

namespace fs = std::filesystem;

class RealFileProbes : public ::testing::Test {
protected:
    RealFileProbes()
        : machine(platform::win32::MakeWin32Machine()),
          context(*machine, OsInfo{"NT5.0", "Windows 2000 Professional", 50, true}, "C:\\") {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof temp, temp);
        folder = std::string(temp, length < sizeof temp ? length : 0) + "KavloFileProbes-" +
                 std::to_string(::GetCurrentProcessId());
        fs::remove_all(folder);
        fs::create_directories(fs::path(folder) / "sub");
        Write("a.txt", std::string(512, 'a'));
        Write("sub\\b.txt", std::string(600, 'b'));
        Write("Long File Name.text", "");
        title.kind = "text";
    }
    ~RealFileProbes() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(folder + "\\" + name, std::ios::binary) << content;
    }
    std::string Lines(std::initializer_list<std::string> lines) {
        ScriptEngine engine(context, StandardCommandTable());
        ScriptFile file{std::string()};
        for (const std::string& line : lines) engine.Dispatch(file, line, &title);
        return title.text;
    }

    std::unique_ptr<platform::Machine> machine;
    AppContext context;
    std::string folder;
    TitleRecord title;
};

TEST_F(RealFileProbes, EffectiveRightsOfAFileOnAnNtfsDrive) {
    auto volume = machine->Volume(folder.substr(0, 3));
    if (!volume.ok() || volume->fileSystem.find("NTFS") == std::string::npos)
        GTEST_SKIP() << "the temporary folder is not on an NTFS drive";
    for (const std::string& path : {folder + "\\a.txt", folder + "\\sub"}) {
        const std::string text = Lines({"FileInfo:" + path + ",EFFECTIVERIGHTS"});
        title.text.clear();
        ASSERT_EQ(text.size(), 12u + 2u) << path << ": " << text;  // six sign and letter pairs, a tab, a line end
        for (std::size_t pair = 0; pair < 6; ++pair) {
            EXPECT_TRUE(text[2 * pair] == '+' || text[2 * pair] == '-') << text;
            EXPECT_EQ(text[2 * pair + 1], "RWXDPO"[pair]) << text;
        }
        // The user who made the file may read it.
        EXPECT_EQ(text.substr(0, 2), "+R") << path;
    }
    auto granted = machine->EffectiveAccess(folder + "\\a.txt");
    ASSERT_TRUE(granted.ok()) << granted.error();
    EXPECT_NE(*granted & FILE_READ_DATA, 0u);
    EXPECT_EQ(machine->EffectiveAccess(folder + "\\none.txt").error(), static_cast<WinError>(ERROR_FILE_NOT_FOUND));
}

TEST_F(RealFileProbes, VersionOfASystemDll) {
    const std::string text = Lines({"FileInfo:<SYSTEM32>\\kernel32.dll,FNAME,FVERSION,FPRODVERSION,MEDIATYPE"});
    EXPECT_TRUE(text.starts_with("kernel32.dll\t")) << text;
    const std::string version = text.substr(13, text.find('\t', 13) - 13);
    EXPECT_FALSE(version.empty()) << text;
    EXPECT_EQ(version.find(','), std::string::npos) << text;
    EXPECT_NE(version.find('.'), std::string::npos) << text;
}

TEST_F(RealFileProbes, DriveRootAndShortPath) {
    EXPECT_EQ(Lines({"FileInfo:C:\\,FNAME,FPATH,FNAMEPATH,DRVTYPE"}), "C:\\\tC:\\\tC:\\\tHardDrive\t\n");
}

TEST_F(RealFileProbes, ShortNamesAndTheirFailures) {
    const std::string text = Lines({"CLFNtoSFN:" + folder + "\\Long File Name.text", "CLFNtoSFN:" + folder + "\\none"});
    const std::string first = text.substr(0, text.find('\n'));
    EXPECT_TRUE(first.starts_with(folder + "\\Long File Name.text,")) << first;
    const std::string shortName = first.substr(first.rfind('\\') + 1);
    EXPECT_NE(shortName.find('~'), std::string::npos) << first;  // "LONGFI~1.TEX", or Wine's hashed form
    EXPECT_TRUE(shortName.ends_with(".TEX")) << first;
    EXPECT_TRUE(text.ends_with("\r\n\n")) << text;  // the system's message text keeps its line end
}

}  // namespace
}  // namespace kavlo
