#pragma once
// The real machine's server role, shares, event logs, message files,
// cryptographic providers and locale formats.

#include <memory>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// NetServerGetInfo level 101 from netapi32, looked up at run time.
Result<std::uint32_t> ServerTypeFlags();
/// NetShareEnum level 2 from netapi32, every batch.
Result<std::vector<ShareInfo>> Shares();
Result<std::unique_ptr<EventLog>> OpenEventLogByName(std::string_view logName);
/// LoadLibraryEx with LOAD_LIBRARY_AS_DATAFILE: the file's code never runs.
Result<std::unique_ptr<MessageFile>> LoadMessageFile(std::string_view path);
Result<std::string> SystemMessage(std::uint32_t messageId);
Result<std::unique_ptr<CryptoProvider>> AcquireCryptoProvider(std::uint32_t providerType);

}  // namespace kavlo::platform::win32
