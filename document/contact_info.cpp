#include "document/contact_info.h"

#include <array>
#include <utility>

namespace kavlo::report {
namespace {

using platform::RegRoot;

constexpr std::size_t kValueBuffer = 400;

std::array<std::pair<const char*, std::string ContactInfo::*>, 5> Fields() {
    return {{{"Case", &ContactInfo::caseNumber},
             {"Name", &ContactInfo::name},
             {"Phone", &ContactInfo::phone},
             {"EMail", &ContactInfo::email},
             {"Issue", &ContactInfo::issue}}};
}

void ReadFrom(platform::RegistryKey& key, ContactInfo& contact) {
    for (const auto& [name, field] : Fields()) {
        const auto value = key.QueryValue(name, kValueBuffer);
        if (!value) continue;
        const std::string& data = value->data;
        contact.*field = data.substr(0, data.find('\0'));
    }
}

Status WriteTo(platform::Machine& machine, RegRoot root, const ContactInfo& contact) {
    auto key = machine.CreateKey(root, kContactKeyPath);
    if (!key) return key.error();
    for (const auto& [name, field] : Fields()) {
        const Status status = (*key)->SetString(name, contact.*field);
        if (!status) return status;
    }
    return {};
}

}  // namespace

void AppendContactBlock(std::string& text, const ContactInfo& contact) {
    text += "Contact information:\n";
    const std::pair<const char*, const std::string*> lines[] = {
        {"Case #: ", &contact.caseNumber}, {"Name: ", &contact.name},   {"Phone: ", &contact.phone},
        {"EMail: ", &contact.email},       {"Issue: ", &contact.issue},
    };
    for (const auto& [label, value] : lines) {
        if (value->empty()) continue;
        text += label;
        text += *value;
        text += "\n";
    }
}

void LoadContactInfo(platform::Machine& machine, ContactInfo& contact) {
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
        auto key = machine.OpenKey(root, kContactKeyPath, platform::kKeyRead);
        if (!key) continue;
        ReadFrom(**key, contact);
        return;
    }
}

Status StoreContactInfo(platform::Machine& machine, const ContactInfo& contact) {
    const bool userCopyExists =
        static_cast<bool>(machine.OpenKey(RegRoot::CurrentUser, kContactKeyPath, platform::kKeyRead));
    const Status machineWide = WriteTo(machine, RegRoot::LocalMachine, contact);
    if (machineWide && !userCopyExists) return machineWide;
    return WriteTo(machine, RegRoot::CurrentUser, contact);
}

}  // namespace kavlo::report
