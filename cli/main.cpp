// kavlo: gather, view and export support reports from the command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "kavlo_version.h"

namespace {

constexpr const char* kUsage =
    "usage: kavlo COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  run SCRIPT.dbg [--title NAME]... [--machine DIR] [--format text|json]\n"
    "      run titles of one script and print their results\n"
    "  gather [--scripts DIR] [--machine DIR] [-o FILE] [--gz]\n"
    "      gather every title of the scripts into a report file\n"
    "  show FILE [--title NAME]\n"
    "      print a report's outline, or one title's content\n"
    "  export FILE --format json|text [-o OUT]\n"
    "      write a whole report as JSON or text\n"
    "  lint SCRIPT.dbg|FOLDER... [--format text|json]\n"
    "      check scripts for mistakes that the engine would run silently\n"
    "\n"
    "options:\n"
    "  -h, --help     print this help\n"
    "  -V, --version  print the version\n"
    "\n"
    "Run 'kavlo COMMAND --help' for a command's options.\n";

struct Subcommand {
    const char* name;
    int (*run)(const kavlo::cli::Args&);
};

constexpr Subcommand kSubcommands[] = {
    {"run", kavlo::cli::RunCommand},       {"gather", kavlo::cli::GatherCommand}, {"show", kavlo::cli::ShowCommand},
    {"export", kavlo::cli::ExportCommand}, {"lint", kavlo::cli::LintCommand},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version" || command == "-V") {
        std::fputs("kavlo " KAVLO_VERSION_TEXT " (build " KAVLO_BUILD_TEXT ")\n", stdout);
        return 0;
    }
    for (const Subcommand& sub : kSubcommands) {
        if (command == sub.name) return sub.run(kavlo::cli::Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "kavlo: unknown command '%s'\n%s", command.c_str(), kUsage);
    return 2;
}
