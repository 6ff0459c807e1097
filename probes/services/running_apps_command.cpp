// "RunningApps:": the windows of each process, every process with its modules
// and memory, the device drivers and the services, as items of the title's tree.

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/script_engine.h"
#include "probes/files/file_info.h"
#include "probes/files/file_texts.h"
#include "probes/services/service_commands.h"
#include "probes/services/service_texts.h"

namespace kavlo {
namespace {

using platform::Machine;

enum class InfoForm { Wrapped, Plain, Short };

// The lines of a file record below `parent`.
void AddProcessInfo(ResultNode& parent, const FileInfo& file, InfoForm form) {
    ResultNode& under = form == InfoForm::Wrapped ? parent.AddChild("Process Info") : parent;
    if (form != InfoForm::Short) under.AddChild("File: " + file.NameAndPath());
    under.AddChild("Description: " + file.Description());
    under.AddChild("Manufacture: " + file.Manufacturer());
    under.AddChild("Version: " + file.Version());
    under.AddChild("Date: " + file.Date());
    under.AddChild("Time: " + file.Time());
}

// One run's file records by path: a module that every process loads is looked up once.
class FileRecords {
public:
    explicit FileRecords(AppContext& context) : context(context) {}
    const FileInfo& Of(std::string_view path, PathMode mode) {
        auto [it, added] = cache_.try_emplace(std::to_string(static_cast<int>(mode)) + ":" + std::string(path));
        if (added) it->second.Gather(context, path, mode);
        return it->second;
    }
    AppContext& context;

private:
    std::unordered_map<std::string, FileInfo> cache_;
};

void AddFileItem(FileRecords& files, ResultNode& parent, const std::string& label, std::string_view path, PathMode mode,
                 InfoForm form) {
    AddProcessInfo(parent.AddChild(label), files.Of(path, mode), form);
}

// The windows of each process, in the system's order.
using WindowsByProcess = std::unordered_map<std::uint32_t, std::vector<const platform::TopWindow*>>;

WindowsByProcess GroupWindows(const std::vector<platform::TopWindow>& windows) {
    WindowsByProcess out;
    for (const platform::TopWindow& window : windows) out[window.processId].push_back(&window);
    return out;
}

// A visible window is listed by its parent's text when it has a parent; a
// hidden one only when it is a parentless window with a child (a tray icon's).
void AddWindowTitles(const WindowsByProcess& windows, std::uint32_t processId, ResultNode& taskbar,
                     ResultNode& systray) {
    const auto found = windows.find(processId);
    if (found == windows.end()) return;
    for (const platform::TopWindow* window : found->second) {
        if (window->visible) {
            const std::string& text = window->hasParent ? window->parentText : window->text;
            if (!text.empty()) taskbar.AddChild(text);
        }
    }
    for (const platform::TopWindow* window : found->second)
        if (!window->visible && !window->hasParent && window->hasChild && !window->text.empty())
            systray.AddChild(window->text);
}

void AddMemory(ResultNode& item, const platform::ProcessMemory& m) {
    ResultNode& memory = item.AddChild("Process Memory");
    memory.AddChild("PageFaultCount: " + std::to_string(m.pageFaultCount));
    memory.AddChild("Peak Memory Usage: " + SizeText(m.peakWorkingSet));
    memory.AddChild("Memory Usage: " + SizeText(m.workingSet));
    memory.AddChild("QuotaPeakPagedPoolUsage: " + std::to_string(m.quotaPeakPagedPool));
    memory.AddChild("QuotaPagedPoolUsage: " + std::to_string(m.quotaPagedPool));
    memory.AddChild("QuotaPeakNonPagedPoolUsage: " + std::to_string(m.quotaPeakNonPagedPool));
    memory.AddChild("QuotaNonPagedPoolUsage: " + std::to_string(m.quotaNonPagedPool));
    memory.AddChild("PagefileUsage: " + std::to_string(m.pagefileUsage));
    memory.AddChild("PeakPagefileUsage: " + std::to_string(m.peakPagefileUsage));
}

std::string WithoutNtPrefix(std::string path) {
    for (auto at = path.find("\\??\\"); at != std::string::npos; at = path.find("\\??\\")) path.erase(at, 4);
    return path;
}

void AddProcess(FileRecords& files, platform::ProcessHandle& process, ResultNode& all) {
    auto baseName = process.BaseName();
    if (!baseName || baseName->find("unknown") != std::string::npos) return;
    auto image = process.ImagePath();
    ResultNode& item = all.AddChild(*baseName);
    const FileInfo& file = files.Of(image ? WithoutNtPrefix(*image) : std::string(), PathMode::NtPath);
    AddProcessInfo(item, file, InfoForm::Wrapped);
    if (auto modules = process.ModulePaths()) {
        ResultNode& list = item.AddChild("Process Modules");
        for (const std::string& path : *modules)
            AddFileItem(files, list, path, path, PathMode::NtPath, InfoForm::Short);
    }
    if (auto memory = process.Memory()) AddMemory(item, *memory);
}

void AddNtProcesses(FileRecords& files, ResultNode& taskbar, ResultNode& systray, ResultNode& all) {
    Machine& machine = files.context.machine;
    auto ids = machine.ProcessIds();
    if (!ids) return;
    auto windowList = machine.TopLevelWindows();
    if (!windowList) windowList = std::vector<platform::TopWindow>{};  // the grouping points into this list
    const WindowsByProcess windows = GroupWindows(*windowList);
    for (std::uint32_t id : *ids) {
        auto process = machine.OpenProcess(id);
        if (!process || !(*process)->ImagePath()) continue;
        AddWindowTitles(windows, id, taskbar, systray);
        AddProcess(files, **process, all);
    }
}

void AddDrivers(FileRecords& files, ResultNode& drivers) {
    auto loaded = files.context.machine.DeviceDrivers();
    if (!loaded) return;
    for (const platform::DeviceDriver& driver : *loaded)
        AddFileItem(files, drivers, driver.baseName, driver.path, PathMode::NtPath, InfoForm::Plain);
}

void AddServiceGroup(FileRecords& files, platform::ServiceManager& manager, ResultNode& group,
                     std::uint32_t stateGroup) {
    constexpr std::uint32_t kDriverAndWin32Types = 0x3B;
    constexpr WinError kNotEnoughMemory = 8;
    auto services = manager.Services(kDriverAndWin32Types, stateGroup);
    if (!services) {
        if (services.error() == kNotEnoughMemory) group.AddChild("MEMORY ERROR.  Can't enumerate services");
        return;
    }
    for (const platform::ServiceEntry& entry : *services) {
        const std::string driverPath = "<DRIVERS>\\" + entry.name + ".sys";
        auto service = manager.Open(entry.name, platform::service_access::kQueryConfig);
        if (!service) {
            AddFileItem(files, group, entry.displayName, driverPath, PathMode::FolderToken, InfoForm::Plain);
            group.AddChild("ERROR opening service, above info may not be correct.");
            continue;
        }
        auto config = (*service)->Config();
        if (!config) {
            group.AddChild(entry.displayName + " ERROR: " + ErrorTextCut(files.context.machine, config.error()));
        } else if (config->startType != 4) {
            // A command line's arguments and quotes would hide the program's details.
            if (config->binaryPath.empty())
                AddFileItem(files, group, entry.displayName, driverPath, PathMode::FolderToken, InfoForm::Plain);
            else
                AddFileItem(files, group, entry.displayName, BinaryFileOf(files.context.machine, config->binaryPath),
                            PathMode::NtPath, InfoForm::Plain);
        }
    }
}

void AddServices(FileRecords& files, ResultNode& services) {
    auto manager = files.context.machine.OpenServiceManager(platform::service_access::kManagerEnumerate);
    if (!manager) {
        services.AddChild("ERROR: Unable to open SCManager");
        return;
    }
    AddServiceGroup(files, **manager, services.AddChild("Running..."), 1);
    AddServiceGroup(files, **manager, services.AddChild("Stopped..."), 2);
}

void AddTasks9x(FileRecords& files, ResultNode& taskbar, ResultNode& systray, ResultNode& tasks) {
    Machine& machine = files.context.machine;
    auto processes = machine.ProcessSnapshot9x();
    if (!processes) return;
    auto windowList = machine.TopLevelWindows();
    if (!windowList) windowList = std::vector<platform::TopWindow>{};  // the grouping points into this list
    const WindowsByProcess windows = GroupWindows(*windowList);
    for (const platform::SnapshotEntry& process : *processes) {
        AddWindowTitles(windows, process.processId, taskbar, systray);
        const FileInfo& file = files.Of(process.path, PathMode::NtPath);
        ResultNode& item = tasks.AddChild(file.Name());
        AddProcessInfo(item, file, InfoForm::Wrapped);
        ResultNode& modules = item.AddChild("Process Modules");
        auto snapshot = machine.ModuleSnapshot9x(process.processId);
        if (!snapshot) continue;
        for (const platform::SnapshotEntry& module : *snapshot)
            if (module.processId == process.processId)
                AddFileItem(files, modules, module.name, module.path, PathMode::Unchanged, InfoForm::Short);
    }
}

void AddModules9x(FileRecords& files, ResultNode& modules) {
    auto snapshot = files.context.machine.ModuleSnapshot9x(0);
    if (!snapshot) return;
    for (const platform::SnapshotEntry& module : *snapshot)
        AddFileItem(files, modules, module.name, module.path, PathMode::NtPath, InfoForm::Plain);
}

}  // namespace

void RunningAppsCommand(CommandCall& call) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    FileRecords files(context);
    ResultNode& root = call.title->Root();
    ResultNode& taskbar = root.AddChild("Taskbar Applications");
    ResultNode& systray = root.AddChild("Systray Applications");
    if (context.IsNtFamily()) {
        AddNtProcesses(files, taskbar, systray, root.AddChild("All Processes"));
        AddDrivers(files, root.AddChild("Drivers"));
        AddServices(files, root.AddChild("Services"));
    } else {
        AddTasks9x(files, taskbar, systray, root.AddChild("All Tasks"));
        AddModules9x(files, root.AddChild("All Modules"));
    }
}

}  // namespace kavlo
