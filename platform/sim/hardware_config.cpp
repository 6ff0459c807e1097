#include "platform/sim/hardware_config.h"

#include <algorithm>
#include <functional>
#include <map>

#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

using Error = std::optional<SectionError>;
using KeyReader = std::function<bool(const std::string&)>;

std::optional<std::uint32_t> ParseNumber(std::string_view text, int base, std::uint64_t max) {
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : 99;
        if (digit >= base) return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    if (value > max) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : std::string(text) + ",") {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

// Reads each key with its reader; unknown keys and unreadable values fail.
Error ReadKeys(const IniSection& section, const std::map<std::string, std::pair<KeyReader, std::string>>& keys) {
    for (const IniEntry& entry : section.entries) {
        const auto found =
            std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return SameName(k.first, entry.key); });
        if (found == keys.end()) {
            std::string known;
            for (const auto& k : keys) known += (known.empty() ? "" : ", ") + k.first;
            return UnknownKeyError(section.name, entry, known);
        }
        if (!found->second.first(entry.value))
            return SectionError{entry.line,
                                "\"" + entry.key + "\" is " + found->second.second + ", not \"" + entry.value + "\""};
    }
    return std::nullopt;
}

KeyReader Number(std::uint32_t& out, int base, std::uint64_t max) {
    return [&out, base, max](const std::string& v) {
        const auto n = ParseNumber(v, base, max);
        if (n) out = *n;
        return n.has_value();
    };
}
KeyReader Text(std::string& out) {
    return [&out](const std::string& v) {
        out = v;
        return true;
    };
}
KeyReader YesNo(bool& out) {
    return [&out](const std::string& v) {
        if (!SameName(v, "yes") && !SameName(v, "no")) return false;
        out = SameName(v, "yes");
        return true;
    };
}
KeyReader Bit(std::uint32_t& flags, std::uint32_t bit) {
    return [&flags, bit](const std::string& v) {
        if (!SameName(v, "on") && !SameName(v, "off")) return false;
        flags = SameName(v, "on") ? (flags | bit) : (flags & ~bit);
        return true;
    };
}

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// [pci 0:1.0]: vendor, device (hexadecimal), class (base class, subclass and
// programming interface, six hexadecimal digits), header_type.
Error ReadPci(const IniSection& section, std::string_view location, HardwareConfig& hardware) {
    const std::size_t colon = location.find(':'), dot = location.find('.');
    const auto bus = colon != std::string_view::npos ? ParseNumber(location.substr(0, colon), 10, 255) : std::nullopt;
    const auto device = dot != std::string_view::npos && dot > colon
                            ? ParseNumber(location.substr(colon + 1, dot - colon - 1), 10, 31)
                            : std::nullopt;
    const auto function = bus && device ? ParseNumber(location.substr(dot + 1), 10, 7) : std::nullopt;
    if (!function)
        return SectionError{section.line,
                            "a PCI section is named by bus, device and function like "
                            "[pci 0:1.0], not [" +
                                section.name + "]"};
    std::uint32_t vendor = 0xFFFF, id = 0xFFFF, classCode = 0, headerType = 0;
    if (auto e = ReadKeys(section, {{"vendor", {Number(vendor, 16, 0xFFFF), "a hexadecimal number up to ffff"}},
                                    {"device", {Number(id, 16, 0xFFFF), "a hexadecimal number up to ffff"}},
                                    {"class", {Number(classCode, 16, 0xFFFFFF), "six hexadecimal digits like 030000"}},
                                    {"header_type", {Number(headerType, 16, 0xFF), "a hexadecimal byte like 80"}}}))
        return e;
    if (hardware.pciRecords.size() / kPciRecordBytes >= 100)
        return SectionError{section.line, "a machine reports at most 100 PCI functions"};
    std::string record(kPciRecordBytes, '\0');
    PutLittleEndian(record, 0, *bus, 4);
    PutLittleEndian(record, 4, *device, 4);
    PutLittleEndian(record, 8, *function, 4);
    PutLittleEndian(record, 12, vendor, 2);
    PutLittleEndian(record, 14, id, 2);
    PutLittleEndian(record, 12 + 9, classCode, 3);
    PutLittleEndian(record, 12 + 14, headerType, 1);
    hardware.pciRecords += record;
    return std::nullopt;
}

