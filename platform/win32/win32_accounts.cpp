#include "platform/win32/win32_accounts.h"

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <aclapi.h>

#include <cstring>

#include "platform/security/access_evaluation.h"
#include "platform/security/security_descriptor.h"
#include "platform/win32/last_error.h"
#include "platform/win32/system_libraries.h"

namespace kavlo::platform::win32 {
namespace {

using GetNamedSecurityInfoFunction = DWORD(WINAPI*)(LPSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*, PACL*,
                                                    PACL*, PSECURITY_DESCRIPTOR*);
using GetEffectiveRightsFunction = DWORD(WINAPI*)(PACL, PTRUSTEE_A, PACCESS_MASK);
using LookupAccountSidFunction = BOOL(WINAPI*)(LPCSTR, PSID, LPSTR, LPDWORD, LPSTR, LPDWORD, PSID_NAME_USE);

constexpr SECURITY_INFORMATION kOwnerGroupDacl =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
constexpr int kMaxAttempts = 8;  // sizes can grow between two calls

template <class Function>
Function Advapi(const char* name) {
    return ProcAddress<Function>(Advapi32Library(), name);
}

/// A copy of bytes in DWORD-aligned storage, as the security functions expect.
std::vector<DWORD> Aligned(std::string_view bytes) {
    std::vector<DWORD> out((bytes.size() + sizeof(DWORD) - 1) / sizeof(DWORD) + 1, 0);
    std::memcpy(out.data(), bytes.data(), bytes.size());
    return out;
}

std::string SidBytesOf(PSID sid) {
    if (!sid || !::IsValidSid(sid)) return {};
    return std::string(static_cast<const char*>(sid), ::GetLengthSid(sid));
}

Result<std::string> TokenInformation(TOKEN_INFORMATION_CLASS kind) {
    using R = Result<std::string>;
    UniqueToken token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return R::Failure(LastErrorOr());
    DWORD needed = 0;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::vector<DWORD> buffer(needed / sizeof(DWORD) + 1);
        const DWORD capacity = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
        if (::GetTokenInformation(token.get(), kind, buffer.data(), capacity, &needed))
            return std::string(reinterpret_cast<const char*>(buffer.data()), capacity);
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= capacity) return R::Failure(LastErrorOr());
    }
    return R::Failure(ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace

Result<std::string> NamedObjectSecurity(std::string_view name, int objectType) {
    using R = Result<std::string>;
    const auto getNamed = Advapi<GetNamedSecurityInfoFunction>("GetNamedSecurityInfoA");
    if (!getNamed) return R::Failure(ERROR_PROC_NOT_FOUND);
    std::string path(name);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = getNamed(path.data(), static_cast<SE_OBJECT_TYPE>(objectType), kOwnerGroupDacl, nullptr,
                                 nullptr, nullptr, nullptr, &descriptor);
    const UniqueLocalMemory owner(descriptor);
    if (error != ERROR_SUCCESS) return R::Failure(error);
    if (!descriptor) return R::Failure(ERROR_INVALID_SECURITY_DESCR);
    return std::string(static_cast<const char*>(descriptor), ::GetSecurityDescriptorLength(descriptor));
}

Result<AccountName> AccountOfSid(std::string_view sid) {
    using R = Result<AccountName>;
    const auto lookup = Advapi<LookupAccountSidFunction>("LookupAccountSidA");
    if (!lookup) return R::Failure(ERROR_PROC_NOT_FOUND);
    if (!SidLength(sid) || *SidLength(sid) != sid.size()) return R::Failure(ERROR_INVALID_SID);
    std::vector<DWORD> copy = Aligned(sid);
    DWORD nameChars = 200, domainChars = 200;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::string name(nameChars, '\0'), domain(domainChars, '\0');
        SID_NAME_USE use{};
        if (lookup(nullptr, copy.data(), name.data(), &nameChars, domain.data(), &domainChars, &use)) {
            name.resize(::strnlen(name.data(), name.size()));
            domain.resize(::strnlen(domain.data(), domain.size()));
            return AccountName{std::move(name), std::move(domain), static_cast<std::uint32_t>(use)};
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return R::Failure(LastErrorOr());
    }
    return R::Failure(ERROR_INSUFFICIENT_BUFFER);
}

Result<std::string> SidOfAccount(std::string_view name) {
    using R = Result<std::string>;
    const std::string account(name);
    DWORD sidBytes = 68, domainChars = 200;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::vector<DWORD> sid(sidBytes / sizeof(DWORD) + 1);
        std::string domain(domainChars, '\0');
        SID_NAME_USE use{};
        if (::LookupAccountNameA(nullptr, account.c_str(), sid.data(), &sidBytes, domain.data(), &domainChars, &use))
            return SidBytesOf(sid.data());
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return R::Failure(LastErrorOr());
    }
    return R::Failure(ERROR_INSUFFICIENT_BUFFER);
}

Result<std::uint32_t> TrusteeRights(std::string_view descriptor, const Trustee& trustee) {
    using R = Result<std::uint32_t>;
    const auto effective = Advapi<GetEffectiveRightsFunction>("GetEffectiveRightsFromAclA");
    if (!effective) return R::Failure(ERROR_PROC_NOT_FOUND);
    // The one parser decides whether the bytes are a descriptor before Windows reads them.
    auto model = ParseSecurityDescriptor(descriptor);
    if (!model) return R::Failure(model.error());
    if (!model->hasDacl) return kAllRights;
    std::vector<DWORD> copy = Aligned(descriptor);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(copy.data(), &present, &dacl, &defaulted)) return R::Failure(LastErrorOr());
    if (!present || !dacl) return kAllRights;
    TRUSTEE_A who{};
    std::vector<DWORD> sid;
    std::string name;
    if (trustee.form == Trustee::Form::Sid) {
        sid = Aligned(trustee.value);
        ::BuildTrusteeWithSidA(&who, sid.data());
    } else {
        name = trustee.value;
        ::BuildTrusteeWithNameA(&who, name.data());
    }
    ACCESS_MASK rights = 0;
    const DWORD error = effective(dacl, &who, &rights);
    if (error != ERROR_SUCCESS) return R::Failure(error);
    return static_cast<std::uint32_t>(rights);
}

