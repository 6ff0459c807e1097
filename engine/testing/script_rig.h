#pragma once
// An in-memory machine, its application context and a script runner: the rig
// for tests of script commands whose machine a test states in a few lines.

#include <string>
#include <string_view>

#include "engine/app_context.h"
#include "engine/testing/fake_machine.h"
#include "engine/testing/script_runner.h"

namespace kavlo::testing {

inline OsInfo Nt50() { return {"NT5.0", "Windows 2000 Professional", 50, true}; }
inline OsInfo Nt40() { return {"NT4.0", "NT ", 40, true}; }
inline OsInfo Win95() { return {"Win95", "Windows 95", 95, false}; }
inline OsInfo Win98() { return {"Win98", "Windows 98", 98, false}; }

class ScriptRig {
public:
    explicit ScriptRig(OsInfo os = Nt50()) : context(machine, std::move(os), "C:\\"), runner_(context) {}

    std::unique_ptr<ScriptRecord> Load(std::string_view script, const std::string& name = "test") {
        return runner_.Load(script, name);
    }
    TitleRecord& Run(std::string_view script, std::string_view title) { return runner_.Run(script, title); }
    /// A "text" title whose body is `body`.
    TitleRecord& RunText(std::string_view body) { return runner_.RunBody("text", body); }
    /// A "tree" title (or another kind) whose body is `body`.
    TitleRecord& RunTree(std::string_view body, std::string_view kind = "tree") { return runner_.RunBody(kind, body); }
    /// Runs one line through the dispatcher with the standard table.
    void Dispatch(std::string_view line, TitleRecord* title) {
        ScriptFile file{std::string()};
        ScriptEngine(context, StandardCommandTable()).Dispatch(file, line, title);
    }
    const TempFolder& dir() const { return runner_.dir(); }

    FakeMachine machine;
    AppContext context;

private:
    ScriptRunner runner_;
};

}  // namespace kavlo::testing
