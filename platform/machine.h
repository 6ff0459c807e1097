#pragma once
// The machine that probes look at: the real Windows computer or a simulated one.
// Operations are domain-level and report failures with the Windows error code the
// real system gives, so that probe output is the same on both backends.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale_format.h"
#include "platform/result.h"

namespace kavlo::platform {

// ---------------------------------------------------------------- registry

enum class RegRoot { LocalMachine, CurrentUser, ClassesRoot, Users };

namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kDwordBigEndian = 5;
inline constexpr std::uint32_t kLink = 6;
inline constexpr std::uint32_t kMultiSz = 7;
inline constexpr std::uint32_t kQword = 11;
}  // namespace regtype

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

/// Raw registry value: its type and its bytes exactly as stored (strings keep
/// their terminating zero when the writer stored one, as RegQueryValueExA gives).
struct RegValue {
    std::uint32_t type = regtype::kNone;
    std::string data;
};

struct NamedRegValue {
    std::string name;
    RegValue value;
};

/// An open registry key; closing happens in the destructor.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    /// Value by name ("" is the default value). Fails with 2 when absent and with
    /// 234 when its data is larger than bufferSize bytes.
    virtual Result<RegValue> QueryValue(std::string_view name, std::size_t bufferSize) const = 0;
    /// Name of the subkey at index, in the registry's own order; 259 past the end,
    /// 234 when the name is longer than maxNameChars.
    virtual Result<std::string> EnumSubkey(std::uint32_t index, std::size_t maxNameChars) const = 0;
    /// Value at index, in the registry's own order; 259 past the end, 234 when the
    /// name or the data does not fit.
    virtual Result<NamedRegValue> EnumValue(std::uint32_t index, std::size_t maxNameChars,
                                            std::size_t maxDataBytes) const = 0;
    /// Self-relative security descriptor (owner, group, DACL).
    virtual Result<std::string> SecurityDescriptor() const = 0;
    /// Writes a REG_SZ value storing exactly the given bytes (no terminator added).
    virtual Status SetString(std::string_view name, std::string_view value) = 0;
};

// ------------------------------------------------------------------ files

namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kReparsePoint = 0x400;
inline constexpr std::uint32_t kCompressed = 0x800;
}  // namespace attr

/// Local wall-clock time, as SYSTEMTIME holds it.
struct LocalTime {
    int year = 1601, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int dayOfWeek = 1;  // 0 = Sunday
};

/// One entry of a directory search (FindFirstFile/FindNextFile).
struct FindEntry {
    std::string name;       ///< file name without directory
    std::string shortName;  ///< 8.3 name, empty when the name already is one
    std::string fullPath;   ///< directory of the pattern + "\" + name
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    LocalTime lastWrite;  ///< already converted to local time
    bool IsDirectory() const { return (attributes & attr::kDirectory) != 0; }
    bool IsReparsePoint() const { return (attributes & attr::kReparsePoint) != 0; }
};

/// A file open for reading; closing happens in the destructor.
class InputFile {
public:
    virtual ~InputFile() = default;
    /// Reads up to size bytes at the current position; 0 at the end of the file.
    virtual Result<std::size_t> Read(char* buffer, std::size_t size) = 0;
    /// Moves to an absolute byte offset (past the end is allowed; reads then give 0).
    virtual Status Seek(std::uint64_t offset) = 0;
    virtual std::uint64_t Size() const = 0;
};

/// The version resource of a file, with VerQueryValue-style lookups.
class VersionResource {
public:
    virtual ~VersionResource() = default;
    /// The (language, code page) pairs of \VarFileInfo\Translation; nullopt when absent.
    virtual std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> Translations() const = 0;
    /// A string value such as "\StringFileInfo\040904b0\FileVersion", in the ANSI code page.
    virtual std::optional<std::string> QueryString(std::string_view subBlock) const = 0;
    /// Size in bytes that GetFileVersionInfoSize reports.
    virtual std::uint32_t BlockSize() const = 0;
};

namespace drive {
inline constexpr std::uint32_t kUnknown = 0;
inline constexpr std::uint32_t kNoRootDir = 1;
inline constexpr std::uint32_t kRemovable = 2;
inline constexpr std::uint32_t kFixed = 3;
inline constexpr std::uint32_t kRemote = 4;
inline constexpr std::uint32_t kCdRom = 5;
inline constexpr std::uint32_t kRamDisk = 6;
}  // namespace drive

