#include "platform/caller_file.h"

#include <array>
#include <span>

namespace kavlo::platform {
namespace {

constexpr std::string_view kMagic = "MLCHF";

enum class Field {
    Device,
    Speed,
    Parity,
    LineSetting,
    UseDialProperties,
    AreaCode,
    PhoneNumber,
    Country,
    LoginName,
    ConnectionAttempts,
    SecondsBetweenRetries,
    RunScript,
    AutoTransfer,
    ScriptName,
};

// Version 1 files hold the dial settings only; version 2 holds every setting.
constexpr std::array kVersion1 = {Field::Device,      Field::Speed,   Field::Parity,   Field::AreaCode,
                                  Field::PhoneNumber, Field::Country, Field::LoginName};
constexpr std::array kVersion2 = {
    Field::Device,
    Field::Speed,
    Field::Parity,
    Field::LineSetting,
    Field::UseDialProperties,
    Field::AreaCode,
    Field::PhoneNumber,
    Field::Country,
    Field::LoginName,
    Field::ConnectionAttempts,
    Field::SecondsBetweenRetries,
    Field::RunScript,
    Field::AutoTransfer,
    Field::ScriptName,
};

// A decimal number within [min, max]; 0 for anything else.
std::int64_t Number(std::string_view text, std::int64_t min, std::int64_t max) {
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10) return 0;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    return value < min || value > max ? 0 : value;
}

void Store(RemoteCallerFile& out, Field field, std::string_view text) {
    const std::string cut(text.substr(0, kMaxCallerField));
    switch (field) {
        case Field::Device: out.device = cut; break;
        case Field::Speed: out.speed = static_cast<std::int32_t>(Number(text, INT32_MIN, INT32_MAX)); break;
        case Field::Parity: out.parity = cut; break;
        case Field::LineSetting: out.lineSetting = cut; break;
        case Field::UseDialProperties: out.useDialProperties = Number(text, 0, 1) == 1; break;
        case Field::AreaCode: out.areaCode = cut; break;
        case Field::PhoneNumber: out.phoneNumber = cut; break;
        case Field::Country: out.country = cut; break;
        case Field::LoginName: out.loginName = cut; break;
        case Field::ConnectionAttempts:
            out.connectionAttempts = static_cast<std::int16_t>(Number(text, INT16_MIN, INT16_MAX));
            break;
        case Field::SecondsBetweenRetries:
            out.secondsBetweenRetries = static_cast<std::int16_t>(Number(text, INT16_MIN, INT16_MAX));
            break;
        case Field::RunScript: out.runScript = Number(text, 0, 1) == 1; break;
        case Field::AutoTransfer: out.autoTransfer = cut; break;
        case Field::ScriptName: out.scriptName = cut; break;
    }
}

}  // namespace

std::optional<RemoteCallerFile> ParseCallerFile(std::string_view bytes) {
    if (bytes.size() < kMagic.size() + 1 || bytes.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    std::span<const Field> fields;
    switch (bytes[kMagic.size()]) {
        case 1: fields = kVersion1; break;
        case 2: fields = kVersion2; break;
        default: return std::nullopt;
    }
    RemoteCallerFile out;
    std::size_t pos = kMagic.size() + 1;
    for (const Field field : fields) {
        if (pos >= bytes.size()) break;  // the rest of the fields are missing
        std::size_t end = bytes.find('\0', pos);
        if (end == std::string_view::npos) end = bytes.size();  // a last field without its terminator
        Store(out, field, bytes.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

}  // namespace kavlo::platform
