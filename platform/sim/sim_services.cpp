#include "platform/sim/sim_services.h"

#include <algorithm>

#include "platform/security/sddl.h"
#include "platform/shell_link.h"
#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

constexpr std::string_view kServicesKey = "SYSTEM\\CurrentControlSet\\Services";
constexpr WinError kServiceDoesNotExist = 1060;
constexpr WinError kServiceNotActive = 1062;
constexpr WinError kCannotAcceptControl = 1061;
constexpr WinError kAlreadyRunning = 1056;
constexpr WinError kServiceDisabled = 1058;
constexpr WinError kServiceNeverStarted = 1077;
constexpr WinError kServiceSpecificError = 1066;
constexpr WinError kPartialCopy = 299;
constexpr WinError kPdhNoInstance = 0x800007D1;
constexpr WinError kPdhNoCounter = 0xC0000BB9;
constexpr WinError kPdhInvalidData = 0xC0000BBA;

constexpr std::uint32_t kMaximumAllowed = 0x2000000;
constexpr GenericMapping kManagerMapping = {0x20014, 0x20022, 0x20009, 0xF003F};
constexpr GenericMapping kServiceMapping = {0x2008D, 0x20002, 0x20170, 0xF01FF};
// Who may do what when the image describes no access list: the service
// manager's and a new service's lists of Windows 2000.
constexpr std::string_view kManagerSddl = "D:(A;;0x2001D;;;AU)(A;;0xF003F;;;SY)(A;;0xF003F;;;BA)";
constexpr std::string_view kDefaultServiceSddl =
    "D:(A;;0x2018D;;;AU)(A;;0x2018D;;;IU)(A;;0x201FD;;;PU)(A;;0xF01FF;;;SY)(A;;0xF01FF;;;BA)";

namespace access = service_access;

