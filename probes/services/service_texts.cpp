#include "probes/services/service_texts.h"

#include <cctype>

#include "probes/files/file_info.h"

namespace kavlo {

std::string_view StatusWord(std::uint32_t state) {
    static constexpr std::string_view kWords[] = {"",        "Stopped",          "Start Pending", "Stop Pending",
                                                  "Running", "Continue Pending", "Pause Pending", "Paused"};
    return state < std::size(kWords) ? kWords[state] : std::string_view();
}

std::string_view StartTypeWord(std::uint32_t startType) {
    static constexpr std::string_view kWords[] = {"System Loader", "IoInitSystem() Function", "Automatic", "Manual",
                                                  "Disabled"};
    return startType < std::size(kWords) ? kWords[startType] : std::string_view();
}

std::string ServiceTypeWords(std::uint32_t type) {
    // Each later match replaces an earlier one.
    std::string words;
    const std::string desktop = (type & 0x100) ? " interacts with desktop" : " does not interact with desktop";
    if (type & 0x10) words = "Own Process" + desktop;
    if (type & 0x20) words = "Share Process" + desktop;
    if (type & 0x1) words = "Device Driver";
    if (type & 0x2) words = "System Driver";
    return words;
}

std::string ErrorTextCut(platform::Machine& machine, WinError error) {
    std::string text = machine.ErrorText(error);
    if (!text.empty()) text.pop_back();
    return text;
}

std::pair<std::string_view, std::string_view> SplitAtFirstComma(std::string_view argument) {
    const std::size_t comma = argument.find(',');
    if (comma == std::string_view::npos) return {argument, {}};
    return {argument.substr(0, comma), argument.substr(comma + 1)};
}

std::string BinaryFileOf(platform::Machine& machine, std::string_view binaryPath) {
    std::string path = machine.ExpandEnvironment(binaryPath);
    if (!path.empty() && path.front() == '"') {
        const std::size_t close = path.find('"', 1);
        path = path.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        // An unquoted command line: the program ends at ".exe"; a driver's path has no arguments.
        std::string lower = path;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (const std::size_t exe = lower.find(".exe"); exe != std::string::npos) path.resize(exe + 4);
    }
    if (!path.empty() && path.front() != '\\' && path.find(':') == std::string::npos)
        path = "\\SystemRoot\\" + path;  // drivers' paths are relative to the system root
    return NormalizeNtPath(machine, path);
}

std::string ProgramPathOf(std::string_view commandLine) {
    std::string path(commandLine);
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (const std::size_t exe = path.find(".exe"); exe != std::string::npos) path.resize(exe + 4);
    return path;
}

}  // namespace kavlo
