#include "engine/testing/fake_machine.h"
#include "probes/registry/tests/registry_backend.h"
#include "probes/registry/tests/test_keys.h"

namespace kavlo::test {

RegistryBackend MakeFakeRegistryBackend() {
    auto machine = std::make_unique<testing::FakeMachine>();
    for (const TestValue& v : TestValues()) {
        const std::string key = v.key.empty() ? kTestBase : std::string(kTestBase) + "\\" + v.key;
        if (v.type == platform::regtype::kNone) machine->AddKey(platform::RegRoot::CurrentUser, key);
        else machine->SetValue(platform::RegRoot::CurrentUser, key, v.name, v.type, v.data);
    }
    return {std::move(machine), {}, {}};
}

}  // namespace kavlo::test
