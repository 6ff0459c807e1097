// What only the real machine can show: the effect of the executable's manifest,
// long paths, key security and the key deletion without RegDeleteTreeA.

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_registry.h"

namespace kavlo::platform::win32 {
namespace {

TEST(Win32Machine, VersionMatchesTheKernelsOwnBecauseTheManifestDeclaresTheSystem) {
    // RtlGetVersion is never lied to; GetVersionEx is, for executables that do
    // not declare Windows 8.1 and 10 as supported.
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = ProcAddress<RtlGetVersionFunction>(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion");
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW kernel{};
    kernel.dwOSVersionInfoSize = sizeof kernel;
    ASSERT_EQ(rtlGetVersion(&kernel), 0);

    const OsVersion version = MakeWin32Machine()->Version();
    EXPECT_EQ(version.platform, kernel.dwPlatformId);
    EXPECT_EQ(version.major, kernel.dwMajorVersion);
    EXPECT_EQ(version.minor, kernel.dwMinorVersion);
    EXPECT_EQ(version.build, kernel.dwBuildNumber);
}

TEST(Win32Machine, PathsLongerThanMaxPathNeitherOverflowNorTruncate) {
    auto machine = MakeWin32Machine();
    const std::string longName(300, 'x');
    const std::string longPath = "C:\\" + longName + "\\" + longName + "\\file.txt";
    EXPECT_FALSE(machine->FindFiles(longPath).ok());
    EXPECT_FALSE(machine->OpenForRead(longPath).ok());
    EXPECT_FALSE(machine->ShortPathName(longPath).ok());
    EXPECT_FALSE(machine->FileVersion(longPath).ok());

    // Values around the first buffer's size (MAX_PATH + 1) and far beyond it are read whole.
    for (std::size_t length : {258u, 259u, 260u, 261u, 262u, 5000u, 32000u}) {
        const std::string longValue(length, 'v');
        ASSERT_TRUE(::SetEnvironmentVariableA("KAVLO_LONG_TEST_VALUE", longValue.c_str()));
        EXPECT_EQ(machine->Environment("KAVLO_LONG_TEST_VALUE"), longValue) << length;
        EXPECT_EQ(machine->ExpandEnvironment("<%KAVLO_LONG_TEST_VALUE%>"), "<" + longValue + ">") << length;
    }
    ASSERT_TRUE(::SetEnvironmentVariableA("KAVLO_EMPTY_TEST_VALUE", ""));
    EXPECT_EQ(machine->Environment("KAVLO_EMPTY_TEST_VALUE"), std::string());
    ::SetEnvironmentVariableA("KAVLO_LONG_TEST_VALUE", nullptr);
    ::SetEnvironmentVariableA("KAVLO_EMPTY_TEST_VALUE", nullptr);
}

// A readable key's descriptor is parsed and shown by the key permission probe's
// test under Wine (probes/security/tests); without READ_CONTROL the system refuses.
TEST(Win32Machine, KeySecurityDescriptorNeedsReadControl) {
    auto machine = MakeWin32Machine();
    auto valuesOnly = machine->OpenKey(RegRoot::CurrentUser, "Software", KEY_QUERY_VALUE);
    ASSERT_TRUE(valuesOnly.ok()) << "error " << valuesOnly.error();
    EXPECT_EQ((*valuesOnly)->SecurityDescriptor().error(), err::kAccessDenied);
}

TEST(Win32Machine, DeleteByWalkRemovesTheDeepestKeysFirst) {
    // The fallback of systems without RegDeleteTreeA, which Wine has.
    const std::string top = "Software\\KavloDeleteWalkTest";
    auto machine = MakeWin32Machine();
    (void)machine->DeleteKey(RegRoot::CurrentUser, top);
    std::string deep = top;
    for (int level = 0; level < 20; ++level) deep += "\\Level" + std::to_string(level);
    for (const std::string& path : {deep, top + "\\Wide\\A", top + "\\Wide\\B", top + "\\Wide\\C"}) {
        auto created = machine->CreateKey(RegRoot::CurrentUser, path);
        ASSERT_TRUE(created.ok()) << path;
        EXPECT_TRUE((*created)->SetString("v", "x").ok());
    }
    EXPECT_TRUE(DeleteRegistryKeyByWalk(RegRoot::CurrentUser, top + "\\Wide").ok());
    EXPECT_EQ(machine->OpenKey(RegRoot::CurrentUser, top + "\\Wide").error(), err::kFileNotFound);
    EXPECT_TRUE(machine->OpenKey(RegRoot::CurrentUser, deep).ok());
    EXPECT_TRUE(DeleteRegistryKeyByWalk(RegRoot::CurrentUser, top).ok());
    EXPECT_EQ(machine->OpenKey(RegRoot::CurrentUser, top).error(), err::kFileNotFound);
    EXPECT_EQ(DeleteRegistryKeyByWalk(RegRoot::CurrentUser, top).error(), err::kFileNotFound);
    EXPECT_EQ(DeleteRegistryKeyByWalk(RegRoot::CurrentUser, "\\").error(), err::kInvalidParameter);
}

TEST(Win32Machine, ErrorTextsKeepTheirInsertsAndUnknownCodesGiveNoText) {
    auto machine = MakeWin32Machine();
    // ERROR_BAD_EXE_FORMAT has an insert; with inserts ignored it stays "%1".
    EXPECT_NE(machine->ErrorText(193).find("%1"), std::string::npos) << machine->ErrorText(193);
    EXPECT_EQ(machine->ErrorText(0x2FFFFFFF), "");
}

}  // namespace
}  // namespace kavlo::platform::win32
