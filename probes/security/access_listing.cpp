#include "probes/security/access_listing.h"

#include <algorithm>
#include <vector>

#include "platform/security/security_descriptor.h"
#include "probes/security/logon_record.h"
#include "probes/security/security_texts.h"

namespace kavlo {
namespace {

using platform::AccessEntry;
using platform::SecurityDescriptorModel;

std::string_view EntryWords(std::uint8_t type) {
    switch (type) {
        case platform::ace_type::kAccessAllowed: return " allowed rights: ";
        case platform::ace_type::kAccessDenied: return " denied rights: ";
        case platform::ace_type::kSystemAudit: return " audit generated when access rights: ";
        default: return {};
    }
}

// The descriptor's model, or the error that kept it from being read.
Result<SecurityDescriptorModel> Parsed(const Result<std::string>& descriptor) {
    if (!descriptor) return Result<SecurityDescriptorModel>::Failure(descriptor.error());
    return platform::ParseSecurityDescriptor(*descriptor);
}

void AddRightsItems(ResultNode& parent, const Result<std::uint32_t>& rights, platform::Machine& machine) {
    if (!rights) {
        parent.AddChild("Error," + SystemText(machine, rights.error()));
        return;
    }
    parent.AddChild("Permission," + std::string(PermissionSummary(*rights)));
    for (const RegistryRight& right : RegistryRights())
        parent.AddChild(std::string(right.name) + ((*rights & right.mask) == right.mask ? ",Allow" : ",Deny"));
}

}  // namespace

void ListAccess(platform::Machine& machine, const Result<std::string>& descriptor, ListingMode mode, std::string* text,
                ResultNode* item) {
    auto model = Parsed(descriptor);
    if (!model) {
        const std::string line = "Error getting file/directory rights: " + SystemText(machine, model.error());
        if (mode == ListingMode::Text && text) *text += line + "\n";
        if (mode == ListingMode::Items && item) item->AddChild(line);
        return;
    }
    std::string collected;
    std::string line;
    for (const AccessEntry& entry : model->dacl) {
        const std::string_view words = EntryWords(entry.type);
        line.clear();
        if (!words.empty()) {
            line = AccountText(machine, entry.sid);
            line += words;
            AppendFileRightsLine(entry.mask, line);
        }
        if (mode == ListingMode::Text) {
            if (!line.empty()) collected += line + "\n";
        } else if (item) {
            item->AddChild(line);
        }
    }
    if (mode == ListingMode::Text && text) *text += collected;
}

void AddRightsBlock(platform::Machine& machine, ResultNode& item, std::string_view path) {
    ResultNode& rights = item.AddChild("Rights");
    ListAccess(machine, machine.FileSecurity(path), ListingMode::Items, nullptr, &rights);
}

void ListKeyPermissions(AppContext& context, const Result<std::string>& descriptor, ResultNode& parent) {
    platform::Machine& machine = context.machine;
    auto model = Parsed(descriptor);
    if (!model) return;
    std::vector<platform::SidBytes> seen;
    for (const AccessEntry& entry : model->dacl) {
        if (entry.type != platform::ace_type::kAccessAllowed && entry.type != platform::ace_type::kAccessDenied)
            continue;
        if (std::find(seen.begin(), seen.end(), entry.sid) != seen.end()) continue;
        seen.push_back(entry.sid);
        ResultNode& account = parent.AddChild(std::string(kAccountMarker) + AccountText(machine, entry.sid));
        AddRightsItems(account, machine.TrusteeRights(*descriptor, {platform::Trustee::Form::Sid, entry.sid}), machine);
    }
    EnsureLogonRecord(context);
    const LogonRecord& logon = context.logon;
    const std::string user = logon.logonDomain + "\\" + logon.logonUser;
    ResultNode& effective = parent.AddChild(std::string(kAccountMarker) + "Effective -" + user);
    AddRightsItems(effective, machine.TrusteeRights(*descriptor, {platform::Trustee::Form::Name, user}), machine);
}

void AddKeyPermissions(AppContext& context, ResultNode& keyItem, platform::RegRoot root, std::string_view keyPath) {
    ResultNode& permissions = keyItem.AddChild(std::string(kFolderMarker) + "Permissions");
    ListKeyPermissions(context, context.machine.KeySecurity(root, keyPath), permissions);
}

}  // namespace kavlo