Error ReadLine(const IniSection& section, std::string_view number, HardwareConfig& hardware) {
    SimTelephonyLine line;
    const auto n = ParseNumber(number, 10, 255);
    if (!n) return SectionError{section.line, "a line section is numbered like [tapi line 0]"};
    line.number = *n;
    std::string owner;
    bool hasOwner = false;
    const std::string hex = "a hexadecimal number";
    if (auto e = ReadKeys(
            section, {{"name", {Text(line.caps.lineName), ""}},
                      {"modem_key", {Text(line.caps.modemKey), ""}},
                      {"permanent_line_id", {Number(line.caps.permanentLineId, 16, 0xFFFFFFFF), hex}},
                      {"version", {Number(line.highestVersion, 16, 0xFFFFFFFF), hex + " like 20000"}},
                      {"caps", {YesNo(line.capsReadable), "yes or no"}},
                      {"active_calls", {Number(line.status.activeCalls, 10, 0xFFFFFFFF), "a number"}},
                      {"opens", {Number(line.status.opens, 10, 0xFFFFFFFF), "a number"}},
                      {"call_owner", {[&](const std::string& v) { return hasOwner = true, owner = v, true; }, ""}}}))
        return e;
    if (hasOwner) line.callOwner = owner;
    for (const SimTelephonyLine& other : hardware.lines)
        if (other.number == line.number)
            return SectionError{section.line, "line " + std::to_string(line.number) + " is described twice"};
    hardware.lines.push_back(std::move(line));
    std::sort(hardware.lines.begin(), hardware.lines.end(),
              [](const SimTelephonyLine& a, const SimTelephonyLine& b) { return a.number < b.number; });
    return std::nullopt;
}

Error ReadProvider(const IniSection& section, std::string_view id, HardwareConfig& hardware) {
    TelephonyProvider provider;
    const auto n = ParseNumber(id, 10, 0xFFFF);
    if (!n) return SectionError{section.line, "a provider section is numbered like [tapi provider 1]"};
    provider.permanentId = *n;
    if (auto e = ReadKeys(section, {{"file", {Text(provider.fileName), ""}}})) return e;
    hardware.providers.push_back(std::move(provider));
    return std::nullopt;
}

Error ReadSerial(const IniSection& section, std::string_view port, HardwareConfig& hardware) {
    SimSerialPeer peer;
    peer.port = std::string(port);
    if (peer.port.empty()) return SectionError{section.line, "a serial section names its port like [serial COM3]"};
    KeyReader answers = [&peer](const std::string& v) {
        peer.answers = Words(v);
        return true;
    };
    KeyReader hold = [&peer](const std::string& v) {
        static const std::pair<std::string_view, std::uint32_t> kNames[] = {{"cts", comm::kHoldCts},
                                                                            {"dsr", comm::kHoldDsr},
                                                                            {"rlsd", comm::kHoldRlsd},
                                                                            {"xoff_received", comm::kHoldXoffReceived},
                                                                            {"xoff_sent", comm::kHoldXoffSent}};
        peer.holdFlags = 0;
        for (const std::string& word : Words(v)) {
            const auto name = std::find_if(std::begin(kNames), std::end(kNames),
                                           [&](const auto& n) { return SameName(n.first, word); });
            if (name == std::end(kNames)) return false;
            peer.holdFlags |= name->second;
        }
        return true;
    };
    if (auto e = ReadKeys(section, {{"answers", {answers, ""}},
                                    {"reply", {Text(peer.reply), ""}},
                                    {"in_use", {YesNo(peer.inUse), "yes or no"}},
                                    {"hold", {hold, "a list of cts, dsr, rlsd, xoff_received, xoff_sent"}},
                                    {"dcd", {Bit(peer.lines, comm::kRlsdOn), "on or off"}},
                                    {"cts", {Bit(peer.lines, comm::kCtsOn), "on or off"}},
                                    {"dsr", {Bit(peer.lines, comm::kDsrOn), "on or off"}}}))
        return e;
    hardware.serialPorts.push_back(std::move(peer));
    return std::nullopt;
}

}  // namespace

bool IsHardwareSection(std::string_view kind) {
    return SameName(kind, "pci") || SameName(kind, "tapi") || SameName(kind, "serial");
}

std::optional<SectionError> ReadHardwareSection(const IniSection& section, std::string_view kind,
                                                std::string_view argument, HardwareConfig& hardware) {
    if (SameName(kind, "pci")) return ReadPci(section, argument, hardware);
    if (SameName(kind, "serial")) return ReadSerial(section, argument, hardware);
    const std::size_t space = argument.find(' ');
    const std::string_view what = argument.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : argument.substr(space + 1);
    if (SameName(what, "line")) return ReadLine(section, rest, hardware);
    if (SameName(what, "provider")) return ReadProvider(section, rest, hardware);
    return SectionError{section.line,
                        "a telephony section is [tapi line N] or [tapi provider ID], not [" + section.name + "]"};
}

}  // namespace kavlo::platform::sim
