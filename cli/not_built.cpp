// Placeholders for subcommands whose modules have not landed; each says so.
#include <cstdio>

#include "cli/commands.h"

namespace kavlo::cli {
namespace {
int NotBuilt(const char* name) {
    std::fprintf(stderr, "kavlo %s: not available in this build\n", name);
    return 2;
}
}  // namespace

int ExportCommand(const Args&) { return NotBuilt("export"); }

}  // namespace kavlo::cli
