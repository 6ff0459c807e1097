#pragma once
// A small in-memory machine for tests, fuzzing and benchmarks: a registry with
// keys and values in insertion order, files by path, directories, shell folders
// and the usual error texts. Names are compared without regard to case.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace kavlo::testing {

class FakeMachine : public platform::Machine {
public:
    FakeMachine();
    ~FakeMachine() override;

    // set-up
    void SetVersion(platform::OsVersion version) { version_ = std::move(version); }
    /// Creates the key and its parents.
    void AddKey(platform::RegRoot root, std::string_view path);
    void SetValue(platform::RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                  std::string data);
    void SetString(platform::RegRoot root, std::string_view path, std::string_view name, std::string_view text);
    void SetDword(platform::RegRoot root, std::string_view path, std::string_view name, std::uint32_t value);
    /// Opening the key fails with this error (for example 5, access denied).
    void DenyKey(platform::RegRoot root, std::string_view path, WinError error);
    void AddFile(std::string_view path, std::string contents);
    void SetShellFolder(int csidl, std::string path) { folders_[csidl] = std::move(path); }
    void SetDirectories(std::string windows, std::string system) {
        windowsDir_ = std::move(windows);
        systemDir_ = std::move(system);
    }

    // registry
    Result<std::unique_ptr<platform::RegistryKey>> OpenKey(platform::RegRoot root, std::string_view path,
                                                           std::uint32_t access) override;
    Result<std::unique_ptr<platform::RegistryKey>> CreateKey(platform::RegRoot root, std::string_view path) override;

    // files
    Result<std::vector<platform::FindEntry>> FindFiles(std::string_view pattern) override;
    Result<std::unique_ptr<platform::InputFile>> OpenForRead(std::string_view path) override;
    Result<std::unique_ptr<platform::VersionResource>> FileVersion(std::string_view path) override;
    std::uint32_t DriveType(std::string_view root) override;
    Result<platform::VolumeInfo> Volume(std::string_view root) override;
    Result<platform::DiskSpace> FreeSpace(std::string_view root) override;
    std::vector<std::string> LogicalDrives() override;
    Result<std::string> ShortPathName(std::string_view path) override;

    // system
    platform::OsVersion Version() override { return version_; }
    std::string WindowsDirectory() override { return windowsDir_; }
    std::string SystemDirectory() override { return systemDir_; }
    std::string ComputerName() override { return "FAKEPC"; }
    Result<std::string> HostName() override { return std::string("fakepc"); }
    std::string CurrentDirectory() override { return "C:\\"; }
    std::optional<std::string> Environment(std::string_view) override { return std::nullopt; }
    std::string ExpandEnvironment(std::string_view text) override { return std::string(text); }
    platform::LocalTime Now() override { return {2002, 5, 1, 10, 30, 0, 3}; }
    std::uint32_t ProcessorCount() override { return 1; }
    platform::MemoryStatus Memory() override { return {}; }
    Result<std::string> ShellFolder(int csidl) override;
    std::string ErrorText(WinError code) override;
    std::uint32_t AnsiCodePage() override { return 1252; }

    struct Key;

private:
    Key* FindKey(platform::RegRoot root, std::string_view path, bool create);

    platform::OsVersion version_;
    std::map<platform::RegRoot, std::unique_ptr<Key>> roots_;
    std::map<std::string, std::string> files_;  // lower-case path -> contents
    std::map<int, std::string> folders_;
    std::string windowsDir_ = "C:\\WINNT";
    std::string systemDir_ = "C:\\WINNT\\system32";
};

}  // namespace kavlo::testing
