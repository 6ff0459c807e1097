#pragma once
// Owners of the Windows resources the Win32 backend opens: each one releases its
// resource exactly once, in its destructor, and can only be moved.

#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <utility>

namespace kavlo::platform::win32 {

/// Owns one resource value described by Traits (its empty value and how it is released).
template <class Traits>
class Unique {
public:
    using Value = typename Traits::Value;

    Unique() = default;
    explicit Unique(Value value) : value_(value) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(std::exchange(other.value_, Traits::Empty())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.value_, Traits::Empty()));
        return *this;
    }
    ~Unique() { Reset(); }

    Value get() const { return value_; }
    bool valid() const { return value_ != Traits::Empty(); }
    explicit operator bool() const { return valid(); }

    /// Releases the current value and returns where a new one can be written (for
    /// functions that hand out resources through an out-parameter).
    Value* Receive() {
        Reset();
        return &value_;
    }
    /// Releases the current value and takes ownership of `value`.
    void Reset(Value value = Traits::Empty()) {
        if (valid()) Traits::Release(value_);
        value_ = value;
    }
    /// Gives up ownership without releasing.
    Value Release() { return std::exchange(value_, Traits::Empty()); }

private:
    Value value_ = Traits::Empty();
};

struct RegistryKeyTraits {
    using Value = HKEY;
    static Value Empty() { return nullptr; }
    static void Release(Value key) { ::RegCloseKey(key); }
};

struct FileHandleTraits {
    using Value = HANDLE;
    static Value Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Value handle) { ::CloseHandle(handle); }
};

struct FindHandleTraits {
    using Value = HANDLE;
    static Value Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Value handle) { ::FindClose(handle); }
};

struct ModuleTraits {
    using Value = HMODULE;
    static Value Empty() { return nullptr; }
    static void Release(Value module) { ::FreeLibrary(module); }
};

struct LocalMemoryTraits {
    using Value = HLOCAL;
    static Value Empty() { return nullptr; }
    static void Release(Value memory) { ::LocalFree(memory); }
};

/// An access token; its empty value is null, not INVALID_HANDLE_VALUE.
struct TokenTraits {
    using Value = HANDLE;
    static Value Empty() { return nullptr; }
    static void Release(Value handle) { ::CloseHandle(handle); }
};

struct EventLogTraits {
    using Value = HANDLE;
    static Value Empty() { return nullptr; }
    static void Release(Value log) { ::CloseEventLog(log); }
};

struct CryptProviderTraits {
    using Value = HCRYPTPROV;
    static Value Empty() { return 0; }
    static void Release(Value provider) { ::CryptReleaseContext(provider, 0); }
};

/// An opened (never a predefined root) registry key.
using UniqueKey = Unique<RegistryKeyTraits>;
/// A handle from CreateFile; INVALID_HANDLE_VALUE is its empty value.
using UniqueFile = Unique<FileHandleTraits>;
/// A search handle from FindFirstFile.
using UniqueFind = Unique<FindHandleTraits>;
/// A library loaded with LoadLibrary (not one from GetModuleHandle).
using UniqueModule = Unique<ModuleTraits>;
/// A buffer the system allocated with LocalAlloc (FormatMessage's ALLOCATE_BUFFER).
using UniqueLocalMemory = Unique<LocalMemoryTraits>;
/// An access token from OpenProcessToken or OpenThreadToken.
using UniqueToken = Unique<TokenTraits>;

/// An event log from OpenEventLog.
using UniqueEventLog = Unique<EventLogTraits>;
/// A cryptographic provider context from CryptAcquireContext.
using UniqueCryptProvider = Unique<CryptProviderTraits>;

/// Windows sockets started for the lifetime of this object.
class WinsockSession {
public:
    explicit WinsockSession(WORD version) : error_(::WSAStartup(version, &data_)) {}
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    ~WinsockSession() {
        if (error_ == 0) ::WSACleanup();
    }
    /// 0 when sockets started, else the WSAStartup error.
    int error() const { return error_; }

private:
    WSADATA data_{};
    int error_;
};

/// The address of an exported function, typed; null when the module lacks it.
template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    // Going through a plain function pointer type keeps the cast well-defined and
    // silences the function-type mismatch warning for FARPROC.
    auto address = reinterpret_cast<void (*)()>(::GetProcAddress(module, name));
    return reinterpret_cast<Function>(address);
}

}  // namespace kavlo::platform::win32