struct VolumeInfo {
    std::string label;
    std::string fileSystem;
    std::uint32_t serialNumber = 0;
};

struct DiskSpace {
    std::uint64_t freeBytesToCaller = 0;
    std::uint64_t totalBytes = 0;
    std::uint64_t totalFreeBytes = 0;
};

// ----------------------------------------------------------------- system

namespace os_platform {
inline constexpr std::uint32_t kWin32s = 0;
inline constexpr std::uint32_t kWindows9x = 1;
inline constexpr std::uint32_t kNt = 2;
}  // namespace os_platform

struct OsVersion {
    std::uint32_t platform = os_platform::kNt;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::string servicePack;  ///< szCSDVersion, e.g. "Service Pack 2"
};

/// The swap file of a Windows 9x system.
struct SwapFileInfo {
    std::string path;
    std::uint64_t sizeBytes = 0;
};

struct MemoryStatus {
    std::uint32_t memoryLoad = 0;
    std::uint64_t totalPhys = 0, availPhys = 0;
    std::uint64_t totalPageFile = 0, availPageFile = 0;
    std::uint64_t totalVirtual = 0, availVirtual = 0;
};

// --------------------------------------------------------------- security

/// The account a SID names: LookupAccountSid's name, domain and SID_NAME_USE.
struct AccountName {
    std::string name;
    std::string domain;
    std::uint32_t use = 0;
};

/// Whom effective rights are computed for: a binary SID or an account name
/// ("DOMAIN\name" or "name"), a user or a group.
struct Trustee {
    enum class Form { Sid, Name };
    Form form = Form::Sid;
    std::string value;
};

/// The user logged on at the workstation (NetWkstaUserGetInfo, level 1).
struct WorkstationUser {
    std::string userName;
    std::string logonDomain;
    std::string otherDomains;
    std::string logonServer;
};

/// The answer of an operation a machine does not implement (error 50).
template <class T>
Result<T> Unsupported(std::string_view ignored) {
    (void)ignored;
    return Result<T>::Failure(err::kNotSupported);
}
// ---------------------------------------------- server role, event logs, crypto

/// One shared resource (NetShareEnum level 2), strings in the ANSI code page.
struct ShareInfo {
    std::string name;
    std::string remark;
    std::int32_t maxUses = -1;  ///< -1: no limit
    std::uint32_t currentUses = 0;
    std::string path;
};

/// An open event log. Reads give whole records in the system's EVENTLOGRECORD
/// layout, newest first, each read continuing where the last one stopped.
class EventLog {
public:
    virtual ~EventLog() = default;
    /// Whole records totalling at most maxBytes, but always the next record even
    /// when it alone is larger; 38 (end of file) once every record has been read.
    virtual Result<std::string> ReadNewestFirst(std::size_t maxBytes) = 0;
};

/// A message file loaded as data only (its code never runs).
class MessageFile {
public:
    virtual ~MessageFile() = default;
    /// The message's text with "%0", "%n", "%r", "%t", "%%" processed and insert
    /// sequences such as "%1" left as written (FormatMessage with inserts
    /// ignored); 317 when the file has no such message.
    virtual Result<std::string> Format(std::uint32_t messageId) const = 0;
};

struct CryptoAlgorithm {
    std::uint32_t id = 0;  ///< ALG_ID
    std::uint32_t bits = 0;
    std::string name;
};

/// A cryptographic provider context; released in the destructor.
class CryptoProvider {
public:
    virtual ~CryptoProvider() = default;
    virtual Result<std::string> Name() = 0;
    /// The default key container's name.
    virtual Result<std::string> Container() = 0;
    virtual Result<std::uint32_t> Version() = 0;
    /// 1 hardware, 2 software, 3 mixed, 4 unknown.
    virtual Result<std::uint32_t> ImplementationType() = 0;
    /// Enumerations restart when first is true; 259 after the last item.
    virtual Result<std::string> NextContainer(bool first) = 0;
    virtual Result<CryptoAlgorithm> NextAlgorithm(bool first) = 0;
};

// ---------------------------------------------------------------- network

