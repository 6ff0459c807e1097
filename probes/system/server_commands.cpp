// Server role and shares.
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/records.h"
#include "engine/script_engine.h"
#include "probes/system/system_commands.h"

namespace kavlo {
namespace {

struct ServerTypeFlag {
    std::string_view name;
    std::string_view description;
    std::uint32_t bit;
};

// In the order the lines are written, which is not the order of the bits.
constexpr ServerTypeFlag kServerTypes[] = {
    {"SV_TYPE_WORKSTATION", "All LAN Manager workstations", 0x1},
    {"SV_TYPE_SERVER", "All LAN Manager servers", 0x2},
    {"SV_TYPE_SQLSERVER", "Any server running with Microsoft SQL Server", 0x4},
    {"SV_TYPE_DOMAIN_CTRL", "Primary domain controller", 0x8},
    {"SV_TYPE_DOMAIN_BAKCTRL", "Backup domain controller", 0x10},
    {"SV_TYPE_TIME_SOURCE", "Server running the Timesource service", 0x20},
    {"SV_TYPE_AFP", "Apple File Protocol servers", 0x40},
    {"SV_TYPE_NOVELL", "Novell servers", 0x80},
    {"SV_TYPE_DOMAIN_MEMBER", "LAN Manager 2.x Domain Member", 0x100},
    {"SV_TYPE_LOCAL_LIST_ONLY", "Servers maintained by the browser", 0x40000000},
    {"SV_TYPE_PRINTQ_SERVER", "Server sharing print queue", 0x200},
    {"SV_TYPE_DIALIN_SERVER", "Server running dial-in service", 0x400},
    {"SV_TYPE_XENIX_SERVER", "Xenix server", 0x800},
    {"SV_TYPE_SERVER_MFPN", "Microsoft File and Print for Netware", 0x4000},
    {"SV_TYPE_NT", "Windows NT (either Workstation or Server)", 0x1000},
    {"SV_TYPE_WFW", "Server running Windows for Workgroups", 0x2000},
    {"SV_TYPE_SERVER_NT", "Windows NT non-DC server", 0x8000},
    {"SV_TYPE_POTENTIAL_BROWSER", "Server that can run the Browser service", 0x10000},
    {"SV_TYPE_BACKUP_BROWSER", "Server running a Browser service as backup", 0x20000},
    {"SV_TYPE_MASTER_BROWSER", "Server running the master Browser service", 0x40000},
    {"SV_TYPE_DOMAIN_MASTER", "Server running the domain master Browser", 0x80000},
    {"SV_TYPE_DOMAIN_ENUM", "Primary Domain", 0x80000000},
    {"SV_TYPE_WINDOWS", "Windows 95 or later", 0x400000},
};

std::string_view KnownServerError(WinError code) {
    switch (code) {
        case 5: return "ERROR_ACCESS_DENIED,The user does not have access to the requested information";
        case 8: return "ERROR_NOT_ENOUGH_MEMORY,Insufficient memory is available.";
        case 87: return "ERROR_INVALID_PARAMETER,The specified parameter is invalid";
        case 124: return "ERROR_INVALID_LEVEL,The value specified for the Level parameter is invalid.";
        default: return {};
    }
}

// The network library or its function is missing: the commands write nothing.
bool NoNetworkLibrary(WinError code) { return code == 126 || code == 127; }

std::string Hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", value);
    return buffer;
}

}  // namespace

void WinServerTypeCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title || !context.IsNtFamily()) return;
    const bool tree = call.flag == 1;
    TitleRecord& title = *call.title;
    const Result<std::uint32_t> flags = context.machine.ServerTypeFlags();
    if (!flags) {
        if (NoNetworkLibrary(flags.error())) return;
        const std::string_view text = KnownServerError(flags.error());
        if (tree) {
            ResultNode& item = title.Root().AddChild("[D]  Type= ERROR");
            // An unknown code repeats the item beneath itself, as it always has.
            item.AddChild(text.empty() ? std::string_view("[D]  Type= ERROR") : text);
        } else {
            title.AppendText(std::string(text) + "\n");
        }
        return;
    }
    if (tree) {
        ResultNode& item = title.Root().AddChild("[D]  Type= 0x" + Hex(*flags));
        for (const ServerTypeFlag& f : kServerTypes)
            if ((*flags & f.bit) != 0) item.AddChild(std::string(f.name) + "," + std::string(f.description));
        return;
    }
    std::string text = "Server Type,0x" + Hex(*flags) + "\n";
    for (const ServerTypeFlag& f : kServerTypes)
        if ((*flags & f.bit) != 0) text += std::string(f.name) + "," + std::string(f.description) + "\n";
    title.AppendText(text);
}

void CWinSharesCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title || !context.IsNtFamily()) return;
    const auto shares = context.machine.Shares();
    if (!shares) return;
    std::string rows;
    for (const platform::ShareInfo& share : *shares) {
        rows += share.name + "," + share.path + "," + share.remark + "," +
                (share.maxUses == -1 ? std::string("Unlimited") : std::to_string(share.maxUses)) + "," +
                std::to_string(share.currentUses) + "\n";
    }
    call.title->AppendText(rows);
}

}  // namespace kavlo
