#pragma once
// The service manager, processes, windows, drivers, tool-help snapshots,
// shortcuts and process counters of the real machine. PSAPI, tool help and
// PDH are looked up at run time: older systems lack them.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

Result<std::unique_ptr<ServiceManager>> OpenServiceManager(std::uint32_t access);

/// EnumProcesses of "psapi.dll".
Result<std::vector<std::uint32_t>> ProcessIds();
Result<std::unique_ptr<ProcessHandle>> OpenProcess(std::uint32_t processId);
/// EnumWindows with each window's owner process, visibility, text, parent and first child.
Result<std::vector<TopWindow>> TopLevelWindows();
/// EnumDeviceDrivers of "psapi.dll" with the base and file names that can be read.
Result<std::vector<DeviceDriver>> DeviceDrivers();
/// CreateToolhelp32Snapshot of "kernel32.dll".
Result<std::vector<SnapshotEntry>> ProcessSnapshot();
Result<std::vector<SnapshotEntry>> ModuleSnapshot(std::uint32_t processId);
/// IShellLinkA, with COM initialised on the calling thread for the call.
Result<std::string> ShortcutTarget(std::string_view linkPath);
/// A PDH query of "pdh.dll" with the counters of one "Process" instance.
Result<std::unique_ptr<CounterQuery>> OpenProcessCounters(std::string_view instance,
                                                          const std::vector<std::string>& counters);

}  // namespace kavlo::platform::win32
