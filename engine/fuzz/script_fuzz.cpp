// Catalogues a fuzzed script (and reads it as a catalog configuration), then runs
// its titles against a small in-memory machine. Must never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "probes/registration.h"
#include "engine/app_context.h"
#include "engine/script_engine.h"
#include "engine/script_catalog.h"
#include "engine/testing/script_rig.h"

namespace {

using kavlo::platform::RegRoot;

void Populate(kavlo::testing::FakeMachine& m) {
    m.SetString(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir",
                "C:\\Program Files\\Common Files");
    m.SetDword(RegRoot::LocalMachine, "Software\\Acme\\Prod10", "Enabled", 1);
    m.SetDword(RegRoot::LocalMachine, "Software\\Acme\\Prod10", "Enabled - L", 0);
    m.SetString(RegRoot::LocalMachine, "Software\\Acme\\Prod20", "Name", "%s%n%%");
    m.SetValue(RegRoot::LocalMachine, "Software\\Acme", "Blob", kavlo::platform::regtype::kBinary,
               std::string(5000, '\x7f'));
    m.SetValue(RegRoot::CurrentUser, "Software\\Acme", "List", kavlo::platform::regtype::kMultiSz,
               std::string("a\0b\0\0", 5));
    m.AddFile("C:\\WINNT\\flags.bin", std::string("\x01\xff\x00hello", 8));
    m.SetShellFolder(26, "C:\\Documents and Settings\\u\\Application Data");
}

kavlo::testing::FakeMachine& Machine() {
    static kavlo::testing::FakeMachine machine;
    static const bool populated = (Populate(machine), true);
    (void)populated;
    return machine;
}

// Titles without a closing brace run to the end of the script; bound the work
// per input so that a script of many such titles stays linear.
constexpr std::size_t kMaxTitlesRun = 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kavlo::OsInfo kSystems[] = {
        kavlo::testing::Win95(), kavlo::testing::Nt40(), kavlo::testing::Nt50(), {"NT", "Windows 10", 100, true}};
    const kavlo::OsInfo& os = kSystems[size > 0 ? data[0] % 4 : 0];
    kavlo::AppContext context(Machine(), os, "C:\\");
    const std::string text(reinterpret_cast<const char*>(data), size);

    kavlo::ScriptFile configuration(text);
    (void)kavlo::ScriptCatalog(context, kavlo::StandardCommandTable()).ReadConfiguration(configuration);

    kavlo::ScriptFile script(text);
    auto file = kavlo::ScriptCatalog(context, kavlo::StandardCommandTable()).LoadScript(script, "fuzz.dbg", "fuzz");
    std::size_t run = 0;
    for (auto& title : file->titles) {
        if (run++ == kMaxTitlesRun) break;
        kavlo::ScriptEngine engine(context, kavlo::StandardCommandTable());
        engine.RunTitle(*title, script);
        // runs once more to exercise the teardown of whatever the first run built
        title->runPending = 1;
        engine.RunTitle(*title, script);
    }
    return 0;
}
