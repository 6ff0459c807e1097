#pragma once
// The machines the registry tests run on. Each backend holds the same test keys
// under HKCU\Software\KavloEngineTest (see test_keys.h): an in-memory machine, a
// simulated machine image, and in Windows builds the real registry (under Wine).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace kavlo::test {

struct RegistryBackend {
    std::unique_ptr<platform::Machine> machine;
    std::function<void()> cleanup;  ///< removes what the backend created; may be empty
    std::string error;              ///< why the backend could not be made
};

struct BackendChoice {
    const char* name;
    RegistryBackend (*make)();
};

RegistryBackend MakeFakeRegistryBackend();
RegistryBackend MakeSimRegistryBackend();
/// Every backend of this build.
std::vector<BackendChoice> RegistryBackends();

}  // namespace kavlo::test
