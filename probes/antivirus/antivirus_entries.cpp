#include "probes/antivirus/antivirus_entries.h"

#include <chrono>
#include <vector>

#include "platform/time_format.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {
namespace {

// The buffers the product's values are read with.
constexpr std::size_t kValueBytes = 400;
// Days from 1970 to the last day of 9999: beyond it a date is no date.
constexpr std::uint32_t kMaxPatternDays = 2932896;

constexpr std::uint32_t kFlagOldDefinitions = 0x1;
constexpr std::uint32_t kFlagNetware = 0x4;
constexpr std::uint32_t kFlagWindowsNt = 0x8;
constexpr std::uint32_t kFlagWindows9x = 0x10;
constexpr std::uint32_t kFlagNetware5 = 0x1000;

std::string ToHex(unsigned value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return text;
}

std::uint8_t Byte(const std::string& data, std::size_t index) { return static_cast<std::uint8_t>(data[index]); }

}  // namespace

std::string ProductVersionText(std::uint32_t productVersion) {
    std::string low = std::to_string(productVersion & 0xFFFF);
    // "." before the last two digits of the low word: 750 reads 7.50.
    if (low.size() < 3) low.insert(0, 3 - low.size(), '0');
    low.insert(low.size() - 2, ".");
    return "Product Version," + low + "." + std::to_string(productVersion >> 16) + ", ";
}

std::string PatternDateText(std::uint32_t days) {
    if (days > kMaxPatternDays) return {};
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{days}}};
    platform::LocalTime time;
    time.year = static_cast<int>(date.year());
    time.month = static_cast<int>(static_cast<unsigned>(date.month()));
    time.day = static_cast<int>(static_cast<unsigned>(date.day()));
    return FormatTime(time, "%x");
}

std::string AntivirusEntries::Text(std::string_view name) const {
    auto value = key_.QueryValue(name, kValueBytes);
    if (!value.ok()) return FailureText(context_.machine, value.error());
    return FormatValueText(*value, false, false);
}

std::uint32_t AntivirusEntries::Number(std::string_view name) const {
    auto value = key_.QueryValue(name, kValueBytes);
    if (!value.ok() || value->type != platform::regtype::kDword || value->data.size() < 4) return 0;
    const std::string& d = value->data;
    return Byte(d, 0) | Byte(d, 1) << 8 | Byte(d, 2) << 16 | static_cast<std::uint32_t>(Byte(d, 3)) << 24;
}

std::string AntivirusEntries::RawValue(std::string_view name, bool& ok) const {
    auto value = key_.QueryValue(name, kValueBytes);
    ok = value.ok();
    return ok ? std::move(value->data) : std::string();
}

std::string AntivirusEntries::ProductVersion() const { return ProductVersionText(Number("ProductVersion")); }

std::string AntivirusEntries::ScanEngine() const {
    const std::uint32_t version = Number("ScanEngineVersion");
    return "Scan Engine," + std::to_string(version >> 24) + "." + std::to_string(version >> 16 & 0xFF) + "." +
           std::to_string(version >> 8 & 0xFF) + "." + std::to_string(version & 0xFF) + ", ";
}

std::string AntivirusEntries::OperatingSystem() const {
    const std::uint32_t flags = Number("Flags");
    std::string_view os;
    if ((flags & (kFlagNetware5 | kFlagNetware)) == (kFlagNetware5 | kFlagNetware)) os = "Netware 5.x";
    else if (flags & kFlagNetware) os = "Netware 4.x";
    else if (flags & kFlagWindowsNt) os = "Windows NT";
    else if (flags & kFlagWindows9x) os = "Windows 9x";
    return "OS," + std::string(os) + ", ";
}

std::string AntivirusEntries::LocalTimeText(std::uint32_t secondsSince1970) const {
    platform::Machine& machine = context_.machine;
    const auto local = machine.LocalTimeOfUnixSeconds(secondsSince1970);
    if (!local.ok()) return "NA";
    const auto date = machine.LocaleDateText(*local);
    const auto time = machine.LocaleTimeText(*local);
    if (!date.ok() || !time.ok()) return "NA";
    return *date + " " + *time;
}

std::string AntivirusEntries::TimeOfLastScan() const {
    bool ok = false;
    RawValue("TimeOfLastScan", ok);
    return "Time of last scan," + (ok ? LocalTimeText(Number("TimeOfLastScan")) : std::string("Not Present")) + ", ";
}

std::vector<std::string> AntivirusEntries::PatternBlock() const {
    return {"Virus .VDB Pattern,0x" + ToHex(Number("PatternVersion")) + ", ",
            "Pattern Date," + PatternDateText(Number("PatternFileDate")) + ", ",
            std::string("Old Definitions,") + ((Number("Flags") & kFlagOldDefinitions) ? "Yes" : "No") + ", ",
            ScanEngine()};
}

std::vector<std::string> AntivirusEntries::AddressBlock() const {
    // Each value's raw bytes: an address and a port, or a time; "NA" when the
    // value cannot be read or is too short for the field.
    const auto raw = [&](std::string_view name, std::size_t needed, auto decode) -> std::string {
        bool ok = false;
        const std::string data = RawValue(name, ok);
        return ok && data.size() >= needed ? decode(data) : std::string("NA");
    };
    const auto port = [&](std::string_view name) {
        return raw(name, 6, [](const std::string& d) { return std::to_string(Byte(d, 4) << 8 | Byte(d, 5)); });
    };
    const auto time = [&](std::string_view name) {
        return raw(name, 4, [&](const std::string& d) {
            return LocalTimeText(Byte(d, 0) | Byte(d, 1) << 8 | Byte(d, 2) << 16 |
                                 static_cast<std::uint32_t>(Byte(d, 3)) << 24);
        });
    };
    std::vector<std::string> entries;
    if (Text("Address_0") != "Not Present") {
        entries.push_back("IP Address," +
                          raw("Address_0", 12,
                              [](const std::string& d) {
                                  return std::to_string(Byte(d, 8)) + "." + std::to_string(Byte(d, 9)) + "." +
                                         std::to_string(Byte(d, 10)) + "." + std::to_string(Byte(d, 11));
                              }) +
                          ", ");
        entries.push_back("UDP Port," + port("Address_0") + ", ");
    }
    if (Text("Address_1") != "Not Present") {
        entries.push_back("IPX Address," +
                          raw("Address_1", 18,
                              [](const std::string& d) {
                                  std::string text = "0x";
                                  for (std::size_t i = 8; i < 18; ++i) {
                                      text += ToHex(Byte(d, i));
                                      if (i == 11) text += ':';
                                  }
                                  return text;
                              }) +
                          ", ");
        entries.push_back("Port," + port("Address_1") + ", ");
    }
    // The protocol value names the address in use.
    const bool ipx = Text("Protocol").find("Address_1") != std::string::npos;
    entries.push_back(std::string("Protocol,") + (ipx ? "IPX" : "IP") + ",Which protocol is being used");
    entries.push_back("Status last time communicated," + Text("Good") + ",0=No communication 1=Communicating");
    entries.push_back("LastGoodTime," + time("LastGoodTime") + ",Last CheckInWithNest time");
    entries.push_back("LastUpdateTime," + time("LastUpdateTime") + ",Last PONG / PLX.DAT time");
    return entries;
}

}  // namespace kavlo
