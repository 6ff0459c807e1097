#include "probes/remote_control/caller_file_texts.h"

#include <array>

namespace kavlo {
namespace {

constexpr std::array<std::string_view, 16> kNonModemDevices = {
    "COM1",      "COM2",   "COM3", "COM4", "IPX",  "SPX",  "NetBIOS",           "Banyan VINES",
    "NASI/NCSI", "TCP/IP", "LPT1", "LPT2", "LPT3", "LPT4", "ISDN via CAPI 2.0", "Infrared",
};

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    const std::string_view end = text.substr(text.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        if (upper(end[i]) != upper(tail[i])) return false;
    }
    return true;
}

}  // namespace

bool IsModemDevice(std::string_view device) {
    for (std::string_view other : kNonModemDevices)
        if (device.find(other) != std::string_view::npos) return false;
    return true;
}

std::string CallerLabel(std::string_view fileName) {
    if (const std::size_t slash = fileName.rfind('\\'); slash != std::string_view::npos)
        fileName.remove_prefix(slash + 1);
    if (EndsWithNoCase(fileName, ".CHF")) fileName.remove_suffix(4);
    return std::string(fileName);
}

std::vector<std::string> CallerSettingLines(const platform::RemoteCallerFile& caller) {
    const std::string parity =
        caller.parity.find("None") != std::string::npos ? std::string("8/None") : "7/" + caller.parity;
    std::vector<std::string> lines = {
        caller.device + "   " + std::to_string(caller.speed) + "   " + parity + "   " + caller.lineSetting,
        caller.useDialProperties ? "Use dial properties - Area code: " + caller.areaCode +
                                       "  Phone: " + caller.phoneNumber + "  Country: " + caller.country
                                 : "Use manual dial - " + caller.phoneNumber,
        "Login name: " + caller.loginName,
        "Connection attempts: " + std::to_string(caller.connectionAttempts),
        "Seconds between retries: " + std::to_string(caller.secondsBetweenRetries),
    };
    if (caller.runScript) {
        lines.push_back(caller.autoTransfer.empty() ? "Run script: " + caller.scriptName
                                                    : "Run AutoXfer: " + caller.autoTransfer);
    }
    return lines;
}

}  // namespace kavlo
