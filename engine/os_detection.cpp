#include "engine/os_detection.h"

#include <string>

#include "engine/text_util.h"

namespace kavlo {
namespace {

constexpr std::size_t kRegistryBufferBytes = 400;

// A REG_SZ-style value up to its first zero byte; none when it cannot be read.
std::optional<std::string> ReadString(platform::Machine& machine, std::string_view keyPath, std::string_view name) {
    auto key = machine.OpenKey(platform::RegRoot::LocalMachine, keyPath, platform::kKeyRead);
    if (!key.ok() || !*key) return std::nullopt;
    Result<platform::RegValue> value = (*key)->QueryValue(name, kRegistryBufferBytes);
    if (!value.ok()) return std::nullopt;
    const std::string& data = value->data;
    return data.substr(0, data.find('\0'));
}

// Systems after Windows 2000 are named by the product they are; the 2000 name
// would be wrong for them.
std::string NewerProductName(platform::Machine& machine, const platform::OsVersion& version) {
    std::optional<std::string> product =
        ReadString(machine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
    if (product && !product->empty()) return *product + " ";
    return "Windows NT " + std::to_string(version.major) + "." + std::to_string(version.minor) + " ";
}

}  // namespace

OsInfo DetectOs(platform::Machine& machine) {
    const platform::OsVersion version = machine.Version();
    OsInfo os;
    std::string buildText;
    if (version.platform == platform::os_platform::kWindows9x) {
        const bool is98 = version.minor != 0;
        os.shortName = is98 ? "Win98" : "Win95";
        os.longName = is98 ? "Windows 98" : "Windows 95";
        os.code = is98 ? 98 : 95;
        buildText = std::to_string(version.build & 0xFFFF);
    } else if (version.platform == platform::os_platform::kNt) {
        os.nt = true;
        os.shortName = "NT";
        os.longName = "NT ";
        if (version.major == 4) {
            os.shortName += "4.0";
            os.code = 40;
        } else if (version.major == 5) {
            os.shortName += "5." + std::to_string(version.minor);
            os.longName = version.minor == 0 ? "Windows 2000 Professional " : NewerProductName(machine, version);
            os.code = static_cast<int>(50 + version.minor);
        } else if (version.major == 3) {
            os.shortName += "3.5";
            os.longName += "3.5";
            if (version.minor == 50) os.shortName += "0";
            if (version.minor == 51) os.shortName += "1";
            os.code = 300;
        } else if (version.major > 5) {
            // Scripts' "[OS:" lists know no later names: these systems are "NT" alone.
            os.longName = NewerProductName(machine, version);
            os.code = static_cast<int>(version.major * 10 + version.minor);
        }
        if (std::optional<std::string> productType =
                ReadString(machine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType")) {
            os.longName += Contains(*productType, "WinNT") ? " Workstation " : " Server ";
        }
        buildText = std::to_string(version.build);
    }
    os.longName += " build " + buildText + " " + version.servicePack;
    return os;
}

}  // namespace kavlo
