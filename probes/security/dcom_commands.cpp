// "TEDcomCnfg:" and "TEAppDcomCnfg:": who may launch and use COM servers, from
// the permission descriptors stored in the registry.

#include <algorithm>
#include <string>
#include <vector>

#include "engine/script_engine.h"
#include "platform/security/security_descriptor.h"
#include "probes/registry/registry_readers.h"
#include "probes/security/access_listing.h"
#include "probes/security/security_commands.h"
#include "probes/security/security_texts.h"

namespace kavlo {
namespace {

// Larger permission values are not descriptors anyone wrote; a cap keeps a
// broken value from costing more than this.
constexpr std::size_t kMaxDescriptorBytes = 64 * 1024;

enum class PermissionKind { Launch, Access };

Result<std::string> ReadBinaryValue(platform::Machine& machine, std::string_view valuePath) {
    const RegistryPath path = SplitValuePath(valuePath);
    auto key = OpenRegistryKey(machine, path.root, path.keyPath);
    if (!key) return Result<std::string>::Failure(key.error());
    auto value = (*key)->QueryValue(path.valueName, kMaxDescriptorBytes);
    if (!value) return Result<std::string>::Failure(value.error());
    return std::move(value->data);
}

// The allowed and denied entries of a stored descriptor, each account once.
void ListPermissionValue(platform::Machine& machine, ResultNode& parent, std::string_view valuePath,
                         PermissionKind kind) {
    auto bytes = ReadBinaryValue(machine, valuePath);
    auto model = bytes ? platform::ParseSecurityDescriptor(*bytes)
                       : Result<platform::SecurityDescriptorModel>::Failure(bytes.error());
    if (!model) {
        parent.AddChild("Error," + SystemText(machine, model.error()));
        return;
    }
    const bool launch = kind == PermissionKind::Launch;
    std::vector<platform::SidBytes> seen;
    for (const platform::AccessEntry& entry : model->dacl) {
        const bool allowed = entry.type == platform::ace_type::kAccessAllowed;
        if (!allowed && entry.type != platform::ace_type::kAccessDenied) continue;
        if (std::find(seen.begin(), seen.end(), entry.sid) != seen.end()) continue;
        seen.push_back(entry.sid);
        const char* words =
            allowed ? (launch ? ", Allow Launch" : ", Allow Access") : (launch ? ", Deny Launch" : ", Deny Access");
        parent.AddChild(AccountText(machine, entry.sid) + words);
    }
}

// The configuration permissions: the key permissions of HKEY_CLASSES_ROOT.
void AddClassesRootPermissions(AppContext& context, ResultNode& parent, bool withRootItem) {
    auto key = context.machine.OpenKey(platform::RegRoot::ClassesRoot, "", platform::kKeyRead);
    if (!key) return;
    ResultNode& item = withRootItem ? parent.AddChild("[D] HKEY_CLASSES_ROOT") : parent;
    AddKeyPermissions(context, item, platform::RegRoot::ClassesRoot, "");
}

}  // namespace

void TEDcomCnfgCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    platform::Machine& machine = context.machine;
    ResultNode& top = call.title->Root().AddChild("[D] DCOM Default Security");
    ListPermissionValue(machine, top.AddChild("[D] Default Launch Permission"),
                        "HKLM\\Software\\Microsoft\\Ole\\DefaultLaunchPermission", PermissionKind::Launch);
    ListPermissionValue(machine, top.AddChild("[D] Default Access Permission"),
                        "HKLM\\Software\\Microsoft\\Ole\\DefaultAccessPermission", PermissionKind::Access);
    AddClassesRootPermissions(context, top.AddChild("[D] Default Configurations Permission"), true);
}

void TEAppDcomCnfgCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    platform::Machine& machine = context.machine;
    std::string appId(call.afterColon);
    std::replace(appId.begin(), appId.end(), '[', '{');
    std::replace(appId.begin(), appId.end(), ']', '}');
    ResultNode& top = call.title->Root().AddChild("[D] DCOM Settings -" + appId);
    const std::string keyPath = "HKCR\\AppID\\" + appId;
    if (!KeyExists(machine, platform::RegRoot::ClassesRoot, "AppID\\" + appId)) {
        top.AddChild("ERROR,Key not present");
        return;
    }
    ListPermissionValue(machine, top.AddChild("[D] Launch Permission"), keyPath + "\\LaunchPermission",
                        PermissionKind::Launch);
    ListPermissionValue(machine, top.AddChild("[D] Access Permission"), keyPath + "\\AccessPermission",
                        PermissionKind::Access);
    top.AddChild("[D] Other").AddChild("Service Name," + ReadValueText(context, keyPath + "\\LocalService"));
    AddClassesRootPermissions(context, top.AddChild("[D] Configurations Permission"), false);
}

}  // namespace kavlo