/// An IPv4 address as its four octets, first octet first (network order).
using Ipv4Address = std::array<std::uint8_t, 4>;

/// One row of the TCP connection table.
struct TcpConnection {
    /// The system's TCP state number: 1 closed, 2 listening, 3 SYN sent, 4 SYN
    /// received, 5 established, 6 FIN wait 1, 7 FIN wait 2, 8 close wait,
    /// 9 closing, 10 last ACK, 11 time wait, 12 delete TCB.
    std::uint32_t state = 0;
    Ipv4Address localAddress{};
    std::uint16_t localPort = 0;
    Ipv4Address remoteAddress{};
    std::uint16_t remotePort = 0;
};

/// One row of the UDP listener table.
struct UdpListener {
    Ipv4Address localAddress{};
    std::uint16_t localPort = 0;
};

/// What the remote-control product's caller object of one ".CHF" file reads.
struct RemoteCallerFile {
    std::string fileName;  ///< as the server's enumeration names it, possibly with a folder
    std::string device;    ///< connection device: a modem's name, "TCP/IP", "COM2", ...
    std::int32_t speed = 0;
    std::string parity;       ///< "None" or another setting
    std::string lineSetting;  ///< the further line setting shown after the parity
    bool useDialProperties = false;
    std::string areaCode;
    std::string phoneNumber;
    std::string country;
    std::string loginName;
    std::int16_t connectionAttempts = 0;
    std::int16_t secondsBetweenRetries = 0;
    bool runScript = false;
    std::string autoTransfer;  ///< automatic-transfer name; empty when none
    std::string scriptName;
};

// --------------------------------------------------------------- hardware
// The PCI bus, the telephony lines and the serial ports that the hardware
// probes read. A machine that cannot answer gives 50.

/// One PCI function as the PCI probes read it, 268 bytes, little-endian: bus
/// number (4), device number (4), function number (4), then the function's
/// 256-byte configuration space (vendor at 0, device at 2, class code at 9 to
/// 11, header type at 14).
inline constexpr std::size_t kPciRecordBytes = 268;

/// What lineGetDevCaps tells of one line device.
struct LineDeviceCaps {
    std::string lineName;
    std::string modemKey;  ///< the text 8 bytes into the device-specific area: the modem's key under HKLM
    std::uint32_t permanentLineId = 0;
};

struct TelephonyProvider {
    std::uint32_t permanentId = 0;
    std::string fileName;
};

/// What lineGetLineDevStatus tells of a line opened for monitoring.
struct LineDeviceStatus {
    std::uint32_t activeCalls = 0;
    std::uint32_t opens = 0;
};

/// A telephony (TAPI) line application; shut down in the destructor. Errors are
/// the TAPI error codes (LINEERR_*), as the TAPI functions return them.
class TelephonySession {
public:
    virtual ~TelephonySession() = default;
    virtual std::uint32_t LineCount() const = 0;
    /// The version the application asked for when it started.
    virtual std::uint32_t ApiVersion() const = 0;
    /// lineNegotiateAPIVersion: the highest version in [low, high] that the line supports.
    virtual Result<std::uint32_t> NegotiateVersion(std::uint32_t device, std::uint32_t low, std::uint32_t high) = 0;
    virtual Result<LineDeviceCaps> DeviceCaps(std::uint32_t device, std::uint32_t version) = 0;
    virtual Result<std::vector<TelephonyProvider>> Providers(std::uint32_t version) = 0;
    /// Opens the line with monitor privilege, reads its status and closes it.
    virtual Result<LineDeviceStatus> LineStatus(std::uint32_t device, std::uint32_t version) = 0;
    /// Opens the line for monitoring and asks for its calls: the application
    /// name in the first call's information; nullopt when the line has no call.
    virtual Result<std::optional<std::string>> CallOwner(std::uint32_t device, std::uint32_t version) = 0;
};

/// lineInitialize, or lineInitializeEx asking for version 2.0 with a hidden window.
enum class TelephonyStart { Basic, Extended };

