#include "probes/registry/tests/registry_backend.h"

namespace kavlo::test {

std::vector<BackendChoice> RegistryBackends() {
    return {{"Fake", &MakeFakeRegistryBackend}, {"Sim", &MakeSimRegistryBackend}};
}

}  // namespace kavlo::test
