#pragma once
// Test helpers: a temporary host directory for scripts, and a runner that
// catalogues a script and runs one title as the program does.

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "probes/registration.h"
#include "engine/app_context.h"
#include "engine/tree_walk.h"
#include "engine/script_engine.h"
#include "engine/script_catalog.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::testing {

/// Catalogues scripts into a temporary directory and runs their titles.
class ScriptRunner {
public:
    explicit ScriptRunner(AppContext& context) : context_(context) {}

    std::unique_ptr<ScriptRecord> Load(std::string_view script, const std::string& name = "test") {
        return ScriptCatalog(context_, StandardCommandTable()).LoadScript(dir_.Write(name + ".dbg", script), name);
    }

    /// Catalogues a script and runs one of its titles, which must exist.
    TitleRecord& Run(std::string_view script, std::string_view title) {
        file_ = Load(script);
        TitleRecord* found = file_ ? file_->FindTitle(title) : nullptr;
        if (!found) throw std::runtime_error("no title " + std::string(title));
        ScriptEngine(context_, StandardCommandTable()).RunTitle(*found);
        return *found;
    }

    /// Runs a title "T" of the given kind whose body is `body`.
    TitleRecord& RunBody(std::string_view kind, std::string_view body) {
        return Run("[TITLE LIST] {\nT\n}\n[TITLE]\nT\n" + std::string(kind) + "\n" + std::string(body) + "\n}\n", "T");
    }
    /// A "text" title whose body is `body`.
    TitleRecord& RunText(std::string_view body) { return RunBody("text", body); }
    /// A "tree" title (or another kind) whose body is `body`.
    TitleRecord& RunTree(std::string_view body, std::string_view kind = "tree") { return RunBody(kind, body); }
    /// Runs one line through the dispatcher with the standard table.
    void Dispatch(std::string_view line, TitleRecord* title) {
        ScriptFile file{std::string()};
        ScriptEngine(context_, StandardCommandTable()).Dispatch(file, line, title);
    }

    const TempFolder& dir() const { return dir_; }

private:
    AppContext& context_;
    TempFolder dir_;
    std::unique_ptr<ScriptRecord> file_;
};

/// The titles of a node's children, in order.
inline std::vector<std::string> ChildTitles(const ResultNode& node) {
    std::vector<std::string> titles;
    for (const auto& child : node.children()) titles.push_back(child->title());
    return titles;
}

/// The child with this title; throws when there is none, naming what was looked for.
inline const ResultNode& Child(const ResultNode& node, std::string_view title) {
    for (const auto& child : node.children())
        if (child->title() == title) return *child;
    throw std::runtime_error("no child \"" + std::string(title) + "\" below \"" + node.title() + "\"");
}

/// An indented outline of a node's subtree ("title" per line, two blanks per level).
inline std::string Outline(const ResultNode& node) {
    std::string out;
    WalkTree(node, kAnyDepth, [&out](const ResultNode& n, std::size_t depth) {
        out += std::string(depth * 2, ' ') + n.title() + "\n";
        return Visit::Children;
    });
    return out;
}

}  // namespace kavlo::testing
