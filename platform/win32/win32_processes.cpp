// Processes, windows, drivers, tool-help snapshots, shortcuts and process
// counters of the real machine (declared in win32_services.h).

#include "platform/win32/handles.h"

#include <pdh.h>
#include <psapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <vector>

#include "platform/win32/com_objects.h"
#include "platform/win32/last_error.h"
#include "platform/win32/win32_services.h"

namespace kavlo::platform::win32 {
namespace {

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr DWORD kNameChars = 400;
// Lists larger than this are not believed.
constexpr std::size_t kMaxListEntries = 1u << 20;

// A library loaded once by name and kept for the life of the process.
HMODULE Library(const char* name, UniqueModule& slot) {
    if (!slot) slot.Reset(::LoadLibraryA(name));
    return slot.get();
}
HMODULE PsapiLibrary() {
    static UniqueModule library;
    static const HMODULE module = Library("psapi.dll", library);
    return module;
}
HMODULE PdhLibrary() {
    static UniqueModule library;
    static const HMODULE module = Library("pdh.dll", library);
    return module;
}

// A function of a run-time library, or the error that says why it is missing.
template <class Function>
Function Lookup(HMODULE module, const char* name, WinError& error) {
    const auto function = ProcAddress<Function>(module, name);
    if (function == nullptr) error = module == nullptr ? ERROR_MOD_NOT_FOUND : ERROR_PROC_NOT_FOUND;
    return function;
}

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using ModuleNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using MemoryInfoFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
using EnumDriversFn = BOOL(WINAPI*)(LPVOID*, DWORD, DWORD*);
using DriverNameFn = DWORD(WINAPI*)(LPVOID, LPSTR, DWORD);

// Calls an enumeration that fills an array and says how many bytes it needed,
// growing the array until everything fits.
template <class Item, class Call>
Result<std::vector<Item>> EnumerateAll(Call call) {
    std::vector<Item> items(256);
    for (;;) {
        DWORD needed = 0;
        const DWORD size = static_cast<DWORD>(items.size() * sizeof(Item));
        if (!call(items.data(), size, &needed)) return Result<std::vector<Item>>::Failure(LastErrorOr());
        if (needed < size || items.size() >= kMaxListEntries) {
            items.resize(std::min<std::size_t>(needed / sizeof(Item), items.size()));
            return items;
        }
        items.resize(items.size() * 2);
    }
}

std::string NameOf(ModuleNameFn function, HANDLE process, HMODULE module, WinError& error) {
    char buffer[kNameChars + 1] = {};
    if (function == nullptr || function(process, module, buffer, kNameChars) == 0) {
        if (function != nullptr) error = LastErrorOr();
        return {};
    }
    return buffer;
}

class Win32ProcessHandle final : public ProcessHandle {
public:
    explicit Win32ProcessHandle(UniqueFile process) : process_(std::move(process)) {}

