#pragma once
// Test rig: an in-memory machine, an application context, and a script runner.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/app_context.h"
#include "engine/testing/fake_machine.h"
#include "engine/testing/script_runner.h"

namespace kavlo::test {

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

    testing::FakeMachine machine;
    AppContext context;

private:
    testing::ScriptRunner runner_;  // declared before `dir`, which refers into it

public:
    const kavlo::testing::TempFolder& dir = runner_.dir();
};

/// The titles of a node's children, in order.
inline std::vector<std::string> ChildTitles(const ResultNode& node) {
    std::vector<std::string> titles;
    for (const auto& child : node.children()) titles.push_back(child->title());
    return titles;
}

}  // namespace kavlo::test
