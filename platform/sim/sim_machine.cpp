#include "platform/sim/sim_machine.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <fstream>

#include "platform/pe_version.h"
#include "platform/sim/contained_path.h"
#include "platform/sim/csidl.h"
#include "platform/sim/error_texts.h"
#include "platform/host_file.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/machine_path.h"
#include "platform/sim/name_fold.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/registry_store.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_network.h"
#include "platform/sim/sim_hardware.h"
#include "platform/device_index.h"
#include "platform/sim/sim_remote_control.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_security.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_system.h"
#include "platform/version_info.h"

namespace kavlo::platform::sim {
namespace fs = std::filesystem;
namespace {

constexpr WinError kDirNotRoot = 144;
constexpr WinError kWsaNotInitialised = 10093;
constexpr WinError kInvalidFunction = 1;
constexpr int kCsidlWindows = 0x24;
constexpr int kCsidlSystem = 0x25;

// Reads a file of the machine folder that must lie inside it; "" or why not.
std::string ReadMachineFile(const fs::path& root, const fs::path& path, const std::string& label, std::string& out) {
    const ContainedPath resolved = ResolveInside(root, path);
    switch (resolved.state) {
        case ContainedPath::State::kMissing: return label + ": missing";
        case ContainedPath::State::kOutside: return label + ": a symbolic link leading outside the machine folder";
        case ContainedPath::State::kUnreadable: return label + ": cannot be read (" + resolved.reason + ")";
        case ContainedPath::State::kInside: break;
    }
    std::error_code ec;
    if (!fs::is_regular_file(resolved.path, ec)) return label + ": not a regular file";
    errno = 0;
    std::ifstream in(resolved.path, std::ios::binary);
    if (!in) return label + ": cannot be read (" + std::generic_category().message(errno) + ")";
    const std::uint64_t size = fs::file_size(resolved.path, ec);
    if (ec) return label + ": cannot be read (" + ec.message() + ")";
    out.resize(static_cast<std::size_t>(size));
    in.read(out.data(), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) return label + ": cannot be read";
    return {};
}

// The .reg files of registry/ in name order; "" or why they cannot be listed.
std::string ListRegFiles(const fs::path& root, const std::string& folderLabel, std::vector<fs::path>& out) {
    const fs::path folder = root / "registry";
    const ContainedPath resolved = ResolveInside(root, folder);
    switch (resolved.state) {
        case ContainedPath::State::kMissing: return {};  // a machine with an empty registry
        case ContainedPath::State::kOutside:
            return folderLabel + ": a symbolic link leading outside the machine folder";
        case ContainedPath::State::kUnreadable: return folderLabel + ": cannot be read (" + resolved.reason + ")";
        case ContainedPath::State::kInside: break;
    }
    std::error_code ec;
    if (!fs::is_directory(resolved.path, ec)) return folderLabel + ": not a folder";
    for (fs::directory_iterator it(resolved.path, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        // Each file is checked where it is read: a link is resolved there.
        std::error_code itemError;
        if (SameName(name.extension().string(), ".reg") && !it->is_directory(itemError))
            out.push_back(resolved.path / name);
    }
    if (ec) return folderLabel + ": cannot be read (" + ec.message() + ")";
    std::sort(out.begin(), out.end(), [](const fs::path& a, const fs::path& b) {
        return NameLess(a.filename().string(), b.filename().string());
    });
    return {};
}

class SimMachine final : public Machine {
public:
    SimMachine(MachineConfig config, std::shared_ptr<RegistryStore> registry, std::unique_ptr<SimFileSystem> files)
        : config_(std::move(config)),
          registry_(std::move(registry)),
          files_(std::move(files)),
          security_(config_.security),
          services_(*this, config_.services, security_, config_.codePage) {
        for (std::size_t i = 0; i < config_.environment.size(); ++i)
            environmentIndex_.emplace(FoldName(config_.environment[i].first), i);
    }

    Result<std::unique_ptr<RegistryKey>> OpenKey(RegRoot root, std::string_view path, std::uint32_t access) override {
        return OpenSimKey(registry_, root, path, access);
    }
    Result<std::unique_ptr<RegistryKey>> CreateKey(RegRoot root, std::string_view path) override {
        return CreateSimKey(registry_, root, path);
    }
    Status DeleteKey(RegRoot root, std::string_view path) override { return DeleteSimKey(registry_, root, path); }

    Result<std::vector<FindEntry>> FindFiles(std::string_view pattern) override { return files_->FindFiles(pattern); }

    Result<std::unique_ptr<InputFile>> OpenForRead(std::string_view path) override {
        using R = Result<std::unique_ptr<InputFile>>;
        auto host = files_->HostFile(path);
        if (!host) return R::Failure(host.error());
        std::unique_ptr<InputFile> file = OpenHostInput(host->path);
        if (!file) return R::Failure(err::kAccessDenied);
        return file;
    }

    Result<std::unique_ptr<VersionResource>> FileVersion(std::string_view path) override {
        using R = Result<std::unique_ptr<VersionResource>>;
        auto host = files_->HostFile(path);
        if (!host) return R::Failure(host.error());
        // Most files hold no image at all: their first two bytes turn them away
        // before the image reader sets up its random access.
        const HostPrefix prefix = ReadHostPrefix(host->path, 2);
        if (!prefix.opened) return R::Failure(err::kAccessDenied);
        if (prefix.bytes != "MZ") return R::Failure(err::kResourceTypeNotFound);
        const std::unique_ptr<RandomAccessBytes> bytes = OpenHostBytes(host->path);
        if (!bytes) return R::Failure(err::kAccessDenied);
        std::optional<std::string> block = ReadVersionResource(*bytes);
        if (!block) return R::Failure(err::kResourceTypeNotFound);
        std::unique_ptr<VersionInfo> info = VersionInfo::Parse(std::move(*block), config_.codePage);
        if (!info) return R::Failure(err::kResourceTypeNotFound);
        return std::unique_ptr<VersionResource>(std::move(info));
    }

    std::uint32_t DriveType(std::string_view root) override {
        const auto drive = RootDrive(root);
        if (!drive) return drive::kNoRootDir;
        const DriveConfig* config = Drive(*drive);
        return config ? config->type : drive::kNoRootDir;
    }

    Result<VolumeInfo> Volume(std::string_view root) override {
        using R = Result<VolumeInfo>;
        const auto drive = RootDrive(root);
        if (!drive) return R::Failure(root.size() >= 2 && root[1] == ':' ? kDirNotRoot : err::kInvalidName);
        const DriveConfig* config = Drive(*drive);
        if (!config) return R::Failure(err::kPathNotFound);
        if (!config->ready) return R::Failure(err::kNotReady);
        return VolumeInfo{config->label, config->fileSystem, config->serial};
    }

    Result<DiskSpace> FreeSpace(std::string_view root) override {
        using R = Result<DiskSpace>;
        // Any directory of the drive will do, as for GetDiskFreeSpaceEx.
        const std::string path = root.empty() ? config_.currentDir : std::string(root);
        if (path.size() < 2 || path[1] != ':') return R::Failure(err::kInvalidName);
        const DriveConfig* config = Drive(static_cast<char>(path[0] & ~0x20));
        if (!config) return R::Failure(err::kPathNotFound);
        if (!config->ready) return R::Failure(err::kNotReady);
        if (path.size() > 3) {
            if (Status s = files_->CheckDirectory(path); !s) return R::Failure(s.error());
        }
        return DiskSpace{config->freeBytesToCaller, config->totalBytes, config->freeBytes};
    }

    std::vector<std::string> LogicalDrives() override {
        std::vector<std::string> out;
        for (const DriveConfig& d : config_.drives) out.push_back(std::string{d.letter, ':', '\\'});
        return out;
    }

    Result<std::string> ShortPathName(std::string_view path) override { return files_->ShortPathName(path); }

    Result<std::uint32_t> EffectiveAccess(std::string_view path) override {
        auto descriptor = FileSecurity(path);
        if (!descriptor) return Result<std::uint32_t>::Failure(descriptor.error());
        return security_.FileAccess(*descriptor);
    }

    OsVersion Version() override { return config_.version; }
    std::string WindowsDirectory() override { return config_.windowsDir; }
    std::string SystemDirectory() override { return config_.systemDir; }
    std::string ComputerName() override { return config_.computerName; }
    Result<std::string> HostName() override {
        if (!config_.hostName) return Result<std::string>::Failure(kWsaNotInitialised);
        return *config_.hostName;
    }
    std::string CurrentDirectory() override { return config_.currentDir; }

    std::optional<std::string> Environment(std::string_view name) override {
        const auto found = environmentIndex_.find(FoldName(name));
        if (found == environmentIndex_.end()) return std::nullopt;
        return config_.environment[found->second].second;
    }

    std::string ExpandEnvironment(std::string_view text) override {
        std::string out;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t open = text.find('%', pos);
            if (open == std::string_view::npos) break;
            const std::size_t close = text.find('%', open + 1);
            if (close == std::string_view::npos) break;
            out.append(text.substr(pos, open - pos));
            const auto value = Environment(text.substr(open + 1, close - open - 1));
            // An unknown name stays as written, both percent signs included.
            out += value ? *value : std::string(text.substr(open, close - open + 1));
            pos = close + 1;
        }
        out.append(text.substr(pos));
        return out;
    }

    LocalTime Now() override { return config_.now; }
    std::uint32_t ProcessorCount() override { return config_.processors; }
    MemoryStatus Memory() override { return config_.memory; }

    Result<std::string> ShellFolder(int csidl) override {
        const int folder = csidl & 0xFF;  // without CSIDL_FLAG_CREATE and the like
        for (const auto& [number, path] : config_.folders)
            if (number == folder) return path;
        if (folder == kCsidlWindows) return config_.windowsDir;
        if (folder == kCsidlSystem) return config_.systemDir;
        return Result<std::string>::Failure(IsVirtualCsidl(folder) ? err::kInvalidParameter : err::kFileNotFound);
    }

    std::string ErrorText(WinError code) override { return SystemErrorText(code); }
    std::uint32_t AnsiCodePage() override { return config_.codePage; }

    // security (platform/sim/sim_security.cpp)
    Result<std::string> FileSecurity(std::string_view path) override;
    Result<std::string> KeySecurity(RegRoot root, std::string_view path) override;
    Result<std::string> ServiceSecurity(std::string_view serviceName) override {
        if (!security_.Available()) return Unsupported<std::string>(serviceName);
        return security_.ServiceDescriptor(serviceName);
    }
    Result<AccountName> AccountOfSid(std::string_view sid) override {
        if (!security_.Available()) return Unsupported<AccountName>(sid);
        return security_.AccountOfSid(sid);
    }
    Result<std::string> SidOfAccount(std::string_view name) override {
        if (!security_.Available()) return Unsupported<std::string>(name);
        return security_.SidOfAccount(name);
    }
    Result<std::uint32_t> TrusteeRights(std::string_view descriptor, const Trustee& trustee) override {
        if (!security_.Available()) return Unsupported<std::uint32_t>(descriptor);
        return security_.TrusteeRights(descriptor, trustee);
    }
    Result<WorkstationUser> LoggedOnUser() override { return security_.LoggedOnUser(); }
    Result<std::vector<std::string>> UserGlobalGroups(std::string_view, std::string_view user) override {
        if (!security_.Available()) return Unsupported<std::vector<std::string>>(user);
        return security_.UserGroups(user, false);
    }
    Result<std::vector<std::string>> UserLocalGroups(std::string_view, std::string_view user) override {
        if (!security_.Available()) return Unsupported<std::vector<std::string>>(user);
        return security_.UserGroups(user, true);
    }
    Result<std::string> ProcessUserSid() override { return security_.ProcessUserSid(); }
    Result<std::vector<std::string>> ProcessPrivileges() override { return security_.ProcessPrivileges(); }
    Result<std::string> PrivilegeDisplayName(std::string_view privilege) override {
        if (!security_.Available()) return Unsupported<std::string>(privilege);
        return security_.PrivilegeDisplayName(privilege);
    }

    Result<std::uint32_t> ServerTypeFlags() override { return SimServerTypeFlags(config_.systemProbes); }
    Result<std::vector<ShareInfo>> Shares() override { return SimShares(config_.systemProbes); }
    Result<std::unique_ptr<EventLog>> OpenEventLogByName(std::string_view log) override {
        return SimOpenEventLog(*this, log);
    }
    Result<std::unique_ptr<MessageFile>> LoadMessageFile(std::string_view path) override {
        return SimLoadMessageFile(*this, path);
    }
    Result<std::string> SystemMessage(std::uint32_t id) override { return SimSystemMessage(id); }
    Result<std::unique_ptr<CryptoProvider>> AcquireCryptoProvider(std::uint32_t type) override {
        return SimAcquireCryptoProvider(config_.systemProbes, type);
    }

    // network and the remote-control product
    Result<std::vector<TcpConnection>> TcpConnections() override { return SimTcpConnections(Network()); }
    Result<std::vector<UdpListener>> UdpListeners() override { return SimUdpListeners(Network()); }
    Result<std::vector<Ipv4Address>> HostAddresses() override { return SimHostAddresses(Network()); }
    Result<std::string> HostNameOfAddress(Ipv4Address address) override {
        return SimHostNameOfAddress(Network(), address);
    }
    Result<std::string> ServiceNameOfPort(std::uint16_t port, std::string_view protocol) override {
        return SimServiceNameOfPort(Network(), port, protocol);
    }
    Result<std::vector<RemoteCallerFile>> RemoteCallerFiles(std::string_view filesDirectory) override {
        return SimRemoteCallerFiles(*this, filesDirectory);
    }
    Result<LocalTime> LocalTimeOfUnixSeconds(std::int64_t seconds) override {
        return SimLocalTime(config_.locale, seconds);
    }
    Result<std::string> LocaleDateText(const LocalTime& time) override {
        return FormatDatePicture(time, config_.locale.datePicture);
    }
    Result<std::string> LocaleTimeText(const LocalTime& time) override {
        return FormatTimePicture(time, config_.locale.timePicture);
    }
    Result<SwapFileInfo> SwapFile9x() override {
        // NT has no "\\.\vwin32" device; a 9x image without [swap file] reports
        // the failure the DOS call gives without a pager.
        if (config_.version.platform != os_platform::kWindows9x)
            return Result<SwapFileInfo>::Failure(err::kFileNotFound);
        if (!config_.swapFile) return Result<SwapFileInfo>::Failure(kInvalidFunction);
        return *config_.swapFile;
    }
    void Sleep(std::uint32_t) override {}

    // hardware: a machine without PCI sections reports no PCI function
    Result<std::string> PciRecords() override { return config_.hardware.pciRecords; }
    Result<std::string> DeviceIndex() override { return ReadDeviceIndexFile(*this, config_.currentDir); }
    Result<std::unique_ptr<TelephonySession>> StartTelephony(std::string_view, TelephonyStart how) override {
        return SimStartTelephony(config_.hardware, how);
    }
    Result<std::unique_ptr<SerialPort>> OpenSerialPort(std::string_view portName) override {
        return SimOpenSerialPort(config_.hardware, portName);
    }

    // services, processes and start-up programs (platform/sim/sim_services.cpp)
    Result<std::unique_ptr<ServiceManager>> OpenServiceManager(std::uint32_t access) override {
        return services_.OpenManager(access);
    }
    Result<std::vector<std::uint32_t>> ProcessIds() override { return services_.ProcessIds(); }
    Result<std::unique_ptr<ProcessHandle>> OpenProcess(std::uint32_t id) override { return services_.OpenProcess(id); }
    Result<std::vector<TopWindow>> TopLevelWindows() override { return services_.Windows(); }
    Result<std::vector<DeviceDriver>> DeviceDrivers() override { return services_.Drivers(); }
    Result<std::vector<SnapshotEntry>> ProcessSnapshot9x() override { return services_.ProcessSnapshot(); }
    Result<std::vector<SnapshotEntry>> ModuleSnapshot9x(std::uint32_t id) override {
        return services_.ModuleSnapshot(id);
    }
    Result<std::string> ShortcutTarget(std::string_view linkPath) override {
        return services_.ShortcutTarget(linkPath);
    }
    Result<std::unique_ptr<CounterQuery>> OpenProcessCounters(std::string_view instance,
                                                              const std::vector<std::string>& counters) override {
        return services_.OpenCounters(instance, counters);
    }

private:
    NetworkView Network() { return NetworkView{*this, config_.network, config_.hostName}; }

    const DriveConfig* Drive(char letter) const {
        for (const DriveConfig& d : config_.drives)
            if (d.letter == letter) return &d;
        return nullptr;
    }

    // The drive letter of "C:\" or "C:"; the current drive for "".
    std::optional<char> RootDrive(std::string_view root) const {
        if (root.empty()) root = std::string_view(config_.currentDir).substr(0, 3);
        if (root.size() < 2 || root[1] != ':') return std::nullopt;
        const char letter = static_cast<char>(root[0] & ~0x20);
        if (letter < 'A' || letter > 'Z') return std::nullopt;
        if (root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/'))) return letter;
        return std::nullopt;
    }

    MachineConfig config_;
    std::unordered_map<std::string, std::size_t> environmentIndex_;  // folded name -> config_.environment
    std::shared_ptr<RegistryStore> registry_;
    std::unique_ptr<SimFileSystem> files_;
    SimSecurity security_;
    SimServices services_;
};

Result<std::string> SimMachine::FileSecurity(std::string_view path) {
    using R = Result<std::string>;
    if (!security_.Available()) return Unsupported<std::string>(path);
    auto parsed = ParseMachinePath(path, config_.currentDir, false);
    if (!parsed) return R::Failure(parsed.error());
    if (!Drive(parsed->drive)) return R::Failure(err::kPathNotFound);
    bool isDirectory = true;
    if (!parsed->components.empty()) {
        auto found = files_->FindFiles(JoinMachinePath(parsed->drive, parsed->components));
        if (!found) return R::Failure(found.error());
        if (found->empty()) return R::Failure(err::kFileNotFound);
        isDirectory = found->front().IsDirectory();
    }
    std::vector<std::string> chain{FoldName(std::string{parsed->drive, ':', '\\'})};
    for (std::size_t level = 1; level <= parsed->components.size(); ++level) {
        const std::vector<std::string> upTo(parsed->components.begin(),
                                            parsed->components.begin() + static_cast<std::ptrdiff_t>(level));
        chain.push_back(FoldName(JoinMachinePath(parsed->drive, upTo)));
    }
    return security_.Descriptor(chain, isDirectory);
}

Result<std::string> SimMachine::KeySecurity(RegRoot root, std::string_view path) {
    using R = Result<std::string>;
    if (!security_.Available()) return Unsupported<std::string>(path);
    auto key = OpenKey(root, path, kKeyRead);
    if (!key) return R::Failure(key.error());
    static constexpr std::string_view kRootNames[] = {"HKLM", "HKCU", "HKCR", "HKU"};
    std::string current(kRootNames[static_cast<int>(root)]);
    std::vector<std::string> chain{current};
    while (!path.empty()) {
        const std::size_t slash = path.find('\\');
        const std::string_view part = path.substr(0, slash);
        if (!part.empty()) chain.push_back(current += "\\" + FoldName(part));
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return security_.Descriptor(chain, true);
}

}  // namespace

LoadResult LoadMachine(const std::string& folder) {
    LoadResult out;
    const fs::path given(folder);
    std::error_code ec;
    const fs::path root = fs::canonical(given, ec);
    if (ec || !fs::is_directory(root, ec)) {
        out.error = folder + ": no such machine folder";
        return out;
    }
    const std::string iniLabel = (given / "machine.ini").string();
    std::string bytes;
    if (std::string problem = ReadMachineFile(root, root / "machine.ini", iniLabel, bytes); !problem.empty()) {
        out.error = problem == iniLabel + ": missing"
                        ? iniLabel + ": missing; a machine folder needs machine.ini (see docs/machine-format.md)"
                        : problem;
        return out;
    }
    ConfigParse parsed = ParseMachineConfig(bytes, iniLabel);
    if (!parsed.error.empty()) {
        out.error = parsed.error;
        return out;
    }

    auto registry = std::make_shared<RegistryStore>(parsed.config.codePage);
    std::vector<fs::path> regFiles;
    if (std::string problem = ListRegFiles(root, (given / "registry").string(), regFiles); !problem.empty()) {
        out.error = std::move(problem);
        return out;
    }
    for (const fs::path& regFile : regFiles) {
        const std::string label = (given / "registry" / regFile.filename()).string();
        if (std::string problem = ReadMachineFile(root, regFile, label, bytes); !problem.empty()) {
            out.error = std::move(problem);
            return out;
        }
        std::string error = ApplyRegFile(bytes, label, parsed.config.codePage, *registry);
        if (!error.empty()) {
            out.error = std::move(error);
            return out;
        }
    }

    auto files = std::make_unique<SimFileSystem>(root, parsed.config);
    if (std::string error = files->Validate(iniLabel); !error.empty()) {
        out.error = std::move(error);
        return out;
    }
    out.machine = std::make_unique<SimMachine>(std::move(parsed.config), std::move(registry), std::move(files));
    return out;
}

}  // namespace kavlo::platform::sim