    Result<std::string> BaseName() override { return Name("GetModuleBaseNameA"); }
    Result<std::string> ImagePath() override { return Name("GetModuleFileNameExA"); }
    Result<std::vector<std::string>> ModulePaths() override {
        using R = Result<std::vector<std::string>>;
        auto modules = Modules();
        if (!modules) return R::Failure(modules.error());
        WinError error = ERROR_SUCCESS;
        const auto fileName = Lookup<ModuleNameFn>(PsapiLibrary(), "GetModuleFileNameExA", error);
        std::vector<std::string> paths;
        for (HMODULE module : *modules) {
            WinError ignored = ERROR_SUCCESS;
            std::string path = NameOf(fileName, process_.get(), module, ignored);
            if (!path.empty()) paths.push_back(std::move(path));
        }
        if (fileName == nullptr) return R::Failure(error);
        return paths;
    }
    Result<ProcessMemory> Memory() override {
        WinError error = ERROR_SUCCESS;
        const auto info = Lookup<MemoryInfoFn>(PsapiLibrary(), "GetProcessMemoryInfo", error);
        PROCESS_MEMORY_COUNTERS c{};
        c.cb = sizeof c;
        if (info == nullptr) return Result<ProcessMemory>::Failure(error);
        if (!info(process_.get(), &c, sizeof c)) return Result<ProcessMemory>::Failure(LastErrorOr());
        return ProcessMemory{c.PageFaultCount,          c.PeakWorkingSetSize,  c.WorkingSetSize,
                             c.QuotaPeakPagedPoolUsage, c.QuotaPagedPoolUsage, c.QuotaPeakNonPagedPoolUsage,
                             c.QuotaNonPagedPoolUsage,  c.PagefileUsage,       c.PeakPagefileUsage};
    }

private:
    Result<std::vector<HMODULE>> Modules() {
        WinError error = ERROR_SUCCESS;
        const auto enumerate = Lookup<EnumProcessModulesFn>(PsapiLibrary(), "EnumProcessModules", error);
        if (enumerate == nullptr) return Result<std::vector<HMODULE>>::Failure(error);
        return EnumerateAll<HMODULE>(
            [&](HMODULE* items, DWORD size, DWORD* needed) { return enumerate(process_.get(), items, size, needed); });
    }
    // A name of the first module.
    Result<std::string> Name(const char* functionName) {
        WinError error = ERROR_SUCCESS;
        const auto enumerate = Lookup<EnumProcessModulesFn>(PsapiLibrary(), "EnumProcessModules", error);
        const auto name = Lookup<ModuleNameFn>(PsapiLibrary(), functionName, error);
        if (enumerate == nullptr || name == nullptr) return Result<std::string>::Failure(error);
        HMODULE first = nullptr;
        DWORD needed = 0;
        if (!enumerate(process_.get(), &first, sizeof first, &needed))
            return Result<std::string>::Failure(LastErrorOr());
        std::string text = NameOf(name, process_.get(), first, error);
        if (text.empty()) return Result<std::string>::Failure(error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error);
        return text;
    }

    UniqueFile process_;
};

struct WindowCollector {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    reinterpret_cast<WindowCollector*>(context)->windows.push_back(window);
    return TRUE;
}

std::string WindowText(HWND window) {
    char buffer[kNameChars + 1] = {};
    ::GetWindowTextA(window, buffer, kNameChars);
    return buffer;
}

// Tool help lives in kernel32 on every system that has it.
HMODULE Kernel32() { return ::GetModuleHandleA("kernel32.dll"); }
using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, LPPROCESSENTRY32);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, LPMODULEENTRY32);

class PdhQuery final : public CounterQuery {
public:
    using CloseFn = PDH_STATUS(WINAPI*)(PDH_HQUERY);
    using CollectFn = PDH_STATUS(WINAPI*)(PDH_HQUERY);
    using ValueFn = PDH_STATUS(WINAPI*)(PDH_HCOUNTER, DWORD, LPDWORD, PPDH_FMT_COUNTERVALUE);

    PdhQuery(PDH_HQUERY query, CloseFn close, CollectFn collect, ValueFn value)
        : query_(query), close_(close), collect_(collect), value_(value) {}
    PdhQuery(const PdhQuery&) = delete;
    PdhQuery& operator=(const PdhQuery&) = delete;
    ~PdhQuery() override { close_(query_); }

    void AddCounter(PDH_HCOUNTER counter, PDH_STATUS status) { counters_.push_back({counter, status}); }

    kavlo::Status Collect() override {
        const PDH_STATUS status = collect_(query_);
        return status == ERROR_SUCCESS ? kavlo::Status() : kavlo::Status(static_cast<WinError>(status));
    }
    Result<std::int64_t> Value(std::size_t counter) override {
        using R = Result<std::int64_t>;
        if (counter >= counters_.size()) return R::Failure(ERROR_INVALID_PARAMETER);
        if (counters_[counter].status != ERROR_SUCCESS) return R::Failure(counters_[counter].status);
        PDH_FMT_COUNTERVALUE value{};
        const PDH_STATUS status = value_(counters_[counter].handle, PDH_FMT_LARGE, nullptr, &value);
        if (status != ERROR_SUCCESS) return R::Failure(static_cast<WinError>(status));
        if (value.CStatus != ERROR_SUCCESS) return R::Failure(static_cast<WinError>(value.CStatus));
        return static_cast<std::int64_t>(value.largeValue);
    }

private:
    struct Counter {
        PDH_HCOUNTER handle;
        PDH_STATUS status;
    };
    PDH_HQUERY query_;
    CloseFn close_;
    CollectFn collect_;
    ValueFn value_;
    std::vector<Counter> counters_;
};

}  // namespace

