#pragma once
// Runs command lines of the network area against a machine, as the dispatcher does.

#include <string_view>

#include "engine/script_engine.h"
#include "probes/registration.h"

namespace kavlo::network_test {

/// The text that one command line appends to a fresh list title.
inline std::string ListRows(platform::Machine& machine, std::string_view line) {
    AppContext context(machine, OsInfo{"NT5.0", "Windows 2000 Professional", 50, true}, "C:\\");
    TitleRecord title;
    title.kind = "col";
    ScriptFile file{std::string()};
    ScriptEngine(context, StandardCommandTable()).Dispatch(file, line, &title);
    return title.text;
}

}  // namespace kavlo::network_test
