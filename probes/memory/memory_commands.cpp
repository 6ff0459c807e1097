#include "probes/memory/memory_commands.h"

#include <string>
#include <string_view>

#include "engine/path_tokens.h"
#include "engine/script_engine.h"
#include "probes/files/file_info.h"
#include "probes/files/file_texts.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {
namespace {

constexpr std::string_view kSeparatorRow = "  ,  ,  ,  \n";
constexpr std::string_view kMemoryManagement =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\";

// Label, total, available and used: one row of the memory table.
std::string MemoryRow(std::string_view label, std::uint64_t total, std::uint64_t available) {
    const std::uint64_t used = total >= available ? total - available : 0;
    return std::string(label) + SizeText(total) + "," + SizeText(available) + "," + SizeText(used) + "\n";
}

// The registry's pool limits and the size of each hive file.
std::string ExtendedMemorySection(AppContext& context) {
    struct RegistryRow {
        std::string_view label;
        std::string path;
    };
    const RegistryRow rows[] = {
        {"RegistrySizeLimit,", "HKLM\\SYSTEM\\CurrentControlSet\\Control\\RegistrySizeLimit"},
        {"PagedPoolSize,", std::string(kMemoryManagement) + "PagedPoolSize"},
        {"NonPagedPoolSize,", std::string(kMemoryManagement) + "NonPagedPoolSize"},
        {"PagedPoolQuota,", std::string(kMemoryManagement) + "PagedPoolQuota"},
        {"NonPagedPoolQuota,", std::string(kMemoryManagement) + "NonPagedPoolQuota"},
    };
    std::string text(kSeparatorRow);
    for (const RegistryRow& row : rows) text += std::string(row.label) + ReadValueText(context, row.path) + ", , ,\n";
    text += kSeparatorRow;

    auto hives = context.machine.FindFiles(ExpandPathToken(context, "<SYSTEM32>\\config\\*.*"));
    if (!hives.ok()) return text;
    for (const platform::FindEntry& entry : *hives) {
        if (entry.IsDirectory()) continue;
        FileInfo file;
        file.Gather(context, entry.fullPath, PathMode::Unchanged);
        file.FieldForKey("FNAME", ",", text);
        file.FieldForKey("FSIZE", ",", text);
        text += ", , \n";
    }
    return text;
}

// Splits a comma-separated list; empty entries are dropped.
template <class Visit>
void ForEachListItem(std::string_view list, Visit visit) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        if (!item.empty()) visit(item);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
}

}  // namespace

void CSystemMemoryCommand(CommandCall& call) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    const platform::MemoryStatus m = context.machine.Memory();
    std::string text = MemoryRow("Total Memory,", m.totalVirtual, m.availVirtual);
    text += MemoryRow("Physical Memory,", m.totalPhys, m.availPhys);
    text += MemoryRow("Paging Memory,", m.totalPageFile, m.availPageFile);
    if (call.argument.find('1') != std::string_view::npos && context.IsNtFamily())
        text += ExtendedMemorySection(context);
    call.title->AppendText(text);
}

void SwapFileSizeCommand(CommandCall& call) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    std::string sizeText, path;
    if (context.IsNtFamily()) {
        sizeText = SizeText(context.machine.Memory().availPageFile) + " avail";
    } else {
        auto swap = context.machine.SwapFile9x();
        if (swap.ok()) path = swap->path;
        sizeText = SizeText(swap.ok() ? swap->sizeBytes : 0);
    }
    std::string row = "0,Swap File";
    ForEachListItem(call.title->header1, [&](std::string_view key) {
        row += ',';
        if (key.find("FSIZE") != std::string_view::npos) row += sizeText;
        else if (key.find("FNAMEPATH") != std::string_view::npos) row += path;
    });
    row += '\n';
    call.title->AppendText(row);
}

void LocalHDSizeCommand(CommandCall& call) {
    if (!call.title) return;
    platform::Machine& machine = call.engine.machine();
    TitleRecord& title = *call.title;
    const auto appendDrive = [&](std::string_view root) {
        FileInfo drive;
        drive.GatherDrive(machine, root);
        std::string row = "0,Drive,";
        drive.BuildRow(title.header1, ",", row);
        title.AppendText(row);
    };
    const std::size_t comma = call.argument.find(',');
    if (comma != std::string_view::npos) {
        ForEachListItem(call.argument.substr(comma + 1), appendDrive);
        return;
    }
    for (const std::string& root : machine.LogicalDrives()) appendDrive(root);
}

void AppendProcessorLine(AppContext& context, TitleRecord& page) {
    page.AppendText("Processors: " + std::to_string(context.machine.ProcessorCount()));
}

}  // namespace kavlo
