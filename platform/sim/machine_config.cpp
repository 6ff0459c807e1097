#include "platform/sim/machine_config.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "platform/sim/civil_time.h"
#include "platform/sim/csidl.h"
#include "platform/sim/ini_file.h"
#include "platform/sim/machine_path.h"
#include "platform/sim/name_fold.h"
#include "platform/sim/short_names.h"
#include "platform/sim/text_decode.h"

namespace kavlo::platform::sim {
namespace {

std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return std::nullopt;
        if (value > (UINT64_MAX - digit) / static_cast<unsigned>(base)) return std::nullopt;
        value = value * static_cast<unsigned>(base) + digit;
    }
    return value;
}

// "1A2B-3C4D" as the dir command shows it, or a plain number.
std::optional<std::uint32_t> ParseSerial(std::string_view text) {
    if (text.size() == 9 && text[4] == '-') {
        const auto high = ParseUnsigned("0x" + std::string(text.substr(0, 4)));
        const auto low = ParseUnsigned("0x" + std::string(text.substr(5)));
        if (high && low) return static_cast<std::uint32_t>((*high << 16) | *low);
        return std::nullopt;
    }
    const auto value = ParseUnsigned(text);
    if (!value || *value > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

bool IsAbsoluteMachinePath(std::string_view path) {
    return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && path[2] == '\\';
}

std::optional<std::uint32_t> ParseDriveType(std::string_view word) {
    static const std::pair<std::string_view, std::uint32_t> kTypes[] = {
        {"fixed", drive::kFixed},   {"removable", drive::kRemovable}, {"cdrom", drive::kCdRom},
        {"remote", drive::kRemote}, {"ramdisk", drive::kRamDisk},
    };
    for (const auto& [name, type] : kTypes)
        if (SameName(name, word)) return type;
    return std::nullopt;
}

std::optional<bool> ParseYesNo(std::string_view word) {
    if (SameName(word, "yes") || SameName(word, "true") || word == "1") return true;
    if (SameName(word, "no") || SameName(word, "false") || word == "0") return false;
    return std::nullopt;
}

using KeyHandler = std::function<std::optional<SectionError>(const IniEntry&)>;
using KeyHandlers = std::vector<std::pair<std::string_view, KeyHandler>>;

// Calls the handler of each entry's key; unknown keys are errors.
std::optional<SectionError> ReadKeys(const IniSection& section, const KeyHandlers& keys) {
    for (const IniEntry& entry : section.entries) {
        const auto key =
            std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return SameName(k.first, entry.key); });
        if (key == keys.end()) {
            std::string names;
            for (const auto& k : keys) names += (names.empty() ? "" : ", ") + std::string(k.first);
            return UnknownKeyError(section.name, entry, names);
        }
        if (auto error = key->second(entry)) return error;
    }
    return std::nullopt;
}

KeyHandler Text(std::string& target) {
    return [&target](const IniEntry& e) -> std::optional<SectionError> {
        target = e.value;
        return std::nullopt;
    };
}

KeyHandler Path(std::string& target) {
    return [&target](const IniEntry& e) -> std::optional<SectionError> {
        if (!IsAbsoluteMachinePath(e.value))
            return SectionError{e.line,
                                "\"" + e.key + "\" must be a full path such as C:\\WINNT, not \"" + e.value + "\""};
        target = e.value;
        return std::nullopt;
    };
}

template <class T>
KeyHandler Number(T& target, std::uint64_t max = static_cast<std::uint64_t>(static_cast<T>(-1))) {
    return [&target, max](const IniEntry& e) -> std::optional<SectionError> {
        const auto value = ParseUnsigned(e.value);
        if (!value || *value > max)
            return SectionError{e.line, "\"" + e.key + "\" needs a number from 0 to " + std::to_string(max) +
                                            ", not \"" + e.value + "\""};
        target = static_cast<T>(*value);
        return std::nullopt;
    };
}

int LineOf(const IniSection& section, std::string_view key) {
    for (const IniEntry& e : section.entries)
        if (SameName(e.key, key)) return e.line;
    return section.line;
}

