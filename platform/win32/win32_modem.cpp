// Telephony lines through "tapi32.dll", looked up at run time, and serial ports.
#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <tapi.h>

#include <cstring>
#include <vector>

#include "platform/win32/last_error.h"
#include "platform/win32/win32_hardware.h"

namespace kavlo::platform::win32 {
namespace {

// ------------------------------------------------------------------ telephony

struct TapiFunctions {
    decltype(&::lineInitialize) initialize = nullptr;
    decltype(&::lineInitializeExA) initializeEx = nullptr;
    decltype(&::lineShutdown) shutdown = nullptr;
    decltype(&::lineNegotiateAPIVersion) negotiate = nullptr;
    decltype(&::lineGetDevCapsA) getDevCaps = nullptr;
    decltype(&::lineGetProviderListA) getProviderList = nullptr;
    decltype(&::lineOpenA) open = nullptr;
    decltype(&::lineClose) close = nullptr;
    decltype(&::lineGetLineDevStatusA) getLineDevStatus = nullptr;
    decltype(&::lineGetNewCalls) getNewCalls = nullptr;
    decltype(&::lineGetCallStatus) getCallStatus = nullptr;
    decltype(&::lineGetCallInfoA) getCallInfo = nullptr;
    decltype(&::lineDeallocateCall) deallocateCall = nullptr;

