#pragma once
// "TETFernwaySettingsLog:": the update product's default settings and each of
// its settings sets (current, then backups 1, 2, ...) with their product
// catalog and session log, as an expandable tree with the files' text.

#include <string>

#include "engine/command_table.h"
#include "platform/machine.h"

namespace kavlo {

void TETFernwaySettingsLogCommand(CommandCall& call);

/// A text file's lines, each followed by "\n"; "ERROR finding file " and the path
/// when it is not found, empty when it cannot be opened.
std::string FileContentText(platform::Machine& machine, const std::string& path);

}  // namespace kavlo
