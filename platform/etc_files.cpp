#include "platform/etc_files.h"

#include <array>

#include "platform/ipv4_address.h"

namespace kavlo::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The first fields of one line, without its comment; later fields are not needed.
struct LineFields {
    std::array<std::string_view, 2> field{};
    std::size_t count = 0;
};

LineFields SplitLine(std::string_view line) {
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    LineFields out;
    std::size_t pos = 0;
    while (out.count < out.field.size()) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        if (pos == line.size()) break;
        const std::size_t start = pos;
        while (pos < line.size() && !IsBlank(line[pos])) ++pos;
        out.field[out.count++] = line.substr(start, pos - start);
    }
    return out;
}

// Calls visit(fields) for each line until it returns a value.
template <class Visit>
std::optional<std::string> EachLine(std::string_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const LineFields fields = SplitLine(text.substr(start, end - start));
        if (fields.count == 2) {
            if (auto found = visit(fields.field[0], fields.field[1])) return found;
        }
        start = end + 1;
    }
    return std::nullopt;
}

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::optional<std::uint16_t> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::string Capped(std::string_view name) { return std::string(name.substr(0, kMaxResolverName)); }

}  // namespace

std::optional<std::string> FindServiceName(std::string_view servicesText, std::uint16_t port,
                                           std::string_view protocol) {
    return EachLine(servicesText,
                    [&](std::string_view name, std::string_view portAndProtocol) -> std::optional<std::string> {
                        const std::size_t slash = portAndProtocol.find('/');
                        if (slash == std::string_view::npos) return std::nullopt;
                        const auto number = ParsePort(portAndProtocol.substr(0, slash));
                        if (!number || *number != port || !SameAscii(portAndProtocol.substr(slash + 1), protocol))
                            return std::nullopt;
                        return Capped(name);
                    });
}

std::optional<std::string> FindHostName(std::string_view hostsText, const Ipv4Address& address) {
    return EachLine(hostsText, [&](std::string_view dotted, std::string_view name) -> std::optional<std::string> {
        const auto parsed = ParseDottedAddress(dotted);
        if (!parsed || *parsed != address) return std::nullopt;
        return Capped(name);
    });
}

}  // namespace kavlo::platform
