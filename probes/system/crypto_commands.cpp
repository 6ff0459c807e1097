// "TDefaultCryptoProviders:": the default cryptographic provider of each type.
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/records.h"
#include "engine/script_engine.h"
#include "probes/system/system_commands.h"

namespace kavlo {
namespace {

struct ProviderType {
    std::string_view word;
    std::uint32_t type;
};

constexpr ProviderType kProviderTypes[] = {
    {"RSA FULL", 1}, {"RSA SIG", 2},     {"DSS", 3},           {"DSS DH", 13},
    {"FORTEZZA", 4}, {"MS EXCHANGE", 5}, {"RSA SCHANNEL", 12}, {"SSL", 6},
};

std::string_view ImplementationWord(std::uint32_t type) {
    switch (type) {
        case 1: return "hardware";
        case 2: return "software";
        case 3: return "mixed";
        case 4: return "unknown";
        default: return {};
    }
}

std::string_view AlgorithmClassWord(std::uint32_t algorithmId) {
    switch (algorithmId & 0xE000) {
        case 0x2000: return "Signature";
        case 0x6000: return "Encrypt  ";
        case 0x8000: return "Hash     ";
        case 0xA000: return "Exchange ";
        default: return "Unknown  ";
    }
}

std::string Hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", value);
    return buffer;
}

// Every container lists the provider's algorithms again beneath itself.
void ListContainers(platform::CryptoProvider& provider, ResultNode& parent) {
    for (auto container = provider.NextContainer(true); container; container = provider.NextContainer(false)) {
        ResultNode& containerItem = parent.AddChild(*container);
        ResultNode& algorithms = containerItem.AddChild("Supported algorithms");
        auto algorithm = provider.NextAlgorithm(true);
        for (; algorithm; algorithm = provider.NextAlgorithm(false)) {
            ResultNode& item = algorithms.AddChild(algorithm->name);
            item.AddChild("Algid: " + std::to_string(algorithm->id));
            item.AddChild("Bits: " + std::to_string(algorithm->bits));
            item.AddChild("Type: " + std::string(AlgorithmClassWord(algorithm->id)));
        }
        if (algorithm.error() != err::kNoMoreItems) return;
    }
}

}  // namespace

void TDefaultCryptoProvidersCommand(CommandCall& call) {
    if (!call.title) return;
    platform::Machine& machine = call.engine.context().machine;
    ResultNode& root = call.title->Root();
    ResultNode& available = root.AddChild("Available Providers");
    ResultNode& unavailable = root.AddChild("Unavailable Providers");
    // A tree item is one line: the system text loses its closing line break.
    auto errorText = [&](WinError code) {
        std::string text = machine.ErrorText(code);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        return "  Error: " + text;
    };

    for (const ProviderType& type : kProviderTypes) {
        const std::string word(type.word);
        auto provider = machine.AcquireCryptoProvider(type.type);
        if (!provider) {
            unavailable.AddChild("CryptAcquireContext Error! Unable to acquire a CSP handle for " + word +
                                 errorText(provider.error()));
            continue;
        }
        platform::CryptoProvider& csp = **provider;
        auto name = csp.Name();
        if (!name) {
            unavailable.AddChild("CryptGetProvParam Error! Unable to get a CSP name for " + word +
                                 errorText(name.error()));
            continue;
        }
        auto container = csp.Container();
        if (!container) {
            unavailable.AddChild("CryptGetProvParam Error! Unable to get a key container for the type " + word +
                                 " and CSP " + *name + errorText(container.error()));
            continue;
        }
        const auto version = csp.Version();
        const std::uint32_t value = version ? *version : 0;
        ResultNode& item = available.AddChild(*name + "  Ver: " + Hex((value >> 8) & 0xFF) + "." + Hex(value & 0xFF));
        item.AddChild("Default key container: " + *container);
        const auto implementation = csp.ImplementationType();
        item.AddChild("CSP implementation type: " +
                      std::string(implementation ? ImplementationWord(*implementation) : std::string_view()));
        ListContainers(csp, item.AddChild("Available key container(s)"));
    }
}

}  // namespace kavlo
