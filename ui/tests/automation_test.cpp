// The automation registration of "KAVLO.Document" and the start switches.

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/app/automation.h"

namespace kavlo::ui::testing {
namespace {

std::wstring DefaultValue(const std::wstring& path) {
    wchar_t value[512] = {};
    DWORD size = sizeof value;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return status == ERROR_SUCCESS ? value : L"<missing>";
}

TEST(Automation, StartSwitches) {
    EXPECT_TRUE(IsAutomationStart(L"/Automation"));
    EXPECT_TRUE(IsAutomationStart(L"-Embedding"));
    EXPECT_TRUE(IsAutomationStart(L"/min:5 /embedding"));
    EXPECT_FALSE(IsAutomationStart(L""));
    EXPECT_FALSE(IsAutomationStart(L"/min:5 Automation"));
}

TEST(Automation, RegistrationUnderCurrentUserClasses) {
    ASSERT_TRUE(UpdateServerRegistration(L"C:\\Program Files\\KAVLO\\kavlo.exe"));
    wchar_t clsid[64] = {};
    StringFromGUID2(kDocumentClassId, clsid, 64);
    EXPECT_EQ(DefaultValue(L"Software\\Classes\\KAVLO.Document\\CLSID"), clsid);
    EXPECT_EQ(DefaultValue(std::wstring(L"Software\\Classes\\CLSID\\") + clsid + L"\\ProgID"), L"KAVLO.Document");
    EXPECT_EQ(DefaultValue(std::wstring(L"Software\\Classes\\CLSID\\") + clsid + L"\\LocalServer32"),
              L"\"C:\\Program Files\\KAVLO\\kavlo.exe\"");
}

}  // namespace
}  // namespace kavlo::ui::testing