namespace comm {
inline constexpr std::uint32_t kHoldCts = 0x1;  ///< ClearCommError hold states
inline constexpr std::uint32_t kHoldDsr = 0x2;
inline constexpr std::uint32_t kHoldRlsd = 0x4;
inline constexpr std::uint32_t kHoldXoffReceived = 0x8;
inline constexpr std::uint32_t kHoldXoffSent = 0x10;
inline constexpr std::uint32_t kCtsOn = 0x10;  ///< GetCommModemStatus lines
inline constexpr std::uint32_t kDsrOn = 0x20;
inline constexpr std::uint32_t kRlsdOn = 0x80;
}  // namespace comm

/// What ClearCommError reports.
struct CommErrorState {
    std::uint32_t errors = 0;
    std::uint32_t holdFlags = 0;  ///< comm::kHold*
    std::uint32_t queuedIn = 0;   ///< bytes received and not yet read
};

/// An open serial port. The destructor restores the settings and time-outs the
/// port had when it was opened, then closes it.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    /// BuildCommDCB of a device-control string ("baud=2400 parity=N ..."), CTS
    /// and DSR output flow control off, SetCommState.
    virtual Status Configure(std::string_view deviceControl) = 0;
    /// comm::kCtsOn, kDsrOn, kRlsdOn.
    virtual Result<std::uint32_t> ModemStatus() = 0;
    /// The read time-outs (the write time-outs stay as they are).
    virtual Status SetReadTimeouts(std::uint32_t interval, std::uint32_t multiplier, std::uint32_t constant) = 0;
    virtual Result<CommErrorState> ClearErrors() = 0;
    virtual Result<std::size_t> Write(std::string_view bytes) = 0;
    virtual Result<std::string> Read(std::size_t maxBytes) = 0;
};

// ------------------------------------ services, processes and start-up programs

/// What QueryServiceStatus or an interrogate control gives.
struct ServiceStatus {
    std::uint32_t type = 0;
    std::uint32_t state = 0;  ///< 1 stopped, 2 start pending, 3 stop pending, 4 running, 5-7 continue/pause
    std::uint32_t exitCode = 0;
    std::uint32_t specificExitCode = 0;  ///< meaningful when exitCode is 1066
    std::uint32_t waitHintMs = 0;
};

/// The configuration record of a service (QueryServiceConfig).
struct ServiceConfig {
    std::uint32_t type = 0;
    std::uint32_t startType = 0;
    std::uint32_t errorControl = 0;
    std::string binaryPath;
    std::string loadOrderGroup;
    std::uint32_t tagId = 0;
    std::string startName;
    std::string displayName;
};

/// One service of an enumeration (EnumServicesStatus).
struct ServiceEntry {
    std::string name;
    std::string displayName;
    ServiceStatus status;
};

/// An open service; closed in the destructor.
class ServiceHandle {
public:
    virtual ~ServiceHandle() = default;
    virtual Result<ServiceStatus> QueryStatus() = 0;
    /// The interrogate control; 1062 when the service is not running.
    virtual Result<ServiceStatus> Interrogate() = 0;
    virtual Result<ServiceConfig> Config() = 0;
    /// StartService without arguments; 1056 when it already runs, 1058 when disabled.
    virtual Status Start() = 0;
};

/// Rights asked of the service manager and of a service (winsvc.h).
namespace service_access {
inline constexpr std::uint32_t kReadControl = 0x20000;
inline constexpr std::uint32_t kManagerConnect = 0x1;
inline constexpr std::uint32_t kManagerEnumerate = 0x4;
inline constexpr std::uint32_t kQueryConfig = 0x1;
inline constexpr std::uint32_t kQueryStatus = 0x4;
inline constexpr std::uint32_t kStart = 0x10;
inline constexpr std::uint32_t kInterrogate = 0x80;
}  // namespace service_access

/// An open service manager; closed in the destructor.
class ServiceManager {
public:
    virtual ~ServiceManager() = default;
    /// 1060 for a name that is not a service.
    virtual Result<std::unique_ptr<ServiceHandle>> Open(std::string_view name, std::uint32_t access) = 0;
    virtual Result<std::string> DisplayName(std::string_view name) = 0;
    /// Every service whose type shares a bit with `types` and whose state is in the
    /// group (1 active, 2 inactive, 3 both), in the manager's order.
    virtual Result<std::vector<ServiceEntry>> Services(std::uint32_t types, std::uint32_t stateGroup) = 0;
};

