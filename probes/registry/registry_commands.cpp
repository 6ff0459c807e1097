// Presence tests and simple value commands: "ReadRValStr:", "RVALPRESENT:",
// "RKEYPRESENT:", "RKEYEXIT:" and "CENUMRVAL:".
#include "engine/text_util.h"
#include "probes/registry/registry_commands.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {

namespace {

constexpr std::size_t kEnumBufferBytes = 4000;
constexpr std::size_t kEnumNameChars = 4000;
}  // namespace

void ReadRValStrCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    engine.context().val1.SetString(ReadValueText(engine.context(), call.argument));
}

void RValPresentCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    const RegistryPath path = SplitValuePath(call.argument);
    engine.context().presentFlag = ValueExists(engine.machine(), path.root, path.keyPath, path.valueName);
}

void RKeyPresentCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    const RegistryPath path = SplitKeyPath(call.argument);
    engine.context().presentFlag = KeyExists(engine.machine(), path.root, path.keyPath);
}

void RKeyExitCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    const RegistryPath path = SplitKeyPath(call.argument);
    auto key = OpenRegistryKey(engine.machine(), path.root, path.keyPath);
    const std::string text = key.ok() ? std::string("Present\n") : engine.machine().ErrorText(key.error());
    if (title && title->TakesText()) title->AppendText(FormatPercent(text));
}

void CEnumRValCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    const RegistryPath path = SplitKeyPath(call.argument);
    auto key = OpenRegistryKey(engine.machine(), path.root, path.keyPath);
    if (!key.ok()) return;
    std::string text;
    for (std::uint32_t index = 0;; ++index) {
        Result<platform::NamedRegValue> value = (*key)->EnumValue(index, kEnumNameChars, kEnumBufferBytes);
        if (!value.ok() && value.error() == err::kMoreData) {
            // Too large for the buffers: its name and the system's more-data text, and on.
            Result<std::string> name = ValueNameAt(**key, index);
            if (!name.ok()) break;
            text.append(*name);
            text.push_back(',');
            text.append(MoreDataText(engine.machine()));
            text.push_back('\n');
            continue;
        }
        if (!value.ok()) break;
        text.append(value->name);
        text.push_back(',');
        text.append(FormatValueText(value->value, false, true));
        text.push_back('\n');
    }
    if (title) title->AppendText(text);
}

}  // namespace kavlo
