// "StartService:": starts a service and reports each step and how the start ended.

#include <algorithm>
#include <string>

#include "engine/script_engine.h"
#include "probes/services/service_commands.h"

namespace kavlo {
namespace {

namespace access = platform::service_access;

constexpr std::uint32_t kManagerAccess = access::kReadControl | access::kManagerConnect;
// Starting, and watching the start: the rights a start needs and no more.
constexpr std::uint32_t kServiceAccess = access::kStart | access::kInterrogate | access::kQueryStatus;
constexpr std::uint32_t kStartPending = 2;
constexpr std::uint32_t kRunning = 4;
constexpr WinError kServiceSpecificError = 1066;
// A start-pending service is polled at a tenth of its wait hint, within these bounds.
constexpr std::uint32_t kMinPollMs = 100;
constexpr std::uint32_t kMaxPollMs = 1000;
constexpr std::uint32_t kMaxWaitMs = 30000;

// How the start ended, once the service has left the start-pending state or
// the wait is over.
std::string StartOutcome(platform::Machine& machine, platform::ServiceHandle& service) {
    auto status = service.QueryStatus();
    std::uint32_t waited = 0;
    while (status && status->state == kStartPending && waited < kMaxWaitMs) {
        const std::uint32_t pause = std::clamp(status->waitHintMs / 10, kMinPollMs, kMaxPollMs);
        machine.Sleep(pause);
        waited += pause;
        status = service.QueryStatus();
    }
    const platform::ServiceStatus seen = status ? *status : platform::ServiceStatus{};
    if (seen.state == kRunning && seen.exitCode == 0) return "successfully started\n";
    if (seen.exitCode == 0) return "not started, no exit code information.\n";
    // The code is what support needs; the line ends so that later output starts on its own.
    if (seen.exitCode == kServiceSpecificError)
        return "errored with service specific code - " + std::to_string(seen.specificExitCode) + "\n";
    return machine.ErrorText(seen.exitCode);
}

std::string StartProtocol(platform::Machine& machine, std::string_view name) {
    std::string text = "Service Control Manager - ";
    auto manager = machine.OpenServiceManager(kManagerAccess);
    if (!manager) return text + machine.ErrorText(manager.error()) + "\n";
    text += "Opened\nOpen Service for execution - ";
    auto service = (*manager)->Open(name, kServiceAccess);
    if (!service) return text + machine.ErrorText(service.error()) + "\n";
    text += "Opened\nStarting Service - ";
    if (Status started = (*service)->Start(); !started) return text + machine.ErrorText(started.error()) + "\n";
    return text + "Started\nService has " + StartOutcome(machine, **service);
}

}  // namespace

void StartServiceCommand(CommandCall& call) {
    if (!call.title || !call.engine.context().IsNtFamily()) return;
    const std::string protocol = StartProtocol(call.engine.machine(), call.argument);
    if (call.title->KindContains("text")) call.title->AppendText(protocol);
}

}  // namespace kavlo
