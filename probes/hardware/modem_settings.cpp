// The modem's registry values as the modem control panel shows them.
#include "probes/hardware/modem_settings.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace kavlo {
namespace {

using platform::RegRoot;

constexpr std::size_t kTextBytes = 400;

std::optional<std::string> Bytes(const platform::RegistryKey& key, std::string_view name, std::size_t size) {
    auto value = key.QueryValue(name, size);
    if (!value) return std::nullopt;
    return value->data;
}

std::optional<std::string> Text(const platform::RegistryKey& key, std::string_view name) {
    auto bytes = Bytes(key, name, kTextBytes);
    if (bytes && bytes->find('\0') != std::string::npos) bytes->resize(bytes->find('\0'));
    return bytes;
}

// A value's byte or little-endian 32-bit number at an offset; 0 past its end,
// as in the zeroed buffer the value is read into.
std::uint8_t ByteAt(std::string_view data, std::size_t at) {
    return at < data.size() ? static_cast<std::uint8_t>(data[at]) : 0;
}
std::uint32_t NumberAt(std::string_view data, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(ByteAt(data, at + i)) << (8 * i);
    return value;
}

template <std::size_t N>
std::string_view NameOf(const std::string_view (&names)[N], std::uint32_t index) {
    return index < N ? names[index] : std::string_view();
}

constexpr std::string_view kParityNames[] = {"NONE", "ODD", "EVEN", "MARK", "SPACE"};
constexpr std::string_view kStopBitNames[] = {"1", "1.5", "2"};
constexpr std::string_view kRingNames[] = {"Unspecified", "Data", "Fax", "Voice"};

namespace option {
constexpr std::uint32_t kCompression = 0x1;
constexpr std::uint32_t kErrorControl = 0x2;
constexpr std::uint32_t kErrorControlRequired = 0x4;
constexpr std::uint32_t kHardwareFlow = 0x10;
constexpr std::uint32_t kSoftwareFlow = 0x20;
constexpr std::uint32_t kStandardModulation = 0x40;
constexpr std::uint32_t kSpeedAdjust = 0x80;
constexpr std::uint32_t kBlindDial = 0x200;
}  // namespace option

std::string_view Checked(bool checked) { return checked ? "CHECKED" : "NOT CHECKED"; }

// " / IRQ 4 / 0x3e8" of the serial device that the system's serial map gives the port.
std::string PortDetails(platform::Machine& machine, std::string_view port) {
    auto map = machine.OpenKey(RegRoot::LocalMachine, "HARDWARE\\DEVICEMAP\\SERIALCOMM");
    if (!map || port.empty()) return {};
    constexpr std::uint32_t kMaxValues = 4096;  // a serial map is a few values long
    for (std::uint32_t i = 0; i < kMaxValues; ++i) {
        auto entry = (*map)->EnumValue(i, kTextBytes, kTextBytes);
        if (!entry) {
            if (entry.error() == err::kNoMoreItems) return {};
            continue;
        }
        const auto type = entry->value.type;
        if (type != platform::regtype::kSz && type != platform::regtype::kExpandSz) continue;
        if (entry->value.data.find(port) == std::string::npos) continue;
        // "\Device\Serial2" names the port's parameters key "Serial2".
        const std::string_view device = std::string_view(entry->name).substr(entry->name.rfind('\\') + 1);
        auto parameters = machine.OpenKey(
            RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\" + std::string(device));
        if (!parameters) return {};
        const auto irq = Bytes(**parameters, "Interrupt", 4);
        const auto address = Bytes(**parameters, "PortAddress", 4);
        char hex[12];
        std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(address ? NumberAt(*address, 0) : 0));
        return " / IRQ " + (irq ? std::to_string(NumberAt(*irq, 0)) : std::string()) + " / 0x" +
               (address ? std::string(hex) : std::string());
    }
    return {};
}

}  // namespace

std::string ModemPort(const platform::RegistryKey& modemKey) { return Text(modemKey, "AttachedTo").value_or(""); }