    bool Load(HMODULE module) {
        initialize = ProcAddress<decltype(initialize)>(module, "lineInitialize");
        initializeEx = ProcAddress<decltype(initializeEx)>(module, "lineInitializeExA");
        shutdown = ProcAddress<decltype(shutdown)>(module, "lineShutdown");
        negotiate = ProcAddress<decltype(negotiate)>(module, "lineNegotiateAPIVersion");
        getDevCaps = ProcAddress<decltype(getDevCaps)>(module, "lineGetDevCapsA");
        getProviderList = ProcAddress<decltype(getProviderList)>(module, "lineGetProviderListA");
        open = ProcAddress<decltype(open)>(module, "lineOpenA");
        close = ProcAddress<decltype(close)>(module, "lineClose");
        getLineDevStatus = ProcAddress<decltype(getLineDevStatus)>(module, "lineGetLineDevStatusA");
        getNewCalls = ProcAddress<decltype(getNewCalls)>(module, "lineGetNewCalls");
        getCallStatus = ProcAddress<decltype(getCallStatus)>(module, "lineGetCallStatus");
        getCallInfo = ProcAddress<decltype(getCallInfo)>(module, "lineGetCallInfoA");
        deallocateCall = ProcAddress<decltype(deallocateCall)>(module, "lineDeallocateCall");
        return initialize && initializeEx && shutdown && negotiate && getDevCaps && getProviderList && open && close &&
               getLineDevStatus && getNewCalls && getCallStatus && getCallInfo && deallocateCall;
    }
};

void CALLBACK IgnoreLineEvents(DWORD, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

WinError TapiError(LONG result) { return static_cast<WinError>(result); }

// A variable-size TAPI structure in a zeroed buffer whose declared total size
// grows when the system needs more than the first 4,096 bytes.
class TapiBuffer {
public:
    /// Calls `fill(structure)` until the structure fits; the TAPI result.
    template <class Call>
    LONG Fill(Call fill) {
        constexpr DWORD kMaxBytes = 1 << 20;
        DWORD size = 4096;
        for (int attempt = 0; attempt < 4; ++attempt) {
            words_.assign((size + 3) / 4, 0);
            Header()->dwTotalSize = size;
            const LONG result = fill(words_.data());
            if (result != 0) return result;
            const DWORD needed = Header()->dwNeededSize;
            if (needed <= size || needed > kMaxBytes) return 0;
            size = needed;
        }
        return 0;
    }
    template <class Struct>
    const Struct* As() const {
        return Bytes() >= sizeof(Struct) ? reinterpret_cast<const Struct*>(words_.data()) : nullptr;
    }
    /// The text at an offset and size inside the used part of the structure, up to its first zero byte.
    std::string Text(std::size_t offset, std::size_t size) const {
        const std::size_t used = std::min<std::size_t>(Header()->dwUsedSize, Bytes());
        if (offset > used || size > used - offset) return {};
        const char* start = reinterpret_cast<const char*>(words_.data()) + offset;
        return std::string(start, ::strnlen(start, size));
    }
    std::size_t Used() const { return std::min<std::size_t>(Header()->dwUsedSize, Bytes()); }
    const char* Data() const { return reinterpret_cast<const char*>(words_.data()); }

private:
    struct Sizes {
        DWORD dwTotalSize, dwNeededSize, dwUsedSize;
    };
    Sizes* Header() { return reinterpret_cast<Sizes*>(words_.data()); }
    const Sizes* Header() const { return reinterpret_cast<const Sizes*>(words_.data()); }
    std::size_t Bytes() const { return words_.size() * 4; }
    std::vector<DWORD> words_;
};

class Win32Telephony final : public TelephonySession {
public:
    Win32Telephony(UniqueModule library, TapiFunctions tapi, HLINEAPP app, DWORD lines, DWORD version)
        : library_(std::move(library)), tapi_(tapi), app_(app), lines_(lines), version_(version) {}
    ~Win32Telephony() override { tapi_.shutdown(app_); }

    std::uint32_t LineCount() const override { return lines_; }
    std::uint32_t ApiVersion() const override { return version_; }

    Result<std::uint32_t> NegotiateVersion(std::uint32_t device, std::uint32_t low, std::uint32_t high) override {
        DWORD version = 0;
        LINEEXTENSIONID extension{};
        const LONG result = tapi_.negotiate(app_, device, low, high, &version, &extension);
        if (result != 0) return Result<std::uint32_t>::Failure(TapiError(result));
        return version;
    }

    Result<LineDeviceCaps> DeviceCaps(std::uint32_t device, std::uint32_t version) override {
        TapiBuffer buffer;
        const LONG result = buffer.Fill(
            [&](void* caps) { return tapi_.getDevCaps(app_, device, version, 0, static_cast<LPLINEDEVCAPS>(caps)); });
        const auto* caps = buffer.As<LINEDEVCAPS>();
        if (result != 0 || !caps)
            return Result<LineDeviceCaps>::Failure(result ? TapiError(result) : ERROR_GEN_FAILURE);
        LineDeviceCaps out;
        out.lineName = buffer.Text(caps->dwLineNameOffset, caps->dwLineNameSize);
        // The modem's key starts 8 bytes into the device-specific area.
        if (caps->dwDevSpecificSize > 8)
            out.modemKey = buffer.Text(std::size_t{caps->dwDevSpecificOffset} + 8, caps->dwDevSpecificSize - 8);
        out.permanentLineId = caps->dwPermanentLineID;
        return out;
    }

    Result<std::vector<TelephonyProvider>> Providers(std::uint32_t version) override {
        using Providers = Result<std::vector<TelephonyProvider>>;
        TapiBuffer buffer;
        const LONG result = buffer.Fill(
            [&](void* list) { return tapi_.getProviderList(version, static_cast<LPLINEPROVIDERLIST>(list)); });
        const auto* list = buffer.As<LINEPROVIDERLIST>();
        if (result != 0 || !list) return Providers::Failure(result ? TapiError(result) : ERROR_GEN_FAILURE);
        std::vector<TelephonyProvider> providers;
        const std::size_t used = buffer.Used();
        for (DWORD i = 0; i < list->dwNumProviders; ++i) {
            const std::size_t at = list->dwProviderListOffset + std::size_t{i} * sizeof(LINEPROVIDERENTRY);
            if (at > used || used - at < sizeof(LINEPROVIDERENTRY)) break;
            LINEPROVIDERENTRY entry;
            std::memcpy(&entry, buffer.Data() + at, sizeof entry);
            providers.push_back({entry.dwPermanentProviderID,
                                 buffer.Text(entry.dwProviderFilenameOffset, entry.dwProviderFilenameSize)});
        }
        return providers;
    }

    Result<LineDeviceStatus> LineStatus(std::uint32_t device, std::uint32_t version) override {
        OpenLine line(tapi_);
        if (const LONG opened = line.Open(app_, device, version); opened != 0)
            return Result<LineDeviceStatus>::Failure(TapiError(opened));
        TapiBuffer buffer;
        const LONG result = buffer.Fill(
            [&](void* status) { return tapi_.getLineDevStatus(line.get(), static_cast<LPLINEDEVSTATUS>(status)); });
        const auto* status = buffer.As<LINEDEVSTATUS>();
        if (result != 0 || !status)
            return Result<LineDeviceStatus>::Failure(result ? TapiError(result) : ERROR_GEN_FAILURE);
        return LineDeviceStatus{status->dwNumActiveCalls, status->dwNumOpens};
    }

    Result<std::optional<std::string>> CallOwner(std::uint32_t device, std::uint32_t version) override {
        using Owner = Result<std::optional<std::string>>;
        OpenLine line(tapi_);
        if (const LONG opened = line.Open(app_, device, version); opened != 0) return Owner::Failure(TapiError(opened));
        TapiBuffer calls;
        const LONG result = calls.Fill([&](void* list) {
            return tapi_.getNewCalls(line.get(), 0, LINECALLSELECT_LINE, static_cast<LPLINECALLLIST>(list));
        });
        const auto* list = calls.As<LINECALLLIST>();
        if (result != 0 || !list) return Owner::Failure(result ? TapiError(result) : ERROR_GEN_FAILURE);
        std::vector<HCALL> handles;
        const std::size_t used = calls.Used();
        for (DWORD i = 0; i < list->dwCallsNumEntries; ++i) {
            const std::size_t at = list->dwCallsOffset + std::size_t{i} * sizeof(HCALL);
            if (at > used || used - at < sizeof(HCALL)) break;
            HCALL call;
            std::memcpy(&call, calls.Data() + at, sizeof call);
            handles.push_back(call);
        }
        std::optional<std::string> owner;
        if (!handles.empty()) {
            TapiBuffer status, info;
            status.Fill([&](void* s) { return tapi_.getCallStatus(handles[0], static_cast<LPLINECALLSTATUS>(s)); });
            if (info.Fill([&](void* i) { return tapi_.getCallInfo(handles[0], static_cast<LPLINECALLINFO>(i)); }) == 0)
                if (const auto* callInfo = info.As<LINECALLINFO>())
                    owner = info.Text(callInfo->dwAppNameOffset, callInfo->dwAppNameSize);
        }
        // The monitor's handles of the calls are its own to give back.
        for (HCALL call : handles) tapi_.deallocateCall(call);
        return owner;
    }

private:
    // A line opened for monitoring, closed when it goes out of scope.
    class OpenLine {
    public:
        explicit OpenLine(const TapiFunctions& tapi) : tapi_(tapi) {}
        OpenLine(const OpenLine&) = delete;
        OpenLine& operator=(const OpenLine&) = delete;
        ~OpenLine() {
            if (line_ != 0) tapi_.close(line_);
        }
        LONG Open(HLINEAPP app, DWORD device, DWORD version) {
            return tapi_.open(app, device, &line_, version, 0, 0, LINECALLPRIVILEGE_MONITOR, 0, nullptr);
        }
        HLINE get() const { return line_; }

    private:
        const TapiFunctions& tapi_;
        HLINE line_ = 0;
    };

    UniqueModule library_;
    TapiFunctions tapi_;
    HLINEAPP app_;
    DWORD lines_;
    DWORD version_;
};

// ---------------------------------------------------------------- serial port

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(UniqueFile file) : file_(std::move(file)) {
        original_.DCBlength = sizeof original_;
        haveState_ = ::GetCommState(file_.get(), &original_) != FALSE;
        haveTimeouts_ = ::GetCommTimeouts(file_.get(), &originalTimeouts_) != FALSE;
    }
    ~Win32SerialPort() override {
        if (haveState_) ::SetCommState(file_.get(), &original_);
        if (haveTimeouts_) ::SetCommTimeouts(file_.get(), &originalTimeouts_);
    }

    Status Configure(std::string_view deviceControl) override {
        DCB dcb = original_;
        dcb.DCBlength = sizeof dcb;
        const std::string text(deviceControl);
        if (!::BuildCommDCBA(text.c_str(), &dcb)) return Status(LastErrorOr());
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        if (!::SetCommState(file_.get(), &dcb)) return Status(LastErrorOr());
        return {};
    }
    Result<std::uint32_t> ModemStatus() override {
        DWORD lines = 0;
        if (!::GetCommModemStatus(file_.get(), &lines)) return Result<std::uint32_t>::Failure(LastErrorOr());
        return lines;
    }
    Status SetReadTimeouts(std::uint32_t interval, std::uint32_t multiplier, std::uint32_t constant) override {
        COMMTIMEOUTS timeouts{};
        if (!::GetCommTimeouts(file_.get(), &timeouts)) return Status(LastErrorOr());
        timeouts.ReadIntervalTimeout = interval;
        timeouts.ReadTotalTimeoutMultiplier = multiplier;
        timeouts.ReadTotalTimeoutConstant = constant;
        if (!::SetCommTimeouts(file_.get(), &timeouts)) return Status(LastErrorOr());
        return {};
    }
    Result<CommErrorState> ClearErrors() override {
        DWORD errors = 0;
        COMSTAT stat{};
        if (!::ClearCommError(file_.get(), &errors, &stat)) return Result<CommErrorState>::Failure(LastErrorOr());
        const std::uint32_t hold = (stat.fCtsHold ? comm::kHoldCts : 0) | (stat.fDsrHold ? comm::kHoldDsr : 0) |
                                   (stat.fRlsdHold ? comm::kHoldRlsd : 0) |
                                   (stat.fXoffHold ? comm::kHoldXoffReceived : 0) |
                                   (stat.fXoffSent ? comm::kHoldXoffSent : 0);
        return CommErrorState{errors, hold, stat.cbInQue};
    }
    Result<std::size_t> Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return Result<std::size_t>::Failure(LastErrorOr());
        return std::size_t{written};
    }
    Result<std::string> Read(std::size_t maxBytes) override {
        std::string bytes(std::min<std::size_t>(maxBytes, 1 << 16), '\0');
        DWORD read = 0;
        if (!::ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
            return Result<std::string>::Failure(LastErrorOr());
        bytes.resize(read);
        return bytes;
    }

private:
    UniqueFile file_;
    DCB original_{};
    COMMTIMEOUTS originalTimeouts_{};
    bool haveState_ = false;
    bool haveTimeouts_ = false;
};

}  // namespace

Result<std::unique_ptr<TelephonySession>> StartTelephony(std::string_view appName, TelephonyStart how) {
    using Started = Result<std::unique_ptr<TelephonySession>>;
    UniqueModule library(::LoadLibraryA("tapi32.dll"));
    if (!library) return Started::Failure(LastErrorOr(ERROR_MOD_NOT_FOUND));
    TapiFunctions tapi;
    if (!tapi.Load(library.get())) return Started::Failure(ERROR_PROC_NOT_FOUND);
    const std::string name(appName);
    HLINEAPP app = 0;
    DWORD lines = 0;
    DWORD version = 0x10004;
    LONG result = 0;
    if (how == TelephonyStart::Extended) {
        LINEINITIALIZEEXPARAMS params{};
        params.dwTotalSize = sizeof params;
        params.dwOptions = LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
        version = 0x20000;
        result = tapi.initializeEx(&app, ::GetModuleHandleA(nullptr), &IgnoreLineEvents, name.c_str(), &lines, &version,
                                   &params);
    } else {
        result = tapi.initialize(&app, ::GetModuleHandleA(nullptr), &IgnoreLineEvents, name.c_str(), &lines);
    }
    if (result != 0) return Started::Failure(TapiError(result));
    return std::unique_ptr<TelephonySession>(
        std::make_unique<Win32Telephony>(std::move(library), tapi, app, lines, version));
}

Result<std::unique_ptr<SerialPort>> OpenSerialPort(std::string_view portName) {
    using Opened = Result<std::unique_ptr<SerialPort>>;
    // "\\.\" reaches ports above COM9 too.
    std::string path(portName);
    if (path.rfind("\\\\.\\", 0) != 0) path = "\\\\.\\" + path;
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return Opened::Failure(LastErrorOr());
    return std::unique_ptr<SerialPort>(std::make_unique<Win32SerialPort>(std::move(file)));
}

}  // namespace kavlo::platform::win32
