// The service and process commands against the computer the tests run on
// (Windows builds only, run under Wine here). Wine 8 has no process counters
// and reports no drivers, so these tests check the shape of the output.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/script_engine.h"
#include "engine/testing/script_runner.h"
#include "platform/win32/win32_machine.h"
#include "probes/registration.h"

namespace kavlo {
namespace {

class RealServiceProbes : public ::testing::Test {
protected:
    RealServiceProbes()
        : machine(platform::win32::MakeWin32Machine()),
          context(*machine, OsInfo{"NT5.0", "Windows 2000 Professional", 50, true}, "C:\\") {
        title.kind = "text";
    }
    std::string Run(std::string_view line) {
        ScriptEngine engine(context, StandardCommandTable());
        ScriptFile file{std::string()};
        engine.Dispatch(file, line, &title);
        return title.text;
    }
    const ResultNode* Child(const ResultNode& node, std::string_view name) {
        for (const auto& child : node.children())
            if (child->title() == name) return child.get();
        return nullptr;
    }

    std::unique_ptr<platform::Machine> machine;
    AppContext context;
    TitleRecord title;
};

// The prefix is shared with other tests: the spooler is stopped again.
void StopService(const char* name) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return;
    if (SC_HANDLE service = ::OpenServiceA(manager, name, SERVICE_STOP)) {
        SERVICE_STATUS status{};
        ::ControlService(service, SERVICE_CONTROL_STOP, &status);
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
}

TEST_F(RealServiceProbes, StatusRowAndStartOfTheSpooler) {
    const std::string row = Run("CServiceStatus:Spooler,SNAME,SSTATUS,SSTARTTYPE");
    ASSERT_EQ(std::count(row.begin(), row.end(), ','), 2) << row;
    EXPECT_EQ(row.back(), '\n');
    title.text.clear();
    const std::string protocol = Run("StartService:Spooler");
    StopService("Spooler");
    EXPECT_EQ(
        protocol.rfind("Service Control Manager - Opened\nOpen Service for execution - Opened\nStarting Service - ", 0),
        0u)
        << protocol;
    EXPECT_NE(protocol.find("Service has successfully started\n"), std::string::npos) << protocol;
}

TEST_F(RealServiceProbes, ServicesByStateAndThisProgramWithItsModules) {
    ScriptEngine engine(context, StandardCommandTable());
    ScriptFile file{std::string()};
    title.kind = "tree";
    engine.Dispatch(file, "RunningApps:", &title);
    const ResultNode& root = title.Root();
    ASSERT_EQ(root.children().size(), 5u);
    const ResultNode* services = Child(root, "Services");
    ASSERT_TRUE(services);
    const ResultNode* running = Child(*services, "Running...");
    ASSERT_TRUE(running && Child(*services, "Stopped..."));
    EXPECT_FALSE(running->children().empty());
    ASSERT_TRUE(Child(root, "Drivers"));

    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = std::strrchr(path, '\\') + 1;
    const ResultNode* processes = Child(root, "All Processes");
    ASSERT_TRUE(processes);
    const ResultNode* me = Child(*processes, self);
    ASSERT_TRUE(me) << self;
    const ResultNode* modules = Child(*me, "Process Modules");
    ASSERT_TRUE(modules);
    EXPECT_GE(modules->children().size(), 2u);
    EXPECT_TRUE(Child(*me, "Process Memory"));
}

TEST_F(RealServiceProbes, CounterRowsNameTheProcessesWithThePrefix) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = std::strrchr(path, '\\') + 1;
    const std::string prefix = self.substr(0, 8);
    const std::string rows = Run("CPerfMonExe:" + prefix + ",Process,Handle Count");
    // Wine has no process counters: each row holds a name and an empty cell.
    EXPECT_NE(rows.find(self + ","), std::string::npos) << rows;
    for (std::size_t start = 0; start < rows.size(); start = rows.find('\n', start) + 1)
        EXPECT_EQ(rows.compare(start, prefix.size(), prefix), 0) << rows;
}

// A shortcut to this program, saved by the shell's own link object, resolves to it.
TEST_F(RealServiceProbes, ShortcutResolvesToItsTarget) {
    char self[MAX_PATH] = {}, folder[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ::GetTempPathA(MAX_PATH, folder);
    const std::string linkPath = std::string(folder) + "kavlo-services-test.lnk";
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IShellLinkA* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                             reinterpret_cast<void**>(&link))));
    link->SetPath(self);
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
    const HRESULT saved = file->Save(wide, TRUE);
    file->Release();
    link->Release();
    ::CoUninitialize();
    ASSERT_TRUE(SUCCEEDED(saved));
    auto target = machine->ShortcutTarget(linkPath);
    ::DeleteFileA(linkPath.c_str());
    ASSERT_TRUE(target) << target.error();
    EXPECT_EQ(::lstrcmpiA(target->c_str(), self), 0) << *target;
}

}  // namespace
}  // namespace kavlo
