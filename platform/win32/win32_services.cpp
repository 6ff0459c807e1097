#include "platform/win32/win32_services.h"

#include "platform/win32/handles.h"

#include <winsvc.h>

#include <vector>

#include "platform/win32/last_error.h"

namespace kavlo::platform::win32 {
namespace {

struct ServiceHandleTraits {
    using Value = SC_HANDLE;
    static Value Empty() { return nullptr; }
    static void Release(Value handle) { ::CloseServiceHandle(handle); }
};
using UniqueService = Unique<ServiceHandleTraits>;

// The configuration record is at most 8 KB; more is not believed.
constexpr DWORD kMaxConfigBytes = 8192;
// An enumeration batch larger than this is not believed.
constexpr DWORD kMaxBatchBytes = 1u << 20;

std::string TextOf(const char* text) { return text ? std::string(text) : std::string(); }

ServiceStatus StatusOf(const SERVICE_STATUS& s) {
    return ServiceStatus{s.dwServiceType, s.dwCurrentState, s.dwWin32ExitCode, s.dwServiceSpecificExitCode,
                         s.dwWaitHint};
}

class Win32ServiceHandle final : public ServiceHandle {
public:
    explicit Win32ServiceHandle(UniqueService service) : service_(std::move(service)) {}

    Result<ServiceStatus> QueryStatus() override {
        SERVICE_STATUS status{};
        if (!::QueryServiceStatus(service_.get(), &status)) return Result<ServiceStatus>::Failure(LastErrorOr());
        return StatusOf(status);
    }
    Result<ServiceStatus> Interrogate() override {
        SERVICE_STATUS status{};
        if (!::ControlService(service_.get(), SERVICE_CONTROL_INTERROGATE, &status))
            return Result<ServiceStatus>::Failure(LastErrorOr());
        return StatusOf(status);
    }
    Result<ServiceConfig> Config() override {
        using R = Result<ServiceConfig>;
        DWORD needed = 0;
        ::QueryServiceConfigA(service_.get(), nullptr, 0, &needed);
        if (needed == 0 || needed > kMaxConfigBytes) return R::Failure(LastErrorOr());
        std::vector<std::uint64_t> buffer((needed + 7) / 8);  // aligned for the record's pointers
        auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
        if (!::QueryServiceConfigA(service_.get(), config, static_cast<DWORD>(buffer.size() * 8), &needed))
            return R::Failure(LastErrorOr());
        return ServiceConfig{config->dwServiceType,
                             config->dwStartType,
                             config->dwErrorControl,
                             TextOf(config->lpBinaryPathName),
                             TextOf(config->lpLoadOrderGroup),
                             config->dwTagId,
                             TextOf(config->lpServiceStartName),
                             TextOf(config->lpDisplayName)};
    }
    kavlo::Status Start() override {
        if (!::StartServiceA(service_.get(), 0, nullptr)) return kavlo::Status(LastErrorOr());
        return {};
    }

private:
    UniqueService service_;
};

class Win32ServiceManager final : public ServiceManager {
public:
    explicit Win32ServiceManager(UniqueService manager) : manager_(std::move(manager)) {}

    Result<std::unique_ptr<ServiceHandle>> Open(std::string_view name, std::uint32_t access) override {
        using R = Result<std::unique_ptr<ServiceHandle>>;
        UniqueService service(::OpenServiceA(manager_.get(), std::string(name).c_str(), access));
        if (!service) return R::Failure(LastErrorOr());
        return std::unique_ptr<ServiceHandle>(std::make_unique<Win32ServiceHandle>(std::move(service)));
    }

    Result<std::string> DisplayName(std::string_view name) override {
        char buffer[256] = {};
        DWORD size = sizeof buffer;
        if (!::GetServiceDisplayNameA(manager_.get(), std::string(name).c_str(), buffer, &size))
            return Result<std::string>::Failure(LastErrorOr());
        return std::string(buffer);
    }

    Result<std::vector<ServiceEntry>> Services(std::uint32_t types, std::uint32_t stateGroup) override {
        using R = Result<std::vector<ServiceEntry>>;
        std::vector<ServiceEntry> out;
        std::vector<std::uint64_t> buffer(0x2048 / 8);
        DWORD resume = 0;
        for (;;) {
            DWORD needed = 0, count = 0;
            const BOOL ok = ::EnumServicesStatusA(manager_.get(), types, stateGroup,
                                                  reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()),
                                                  static_cast<DWORD>(buffer.size() * 8), &needed, &count, &resume);
            const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
            if (!ok && error != ERROR_MORE_DATA) return out.empty() ? R::Failure(error) : R(std::move(out));
            const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
            for (DWORD i = 0; i < count; ++i)
                out.push_back({TextOf(entries[i].lpServiceName), TextOf(entries[i].lpDisplayName),
                               StatusOf(entries[i].ServiceStatus)});
            if (ok) return out;
            // A single entry larger than the buffer: grow it to what the system asks.
            if (count == 0) {
                if (needed == 0 || needed > kMaxBatchBytes) return R::Failure(error);
                buffer.assign((needed + 7) / 8 + 1, 0);
            }
        }
    }

private:
    UniqueService manager_;
};

}  // namespace

Result<std::unique_ptr<ServiceManager>> OpenServiceManager(std::uint32_t access) {
    using R = Result<std::unique_ptr<ServiceManager>>;
    UniqueService manager(::OpenSCManagerA(nullptr, nullptr, access));
    if (!manager) return R::Failure(LastErrorOr());
    return std::unique_ptr<ServiceManager>(std::make_unique<Win32ServiceManager>(std::move(manager)));
}

}  // namespace kavlo::platform::win32
