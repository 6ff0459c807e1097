#include "probes/remote_control/remote_control_commands.h"

#include "engine/records.h"
#include "engine/script_engine.h"
#include "platform/ipv4_address.h"
#include "probes/remote_control/caller_file_texts.h"

namespace kavlo {
namespace {

constexpr std::string_view kSystemKey = "SOFTWARE\\Quorvane\\MIRROLET\\CurrentVersion\\System";
constexpr std::size_t kFilesDirectoryBuffer = 400;

// The product's data folder, or "" when its key or value cannot be read.
std::string FilesDirectory(platform::Machine& machine) {
    auto key = machine.OpenKey(platform::RegRoot::LocalMachine, kSystemKey);
    if (!key) return {};
    auto value = (*key)->QueryValue("FilesDirectory", kFilesDirectoryBuffer);
    if (!value) return {};
    const std::string& data = value->data;
    return data.substr(0, data.find('\0'));
}

}  // namespace

void MirroletNetCommand(CommandCall& call) {
    if (call.title == nullptr) return;
    ResultNode& order = call.title->Root().AddChild("IP Address order");
    auto addresses = call.engine.machine().HostAddresses();
    if (!addresses) return;
    for (const platform::Ipv4Address& address : *addresses) order.AddChild(platform::DottedAddress(address));
}

void MirroletChfCommand(CommandCall& call) {
    if (call.title == nullptr) return;
    platform::Machine& machine = call.engine.machine();
    ResultNode& files = call.title->Root().AddChild("MIRROLET32 .CHF files for TAPI modem(s)");
    const std::string folder = FilesDirectory(machine);
    if (folder.empty()) {
        files.AddChild("MIRROLET32 not installed");
        return;
    }
    // Without its automation server the product's files cannot be read: nothing more.
    auto callers = machine.RemoteCallerFiles(folder);
    if (!callers) return;
    for (const platform::RemoteCallerFile& caller : *callers) {
        if (!IsModemDevice(caller.device)) continue;
        ResultNode& node = files.AddChild(CallerLabel(caller.fileName));
        for (const std::string& line : CallerSettingLines(caller)) node.AddChild(line);
    }
}

}  // namespace kavlo