/// The memory counters of a process (GetProcessMemoryInfo).
struct ProcessMemory {
    std::uint32_t pageFaultCount = 0;
    std::uint64_t peakWorkingSet = 0, workingSet = 0;
    std::uint64_t quotaPeakPagedPool = 0, quotaPagedPool = 0;
    std::uint64_t quotaPeakNonPagedPool = 0, quotaNonPagedPool = 0;
    std::uint64_t pagefileUsage = 0, peakPagefileUsage = 0;
};

/// A process opened for querying and reading its memory; closed in the destructor.
class ProcessHandle {
public:
    virtual ~ProcessHandle() = default;
    /// The base name of its first module ("explorer.exe").
    virtual Result<std::string> BaseName() = 0;
    /// The path of its first module, as the system gives it (it may begin "\??\").
    virtual Result<std::string> ImagePath() = 0;
    /// The paths of all its modules, the image first.
    virtual Result<std::vector<std::string>> ModulePaths() = 0;
    virtual Result<ProcessMemory> Memory() = 0;
};

/// A top-level window, as EnumWindows finds it.
struct TopWindow {
    std::uint32_t processId = 0;
    bool visible = false;
    std::string text;
    bool hasParent = false;
    std::string parentText;
    bool hasChild = false;
};

/// A loaded device driver (EnumDeviceDrivers and its names).
struct DeviceDriver {
    std::string baseName;
    std::string path;
};

/// A process or module entry of a tool-help snapshot (Windows 9x).
struct SnapshotEntry {
    std::uint32_t processId = 0;
    std::string name;  ///< the module name; the executable path for a process
    std::string path;
};

/// A process counter query (PDH): the counters are added when it opens.
class CounterQuery {
public:
    virtual ~CounterQuery() = default;
    virtual Status Collect() = 0;
    /// The last collected value of the counter at index, as a long integer.
    virtual Result<std::int64_t> Value(std::size_t counter) = 0;
};

// ---------------------------------------------------------------- machine

/// One Windows computer as the probes see it. All paths and names are in the
/// machine's ANSI code page; names are compared without regard to case.
class Machine {
public:
    virtual ~Machine() = default;

    // registry
    virtual Result<std::unique_ptr<RegistryKey>> OpenKey(RegRoot root, std::string_view path,
                                                         std::uint32_t access = kKeyRead) = 0;
    /// Opens or creates a key (RegCreateKeyEx with class "Key").
    virtual Result<std::unique_ptr<RegistryKey>> CreateKey(RegRoot root, std::string_view path) = 0;
    /// Deletes a key with all its subkeys and values (RegDeleteTree); 2 when it does not exist.
    /// A machine that cannot change its registry gives 50.
    virtual Status DeleteKey(RegRoot root, std::string_view path) {
        (void)root, (void)path;
        return Status(err::kNotSupported);
    }

    // files
    /// Every entry matching a pattern with "?" and "*" in its last component, in
    /// the file system's order; 2 (or 3 for a missing directory) when none.
    virtual Result<std::vector<FindEntry>> FindFiles(std::string_view pattern) = 0;
    virtual Result<std::unique_ptr<InputFile>> OpenForRead(std::string_view path) = 0;
    /// The version resource; 1813 when the file has none, 2 when it does not exist.
    virtual Result<std::unique_ptr<VersionResource>> FileVersion(std::string_view path) = 0;
    /// GetDriveType of a root such as "C:\" (or "C:").
    virtual std::uint32_t DriveType(std::string_view root) = 0;
    virtual Result<VolumeInfo> Volume(std::string_view root) = 0;
    virtual Result<DiskSpace> FreeSpace(std::string_view root) = 0;
    /// "A:\", "C:\", … in drive-letter order.
    virtual std::vector<std::string> LogicalDrives() = 0;
    virtual Result<std::string> ShortPathName(std::string_view path) = 0;
    /// The access mask the current user is granted on a file or directory: the
    /// AccessCheck of its security descriptor for MAXIMUM_ALLOWED, with generic
    /// rights mapped to the file rights; 0 when nothing is granted. A machine that
    /// cannot check access gives 50.
    virtual Result<std::uint32_t> EffectiveAccess(std::string_view path) {
        (void)path;
        return Result<std::uint32_t>::Failure(err::kNotSupported);
    }

