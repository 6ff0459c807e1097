#include "probes/network/netstat_texts.h"

#include <array>

#include "platform/ipv4_address.h"

namespace kavlo {
namespace {

// Indexed by the state number. 9 and 10 are closing and last-ACK, as the
// system's own numbering has them.
constexpr std::array<std::string_view, 12> kStateNames = {
    "???",      "CLOSED",    "LISTENING",  "SYN_SENT", "SEN_RECEIVED", "ESTABLISHED",
    "FIN_WAIT", "FIN_WAIT2", "CLOSE_WAIT", "CLOSING",  "LAST_ACK",     "TIME_WAIT",
};

// The texts went into 256-character buffers; longer resolver names are cut there.
constexpr std::size_t kTextLimit = 255;

std::string Limited(std::string text) {
    if (text.size() > kTextLimit) text.resize(kTextLimit);
    return text;
}

bool IsWinsockStartError(WinError error) {
    // WSASYSNOTREADY, WSAVERNOTSUPPORTED, WSANOTINITIALISED, WSAEPROCLIM
    return error == 10091 || error == 10092 || error == 10093 || error == 10067;
}

bool IsMissingLibrary(WinError error) {
    return error == err::kNotSupported || error == 126 || error == err::kProcNotFound;
}

}  // namespace

std::string TcpStateName(std::uint32_t state) {
    if (state < kStateNames.size()) return std::string(kStateNames[state]);
    return "<" + std::to_string(state) + ">";
}

std::string_view NetstatFailureRow(WinError error) {
    if (IsWinsockStartError(error)) return "ERROR,Could not initialize Winsock,,,, \n";
    if (IsMissingLibrary(error)) return "ERROR,Could not load extension DLL,,,, \n";
    return "ERROR,Could not initialize extension DLL,,,, \n";
}

const std::string& EndpointTexts::HostName() {
    if (!hostName_) {
        auto name = machine_.HostName();
        hostName_ = name ? std::move(name).value() : std::string();
    }
    return *hostName_;
}

std::string EndpointTexts::Address(const platform::Ipv4Address& address, bool localEnd) {
    const std::string dotted = platform::DottedAddress(address);
    const bool any = address == platform::Ipv4Address{0, 0, 0, 0};
    const bool loopback = address == platform::Ipv4Address{127, 0, 0, 1};
    if (any || loopback) {
        // A host whose name cannot be read shows the address it would stand for.
        if (localEnd) return HostName().empty() ? dotted : Limited(HostName());
        return loopback ? "localhost" : dotted;
    }
    auto name = machine_.HostNameOfAddress(address);
    if (!name) return dotted;
    return Limited(dotted + " [" + *name + "]");
}

std::string EndpointTexts::Port(std::uint16_t port, std::string_view protocol) {
    std::string text = std::to_string(port);
    if (auto service = machine_.ServiceNameOfPort(port, protocol)) text += " [" + *service + " ]";
    return Limited(std::move(text));
}

}  // namespace kavlo
