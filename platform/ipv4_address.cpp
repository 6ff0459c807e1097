#include "platform/ipv4_address.h"

namespace kavlo::platform {

std::string DottedAddress(const Ipv4Address& address) {
    std::string text;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i != 0) text += '.';
        text += std::to_string(address[i]);
    }
    return text;
}

std::optional<Ipv4Address> ParseDottedAddress(std::string_view text) {
    Ipv4Address address{};
    std::size_t pos = 0;
    for (std::size_t part = 0; part < address.size(); ++part) {
        if (part != 0) {
            if (pos >= text.size() || text[pos] != '.') return std::nullopt;
            ++pos;
        }
        unsigned value = 0;
        std::size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        address[part] = static_cast<std::uint8_t>(value);
    }
    if (pos != text.size()) return std::nullopt;
    return address;
}

}  // namespace kavlo::platform
