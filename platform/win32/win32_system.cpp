#include "platform/win32/win32_system.h"

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <lm.h>

#include <algorithm>
#include <cstring>

#include "platform/message_table.h"
#include "platform/win32/win32_time.h"

namespace kavlo::platform::win32 {
namespace {

using NetServerGetInfoFunction = NET_API_STATUS(WINAPI*)(LMSTR, DWORD, LPBYTE*);
using NetShareEnumFunction = NET_API_STATUS(WINAPI*)(LMSTR, DWORD, LPBYTE*, DWORD, LPDWORD, LPDWORD, LPDWORD);
using NetApiBufferFreeFunction = NET_API_STATUS(WINAPI*)(LPVOID);

// ReadEventLog takes at most this many bytes a call.
constexpr std::size_t kMaxEventLogRead = 0x7FFFF;
constexpr DWORD kShareBatchBytes = 4096;

// netapi32 is loaded once and stays loaded, so the addresses taken from it stay valid.
HMODULE Netapi32Library() {
    static const UniqueModule library(::LoadLibraryA("netapi32.dll"));
    return library.get();
}

/// A buffer the network functions allocated; freed with NetApiBufferFree.
class NetBuffer {
public:
    NetBuffer() = default;
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;
    ~NetBuffer() { Reset(); }
    LPBYTE* Receive() {
        Reset();
        return &data_;
    }
    LPBYTE get() const { return data_; }

private:
    void Reset() {
        static const auto free = ProcAddress<NetApiBufferFreeFunction>(Netapi32Library(), "NetApiBufferFree");
        if (data_ != nullptr && free != nullptr) free(data_);
        data_ = nullptr;
    }
    LPBYTE data_ = nullptr;
};

std::string Narrow(const wchar_t* text) {
    if (text == nullptr || *text == 0) return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

class Win32EventLog final : public EventLog {
public:
    explicit Win32EventLog(UniqueEventLog log) : log_(std::move(log)) {}

    Result<std::string> ReadNewestFirst(std::size_t maxBytes) override {
        std::string buffer(std::clamp<std::size_t>(maxBytes, 1, kMaxEventLogRead), '\0');
        for (;;) {
            DWORD read = 0, needed = 0;
            if (::ReadEventLogA(log_.get(), EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0, buffer.data(),
                                static_cast<DWORD>(buffer.size()), &read, &needed)) {
                buffer.resize(std::min<std::size_t>(read, buffer.size()));
                return buffer;
            }
            const DWORD error = ::GetLastError();
            // The next record alone is larger than the buffer: grow to hold it.
            if (error == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
                buffer.assign(needed, '\0');
                continue;
            }
            return Result<std::string>::Failure(error);
        }
    }

private:
    UniqueEventLog log_;
};

class Win32MessageFile final : public MessageFile {
public:
    explicit Win32MessageFile(UniqueModule module) : module_(std::move(module)) {}
    Result<std::string> Format(std::uint32_t messageId) const override {
        UniqueLocalMemory text;
        const DWORD length = ::FormatMessageA(
            FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, module_.get(),
            messageId, 0, reinterpret_cast<LPSTR>(text.Receive()), 0, nullptr);
        if (length == 0) return Result<std::string>::Failure(::GetLastError());
        return std::string(static_cast<const char*>(text.get()), length);
    }

private:
    UniqueModule module_;
};

class Win32CryptoProvider final : public CryptoProvider {
public:
    explicit Win32CryptoProvider(UniqueCryptProvider provider) : provider_(std::move(provider)) {}

    Result<std::string> Name() override { return Text(PP_NAME, 1900); }
    Result<std::string> Container() override { return Text(PP_CONTAINER, 2000); }
    Result<std::uint32_t> Version() override { return Number(PP_VERSION); }
    Result<std::uint32_t> ImplementationType() override { return Number(PP_IMPTYPE); }
    Result<std::string> NextContainer(bool first) override {
        return Text(PP_ENUMCONTAINERS, 2000, first ? CRYPT_FIRST : 0);
    }
    Result<CryptoAlgorithm> NextAlgorithm(bool first) override {
        PROV_ENUMALGS record{};
        DWORD size = sizeof record;
        if (!::CryptGetProvParam(provider_.get(), PP_ENUMALGS, reinterpret_cast<BYTE*>(&record), &size,
                                 first ? CRYPT_FIRST : 0))
            return Result<CryptoAlgorithm>::Failure(::GetLastError());
        // A name longer than the record's field is cut at the field.
        const std::size_t length = std::min<std::size_t>(record.dwNameLen, sizeof record.szName);
        std::string name(record.szName, length);
        name.resize(std::strlen(name.c_str()));
        return CryptoAlgorithm{record.aiAlgid, record.dwBitLen, name};
    }

private:
    Result<std::string> Text(DWORD parameter, DWORD bufferBytes, DWORD flags = 0) {
        std::string buffer(bufferBytes, '\0');
        DWORD size = bufferBytes;
        if (!::CryptGetProvParam(provider_.get(), parameter, reinterpret_cast<BYTE*>(buffer.data()), &size, flags))
            return Result<std::string>::Failure(::GetLastError());
        buffer.resize(std::min<std::size_t>(size, buffer.size()));
        buffer.resize(std::strlen(buffer.c_str()));
        return buffer;
    }
    Result<std::uint32_t> Number(DWORD parameter) {
        DWORD value = 0, size = sizeof value;
        if (!::CryptGetProvParam(provider_.get(), parameter, reinterpret_cast<BYTE*>(&value), &size, 0))
            return Result<std::uint32_t>::Failure(::GetLastError());
        return static_cast<std::uint32_t>(value);
    }

    UniqueCryptProvider provider_;
};

}  // namespace

Result<std::uint32_t> ServerTypeFlags() {
    const auto getInfo = ProcAddress<NetServerGetInfoFunction>(Netapi32Library(), "NetServerGetInfo");
    if (Netapi32Library() == nullptr) return Result<std::uint32_t>::Failure(ERROR_MOD_NOT_FOUND);
    if (getInfo == nullptr) return Result<std::uint32_t>::Failure(ERROR_PROC_NOT_FOUND);
    NetBuffer buffer;
    const NET_API_STATUS status = getInfo(nullptr, 101, buffer.Receive());
    if (status != NERR_Success) return Result<std::uint32_t>::Failure(status);
    return static_cast<std::uint32_t>(reinterpret_cast<const SERVER_INFO_101*>(buffer.get())->sv101_type);
}

Result<std::vector<ShareInfo>> Shares() {
    using R = Result<std::vector<ShareInfo>>;
    const auto enumerate = ProcAddress<NetShareEnumFunction>(Netapi32Library(), "NetShareEnum");
    if (Netapi32Library() == nullptr) return R::Failure(ERROR_MOD_NOT_FOUND);
    if (enumerate == nullptr) return R::Failure(ERROR_PROC_NOT_FOUND);
    std::vector<ShareInfo> shares;
    DWORD resume = 0;
    for (bool first = true;; first = false) {
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        const NET_API_STATUS status = enumerate(nullptr, 2, buffer.Receive(), kShareBatchBytes, &read, &total, &resume);
        if (status != NERR_Success && status != ERROR_MORE_DATA) {
            if (first) return R::Failure(status);
            break;  // what the earlier batches gave stands
        }
        const auto* entries = reinterpret_cast<const SHARE_INFO_2*>(buffer.get());
        for (DWORD i = 0; entries != nullptr && i < read; ++i) {
            ShareInfo share;
            share.name = Narrow(entries[i].shi2_netname);
            share.remark = Narrow(entries[i].shi2_remark);
            share.maxUses = static_cast<std::int32_t>(entries[i].shi2_max_uses);
            share.currentUses = entries[i].shi2_current_uses;
            share.path = Narrow(entries[i].shi2_path);
            shares.push_back(std::move(share));
        }
        // A batch that reads nothing cannot make progress.
        if (status != ERROR_MORE_DATA || read == 0) break;
    }
    return shares;
}

Result<std::unique_ptr<EventLog>> OpenEventLogByName(std::string_view logName) {
    UniqueEventLog log(::OpenEventLogA(nullptr, std::string(logName).c_str()));
    if (!log) return Result<std::unique_ptr<EventLog>>::Failure(::GetLastError());
    return std::unique_ptr<EventLog>(std::make_unique<Win32EventLog>(std::move(log)));
}

Result<std::unique_ptr<MessageFile>> LoadMessageFile(std::string_view path) {
    UniqueModule module(::LoadLibraryExA(std::string(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return Result<std::unique_ptr<MessageFile>>::Failure(::GetLastError());
    return std::unique_ptr<MessageFile>(std::make_unique<Win32MessageFile>(std::move(module)));
}

Result<std::string> SystemMessage(std::uint32_t messageId) {
    UniqueLocalMemory text;
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                         nullptr, messageId, 0, reinterpret_cast<LPSTR>(text.Receive()), 0, nullptr);
    if (length == 0) return Result<std::string>::Failure(::GetLastError());
    return std::string(static_cast<const char*>(text.get()), length);
}

Result<std::unique_ptr<CryptoProvider>> AcquireCryptoProvider(std::uint32_t providerType) {
    UniqueCryptProvider provider;
    if (!::CryptAcquireContextA(provider.Receive(), nullptr, nullptr, providerType, 0))
        return Result<std::unique_ptr<CryptoProvider>>::Failure(::GetLastError());
    return std::unique_ptr<CryptoProvider>(std::make_unique<Win32CryptoProvider>(std::move(provider)));
}

}  // namespace kavlo::platform::win32
