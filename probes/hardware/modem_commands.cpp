// "MODEM_INFO:": every modem the telephony interface knows, its settings, its
// telephony version and provider, and a short live test of its serial port.
#include <string_view>

#include "engine/records.h"
#include "engine/script_engine.h"
#include "probes/hardware/hardware_commands.h"
#include "probes/hardware/modem_settings.h"

namespace kavlo {
namespace {

using platform::Machine;
using platform::SerialPort;
using platform::TelephonySession;

constexpr std::uint32_t kWaitForReplyMs = 300;
constexpr std::size_t kShownReplyBytes = 100;
constexpr std::string_view kTimedOut = "ERROR: Timed out waiting for responce";

// The two behaviours: the older systems' and the one of Windows 2000, which
// every later NT system gets too (the older table named no later system, which
// would leave a current machine's modems unreported).
struct ModemBehaviour {
    bool portDetails;
    std::string_view portCheckApplication;
};

std::optional<ModemBehaviour> BehaviourFor(const AppContext& context) {
    const int code = context.os.code;
    if (context.os.nt && code >= 50 && code != 300) return ModemBehaviour{true, "mirroletdiag"};
    if (code == 40 || code == 95 || code == 98 || code == 351) return ModemBehaviour{context.IsNtFamily(), "KAVLO"};
    return std::nullopt;
}

std::string OnOff(std::uint32_t lines, std::uint32_t bit) { return (lines & bit) ? "ON" : "OFF"; }

// Which program holds the port: the application of a call on the modem's line.
std::string PortInUseText(Machine& machine, std::uint32_t device, std::string_view application) {
    constexpr std::string_view kUnknown = "ERROR: COM port not available.  Unable to detect COM port application.";
    auto session = machine.StartTelephony(application, platform::TelephonyStart::Basic);
    if (!session) return std::string(kUnknown);
    const auto version = (*session)->NegotiateVersion(device, 0x10004, 0x30000);
    if (!version) return std::string(kUnknown);
    const auto owner = (*session)->CallOwner(device, *version);
    if (!owner || !owner->has_value()) return std::string(kUnknown);
    return "ERROR: COM port is being used by application: " + **owner;
}

class PortTest {
public:
    PortTest(Machine& machine, SerialPort& port, ResultNode& items) : machine_(machine), port_(port), items_(items) {}

    void Run() {
        if (!Configure() || !ShowLines() || !Reset()) return;
        if (!SwitchCarrierDetect("Turning DCD on (AT&C). DCD is now ", "AT&C\n\r", std::string(kTimedOut))) return;
        SwitchCarrierDetect("Turning DCD off (AT&C1). DCD is now ", "AT&C1\n\r", " Timed out waiting for responce");
    }

private:
    bool Failed(WinError error) {
        items_.AddChild(machine_.ErrorText(error));
        return false;
    }

    bool Configure() {
        const Status configured = port_.Configure("baud=2400 parity=N data=8 stop=1 dtr=on rts=on");
        return configured || Failed(configured.error());
    }

    bool ShowLines() {
        const auto lines = port_.ModemStatus();
        if (!lines) return Failed(lines.error());
        items_.AddChild("Hardware lines: DCD = " + OnOff(*lines, platform::comm::kRlsdOn) + ", CTS = " +
                        OnOff(*lines, platform::comm::kCtsOn) + ", DSR = " + OnOff(*lines, platform::comm::kDsrOn));
        return true;
    }

    // Reads return at once with what has arrived.
    bool Reset() {
        std::string line = "Sending AT&F. ";
        const Status timeouts = port_.SetReadTimeouts(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFE);
        if (!timeouts) return Failed(timeouts.error());
        const auto state = port_.ClearErrors();
        if (!state) return Failed(state.error());
        const std::uint32_t hold = state->holdFlags;
        if (hold & (platform::comm::kHoldCts | platform::comm::kHoldDsr | platform::comm::kHoldRlsd |
                    platform::comm::kHoldXoffReceived | platform::comm::kHoldXoffSent)) {
            if (hold & platform::comm::kHoldCts) line = "Unable to test: waiting for CTS";
            if (hold & platform::comm::kHoldDsr) line = "Unable to test: waiting for DSR";
            if (hold & platform::comm::kHoldRlsd) line = "Unable to test: waiting for RLSD";
            if (hold & platform::comm::kHoldXoffSent) line = "Unable to test: waiting for responce to XOFF";
            items_.AddChild(line);
            return false;
        }
        auto reply = Send("AT&F\n\r");
        if (!reply) return Failed(reply.error());
        if (!reply->has_value()) {
            items_.AddChild(line + std::string(kTimedOut));
            return false;
        }
        std::string shown;
        for (char c : (**reply).substr(0, kShownReplyBytes)) {
            if (c == '\0') continue;
            shown += (c == '\r' || c == '\n') ? ' ' : c;
        }
        items_.AddChild(line + "Received '" + shown + "'");
        return true;
    }

