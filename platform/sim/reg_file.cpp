#include "platform/sim/reg_file.h"

#include <optional>
#include <vector>

#include "platform/codepage.h"
#include "platform/sim/name_fold.h"
#include "platform/sim/text_decode.h"

namespace kavlo::platform::sim {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

struct HiveName {
    std::string_view name;
    RegRoot root;
    std::string_view prefix;  // key path below the root that the hive stands for
};

constexpr HiveName kHives[] = {
    {"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine, ""},
    {"HKLM", RegRoot::LocalMachine, ""},
    {"HKEY_CURRENT_USER", RegRoot::CurrentUser, ""},
    {"HKCU", RegRoot::CurrentUser, ""},
    {"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot, ""},
    {"HKCR", RegRoot::ClassesRoot, ""},
    {"HKEY_USERS", RegRoot::Users, ""},
    {"HKU", RegRoot::Users, ""},
    {"HKEY_CURRENT_CONFIG", RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current"},
    {"HKCC", RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current"},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

bool EndsWithBackslash(std::string_view line) { return !line.empty() && line.back() == '\\'; }

class RegFileReader {
public:
    RegFileReader(std::string_view label, std::uint32_t codePage, RegistryStore& store)
        : label_(label), codePage_(codePage), store_(store) {}

    std::string Apply(std::string_view bytes) {
        const bool ansiHeader = StartsWithNoCase(Trim(bytes.substr(0, 64)), kHeader4) &&
                                !(bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF);
        // Names are kept as written (UTF-16 in the store); only data meets the code page.
        const DecodedText decoded = DecodeTextToUtf8(bytes, codePage_, !ansiHeader);
        if (!decoded.error.empty()) return Error(1, decoded.error);
        const std::vector<std::string_view> lines = SplitLines(decoded.text);

        std::size_t i = 0;
        while (i < lines.size() && Trim(lines[i]).empty()) ++i;
        if (i == lines.size())
            return Error(1, "empty file: expected \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\"");
        const std::string_view header = Trim(lines[i]);
        if (header == kHeader5) unicode_ = true;
        else if (header != kHeader4)
            return Error(static_cast<int>(i) + 1,
                         "the first line must be \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\"");
        for (++i; i < lines.size(); ++i) {
            const int lineNo = static_cast<int>(i) + 1;
            std::string_view line = Trim(lines[i]);
            if (line.empty() || line.front() == ';') continue;
            if (line.front() == '[') {
                if (!KeyLine(line, lineNo)) return error_;
                continue;
            }
            // A value whose data ends with "\" goes on in the following lines.
            std::string joined;
            if (EndsWithBackslash(line) && i + 1 < lines.size()) {
                joined = std::string(line);
                while (EndsWithBackslash(joined) && i + 1 < lines.size()) {
                    joined.pop_back();
                    joined += Trim(lines[++i]);
                }
                line = joined;
            }
            if (!ValueLine(line, lineNo)) return error_;
        }
        return {};
    }

private:
    std::string Error(int line, std::string_view what) {
        error_ = label_ + ":" + std::to_string(line) + ": " + std::string(what);
        return error_;
    }
    bool Fail(int line, std::string_view what) {
        Error(line, what);
        return false;
    }

    bool KeyLine(std::string_view line, int lineNo) {
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos) return Fail(lineNo, "key line without a closing \"]\"");
        if (!Trim(line.substr(close + 1)).empty()) return Fail(lineNo, "text after the \"]\" of a key line");
        std::string_view path = line.substr(1, close - 1);
        const bool remove = !path.empty() && path.front() == '-';
        if (remove) path.remove_prefix(1);
        const std::size_t slash = path.find('\\');
        const std::string_view hiveWord = path.substr(0, slash);
        const HiveName* hive = nullptr;
        for (const HiveName& candidate : kHives)
            if (SameName(candidate.name, hiveWord)) hive = &candidate;
        if (!hive)
            return Fail(lineNo, "unknown hive \"" + std::string(hiveWord) +
                                    "\" (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS, "
                                    "HKEY_CURRENT_CONFIG)");
        std::string below = std::string(hive->prefix);
        if (slash != std::string_view::npos) below += "\\" + std::string(path.substr(slash + 1));
        const std::u16string wide = Utf8ToUtf16(below);
        const std::vector<std::u16string_view> parts = SplitKeyPath(wide);
        if (parts.size() > kMaxKeyDepth) return Fail(lineNo, "key path deeper than 512 levels");
        for (std::u16string_view part : parts)
            if (part.size() > kMaxKeyNameChars)
                return Fail(lineNo,
                            "key name longer than 255 characters: \"" + Utf16ToUtf8(part.substr(0, 40)) + "...\"");
        if (remove) {
            if (parts.empty()) return Fail(lineNo, "a hive itself cannot be deleted");
            store_.Remove(hive->root, wide);
            current_ = nullptr;
            return true;
        }
        current_ = &store_.Create(hive->root, wide, false);
        return true;
    }

    // A "quoted string" with \\ and \" escapes starting at text[pos]; pos ends after it.
    std::optional<std::string> QuotedString(std::string_view text, std::size_t& pos, int lineNo) {
        std::string out;
        for (++pos; pos < text.size(); ++pos) {
            const char c = text[pos];
            if (c == '"') {
                ++pos;
                return out;
            }
            if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
                out.push_back(text[++pos]);
                continue;
            }
            out.push_back(c);
        }
        Fail(lineNo, "string without a closing quote");
        return std::nullopt;
    }

    std::optional<std::string> HexBytes(std::string_view list, int lineNo) {
        std::string out;
        list = Trim(list);
        std::size_t pos = 0;
        auto skipBlanks = [&] {
            while (pos < list.size() && (list[pos] == ' ' || list[pos] == '\t')) ++pos;
        };
        while (pos < list.size()) {
            skipBlanks();
            int value = 0, digits = 0;
            while (pos < list.size() && HexDigit(list[pos]) >= 0) {
                value = value * 16 + HexDigit(list[pos++]);
                if (++digits > 2) break;
            }
            if (digits == 0 || digits > 2) {
                Fail(lineNo, "hex data are two-digit bytes separated by commas");
                return std::nullopt;
            }
            out.push_back(static_cast<char>(value));
            skipBlanks();
            if (pos == list.size()) break;
            if (list[pos] != ',') {
                Fail(lineNo, "hex data are two-digit bytes separated by commas");
                return std::nullopt;
            }
            ++pos;
            skipBlanks();  // a trailing comma ends the list
        }
        return out;
    }

    // Version 5 files store string types in hex form as UTF-16LE; the machine
    // holds them in its ANSI code page, as RegQueryValueExA returns them.
    std::string StringBytesToAnsi(const std::string& bytes) const {
        std::u16string units(bytes.size() / 2, u'\0');
        for (std::size_t k = 0; k < units.size(); ++k)
            units[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                             (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
        return Utf16ToAnsi(units, codePage_);
    }

    bool ValueLine(std::string_view line, int lineNo) {
        std::size_t pos = 0;
        std::u16string name;
        if (line.front() == '@') {
            pos = 1;
        } else if (line.front() == '"') {
            auto quoted = QuotedString(line, pos, lineNo);
            if (!quoted) return false;
            name = Utf8ToUtf16(*quoted);
            if (name.size() > kMaxValueNameChars) return Fail(lineNo, "value name longer than 16383 characters");
        } else {
            return Fail(lineNo, "expected a [key] line, a \"name\"=value line, @=value or a ; comment");
        }
        std::string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != '=') return Fail(lineNo, "expected \"=\" after the value name");
        rest = Trim(rest.substr(1));
        if (!current_) return Fail(lineNo, "value line outside a key: open a [key] first");

        if (rest == "-") {
            current_->RemoveValue(name);
            return true;
        }
        RegValue value;
        if (!rest.empty() && rest.front() == '"') {
            std::size_t at = 0;
            auto text = QuotedString(rest, at, lineNo);
            if (!text) return false;
            if (!Trim(rest.substr(at)).empty()) return Fail(lineNo, "text after the closing quote of a string value");
            value.type = regtype::kSz;
            value.data = Utf8ToAnsi(*text, codePage_);
            value.data.push_back('\0');
        } else if (StartsWithNoCase(rest, "dword:")) {
            const std::string_view digits = Trim(rest.substr(6));
            if (digits.empty() || digits.size() > 8) return Fail(lineNo, "dword: needs 1 to 8 hex digits");
            std::uint32_t number = 0;
            for (char c : digits) {
                if (HexDigit(c) < 0) return Fail(lineNo, "dword: needs 1 to 8 hex digits");
                number = number * 16 + static_cast<std::uint32_t>(HexDigit(c));
            }
            value.type = regtype::kDword;
            for (int k = 0; k < 4; ++k) value.data.push_back(static_cast<char>((number >> (8 * k)) & 0xFF));
        } else if (StartsWithNoCase(rest, "hex")) {
            std::size_t at = 3;
            value.type = regtype::kBinary;
            if (at < rest.size() && rest[at] == '(') {
                const std::size_t close = rest.find(')', at);
                if (close == std::string_view::npos || close == at + 1 || close - at - 1 > 8)
                    return Fail(lineNo, "hex(N): needs a hex type number such as hex(2)");
                std::uint32_t type = 0;
                for (std::size_t k = at + 1; k < close; ++k) {
                    if (HexDigit(rest[k]) < 0) return Fail(lineNo, "hex(N): needs a hex type number such as hex(2)");
                    type = type * 16 + static_cast<std::uint32_t>(HexDigit(rest[k]));
                }
                value.type = type;
                at = close + 1;
            }
            if (at >= rest.size() || rest[at] != ':') return Fail(lineNo, "expected \":\" after hex");
            auto bytes = HexBytes(rest.substr(at + 1), lineNo);
            if (!bytes) return false;
            const bool stringType =
                value.type == regtype::kSz || value.type == regtype::kExpandSz || value.type == regtype::kMultiSz;
            value.data = unicode_ && stringType ? StringBytesToAnsi(*bytes) : std::move(*bytes);
        } else {
            return Fail(lineNo, "unknown value data: expected \"string\", dword:, hex:, hex(N): or -");
        }
        current_->SetValue(name, std::move(value));
        return true;
    }

    std::string label_;
    std::uint32_t codePage_;
    RegistryStore& store_;
    bool unicode_ = false;
    RegistryNode* current_ = nullptr;
    std::string error_;
};

}  // namespace

std::string ApplyRegFile(std::string_view bytes, std::string_view fileLabel, std::uint32_t codePage,
                         RegistryStore& store) {
    RegFileReader reader(fileLabel, codePage, store);
    std::string error = reader.Apply(bytes);
    store.SortAll();  // keys were added in file order; enumeration gives Windows' order
    return error;
}

}  // namespace kavlo::platform::sim
