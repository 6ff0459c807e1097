#pragma once
// The services, processes, windows, drivers, shortcuts and process counters of
// the simulated machine. Services are the subkeys of
// HKLM\SYSTEM\CurrentControlSet\Services that hold a DWORD "Type", configured by
// their values as on Windows; their run state comes from machine.ini and a
// start changes it in memory only. Access is checked against the logged-on
// user's token when the image describes security.

#include <memory>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/services_config.h"
#include "platform/sim/sim_security.h"

namespace kavlo::platform::sim {

class SimServices {
public:
    /// `machine` gives the registry and the files; `state` is changed by starts.
    SimServices(Machine& machine, ServicesConfig& state, const SimSecurity& security, std::uint32_t codePage)
        : machine_(machine), state_(state), security_(security), codePage_(codePage) {}

    Result<std::unique_ptr<ServiceManager>> OpenManager(std::uint32_t access);
    Result<std::vector<std::uint32_t>> ProcessIds() const;
    Result<std::unique_ptr<ProcessHandle>> OpenProcess(std::uint32_t processId) const;
    Result<std::vector<TopWindow>> Windows() const { return state_.windows; }
    /// The running kernel and file-system driver services, the kernel first.
    Result<std::vector<DeviceDriver>> Drivers();
    Result<std::vector<SnapshotEntry>> ProcessSnapshot() const;
    Result<std::vector<SnapshotEntry>> ModuleSnapshot(std::uint32_t processId) const;
    /// Reads a .lnk file of the drives; 2 for a link without a path target (an
    /// item-ID list alone names no file here), 1392 for a malformed link.
    Result<std::string> ShortcutTarget(std::string_view linkPath);
    Result<std::unique_ptr<CounterQuery>> OpenCounters(std::string_view instance,
                                                       const std::vector<std::string>& counters) const;

private:
    Machine& machine_;
    ServicesConfig& state_;
    const SimSecurity& security_;
    std::uint32_t codePage_;
};

}  // namespace kavlo::platform::sim