std::optional<SectionError> ReadSystem(const IniSection& section, MachineConfig& config) {
    std::string platform, now, hostName;
    bool hasHost = false;
    const KeyHandlers keys = {
        {"platform", Text(platform)},
        {"major", Number(config.version.major)},
        {"minor", Number(config.version.minor)},
        {"build", Number(config.version.build)},
        {"service_pack", Text(config.version.servicePack)},
        {"product_type", Text(config.productType)},
        {"computer_name", Text(config.computerName)},
        {"host_name",
         [&](const IniEntry& e) -> std::optional<SectionError> {
             hostName = e.value;
             hasHost = true;
             return std::nullopt;
         }},
        {"windows_dir", Path(config.windowsDir)},
        {"system_dir", Path(config.systemDir)},
        {"current_dir", Path(config.currentDir)},
        {"processors", Number(config.processors, 64)},
        {"code_page", Number(config.codePage, 65535)},
        {"now", Text(now)},
    };
    if (auto error = ReadKeys(section, keys)) return error;
    for (std::string_view required :
         {"platform", "major", "minor", "build", "computer_name", "windows_dir", "system_dir", "now"}) {
        const bool present = std::any_of(section.entries.begin(), section.entries.end(),
                                         [&](const IniEntry& e) { return SameName(e.key, required); });
        if (!present) return SectionError{section.line, "[system] needs the key \"" + std::string(required) + "\""};
    }
    const int platformLine = LineOf(section, "platform");
    if (SameName(platform, "NT")) config.version.platform = os_platform::kNt;
    else if (SameName(platform, "9x")) config.version.platform = os_platform::kWindows9x;
    else return SectionError{platformLine, "\"platform\" is NT or 9x, not \"" + platform + "\""};
    const auto clock = ParseLocalTime(now);
    if (!clock)
        return SectionError{LineOf(section, "now"),
                            "\"now\" is a local time \"YYYY-MM-DD HH:MM:SS\", not \"" + now + "\""};
    config.now = *clock;
    if (config.processors == 0) return SectionError{LineOf(section, "processors"), "\"processors\" must be at least 1"};
    if (config.codePage == 0) return SectionError{LineOf(section, "code_page"), "\"code_page\" must not be 0"};
    if (config.computerName.empty())
        return SectionError{LineOf(section, "computer_name"), "\"computer_name\" is empty"};
    if (hasHost) config.hostName = hostName;
    if (config.currentDir.empty()) config.currentDir = config.windowsDir.substr(0, 3);
    return std::nullopt;
}

std::optional<SectionError> ReadMemory(const IniSection& section, MemoryStatus& m) {
    if (auto error = ReadKeys(section, {{"memory_load", Number(m.memoryLoad, 100)},
                                        {"total_phys", Number(m.totalPhys)},
                                        {"avail_phys", Number(m.availPhys)},
                                        {"total_page_file", Number(m.totalPageFile)},
                                        {"avail_page_file", Number(m.availPageFile)},
                                        {"total_virtual", Number(m.totalVirtual)},
                                        {"avail_virtual", Number(m.availVirtual)}}))
        return error;
    if (m.availPhys > m.totalPhys) return SectionError{section.line, "avail_phys is larger than total_phys"};
    if (m.availPageFile > m.totalPageFile)
        return SectionError{section.line, "avail_page_file is larger than total_page_file"};
    if (m.availVirtual > m.totalVirtual)
        return SectionError{section.line, "avail_virtual is larger than total_virtual"};
    return std::nullopt;
}

