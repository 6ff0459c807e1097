#include "platform/security/sddl.h"

#include <cctype>
#include <charconv>
#include <utility>
#include <vector>

#include "platform/security/well_known.h"

namespace kavlo::platform {
namespace {

// An ACL's size field has 16 bits; this many entries with the longest SIDs fit.
constexpr std::size_t kMaxEntries = 800;

constexpr std::pair<std::string_view, std::uint32_t> kRights[] = {
    {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000}, {"FA", 0x1F01FF},
    {"FR", 0x120089},   {"FW", 0x120116},   {"FX", 0x1200A0},   {"KA", 0xF003F},    {"KR", 0x20019},
    {"KW", 0x20006},    {"KX", 0x20019},    {"RC", 0x20000},    {"SD", 0x10000},    {"WD", 0x40000},
    {"WO", 0x80000},    {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},        {"SW", 0x8},
    {"RP", 0x10},       {"WP", 0x20},       {"DT", 0x40},       {"LO", 0x80},       {"CR", 0x100},
};

constexpr std::pair<std::string_view, std::uint8_t> kFlags[] = {
    {"OI", ace_flag::kObjectInherit}, {"CI", ace_flag::kContainerInherit}, {"NP", ace_flag::kNoPropagateInherit},
    {"IO", ace_flag::kInheritOnly},   {"ID", ace_flag::kInherited},
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::optional<SidBytes> ReadSid(std::string_view text) {
    text = Trim(text);
    if (text.size() == 2) {
        const WellKnownAccount* account = WellKnownByAlias(text);
        return account ? SidFromText(account->sid) : std::nullopt;
    }
    return SidFromText(text);
}

std::optional<std::uint32_t> ReadRights(std::string_view text) {
    text = Trim(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0;
        const auto [end, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
        if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
        return value;
    }
    if (text.empty() || text.size() % 2 != 0) return std::nullopt;
    std::uint32_t mask = 0;
    for (std::size_t at = 0; at < text.size(); at += 2) {
        const std::string pair = Upper(text.substr(at, 2));
        bool known = false;
        for (const auto& [letters, bits] : kRights)
            if (letters == pair) mask |= bits, known = true;
        if (!known) return std::nullopt;
    }
    return mask;
}

std::optional<std::uint8_t> ReadFlags(std::string_view text) {
    text = Trim(text);
    if (text.size() % 2 != 0) return std::nullopt;
    std::uint8_t flags = 0;
    for (std::size_t at = 0; at < text.size(); at += 2) {
        const std::string pair = Upper(text.substr(at, 2));
        bool known = false;
        for (const auto& [letters, bit] : kFlags)
            if (letters == pair) flags = static_cast<std::uint8_t>(flags | bit), known = true;
        if (!known) return std::nullopt;
    }
    return flags;
}

// "(A;OICI;FA;;;BA)" without its parentheses.
std::optional<AccessEntry> ReadEntry(std::string_view body, std::string& error) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (fields.size() < 6) {
        const std::size_t semi = body.find(';', start);
        fields.push_back(body.substr(start, semi == std::string_view::npos ? body.size() - start : semi - start));
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    const std::string shown = "(" + std::string(body) + ")";
    if (fields.size() != 6 || body.find(';', start) != std::string_view::npos) {
        error = "an entry has six fields separated by \";\", not " + shown;
        return std::nullopt;
    }
    AccessEntry entry;
    const std::string type = Upper(Trim(fields[0]));
    if (type == "A") entry.type = ace_type::kAccessAllowed;
    else if (type == "D") entry.type = ace_type::kAccessDenied;
    else {
        error = "the entry type is A or D in " + shown;
        return std::nullopt;
    }
    const auto flags = ReadFlags(fields[1]);
    if (!flags) {
        error = "the entry flags are pairs from OI, CI, IO, NP, ID in " + shown;
        return std::nullopt;
    }
    const auto rights = ReadRights(fields[2]);
    if (!rights) {
        error = "the rights are 0x hex or letter pairs such as FA, FR, KR, GA in " + shown;
        return std::nullopt;
    }
    if (!Trim(fields[3]).empty() || !Trim(fields[4]).empty()) {
        error = "object types are not supported in " + shown;
        return std::nullopt;
    }
    const auto sid = ReadSid(fields[5]);
    if (!sid) {
        error = "the account is a two-letter alias such as BA or a SID such as S-1-5-32-545 in " + shown;
        return std::nullopt;
    }
    entry.flags = *flags;
    entry.mask = *rights;
    entry.sid = std::move(*sid);
    return entry;
}

bool ReadDacl(std::string_view text, SecurityDescriptorModel& out, std::string& error) {
    text = Trim(text);
    out.hasDacl = true;
    if (Upper(text) == "NO_ACCESS_CONTROL") {
        out.hasDacl = false;
        return true;
    }
    // Flags before the first entry.
    const std::size_t firstEntry = text.find('(');
    const std::string flags = Upper(Trim(text.substr(0, firstEntry)));
    for (std::size_t at = 0; at < flags.size();) {
        if (flags.compare(at, 1, "P") == 0) out.daclProtected = true, at += 1;
        else if (flags.compare(at, 2, "AI") == 0 || flags.compare(at, 2, "AR") == 0) at += 2;
        else {
            error = "the DACL flags are P, AI and AR, not \"" + flags + "\"";
            return false;
        }
    }
    if (firstEntry == std::string_view::npos) return true;
    text.remove_prefix(firstEntry);
    while (!(text = Trim(text)).empty()) {
        if (text[0] != '(') {
            error = "an entry starts with \"(\" at \"" + std::string(text.substr(0, 20)) + "\"";
            return false;
        }
        const std::size_t close = text.find(')');
        if (close == std::string_view::npos) {
            error = "an entry has no closing \")\"";
            return false;
        }
        if (out.dacl.size() == kMaxEntries) {
            error = "a DACL holds at most " + std::to_string(kMaxEntries) + " entries";
            return false;
        }
        auto entry = ReadEntry(text.substr(1, close - 1), error);
        if (!entry) return false;
        out.dacl.push_back(std::move(*entry));
        text.remove_prefix(close + 1);
    }
    return true;
}

}  // namespace

SddlParse ParseSddl(std::string_view text) {
    SddlParse out;
    text = Trim(text);
    bool seen[3] = {false, false, false};
    while (!text.empty()) {
        if (text.size() < 2 || text[1] != ':') {
            out.error = "expected O:, G: or D: at \"" + std::string(text.substr(0, 20)) + "\"";
            return out;
        }
        const char part = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        text.remove_prefix(2);
        // The part runs to the letter before the next ":" outside an entry.
        std::size_t end = text.size();
        int depth = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '(') ++depth;
            else if (text[i] == ')') --depth;
            else if (text[i] == ':' && depth == 0 && i > 0) {
                end = i - 1;
                break;
            }
        }
        const std::string_view value = text.substr(0, end);
        text = Trim(text.substr(end));
        const int index = part == 'O' ? 0 : part == 'G' ? 1 : part == 'D' ? 2 : -1;
        if (index < 0) {
            out.error = std::string("only the parts O:, G: and D: are read, not ") + part + ":";
            return out;
        }
        if (seen[index]) {
            out.error = std::string("the part ") + part + ": appears twice";
            return out;
        }
        seen[index] = true;
        if (index == 2) {
            if (!ReadDacl(value, out.descriptor, out.error)) return out;
            continue;
        }
        auto sid = ReadSid(value);
        if (!sid) {
            out.error =
                "\"" + std::string(Trim(value)) + "\" is neither an alias such as BA nor a SID such as S-1-5-18";
            return out;
        }
        (index == 0 ? out.descriptor.owner : out.descriptor.group) = std::move(*sid);
    }
    return out;
}

}  // namespace kavlo::platform
