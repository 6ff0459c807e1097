// "StartUpApps:": every program that the run keys and the start-up folders
// start with Windows, one file row each; a shortcut is listed by its target.

#include <string>

#include "engine/script_engine.h"
#include "probes/files/file_info.h"
#include "probes/services/service_commands.h"
#include "probes/services/service_texts.h"

namespace kavlo {
namespace {

using platform::RegRoot;

struct RunKey {
    std::string_view label;
    std::string_view key;
};
constexpr RunKey kRunKeys[] = {
    {"Registry - Run", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {"Registry - RunOnce", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {"Registry - RunOnceEx", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"},
    {"Registry - RunServices", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
    {"Registry - RunServicesOnce", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"},
};

struct StartFolder {
    std::string_view label;
    RegRoot root;
    std::string_view key;
    std::string_view value;
    bool isFolder;
};
constexpr std::string_view kShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr StartFolder kStartFolders[] = {
    {"Startup - Current User", RegRoot::CurrentUser, kShellFolders, "Startup", true},
    {"Startup - All Users", RegRoot::LocalMachine, kShellFolders, "Common Startup", true},
    {"Windows NT - Run", RegRoot::CurrentUser, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "run",
     false},
};

constexpr std::size_t kNameChars = 260;
// Room for any command line: a value too long for a small buffer would otherwise end the list.
constexpr std::size_t kDataBytes = 32768;
constexpr std::size_t kFolderBytes = 4000;

std::string TextOf(const platform::RegValue& value) {
    std::string text = value.data;
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
}

void AddRow(AppContext& context, TitleRecord& title, std::string row, std::string_view path, std::string_view keys) {
    FileInfo file;
    file.Gather(context, ProgramPathOf(path), PathMode::Unchanged);
    file.BuildRow(keys, ",", row);
    title.AppendText(row);
}

void ListRunKey(AppContext& context, TitleRecord& title, const RunKey& run) {
    auto key = context.machine.OpenKey(RegRoot::LocalMachine, run.key, platform::kKeyRead);
    if (!key) return;
    for (std::uint32_t index = 0;; ++index) {
        auto value = (*key)->EnumValue(index, kNameChars, kDataBytes);
        if (!value && value.error() == err::kMoreData) continue;
        if (!value) break;
        AddRow(context, title, "0," + std::string(run.label) + "," + value->name + ",", TextOf(value->value),
               title.header1);
    }
}

void ListStartFolder(AppContext& context, TitleRecord& title, const StartFolder& folder) {
    platform::Machine& machine = context.machine;
    auto key = machine.OpenKey(folder.root, folder.key, platform::kKeyRead);
    if (!key) return;
    auto value = (*key)->QueryValue(folder.value, kFolderBytes);
    if (!value) return;
    std::string pattern = TextOf(*value);
    if (pattern.empty()) return;
    if (folder.isFolder) pattern += "\\*.*";
    auto entries = machine.FindFiles(pattern);
    if (!entries) return;
    const std::string keys = "FNAME," + title.header1;
    for (const platform::FindEntry& entry : *entries) {
        if (entry.IsDirectory()) continue;
        std::string path = entry.fullPath;
        if (path.find(".lnk") != std::string::npos)
            if (auto target = machine.ShortcutTarget(path)) path = std::move(*target);
        AddRow(context, title, "0," + std::string(folder.label) + ",", path, keys);
    }
}

}  // namespace

void StartUpAppsCommand(CommandCall& call) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    for (const RunKey& run : kRunKeys) ListRunKey(context, *call.title, run);
    for (const StartFolder& folder : kStartFolders) ListStartFolder(context, *call.title, folder);
}

}  // namespace kavlo
