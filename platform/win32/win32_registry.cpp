#include "platform/win32/win32_registry.h"

#include <algorithm>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/system_libraries.h"

namespace kavlo::platform::win32 {
namespace {

// The longest key name is 255 characters and the longest value name 16383; in a
// double-byte code page each character can take two bytes.
constexpr std::size_t kLongestNameBytes = 2 * 16383;
constexpr int kMaxAttempts = 8;  // values can grow while we read them

HKEY RootHandle(RegRoot root) {
    switch (root) {
        case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegRoot::Users: return HKEY_USERS;
    }
    return HKEY_LOCAL_MACHINE;
}

using RegDeleteTreeFunction = LONG(WINAPI*)(HKEY, LPCSTR);

/// True when the path names no key below the root ("", "\\", ...).
bool NamesRoot(std::string_view path) { return path.find_first_not_of('\\') == std::string_view::npos; }

/// The deepest keys first, without recursion: descend to a key without subkeys,
/// delete it, go back up to its parent, until the starting key itself is gone.
LONG DeleteTreeByWalk(HKEY root, const std::string& top) {
    constexpr std::size_t kKeyNameBytes = 2 * 255 + 1;  // longest key name, double-byte, and its terminator
    std::string path = top;
    while (true) {
        UniqueKey key;
        LONG rc = ::RegOpenKeyExA(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, key.Receive());
        if (rc != ERROR_SUCCESS) return rc;
        std::string child(kKeyNameBytes, '\0');
        DWORD length = static_cast<DWORD>(child.size());
        rc = ::RegEnumKeyExA(key.get(), 0, child.data(), &length, nullptr, nullptr, nullptr, nullptr);
        key.Reset();
        if (rc == ERROR_SUCCESS) {
            path += '\\';
            path.append(child.data(), std::min<std::size_t>(length, child.size() - 1));
            continue;
        }
        if (rc != ERROR_NO_MORE_ITEMS) return rc;
        rc = ::RegDeleteKeyA(root, path.c_str());
        if (rc != ERROR_SUCCESS) return rc;
        if (path.size() <= top.size()) return ERROR_SUCCESS;
        path.resize(path.rfind('\\'));
    }
}

DWORD ClampToDword(std::size_t size) { return static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD - 1)); }

