#include "probes/install/install_path_command.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "engine/path_tokens.h"
#include "engine/script_engine.h"
#include "probes/files/file_info.h"
#include "probes/files/file_texts.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {
namespace {

// "RVAL" and the one character that separates it from the registry path.
constexpr std::size_t kRegistryMarkerLength = 5;

// The path that a spec names.
std::string ResolvePathSpec(AppContext& context, std::string_view spec) {
    std::string path;
    if (spec.find('%') != std::string_view::npos) {
        path = context.machine.ExpandEnvironment(spec);
        if (path.size() > kExpandedPathChars) path.resize(kExpandedPathChars);
    } else if (const std::size_t marker = spec.find("RVAL"); marker != std::string_view::npos) {
        const std::size_t start = std::min(spec.size(), marker + kRegistryMarkerLength);
        path = ReadValueText(context, spec.substr(start));
    } else if (spec.find('<') != std::string_view::npos) {
        path = ExpandPathToken(context, spec);
    } else {
        path = std::string(spec);
    }
    // A drive letter alone ("C:") names the drive's root.
    if (path.size() < 3) path += '\\';
    return path;
}

}  // namespace

void InstallPathCommand(CommandCall& call) {
    if (!call.title) return;
    TitleRecord& title = *call.title;
    const std::size_t comma = call.argument.find(',');
    const std::string_view label = call.argument.substr(0, comma);
    const std::string_view spec =
        comma == std::string_view::npos ? std::string_view() : call.argument.substr(comma + 1);
    const std::string path = ResolvePathSpec(call.engine.context(), spec);

    std::string row;
    if (path.find("Not Present") != std::string::npos) {
        // One empty cell for every column after the first, so the row keeps its width.
        row = "2," + std::string(label) + ",Not Present";
        row.append(static_cast<std::size_t>(std::count(title.header1.begin(), title.header1.end(), ',')), ',');
        row += '\n';
    } else {
        FileInfo file;
        file.Gather(call.engine.context(), path, PathMode::Unchanged);
        row = (file.Missing() ? "2," : "0,") + std::string(label) + ",";
        file.BuildRow(title.header1, ",", row);
    }
    title.AppendText(row);
}

}  // namespace kavlo
