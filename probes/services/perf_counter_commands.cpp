// "CPerfMon:" and "CPerfMonExe:": counters of the "Process" object for every
// process, or for the processes whose module name begins with a program name.

#include <string>
#include <vector>

#include "engine/script_engine.h"
#include "probes/services/service_commands.h"

namespace kavlo {
namespace {

// Rate counters such as "% Processor Time" need two collections some time apart.
constexpr std::uint32_t kCollectionPauseMs = 250;

std::vector<std::string> SplitCommas(std::string_view text) {
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t comma = text.find(',');
        parts.emplace_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return parts;
        text.remove_prefix(comma + 1);
    }
}

// The counter instance of a module: lower case, ".exe" removed.
std::string InstanceOf(std::string_view baseName) {
    std::string instance(baseName);
    for (char& c : instance) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (const std::size_t exe = instance.find(".exe"); exe != std::string::npos) instance.erase(exe, 4);
    return instance;
}

struct ProcessQuery {
    std::string baseName;
    std::unique_ptr<platform::CounterQuery> query;
};

void ListCounters(CommandCall& call, std::string_view program, std::string_view object,
                  const std::vector<std::string>& counters) {
    if (!call.title || !call.engine.context().IsNtFamily()) return;
    if (object.find("Process") == std::string_view::npos) return;
    platform::Machine& machine = call.engine.machine();
    auto ids = machine.ProcessIds();
    if (!ids) return;
    std::vector<ProcessQuery> queries;
    for (std::uint32_t id : *ids) {
        auto process = machine.OpenProcess(id);
        if (!process) continue;
        auto baseName = (*process)->BaseName();
        if (!baseName || baseName->compare(0, program.size(), program) != 0 ||
            baseName->find("unknown") != std::string::npos)
            continue;
        auto query = machine.OpenProcessCounters(InstanceOf(*baseName), counters);
        if (!query) continue;
        (void)(*query)->Collect();
        queries.push_back({std::move(*baseName), std::move(*query)});
    }
    if (queries.empty()) return;
    machine.Sleep(kCollectionPauseMs);
    std::string rows;
    for (ProcessQuery& process : queries) {
        (void)process.query->Collect();
        rows += process.baseName;
        for (std::size_t i = 0; i < counters.size(); ++i) {
            auto value = process.query->Value(i);
            rows += "," + (value ? std::to_string(*value) : std::string());
        }
        rows += "\n";
    }
    call.title->AppendText(rows);
}

}  // namespace

void CPerfMonCommand(CommandCall& call) {
    std::vector<std::string> parts = SplitCommas(call.argument);
    const std::string object = parts.front();
    parts.erase(parts.begin());
    ListCounters(call, {}, object, parts);
}

void CPerfMonExeCommand(CommandCall& call) {
    std::vector<std::string> parts = SplitCommas(call.argument);
    const std::string program = parts.front();
    const std::string object = parts.size() > 1 ? parts[1] : std::string();
    parts.erase(parts.begin(), parts.begin() + std::min<std::size_t>(2, parts.size()));
    ListCounters(call, program, object, parts);
}

}  // namespace kavlo
