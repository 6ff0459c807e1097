#include "engine/path_tokens.h"

#include "engine/csidl_table.h"
#include "engine/text_util.h"

namespace kavlo {
namespace {

enum class Token { Windows, System, System32, Drivers, CommonDir, OsDrive, Val1, Csidl };

// The tokens in the order that breaks ties.
constexpr std::pair<std::string_view, Token> kTokens[] = {
    {"<WINDOWS>", Token::Windows}, {"<SYSTEM>", Token::System},       {"<SYSTEM32>", Token::System32},
    {"<DRIVERS>", Token::Drivers}, {"<COMMONDIR>", Token::CommonDir}, {"<OSDRIVE>", Token::OsDrive},
    {"<VAL1>", Token::Val1},       {"<CSIDL_", Token::Csidl},
};

// The registry commands' read buffer: a longer value fails with 234, as they show it.
constexpr std::size_t kValueBufferBytes = 400;

// "<COMMONDIR>" as a registry read would show it: the string, "Not Present"
// when the key or value is missing, else the system's error text.
std::string CommonFilesDirectory(platform::Machine& machine) {
    auto key = machine.OpenKey(platform::RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion");
    Result<platform::RegValue> value = key.ok() ? (*key)->QueryValue("CommonFilesDir", kValueBufferBytes)
                                                : Result<platform::RegValue>::Failure(key.error());
    if (!value.ok()) return value.error() == err::kFileNotFound ? "Not Present" : machine.ErrorText(value.error());
    const std::string_view data = value->data;
    return std::string(data.substr(0, data.find('\0')));
}

std::string TokenValue(AppContext& context, Token token) {
    platform::Machine& machine = context.machine;
    switch (token) {
        case Token::Windows: return machine.WindowsDirectory();
        case Token::System:
        case Token::System32: return machine.SystemDirectory();
        case Token::Drivers: return machine.SystemDirectory() + "\\drivers";
        case Token::CommonDir: return CommonFilesDirectory(machine);
        case Token::OsDrive: return machine.SystemDirectory().substr(0, 2);
        case Token::Val1: return context.val1.stringValue;
        case Token::Csidl: break;
    }
    return {};
}

}  // namespace

std::string SubstituteVars(const AppContext& context, std::string_view text) {
    std::string out =
        Contains(text, "<VARS2>") ? ReplaceAll(text, "<VARS2>", context.vars2.stringValue) : std::string(text);
    out = ReplaceAll(out, "<CLB>", "{");
    return ReplaceAll(out, "<CRB>", "}");
}

std::string ExpandPathToken(AppContext& context, std::string_view text) {
    // Only one token is expanded: the one that comes first in the text (so
    // "<SYSTEM32>\a<WINDOWS>" keeps its "<WINDOWS>"); the table order breaks ties.
    const std::pair<std::string_view, Token>* chosen = nullptr;
    std::size_t chosenAt = std::string_view::npos;
    for (const auto& entry : kTokens) {
        const auto at = text.find(entry.first);
        if (at < chosenAt) {
            chosen = &entry;
            chosenAt = at;
        }
    }
    if (!chosen) return std::string(text);
    const auto [name, token] = *chosen;
    if (token == Token::Csidl) return ExpandFolderToken(context, text);
    // The token is meant to lead the path; wherever it stands, the value becomes
    // the prefix of what remains.
    return TokenValue(context, token) + ReplaceAll(text, name, "");
}

std::string ExpandFolderToken(AppContext& context, std::string_view text) {
    const auto start = text.find("<CSIDL_");
    if (start == std::string_view::npos) return std::string(text);
    const auto end = text.find('>', start);
    if (end == std::string_view::npos) return std::string(text);
    const std::string_view token = text.substr(start, end - start + 1);
    const std::optional<int> number = CsidlNumber(token.substr(1, token.size() - 2));
    if (!number) return std::string(text);
    Result<std::string> folder = context.machine.ShellFolder(*number);
    if (!folder.ok()) return std::string(text);
    return ReplaceAll(text, token, *folder);
}

}  // namespace kavlo
