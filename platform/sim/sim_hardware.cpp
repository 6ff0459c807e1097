#include "platform/sim/sim_hardware.h"

#include <algorithm>

#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

// TAPI's own error codes.
constexpr WinError kLineBadDeviceId = 0x80000002;
constexpr WinError kLineIncompatibleVersion = 0x8000000C;
constexpr WinError kLineNoDriver = 0x80000043;

class SimTelephony final : public TelephonySession {
public:
    SimTelephony(const HardwareConfig& hardware, std::uint32_t apiVersion)
        : hardware_(hardware), apiVersion_(apiVersion) {}

    std::uint32_t LineCount() const override { return static_cast<std::uint32_t>(hardware_.lines.size()); }
    std::uint32_t ApiVersion() const override { return apiVersion_; }

    Result<std::uint32_t> NegotiateVersion(std::uint32_t device, std::uint32_t low, std::uint32_t high) override {
        const SimTelephonyLine* line = Line(device);
        if (!line) return Result<std::uint32_t>::Failure(kLineBadDeviceId);
        const std::uint32_t version = std::min(line->highestVersion, high);
        if (version < low) return Result<std::uint32_t>::Failure(kLineIncompatibleVersion);
        return version;
    }
    Result<LineDeviceCaps> DeviceCaps(std::uint32_t device, std::uint32_t) override {
        const SimTelephonyLine* line = Line(device);
        if (!line) return Result<LineDeviceCaps>::Failure(kLineBadDeviceId);
        if (!line->capsReadable) return Result<LineDeviceCaps>::Failure(kLineNoDriver);
        return line->caps;
    }
    Result<std::vector<TelephonyProvider>> Providers(std::uint32_t) override { return hardware_.providers; }
    Result<LineDeviceStatus> LineStatus(std::uint32_t device, std::uint32_t) override {
        const SimTelephonyLine* line = Line(device);
        if (!line) return Result<LineDeviceStatus>::Failure(kLineBadDeviceId);
        return line->status;
    }
    Result<std::optional<std::string>> CallOwner(std::uint32_t device, std::uint32_t) override {
        const SimTelephonyLine* line = Line(device);
        if (!line) return Result<std::optional<std::string>>::Failure(kLineBadDeviceId);
        return line->callOwner;
    }

private:
    const SimTelephonyLine* Line(std::uint32_t device) const {
        return device < hardware_.lines.size() ? &hardware_.lines[device] : nullptr;
    }
    const HardwareConfig& hardware_;
    std::uint32_t apiVersion_;
};

// The modem's side of the line: it takes each command line written to it and,
// for the commands it answers, queues its reply and switches carrier detect.
class SimPort final : public SerialPort {
public:
    explicit SimPort(SimSerialPeer peer) : peer_(std::move(peer)) {}

    Status Configure(std::string_view deviceControl) override {
        return deviceControl.empty() ? Status(err::kInvalidParameter) : Status();
    }
    Result<std::uint32_t> ModemStatus() override { return peer_.lines; }
    Status SetReadTimeouts(std::uint32_t, std::uint32_t, std::uint32_t) override { return {}; }
    Result<CommErrorState> ClearErrors() override {
        return CommErrorState{0, peer_.holdFlags, static_cast<std::uint32_t>(queued_.size())};
    }
    Result<std::size_t> Write(std::string_view bytes) override {
        for (char c : bytes) {
            if (c == '\r' || c == '\n') {
                Command(pending_);
                pending_.clear();
            } else if (c != '\0') {
                pending_ += c;
            }
        }
        return bytes.size();
    }
    Result<std::string> Read(std::size_t maxBytes) override {
        const std::size_t count = std::min(maxBytes, queued_.size());
        std::string out = queued_.substr(0, count);
        queued_.erase(0, count);
        return out;
    }

private:
    void Command(const std::string& command) {
        if (command.empty()) return;
        const bool answered = std::any_of(peer_.answers.begin(), peer_.answers.end(),
                                          [&](const std::string& a) { return SameName(a, command); });
        if (!answered) return;
        queued_ += "\r\n" + peer_.reply + "\r\n";
        if (SameName(command, "AT&C")) peer_.lines |= comm::kRlsdOn;
        if (SameName(command, "AT&C1")) peer_.lines &= ~comm::kRlsdOn;
    }

    SimSerialPeer peer_;
    std::string pending_;
    std::string queued_;
};

}  // namespace

Result<std::unique_ptr<TelephonySession>> SimStartTelephony(const HardwareConfig& hardware, TelephonyStart how) {
    const std::uint32_t version = how == TelephonyStart::Extended ? 0x20000 : 0x10004;
    return std::unique_ptr<TelephonySession>(std::make_unique<SimTelephony>(hardware, version));
}

Result<std::unique_ptr<SerialPort>> SimOpenSerialPort(const HardwareConfig& hardware, std::string_view portName) {
    using Opened = Result<std::unique_ptr<SerialPort>>;
    const auto peer = std::find_if(hardware.serialPorts.begin(), hardware.serialPorts.end(),
                                   [&](const SimSerialPeer& p) { return SameName(p.port, portName); });
    if (peer == hardware.serialPorts.end()) return Opened::Failure(err::kFileNotFound);
    if (peer->inUse) return Opened::Failure(err::kAccessDenied);
    return std::unique_ptr<SerialPort>(std::make_unique<SimPort>(*peer));
}

}  // namespace kavlo::platform::sim