std::optional<SectionError> ReadDrive(const IniSection& section, std::string_view letterText, MachineConfig& config) {
    if (letterText.size() != 2 || letterText[1] != ':' ||
        !((letterText[0] >= 'A' && letterText[0] <= 'Z') || (letterText[0] >= 'a' && letterText[0] <= 'z')))
        return SectionError{section.line, "a drive section is named like [drive C:], not [" + section.name + "]"};
    DriveConfig d;
    d.letter = static_cast<char>(letterText[0] & ~0x20);
    for (const DriveConfig& seen : config.drives)
        if (seen.letter == d.letter)
            return SectionError{section.line, std::string("drive ") + d.letter + ": is described twice"};
    std::string type, serial;
    bool hasFreeToCaller = false;
    if (auto error =
            ReadKeys(section, {{"type", Text(type)},
                               {"file_system", Text(d.fileSystem)},
                               {"label", Text(d.label)},
                               {"serial", Text(serial)},
                               {"free_bytes", Number(d.freeBytes)},
                               {"free_bytes_to_caller",
                                [&](const IniEntry& e) {
                                    hasFreeToCaller = true;
                                    return Number(d.freeBytesToCaller)(e);
                                }},
                               {"total_bytes", Number(d.totalBytes)},
                               {"ready", [&](const IniEntry& e) -> std::optional<SectionError> {
                                    const auto yes = ParseYesNo(e.value);
                                    if (!yes)
                                        return SectionError{e.line, "\"ready\" is yes or no, not \"" + e.value + "\""};
                                    d.ready = *yes;
                                    return std::nullopt;
                                }}}))
        return error;
    const auto driveType = ParseDriveType(type);
    if (!driveType)
        return SectionError{type.empty() ? section.line : LineOf(section, "type"),
                            "drive \"type\" is fixed, removable, cdrom, remote or ramdisk, not \"" + type + "\""};
    d.type = *driveType;
    if (!serial.empty()) {
        const auto value = ParseSerial(serial);
        if (!value)
            return SectionError{LineOf(section, "serial"),
                                "\"serial\" is written like 1A2B-3C4D, not \"" + serial + "\""};
        d.serial = *value;
    }
    if (!hasFreeToCaller) d.freeBytesToCaller = d.freeBytes;
    if (d.freeBytes > d.totalBytes) return SectionError{section.line, "free_bytes is larger than total_bytes"};
    if (d.freeBytesToCaller > d.freeBytes)
        return SectionError{section.line, "free_bytes_to_caller is larger than free_bytes"};
    config.drives.push_back(std::move(d));
    return std::nullopt;
}

std::optional<SectionError> ReadEnvironment(const IniSection& section, MachineConfig& config) {
    for (const IniEntry& e : section.entries) config.environment.emplace_back(e.key, e.value);
    return std::nullopt;
}

std::optional<SectionError> ReadFolders(const IniSection& section, MachineConfig& config) {
    for (const IniEntry& e : section.entries) {
        const auto number = CsidlNumber(e.key);
        if (!number)
            return SectionError{e.line,
                                "unknown shell folder \"" + e.key + "\" (use CSIDL names such as CSIDL_APPDATA)"};
        if (IsVirtualCsidl(*number))
            return SectionError{e.line, "\"" + e.key + "\" is a virtual folder without a path"};
        if (!IsAbsoluteMachinePath(e.value))
            return SectionError{e.line, "shell folder paths are full paths such as C:\\x, not \"" + e.value + "\""};
        config.folders.emplace_back(*number, e.value);
    }
    return std::nullopt;
}

// Folded full path of each [file] section to the line of its header.
using FileLines = std::unordered_map<std::string, int>;

std::optional<SectionError> ReadFile(const IniSection& section, std::string_view path, FileLines& fileLines,
                                     MachineConfig& config) {
    FileMeta meta;
    meta.path = std::string(path);
    meta.line = section.line;
    if (!IsAbsoluteMachinePath(meta.path) || meta.path.size() == 3)
        return SectionError{section.line,
                            "a file section names a full path below a drive root, like [file C:\\boot.ini]"};
    const auto normalized = ParseMachinePath(meta.path, "C:\\", false);
    if (!normalized || normalized->components.empty())
        return SectionError{section.line, "\"" + meta.path + "\" is not a valid file path"};
    const auto [seen, added] =
        fileLines.emplace(FoldName(JoinMachinePath(normalized->drive, normalized->components)), section.line);
    if (!added)
        return SectionError{section.line, "file " + meta.path + " is described twice (first at line " +
                                              std::to_string(seen->second) + ")"};
    if (auto error = ReadKeys(
            section, {{"attributes",
                       [&](const IniEntry& e) -> std::optional<SectionError> {
                           const auto bits = ParseAttributeLetters(e.value);
                           if (!bits)
                               return SectionError{
                                   e.line, "\"attributes\" are letters from R, H, S, A, C, not \"" + e.value + "\""};
                           meta.attributes = *bits;
                           return std::nullopt;
                       }},
                      {"short_name",
                       [&](const IniEntry& e) -> std::optional<SectionError> {
                           if (!IsShortName(e.value))
                               return SectionError{e.line, "\"" + e.value + "\" is not an 8.3 name"};
                           meta.shortName = FoldName(e.value);
                           return std::nullopt;
                       }},
                      {"modified", [&](const IniEntry& e) -> std::optional<SectionError> {
                           const auto time = ParseLocalTime(e.value);
                           if (!time)
                               return SectionError{
                                   e.line,
                                   "\"modified\" is a local time \"YYYY-MM-DD HH:MM:SS\", not \"" + e.value + "\""};
                           meta.modified = *time;
                           return std::nullopt;
                       }}}))
        return error;
    config.files.push_back(std::move(meta));
    return std::nullopt;
}