std::uint32_t Dword(const Result<RegValue>& value, std::uint32_t fallback) {
    if (!value || value->type != regtype::kDword || value->data.size() < 4) return fallback;
    const auto* b = reinterpret_cast<const unsigned char*>(value->data.data());
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::string Text(const Result<RegValue>& value) {
    if (!value) return {};
    std::string text = value->data;
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
}

std::string BaseNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The access a descriptor grants the logged-on user; everything for images
// without security or without a logged-on user.
std::uint32_t Granted(const SimSecurity& security, std::string_view descriptor, const GenericMapping& mapping) {
    if (!security.Available()) return mapping.all | kMaximumAllowed;
    auto granted = security.UserAccess(descriptor, mapping);
    if (!granted && granted.error() == err::kNotSupported) return mapping.all | kMaximumAllowed;  // nobody logged on
    return granted ? *granted : 0;
}

std::string DescriptorOf(std::string_view sddl) { return SerializeSecurityDescriptor(ParseSddl(sddl).descriptor); }

// Whether `granted` covers what `requested` asks; MAXIMUM_ALLOWED asks for nothing in particular.
bool Covers(std::uint32_t granted, std::uint32_t requested, const GenericMapping& mapping) {
    const std::uint32_t wanted = MapGenericRights(requested, mapping) & ~kMaximumAllowed;
    return (wanted & ~granted) == 0;
}

struct ServiceRecord {
    std::string name;
    ServiceConfig config;
};

class SimServiceHandle final : public ServiceHandle {
public:
    SimServiceHandle(ServiceRecord record, SimServiceState& state, std::uint32_t access)
        : record_(std::move(record)), state_(state), access_(access) {}

    Result<ServiceStatus> QueryStatus() override {
        if (!(access_ & access::kQueryStatus)) return Result<ServiceStatus>::Failure(err::kAccessDenied);
        return Status();
    }
    Result<ServiceStatus> Interrogate() override {
        using R = Result<ServiceStatus>;
        if (!(access_ & access::kInterrogate)) return R::Failure(err::kAccessDenied);
        if (state_.status.state == 1) return R::Failure(kServiceNotActive);
        if (state_.status.state == 2 || state_.status.state == 3) return R::Failure(kCannotAcceptControl);
        return Status();
    }
    Result<ServiceConfig> Config() override {
        if (!(access_ & access::kQueryConfig)) return Result<ServiceConfig>::Failure(err::kAccessDenied);
        return record_.config;
    }
    kavlo::Status Start() override {
        if (!(access_ & access::kStart)) return kavlo::Status(err::kAccessDenied);
        if (record_.config.startType == 4) return kavlo::Status(kServiceDisabled);
        if (state_.status.state != 1) return kavlo::Status(kAlreadyRunning);
        ServiceStatus& status = state_.status;
        switch (state_.onStart) {
            case StartOutcome::Runs: status.state = 4, status.exitCode = 0, status.specificExitCode = 0; break;
            case StartOutcome::Fails: status.exitCode = state_.startCode; return kavlo::Status(state_.startCode);
            case StartOutcome::ExitsWithCode:
                status.state = 1, status.exitCode = kServiceSpecificError, status.specificExitCode = state_.startCode;
                break;
            case StartOutcome::Hangs: status.state = 2, status.exitCode = 0; break;
        }
        return {};
    }

private:
    ServiceStatus Status() const {
        ServiceStatus status = state_.status;
        status.type = record_.config.type;
        return status;
    }
    ServiceRecord record_;
    SimServiceState& state_;
    std::uint32_t access_;
};

class SimServiceManager final : public ServiceManager {
public:
    SimServiceManager(Machine& machine, ServicesConfig& state, const SimSecurity& security, std::uint32_t access)
        : machine_(machine), state_(state), security_(security), access_(access) {}

    Result<std::unique_ptr<ServiceHandle>> Open(std::string_view name, std::uint32_t access) override {
        using R = Result<std::unique_ptr<ServiceHandle>>;
        if (!(access_ & access::kManagerConnect)) return R::Failure(err::kAccessDenied);
        auto record = Read(name);
        if (!record) return R::Failure(record.error());
        auto described = machine_.ServiceSecurity(record->name);
        const std::string descriptor = described ? *described : DescriptorOf(kDefaultServiceSddl);
        const std::uint32_t granted = Granted(security_, descriptor, kServiceMapping);
        if (!Covers(granted, access, kServiceMapping)) return R::Failure(err::kAccessDenied);
        const std::uint32_t held = (access & kMaximumAllowed) ? granted : MapGenericRights(access, kServiceMapping);
        return std::unique_ptr<ServiceHandle>(std::make_unique<SimServiceHandle>(*record, StateOf(*record), held));
    }

    Result<std::string> DisplayName(std::string_view name) override {
        if (!(access_ & access::kManagerConnect)) return Result<std::string>::Failure(err::kAccessDenied);
        auto record = Read(name);
        if (!record) return Result<std::string>::Failure(record.error());
        return record->config.displayName;
    }

    Result<std::vector<ServiceEntry>> Services(std::uint32_t types, std::uint32_t stateGroup) override {
        using R = Result<std::vector<ServiceEntry>>;
        if (!(access_ & access::kManagerEnumerate)) return R::Failure(err::kAccessDenied);
        std::vector<ServiceEntry> out;
        for (const std::string& name : Names()) {
            auto record = Read(name);
            if (!record || !(record->config.type & types)) continue;
            ServiceStatus status = StateOf(*record).status;
            status.type = record->config.type;
            const bool active = status.state != 1;
            if (!((active && (stateGroup & 1)) || (!active && (stateGroup & 2)))) continue;
            out.push_back({record->name, record->config.displayName, status});
        }
        return out;
    }

private:
    // The subkeys of the services key that hold a DWORD "Type", by name.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        auto key = machine_.OpenKey(RegRoot::LocalMachine, kServicesKey);
        if (!key) return names;
        for (std::uint32_t index = 0;; ++index) {
            auto name = (*key)->EnumSubkey(index, 255);
            if (!name) break;
            names.push_back(std::move(*name));
        }
        std::sort(names.begin(), names.end(), NameLess);
        return names;
    }

    Result<ServiceRecord> Read(std::string_view name) {
        using R = Result<ServiceRecord>;
        if (name.empty() || name.find('\\') != std::string_view::npos) return R::Failure(kServiceDoesNotExist);
        auto key = machine_.OpenKey(RegRoot::LocalMachine, std::string(kServicesKey) + "\\" + std::string(name));
        if (!key) return R::Failure(kServiceDoesNotExist);
        const RegistryKey& k = **key;
        const auto type = k.QueryValue("Type", 64);
        if (!type || type->type != regtype::kDword) return R::Failure(kServiceDoesNotExist);
        ServiceRecord record;
        record.name = std::string(name);
        ServiceConfig& c = record.config;
        c.type = Dword(type, 0);
        c.startType = Dword(k.QueryValue("Start", 64), 3);
        c.errorControl = Dword(k.QueryValue("ErrorControl", 64), 1);
        c.binaryPath = Text(k.QueryValue("ImagePath", 4096));
        c.loadOrderGroup = Text(k.QueryValue("Group", 4096));
        c.tagId = Dword(k.QueryValue("Tag", 64), 0);
        c.startName = Text(k.QueryValue("ObjectName", 4096));
        if (c.startName.empty() && (c.type & 0x30)) c.startName = "LocalSystem";
        c.displayName = Text(k.QueryValue("DisplayName", 4096));
        if (c.displayName.empty()) c.displayName = record.name;
        return record;
    }

    // A service the image gives no state runs when Windows starts it at boot
    // (boot, system and automatic start) and has never been started otherwise.
    SimServiceState& StateOf(const ServiceRecord& record) {
        auto [it, added] = state_.services.try_emplace(FoldName(record.name));
        if (added) {
            const bool startedAtBoot = record.config.startType <= 2;
            it->second.status.state = startedAtBoot ? 4 : 1;
            it->second.status.exitCode = startedAtBoot ? 0 : kServiceNeverStarted;
        }
        return it->second;
    }

    Machine& machine_;
    ServicesConfig& state_;
    const SimSecurity& security_;
    std::uint32_t access_;
};

