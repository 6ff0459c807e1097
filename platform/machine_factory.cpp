#include "platform/machine_factory.h"

#include <filesystem>
#include <system_error>

#include "platform/program_folder.h"
#include "platform/sim/sim_machine.h"
#ifdef KAVLO_HAVE_WIN32_MACHINE
#include "platform/win32/win32_machine.h"
#endif

namespace kavlo::platform {

std::string DefaultSampleMachineFolder() {
    // An installed copy uses its own sample, also when the source tree it was
    // built from is still around.
    const std::string installed = InstalledDataFolder();
    if (!installed.empty()) {
        const std::string sample = installed + "/samples/office7";
        std::error_code ec;
        if (std::filesystem::is_directory(sample, ec)) return sample;
    }
    return KAVLO_DEFAULT_SAMPLE_DIR;
}

MachineChoice OpenMachine(const std::string& folder) {
    std::string chosen = folder;
    if (chosen.empty()) {
#ifdef KAVLO_HAVE_WIN32_MACHINE
        return {win32::MakeWin32Machine(), {}, {}};
#else
        chosen = DefaultSampleMachineFolder();
#endif
    }
    sim::LoadResult loaded = sim::LoadMachine(chosen);
    return {std::move(loaded.machine), std::move(loaded.error), chosen};
}

}  // namespace kavlo::platform
