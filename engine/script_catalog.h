#pragma once
// The script catalog: finds the "*.dbg" scripts of a directory, decides which to
// load ("DBGList.cfg" with "[ALL]" and "[CHECK]"), and reads each script's header
// and title structure. Titles remember where their bodies start so that the
// engine can later run one title without reading the rest.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/app_context.h"
#include "engine/command_table.h"
#include "engine/records.h"
#include "engine/script_file.h"

namespace kavlo {

class ScriptCatalog {
public:
    ScriptCatalog(AppContext& context, const CommandTable& table) : context_(context), table_(table) {}

    /// Catalogues the scripts of a host directory in name order (case-insensitive);
    /// the caller (the report document) owns the returned files.
    std::vector<std::unique_ptr<ScriptRecord>> Scan(const std::string& directory);

    /// The load list of a configuration file; none when it cannot be opened.
    /// "[CHECK]" entries run their lines against the machine to decide.
    std::optional<std::vector<std::string>> ReadConfiguration(const std::string& path);

    /// Reads one script's header keywords, title list and title bodies; null when
    /// the file cannot be opened. `name` is the file name without extension.
    std::unique_ptr<ScriptRecord> LoadScript(const std::string& path, const std::string& name);
    /// As LoadScript, from a script already in memory (read from its start).
    std::unique_ptr<ScriptRecord> LoadScript(ScriptFile& file, const std::string& path, const std::string& name);
    /// As ReadConfiguration, from a configuration already in memory.
    std::vector<std::string> ReadConfiguration(ScriptFile& file);

    /// The "*.dbg" files of a directory in catalog order (file names only).
    static std::vector<std::string> ListScripts(const std::string& directory);

private:
    AppContext& context_;
    const CommandTable& table_;
};

}  // namespace kavlo