    bool SwitchCarrierDetect(std::string line, std::string_view command, const std::string& timedOut) {
        auto reply = Send(command);
        if (!reply) return Failed(reply.error());
        if (!reply->has_value()) {
            items_.AddChild(line + timedOut);
            return false;
        }
        const auto lines = port_.ModemStatus();
        if (!lines) return Failed(lines.error());
        items_.AddChild(line + OnOff(*lines, platform::comm::kRlsdOn));
        return true;
    }

    // Writes a command with its terminating zero byte, waits for the modem and
    // takes everything it answered, so that the next step's check for a reply
    // sees only the reply to its own command. nullopt: nothing arrived.
    Result<std::optional<std::string>> Send(std::string_view command) {
        using Reply = Result<std::optional<std::string>>;
        std::string bytes(command);
        bytes.push_back('\0');
        const auto written = port_.Write(bytes);
        if (!written) return Reply::Failure(written.error());
        machine_.Sleep(kWaitForReplyMs);
        const auto state = port_.ClearErrors();
        if (!state) return Reply::Failure(state.error());
        if (state->queuedIn == 0) return std::optional<std::string>();
        auto read = port_.Read(state->queuedIn);
        if (!read) return Reply::Failure(read.error());
        return std::optional<std::string>(std::move(*read));
    }

    Machine& machine_;
    SerialPort& port_;
    ResultNode& items_;
};

class ModemWalk {
public:
    ModemWalk(AppContext& context, ResultNode& root, ModemBehaviour behaviour)
        : machine_(context.machine), root_(root), behaviour_(behaviour) {}

    void Run() {
        auto session = machine_.StartTelephony("KAVLO", platform::TelephonyStart::Extended);
        if (!session) return;
        // The walk keeps its line application for every modem (lines are closed
        // after each query), so a busy port does not leave later modems out.
        for (std::uint32_t device = 0; device < (*session)->LineCount(); ++device) Describe(**session, device);
    }

private:
    void Describe(TelephonySession& session, std::uint32_t device) {
        const auto negotiated = session.NegotiateVersion(device, 0x10004, 0x30000);
        const auto caps = session.DeviceCaps(device, negotiated ? *negotiated : session.ApiVersion());
        if (!caps) return;
        ResultNode& line = root_.AddChild(caps->lineName);
        auto key = machine_.OpenKey(platform::RegRoot::LocalMachine, caps->modemKey);
        if (!key) return;
        line.AddChild(ModemAttachmentLine(machine_, **key, behaviour_.portDetails));
        AddModemControlPanelValues(line, **key);
        AddTelephony(session, device, line);
        AddPortTest(device, ModemPort(**key), line.AddChild("Basic modem tests..."));
    }

    void AddTelephony(TelephonySession& session, std::uint32_t device, ResultNode& line) {
        ResultNode& tapi = line.AddChild("TAPI information...");
        const auto version = session.NegotiateVersion(device, 0x10000, 0x0FFF0FFF);
        if (!version) {
            tapi.AddChild("Error checking TAPI version");
            return;
        }
        tapi.AddChild("Highest TAPI version supported: " + TapiVersionName(*version));
        const auto caps = session.DeviceCaps(device, *version);
        const auto providers = session.Providers(*version);
        if (providers) {
            std::string names;
            const std::uint32_t provider = caps ? caps->permanentLineId >> 16 : 0;
            for (const auto& p : *providers)
                if (caps && p.permanentId == provider) names += p.fileName;
            tapi.AddChild("Unimodem provider: " + names);
        } else {
            tapi.AddChild("Error getting TAPI provider list");
        }
        const auto status = session.LineStatus(device, *version);
        const platform::LineDeviceStatus counts = status ? *status : platform::LineDeviceStatus{};
        tapi.AddChild("TAPI calls in progress with this modem: " + std::to_string(counts.activeCalls));
        tapi.AddChild("TAPI applications waiting with this modem: " + std::to_string(counts.opens));
    }

    void AddPortTest(std::uint32_t device, const std::string& portName, ResultNode& items) {
        auto port = machine_.OpenSerialPort(portName);
        if (!port) {
            items.AddChild(PortInUseText(machine_, device, behaviour_.portCheckApplication));
            return;
        }
        PortTest(machine_, **port, items).Run();
    }

    Machine& machine_;
    ResultNode& root_;
    ModemBehaviour behaviour_;
};

}  // namespace

std::string TapiVersionName(std::uint32_t version) {
    switch (version) {
        case 0x10003: return "1.3";
        case 0x10004: return "1.4";
        case 0x20000: return "2.0";
        case 0x20001: return "2.1";
        case 0x30000: return "3.0";
        default: return std::to_string(version);
    }
}

void ModemInfoCommand(CommandCall& call) {
    if (!call.title) return;
    AppContext& context = call.engine.context();
    const auto behaviour = BehaviourFor(context);
    if (behaviour) ModemWalk(context, call.title->Root(), *behaviour).Run();
}

}  // namespace kavlo
