#include "platform/win32/win32_machine.h"

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <shlobj.h>

#include <cstring>
#include <mutex>

#include "platform/win32/growing_buffer.h"
#include "platform/win32/win32_clock_and_swap.h"
#include "platform/win32/win32_accounts.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_hardware.h"
#include "platform/device_index.h"
#include "platform/win32/win32_network.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_remote_control.h"
#include "platform/win32/win32_security.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_time.h"
#include "platform/win32/win32_version.h"

namespace kavlo::platform::win32 {
namespace {

using SHGetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

/// The text, or "" when the call failed.
std::string TextOrEmpty(Result<std::string> text) { return text.ok() ? std::move(text).value() : std::string(); }

/// A Windows error code for a failed HRESULT.
WinError ErrorOfHresult(HRESULT result) {
    if (HRESULT_FACILITY(result) == FACILITY_WIN32 && HRESULT_CODE(result) != 0) {
        return static_cast<WinError>(HRESULT_CODE(result));
    }
    if (result == E_INVALIDARG) return ERROR_INVALID_PARAMETER;
    if (result == E_OUTOFMEMORY) return ERROR_NOT_ENOUGH_MEMORY;
    return ERROR_GEN_FAILURE;
}

class Win32Machine final : public Machine {
public:
    Result<std::unique_ptr<RegistryKey>> OpenKey(RegRoot root, std::string_view path, std::uint32_t access) override {
        return OpenRegistryKey(root, path, access);
    }
    Result<std::unique_ptr<RegistryKey>> CreateKey(RegRoot root, std::string_view path) override {
        return CreateRegistryKey(root, path);
    }
    Status DeleteKey(RegRoot root, std::string_view path) override { return DeleteRegistryKey(root, path); }

    Result<std::vector<FindEntry>> FindFiles(std::string_view pattern) override { return win32::FindFiles(pattern); }
    Result<std::unique_ptr<InputFile>> OpenForRead(std::string_view path) override { return win32::OpenForRead(path); }
    Result<std::unique_ptr<VersionResource>> FileVersion(std::string_view path) override {
        return win32::FileVersion(path);
    }
    std::uint32_t DriveType(std::string_view root) override { return ::GetDriveTypeA(DriveRoot(root).c_str()); }
    Result<VolumeInfo> Volume(std::string_view root) override { return win32::Volume(root); }
    Result<DiskSpace> FreeSpace(std::string_view root) override { return win32::FreeSpace(root); }
    std::vector<std::string> LogicalDrives() override { return win32::LogicalDrives(); }
    Result<std::string> ShortPathName(std::string_view path) override { return win32::ShortPathName(path); }
    Result<std::uint32_t> EffectiveAccess(std::string_view path) override { return win32::EffectiveAccess(path); }

    OsVersion Version() override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        OsVersion version;
        if (!::GetVersionExA(&info)) return version;
        version.platform = info.dwPlatformId;
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
        version.build = info.dwBuildNumber;
        version.servicePack.assign(info.szCSDVersion, ::strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
        return version;
    }

    std::string WindowsDirectory() override {
        return TextOrEmpty(
            ReadGrowingText([](char* buffer, DWORD size) { return ::GetWindowsDirectoryA(buffer, size); }));
    }
    std::string SystemDirectory() override {
        return TextOrEmpty(
            ReadGrowingText([](char* buffer, DWORD size) { return ::GetSystemDirectoryA(buffer, size); }));
    }

    std::string ComputerName() override {
        return TextOrEmpty(ReadGrowingText(
            [](char* buffer, DWORD capacity) -> DWORD {
                DWORD size = capacity;
                if (::GetComputerNameA(buffer, &size)) return size;
                // On overflow the size asked for includes the terminator.
                return ::GetLastError() == ERROR_BUFFER_OVERFLOW ? std::max(size, capacity) : 0;
            },
            MAX_COMPUTERNAME_LENGTH + 1));
    }

    Result<std::string> HostName() override {
        WinsockSession sockets(MAKEWORD(1, 1));
        if (sockets.error() != 0) return Result<std::string>::Failure(static_cast<WinError>(sockets.error()));
        // Host names are at most 255 characters.
        char name[256] = {};
        if (::gethostname(name, sizeof name) != 0) {
            return Result<std::string>::Failure(static_cast<WinError>(::WSAGetLastError()));
        }
        return std::string(name, ::strnlen(name, sizeof name));
    }

    std::string CurrentDirectory() override {
        return TextOrEmpty(
            ReadGrowingText([](char* buffer, DWORD size) { return ::GetCurrentDirectoryA(size, buffer); }));
    }

    std::optional<std::string> Environment(std::string_view name) override {
        const std::string variable(name);
        auto value = ReadGrowingText(
            [&](char* buffer, DWORD size) { return ::GetEnvironmentVariableA(variable.c_str(), buffer, size); });
        if (!value) return std::nullopt;
        return std::move(value).value();
    }

