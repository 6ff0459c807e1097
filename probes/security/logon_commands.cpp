// "LogonInfo:" and "TMyPrivilage:": who runs the report, in which groups, with
// which privileges.

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/script_engine.h"
#include "platform/security/security_descriptor.h"
#include "probes/security/logon_record.h"
#include "probes/security/security_commands.h"
#include "probes/security/security_texts.h"

namespace kavlo {
namespace {

// The privileges whose absence the list points out; the last two are no
// privilege names and always give an error item.
constexpr std::array<std::string_view, 26> kCheckedPrivileges = {
    "SeCreateTokenPrivilege",
    "SeAssignPrimaryTokenPrivilege",
    "SeLockMemoryPrivilege",
    "SeIncreaseQuotaPrivilege",
    "SeUnsolicitedInputPrivilege",
    "SeMachineAccountPrivilege",
    "SeTcbPrivilege",
    "SeSecurityPrivilege",
    "SeTakeOwnershipPrivilege",
    "SeLoadDriverPrivilege",
    "SeSystemProfilePrivilege",
    "SeSystemtimePrivilege",
    "SeProfileSingleProcessPrivilege",
    "SeIncreaseBasePriorityPrivilege",
    "SeCreatePagefilePrivilege",
    "SeCreatePermanentPrivilege",
    "SeBackupPrivilege",
    "SeRestorePrivilege",
    "SeShutdownPrivilege",
    "SeDebugPrivilege",
    "SeAuditPrivilege",
    "SeSystemEnvironmentPrivilege",
    "SeChangeNotifyPrivilege",
    "SeRemoteShutdownPrivilege",
    "SeServiceSid",
    "SeBatchSid",
};

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
    return out;
}

}  // namespace

std::optional<std::string> CollectLogonInfo(AppContext& context) {
    platform::Machine& machine = context.machine;
    auto user = machine.LoggedOnUser();
    if (!user) return std::nullopt;

    auto sid = machine.ProcessUserSid();
    const std::string sidText = sid ? platform::SidToText(*sid) : SystemText(machine, sid.error());
    const std::string server = "\\\\" + user->logonServer;
    // A user whose groups cannot be read is shown in none.
    auto global = machine.UserGlobalGroups(server, user->userName);
    auto local = machine.UserLocalGroups(server, user->userName);

    LogonRecord& record = context.logon;
    record.userName = user->userName;
    record.globalGroups = global ? std::move(*global) : std::vector<std::string>{};
    record.localGroups = local ? std::move(*local) : std::vector<std::string>{};
    record.logonServer = user->logonServer;
    record.logonUser = user->userName;
    record.logonDomain = user->logonDomain;
    record.userSid = sidText;

    std::string text = "Username: " + record.userName + "\n";
    text += "SID: " + sidText + "\n";
    text += "Domain name: " + user->logonDomain + "\n";
    text += "Authentication server: " + record.logonServer + "\n";
    text += "Member of global groups: " + Joined(record.globalGroups) + "\n";
    text += "Member of local groups: " + Joined(record.localGroups) + "\n";
    return text;
}

void EnsureLogonRecord(AppContext& context) {
    if (context.logon.userName.empty()) (void)CollectLogonInfo(context);
}

void LogonInfoCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!context.IsNtFamily()) return;
    const auto text = CollectLogonInfo(context);
    if (text && call.title && call.title->TakesText()) call.title->AppendText(*text);
}

void TMyPrivilageCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    TitleRecord* title = call.title;
    if (!context.IsNtFamily() || !title) return;
    platform::Machine& machine = context.machine;
    ResultNode& root = title->Root();
    root.AddChild("Current User Privilages:");
    ResultNode& enabled = root.AddChild("Enabled:");
    ResultNode& disabled = root.AddChild("Disabled:");

    // Every privilege of the token is listed as held, whatever its enabled flag.
    auto held = machine.ProcessPrivileges();
    std::vector<std::string> heldNames;
    if (held) {
        for (const std::string& privilege : *held) {
            auto display = machine.PrivilegeDisplayName(privilege);
            heldNames.push_back(display ? *display : privilege);
            enabled.AddChild(heldNames.back());
        }
    }
    for (std::string_view privilege : kCheckedPrivileges) {
        auto display = machine.PrivilegeDisplayName(privilege);
        if (!display) {
            disabled.AddChild("Error looking up privilage " + std::string(privilege) +
                              SystemText(machine, display.error()));
            continue;
        }
        // With nothing held there is nothing to compare against.
        if (heldNames.empty()) continue;
        if (std::find(heldNames.begin(), heldNames.end(), *display) == heldNames.end()) disabled.AddChild(*display);
    }
}

}  // namespace kavlo
