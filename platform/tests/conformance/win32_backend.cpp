#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/tests/conformance/backend.h"
#include "platform/tests/conformance/fixture_data.h"
#include "platform/win32/win32_machine.h"

namespace kavlo::platform::conformance {
namespace {

const std::string kData = KAVLO_TEST_SOURCE_DIR "/platform/tests/data/conformance";

std::string WindowsPath(const std::string& path) { return std::filesystem::path(path).make_preferred().string(); }

// Imports a registry file of the simulated machine with the system's own importer,
// as a user would (it reads hex(2)/hex(7) data by the file's byte-order mark), so
// that both backends hold the same keys. Gives what failed, or "".
std::string ImportRegFile(const std::string& name) {
    std::string command = "reg.exe import \"" + WindowsPath(kData + "/registry/" + name) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return "reg.exe could not start: error " + std::to_string(::GetLastError());
    const win32::UniqueFile processHandle(process.hProcess);
    const win32::UniqueFile threadHandle(process.hThread);
    DWORD exitCode = 1;
    if (::WaitForSingleObject(processHandle.get(), 60000) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(processHandle.get(), &exitCode) || exitCode != 0)
        return command + " failed (exit code " + std::to_string(exitCode) + ")";
    return "";
}

// The fixed keys are imported once per run and removed again when the test
// program ends; the scratch key is emptied before each test.
class RegistryImport {
public:
    RegistryImport() {
        Remove();
        for (const char* file : {"conformance.reg", "answers.reg"}) {
            if (error_.empty()) error_ = ImportRegFile(file);
        }
    }
    ~RegistryImport() { Remove(); }
    const std::string& error() const { return error_; }

private:
    static void Remove() {
        const std::unique_ptr<Machine> machine = win32::MakeWin32Machine();
        // Absent before the first import.
        (void)machine->DeleteKey(RegRoot::CurrentUser, "Software\\KavloConformanceTest");
        (void)machine->DeleteKey(RegRoot::CurrentUser, kAnswersKey);
        (void)machine->DeleteKey(RegRoot::ClassesRoot, kAnswersClassesKey);
    }
    std::string error_;
};

class Win32Backend final : public Backend {
public:
    Win32Backend() : machine_(win32::MakeWin32Machine()) {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp, length < sizeof temp ? length : 0) + "KavloConformance-" +
                  std::to_string(::GetCurrentProcessId());
    }

    ~Win32Backend() override { RemoveFixture(); }

    /// Puts the registry keys and the files of the simulated machine in place.
    void MakeFixture() {
        RemoveFixture();
        static const RegistryImport imported;
        ASSERT_EQ(imported.error(), "");
        std::error_code error;
        std::filesystem::copy(kData + "/drives/c/Conformance", folder_, std::filesystem::copy_options::recursive,
                              error);
        ASSERT_FALSE(error) << folder_ << ": " << error.message();
    }

    Machine& machine() override { return *machine_; }
    std::string FileFolder() const override { return folder_; }
    std::string Sample(const std::string& name) const override {
        return WindowsPath(kData + "/drives/c/Samples/" + name);
    }
    bool RunsOnWine() const override {
        // Wine's ntdll exports its version; Windows' does not.
        return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    }

private:
    void RemoveFixture() {
        (void)machine_->DeleteKey(RegRoot::CurrentUser, kScratchKey);  // absent before the first test
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::unique_ptr<Machine> machine_;
    std::string folder_;
};

}  // namespace

std::unique_ptr<Backend> MakeWin32Backend() {
    auto backend = std::make_unique<Win32Backend>();
    backend->MakeFixture();
    if (::testing::Test::HasFatalFailure()) return nullptr;
    return backend;
}

}  // namespace kavlo::platform::conformance
