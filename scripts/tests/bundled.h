#pragma once
// Access to the bundled scripts and the sample machine for the script tests:
// paths, lines of a script, and a report of the bundled scripts gathered on a
// machine, saved and opened again.

#include <memory>
#include <string>
#include <vector>

#include "engine/app_context.h"
#include "engine/records.h"
#include "platform/machine.h"

namespace kavlo::scripts_test {

/// The folder of the bundled scripts.
std::string ScriptsDir();
/// The bundled sample machine's folder.
std::string SampleMachineDir();
/// Every "*.dbg" file of the scripts folder, in catalog order.
std::vector<std::string> BundledScriptNames();
/// The lines of a file of the scripts folder, without line ends.
std::vector<std::string> ScriptLines(const std::string& fileName);

/// A machine with its context and the scripts of a report gathered on it.
struct Catalog {
    std::unique_ptr<platform::Machine> machine;
    std::unique_ptr<AppContext> context;
    std::vector<std::unique_ptr<ScriptRecord>> files;
};

/// Gathers a new report of the bundled scripts on a machine, saves it to a
/// temporary file and opens it again: the catalog is what support sees. Empty
/// `error` on success.
Catalog SavedReportOf(std::unique_ptr<platform::Machine> machine, std::string& error);

}  // namespace kavlo::scripts_test
