// The registry backends and their test keys. The simulated machine image holds
// the same keys in data/machine/registry/test-keys.reg. Values are listed in name
// order because Wine's registry enumerates values sorted by name, Windows in the
// order they were written; subkeys enumerate sorted on both.
#include "engine/testing/fake_machine.h"
#include "platform/sim/sim_machine.h"
#include "probes/registry/tests/backend_test.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_machine.h"
#endif

namespace kavlo::test {
namespace {

constexpr const char* kTestBase = "Software\\KavloEngineTest";

struct TestValue {
    std::string key;  ///< below kTestBase, "" for the base itself
    std::string name;
    std::uint32_t type;  ///< kNone: create the key only
    std::string data;    ///< raw bytes as stored
};

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

std::vector<TestValue> TestValues() {
    using namespace platform::regtype;
    return {
        {"", "", kSz, Sz("default text")},
        {"", "Big", kSz, Sz(std::string(499, 'b'))},  // 500 bytes: over the readers' 400
        {"", "Bin", kBinary, std::string("\x01\xab\xff", 3)},
        {"", "Dword5", kDword, std::string("\x05\x00\x00\x00", 4)},
        {"", "Huge", kSz, Sz(std::string(4999, 'h'))},  // 5000 bytes: over RVAL's 4000
        {"", "Multi", kMultiSz, std::string("one\0two\0\0", 9)},
        {"", "Neg", kDword, std::string("\xff\xff\xff\xff", 4)},
        {"", "Pct", kSz, Sz("50%% %s")},
        {"", "Str", kSz, Sz("hello")},
        {"Empty", "", kNone, {}},
        {"Prod10", "Ver", kSz, Sz("1.0")},
        {"Prod20", "Ver", kSz, Sz("2.0")},
        {"Tree", "Count", kDword, std::string("\x05\x00\x00\x00", 4)},
        {"Tree\\A", "Name", kSz, Sz("a")},
        {"Tree\\A\\A1", "Flag", kBinary, std::string("\x00", 1)},
        {"Tree\\B", "", kNone, {}},
    };
}

std::string KeyOf(const TestValue& v) { return v.key.empty() ? kTestBase : std::string(kTestBase) + "\\" + v.key; }

RegistryBackend MakeFake() {
    auto machine = std::make_unique<testing::FakeMachine>();
    for (const TestValue& v : TestValues()) {
        if (v.type == platform::regtype::kNone) machine->AddKey(platform::RegRoot::CurrentUser, KeyOf(v));
        else machine->SetValue(platform::RegRoot::CurrentUser, KeyOf(v), v.name, v.type, v.data);
    }
    return {std::move(machine), {}, {}};
}

RegistryBackend MakeSim() {
    platform::sim::LoadResult loaded =
        platform::sim::LoadMachine(std::string(KAVLO_TEST_SOURCE_DIR) + "/probes/registry/tests/data/machine");
    return {std::move(loaded.machine), {}, std::move(loaded.error)};
}

#ifdef _WIN32
// The real registry: the test keys are written under HKEY_CURRENT_USER and removed afterwards.
void RemoveTestKeys() {
    (void)platform::win32::MakeWin32Machine()->DeleteKey(platform::RegRoot::CurrentUser, kTestBase);
}

bool WriteTestKeys() {
    RemoveTestKeys();
    for (const TestValue& v : TestValues()) {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, KeyOf(v).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr) != ERROR_SUCCESS)
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

RegistryBackend MakeReal() {
    if (!WriteTestKeys()) return {nullptr, {}, "cannot write the test keys under HKEY_CURRENT_USER"};
    return {platform::win32::MakeWin32Machine(), &RemoveTestKeys, {}};
}
#endif

}  // namespace

std::vector<BackendChoice> RegistryBackends() {
    return {
        {"Fake", &MakeFake},
        {"Sim", &MakeSim},
#ifdef _WIN32
        {"Real", &MakeReal},
#endif
    };
}

}  // namespace kavlo::test
