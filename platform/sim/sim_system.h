#pragma once
// The simulated machine's server role, shares, event logs, message files and
// cryptographic providers. Event logs are found as on Windows: the "File"
// value of HKLM\SYSTEM\CurrentControlSet\Services\Eventlog\<Log> names an
// .evt file of the machine's drives.

#include <memory>
#include <string_view>

#include "platform/machine.h"
#include "platform/sim/system_probe_config.h"

namespace kavlo::platform::sim {

Result<std::uint32_t> SimServerTypeFlags(const SystemProbeConfig& config);
Result<std::vector<ShareInfo>> SimShares(const SystemProbeConfig& config);
/// Reads the log's file through the machine's registry and drives.
Result<std::unique_ptr<EventLog>> SimOpenEventLog(Machine& machine, std::string_view logName);
Result<std::unique_ptr<MessageFile>> SimLoadMessageFile(Machine& machine, std::string_view path);
/// The system's message table: the machine's error texts.
Result<std::string> SimSystemMessage(std::uint32_t messageId);
Result<std::unique_ptr<CryptoProvider>> SimAcquireCryptoProvider(const SystemProbeConfig& config,
                                                                 std::uint32_t providerType);

}  // namespace kavlo::platform::sim
