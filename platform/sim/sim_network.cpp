#include "platform/sim/sim_network.h"

#include <algorithm>

#include "platform/etc_files.h"
#include "platform/ipv4_address.h"
#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

constexpr WinError kWsaNotInitialised = 10093;
constexpr WinError kWsaHostNotFound = 11001;
constexpr WinError kWsaNoData = 11004;
// The resolver's files are small; a larger one is read only this far.
constexpr std::size_t kMaxEtcFile = 1 << 20;

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == ',')) ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t' && text[pos] != ',') ++pos;
        if (pos > start) words.push_back(text.substr(start, pos - start));
    }
    return words;
}

// Decimal digits only, at most `max`.
std::optional<std::uint64_t> ParseDecimal(std::string_view digits, std::uint64_t max) {
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > max) return std::nullopt;
    return value;
}

// "192.168.10.37:1047"
std::optional<std::pair<Ipv4Address, std::uint16_t>> ParseEndpoint(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto address = ParseDottedAddress(text.substr(0, colon));
    const auto port = ParseDecimal(text.substr(colon + 1), 0xFFFF);
    if (!address || !port) return std::nullopt;
    return std::make_pair(*address, static_cast<std::uint16_t>(*port));
}

std::optional<SectionError> ReadAddresses(const IniSection& section, NetworkConfig& network) {
    for (const IniEntry& e : section.entries) {
        if (!SameName(e.key, "addresses")) return UnknownKeyError("resolver", e, "addresses");
        for (std::string_view word : Words(e.value)) {
            const auto address = ParseDottedAddress(word);
            if (!address)
                return SectionError{e.line, "\"" + std::string(word) + "\" is not an IPv4 address like 192.168.10.37"};
            network.addresses.push_back(*address);
        }
    }
    return std::nullopt;
}

// label = state local-address:port remote-address:port
std::optional<SectionError> ReadTcp(const IniSection& section, NetworkConfig& network) {
    for (const IniEntry& e : section.entries) {
        const auto words = Words(e.value);
        const auto state = words.size() == 3 ? ParseDecimal(words[0], 0xFFFFFFFFu) : std::nullopt;
        const auto local = words.size() == 3 ? ParseEndpoint(words[1]) : std::nullopt;
        const auto remote = words.size() == 3 ? ParseEndpoint(words[2]) : std::nullopt;
        if (!state || !local || !remote)
            return SectionError{e.line,
                                "a [tcp] row is \"state local-address:port remote-address:port\" with the state as a "
                                "number, like \"2 0.0.0.0:4911 0.0.0.0:0\", not \"" +
                                    e.value + "\""};
        network.tcp.push_back(
            {static_cast<std::uint32_t>(*state), local->first, local->second, remote->first, remote->second});
    }
    return std::nullopt;
}

// label = local-address:port
std::optional<SectionError> ReadUdp(const IniSection& section, NetworkConfig& network) {
    for (const IniEntry& e : section.entries) {
        const auto local = ParseEndpoint(e.value);
        if (!local)
            return SectionError{e.line,
                                "a [udp] row is \"local-address:port\", like \"0.0.0.0:137\", not \"" + e.value + "\""};
        network.udp.push_back({local->first, local->second});
    }
    return std::nullopt;
}

// The resolver's file by name: <SYSTEM32>\drivers\etc on NT, the Windows folder on 9x.
std::optional<std::string> ReadEtcFile(Machine& machine, std::string_view name) {
    const std::string folder = machine.Version().platform == os_platform::kNt
                                   ? machine.SystemDirectory() + "\\drivers\\etc\\"
                                   : machine.WindowsDirectory() + "\\";
    auto file = machine.OpenForRead(folder + std::string(name));
    if (!file) return std::nullopt;
    std::string text(static_cast<std::size_t>(std::min<std::uint64_t>((*file)->Size(), kMaxEtcFile)), '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        auto got = (*file)->Read(text.data() + filled, text.size() - filled);
        if (!got || *got == 0) break;
        filled += *got;
    }
    text.resize(filled);
    return text;
}

}  // namespace

bool IsNetworkSection(std::string_view sectionName) {
    return SameName(sectionName, "resolver") || SameName(sectionName, "tcp") || SameName(sectionName, "udp");
}

std::optional<SectionError> ReadNetworkSection(const IniSection& section, NetworkConfig& network) {
    if (SameName(section.name, "resolver")) return ReadAddresses(section, network);
    if (SameName(section.name, "tcp")) return ReadTcp(section, network);
    return ReadUdp(section, network);
}

Result<std::vector<TcpConnection>> SimTcpConnections(const NetworkView& view) {
    if (!view.hostName) return Result<std::vector<TcpConnection>>::Failure(kWsaNotInitialised);
    return view.network.tcp;
}

Result<std::vector<UdpListener>> SimUdpListeners(const NetworkView& view) {
    if (!view.hostName) return Result<std::vector<UdpListener>>::Failure(kWsaNotInitialised);
    return view.network.udp;
}

Result<std::vector<Ipv4Address>> SimHostAddresses(const NetworkView& view) {
    if (!view.hostName) return Result<std::vector<Ipv4Address>>::Failure(kWsaNotInitialised);
    // A machine without a network card still resolves its name to the loopback address.
    if (view.network.addresses.empty()) return std::vector<Ipv4Address>{Ipv4Address{127, 0, 0, 1}};
    return view.network.addresses;
}

Result<std::string> SimHostNameOfAddress(const NetworkView& view, const Ipv4Address& address) {
    if (!view.hostName) return Result<std::string>::Failure(kWsaNotInitialised);
    if (const auto hosts = ReadEtcFile(view.machine, "hosts")) {
        if (auto name = FindHostName(*hosts, address)) return std::move(*name);
    }
    const auto& own = view.network.addresses;
    if (std::find(own.begin(), own.end(), address) != own.end()) return *view.hostName;
    return Result<std::string>::Failure(kWsaHostNotFound);
}

Result<std::string> SimServiceNameOfPort(const NetworkView& view, std::uint16_t port, std::string_view protocol) {
    if (!view.hostName) return Result<std::string>::Failure(kWsaNotInitialised);
    if (const auto services = ReadEtcFile(view.machine, "services")) {
        if (auto name = FindServiceName(*services, port, protocol)) return std::move(*name);
    }
    return Result<std::string>::Failure(kWsaNoData);
}

}  // namespace kavlo::platform::sim
