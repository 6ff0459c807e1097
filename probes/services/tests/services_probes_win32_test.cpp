// The service and process commands against the computer the tests run on
// (Windows builds only, run under Wine here). Wine 8 has no process counters
// and reports no drivers, so these tests check the shape of the output.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "engine/testing/script_runner.h"
#include "platform/win32/win32_machine.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo::probe_test {
namespace {

using testing::Child;

class RealServiceProbes : public ::testing::Test {
protected:
    std::unique_ptr<platform::Machine> machine = platform::win32::MakeWin32Machine();
    probe_test::LineRunner lines{*machine};
};

// This program's file name, as the process list shows it.
std::string SelfName() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::strrchr(path, '\\') + 1;
}

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
    const std::string row = lines.Text("CServiceStatus:Spooler,SNAME,SSTATUS,SSTARTTYPE");
    EXPECT_TRUE(Matches(row, "[^,\n]*,[^,\n]*,[^,\n]*\n")) << row;
    const std::string protocol = lines.Run("text", "StartService:Spooler").text;
    StopService("Spooler");
    EXPECT_EQ(protocol,
              "Service Control Manager - Opened\nOpen Service for execution - Opened\nStarting Service - Started\n"
              "Service has successfully started\n");
}

TEST_F(RealServiceProbes, ServicesByStateAndThisProgramWithItsModules) {
    const ResultNode& root = lines.Run("tree", "RunningApps:").Root();
    ASSERT_EQ(root.children().size(), 5u);
    // Child fails the test when the item is missing.
    const ResultNode& services = Child(root, "Services");
    EXPECT_FALSE(Child(services, "Running...").children().empty());
    Child(services, "Stopped...");
    Child(root, "Drivers");
    const ResultNode& me = Child(Child(root, "All Processes"), SelfName());
    EXPECT_GE(Child(me, "Process Modules").children().size(), 2u);
    Child(me, "Process Memory");
}

TEST_F(RealServiceProbes, CounterRowsNameTheProcessesWithThePrefix) {
    const std::string self = SelfName();
    const std::string prefix = self.substr(0, 8);
    const std::string rows = lines.Text("CPerfMonExe:" + prefix + ",Process,Handle Count");
    // Wine has no process counters: each row holds a name and an empty cell.
    EXPECT_NE(rows.find(self + ","), std::string::npos) << rows;
    for (const std::string& row : Lines(rows)) EXPECT_EQ(row.rfind(prefix, 0), 0u) << rows;
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
}  // namespace kavlo::probe_test
