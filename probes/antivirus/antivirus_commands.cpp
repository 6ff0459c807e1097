#include "probes/antivirus/antivirus_commands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/path_tokens.h"
#include "engine/script_engine.h"
#include "probes/antivirus/antivirus_entries.h"
#include "probes/antivirus/log_lines.h"
#include "probes/files/text_lines.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {
namespace {

constexpr std::size_t kMaxLogFiles = 14;
// The product keeps its logs under the common application data folder from
// version 7.50 on NT systems, and in its program folder before.
constexpr std::uint32_t kFirstVersionWithDataFolder = 750;
constexpr std::size_t kSubkeyNameChars = 400;

constexpr std::string_view kVirusColumns =
    "Date,25,File Name,18,Virus Name,18,Virus Type,13,Action Taken,13,Computer,15,User,15,Original Location,25,"
    "Status,15,Current Location,13,Primary Action,13,Secondary Action,13,Scan Type,13\n";
constexpr std::string_view kEventColumns = "Date,25,Event,22,Computer,13,User,13,Scan Type,13,Other,25\n";
constexpr std::string_view kSpacer = " , , ";

std::string LogFolder(AppContext& context) {
    const std::string root = "HKLM\\" + std::string(kAntivirusKey) + "\\";
    const std::uint32_t version = ReadValueNumber(context, root + "ProductVersion");
    std::string folder =
        (version & 0xFFFF) >= kFirstVersionWithDataFolder && context.IsNtFamily()
            ? ExpandPathToken(context, "<CSIDL_COMMON_APPDATA>\\Quorvane\\Ostrell AntiVirus Corporate Edition\\7.5")
            : ReadValueText(context, root + "Home Directory");
    return folder + "\\Logs";
}

// The log files to read: the highest names first, at most kMaxLogFiles.
std::vector<std::string> LogFiles(AppContext& context) {
    auto found = context.machine.FindFiles(LogFolder(context) + "\\*.log");
    std::vector<platform::FindEntry> files;
    if (found.ok())
        for (platform::FindEntry& entry : *found)
            if (!entry.IsDirectory()) files.push_back(std::move(entry));
    std::sort(files.begin(), files.end(),
              [](const platform::FindEntry& a, const platform::FindEntry& b) { return a.name > b.name; });
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < files.size() && i < kMaxLogFiles; ++i) paths.push_back(files[i].fullPath);
    return paths;
}

using RowOfLine = std::optional<std::string> (*)(std::string_view line);

void AppendLogRows(AppContext& context, TitleRecord& title, RowOfLine rowOf) {
    for (const std::string& path : LogFiles(context)) {
        const std::unique_ptr<platform::InputFile> file = OpenTextFile(context.machine, path);
        if (!file) continue;
        TextLineReader reader(*file);
        while (const auto line = reader.ReadLine())
            if (const auto row = rowOf(*line)) title.AppendText(*row);
    }
}

Result<std::unique_ptr<platform::RegistryKey>> OpenProductKey(platform::Machine& machine,
                                                              std::string_view subkey = {}) {
    std::string path(kAntivirusKey);
    if (!subkey.empty()) path += "\\" + std::string(subkey);
    return machine.OpenKey(platform::RegRoot::LocalMachine, path, platform::kKeyRead);
}

void AddAll(ResultNode& node, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) node.AddChild(entry);
}

void AddServerEntries(const AntivirusEntries& e, ResultNode& node) {
    node.AddChild(e.ProductVersion());
    node.AddChild(kSpacer);
    node.AddChild("Domain," + e.Text("Domain") + ",Domain parent resides in");
    node.AddChild("Parent," + e.Text("Parent") + ", ");
    node.AddChild("Number of clients," + e.Text("NumberOfClients") + ", ");
    node.AddChild(e.OperatingSystem());
    // Both entries read the same bit: a primary server shares its definitions.
    const bool primary = (e.Number("Flags") & 0x1) != 0;
    node.AddChild(std::string("Server Type,") + (primary ? "Primary," : "Secondary,") + ", ");
    node.AddChild(std::string("Sharing,") + (primary ? "Yes," : "No,") + ", ");
    node.AddChild(kSpacer);
    AddAll(node, e.AddressBlock());
    node.AddChild(kSpacer);
    AddAll(node, e.PatternBlock());
    node.AddChild(kSpacer);
    node.AddChild(e.TimeOfLastScan());
}

void AddClientEntries(const AntivirusEntries& e, ResultNode& node) {
    node.AddChild(e.ProductVersion());
    node.AddChild(kSpacer);
    node.AddChild(e.OperatingSystem());
    node.AddChild(kSpacer);
    AddAll(node, e.AddressBlock());
    node.AddChild(kSpacer);
    AddAll(node, e.PatternBlock());
}

using EntryFiller = void (*)(const AntivirusEntries& entries, ResultNode& node);

// The "Info" node of the install, then one node for each subkey of `listKey`.
void AddKeyListing(CommandCall& call, std::string_view listKey, EntryFiller fill) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    auto root = OpenProductKey(context.machine);
    if (!root.ok()) return;
    ResultNode& content = call.title->Root();
    const AntivirusEntries product(context, **root);

    ResultNode& info = content.AddChild("[D]  Info");
    const std::uint32_t clientType = product.Number("ClientType");
    info.AddChild(clientType == 1   ? "Type of Install,Client, "
                  : clientType == 2 ? "Type of Install,StandAlone, "
                                    : "Type of Install,Server, ");
    if (clientType == 1 || clientType == 2)
        info.AddChild("Parent," + product.Text("Parent") + ",Client's parent server");
    else info.AddChild("Domain," + product.Text("Domain") + ",Domain server is part of");

    ResultNode& list = content.AddChild("[D]  " + std::string(listKey));
    auto listed = OpenProductKey(context.machine, listKey);
    if (!listed.ok()) return;
    for (std::uint32_t index = 0;; ++index) {
        auto name = (*listed)->EnumSubkey(index, kSubkeyNameChars);
        if (!name.ok()) {
            if (name.error() == err::kMoreData) continue;  // a name too long to show; the others still list
            break;
        }
        ResultNode& node = list.AddChild("[D]  " + *name);
        auto entryKey = OpenProductKey(context.machine, std::string(listKey) + "\\" + *name);
        if (entryKey.ok()) fill(AntivirusEntries(context, **entryKey), node);
    }
}

}  // namespace

void COstrell7LogCommand(CommandCall& call) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    TitleRecord& title = *call.title;
    if (call.argument.find("virus") != std::string_view::npos) {
        title.kindDetail = std::string(kVirusColumns);
        AppendLogRows(context, title, &VirusLogRow);
    } else if (call.argument.find("event") != std::string_view::npos) {
        title.kindDetail = std::string(kEventColumns);
        AppendLogRows(context, title, &EventLogRow);
    }
}

void TCOstrell7MainCommand(CommandCall& call) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    auto key = OpenProductKey(context.machine);
    if (!key.ok()) return;
    const AntivirusEntries product(context, **key);
    ResultNode& node = call.title->Root().Current();
    node.AddChild("Parent server," + product.Text("Parent") + ", ");
    node.AddChild(product.ProductVersion());
    node.AddChild(product.ScanEngine());
}

void DspAddressCacheCommand(CommandCall& call) { AddKeyListing(call, "AddressCache", &AddServerEntries); }

void DspClientCommand(CommandCall& call) { AddKeyListing(call, "Clients", &AddClientEntries); }

}  // namespace kavlo
