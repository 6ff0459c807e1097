#pragma once
// Helpers shared by the probe tests and benchmarks of every area: command
// lines run against any machine (fake, simulated or the real one under Wine) as
// the dispatcher runs them, outlines, and simulated systems of other versions.

#include <memory>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script_engine.h"
#include "engine/testing/script_runner.h"
#include "platform/testing/temp_folder.h"
#include "probes/registration.h"

namespace kavlo::probe_test {

/// A context on a machine; every run dispatches one line into a fresh title,
/// which lives as long as the runner so that earlier trees stay readable.
class LineRunner {
public:
    explicit LineRunner(platform::Machine& machine, OsInfo os = {"NT5.0", "Windows 2000 Professional", 50, true})
        : context(machine, std::move(os), "C:\\") {}
    /// `keys` is the key line of a list title ("FNAMEPATH,FSIZE").
    TitleRecord& Run(std::string_view kind, std::string_view line, std::string_view keys = {}) {
        titles_.push_back(std::make_unique<TitleRecord>());
        titles_.back()->kind = std::string(kind);
        titles_.back()->header1 = std::string(keys);
        ScriptFile file{std::string()};
        ScriptEngine(context, StandardCommandTable()).Dispatch(file, line, titles_.back().get());
        return *titles_.back();
    }
    /// The text one line writes into a fresh list title.
    std::string Text(std::string_view line) { return Run("col", line).text; }

    AppContext context;

private:
    std::vector<std::unique_ptr<TitleRecord>> titles_;
};

/// The outline of the items below a node (the node itself left out).
inline std::string OutlineBelow(const ResultNode& node) {
    std::string out;
    for (const auto& child : node.children()) out += kavlo::testing::Outline(*child);
    return out;
}

/// The minimal simulated system as another version ("9x", 4, 10 is Windows 98).
inline std::string MinimalSystem(std::string_view platform, int major, int minor) {
    std::string ini(kavlo::testing::kMinimalSystem);
    const std::string_view nt5 = "platform = NT\nmajor = 5\nminor = 0";
    return ini.replace(ini.find(nt5), nt5.size(),
                       "platform = " + std::string(platform) + "\nmajor = " + std::to_string(major) +
                           "\nminor = " + std::to_string(minor));
}

/// The lines of a text without their line breaks.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

/// A whole-text regular expression match; gtest's own expressions on Windows
/// know no groups, classes or alternatives.
inline bool Matches(const std::string& text, const std::string& pattern) {
    return std::regex_match(text, std::regex(pattern));
}

}  // namespace kavlo::probe_test
