#include "probes/security/security_texts.h"

#include "platform/security/security_descriptor.h"

namespace kavlo {

std::string SystemText(platform::Machine& machine, WinError error) {
    std::string text = machine.ErrorText(error);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string AccountText(platform::Machine& machine, std::string_view sid) {
    auto account = machine.AccountOfSid(sid);
    if (!account) return platform::SidToText(sid);
    return account->domain + "\\" + account->name;
}

void AppendFileRightsLine(std::uint32_t rights, std::string& out) {
    static constexpr std::pair<char, std::uint32_t> kLetters[] = {
        {'R', 0x1}, {'W', 0x2}, {'X', 0x20}, {'D', 0x10000}, {'P', 0x40000}, {'O', 0x80000},
    };
    for (const auto& [letter, bit] : kLetters) {
        out += (rights & bit) ? '+' : '-';
        out += letter;
    }
    out += '\n';
}

std::string_view PermissionSummary(std::uint32_t rights) {
    if ((rights & 0xF003F) == 0xF003F) return "Full Control";
    if ((rights & 0xF003F) == 0x20019) return "Read";
    return "Special";
}

const RegistryRight (&RegistryRights())[10] {
    static const RegistryRight kRights[10] = {
        {"Query Value", 0x1},     {"Set Value", 0x2},        {"Create Subkey", 0x4}, {"Enumerate Subkeys", 0x8},
        {"Notify", 0x10},         {"Create Link", 0x20},     {"Delete", 0x10000},    {"Write DAC", 0x40000},
        {"Write Owner", 0x80000}, {"Read Control", 0x20000},
    };
    return kRights;
}

}  // namespace kavlo
