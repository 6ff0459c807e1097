#pragma once
// The configuration entries of the antivirus product, each one tree node's text
// "label,value,comment", read from one of the product's registry keys.

#include <string>
#include <string_view>

#include "engine/app_context.h"
#include "platform/machine.h"

namespace kavlo {

/// The product's registry root under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kAntivirusKey = "Software\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion";

/// Builds entries from the values of one open key.
class AntivirusEntries {
public:
    AntivirusEntries(AppContext& context, const platform::RegistryKey& key) : context_(context), key_(key) {}

    /// The value as text; "Not Present" when missing.
    std::string Text(std::string_view name) const;
    /// The value as a 32-bit number; 0 when missing or not a number.
    std::uint32_t Number(std::string_view name) const;

    std::string ProductVersion() const;
    std::string ScanEngine() const;
    std::string OperatingSystem() const;
    std::string TimeOfLastScan() const;
    std::vector<std::string> PatternBlock() const;
    std::vector<std::string> AddressBlock() const;

private:
    std::string LocalTimeText(std::uint32_t secondsSince1970) const;
    std::string RawValue(std::string_view name, bool& ok) const;

    AppContext& context_;
    const platform::RegistryKey& key_;
};

/// "Product Version,7.50.846, " form of a ProductVersion value (0x034E02EE).
std::string ProductVersionText(std::uint32_t productVersion);
/// The pattern file's date: 1 January 1970 plus a number of days, as "%x" writes it.
std::string PatternDateText(std::uint32_t days);

}  // namespace kavlo