class SimProcessHandle final : public ProcessHandle {
public:
    explicit SimProcessHandle(const SimProcess& process) : process_(process) {}
    Result<std::string> BaseName() override {
        if (process_.image.empty()) return Result<std::string>::Failure(kPartialCopy);
        return BaseNameOf(process_.image);
    }
    Result<std::string> ImagePath() override {
        if (process_.image.empty()) return Result<std::string>::Failure(kPartialCopy);
        return process_.image;
    }
    Result<std::vector<std::string>> ModulePaths() override {
        if (process_.image.empty()) return Result<std::vector<std::string>>::Failure(kPartialCopy);
        std::vector<std::string> paths{process_.image};
        paths.insert(paths.end(), process_.modules.begin(), process_.modules.end());
        return paths;
    }
    Result<ProcessMemory> Memory() override { return process_.memory; }

private:
    SimProcess process_;
};

// Rate counters ("% Processor Time") need two collections, as on Windows.
class SimCounterQuery final : public CounterQuery {
public:
    SimCounterQuery(const SimProcess* process, std::vector<std::string> names)
        : process_(process), names_(std::move(names)) {}
    kavlo::Status Collect() override {
        ++collections_;
        return {};
    }
    Result<std::int64_t> Value(std::size_t counter) override {
        using R = Result<std::int64_t>;
        if (counter >= names_.size()) return R::Failure(err::kInvalidParameter);
        if (!process_) return R::Failure(kPdhNoInstance);
        for (const auto& [name, value] : process_->counters) {
            if (!SameName(name, names_[counter])) continue;
            const bool rate = !name.empty() && name[0] == '%';
            if (collections_ < (rate ? 2 : 1)) return R::Failure(kPdhInvalidData);
            return value;
        }
        return R::Failure(kPdhNoCounter);
    }

private:
    const SimProcess* process_;
    std::vector<std::string> names_;
    int collections_ = 0;
};

}  // namespace

Result<std::unique_ptr<ServiceManager>> SimServices::OpenManager(std::uint32_t access) {
    using R = Result<std::unique_ptr<ServiceManager>>;
    const std::uint32_t granted = Granted(security_, DescriptorOf(kManagerSddl), kManagerMapping);
    if (!Covers(granted, access, kManagerMapping)) return R::Failure(err::kAccessDenied);
    std::uint32_t held = (access & kMaximumAllowed) ? granted : MapGenericRights(access, kManagerMapping);
    held |= access::kManagerConnect;  // OpenSCManager always asks for it
    return std::unique_ptr<ServiceManager>(std::make_unique<SimServiceManager>(machine_, state_, security_, held));
}