Result<std::vector<std::uint32_t>> ProcessIds() {
    using R = Result<std::vector<std::uint32_t>>;
    WinError error = ERROR_SUCCESS;
    const auto enumerate = Lookup<EnumProcessesFn>(PsapiLibrary(), "EnumProcesses", error);
    if (enumerate == nullptr) return R::Failure(error);
    auto ids = EnumerateAll<DWORD>(enumerate);
    if (!ids) return R::Failure(ids.error());
    return std::vector<std::uint32_t>(ids->begin(), ids->end());
}

Result<std::unique_ptr<ProcessHandle>> OpenProcess(std::uint32_t processId) {
    using R = Result<std::unique_ptr<ProcessHandle>>;
    HANDLE handle = ::OpenProcess(kQueryAndRead, FALSE, processId);
    if (handle == nullptr) return R::Failure(LastErrorOr());
    return std::unique_ptr<ProcessHandle>(std::make_unique<Win32ProcessHandle>(UniqueFile(handle)));
}

Result<std::vector<TopWindow>> TopLevelWindows() {
    WindowCollector collector;
    if (!::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&collector)))
        return Result<std::vector<TopWindow>>::Failure(LastErrorOr());
    std::vector<TopWindow> out;
    out.reserve(collector.windows.size());
    for (HWND window : collector.windows) {
        TopWindow item;
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        item.processId = processId;
        item.visible = ::IsWindowVisible(window) != FALSE;
        item.text = WindowText(window);
        if (HWND parent = ::GetParent(window)) {
            item.hasParent = true;
            item.parentText = WindowText(parent);
        }
        item.hasChild = ::GetWindow(window, GW_CHILD) != nullptr;
        out.push_back(std::move(item));
    }
    return out;
}

Result<std::vector<DeviceDriver>> DeviceDrivers() {
    using R = Result<std::vector<DeviceDriver>>;
    WinError error = ERROR_SUCCESS;
    const auto enumerate = Lookup<EnumDriversFn>(PsapiLibrary(), "EnumDeviceDrivers", error);
    const auto baseName = Lookup<DriverNameFn>(PsapiLibrary(), "GetDeviceDriverBaseNameA", error);
    const auto fileName = Lookup<DriverNameFn>(PsapiLibrary(), "GetDeviceDriverFileNameA", error);
    if (!enumerate || !baseName || !fileName) return R::Failure(error);
    auto addresses = EnumerateAll<LPVOID>(enumerate);
    if (!addresses) return R::Failure(addresses.error());
    std::vector<DeviceDriver> out;
    for (LPVOID address : *addresses) {
        char base[kNameChars + 1] = {}, path[kNameChars + 1] = {};
        if (baseName(address, base, kNameChars) == 0) continue;
        fileName(address, path, kNameChars);
        out.push_back({base, path});
    }
    return out;
}

Result<std::vector<SnapshotEntry>> ProcessSnapshot() {
    using R = Result<std::vector<SnapshotEntry>>;
    WinError error = ERROR_SUCCESS;
    const auto snapshot = Lookup<SnapshotFn>(Kernel32(), "CreateToolhelp32Snapshot", error);
    const auto first = Lookup<ProcessWalkFn>(Kernel32(), "Process32First", error);
    const auto next = Lookup<ProcessWalkFn>(Kernel32(), "Process32Next", error);
    if (!snapshot || !first || !next) return R::Failure(error);
    UniqueFile handle(snapshot(TH32CS_SNAPPROCESS, 0));
    if (!handle) return R::Failure(LastErrorOr());
    std::vector<SnapshotEntry> out;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(handle.get(), &entry); more; more = next(handle.get(), &entry))
        out.push_back({entry.th32ProcessID, entry.szExeFile, entry.szExeFile});
    return out;
}

Result<std::vector<SnapshotEntry>> ModuleSnapshot(std::uint32_t processId) {
    using R = Result<std::vector<SnapshotEntry>>;
    WinError error = ERROR_SUCCESS;
    const auto snapshot = Lookup<SnapshotFn>(Kernel32(), "CreateToolhelp32Snapshot", error);
    const auto first = Lookup<ModuleWalkFn>(Kernel32(), "Module32First", error);
    const auto next = Lookup<ModuleWalkFn>(Kernel32(), "Module32Next", error);
    if (!snapshot || !first || !next) return R::Failure(error);
    UniqueFile handle(snapshot(TH32CS_SNAPMODULE, processId));
    if (!handle) return R::Failure(LastErrorOr());
    std::vector<SnapshotEntry> out;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(handle.get(), &entry); more; more = next(handle.get(), &entry))
        out.push_back({entry.th32ProcessID, entry.szModule, entry.szExePath});
    return out;
}

