// "PCI_INFO:" and "PCI_DISP:": the PCI functions the machine reports, with the
// vendor and device names of the device index "drvidx.bin".
#include <cstdio>
#include <optional>

#include "engine/records.h"
#include "engine/script_engine.h"
#include "platform/device_index.h"
#include "probes/hardware/hardware_commands.h"

namespace kavlo {
namespace {

constexpr std::size_t kFunctionOffset = 8;
constexpr std::size_t kConfigOffset = 12;
constexpr std::uint8_t kDisplayBaseClass = 0x03;

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

// Lower-case digits without leading zeros, as the index's keys are written.
std::string Hex(std::uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

std::optional<platform::DeviceIndexRecord> Lookup(std::string_view index, const std::string& key) {
    return platform::FindDeviceIndexRecord(index, key);
}

std::string Joined(const platform::DeviceIndexRecord& record) {
    return record.texts[0] + "," + record.texts[1] + "," + record.texts[2] + "," + record.texts[3];
}

std::string VendorName(std::string_view index, const std::string& vendor) {
    const auto found = Lookup(index, "VEN_" + vendor);
    return found ? found->texts[2] : std::string();
}

// The listing names a display device by the class its index record gives, or,
// since the index made from the public ID list has no classes, by the display
// base class in the function's own configuration space.
std::string DisplayLine(std::string_view index, const std::string& vendor, const std::string& deviceKey,
                        std::uint8_t baseClass) {
    const auto found = Lookup(index, deviceKey);
    std::string answer;
    if (found && found->texts[0].find("Display") != std::string::npos) {
        answer = Joined(*found);
    } else if (baseClass == kDisplayBaseClass) {
        answer = found ? "Display," + found->texts[1] + "," + found->texts[2] + "," + found->texts[3]
                       : "Display,," + VendorName(index, vendor) + ",";
    }
    if (answer.empty()) return answer;
    if (const std::size_t at = answer.find("Display,"); at != std::string::npos) answer.erase(at, 8);
    std::string spaced;
    for (char c : answer) spaced += c == ',' ? std::string(", ") : std::string(1, c);
    return spaced + "\n";
}

void RunPciCommand(CommandCall& call, PciListing listing) {
    AppContext& context = call.engine.context();
    if (!call.title || !context.IsNtFamily()) return;
    auto records = context.machine.PciRecords();
    if (!records) {
        call.title->AppendText(PciFailureText(records.error()));
        return;
    }
    auto index = context.machine.DeviceIndex();
    call.title->AppendText(FormatPciRecords(*records, index ? std::string_view(*index) : "", listing));
}

}  // namespace

std::string_view PciFailureText(WinError error) {
    switch (error) {
        // The machine has no way to list the PCI functions: what the reader
        // could not start.
        case err::kFileNotFound:
        case err::kNotSupported:
        case err::kModNotFound:
        case err::kProcNotFound: return "Could not load driver";
        // Anything else: the functions could not be opened.
        default: return "File not found";
    }
}

std::string FormatPciRecords(std::string_view records, std::string_view deviceIndex, PciListing listing) {
    if (records.empty() || records.size() % platform::kPciRecordBytes != 0) return {};
    std::string out;
    for (std::size_t at = 0; at < records.size(); at += platform::kPciRecordBytes) {
        const std::string_view record = records.substr(at, platform::kPciRecordBytes);
        const std::uint32_t function = LittleEndian(record, kFunctionOffset, 4);
        const std::string vendor = Hex(LittleEndian(record, kConfigOffset, 2));
        const std::string device = Hex(LittleEndian(record, kConfigOffset + 2, 2));
        const auto baseClass = static_cast<std::uint8_t>(record[kConfigOffset + 11]);
        const auto headerType = static_cast<std::uint8_t>(record[kConfigOffset + 14]);
        const std::string deviceKey = "VEN_" + vendor + "&DEV_" + device;
        if (listing == PciListing::DisplayOnly) {
            out += DisplayLine(deviceIndex, vendor, deviceKey, baseClass);
            continue;
        }
        if ((headerType & 0x80) != 0 || function != 0) out += "  *** Multifunction PCI device *** ";
        out += "0x" + vendor + ",0x" + device + ",";
        const auto found = Lookup(deviceIndex, deviceKey);
        out += found ? Joined(*found) : ",," + VendorName(deviceIndex, vendor) + ",";
        out += "\n";
    }
    if (listing == PciListing::DisplayOnly) out += "\n";
    return out;
}

void PciInfoCommand(CommandCall& call) { RunPciCommand(call, PciListing::AllFunctions); }
void PciDisplayCommand(CommandCall& call) { RunPciCommand(call, PciListing::DisplayOnly); }

}  // namespace kavlo
