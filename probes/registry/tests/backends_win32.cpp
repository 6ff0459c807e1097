// Windows builds also run the registry tests against the real registry: the test
// keys are written under HKEY_CURRENT_USER and removed afterwards.
#include <windows.h>

#include "platform/win32/win32_machine.h"
#include "probes/registry/tests/registry_backend.h"
#include "probes/registry/tests/test_keys.h"

namespace kavlo::test {
namespace {

void RemoveTestKeys() {
    (void)platform::win32::MakeWin32Machine()->DeleteKey(platform::RegRoot::CurrentUser, kTestBase);
}

bool WriteTestKeys() {
    RemoveTestKeys();
    for (const TestValue& v : TestValues()) {
        const std::string path = v.key.empty() ? kTestBase : std::string(kTestBase) + "\\" + v.key;
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        LONG rc = ERROR_SUCCESS;
        if (v.type != REG_NONE)
            rc = ::RegSetValueExA(key, v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                                  static_cast<DWORD>(v.data.size()));
        ::RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return false;
    }
    return true;
}

RegistryBackend MakeRealRegistryBackend() {
    if (!WriteTestKeys()) return {nullptr, {}, "cannot write the test keys under HKEY_CURRENT_USER"};
    return {platform::win32::MakeWin32Machine(), &RemoveTestKeys, {}};
}

}  // namespace

std::vector<BackendChoice> RegistryBackends() {
    return {{"Fake", &MakeFakeRegistryBackend}, {"Sim", &MakeSimRegistryBackend}, {"Real", &MakeRealRegistryBackend}};
}

}  // namespace kavlo::test
