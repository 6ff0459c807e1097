// "TERegList:": a key, its subkeys and their values as an expandable tree below
// the title's root. Keys are marked "[D]  " so that the expandable views show them.
#include <memory>
#include <vector>

#include "engine/path_tokens.h"
#include "probes/registry/registry_commands.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {

namespace {

constexpr std::size_t kNameChars = 400;
constexpr std::size_t kDataBytes = 400;
// The registry itself nests keys at most 512 deep; a deeper (simulated or
// hostile) tree is cut there instead of exhausting the stack or the memory.
constexpr std::size_t kMaxDepth = 512;
// Large enough for any name or data the registry can hold, to name a value whose
// data did not fit the lister's buffer.
constexpr std::size_t kUnboundedBytes = std::size_t{1} << 20;

struct OpenKeyFrame {
    std::unique_ptr<platform::RegistryKey> key;
    std::string path;
    ResultNode* node;
    std::uint32_t nextSubkey = 0;
};

void AddValueNodes(platform::Machine& machine, const platform::RegistryKey& key, ResultNode& node) {
    for (std::uint32_t index = 0;; ++index) {
        Result<platform::NamedRegValue> value = key.EnumValue(index, kNameChars, kDataBytes);
        if (value.ok()) {
            node.AddChild(value->name + "," + FormatValueText(value->value, true, true));
            continue;
        }
        if (value.error() != err::kMoreData) return;
        // Too large for the lister's buffer: shown with the system's more-data text.
        Result<platform::NamedRegValue> named = key.EnumValue(index, kUnboundedBytes, kUnboundedBytes);
        if (!named.ok()) return;
        node.AddChild(named->name + "," + machine.ErrorText(err::kMoreData));
    }
}

void ListKeyTree(platform::Machine& machine, platform::RegRoot root, std::unique_ptr<platform::RegistryKey> top,
                 const std::string& keyPath, const std::string& displayName, ResultNode& parent) {
    std::vector<OpenKeyFrame> stack;
    stack.push_back({std::move(top), keyPath, &parent.AddChild("[D]  " + displayName)});
    while (!stack.empty()) {
        OpenKeyFrame& frame = stack.back();
        Result<std::string> name = frame.key->EnumSubkey(frame.nextSubkey, kNameChars);
        if (name.ok()) {
            ++frame.nextSubkey;
            if (stack.size() >= kMaxDepth) continue;
            std::string subPath = frame.path.empty() ? *name : frame.path + "\\" + *name;
            auto sub = machine.OpenKey(root, subPath, platform::kKeyRead);
            if (!sub.ok() || !*sub) continue;
            ResultNode* node = &frame.node->AddChild("[D]  " + *name);
            stack.push_back({std::move(*sub), std::move(subPath), node});
            continue;
        }
        AddValueNodes(machine, *frame.key, *frame.node);
        stack.pop_back();
    }
}

}  // namespace

void TERegListCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    const std::string_view argument = call.afterColon;
    TitleRecord* title = call.title;
    if (!title) return;
    platform::Machine& machine = engine.machine();
    const RegistryPath path = SplitKeyPath(argument);
    const std::string keyPath = ResolveWildcard(machine, path.root, SubstituteVars(engine.context(), path.keyPath));
    auto key = OpenRegistryKey(machine, path.root, keyPath);
    if (!key.ok() || !*key) return;
    ListKeyTree(machine, *path.root, std::move(*key), keyPath, path.rootWord + "\\" + keyPath, title->Root());
}

}  // namespace kavlo
