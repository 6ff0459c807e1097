// The backends of this build and the instantiation of the shared test bodies.

#include "platform/sim/sim_machine.h"
#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

/// The simulated machine of platform/tests/data/conformance.
class SimBackend final : public Backend {
public:
    explicit SimBackend(std::unique_ptr<Machine> machine) : machine_(std::move(machine)) {}
    Machine& machine() override { return *machine_; }
    std::string FileFolder() const override { return "C:\\Conformance"; }
    std::string Sample(const std::string& name) const override { return "C:\\Samples\\" + name; }

private:
    std::unique_ptr<Machine> machine_;
};

std::unique_ptr<Backend> MakeSimBackend() {
    sim::LoadResult loaded = sim::LoadMachine(KAVLO_TEST_SOURCE_DIR "/platform/tests/data/conformance");
    EXPECT_NE(loaded.machine, nullptr) << loaded.error;
    if (!loaded.machine) return nullptr;
    return std::make_unique<SimBackend>(std::move(loaded.machine));
}

}  // namespace

std::vector<BackendKind> AvailableBackends() {
    std::vector<BackendKind> kinds = {{"Sim", &MakeSimBackend}};
#ifdef _WIN32
    kinds.push_back({"Win32", &MakeWin32Backend});
#endif
    return kinds;
}

INSTANTIATE_TEST_SUITE_P(Backends, Conformance, ::testing::ValuesIn(AvailableBackends()),
                         [](const ::testing::TestParamInfo<BackendKind>& info) { return info.param.name; });

}  // namespace kavlo::platform::conformance
