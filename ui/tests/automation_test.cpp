// The automation registration of "KAVLO.Document" and the start switches.

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/app/automation.h"
#include "ui/win/handles.h"

namespace kavlo::ui::testing {
namespace {

std::wstring DefaultValue(const std::wstring& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return L"<no key>";
    UniqueKey key(raw);
    wchar_t value[512] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS) {
        return L"<no value>";
    }
    return value;
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