    // system
    virtual OsVersion Version() = 0;
    virtual std::string WindowsDirectory() = 0;
    virtual std::string SystemDirectory() = 0;
    /// NetBIOS computer name.
    virtual std::string ComputerName() = 0;
    /// The sockets host name; fails when sockets cannot start.
    virtual Result<std::string> HostName() = 0;
    virtual std::string CurrentDirectory() = 0;
    virtual std::optional<std::string> Environment(std::string_view name) = 0;
    /// ExpandEnvironmentStrings: "%NAME%" replaced, unknown names left as written.
    virtual std::string ExpandEnvironment(std::string_view text) = 0;
    virtual LocalTime Now() = 0;
    virtual std::uint32_t ProcessorCount() = 0;
    virtual MemoryStatus Memory() = 0;
    /// SHGetFolderPath of a CSIDL number; fails for virtual folders.
    virtual Result<std::string> ShellFolder(int csidl) = 0;
    /// The system's message text for an error code, with its trailing "\r\n".
    virtual std::string ErrorText(WinError code) = 0;
    /// The ANSI code page (1252 for Western European systems).
    virtual std::uint32_t AnsiCodePage() = 0;

    // ------------------------------------------------ security probes' block
    // Descriptors are self-relative bytes (owner, group, DACL) that
    // ParseSecurityDescriptor reads; SIDs are binary. A machine that cannot
    // answer gives 50.

    /// The descriptor of a file, a directory or a drive root ("C:\").
    virtual Result<std::string> FileSecurity(std::string_view path) { return Unsupported<std::string>(path); }
    /// The descriptor of a registry key by its path.
    virtual Result<std::string> KeySecurity(RegRoot root, std::string_view path) {
        (void)root;
        return Unsupported<std::string>(path);
    }
    /// The descriptor of a service by its key name.
    virtual Result<std::string> ServiceSecurity(std::string_view serviceName) {
        return Unsupported<std::string>(serviceName);
    }
    /// The account a SID names on this machine; 1332 when it names none.
    virtual Result<AccountName> AccountOfSid(std::string_view sid) { return Unsupported<AccountName>(sid); }
    /// The SID of an account name ("DOMAIN\name" or "name"); 1332 when there is none.
    virtual Result<std::string> SidOfAccount(std::string_view name) { return Unsupported<std::string>(name); }
    /// The rights a descriptor's DACL gives a trustee, its groups included
    /// (GetEffectiveRightsFromAcl); 1338 for a malformed descriptor.
    virtual Result<std::uint32_t> TrusteeRights(std::string_view descriptor, const Trustee& trustee) {
        (void)trustee;
        return Unsupported<std::uint32_t>(descriptor);
    }
    /// The user logged on at this workstation, with logon domain and logon server.
    virtual Result<WorkstationUser> LoggedOnUser() { return Unsupported<WorkstationUser>(""); }
    /// A user's global groups as the logon server knows them (NetUserGetGroups).
    virtual Result<std::vector<std::string>> UserGlobalGroups(std::string_view server, std::string_view user) {
        (void)server;
        return Unsupported<std::vector<std::string>>(user);
    }
    /// A user's local groups, indirect membership included (NetUserGetLocalGroups).
    virtual Result<std::vector<std::string>> UserLocalGroups(std::string_view server, std::string_view user) {
        (void)server;
        return Unsupported<std::vector<std::string>>(user);
    }
    /// The user SID of this process's token.
    virtual Result<std::string> ProcessUserSid() { return Unsupported<std::string>(""); }
    /// The privilege names of this process's token, in token order, enabled or not.
    virtual Result<std::vector<std::string>> ProcessPrivileges() { return Unsupported<std::vector<std::string>>(""); }
    /// A privilege's display name ("Shut down the system"); 1313 for an unknown name.
    virtual Result<std::string> PrivilegeDisplayName(std::string_view privilege) {
        return Unsupported<std::string>(privilege);
    }

