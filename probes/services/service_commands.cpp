// "ServiceConfg:", "CServiceStatus:", "ServiceInteracts:", "MyServiceRights:":
// what a service is configured to be, what state it is in, and what the
// logged-on user's groups may do with it. NT family only.

#include <optional>
#include <string>
#include <vector>

#include "engine/script_engine.h"
#include "probes/security/access_listing.h"
#include "probes/security/logon_record.h"
#include "probes/security/security_texts.h"
#include "probes/services/service_commands.h"
#include "probes/services/service_texts.h"

namespace kavlo {
namespace {

using platform::Machine;
using platform::ServiceConfig;
using platform::ServiceHandle;
using platform::ServiceManager;
using platform::ServiceStatus;

namespace access = platform::service_access;

constexpr WinError kServiceSpecificError = 1066;

// The title when the line runs on an NT-family system inside a title.
TitleRecord* ServiceTitle(CommandCall& call) {
    return call.title && call.engine.context().IsNtFamily() ? call.title : nullptr;
}

void AppendIfText(TitleRecord& title, const std::string& text) {
    if (title.KindContains("text")) title.AppendText(text);
}

// The service's status, interrogated once and configuration read once per row.
class ServiceFields {
public:
    ServiceFields(Machine& machine, ServiceManager& manager, ServiceHandle& service, std::string_view name)
        : machine_(machine), manager_(manager), service_(service), name_(name) {}

    std::string Value(std::string_view key) {
        if (key == "SNAME") {
            auto display = manager_.DisplayName(name_);
            return display ? *display : std::string();
        }
        if (key == "SSTATUS" || key == "SERROR") {
            const Result<ServiceStatus>& status = Interrogated();
            if (key == "SSTATUS") return status ? std::string(StatusWord(status->state)) : std::string();
            if (!status) return ErrorTextCut(machine_, status.error());
            if (status->exitCode == 0) return "No error";
            if (status->exitCode == kServiceSpecificError)
                return "Specific error code " + std::to_string(status->specificExitCode);
            return ErrorTextCut(machine_, status->exitCode);
        }
        const Result<ServiceConfig>& config = Configuration();
        if (!config) return ErrorTextCut(machine_, config.error());
        if (key == "SERVTYPE") return ServiceTypeWords(config->type);
        if (key == "SSTARTTYPE") return std::string(StartTypeWord(config->startType));
        if (key == "SFILEPATH") return config->binaryPath;
        if (key == "SLOADORDERGROUP") return config->loadOrderGroup;
        if (key == "STAGID") return std::to_string(config->tagId);
        if (key == "SSTARTNAME") return config->startName;
        if (key == "SFILERIGHTS") {
            std::string text;
            ListAccess(machine_, machine_.FileSecurity(BinaryFileOf(machine_, config->binaryPath)), ListingMode::Text,
                       &text, nullptr);
            return text;
        }
        return {};
    }

private:
    const Result<ServiceStatus>& Interrogated() {
        if (!status_) status_.emplace(service_.Interrogate());
        return *status_;
    }
    const Result<ServiceConfig>& Configuration() {
        if (!config_) config_.emplace(service_.Config());
        return *config_;
    }

