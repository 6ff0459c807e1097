// The logged-on user and the user's groups through the network management
// functions of netapi32, which is looked up at run time.

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <lm.h>

#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_accounts.h"

namespace kavlo::platform::win32 {
namespace {

using WkstaUserGetInfoFunction = NET_API_STATUS(WINAPI*)(LPWSTR, DWORD, LPBYTE*);
using UserGetGroupsFunction = NET_API_STATUS(WINAPI*)(LPCWSTR, LPCWSTR, DWORD, LPBYTE*, DWORD, LPDWORD, LPDWORD);
using UserGetLocalGroupsFunction = NET_API_STATUS(WINAPI*)(LPCWSTR, LPCWSTR, DWORD, DWORD, LPBYTE*, DWORD, LPDWORD,
                                                           LPDWORD);
using ApiBufferFreeFunction = NET_API_STATUS(WINAPI*)(LPVOID);

constexpr DWORD kIncludeIndirect = 1;  // LG_INCLUDE_INDIRECT

template <class Function>
Function Netapi(const char* name) {
    return ProcAddress<Function>(Netapi32Library(), name);
}

/// A buffer the network functions allocated, freed with NetApiBufferFree.
class NetBuffer {
public:
    NetBuffer() : free_(Netapi<ApiBufferFreeFunction>("NetApiBufferFree")) {}
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;
    ~NetBuffer() {
        if (data_ && free_) free_(data_);
    }
    LPBYTE* Receive() { return &data_; }
    LPBYTE get() const { return data_; }
    bool usable() const { return free_ != nullptr; }

private:
    ApiBufferFreeFunction free_;
    LPBYTE data_ = nullptr;
};

std::string Narrow(LPCWSTR text) {
    if (!text) return {};
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), bytes, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(bytes - 1));
    return out;
}

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), chars);
    return out;
}

}  // namespace

Result<WorkstationUser> LoggedOnUser() {
    using R = Result<WorkstationUser>;
    const auto getInfo = Netapi<WkstaUserGetInfoFunction>("NetWkstaUserGetInfo");
    NetBuffer buffer;
    if (!getInfo || !buffer.usable()) return R::Failure(ERROR_PROC_NOT_FOUND);
    const NET_API_STATUS status = getInfo(nullptr, 1, buffer.Receive());
    if (status != NERR_Success) return R::Failure(status);
    if (!buffer.get()) return R::Failure(ERROR_INVALID_DATA);
    const auto* info = reinterpret_cast<const WKSTA_USER_INFO_1*>(buffer.get());
    return WorkstationUser{Narrow(info->wkui1_username), Narrow(info->wkui1_logon_domain),
                           Narrow(info->wkui1_oth_domains), Narrow(info->wkui1_logon_server)};
}

Result<std::vector<std::string>> UserGroups(std::string_view server, std::string_view user, bool local) {
    using R = Result<std::vector<std::string>>;
    const auto getGroups = Netapi<UserGetGroupsFunction>("NetUserGetGroups");
    const auto getLocalGroups = Netapi<UserGetLocalGroupsFunction>("NetUserGetLocalGroups");
    NetBuffer buffer;
    if ((local ? !getLocalGroups : !getGroups) || !buffer.usable()) return R::Failure(ERROR_PROC_NOT_FOUND);
    const std::wstring serverName = Widen(server);
    const std::wstring userName = Widen(user);
    DWORD read = 0, total = 0;
    const NET_API_STATUS status = local ? getLocalGroups(serverName.c_str(), userName.c_str(), 0, kIncludeIndirect,
                                                         buffer.Receive(), MAX_PREFERRED_LENGTH, &read, &total)
                                        : getGroups(serverName.c_str(), userName.c_str(), 0, buffer.Receive(),
                                                    MAX_PREFERRED_LENGTH, &read, &total);
    if (status != NERR_Success) return R::Failure(status);
    std::vector<std::string> names;
    // Both level-0 records are one name pointer each.
    const auto* entries = reinterpret_cast<const LPWSTR*>(buffer.get());
    for (DWORD i = 0; entries && i < read; ++i) names.push_back(Narrow(entries[i]));
    return names;
}

}  // namespace kavlo::platform::win32