    // ------------------------------ server role, event logs, crypto providers
    /// The server type flags (NetServerGetInfo level 101); 126/127 when the
    /// network library or its function is missing.
    virtual Result<std::uint32_t> ServerTypeFlags() { return Result<std::uint32_t>::Failure(err::kNotSupported); }
    /// Every share of every batch (NetShareEnum level 2). A failure after the first
    /// batch ends the list with what was read; a failure at once is the result.
    virtual Result<std::vector<ShareInfo>> Shares() {
        return Result<std::vector<ShareInfo>>::Failure(err::kNotSupported);
    }
    /// OpenEventLog on the local machine; an unknown name opens Application.
    virtual Result<std::unique_ptr<EventLog>> OpenEventLogByName(std::string_view logName) {
        (void)logName;
        return Result<std::unique_ptr<EventLog>>::Failure(err::kNotSupported);
    }
    /// Loads a message file as data (LoadLibraryEx with LOAD_LIBRARY_AS_DATAFILE).
    virtual Result<std::unique_ptr<MessageFile>> LoadMessageFile(std::string_view path) {
        (void)path;
        return Result<std::unique_ptr<MessageFile>>::Failure(err::kNotSupported);
    }
    /// A message of the system's own table, formatted as MessageFile::Format does.
    virtual Result<std::string> SystemMessage(std::uint32_t messageId) {
        (void)messageId;
        return Result<std::string>::Failure(err::kNotSupported);
    }
    /// The default provider of a type (CryptAcquireContext with no container, no
    /// provider name and no flags).
    virtual Result<std::unique_ptr<CryptoProvider>> AcquireCryptoProvider(std::uint32_t providerType) {
        (void)providerType;
        return Result<std::unique_ptr<CryptoProvider>>::Failure(err::kNotSupported);
    }

    // ------------------------------------------- network and the remote-control product
    /// The TCP connection table in the system's order (by local address and port,
    /// then remote address and port). 10093 when sockets cannot start, 126 or 127
    /// when the system lacks the table's library or function.
    virtual Result<std::vector<TcpConnection>> TcpConnections() {
        return Result<std::vector<TcpConnection>>::Failure(err::kNotSupported);
    }
    /// The UDP listener table in the system's order; errors as TcpConnections.
    virtual Result<std::vector<UdpListener>> UdpListeners() {
        return Result<std::vector<UdpListener>>::Failure(err::kNotSupported);
    }
    /// The IPv4 addresses of the host's own name, in the resolver's order.
    virtual Result<std::vector<Ipv4Address>> HostAddresses() {
        return Result<std::vector<Ipv4Address>>::Failure(err::kNotSupported);
    }
    /// The resolver's name of an address (gethostbyaddr); a sockets error when none.
    virtual Result<std::string> HostNameOfAddress(Ipv4Address address) {
        (void)address;
        return Result<std::string>::Failure(err::kNotSupported);
    }
    /// The service name of a port for "tcp" or "udp" (getservbyport); a sockets error when none.
    virtual Result<std::string> ServiceNameOfPort(std::uint16_t port, std::string_view protocol) {
        (void)port, (void)protocol;
        return Result<std::string>::Failure(err::kNotSupported);
    }
    /// The caller files that the remote-control product's automation server lists
    /// for a folder, in its order, each as its caller object reads; files whose
    /// object cannot be opened are left out. 2 when the server is not registered.
    virtual Result<std::vector<RemoteCallerFile>> RemoteCallerFiles(std::string_view filesDirectory) {
        (void)filesDirectory;
        return Result<std::vector<RemoteCallerFile>>::Failure(err::kNotSupported);
    }
    // ------------------------------------------------ system summary and products
    // Local time, the user's locale forms, the 9x swap file and waiting, for the
    // memory, swap-file and product probes.

    /// A count of seconds since 1970-01-01 00:00 UTC (an event record's time, a product's
    /// time stamp) as local wall-clock time; 87 for a negative count. Without a time zone, UTC.
    virtual Result<LocalTime> LocalTimeOfUnixSeconds(std::int64_t seconds) {
        if (seconds < 0) return Result<LocalTime>::Failure(err::kInvalidParameter);
        return CivilFromUnixSeconds(seconds);
    }
    /// The user's default locale's short date and time forms of a local time (GetDateFormatA and
    /// GetTimeFormatA, no flags); without a locale the United States forms "M/d/yyyy" and "h:mm:ss tt".
    virtual Result<std::string> LocaleDateText(const LocalTime& time) { return UsLocaleDate(time); }
    virtual Result<std::string> LocaleTimeText(const LocalTime& time) { return UsLocaleTime(time); }
    /// The swap file as a Windows 9x system reports it (the "\\.\vwin32" DOS call
    /// 440Dh, minor code 086Eh). NT systems lack the device and give 2.
    virtual Result<SwapFileInfo> SwapFile9x() { return Result<SwapFileInfo>::Failure(err::kNotSupported); }
    /// Waits; a simulated machine answers at once so that waits never slow tests.
    virtual void Sleep(std::uint32_t /*milliseconds*/) {}

