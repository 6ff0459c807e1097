#include "probes/display/display_adapter.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "engine/path_tokens.h"
#include "engine/script_engine.h"
#include "probes/files/file_info.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {
namespace {

using platform::RegRoot;

constexpr std::size_t kValueBytes = 400;
constexpr std::string_view kFileKeys = "FNAME,FVERSION,FDATE,FTIME,FMANUFACTURE";
constexpr std::string_view kNt9xDisplayClass = "System\\CurrentControlSet\\Services\\Class\\Display";

std::size_t FindNoCase(std::string_view text, std::string_view word) {
    const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

std::string ReplaceNoCase(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = FindNoCase(text, from);
    if (at != std::string_view::npos) text.replace(at, from.size(), to);
    return text;
}

std::string_view AfterLastBackslash(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::uint32_t LittleEndian32(std::string_view data) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return value;
}

}  // namespace

DisplayKeys NtDisplayKeys(std::string_view kernelDeviceKey) {
    DisplayKeys keys;
    const std::size_t system = FindNoCase(kernelDeviceKey, "\\System");
    if (system == std::string_view::npos) return keys;
    keys.deviceKey = std::string(kernelDeviceKey.substr(system + 1));
    keys.settingsKey = keys.deviceKey;
    const std::size_t service = FindNoCase(keys.settingsKey, "\\Service");
    if (service != std::string::npos)
        keys.settingsKey.insert(service, "\\Hardware Profiles\\Current\\System\\CurrentControlSet");
    return keys;
}

DisplayAdapterReport::DisplayAdapterReport(AppContext& context) : context_(context), nt_(context.IsNtFamily()) {
    platform::Machine& machine = context.machine;
    if (nt_) {
        auto map = machine.OpenKey(RegRoot::LocalMachine, "HARDWARE\\DEVICEMAP\\VIDEO", platform::kKeyRead);
        if (!map.ok()) return;
        auto value = (*map)->QueryValue("\\Device\\Video0", kValueBytes);
        if (value.ok()) keys_ = NtDisplayKeys(FormatValueText(*value, false, false));
        return;
    }
    // With several adapters configured the second one, "0001", is the one in use.
    std::string adapter = "0001";
    auto display = machine.OpenKey(RegRoot::LocalMachine, kNt9xDisplayClass, platform::kKeyRead);
    if (display.ok()) {
        auto second = (*display)->EnumSubkey(1, 260);
        if (!second.ok()) {
            auto first = (*display)->EnumSubkey(0, 260);
            adapter = first.ok() ? *first : std::string();
        }
    }
    keys_.deviceKey = std::string(kNt9xDisplayClass) + "\\" + adapter;
}

std::string DisplayAdapterReport::Value(std::string_view key, std::string_view name) const {
    if (key.empty()) return {};
    auto opened = context_.machine.OpenKey(RegRoot::LocalMachine, key, platform::kKeyRead);
    if (!opened.ok()) return {};
    auto value = (*opened)->QueryValue(name, kValueBytes);
    if (!value.ok()) return {};
    if (value->type == platform::regtype::kBinary) {
        // Wide-character text stored as bytes: every non-zero byte in order.
        std::string text;
        for (char c : value->data)
            if (c != '\0') text += c;
        return text;
    }
    return FormatValueText(*value, false, false);
}

std::optional<std::uint32_t> DisplayAdapterReport::Number(std::string_view key, std::string_view name) const {
    if (key.empty()) return std::nullopt;
    auto opened = context_.machine.OpenKey(RegRoot::LocalMachine, key, platform::kKeyRead);
    if (!opened.ok()) return std::nullopt;
    auto value = (*opened)->QueryValue(name, kValueBytes);
    if (!value.ok() || value->data.size() < 4 ||
        (value->type != platform::regtype::kDword && value->type != platform::regtype::kBinary))
        return std::nullopt;
    return LittleEndian32(value->data);
}

std::string DisplayAdapterReport::MemoryText(std::string_view key, std::string_view name) const {
    if (const auto bytes = Number(key, name)) return std::to_string(*bytes / (1024 * 1024));
    return Value(key, name);
}

std::string DisplayAdapterReport::Resolution() const {
    const auto number = [&](std::string_view key, std::string_view name) {
        const auto value = Number(key, name);
        return value ? std::to_string(*value) : std::string();
    };
    if (nt_) {
        const std::string& key = keys_.settingsKey;
        return "Resolution:\t" + number(key, "DefaultSettings.XResolution") + " x " +
               number(key, "DefaultSettings.YResolution") + " x " + number(key, "DefaultSettings.BitsPerPel") +
               "bit/pixel\n\t\t" + number(key, "DefaultSettings.VRefresh") + " Hz\n";
    }
    constexpr std::string_view kSettings = "Config\\0001\\Display\\Settings";
    std::string resolution = Value(kSettings, "Resolution");
    for (std::size_t comma; (comma = resolution.find(',')) != std::string::npos;) resolution.replace(comma, 1, " x ");
    return "Resolution:\t" + resolution + " x " + Value(kSettings, "BitsPerPixel") + " bit/pixel\n";
}

std::string DisplayAdapterReport::FileRow(std::string_view path) const {
    FileInfo file;
    file.Gather(context_, ExpandPathToken(context_, path), PathMode::Unchanged);
    std::string row;
    file.BuildRow(kFileKeys, "\t", row);
    return row;
}

std::string DisplayAdapterReport::DriverFiles() const {
    if (nt_) {
        const std::string& device = keys_.deviceKey;
        const std::string service = device.substr(0, std::min(device.size(), device.rfind('\\')));
        const std::string imagePath = Value(service, "ImagePath");
        const std::string_view slash = imagePath.rfind('\\') == std::string::npos
                                           ? std::string_view(imagePath)
                                           : std::string_view(imagePath).substr(imagePath.rfind('\\'));
        return FileRow("<WINDOWS>\\" + imagePath) +
               FileRow(ReplaceNoCase("<SYSTEM32>" + std::string(slash), ".sys", ".dll"));
    }
    const std::string defaults = keys_.deviceKey + "\\DEFAULT";
    const std::string driver = Value(defaults, "drv");
    return Value(defaults, "vdd") + "\n" + FileRow("<SYSTEM>\\" + Value(defaults, "minivdd")) +
           FileRow("<SYSTEM>\\" + driver) + FileRow(ReplaceNoCase("<SYSTEM>\\" + driver, ".drv", ".dll"));
}

std::string DisplayAdapterReport::LoadedDriver() const {
    const std::string& device = keys_.deviceKey;
    const std::string service = device.substr(0, std::min(device.size(), device.rfind('\\')));
    const std::string imagePath = Value(service, "ImagePath");
    return std::string(AfterLastBackslash(imagePath)) + ", " + Value(device, "InstalledDisplayDrivers") + ".dll\n";
}

std::optional<std::string> DisplayAdapterReport::ForLine(std::string_view line) {
    const std::string& device = keys_.deviceKey;
    const std::string info = device + "\\Info";
    const auto has = [&](std::string_view keyword) { return line.find(keyword) != std::string_view::npos; };
    if (has("adap Description"))
        return "Description:\t" + Value(device, nt_ ? "Device Description" : "DriverDesc") + "\n";
    if (has("adap String"))
        return nt_ ? "String:\t\t" + Value(device, "HardwareInformation.AdapterString") + "\n" : std::string();
    if (has("adap ChipType"))
        return "Chip Type:\t" + (nt_ ? Value(device, "HardwareInformation.ChipType") : Value(info, "ChipType")) + "\n";
    if (has("adap DACType"))
        return "Dac Type:\t" + (nt_ ? Value(device, "HardwareInformation.DacType") : Value(info, "DacType")) + "\n";
    if (has("adap Memory"))
        return "Video Memory:\t" +
               (nt_ ? MemoryText(device, "HardwareInformation.MemorySize") : MemoryText(info, "VideoMemory")) + "\n";
    if (has("VGACompatible")) {
        if (!nt_) return std::string();
        const auto vga = Number(device, "VgaCompatible");
        return std::string("VGA Compatible:\t") + (vga ? (*vga == 0 ? "Yes" : "No") : "") + "\n";
    }
    if (has("video resolution")) return Resolution();
    if (has("adap PCIVendor") || has("adap PCIDevice")) return std::string();
    if (has("adap Files")) return DriverFiles();
    if (has("adap DrvLoad")) return nt_ ? LoadedDriver() : std::string();
    return std::nullopt;
}

void SystemVideoCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    DisplayAdapterReport report(engine.context());
    while (const auto read = call.file.ReadLine()) {
        const std::string line(*read);
        if (line.find('}') != std::string::npos) {
            engine.LowerDepth();
            return;
        }
        if (auto text = report.ForLine(line)) {
            if (call.title) call.title->AppendText(*text);
        } else {
            engine.Dispatch(call.file, line, call.title);
        }
    }
}

}  // namespace kavlo
