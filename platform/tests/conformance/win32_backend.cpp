#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/tests/conformance/backend.h"
#include "platform/tests/conformance/fixture_data.h"
#include "platform/win32/win32_machine.h"

namespace kavlo::platform::conformance {
namespace {

constexpr const char* kTestRoot = "Software\\KavloConformanceTest";
const std::string kSampleFolder = KAVLO_TEST_SOURCE_DIR "/platform/tests/data/conformance/drives/c/Samples";

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void WriteKey(HKEY parent, const std::string& path, const std::vector<FixtureValue>& values) {
    win32::UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                key.Receive(), nullptr),
              ERROR_SUCCESS)
        << path;
    for (const FixtureValue& value : values) {
        ASSERT_EQ(
            ::RegSetValueExA(key.get(), value.name.c_str(), 0, value.type,
                             reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size())),
            ERROR_SUCCESS)
            << path << "\\" << value.name;
    }
}

void WriteFile(const std::string& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << path;
}

// Imports registry/answers.reg with the system's own importer, as a user would
// (it reads hex(2)/hex(7) data by the file's byte-order mark), once per run; the
// keys are removed again when the test program ends.
class AnswersImport {
public:
    AnswersImport() {
        Remove();
        const std::string file = WindowsPath(std::string(KAVLO_TEST_SOURCE_DIR) + "/" + std::string(kAnswersRegFile));
        std::string command = "reg.exe import \"" + file + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                              &startup, &process)) {
            error_ = "reg.exe could not start: error " + std::to_string(::GetLastError());
            return;
        }
        const win32::UniqueFile processHandle(process.hProcess);
        const win32::UniqueFile threadHandle(process.hThread);
        DWORD exitCode = 1;
        if (::WaitForSingleObject(processHandle.get(), 60000) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(processHandle.get(), &exitCode) || exitCode != 0)
            error_ = command + " failed (exit code " + std::to_string(exitCode) + ")";
    }
    ~AnswersImport() { Remove(); }
    const std::string& error() const { return error_; }

private:
    static void Remove() {
        const std::unique_ptr<Machine> machine = win32::MakeWin32Machine();
        (void)machine->DeleteKey(RegRoot::CurrentUser, kAnswersKey);  // absent before the first import
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

    /// Writes the registry keys and the files of the fixture.
    void MakeFixture() {
        RemoveFixture();
        WriteKey(HKEY_CURRENT_USER, std::string(kFixedKey), FixedValues());
        for (const std::string& subkey : FixedSubkeys()) {
            WriteKey(HKEY_CURRENT_USER, std::string(kFixedKey) + "\\" + subkey, {});
        }
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr)) << folder_ << ": " << ::GetLastError();
        for (const FixtureFile& file : FixtureFiles()) WriteFile(folder_ + "\\" + file.name, file.content);
        const std::string subfolder = folder_ + "\\" + std::string(kSubfolder);
        ASSERT_TRUE(::CreateDirectoryA(subfolder.c_str(), nullptr)) << subfolder;
        WriteFile(subfolder + "\\" + std::string(kSubfolderFile), kSubfolderFileContent);
        static const AnswersImport answers;
        ASSERT_EQ(answers.error(), "");
    }

    Machine& machine() override { return *machine_; }
    std::string FileFolder() const override { return folder_; }
    std::string VersionSample() const override { return WindowsPath(kSampleFolder + "/version_sample.dll"); }
    std::string NoVersionSample() const override { return WindowsPath(kSampleFolder + "/no_version.dll"); }
    std::string NoResourceSample() const override { return WindowsPath(kSampleFolder + "/no_resources.dll"); }
    bool RunsOnWine() const override {
        // Wine's ntdll exports its version; Windows' does not.
        return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    }

private:
    void RemoveFixture() {
        (void)machine_->DeleteKey(RegRoot::CurrentUser, kTestRoot);  // absent before the first run
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
