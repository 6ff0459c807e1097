#include "probes/update/update_settings_command.h"

#include <array>
#include <string_view>

#include "engine/script_engine.h"
#include "probes/files/text_lines.h"

namespace kavlo {
namespace {

constexpr int kCsidlProgramFiles = 0x26;
constexpr int kCsidlCommonAppData = 0x23;
// Backups beyond this many sets are not the product's own; the loop ends there.
constexpr int kMaxSettingsSets = 1000;
constexpr std::array<std::string_view, 3> kSetFiles = {"Settings.Fernway", "Product.Catalog.Fernway", "Log.Fernway"};

bool FileFound(platform::Machine& machine, const std::string& path) {
    auto found = machine.FindFiles(path);
    return found.ok() && !found->empty();
}

}  // namespace

std::string FileContentText(platform::Machine& machine, const std::string& path) {
    if (!FileFound(machine, path)) return "ERROR finding file " + path;
    auto file = machine.OpenForRead(path);
    if (!file.ok() || !*file) return {};
    std::string text;
    TextLineReader reader(**file);
    while (const auto line = reader.ReadLine()) {
        text += *line;
        text += '\n';
    }
    return text;
}

void TETFernwaySettingsLogCommand(CommandCall& call) {
    if (!call.title) return;
    platform::Machine& machine = call.engine.machine();
    ResultNode& content = call.title->Root();

    if (auto programFiles = machine.ShellFolder(kCsidlProgramFiles); programFiles.ok()) {
        ResultNode& defaults = content.AddChild("[D]  Default").AddChild("[D]  Settings.Default.Fernway");
        defaults.AddChild(FileContentText(machine, *programFiles + "\\Quorvane\\Fernway\\Settings.Default.Fernway"));
    }

    auto commonData = machine.ShellFolder(kCsidlCommonAppData);
    if (!commonData.ok()) return;
    const std::string folder = *commonData + "\\Quorvane\\Fernway\\";
    for (int set = 0; set < kMaxSettingsSets; ++set) {
        const std::string prefix = set == 0 ? std::string() : std::to_string(set) + ".";
        if (!FileFound(machine, folder + prefix + std::string(kSetFiles[0]))) break;
        ResultNode& setNode =
            content.AddChild(set == 0 ? std::string("[D] Current") : "[D] Backup - " + std::to_string(set));
        for (std::string_view name : kSetFiles) {
            const std::string fileName = prefix + std::string(name);
            setNode.AddChild("[D] " + fileName).AddChild(FileContentText(machine, folder + fileName));
        }
    }
}

}  // namespace kavlo