/// Room for a name of at most maxChars characters plus its terminator.
std::string NameBuffer(std::size_t maxChars) { return std::string(std::min(maxChars, kLongestNameBytes) + 1, '\0'); }

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(UniqueKey key) : key_(std::move(key)) {}

    Result<RegValue> QueryValue(std::string_view name, std::size_t bufferSize) const override {
        const std::string valueName(name);
        DWORD type = REG_NONE;
        DWORD needed = 0;
        LONG rc = ::RegQueryValueExA(key_.get(), valueName.c_str(), nullptr, &type, nullptr, &needed);
        if (rc != ERROR_SUCCESS) return Result<RegValue>::Failure(static_cast<WinError>(rc));

        // The system's answer decides success; the first size is only a hint
        // (for strings it can be larger than the ANSI data).
        std::size_t capacity = std::min<std::size_t>(bufferSize, needed);
        for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
            std::string data(capacity + 1, '\0');
            DWORD size = ClampToDword(capacity);
            rc = ::RegQueryValueExA(key_.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                    &size);
            if (rc == ERROR_MORE_DATA && capacity < bufferSize) {
                capacity = std::min<std::size_t>(bufferSize, std::max<std::size_t>(size, capacity * 2 + 16));
                continue;
            }
            if (rc != ERROR_SUCCESS) return Result<RegValue>::Failure(static_cast<WinError>(rc));
            data.resize(std::min<std::size_t>(size, capacity));
            return RegValue{type, std::move(data)};
        }
        return Result<RegValue>::Failure(ERROR_MORE_DATA);
    }

    Result<std::string> EnumSubkey(std::uint32_t index, std::size_t maxNameChars) const override {
        std::string name = NameBuffer(maxNameChars);
        DWORD length = ClampToDword(name.size());
        const LONG rc = ::RegEnumKeyExA(key_.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) return Result<std::string>::Failure(static_cast<WinError>(rc));
        name.resize(std::min<std::size_t>(length, name.size() - 1));
        return name;
    }

    Result<NamedRegValue> EnumValue(std::uint32_t index, std::size_t maxNameChars,
                                    std::size_t maxDataBytes) const override {
        DWORD longestData = 0;
        LONG rc = ::RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     &longestData, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) return Result<NamedRegValue>::Failure(static_cast<WinError>(rc));

        std::size_t capacity = std::min<std::size_t>(maxDataBytes, longestData);
        for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
            std::string name = NameBuffer(maxNameChars);
            DWORD nameLength = ClampToDword(name.size());
            std::string data(capacity + 1, '\0');
            DWORD size = ClampToDword(capacity);
            DWORD type = REG_NONE;
            rc = ::RegEnumValueA(key_.get(), index, name.data(), &nameLength, nullptr, &type,
                                 reinterpret_cast<BYTE*>(data.data()), &size);
            if (rc == ERROR_MORE_DATA && capacity < maxDataBytes) {
                // Either the name or the data did not fit; only the data buffer
                // can still grow within the caller's limit.
                capacity = std::min<std::size_t>(maxDataBytes, std::max<std::size_t>(size, capacity * 2 + 16));
                continue;
            }
            if (rc != ERROR_SUCCESS) return Result<NamedRegValue>::Failure(static_cast<WinError>(rc));
            name.resize(std::min<std::size_t>(nameLength, name.size() - 1));
            data.resize(std::min<std::size_t>(size, capacity));
            return NamedRegValue{std::move(name), RegValue{type, std::move(data)}};
        }
        return Result<NamedRegValue>::Failure(ERROR_MORE_DATA);
    }

    Result<std::string> SecurityDescriptor() const override {
        const SECURITY_INFORMATION wanted =
            OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
        DWORD size = 256;
        for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
            std::string descriptor(size, '\0');
            DWORD capacity = size;
            const LONG rc = ::RegGetKeySecurity(key_.get(), wanted, descriptor.data(), &capacity);
            if (rc == ERROR_INSUFFICIENT_BUFFER && capacity > size) {
                size = capacity;
                continue;
            }
            if (rc != ERROR_SUCCESS) return Result<std::string>::Failure(static_cast<WinError>(rc));
            descriptor.resize(std::min<DWORD>(capacity, size));
            return descriptor;
        }
        return Result<std::string>::Failure(ERROR_INSUFFICIENT_BUFFER);
    }

    Status SetString(std::string_view name, std::string_view value) override {
        if (value.size() >= MAXDWORD) return Status(ERROR_INVALID_PARAMETER);
        const std::string valueName(name);
        // RegSetValueExA stores one byte more than asked when the byte after a
        // string's last character is a zero (it assumes a forgotten terminator).
        // A non-zero byte there keeps the stored size exactly the caller's.
        std::string data;
        data.reserve(value.size() + 1);
        data.append(value).push_back('\x01');
        const LONG rc = ::RegSetValueExA(key_.get(), valueName.c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(value.size()));
        return Status(static_cast<WinError>(rc));
    }

private:
    UniqueKey key_;
};

}  // namespace

Result<std::unique_ptr<RegistryKey>> OpenRegistryKey(RegRoot root, std::string_view path, std::uint32_t access) {
    const std::string keyPath(path);
    UniqueKey key;
    const LONG rc = ::RegOpenKeyExA(RootHandle(root), keyPath.c_str(), 0, access, key.Receive());
    if (rc != ERROR_SUCCESS) return Result<std::unique_ptr<RegistryKey>>::Failure(static_cast<WinError>(rc));
    return std::unique_ptr<RegistryKey>(std::make_unique<Win32RegistryKey>(std::move(key)));
}

Status DeleteRegistryKey(RegRoot root, std::string_view path) {
    // Both calls delete everything below the key they are given: never a root.
    if (NamesRoot(path)) return Status(ERROR_INVALID_PARAMETER);
    const std::string keyPath(path);
    static const auto deleteTree = ProcAddress<RegDeleteTreeFunction>(Advapi32Library(), "RegDeleteTreeA");
    if (deleteTree != nullptr) return Status(static_cast<WinError>(deleteTree(RootHandle(root), keyPath.c_str())));
    return Status(static_cast<WinError>(DeleteTreeByWalk(RootHandle(root), keyPath)));
}

Status DeleteRegistryKeyByWalk(RegRoot root, std::string_view path) {
    if (NamesRoot(path)) return Status(ERROR_INVALID_PARAMETER);
    return Status(static_cast<WinError>(DeleteTreeByWalk(RootHandle(root), std::string(path))));
}

Result<std::unique_ptr<RegistryKey>> CreateRegistryKey(RegRoot root, std::string_view path) {
    const std::string keyPath(path);
    char keyClass[] = "Key";
    UniqueKey key;
    DWORD disposition = 0;
    const LONG rc = ::RegCreateKeyExA(RootHandle(root), keyPath.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, key.Receive(), &disposition);
    if (rc != ERROR_SUCCESS) return Result<std::unique_ptr<RegistryKey>>::Failure(static_cast<WinError>(rc));
    return std::unique_ptr<RegistryKey>(std::make_unique<Win32RegistryKey>(std::move(key)));
}

}  // namespace kavlo::platform::win32
