#include "platform/sim/sim_machine.h"
#include "probes/registry/tests/registry_backend.h"

namespace kavlo::test {

RegistryBackend MakeSimRegistryBackend() {
    platform::sim::LoadResult loaded =
        platform::sim::LoadMachine(std::string(KAVLO_TEST_SOURCE_DIR) + "/probes/registry/tests/data/machine");
    return {std::move(loaded.machine), {}, std::move(loaded.error)};
}

}  // namespace kavlo::test
