// The registry tests' keys. Values are listed in name order because Wine's
// registry enumerates values sorted by name, Windows in the order they were
// written; subkeys enumerate sorted on both.
#include "probes/registry/tests/backend_test.h"

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

}  // namespace

void WriteTestKeys(testing::TestBackend& backend) {
    using namespace platform::regtype;
    const TestValue values[] = {
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
    for (const TestValue& v : values) {
        const std::string key = v.key.empty() ? kTestBase : std::string(kTestBase) + "\\" + v.key;
        if (v.type == kNone) backend.AddUserKey(key);
        else backend.SetUserValue(key, v.name, v.type, v.data);
    }
}

}  // namespace kavlo::test
