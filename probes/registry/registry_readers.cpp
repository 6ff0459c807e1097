#include "probes/registry/registry_readers.h"

#include <cstdint>
#include <cstdio>

#include "engine/path_tokens.h"
#include "engine/text_util.h"

namespace kavlo {
namespace {

constexpr std::size_t kReaderBufferBytes = 400;
constexpr std::size_t kSubkeyNameChars = 400;
constexpr std::size_t kErrorTextChars = 1024;

std::uint32_t DwordOf(const std::string& data) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
        v |= std::uint32_t{static_cast<unsigned char>(data[i])} << (8 * i);
    return v;
}

std::string_view UpToZero(std::string_view data) { return data.substr(0, data.find('\0')); }

}  // namespace

std::optional<platform::RegRoot> RootOf(std::string_view rootWord) {
    if (Contains(rootWord, "HKLM")) return platform::RegRoot::LocalMachine;
    if (Contains(rootWord, "HKCU")) return platform::RegRoot::CurrentUser;
    if (Contains(rootWord, "HKCR")) return platform::RegRoot::ClassesRoot;
    return std::nullopt;
}

RegistryPath SplitKeyPath(std::string_view path) {
    RegistryPath split;
    const auto slash = path.find('\\');
    split.rootWord = slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
    split.root = RootOf(split.rootWord);
    // Every occurrence of the root word goes, not only the leading one; then the
    // separator that followed the root.
    split.keyPath = ReplaceAll(path, split.rootWord, "");
    if (!split.keyPath.empty()) split.keyPath.erase(0, 1);
    return split;
}

RegistryPath SplitValuePath(std::string_view path) {
    RegistryPath split = SplitKeyPath(path);
    const auto last = split.keyPath.rfind('\\');
    if (last == std::string::npos) {
        split.valueName = std::move(split.keyPath);
        split.keyPath.clear();
    } else {
        split.valueName = split.keyPath.substr(last + 1);
        split.keyPath.erase(last);
    }
    return split;
}

Result<std::unique_ptr<platform::RegistryKey>> OpenRegistryKey(platform::Machine& machine,
                                                               std::optional<platform::RegRoot> root,
                                                               std::string_view keyPath) {
    if (!root) return Result<std::unique_ptr<platform::RegistryKey>>::Failure(err::kInvalidHandle);
    return machine.OpenKey(*root, keyPath, platform::kKeyRead);
}

std::string FailureText(platform::Machine& machine, WinError error) {
    if (error == err::kFileNotFound) return "Not Present";
    std::string text = machine.ErrorText(error);
    if (text.size() > kErrorTextChars) text.resize(kErrorTextChars);
    return text;
}

Result<std::string> ValueNameAt(const platform::RegistryKey& key, std::uint32_t index) {
    // The registry limits value names to 16,383 characters; the data needs no
    // limit of its own, since it already lies in the registry.
    constexpr std::size_t kMaxValueNameChars = 16383;
    Result<platform::NamedRegValue> value = key.EnumValue(index, kMaxValueNameChars, SIZE_MAX);
    if (!value.ok()) return Result<std::string>::Failure(value.error());
    return std::move(value->name);
}

std::string MoreDataText(platform::Machine& machine) { return machine.ErrorText(err::kMoreData); }