    // ---------------------------------------------------- hardware probes' block
    /// Every PCI function as whole kPciRecordBytes records, at most 100. 50, 126
    /// or 127 when the machine has no way to list them.
    virtual Result<std::string> PciRecords() { return Unsupported<std::string>(""); }
    /// The bytes of the device index "drvidx.bin" (at most 16 MB): from the
    /// current directory, else from beside the program; 2 when there is none.
    virtual Result<std::string> DeviceIndex() { return Unsupported<std::string>(""); }
    /// Starts a telephony line application under an application name.
    virtual Result<std::unique_ptr<TelephonySession>> StartTelephony(std::string_view appName, TelephonyStart how) {
        (void)appName, (void)how;
        return Result<std::unique_ptr<TelephonySession>>::Failure(err::kNotSupported);
    }
    /// Opens a serial port ("COM3") for reading and writing without sharing; 5 when
    /// another program holds it.
    virtual Result<std::unique_ptr<SerialPort>> OpenSerialPort(std::string_view portName) {
        (void)portName;
        return Result<std::unique_ptr<SerialPort>>::Failure(err::kNotSupported);
    }

    // ------------------------------------ services, processes and start-up programs
    // Enumerations return every item. A machine that cannot answer gives 50.

    /// OpenSCManager on the local machine's active database.
    virtual Result<std::unique_ptr<ServiceManager>> OpenServiceManager(std::uint32_t access) {
        (void)access;
        return Result<std::unique_ptr<ServiceManager>>::Failure(err::kNotSupported);
    }
    /// The identifiers of every process (EnumProcesses).
    virtual Result<std::vector<std::uint32_t>> ProcessIds() {
        return Result<std::vector<std::uint32_t>>::Failure(err::kNotSupported);
    }
    /// OpenProcess for querying and reading memory.
    virtual Result<std::unique_ptr<ProcessHandle>> OpenProcess(std::uint32_t processId) {
        (void)processId;
        return Result<std::unique_ptr<ProcessHandle>>::Failure(err::kNotSupported);
    }
    /// Every top-level window in the system's order.
    virtual Result<std::vector<TopWindow>> TopLevelWindows() {
        return Result<std::vector<TopWindow>>::Failure(err::kNotSupported);
    }
    /// The loaded device drivers whose base names can be read.
    virtual Result<std::vector<DeviceDriver>> DeviceDrivers() {
        return Result<std::vector<DeviceDriver>>::Failure(err::kNotSupported);
    }
    /// A tool-help snapshot of the processes (name and path: the executable).
    virtual Result<std::vector<SnapshotEntry>> ProcessSnapshot9x() {
        return Result<std::vector<SnapshotEntry>>::Failure(err::kNotSupported);
    }
    /// A tool-help snapshot of the modules of one process, or of every process for 0.
    virtual Result<std::vector<SnapshotEntry>> ModuleSnapshot9x(std::uint32_t processId) {
        (void)processId;
        return Result<std::vector<SnapshotEntry>>::Failure(err::kNotSupported);
    }
    /// The target path of a shell link (.lnk) file, resolved without any user interface.
    virtual Result<std::string> ShortcutTarget(std::string_view linkPath) { return Unsupported<std::string>(linkPath); }
    /// A query of the "Process" object's counters of one instance ("explorer"),
    /// counter paths made on the local machine. A counter that cannot be added
    /// answers its error from Value.
    virtual Result<std::unique_ptr<CounterQuery>> OpenProcessCounters(std::string_view instance,
                                                                      const std::vector<std::string>& counters) {
        (void)instance, (void)counters;
        return Result<std::unique_ptr<CounterQuery>>::Failure(err::kNotSupported);
    }
};

}  // namespace kavlo::platform
