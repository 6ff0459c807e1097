#include "platform/sim/system_probe_config.h"

#include <functional>

#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

std::optional<std::uint64_t> ParseNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * base + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return value;
}

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view part = text.substr(start, end - start);
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        if (!part.empty()) out.emplace_back(part);
        start = end + 1;
    }
    return out;
}

// Reads the keys of a section; each handler returns an error message or "".
struct Key {
    std::string_view name;
    std::function<std::string(const std::string&)> read;
};

std::optional<SectionError> ReadKeys(const IniSection& section, const std::vector<Key>& keys) {
    for (const IniEntry& entry : section.entries) {
        const Key* match = nullptr;
        for (const Key& key : keys)
            if (SameName(entry.key, key.name)) match = &key;
        if (!match) {
            std::string known;
            for (const Key& key : keys) known += (known.empty() ? "" : ", ") + std::string(key.name);
            return UnknownKeyError(section.name, entry, known);
        }
        if (std::string error = match->read(entry.value); !error.empty())
            return SectionError{entry.line, std::move(error)};
    }
    return std::nullopt;
}

template <class T>
Key NumberKey(std::string_view name, T& target) {
    return {name, [name, &target](const std::string& value) -> std::string {
                const auto number = ParseNumber(value);
                if (!number) return "\"" + std::string(name) + "\" is a number, not \"" + value + "\"";
                target = static_cast<T>(*number);
                return {};
            }};
}

Key TextKey(std::string_view name, std::string& target) {
    return {name, [&target](const std::string& value) -> std::string {
                target = value;
                return {};
            }};
}

std::optional<SectionError> ReadShare(const IniSection& section, std::string_view name, SystemProbeConfig& config) {
    if (name.empty()) return SectionError{section.line, "a share section is named like [share C$]"};
    ShareInfo share;
    share.name = std::string(name);
    const std::optional<SectionError> error =
        ReadKeys(section, {TextKey("path", share.path),
                           TextKey("remark", share.remark),
                           {"max_uses",
                            [&share](const std::string& value) -> std::string {
                                if (SameName(value, "unlimited")) {
                                    share.maxUses = -1;
                                    return {};
                                }
                                const auto number = ParseNumber(value);
                                if (!number || *number > 0x7FFFFFFF) return "\"max_uses\" is a number or unlimited";
                                share.maxUses = static_cast<std::int32_t>(*number);
                                return {};
                            }},
                           NumberKey("current_uses", share.currentUses)});
    if (error) return error;
    config.shares.push_back(std::move(share));
    return std::nullopt;
}

std::optional<SectionError> ReadProvider(const IniSection& section, std::string_view typeText,
                                         SystemProbeConfig& config) {
    const auto type = ParseNumber(typeText);
    if (!type)
        return SectionError{section.line, "a provider section is named by its type number, like [crypto_provider 1]"};
    CryptoProviderConfig provider;
    provider.type = static_cast<std::uint32_t>(*type);
    const std::optional<SectionError> error = ReadKeys(
        section, {TextKey("name", provider.name),
                  TextKey("container", provider.container),
                  NumberKey("version", provider.version),
                  NumberKey("implementation", provider.implementation),
                  NumberKey("acquire_error", provider.acquireError),
                  NumberKey("name_error", provider.nameError),
                  NumberKey("container_error", provider.containerError),
                  {"containers",
                   [&provider](const std::string& value) -> std::string {
                       provider.containers = SplitList(value);
                       return {};
                   }},
                  {"algorithms", [&provider](const std::string& value) -> std::string {
                       for (const std::string& item : SplitList(value)) {
                           // "ID BITS NAME"
                           const std::size_t first = item.find(' ');
                           const std::size_t second = first == std::string::npos ? first : item.find(' ', first + 1);
                           const auto id = ParseNumber(std::string_view(item).substr(0, first));
                           const auto bits =
                               second == std::string::npos
                                   ? std::nullopt
                                   : ParseNumber(std::string_view(item).substr(first + 1, second - first - 1));
                           if (!id || !bits) return "an algorithm is written \"ID BITS NAME\", not \"" + item + "\"";
                           provider.algorithms.push_back({static_cast<std::uint32_t>(*id),
                                                          static_cast<std::uint32_t>(*bits), item.substr(second + 1)});
                       }
                       return {};
                   }}});
    if (error) return error;
    for (const CryptoProviderConfig& seen : config.providers)
        if (seen.type == provider.type)
            return SectionError{section.line, "provider type " + std::string(typeText) + " is described twice"};
    config.providers.push_back(std::move(provider));
    return std::nullopt;
}

}  // namespace

bool IsSystemProbeSection(std::string_view kind) {
    return SameName(kind, "network") || SameName(kind, "share") || SameName(kind, "crypto_provider");
}

std::optional<SectionError> ReadSystemProbeSection(const IniSection& section, std::string_view kind,
                                                   std::string_view argument, SystemProbeConfig& config) {
    if (SameName(kind, "share")) return ReadShare(section, argument, config);
    if (SameName(kind, "crypto_provider")) return ReadProvider(section, argument, config);
    config.networkDescribed = true;
    return ReadKeys(
        section, {NumberKey("server_type", config.serverType), NumberKey("server_type_error", config.serverTypeError),
                  NumberKey("shares_error", config.sharesError)});
}

}  // namespace kavlo::platform::sim
