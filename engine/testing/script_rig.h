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

/// The machine and context of a ScriptRig, built before its runner.
struct RigMachine {
    explicit RigMachine(OsInfo os) : context(machine, std::move(os), "C:\\") {}
    FakeMachine machine;
    AppContext context;
};

class ScriptRig : public RigMachine, public ScriptRunner {
public:
    explicit ScriptRig(OsInfo os = Nt50()) : RigMachine(std::move(os)), ScriptRunner(context) {}
};

}  // namespace kavlo::testing