    std::string ExpandEnvironment(std::string_view text) override {
        const std::string source(text);
        auto expanded = ReadGrowingText(
            [&](char* buffer, DWORD size) { return ::ExpandEnvironmentStringsA(source.c_str(), buffer, size); },
            static_cast<DWORD>(std::min<std::size_t>(source.size() + MAX_PATH, MAXDWORD / 2)));
        return expanded ? std::move(expanded).value() : source;
    }

    LocalTime Now() override {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        return FromSystemTime(now);
    }

    std::uint32_t ProcessorCount() override {
        SYSTEM_INFO info{};
        ::GetSystemInfo(&info);
        return info.dwNumberOfProcessors;
    }

    MemoryStatus Memory() override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        MemoryStatus memory;
        if (!::GlobalMemoryStatusEx(&status)) return memory;
        memory.memoryLoad = status.dwMemoryLoad;
        memory.totalPhys = status.ullTotalPhys;
        memory.availPhys = status.ullAvailPhys;
        memory.totalPageFile = status.ullTotalPageFile;
        memory.availPageFile = status.ullAvailPageFile;
        memory.totalVirtual = status.ullTotalVirtual;
        memory.availVirtual = status.ullAvailVirtual;
        return memory;
    }

    Result<std::string> ShellFolder(int csidl) override {
        const SHGetFolderPathFunction getFolderPath = FolderPathFunction();
        if (getFolderPath == nullptr) return Result<std::string>::Failure(ERROR_PROC_NOT_FOUND);
        // The function's contract: a buffer of MAX_PATH characters.
        char path[MAX_PATH + 1] = {};
        const HRESULT result = getFolderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
        if (FAILED(result)) return Result<std::string>::Failure(ErrorOfHresult(result));
        std::string folder(path, ::strnlen(path, sizeof path));
        // S_FALSE: a known folder that does not exist.
        if (folder.empty()) return Result<std::string>::Failure(ERROR_PATH_NOT_FOUND);
        return folder;
    }

    std::string ErrorText(WinError code) override {
        // With ALLOCATE_BUFFER the system stores the address of the text it
        // allocated where the buffer argument points; the owner frees it.
        UniqueLocalMemory buffer;
        const DWORD length = ::FormatMessageA(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
            MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(buffer.Receive()), 0, nullptr);
        if (length == 0 || !buffer) return std::string();
        return std::string(static_cast<const char*>(buffer.get()), length);
    }

    std::uint32_t AnsiCodePage() override { return ::GetACP(); }

    // security (win32_accounts.cpp, win32_logon.cpp)
    Result<std::string> FileSecurity(std::string_view path) override {
        return NamedObjectSecurity(path, kFileObjectType);
    }
    Result<std::string> KeySecurity(RegRoot root, std::string_view path) override {
        auto key = OpenRegistryKey(root, path, KEY_READ);
        if (!key) return Result<std::string>::Failure(key.error());
        return (*key)->SecurityDescriptor();
    }
    Result<std::string> ServiceSecurity(std::string_view serviceName) override {
        return NamedObjectSecurity(serviceName, kServiceObjectType);
    }
    Result<AccountName> AccountOfSid(std::string_view sid) override { return win32::AccountOfSid(sid); }
    Result<std::string> SidOfAccount(std::string_view name) override { return win32::SidOfAccount(name); }
    Result<std::uint32_t> TrusteeRights(std::string_view descriptor, const Trustee& trustee) override {
        return win32::TrusteeRights(descriptor, trustee);
    }
    Result<WorkstationUser> LoggedOnUser() override { return win32::LoggedOnUser(); }
    Result<std::vector<std::string>> UserGlobalGroups(std::string_view server, std::string_view user) override {
        return UserGroups(server, user, false);
    }
    Result<std::vector<std::string>> UserLocalGroups(std::string_view server, std::string_view user) override {
        return UserGroups(server, user, true);
    }
    Result<std::string> ProcessUserSid() override { return win32::ProcessUserSid(); }
    Result<std::vector<std::string>> ProcessPrivileges() override { return win32::ProcessPrivileges(); }
    Result<std::string> PrivilegeDisplayName(std::string_view privilege) override {
        return win32::PrivilegeDisplayName(privilege);
    }
    Result<std::uint32_t> ServerTypeFlags() override { return win32::ServerTypeFlags(); }
    Result<std::vector<ShareInfo>> Shares() override { return win32::Shares(); }
    Result<std::unique_ptr<EventLog>> OpenEventLogByName(std::string_view log) override {
        return win32::OpenEventLogByName(log);
    }
    Result<std::unique_ptr<MessageFile>> LoadMessageFile(std::string_view path) override {
        return win32::LoadMessageFile(path);
    }
    Result<std::string> SystemMessage(std::uint32_t id) override { return win32::SystemMessage(id); }
    Result<std::unique_ptr<CryptoProvider>> AcquireCryptoProvider(std::uint32_t type) override {
        return win32::AcquireCryptoProvider(type);
    }

