#pragma once
// The run-time sections of machine.ini: the state of services ([service NAME]),
// the processes ([process ID]) and the top-level windows ([window N]). The
// services' configuration itself lies in the registry, as Windows keeps it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/ini_file.h"

namespace kavlo::platform::sim {

/// What starting a service does.
enum class StartOutcome { Runs, Fails, ExitsWithCode, Hangs };

struct SimServiceState {
    ServiceStatus status;  ///< state, exit codes and wait hint; the type comes from the registry
    StartOutcome onStart = StartOutcome::Runs;
    std::uint32_t startCode = 0;  ///< the error of a failed start, or the service-specific exit code
};

struct SimProcess {
    std::uint32_t id = 0;
    std::string image;                 ///< the first module's path as the system gives it
    std::vector<std::string> modules;  ///< further modules
    ProcessMemory memory;
    std::vector<std::pair<std::string, std::int64_t>> counters;  ///< "Process" counter name and value
    bool denied = false;                                         ///< OpenProcess fails with 5
};

struct ServicesConfig {
    std::map<std::string, SimServiceState> services;  ///< by folded service name
    std::vector<SimProcess> processes;                ///< in section order
    std::vector<TopWindow> windows;                   ///< in section order
};

/// True for "service", "process" and "window".
bool IsServicesSection(std::string_view kind);
/// Reads one such section into `config`; why not when it is malformed.
std::optional<SectionError> ReadServicesSection(const IniSection& section, std::string_view kind,
                                                std::string_view argument, ServicesConfig& config);

}  // namespace kavlo::platform::sim
