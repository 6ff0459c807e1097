// "TRegKeyRightsList:", "TERKeyPermList:", "TERKeyPerm:": the access lists and
// the effective permissions of registry keys.

#include <memory>
#include <string>
#include <vector>

#include "engine/path_tokens.h"
#include "engine/script_engine.h"
#include "probes/files/file_paths.h"
#include "probes/registry/registry_readers.h"
#include "probes/security/access_listing.h"
#include "probes/security/security_commands.h"
#include "probes/security/security_texts.h"

namespace kavlo {
namespace {

constexpr std::size_t kKeyNameChars = 400;

struct KeyFrame {
    std::unique_ptr<platform::RegistryKey> key;
    std::string path;
    ResultNode* node = nullptr;
    std::uint32_t nextIndex = 0;
};

// A key's item, its subkeys walked beneath it, then its permissions. Keys that
// cannot be opened are left out; depth is bounded like the directory walks.
void WalkKey(AppContext& context, platform::RegRoot root, std::unique_ptr<platform::RegistryKey> key,
             const std::string& path, const std::string& label, ResultNode& parent) {
    platform::Machine& machine = context.machine;
    std::vector<KeyFrame> stack;
    stack.push_back({std::move(key), path, &parent.AddChild(std::string(kFolderMarker) + label), 0});
    while (!stack.empty()) {
        KeyFrame& frame = stack.back();
        auto name = frame.key->EnumSubkey(frame.nextIndex++, kKeyNameChars);
        if (!name) {
            AddKeyPermissions(context, *frame.node, root, frame.path);
            stack.pop_back();
            continue;
        }
        if (static_cast<int>(stack.size()) > kMaxWalkDepth) continue;
        const std::string childPath = frame.path.empty() ? *name : frame.path + "\\" + *name;
        auto child = machine.OpenKey(root, childPath, platform::kKeyRead);
        if (!child) continue;
        ResultNode* node = &frame.node->AddChild(std::string(kFolderMarker) + *name);
        stack.push_back({std::move(*child), childPath, node, 0});  // `frame` is not used after this
    }
}

struct ResolvedKey {
    platform::RegRoot root;
    std::string path;
    std::string label;
    std::unique_ptr<platform::RegistryKey> key;
};

// Steps 1 to 3 shared by the two permission listings; nullopt when the key
// does not open.
std::optional<ResolvedKey> OpenNamedKey(AppContext& context, std::string_view argument) {
    const std::size_t slash = argument.find('\\');
    const std::string_view rootName = argument.substr(0, slash);
    const std::string_view rest = slash == std::string_view::npos ? std::string_view() : argument.substr(slash + 1);
    const auto root = RootOf(rootName);
    if (!root) return std::nullopt;
    const std::string path = ResolveWildcard(context.machine, root, SubstituteVars(context, rest));
    auto key = context.machine.OpenKey(*root, path, platform::kKeyRead);
    if (!key) return std::nullopt;
    return ResolvedKey{*root, path, std::string(rootName) + "\\" + path, std::move(*key)};
}

}  // namespace

void TRegKeyRightsListCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    const std::string_view argument = call.afterColon;
    ResultNode& item = call.title->Root().AddChild(argument);
    const std::size_t hklm = argument.find("HKLM");
    if (hklm == std::string_view::npos) return;
    std::string_view path = argument.substr(hklm + 4);
    if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    ListAccess(context.machine, context.machine.KeySecurity(platform::RegRoot::LocalMachine, path), ListingMode::Items,
               nullptr, &item);
}

void TERKeyPermListCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    auto resolved = OpenNamedKey(context, call.afterColon);
    if (!resolved) return;
    WalkKey(context, resolved->root, std::move(resolved->key), resolved->path, resolved->label, call.title->Root());
}

void TERKeyPermCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    auto resolved = OpenNamedKey(context, call.afterColon);
    if (!resolved) return;
    // The key itself is listed beneath its label, under its own name.
    ResultNode& label = call.title->Root().AddChild(std::string(kFolderMarker) + resolved->label);
    const std::size_t lastSlash = resolved->label.rfind('\\');
    const std::string name = resolved->label.substr(lastSlash + 1);
    WalkKey(context, resolved->root, std::move(resolved->key), resolved->path, name, label);
}

}  // namespace kavlo