    // network and the remote-control product
    Result<std::vector<TcpConnection>> TcpConnections() override { return win32::TcpConnections(); }
    Result<std::vector<UdpListener>> UdpListeners() override { return win32::UdpListeners(); }
    Result<std::vector<Ipv4Address>> HostAddresses() override { return win32::HostAddresses(); }
    Result<std::string> HostNameOfAddress(Ipv4Address address) override { return win32::HostNameOfAddress(address); }
    Result<std::string> ServiceNameOfPort(std::uint16_t port, std::string_view protocol) override {
        return win32::ServiceNameOfPort(port, protocol);
    }
    Result<std::vector<RemoteCallerFile>> RemoteCallerFiles(std::string_view filesDirectory) override {
        return win32::RemoteCallerFiles(filesDirectory);
    }
    Result<LocalTime> LocalTimeOfUnixSeconds(std::int64_t seconds) override {
        return win32::LocalTimeOfUnixSeconds(seconds);
    }
    Result<std::string> LocaleDateText(const LocalTime& time) override { return UserLocaleDate(time); }
    Result<std::string> LocaleTimeText(const LocalTime& time) override { return UserLocaleTime(time); }
    Result<SwapFileInfo> SwapFile9x() override { return QuerySwapFile9x(); }
    void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

    // hardware
    Result<std::string> PciRecords() override { return win32::PciRecords(); }
    /// The index ships beside the program; a copy in the current directory comes first.
    Result<std::string> DeviceIndex() override {
        auto index = ReadDeviceIndexFile(*this, CurrentDirectory());
        if (index || index.error() != ERROR_FILE_NOT_FOUND) return index;
        char program[MAX_PATH + 1] = {};
        const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
        const std::string_view path(program, length < MAX_PATH ? length : 0);
        const std::size_t slash = path.rfind('\\');
        return slash == std::string_view::npos ? index : ReadDeviceIndexFile(*this, path.substr(0, slash));
    }
    Result<std::unique_ptr<TelephonySession>> StartTelephony(std::string_view appName, TelephonyStart how) override {
        return win32::StartTelephony(appName, how);
    }
    Result<std::unique_ptr<SerialPort>> OpenSerialPort(std::string_view portName) override {
        return win32::OpenSerialPort(portName);
    }

    // services, processes and start-up programs (win32_services.cpp, win32_processes.cpp)
    Result<std::unique_ptr<ServiceManager>> OpenServiceManager(std::uint32_t access) override {
        return win32::OpenServiceManager(access);
    }
    Result<std::vector<std::uint32_t>> ProcessIds() override { return win32::ProcessIds(); }
    Result<std::unique_ptr<ProcessHandle>> OpenProcess(std::uint32_t id) override { return win32::OpenProcess(id); }
    Result<std::vector<TopWindow>> TopLevelWindows() override { return win32::TopLevelWindows(); }
    Result<std::vector<DeviceDriver>> DeviceDrivers() override { return win32::DeviceDrivers(); }
    Result<std::vector<SnapshotEntry>> ProcessSnapshot9x() override { return win32::ProcessSnapshot(); }
    Result<std::vector<SnapshotEntry>> ModuleSnapshot9x(std::uint32_t id) override { return win32::ModuleSnapshot(id); }
    Result<std::string> ShortcutTarget(std::string_view linkPath) override { return win32::ShortcutTarget(linkPath); }
    Result<std::unique_ptr<CounterQuery>> OpenProcessCounters(std::string_view instance,
                                                              const std::vector<std::string>& counters) override {
        return win32::OpenProcessCounters(instance, counters);
    }

private:
    /// SHGetFolderPathA from "SHFolder.dll" (present since Windows 95 with later
    /// Internet Explorers), else from shell32; loaded once and kept loaded.
    SHGetFolderPathFunction FolderPathFunction() {
        std::call_once(shellLoaded_, [this] {
            for (const char* library : {"SHFolder.dll", "shell32.dll"}) {
                UniqueModule module(::LoadLibraryA(library));
                const auto function = ProcAddress<SHGetFolderPathFunction>(module.get(), "SHGetFolderPathA");
                if (function != nullptr) {
                    shellLibrary_ = std::move(module);
                    getFolderPath_ = function;
                    return;
                }
            }
        });
        return getFolderPath_;
    }

    std::once_flag shellLoaded_;
    UniqueModule shellLibrary_;
    SHGetFolderPathFunction getFolderPath_ = nullptr;
};

}  // namespace

std::unique_ptr<Machine> MakeWin32Machine() { return std::make_unique<Win32Machine>(); }

}  // namespace kavlo::platform::win32
