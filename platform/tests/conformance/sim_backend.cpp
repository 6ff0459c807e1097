#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"
#include "platform/tests/conformance/backend.h"

namespace kavlo::platform::conformance {
namespace {

class SimBackend final : public Backend {
public:
    explicit SimBackend(std::unique_ptr<Machine> machine) : machine_(std::move(machine)) {}
    Machine& machine() override { return *machine_; }
    std::string FileFolder() const override { return "C:\\Conformance"; }
    std::string VersionSample() const override { return "C:\\Samples\\version_sample.dll"; }
    std::string NoVersionSample() const override { return "C:\\Samples\\no_version.dll"; }
    std::string NoResourceSample() const override { return "C:\\Samples\\no_resources.dll"; }

private:
    std::unique_ptr<Machine> machine_;
};

}  // namespace

std::unique_ptr<Backend> MakeSimBackend() {
    sim::LoadResult loaded = sim::LoadMachine(KAVLO_TEST_SOURCE_DIR "/platform/tests/data/conformance");
    EXPECT_NE(loaded.machine, nullptr) << loaded.error;
    if (!loaded.machine) return nullptr;
    return std::make_unique<SimBackend>(std::move(loaded.machine));
}

}  // namespace kavlo::platform::conformance
