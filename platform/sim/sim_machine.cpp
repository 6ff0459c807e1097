#include "platform/sim/sim_machine.h"

namespace kavlo::platform::sim {

LoadResult LoadMachine(const std::string& folder) { return {nullptr, folder + ": the simulated machine is not built yet"}; }

}  // namespace kavlo::platform::sim
