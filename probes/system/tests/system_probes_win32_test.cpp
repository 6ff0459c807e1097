// The system commands against the computer the tests run on (Windows builds
// only, run under Wine here). Wine 8 gives a fixed server type, no event records
// and no shares (its share enumeration answers 50), so these tests check the
// shape of the output rather than its values.

#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/event_record.h"
#include "platform/win32/win32_machine.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo::probe_test {
namespace {

bool UnderWine() { return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

class RealSystemProbes : public ::testing::Test {
protected:
    std::unique_ptr<platform::Machine> machine = platform::win32::MakeWin32Machine();
    LineRunner lines{*machine};
};

TEST_F(RealSystemProbes, ServerTypeLines) {
    // One line for the type and one for each known flag that is set, the NT one among them.
    const std::string text = lines.Text("CWinServerType:");
    EXPECT_TRUE(Matches(text,
                        "Server Type,0x[0-9a-f]+\n(SV_TYPE_[A-Z_]+,[^\n]+\n)*"
                        "SV_TYPE_NT,Windows NT \\(either Workstation or Server\\)\n(SV_TYPE_[A-Z_]+,[^\n]+\n)*"))
        << text;
}

// One row per share; a failing enumeration (Wine answers 50) lists nothing.
TEST_F(RealSystemProbes, OneRowPerShare) {
    auto shares = machine->Shares();
    if (UnderWine()) {
        EXPECT_EQ(shares.error(), err::kNotSupported);
    }
    const std::string rows = lines.Text("CWinShares:");
    EXPECT_EQ(static_cast<std::size_t>(std::count(rows.begin(), rows.end(), '\n')), shares ? shares->size() : 0u)
        << rows;
}

TEST_F(RealSystemProbes, SystemLogOpensAndReadsWholeRecords) {
    auto log = machine->OpenEventLogByName("System");
    ASSERT_TRUE(log) << log.error();
    auto bytes = (*log)->ReadNewestFirst(600000);
    if (!bytes) {
        EXPECT_EQ(bytes.error(), err::kHandleEof);  // Wine keeps no records
        return;
    }
    const platform::EventRecordParse parsed = platform::ParseEventRecords(*bytes);
    EXPECT_TRUE(parsed.complete);
    EXPECT_FALSE(parsed.records.empty());
}

TEST_F(RealSystemProbes, MessagesFromTheSystemAndFromAModuleLoadedAsData) {
    auto text = machine->SystemMessage(ERROR_ACCESS_DENIED);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, machine->ErrorText(ERROR_ACCESS_DENIED));
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    auto kernel = machine->LoadMessageFile(std::string(system) + "\\kernel32.dll");
    ASSERT_TRUE(kernel) << kernel.error();
    EXPECT_FALSE((*kernel)->Format(0x7FFFFFF0));
    // Loading as data opens the file first: Wine says 2, Windows 126.
    const WinError missing = machine->LoadMessageFile(std::string(system) + "\\no-such-file.dll").error();
    EXPECT_TRUE(missing == ERROR_FILE_NOT_FOUND || missing == ERROR_MOD_NOT_FOUND) << missing;
}

TEST_F(RealSystemProbes, DefaultProvidersWithTheirKeySet) {
    // A fresh prefix has no key set; the default one is made for the test and
    // removed afterwards.
    HCRYPTPROV made = 0;
    const bool created = ::CryptAcquireContextA(&made, nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET) != FALSE;
    if (created) ::CryptReleaseContext(made, 0);
    const std::string tree = OutlineBelow(lines.Run("tree", "TDefaultCryptoProviders:").Root());
    if (created) {
        HCRYPTPROV gone = 0;
        ::CryptAcquireContextA(&gone, nullptr, nullptr, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
    }
    // Every one of the eight types is either available or explained (Wine 8
    // has no text for the error).
    EXPECT_TRUE(Matches(tree,
                        "Available Providers\n(  [^\n]+  Ver: [^\n]+\n    Default key container: [^\n]*\n"
                        "    CSP implementation type: [^\n]+\n    Available key container\\(s\\)\n(      [^\n]*\n)*)+"
                        "Unavailable Providers\n(  [^\n]+  Error: [^\n]*\n)*"))
        << tree;
    const std::vector<std::string> rows = Lines(tree);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const std::string& row) { return row.rfind("  ", 0) == 0 && row[2] != ' '; }),
              8)
        << tree;
}

}  // namespace
}  // namespace kavlo::probe_test
