#pragma once
// A small in-memory machine for tests, fuzzing and benchmarks: the simulated
// machine's registry store (subkeys listed as Windows sorts them, values in
// creation order, no limit on path lengths); files and directories in creation
// order with sizes, times, contents and version resources; drives, environment
// variables, shell folders, and "Error N." as every error's text. Names are compared
// without regard to case. It also expresses what a folder image cannot: a file
// that vanishes between a listing and a lookup, a version block above the
// reader's limit, reads that return a few bytes at a time.

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/registry_store.h"

namespace kavlo::testing {

struct FakeVersion {
    std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> translations;
    std::map<std::string, std::string> strings;  ///< full sub-block path -> value
    std::uint32_t blockSize = 1000;
};

class FakeMachine : public platform::Machine {
public:
    struct Node {
        std::string path;  ///< full path as created, e.g. "C:\dir\a.txt"
        std::uint32_t attributes = platform::attr::kArchive;
        std::uint64_t size = 0;
        platform::LocalTime lastWrite{2001, 6, 15, 14, 5, 9, 5};
        std::string content;
        std::optional<FakeVersion> version;
        std::string shortPath;
    };
    struct DriveSetup {
        std::uint32_t type = platform::drive::kFixed;
        std::string fileSystem = "NTFS";
        std::optional<std::uint64_t> freeBytes = 2'500'000'000ull;
    };

    FakeMachine();
    ~FakeMachine() override;

    // registry set-up
    void SetVersion(platform::OsVersion version) { version_ = std::move(version); }
    /// Creates the key and its parents.
    void AddKey(platform::RegRoot root, std::string_view path);
    void SetValue(platform::RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                  std::string data);
    void SetString(platform::RegRoot root, std::string_view path, std::string_view name, std::string_view text);
    void SetDword(platform::RegRoot root, std::string_view path, std::string_view name, std::uint32_t value);
    /// Opening the key fails with this error (for example 5, access denied).
    void DenyKey(platform::RegRoot root, std::string_view path, WinError error);

    // file set-up: files and their parent directories, listed in creation order
    Node& AddFile(std::string_view path, std::uint64_t size = 0);
    /// A file with these bytes as its contents.
    Node& AddFile(std::string_view path, std::string contents);
    Node& AddDirectory(std::string_view path);
    /// A directory entry that is a junction: listed, and found, but never to be walked.
    Node& AddJunction(std::string_view path);
    /// Listings still show the entry, but looking up its own path fails (it vanished).
    void Vanish(std::string_view path);
    void SetShellFolder(int csidl, std::string path) { folders_[csidl] = std::move(path); }

    std::map<char, DriveSetup> drives{{'C', {}}};
    std::map<std::string, std::string> environment;
    std::size_t readChunk = 7;  ///< small reads exercise line assembly across chunks
    /// The access mask every access check grants; none: the check is not supported.
    std::optional<std::uint32_t> grantedAccess;

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
    Result<std::uint32_t> EffectiveAccess(std::string_view path) override;

    // system
    platform::OsVersion Version() override { return version_; }
    std::string WindowsDirectory() override { return "C:\\WINNT"; }
    std::string SystemDirectory() override { return "C:\\WINNT\\system32"; }
    std::string ComputerName() override { return "FAKEPC"; }
    Result<std::string> HostName() override { return std::string("fakepc"); }
    std::string CurrentDirectory() override { return "C:\\"; }
    std::optional<std::string> Environment(std::string_view name) override;
    std::string ExpandEnvironment(std::string_view text) override;
    platform::LocalTime Now() override { return {2002, 5, 1, 10, 30, 0, 3}; }
    std::uint32_t ProcessorCount() override { return 1; }
    platform::MemoryStatus Memory() override { return {}; }
    Result<std::string> ShellFolder(int csidl) override;
    std::string ErrorText(WinError code) override;
    std::uint32_t AnsiCodePage() override { return 1252; }

private:
    const Node* FindNode(std::string_view path) const;
    Node& Put(std::string_view path, std::uint32_t attributes, bool withParents = true);

    platform::OsVersion version_;
    platform::sim::RegistryStore registry_;
    std::map<std::pair<platform::RegRoot, std::string>, WinError> deniedKeys_;  // by root and folded path
    std::map<int, std::string> folders_;
    std::deque<Node> nodes_;                    // creation order is the listing order; references stay valid
    std::map<std::string, std::size_t> index_;  // folded path -> nodes_
    std::set<std::string> vanished_;
};

}  // namespace kavlo::testing