std::string ResolveWildcard(platform::Machine& machine, std::optional<platform::RegRoot> root,
                            std::string_view keyPath) {
    const auto star = keyPath.find('*');
    if (star == std::string_view::npos) return std::string(keyPath);
    auto next = keyPath.find('\\', star);
    if (next == std::string_view::npos) next = keyPath.size();
    const auto slash = keyPath.rfind('\\', star);
    // A wildcard in the first key name has no parent key: the prefix then starts
    // at the beginning of the path and the candidates are the root's own subkeys.
    const bool topLevel = slash == std::string_view::npos;
    const std::string_view prefix = topLevel ? keyPath.substr(0, star) : keyPath.substr(slash + 1, star - slash - 1);
    const std::string_view parent = topLevel ? std::string_view() : keyPath.substr(0, slash);
    const std::string_view tail = keyPath.substr(next);
    auto key = OpenRegistryKey(machine, root, parent);
    if (!key.ok() || !*key) return std::string(keyPath);
    for (std::uint32_t index = 0;; ++index) {
        Result<std::string> name = (*key)->EnumSubkey(index, kSubkeyNameChars);
        if (!name.ok()) break;
        if (!StartsWith(*name, prefix)) continue;
        std::string resolved(parent);
        if (!topLevel) resolved.push_back('\\');
        resolved.append(*name);
        resolved.append(tail);
        return resolved;
    }
    return std::string(keyPath);
}

std::string ReadValueText(AppContext& context, std::string_view path) {
    platform::Machine& machine = context.machine;
    const RegistryPath split = SplitValuePath(path);
    const std::string keyPath = ResolveWildcard(machine, split.root, split.keyPath);
    auto key = OpenRegistryKey(machine, split.root, keyPath);
    if (!key.ok()) return FailureText(machine, key.error());
    Result<platform::RegValue> value = (*key)->QueryValue(split.valueName, kReaderBufferBytes);
    if (!value.ok()) return FailureText(machine, value.error());
    return FormatValueText(*value, false, false);
}

std::uint32_t ReadValueNumber(AppContext& context, std::string_view path) {
    const RegistryPath split = SplitValuePath(SubstituteVars(context, path));
    auto key = OpenRegistryKey(context.machine, split.root, split.keyPath);
    if (!key.ok()) return 0;
    Result<platform::RegValue> value = (*key)->QueryValue(split.valueName, sizeof(std::uint32_t));
    if (!value.ok() || value->type != platform::regtype::kDword) return 0;
    return DwordOf(value->data);
}

int ValueExists(platform::Machine& machine, std::optional<platform::RegRoot> root, std::string_view keyPath,
                std::string_view valueName) {
    auto key = OpenRegistryKey(machine, root, keyPath);
    if (!key.ok()) return 0;
    return (*key)->QueryValue(valueName, kReaderBufferBytes).ok() ? 1 : 0;
}

int KeyExists(platform::Machine& machine, std::optional<platform::RegRoot> root, std::string_view keyPath) {
    return OpenRegistryKey(machine, root, keyPath).ok() ? 1 : 0;
}

std::string FormatValueText(const platform::RegValue& value, bool hexDword, bool allStrings) {
    const std::string_view data = value.data;
    switch (value.type) {
        case platform::regtype::kDword: {
            const std::uint32_t v = DwordOf(value.data);
            char buffer[16];
            if (hexDword) std::snprintf(buffer, sizeof buffer, "0x%x", static_cast<unsigned>(v));
            else std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(static_cast<std::int32_t>(v)));
            return buffer;
        }
        case platform::regtype::kBinary: {
            static constexpr char kHex[] = "0123456789abcdef";
            std::string text = "0x";
            for (std::size_t i = 0; i < data.size(); ++i) {
                if (i > 0) text.push_back(' ');
                const auto byte = static_cast<unsigned char>(data[i]);
                text.push_back(kHex[byte >> 4]);
                text.push_back(kHex[byte & 0xF]);
            }
            return text;
        }
        case platform::regtype::kMultiSz: {
            if (!allStrings) return std::string(UpToZero(data));
            std::string text;
            std::size_t start = 0;
            while (start < data.size()) {
                const std::string_view item = UpToZero(data.substr(start));
                if (item.empty()) break;  // the empty string that ends the list
                if (!text.empty()) text.push_back('\n');
                text.append(item);
                start += item.size() + 1;
            }
            return text;
        }
        default: return std::string(UpToZero(data));
    }
}

}  // namespace kavlo
