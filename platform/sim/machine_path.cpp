#include "platform/sim/machine_path.h"

#include "platform/sim/wildcard.h"

namespace kavlo::platform::sim {
namespace {

constexpr WinError kBadNetPath = 53;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasForbiddenChar(std::string_view name) {
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|").find(c) != std::string_view::npos)
            return true;
    return false;
}

}  // namespace

std::string JoinMachinePath(char drive, const std::vector<std::string>& components) {
    std::string out{drive, ':', '\\'};
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i) out += '\\';
        out += components[i];
    }
    return out;
}

Result<MachinePath> ParseMachinePath(std::string_view input, std::string_view currentDir, bool allowWildcards) {
    if (input.size() > kMaxMachinePathChars) return Result<MachinePath>::Failure(kFileNameTooLong);
    std::string text(input);
    for (char& c : text)
        if (c == '/') c = '\\';
    if (text.empty()) return Result<MachinePath>::Failure(err::kPathNotFound);
    // "\\?\C:\x" is the long-path form of "C:\x".
    if (text.rfind("\\\\?\\", 0) == 0 && text.size() >= 6 && IsLetter(text[4]) && text[5] == ':') text.erase(0, 4);
    if (text.rfind("\\\\", 0) == 0) return Result<MachinePath>::Failure(kBadNetPath);

    MachinePath out;
    const std::size_t lastSlash = text.rfind('\\');
    out.directoryText = lastSlash == std::string::npos ? (text.size() >= 2 && text[1] == ':' ? text.substr(0, 2) : "")
                                                       : text.substr(0, lastSlash + 1);
    out.trailingSeparator = text.back() == '\\';

    std::string_view rest = text;
    std::string base;  // the absolute directory that a relative path starts from
    const std::string_view current = currentDir.size() >= 3 ? currentDir : std::string_view("C:\\");
    if (rest.size() >= 2 && rest[1] == ':') {
        if (!IsLetter(rest[0])) return Result<MachinePath>::Failure(err::kInvalidName);
        out.drive = static_cast<char>(rest[0] & ~0x20);
        rest.remove_prefix(2);
        // "C:x" is relative to the current directory when it is on C:.
        if (rest.empty() || rest.front() != '\\')
            base = (static_cast<char>(current[0] & ~0x20) == out.drive) ? std::string(current.substr(3)) : "";
    } else {
        out.drive = static_cast<char>(current[0] & ~0x20);
        if (rest.front() != '\\') base = std::string(current.substr(3));
    }

    auto addComponents = [&](std::string_view path, bool checkNames) -> WinError {
        std::vector<std::string_view> parts;
        while (!path.empty()) {
            const std::size_t slash = path.find('\\');
            const std::string_view part = path.substr(0, slash);
            if (!part.empty()) parts.push_back(part);
            if (slash == std::string_view::npos) break;
            path.remove_prefix(slash + 1);
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            std::string part(parts[i]);
            const bool last = i + 1 == parts.size();
            if (checkNames) {
                if (HasForbiddenChar(part)) return err::kInvalidName;
                if (HasWildcards(part) && !(last && allowWildcards)) return err::kInvalidName;
            }
            if (part == ".") continue;
            if (part == "..") {
                if (!out.components.empty()) out.components.pop_back();
                continue;
            }
            // Windows drops trailing dots and blanks of names (not of patterns).
            if (!HasWildcards(part)) {
                while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
                if (part.empty()) continue;
            }
            out.components.push_back(std::move(part));
        }
        return err::kSuccess;
    };
    if (WinError e = addComponents(base, false); e != err::kSuccess) return Result<MachinePath>::Failure(e);
    if (WinError e = addComponents(rest, true); e != err::kSuccess) return Result<MachinePath>::Failure(e);
    return out;
}

}  // namespace kavlo::platform::sim