    Machine& machine_;
    ServiceManager& manager_;
    ServiceHandle& service_;
    std::string_view name_;
    std::optional<Result<ServiceStatus>> status_;
    std::optional<Result<ServiceConfig>> config_;
};

// The keys of a list: cut at every comma, the last key what follows the last comma.
std::vector<std::string_view> Keys(std::string_view list) {
    std::vector<std::string_view> keys;
    for (;;) {
        const std::size_t comma = list.find(',');
        keys.push_back(list.substr(0, comma));
        if (comma == std::string_view::npos) return keys;
        list.remove_prefix(comma + 1);
    }
}

struct RightName {
    std::string_view name;
    std::uint32_t mask;
};
constexpr RightName kServiceRights[] = {
    {"QUERY_CONFIG", 0x1},
    {"CHANGE_CONFIG", 0x2},
    {"QUERY_STATUS", 0x4},
    {"ENUMERATE_DEPENDENTS", 0x8},
    {"START", 0x10},
    {"STOP", 0x20},
    {"PAUSE_CONTINUE", 0x40},
    {"INTERROGATE", 0x80},
    {"USER_DEFINED_CONTROL", 0x100},
    {"DELETE", 0x10000},
    {"READ_CONTROL", 0x20000},
    {"WRITE_DAC", 0x40000},
    {"WRITE_OWNER", 0x80000},
    {"SYNCHRONIZE", 0x100000},
    {"STANDARD_RIGHTS_REQUIRED", 0xF0000},
    {"ACCESS_SYSTEM_SECURITY", 0x1000000},
    {"MAXIMUM_ALLOWED", 0x2000000},
    {"GENERIC_READ", 0x80000000},
    {"GENERIC_WRITE", 0x40000000},
    {"GENERIC_EXECUTE", 0x20000000},
    {"GENERIC_ALL", 0x10000000},
};

// "  Yes - A, B   No - C \n" over the rights the filter names (all without one).
std::string RightsLine(std::uint32_t rights, std::string_view filter) {
    std::string yes, no;
    for (const RightName& right : kServiceRights) {
        if (!filter.empty() && filter.find(right.name) == std::string_view::npos) continue;
        std::string& list = (rights & right.mask) ? yes : no;
        list += (list.empty() ? "" : ", ") + std::string(right.name);
    }
    std::string line;
    if (!yes.empty()) line += "  Yes - " + yes + " ";
    if (!no.empty()) line += "  No - " + no + " ";
    return line + "\n";
}

std::string RightsReport(AppContext& context, ServiceHandle& service, std::string_view name, std::string_view filter) {
    Machine& machine = context.machine;
    const Result<std::string> descriptor = machine.ServiceSecurity(name);
    EnsureLogonRecord(context);
    std::vector<std::string> groups = context.logon.globalGroups;
    groups.insert(groups.end(), context.logon.localGroups.begin(), context.logon.localGroups.end());
    std::string report;
    for (const std::string& group : groups) {
        report += group + ": ";
        auto rights = descriptor ? machine.TrusteeRights(*descriptor, {platform::Trustee::Form::Name, group})
                                 : Result<std::uint32_t>::Failure(descriptor.error());
        report += rights ? RightsLine(*rights, filter)
                         : "  Rights could not be determined - " + SystemText(machine, rights.error()) + "\n";
    }

    report += "\nLocalSystem's file access rights to MIRROLETHOST32.EXE: ";
    auto config = service.Config();
    auto fileDescriptor = config ? machine.FileSecurity(BinaryFileOf(machine, config->binaryPath))
                                 : Result<std::string>::Failure(config.error());
    auto systemRights = fileDescriptor
                            ? machine.TrusteeRights(*fileDescriptor, {platform::Trustee::Form::Name, "SYSTEM"})
                            : Result<std::uint32_t>::Failure(fileDescriptor.error());
    if (systemRights) AppendFileRightsLine(*systemRights, report);
    else report += "could not be read - " + SystemText(machine, systemRights.error()) + "\n";

    report += "\nChecking for PROGRAM file and directory:\n";
    for (const std::string& root : machine.LogicalDrives()) {
        if (machine.DriveType(root) != platform::drive::kFixed) continue;
        auto entries = machine.FindFiles(root + "Program");
        if (!entries) continue;
        for (const platform::FindEntry& entry : *entries) {
            if (entry.name == "." || entry.name == "..") continue;
            report += entry.fullPath + (entry.IsDirectory() ? "   [Directory]\n" : "   [File]\n");
        }
    }
    return report;
}

}  // namespace

void ServiceConfgCommand(CommandCall& call) {
    TitleRecord* title = ServiceTitle(call);
    if (!title) return;
    Machine& machine = call.engine.machine();
    const auto [name, fields] = SplitAtFirstComma(call.argument);
    std::string message;
    auto manager = machine.OpenServiceManager(access::kReadControl);
    if (!manager) {
        message =
            "Can not open Service Control Manager for READ_CONTROL access - " + machine.ErrorText(manager.error());
    } else {
        auto service = (*manager)->Open(name, access::kReadControl | access::kQueryConfig);
        auto config = service ? (*service)->Config() : Result<ServiceConfig>::Failure(service.error());
        if (!config) {
            message = "Can not determine configuration of service " + std::string(name) + " error - " +
                      machine.ErrorText(config.error());
        } else if (fields.find("StartName") != std::string_view::npos) {
            title->AppendText(config->startName);
        }
    }
    if (message.size() > 1) AppendIfText(*title, message + "\n");
}

void CServiceStatusCommand(CommandCall& call) {
    TitleRecord* title = ServiceTitle(call);
    if (!title) return;
    Machine& machine = call.engine.machine();
    const auto [name, keyList] = SplitAtFirstComma(call.argument);
    const std::vector<std::string_view> keys = Keys(keyList);
    // Connecting, enumerating and querying are what every user may do; asking
    // for more would turn each row into "access denied" for a standard user.
    auto manager = machine.OpenServiceManager(access::kManagerConnect | access::kManagerEnumerate);
    auto service = manager ? (*manager)->Open(name, access::kQueryConfig | access::kQueryStatus | access::kInterrogate)
                           : Result<std::unique_ptr<ServiceHandle>>::Failure(manager.error());
    std::string row;
    if (service) {
        ServiceFields fields(machine, **manager, **service, name);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            std::string value = fields.Value(keys[i]);
            row += (i ? "," : "") + (value.empty() ? std::string(" ") : value);
        }
    } else {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i) row += ',';
            if (keys[i] == "SNAME") {
                row += name;
            } else if (keys[i] == "SERROR") {
                row += machine.ErrorText(service.error());
                if (!row.empty()) row.pop_back();  // the row loses its last character, as stored reports show
            } else {
                row += ' ';
            }
        }
    }
    title->AppendText(row + "\n");
}

