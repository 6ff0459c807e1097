#include "platform/win32/win32_security.h"

#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/last_error.h"
#include "platform/win32/system_libraries.h"

namespace kavlo::platform::win32 {
namespace {

using GetFileSecurityFunction = BOOL(WINAPI*)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
using ImpersonateSelfFunction = BOOL(WINAPI*)(SECURITY_IMPERSONATION_LEVEL);
using OpenThreadTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, BOOL, PHANDLE);
using AccessCheckFunction = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, HANDLE, DWORD, PGENERIC_MAPPING, PPRIVILEGE_SET,
                                          LPDWORD, LPDWORD, LPBOOL);
using RevertToSelfFunction = BOOL(WINAPI*)();

constexpr SECURITY_INFORMATION kOwnerGroupDacl =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;  // 7
constexpr DWORD kMaximumAllowed = 0x2000000;
// The generic rights of files as the rights letters read them; "all" includes
// the bits 0x200 of the specific rights, unlike FILE_ALL_ACCESS (0x1F01FF).
constexpr GENERIC_MAPPING kFileMapping = {0x120089, 0x120116, 0x1200A0, 0x1F03FF};
constexpr int kMaxAttempts = 8;  // a descriptor can grow between two calls

struct SecurityFunctions {
    GetFileSecurityFunction getFileSecurity = nullptr;
    ImpersonateSelfFunction impersonateSelf = nullptr;
    OpenThreadTokenFunction openThreadToken = nullptr;
    AccessCheckFunction accessCheck = nullptr;
    RevertToSelfFunction revertToSelf = nullptr;

    bool complete() const {
        return getFileSecurity && impersonateSelf && openThreadToken && accessCheck && revertToSelf;
    }
};

const SecurityFunctions& Functions() {
    static const SecurityFunctions functions = [] {
        const HMODULE advapi = Advapi32Library();
        SecurityFunctions f;
        f.getFileSecurity = ProcAddress<GetFileSecurityFunction>(advapi, "GetFileSecurityA");
        f.impersonateSelf = ProcAddress<ImpersonateSelfFunction>(advapi, "ImpersonateSelf");
        f.openThreadToken = ProcAddress<OpenThreadTokenFunction>(advapi, "OpenThreadToken");
        f.accessCheck = ProcAddress<AccessCheckFunction>(advapi, "AccessCheck");
        f.revertToSelf = ProcAddress<RevertToSelfFunction>(advapi, "RevertToSelf");
        return f;
    }();
    return functions;
}

/// The thread impersonates its own process for as long as this object lives.
class SelfImpersonation {
public:
    explicit SelfImpersonation(const SecurityFunctions& functions)
        : revert_(functions.revertToSelf), active_(functions.impersonateSelf(SecurityIdentification) != FALSE) {}
    SelfImpersonation(const SelfImpersonation&) = delete;
    SelfImpersonation& operator=(const SelfImpersonation&) = delete;
    ~SelfImpersonation() {
        if (active_) revert_();
    }
    bool active() const { return active_; }

private:
    RevertToSelfFunction revert_;
    bool active_;
};

/// The owner, group and DACL of a file, in a buffer grown to the size the system asks for.
Result<std::vector<DWORD>> FileDescriptor(const SecurityFunctions& functions, const std::string& path) {
    using R = Result<std::vector<DWORD>>;
    DWORD bytes = 1024;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        // DWORD elements keep the descriptor aligned as the security functions expect.
        std::vector<DWORD> descriptor((bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
        DWORD needed = 0;
        if (functions.getFileSecurity(path.c_str(), kOwnerGroupDacl, descriptor.data(), bytes, &needed))
            return descriptor;
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= bytes) return R::Failure(LastErrorOr());
        bytes = needed;
    }
    return R::Failure(ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace

Result<std::uint32_t> EffectiveAccess(std::string_view path) {
    using R = Result<std::uint32_t>;
    const SecurityFunctions& functions = Functions();
    if (!functions.complete()) return R::Failure(ERROR_PROC_NOT_FOUND);

    auto descriptor = FileDescriptor(functions, std::string(path));
    if (!descriptor) return R::Failure(descriptor.error());

    const SelfImpersonation impersonation(functions);
    if (!impersonation.active()) return R::Failure(LastErrorOr());
    UniqueToken token;
    if (!functions.openThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.Receive()))
        return R::Failure(LastErrorOr());

    GENERIC_MAPPING mapping = kFileMapping;
    DWORD privilegeBytes = sizeof(PRIVILEGE_SET);
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::vector<DWORD> privileges((privilegeBytes + sizeof(DWORD) - 1) / sizeof(DWORD));
        DWORD length = privilegeBytes;
        DWORD granted = 0;
        BOOL accessStatus = FALSE;
        if (functions.accessCheck(descriptor->data(), token.get(), kMaximumAllowed, &mapping,
                                  reinterpret_cast<PPRIVILEGE_SET>(privileges.data()), &length, &granted,
                                  &accessStatus)) {
            // A refused check is an answer too: nothing is granted.
            return accessStatus ? static_cast<std::uint32_t>(granted) : 0u;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= privilegeBytes) return R::Failure(LastErrorOr());
        privilegeBytes = length;
    }
    return R::Failure(ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace kavlo::platform::win32