// "drive C:" → ("drive", "C:")
std::pair<std::string_view, std::string_view> SplitSectionName(std::string_view name) {
    const std::size_t space = name.find(' ');
    if (space == std::string_view::npos) return {name, {}};
    return {name.substr(0, space), Trim(name.substr(space + 1))};
}

// Reads one section into `config` with the reader of its family.
std::optional<SectionError> ReadSection(const IniSection& section, FileLines& fileLines, MachineConfig& config) {
    const auto [kind, argument] = SplitSectionName(section.name);
    if (SameName(section.name, "system")) return ReadSystem(section, config);
    if (SameName(section.name, "memory")) return ReadMemory(section, config.memory);
    if (SameName(section.name, "environment")) return ReadEnvironment(section, config);
    if (SameName(section.name, "folders")) return ReadFolders(section, config);
    if (SameName(kind, "drive")) return ReadDrive(section, argument, config);
    if (SameName(kind, "file")) return ReadFile(section, argument, fileLines, config);
    if (IsSecuritySection(kind)) return ReadSecuritySection(section, kind, argument, config.security);
    if (IsSystemProbeSection(kind)) return ReadSystemProbeSection(section, kind, argument, config.systemProbes);
    if (IsNetworkSection(section.name)) return ReadNetworkSection(section, config.network);
    if (IsServicesSection(kind)) return ReadServicesSection(section, kind, argument, config.services);
    if (SameName(section.name, "locale")) return ReadLocaleSection(section, config.locale);
    if (SameName(section.name, "swap file")) return ReadSwapFileSection(section, config.swapFile.emplace());
    if (IsHardwareSection(kind)) return ReadHardwareSection(section, kind, argument, config.hardware);
    return SectionError{section.line, "unknown section [" + section.name +
                                          "] (known: system, memory, environment, folders, drive X:, "
                                          "file PATH, locale, swap file, network, share NAME, "
                                          "crypto_provider TYPE, resolver, tcp, udp, logon, account NAME, "
                                          "security OBJECT, pci B:D.F, tapi line N, tapi provider ID, serial PORT, "
                                          "service NAME, process ID, window N)"};
}

}  // namespace

std::optional<std::uint32_t> ParseAttributeLetters(std::string_view letters) {
    std::uint32_t bits = 0;
    for (char c : letters) {
        switch (c) {
            case 'R':
            case 'r': bits |= attr::kReadOnly; break;
            case 'H':
            case 'h': bits |= attr::kHidden; break;
            case 'S':
            case 's': bits |= attr::kSystem; break;
            case 'A':
            case 'a': bits |= attr::kArchive; break;
            case 'C':
            case 'c': bits |= attr::kCompressed; break;
            case ' ': break;
            default: return std::nullopt;
        }
    }
    return bits;
}

ConfigParse ParseMachineConfig(std::string_view bytes, std::string_view fileLabel) {
    ConfigParse out;
    auto fail = [&](const SectionError& error) {
        out.error = std::string(fileLabel) + ":" + std::to_string(error.line) + ": " + error.message;
        return out;
    };
    // The code page is needed to decode the text; find it in a first pass.
    std::uint32_t codePage = 1252;
    for (int pass = 0; pass < 2; ++pass) {
        const DecodedText decoded = DecodeText(bytes, codePage, true);
        if (!decoded.error.empty()) return fail({1, decoded.error});
        IniParse ini = ParseIni(decoded.text, fileLabel);
        if (!ini.error.empty()) {
            out.error = ini.error;
            return out;
        }
        MachineConfig config;
        FileLines fileLines;
        for (const IniSection& section : ini.sections)
            if (auto error = ReadSection(section, fileLines, config)) return fail(*error);
        if (std::none_of(ini.sections.begin(), ini.sections.end(),
                         [](const IniSection& section) { return SameName(section.name, "system"); }))
            return fail({1, "the [system] section is missing"});
        std::sort(config.drives.begin(), config.drives.end(),
                  [](const DriveConfig& a, const DriveConfig& b) { return a.letter < b.letter; });
        if (config.codePage == codePage || pass == 1) {
            out.config = std::move(config);
            return out;
        }
        codePage = config.codePage;
    }
    return out;
}

}  // namespace kavlo::platform::sim