void ServiceInteractsCommand(CommandCall& call) {
    TitleRecord* title = ServiceTitle(call);
    if (!title) return;
    Machine& machine = call.engine.machine();
    auto manager = machine.OpenServiceManager(access::kReadControl | access::kManagerConnect);
    auto service = manager ? (*manager)->Open(call.argument, access::kInterrogate | access::kQueryStatus)
                           : Result<std::unique_ptr<ServiceHandle>>::Failure(manager.error());
    auto status = service ? (*service)->QueryStatus() : Result<ServiceStatus>::Failure(service.error());
    const std::string value = status ? ((status->type & 0x100) ? "Yes" : "No") : machine.ErrorText(status.error());
    AppendIfText(*title, value + "\n");
}

void MyServiceRightsCommand(CommandCall& call) {
    TitleRecord* title = ServiceTitle(call);
    if (!title) return;
    Machine& machine = call.engine.machine();
    const auto [name, filter] = SplitAtFirstComma(call.argument);
    auto manager = machine.OpenServiceManager(access::kReadControl);
    if (!manager) {
        AppendIfText(*title, "Can not open Service Control Manager for READ_CONTROL access - " +
                                 machine.ErrorText(manager.error()) + "\n");
        return;
    }
    auto service = (*manager)->Open(name, access::kReadControl | access::kQueryConfig);
    if (!service) {
        AppendIfText(*title, "Can not determine access rights of service " + std::string(name) + " error - " +
                                 machine.ErrorText(service.error()) + "\n");
        return;
    }
    title->AppendText(RightsReport(call.engine.context(), **service, name, filter));
}

}  // namespace kavlo
