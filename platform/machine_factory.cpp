#include "platform/machine_factory.h"

#include "platform/sim/sim_machine.h"
#ifdef KAVLO_HAVE_WIN32_MACHINE
#include "platform/win32/win32_machine.h"
#endif

namespace kavlo::platform {

std::string DefaultSampleMachineFolder() { return KAVLO_DEFAULT_SAMPLE_DIR; }

MachineChoice OpenMachine(const std::string& folder) {
    std::string chosen = folder;
    if (chosen.empty()) {
#ifdef KAVLO_HAVE_WIN32_MACHINE
        return {win32::MakeWin32Machine(), {}};
#else
        chosen = DefaultSampleMachineFolder();
#endif
    }
    sim::LoadResult loaded = sim::LoadMachine(chosen);
    return {std::move(loaded.machine), std::move(loaded.error)};
}

}  // namespace kavlo::platform
