#pragma once
// Runs single command lines against any machine (fake, simulated or the real
// one under Wine) as the dispatcher does. Shared by the probe tests of every
// area; it sits here because test helpers stay beside the tests that use them.

#include <memory>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script_engine.h"
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
