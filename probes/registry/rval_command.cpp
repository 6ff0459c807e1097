// "RVAL:": one line with a registry value, optionally mapped to a text by a
// block of "match=text" lines.
#include "engine/text_util.h"
#include "probes/registry/registry_commands.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {

namespace {

constexpr std::size_t kValueBufferBytes = 4000;

struct ReadOutcome {
    bool read = false;
    std::string text;  ///< the value text, or the failure text when not read
};

ReadOutcome ReadForRval(platform::Machine& machine, const RegistryPath& path) {
    auto key = OpenRegistryKey(machine, path.root, path.keyPath);
    if (!key.ok()) return {false, FailureText(machine, key.error())};
    Result<platform::RegValue> value = (*key)->QueryValue(path.valueName, kValueBufferBytes);
    if (!value.ok()) return {false, FailureText(machine, value.error())};
    return {true, FormatValueText(*value, false, true)};
}

// Reads the mapping block; the first applicable line decides the output.
std::string MapValue(ScriptEngine& engine, ScriptFile& file, const ReadOutcome& outcome) {
    const std::string_view valueText = outcome.read ? std::string_view(outcome.text) : std::string_view();
    for (;;) {
        const std::optional<std::string_view> line = file.ReadLine();
        if (!line) return std::string(valueText);
        std::string output;
        if (Contains(*line, '}')) {
            engine.LowerDepth();  // the run never sees this closing line
            return std::string(valueText);
        }
        if (outcome.read && Contains(*line, '*')) {
            output = AfterFirst(*line, '=');
        } else if (Contains(*line, "RNOTPRESENT")) {
            output = outcome.read ? std::string(valueText) : std::string(AfterFirst(*line, ':'));
        } else if (Contains(*line, valueText)) {
            // "contains": the value 10 is caught by a line "1=One" written before "10=Ten".
            output = AfterFirst(*line, '=');
        } else {
            continue;
        }
        engine.SkipBlock(file, 1);
        return output;
    }
}

}  // namespace

void RValCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    ScriptFile& file = call.file;
    TitleRecord* title = call.title;
    std::string argument(call.argument);
    const bool hasBlock = Contains(argument, '{');
    if (hasBlock) argument = std::string(TrimTrailing(RemoveAll(argument, '{')));
    const ReadOutcome outcome = ReadForRval(engine.machine(), SplitValuePath(argument));
    std::string output = hasBlock ? MapValue(engine, file, outcome) : outcome.text;
    output.push_back('\n');
    if (title && title->TakesText()) title->AppendText(FormatPercent(output));
}

}  // namespace kavlo
