#pragma once
// "[SYSTEM VIDEO]": a block whose keyword lines print the display adapter's
// description, chip, memory, resolution and driver files from the registry,
// in the layout of the NT family or of Windows 9x. Other lines of the block run
// as ordinary commands.

#include <string>
#include <string_view>

#include "engine/app_context.h"
#include "engine/command_table.h"

namespace kavlo {

void SystemVideoCommand(CommandCall& call);

/// Where an adapter's values are kept.
struct DisplayKeys {
    std::string deviceKey;    ///< under HKEY_LOCAL_MACHINE
    std::string settingsKey;  ///< NT: the current hardware profile's copy of the device key
};

/// The keys named by the kernel's form of the device key ("\REGISTRY\Machine\System\...\Device0").
DisplayKeys NtDisplayKeys(std::string_view kernelDeviceKey);

/// The output of one keyword line; nothing for a line without a keyword.
class DisplayAdapterReport {
public:
    explicit DisplayAdapterReport(AppContext& context);
    /// The text for the first keyword the line contains; nullopt when it has none.
    std::optional<std::string> ForLine(std::string_view line);

private:
    std::string Value(std::string_view key, std::string_view name) const;
    std::optional<std::uint32_t> Number(std::string_view key, std::string_view name) const;
    std::string MemoryText(std::string_view key, std::string_view name) const;
    std::string Resolution() const;
    std::string DriverFiles() const;
    std::string LoadedDriver() const;
    std::string FileRow(std::string_view path) const;

    AppContext& context_;
    bool nt_;
    DisplayKeys keys_;
};

}  // namespace kavlo
