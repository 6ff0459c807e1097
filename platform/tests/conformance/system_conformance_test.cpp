// Version resources, error texts and the environment, identical on every backend.

#include <string>
#include <vector>

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

TEST_P(Conformance, VersionResourceOfTheSampleImage) {
    auto version = machine().FileVersion(backend().Sample("version_sample.dll"));
    ASSERT_TRUE(version.ok()) << "error " << version.error();
    EXPECT_EQ((*version)->Translations(), (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x0409, 1200}}));
    // The strings of version_sample.dll, language 0409 and code page 1200 (04b0).
    const std::string table = "\\StringFileInfo\\040904b0\\";
    EXPECT_EQ((*version)->QueryString(table + "FileVersion"), "1.2.3.4");
    EXPECT_EQ((*version)->QueryString(table + "ProductName"), "Conformance sample");
    EXPECT_EQ((*version)->QueryString(table + "NoSuchString"), std::nullopt);
    EXPECT_EQ((*version)->QueryString("\\StringFileInfo\\041104b0\\FileVersion"), std::nullopt);
    if (machine().AnsiCodePage() == 1252) {
        EXPECT_EQ((*version)->QueryString(table + "LegalCopyright"), "\xA9 2001 nobody");
    }
    EXPECT_GT((*version)->BlockSize(), 0u);
}

TEST_P(Conformance, VersionResourceFailures) {
    // Wine gives 1812 for every image without a version resource; Windows 1813
    // for an image with resources but none of that type. For an image without a
    // resource section either resource code is right.
    EXPECT_EQ(machine().FileVersion(backend().Sample("no_version.dll")).error(),
              backend().RunsOnWine() ? err::kResourceDataNotFound : err::kResourceTypeNotFound);
    const WinError noSection = machine().FileVersion(backend().Sample("no_resources.dll")).error();
    EXPECT_TRUE(noSection == err::kResourceDataNotFound || noSection == err::kResourceTypeNotFound) << noSection;
    EXPECT_EQ(machine().FileVersion(InFolder("missing.dll")).error(), err::kFileNotFound);
    EXPECT_EQ(machine().FileVersion(InFolder("nodir\\missing.dll")).error(), err::kPathNotFound);
    EXPECT_FALSE(machine().FileVersion(InFolder("a1.txt")).ok()) << "a text file has no version resource";
}

TEST_P(Conformance, ErrorTextsAreTheSystemsWithTheirLineEnd) {
    const struct {
        WinError code;
        const char* windows;
        const char* wine;
    } cases[] = {
        {3, "The system cannot find the path specified.\r\n", "Path not found.\r\n"},
        {5, "Access is denied.\r\n", "Access denied.\r\n"},
        {259, "No more data is available.\r\n", "No more data available.\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(machine().ErrorText(c.code), backend().RunsOnWine() ? c.wine : c.windows) << c.code;
}

TEST_P(Conformance, KnownEnvironmentNamesExpandIgnoringCaseOthersStayAsWritten) {
    const auto windir = machine().Environment("windir");
    ASSERT_TRUE(windir.has_value());
    EXPECT_EQ(machine().ExpandEnvironment("[%windir%]"), "[" + *windir + "]");
    EXPECT_EQ(machine().ExpandEnvironment("[%WINDIR%]"), "[" + *windir + "]");
    EXPECT_EQ(machine().Environment("KAVLO_CONFORMANCE_NO_SUCH_VARIABLE"), std::nullopt);
    for (const char* text : {"a%KAVLO_CONFORMANCE_NO_SUCH_VARIABLE%b", "50% off", ""})
        EXPECT_EQ(machine().ExpandEnvironment(text), text);
}

TEST_P(Conformance, DirectoriesNamesAndShellFolders) {
    const std::string windowsDir = machine().WindowsDirectory();
    const std::string systemDir = machine().SystemDirectory();
    ASSERT_GE(windowsDir.size(), 3u);
    EXPECT_EQ(windowsDir.substr(1, 2), ":\\");
    EXPECT_EQ(systemDir.rfind(windowsDir + "\\", 0), 0u) << systemDir << " lies below " << windowsDir;
    EXPECT_EQ(machine().Environment("windir"), windowsDir);
    EXPECT_FALSE(machine().ComputerName().empty());
    EXPECT_FALSE(machine().HostName().value().empty());
    EXPECT_FALSE(machine().CurrentDirectory().empty());
    EXPECT_GE(machine().ProcessorCount(), 1u);
    EXPECT_NE(machine().AnsiCodePage(), 0u);
    EXPECT_GE(machine().Now().year, 2000);
    constexpr int kCsidlWindows = 0x24, kCsidlSystem = 0x25, kCsidlAppData = 0x1a, kCsidlDrives = 0x11;
    EXPECT_EQ(machine().ShellFolder(kCsidlWindows).value(), windowsDir);
    EXPECT_EQ(machine().ShellFolder(kCsidlSystem).value(), systemDir);
    EXPECT_EQ(machine().ShellFolder(kCsidlAppData).value().substr(1, 2), ":\\");
    EXPECT_FALSE(machine().ShellFolder(kCsidlDrives).ok()) << "My Computer has no path";
}

}  // namespace
}  // namespace kavlo::platform::conformance