Result<std::string> ProcessUserSid() {
    auto info = TokenInformation(TokenUser);
    if (!info) return Result<std::string>::Failure(info.error());
    const auto* user = reinterpret_cast<const TOKEN_USER*>(info->data());
    return SidBytesOf(user->User.Sid);
}

Result<std::vector<std::string>> ProcessPrivileges() {
    using R = Result<std::vector<std::string>>;
    auto info = TokenInformation(TokenPrivileges);
    if (!info) return R::Failure(info.error());
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(info->data());
    // The count must fit the bytes the token gave.
    const std::size_t room = (info->size() - offsetof(TOKEN_PRIVILEGES, Privileges)) / sizeof(LUID_AND_ATTRIBUTES);
    const std::size_t count = std::min<std::size_t>(privileges->PrivilegeCount, room);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        LUID luid = privileges->Privileges[i].Luid;
        DWORD chars = 64;
        for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
            std::string name(chars + 1, '\0');
            DWORD size = chars + 1;
            if (::LookupPrivilegeNameA(nullptr, &luid, name.data(), &size)) {
                name.resize(size);
                names.push_back(std::move(name));
                break;
            }
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= chars) break;
            chars = size;
        }
    }
    return names;
}

Result<std::string> PrivilegeDisplayName(std::string_view privilege) {
    using R = Result<std::string>;
    const std::string name(privilege);
    DWORD chars = 128;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::string display(chars + 1, '\0');
        DWORD size = chars + 1;
        DWORD language = 0;
        if (::LookupPrivilegeDisplayNameA(nullptr, name.c_str(), display.data(), &size, &language)) {
            display.resize(::strnlen(display.data(), display.size()));
            return display;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= chars) return R::Failure(LastErrorOr());
        chars = size;
    }
    return R::Failure(ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace kavlo::platform::win32