Result<std::string> ShortcutTarget(std::string_view linkPath) {
    using R = Result<std::string>;
    // Titles run on worker threads: the call brings its own apartment.
    ComApartment apartment;
    if (!apartment.usable()) return R::Failure(ERROR_NOT_SUPPORTED);
    ComPtr<IShellLinkA> link;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(link.Receive()));
    if (FAILED(hr)) return R::Failure(static_cast<WinError>(HRESULT_CODE(hr)));
    ComPtr<IPersistFile> file;
    hr = link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()));
    if (FAILED(hr)) return R::Failure(static_cast<WinError>(HRESULT_CODE(hr)));
    wchar_t widePath[MAX_PATH] = {};
    const std::string path(linkPath);
    if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) == 0) return R::Failure(LastErrorOr());
    hr = file.get()->Load(widePath, STGM_READ);
    if (FAILED(hr)) return R::Failure(static_cast<WinError>(HRESULT_CODE(hr)));
    const DWORD kResolveWithoutUi = SLR_NO_UI | SLR_ANY_MATCH;
    hr = link.get()->Resolve(nullptr, kResolveWithoutUi);
    if (FAILED(hr)) return R::Failure(static_cast<WinError>(HRESULT_CODE(hr)));
    char target[MAX_PATH] = {};
    hr = link.get()->GetPath(target, MAX_PATH, nullptr, 0);
    if (hr != S_OK || target[0] == '\0') return R::Failure(ERROR_FILE_NOT_FOUND);  // no file target
    return std::string(target);
}

Result<std::unique_ptr<CounterQuery>> OpenProcessCounters(std::string_view instance,
                                                          const std::vector<std::string>& counters) {
    using R = Result<std::unique_ptr<CounterQuery>>;
    using OpenFn = PDH_STATUS(WINAPI*)(LPCSTR, DWORD_PTR, PDH_HQUERY*);
    using MakePathFn = PDH_STATUS(WINAPI*)(PPDH_COUNTER_PATH_ELEMENTS_A, LPSTR, LPDWORD, DWORD);
    using AddFn = PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCSTR, DWORD_PTR, PDH_HCOUNTER*);
    WinError error = ERROR_SUCCESS;
    const HMODULE pdh = PdhLibrary();
    const auto open = Lookup<OpenFn>(pdh, "PdhOpenQueryA", error);
    const auto makePath = Lookup<MakePathFn>(pdh, "PdhMakeCounterPathA", error);
    const auto add = Lookup<AddFn>(pdh, "PdhAddCounterA", error);
    const auto close = Lookup<PdhQuery::CloseFn>(pdh, "PdhCloseQuery", error);
    const auto collect = Lookup<PdhQuery::CollectFn>(pdh, "PdhCollectQueryData", error);
    const auto value = Lookup<PdhQuery::ValueFn>(pdh, "PdhGetFormattedCounterValue", error);
    if (!open || !makePath || !add || !close || !collect || !value) return R::Failure(error);
    PDH_HQUERY handle = nullptr;
    if (const PDH_STATUS status = open(nullptr, 1, &handle); status != ERROR_SUCCESS)
        return R::Failure(static_cast<WinError>(status));
    auto query = std::make_unique<PdhQuery>(handle, close, collect, value);
    std::string machine = ".", object = "Process", instanceName(instance);
    for (const std::string& counter : counters) {
        std::string counterName = counter;
        PDH_COUNTER_PATH_ELEMENTS_A elements{};
        elements.szMachineName = machine.data();
        elements.szObjectName = object.data();
        elements.szInstanceName = instanceName.data();
        elements.dwInstanceIndex = static_cast<DWORD>(-1);
        elements.szCounterName = counterName.data();
        char path[kNameChars + 1] = {};
        DWORD size = kNameChars;
        PDH_STATUS status = makePath(&elements, path, &size, 0);
        PDH_HCOUNTER counterHandle = nullptr;
        if (status == ERROR_SUCCESS) status = add(handle, path, 0, &counterHandle);
        query->AddCounter(counterHandle, status);
    }
    return std::unique_ptr<CounterQuery>(std::move(query));
}

}  // namespace kavlo::platform::win32