std::string ModemAttachmentLine(platform::Machine& machine, const platform::RegistryKey& modemKey,
                                bool withPortDetails) {
    const auto type = Bytes(modemKey, "DeviceType", 1);
    const std::uint8_t kind = type ? ByteAt(*type, 0) : 0;
    std::string line = kind == 1 ? "External on " : kind == 2 ? "Internal on " : "Unknown on ";
    const std::string port = ModemPort(modemKey);
    line += port;
    if (withPortDetails) line += PortDetails(machine, port);
    line += " using ";
    const auto modemDriver = Text(modemKey, "ModemDriver");
    if (!modemDriver) {
        line += "standard serial port drivers";
    } else {
        line += "driver " + *modemDriver;
        if (const auto portDriver = Text(modemKey, "PortDriver")) line += " and port driver " + *portDriver;
    }
    return line;
}

void AddModemControlPanelValues(ResultNode& parent, const platform::RegistryKey& modemKey) {
    ResultNode& panel = parent.AddChild("Modem Control Panel values...");
    const std::string dcb = Bytes(modemKey, "DCB", 32).value_or("");
    const std::string defaults = Bytes(modemKey, "Default", 21).value_or("");
    const std::uint32_t options = NumberAt(defaults, 16);
    panel.AddChild("Data bits: " + std::to_string(ByteAt(dcb, 18)) +
                   "  Parity: " + std::string(NameOf(kParityNames, ByteAt(dcb, 19))) +
                   "  Stop: " + std::string(NameOf(kStopBitNames, ByteAt(dcb, 20))));
    panel.AddChild("Serial Port / Maximum speed: " + std::to_string(NumberAt(dcb, 4)));
    panel.AddChild("Only connect at this speed: " + std::string(Checked((options & option::kSpeedAdjust) == 0)));
    panel.AddChild("Speaker Volume: " + std::to_string(ByteAt(defaults, 8)));
    panel.AddChild("Wait for dialtone before dialing: " + std::string(Checked((options & option::kBlindDial) == 0)));
    const std::uint8_t setup = ByteAt(defaults, 0);
    panel.AddChild(setup == 0xFF
                       ? std::string("Cancel the call if not connected within 60 secs: NOT CHECKED")
                       : "Cancel the call if not connected within " + std::to_string(setup) + " secs: CHECKED");
    const std::uint8_t idle = ByteAt(defaults, 4);
    panel.AddChild(idle == 0
                       ? std::string("Disconnect a call if idle for more then 30 mins: NOT CHECKED")
                       : "Disconnect a call if idle for more then " + std::to_string(idle / 6) + " mins: CHECKED");
    if ((options & option::kErrorControl) == 0) {
        panel.AddChild("NOT using modem error control.");
    } else {
        panel.AddChild(std::string("Using modem error control.  It is ") +
                       ((options & option::kErrorControlRequired) ? "" : "NOT ") + "required to connect. Data is " +
                       ((options & option::kCompression) ? "" : "NOT ") + "compressed.");
    }
    const char* flow = (options & option::kHardwareFlow)   ? "HARDWARE"
                       : (options & option::kSoftwareFlow) ? "SOFTWARE"
                                                           : "NONE";
    panel.AddChild(std::string("Modem flow control: ") + flow);
    panel.AddChild(std::string("Modem modulation: ") +
                   ((options & option::kStandardModulation) ? "STANDARD" : "NON-STANDARD (BELL,HST)"));
    const auto userInit = Text(modemKey, "UserInit");
    panel.AddChild("Additional modem settings: " + (userInit && !userInit->empty() ? *userInit : std::string("NONE")));
    const auto logging = Bytes(modemKey, "Logging", 1);
    panel.AddChild("Record a modem log file" + (logging && ByteAt(*logging, 0) == 1
                                                    ? " to the file " + Text(modemKey, "LoggingPath").value_or("")
                                                    : std::string(": NO")));
    const auto voiceProfile = Bytes(modemKey, "VoiceProfile", kTextBytes);
    const auto switches = Bytes(modemKey, "VoiceSwitchFeatures", kTextBytes);
    if (!voiceProfile || !switches) return;
    const bool distinctive = ByteAt(*switches, 0) != 0;
    panel.AddChild("Distinctive ring: " + std::string(Checked(distinctive)));
    if (!distinctive) return;
    panel.AddChild("   Single Ring: " + std::string(NameOf(kRingNames, ByteAt(*switches, 8))));
    panel.AddChild("   Double Ring: " + std::string(NameOf(kRingNames, ByteAt(*switches, 16))));
    panel.AddChild("   Triple Ring: " + std::string(NameOf(kRingNames, ByteAt(*switches, 24))));
}

}  // namespace kavlo