Result<std::vector<std::uint32_t>> SimServices::ProcessIds() const {
    std::vector<std::uint32_t> ids;
    for (const SimProcess& process : state_.processes) ids.push_back(process.id);
    return ids;
}

Result<std::unique_ptr<ProcessHandle>> SimServices::OpenProcess(std::uint32_t processId) const {
    using R = Result<std::unique_ptr<ProcessHandle>>;
    for (const SimProcess& process : state_.processes) {
        if (process.id != processId) continue;
        if (process.denied) return R::Failure(err::kAccessDenied);
        return std::unique_ptr<ProcessHandle>(std::make_unique<SimProcessHandle>(process));
    }
    return R::Failure(err::kInvalidParameter);
}

Result<std::vector<DeviceDriver>> SimServices::Drivers() {
    auto manager = OpenManager(access::kManagerEnumerate | access::kManagerConnect);
    if (!manager) return Result<std::vector<DeviceDriver>>::Failure(manager.error());
    auto drivers = (*manager)->Services(0x3, 1);
    if (!drivers) return Result<std::vector<DeviceDriver>>::Failure(drivers.error());
    std::vector<DeviceDriver> out;
    for (const ServiceEntry& entry : *drivers) {
        auto service = (*manager)->Open(entry.name, access::kQueryConfig);
        std::string path = service ? [&] {
            auto config = (*service)->Config();
            return config ? config->binaryPath : std::string();
        }()
                                   : std::string();
        // The system names drivers from its root, as "\SystemRoot\System32\DRIVERS\x.sys".
        if (path.empty()) path = "\\SystemRoot\\System32\\drivers\\" + entry.name + ".sys";
        else if (path[0] != '\\' && path.find(':') == std::string::npos) path = "\\SystemRoot\\" + path;
        out.push_back({BaseNameOf(path), path});
    }
    return out;
}

Result<std::vector<SnapshotEntry>> SimServices::ProcessSnapshot() const {
    std::vector<SnapshotEntry> out;
    for (const SimProcess& process : state_.processes) out.push_back({process.id, process.image, process.image});
    return out;
}

Result<std::vector<SnapshotEntry>> SimServices::ModuleSnapshot(std::uint32_t processId) const {
    std::vector<SnapshotEntry> out;
    for (const SimProcess& process : state_.processes) {
        if ((processId != 0 && process.id != processId) || process.image.empty()) continue;
        out.push_back({process.id, BaseNameOf(process.image), process.image});
        for (const std::string& module : process.modules) out.push_back({process.id, BaseNameOf(module), module});
    }
    return out;
}

Result<std::string> SimServices::ShortcutTarget(std::string_view linkPath) {
    using R = Result<std::string>;
    constexpr std::uint64_t kMaxLinkBytes = 1 << 20;  // links are a few hundred bytes
    auto file = machine_.OpenForRead(linkPath);
    if (!file) return R::Failure(file.error());
    if ((*file)->Size() > kMaxLinkBytes) return R::Failure(kShellLinkCorrupt);
    std::string bytes(static_cast<std::size_t>((*file)->Size()), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        auto read = (*file)->Read(bytes.data() + filled, bytes.size() - filled);
        if (!read) return R::Failure(read.error());
        if (*read == 0) break;
        filled += *read;
    }
    bytes.resize(filled);
    auto link = ParseShellLink(bytes, codePage_);
    if (!link) return R::Failure(link.error());
    if (link->target.empty()) return R::Failure(err::kFileNotFound);
    return link->target;
}

Result<std::unique_ptr<CounterQuery>> SimServices::OpenCounters(std::string_view instance,
                                                                const std::vector<std::string>& counters) const {
    const SimProcess* found = nullptr;
    for (const SimProcess& process : state_.processes) {
        std::string base = BaseNameOf(process.image);
        if (base.size() > 4 && SameName(std::string_view(base).substr(base.size() - 4), ".exe"))
            base.resize(base.size() - 4);
        if (!base.empty() && SameName(base, instance)) {
            found = &process;
            break;
        }
    }
    return std::unique_ptr<CounterQuery>(std::make_unique<SimCounterQuery>(found, counters));
}

}  // namespace kavlo::platform::sim
