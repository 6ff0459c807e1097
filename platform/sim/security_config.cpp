#include "platform/sim/security_config.h"

#include "platform/security/sddl.h"
#include "platform/security/well_known.h"
#include "platform/sim/name_fold.h"
#include "platform/sim/text_decode.h"

namespace kavlo::platform::sim {
namespace {

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        if (!item.empty()) out.emplace_back(item);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return out;
}

std::optional<std::uint32_t> ParseUse(std::string_view word) {
    if (SameName(word, "user")) return account_use::kUser;
    if (SameName(word, "group")) return account_use::kGroup;
    if (SameName(word, "alias")) return account_use::kAlias;
    if (SameName(word, "well_known")) return account_use::kWellKnownGroup;
    return std::nullopt;
}

std::optional<SectionError> ReadSid(const IniEntry& e, SidBytes& out) {
    auto sid = SidFromText(e.value);
    if (!sid)
        return SectionError{e.line, "\"" + e.key + "\" is a SID such as S-1-5-21-1-2-3-1004, not \"" + e.value + "\""};
    out = std::move(*sid);
    return std::nullopt;
}

std::optional<SectionError> ReadLogon(const IniSection& section, SecurityConfig& config) {
    if (config.logon) return SectionError{section.line, "[logon] appears twice"};
    SimLogon logon;
    logon.user.use = account_use::kUser;
    for (const IniEntry& e : section.entries) {
        if (SameName(e.key, "user")) logon.user.name = e.value;
        else if (SameName(e.key, "domain")) logon.user.domain = e.value;
        else if (SameName(e.key, "logon_server")) logon.logonServer = e.value;
        else if (SameName(e.key, "other_domains")) logon.otherDomains = e.value;
        else if (SameName(e.key, "global_groups")) logon.globalGroups = SplitList(e.value);
        else if (SameName(e.key, "local_groups")) logon.localGroups = SplitList(e.value);
        else if (SameName(e.key, "privileges")) logon.privileges = SplitList(e.value);
        else if (SameName(e.key, "sid")) {
            if (auto problem = ReadSid(e, logon.user.sid)) return problem;
        } else {
            return UnknownKeyError(
                section.name, e,
                "user, domain, sid, logon_server, other_domains, global_groups, local_groups, privileges");
        }
    }
    if (logon.user.name.empty()) return SectionError{section.line, "[logon] needs the key \"user\""};
    if (logon.user.sid.empty()) return SectionError{section.line, "[logon] needs the key \"sid\""};
    logon.user.memberOf = logon.globalGroups;
    logon.user.memberOf.insert(logon.user.memberOf.end(), logon.localGroups.begin(), logon.localGroups.end());
    config.logon = std::move(logon);
    return std::nullopt;
}

std::optional<SectionError> ReadAccount(const IniSection& section, std::string_view argument, SecurityConfig& config) {
    SimAccount account;
    const std::size_t slash = argument.find('\\');
    account.domain = slash == std::string_view::npos ? "" : std::string(argument.substr(0, slash));
    account.name = std::string(argument.substr(slash == std::string_view::npos ? 0 : slash + 1));
    if (account.name.empty())
        return SectionError{section.line, "an account section is named like [account OFFICE7\\jmiller]"};
    std::string use = "user";
    for (const IniEntry& e : section.entries) {
        if (SameName(e.key, "type")) use = e.value;
        else if (SameName(e.key, "member_of")) account.memberOf = SplitList(e.value);
        else if (SameName(e.key, "sid")) {
            if (auto problem = ReadSid(e, account.sid)) return problem;
        } else {
            return UnknownKeyError(section.name, e, "sid, type, member_of");
        }
    }
    const auto parsed = ParseUse(use);
    if (!parsed)
        return SectionError{section.line, "account \"type\" is user, group, alias or well_known, not \"" + use + "\""};
    account.use = *parsed;
    if (account.sid.empty()) return SectionError{section.line, "[" + section.name + "] needs the key \"sid\""};
    config.accounts.push_back(std::move(account));
    return std::nullopt;
}

std::optional<SectionError> ReadDescriptor(const IniSection& section, std::string_view argument,
                                           SecurityConfig& config) {
    const auto key = SecurityObjectKey(argument);
    if (!key)
        return SectionError{section.line,
                            "a security section names a file path (C:\\x), a registry key (HKLM\\x) or "
                            "\"service NAME\", not \"" +
                                std::string(argument) + "\""};
    if (config.descriptors.count(*key))
        return SectionError{section.line, "\"" + std::string(argument) + "\" is described twice"};
    std::optional<SecurityDescriptorModel> descriptor;
    for (const IniEntry& e : section.entries) {
        if (!SameName(e.key, "sddl")) return UnknownKeyError(section.name, e, "sddl");
        SddlParse parsed = ParseSddl(e.value);
        if (!parsed.error.empty()) return SectionError{e.line, "sddl: " + parsed.error};
        descriptor = std::move(parsed.descriptor);
    }
    if (!descriptor) return SectionError{section.line, "[" + section.name + "] needs the key \"sddl\""};
    config.descriptors.emplace(*key, std::move(*descriptor));
    return std::nullopt;
}

}  // namespace

std::optional<std::string> SecurityObjectKey(std::string_view object) {
    object = Trim(object);
    if (object.size() >= 2 && object[1] == ':' &&
        ((object[0] >= 'A' && object[0] <= 'Z') || (object[0] >= 'a' && object[0] <= 'z'))) {
        std::string key = FoldName(object);
        while (key.size() > 3 && key.back() == '\\') key.pop_back();
        if (key.size() == 2) key += '\\';
        if (key.size() > 2 && key[2] != '\\') return std::nullopt;
        return key;
    }
    if (object.size() > 8 && SameName(object.substr(0, 8), "service "))
        return "SERVICE " + FoldName(Trim(object.substr(8)));
    static const std::pair<std::string_view, std::string_view> kRoots[] = {
        {"HKEY_LOCAL_MACHINE", "HKLM"},
        {"HKEY_CURRENT_USER", "HKCU"},
        {"HKEY_CLASSES_ROOT", "HKCR"},
        {"HKEY_USERS", "HKU"},
        {"HKLM", "HKLM"},
        {"HKCU", "HKCU"},
        {"HKCR", "HKCR"},
        {"HKU", "HKU"},
    };
    const std::size_t slash = object.find('\\');
    const std::string_view root = object.substr(0, slash);
    for (const auto& [name, shortName] : kRoots) {
        if (!SameName(root, name)) continue;
        std::string key(shortName);
        if (slash != std::string_view::npos) {
            std::string rest = FoldName(object.substr(slash + 1));
            while (!rest.empty() && rest.back() == '\\') rest.pop_back();
            if (!rest.empty()) key += "\\" + rest;
        }
        return key;
    }
    return std::nullopt;
}

bool IsSecuritySection(std::string_view kind) {
    return SameName(kind, "logon") || SameName(kind, "account") || SameName(kind, "security");
}

std::optional<SectionError> ReadSecuritySection(const IniSection& section, std::string_view kind,
                                                std::string_view argument, SecurityConfig& config) {
    if (SameName(kind, "logon")) return ReadLogon(section, config);
    if (SameName(kind, "account")) return ReadAccount(section, argument, config);
    return ReadDescriptor(section, argument, config);
}

}  // namespace kavlo::platform::sim
