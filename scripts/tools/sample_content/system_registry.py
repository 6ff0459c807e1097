"""Registry files of what the routine scripts read besides the products:
60-hardware.reg, 61-network.reg, 62-services.reg, 63-user-and-security.reg."""

import struct

from sample_content.layout import unix_time
from sample_content.regfile import SID_ADMINISTRATORS, SID_INTERACTIVE, SID_SYSTEM, Reg, dword, security_descriptor, wide

HKLM_SERVICES = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services"
MODEM_CLASS = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}"
VIDEO_SERVICE = "ogfx"


def hardware_registry():
    reg = Reg(["Processor, BIOS, serial ports, the internal modem on COM3 and the display",
               "adapter. Written by scripts/tools/make_sample_products.py."])
    system = "HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System"
    reg.key(system, [
        ("Identifier", "AT/AT COMPATIBLE"),
        ("SystemBiosDate", "09/14/00"),
        ("SystemBiosVersion", ("multi", ["OFFICE - 1", "BIOS Date: 09/14/00 14:20:11 Ver: 1.10 A05"])),
        ("VideoBiosDate", "07/12/99"),
    ])
    reg.key(system + "\\CentralProcessor")
    reg.key(system + "\\CentralProcessor\\0", [
        ("Identifier", "x86 Family 6 Model 8 Stepping 3"),
        ("VendorIdentifier", "GenuineIntel"),
        ("~MHz", dword(866)),
        ("FeatureSet", dword(0x2FFF)),
    ])
    reg.key(system + "\\FloatingPointProcessor\\0", [("Identifier", "x86 Family 6 Model 8 Stepping 3")])
    reg.key("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM", [
        ("\\Device\\Serial0", "COM1"),
        ("\\Device\\Serial1", "COM2"),
        ("\\Device\\Serial2", "COM3"),
    ])
    reg.key("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\VIDEO", [
        ("MaxObjectNumber", dword(0)),
        ("\\Device\\Video0", "\\REGISTRY\\Machine\\System\\CurrentControlSet\\Services\\%s\\Device0" % VIDEO_SERVICE),
        ("VgaCompatible", "\\Device\\Video1"),
    ])
    # The modem: "Default" holds the control-panel settings, "DCB" the port's.
    default = struct.pack("<IIIII", 60, 180, 2, 0, 0x1 | 0x2 | 0x10 | 0x40 | 0x80) + b"\0"
    dcb = struct.pack("<II", 28, 115200) + bytes(10) + bytes([8, 0, 0]) + bytes(7)
    reg.key(MODEM_CLASS, [("@", "Modem"), ("Class", "Modem")])
    reg.key(MODEM_CLASS + "\\0000", [
        ("DriverDesc", "Standard 56000 bps V90 Modem"),
        ("FriendlyName", "Standard 56000 bps V90 Modem"),
        ("Manufacturer", "(Standard Modem Types)"),
        ("Model", "Standard 56000 bps V90 Modem"),
        ("AttachedTo", "COM3"),
        ("DeviceType", ("binary", b"\x02")),
        ("Default", ("binary", default)),
        ("DCB", ("binary", dcb)),
        ("UserInit", ""),
        ("Logging", ("binary", b"\x01")),
        ("LoggingPath", "C:\\WINNT\\ModemLog_Standard 56000 bps V90 Modem.txt"),
        ("InfPath", "mdmgen.inf"),
        ("ProviderName", "Microsoft"),
        ("DriverDate", "11-1-1999"),
        # Distinctive ring: one ring data, two fax, three voice.
        ("VoiceProfile", ("binary", struct.pack("<I", 0x1))),
        ("VoiceSwitchFeatures", ("binary", struct.pack("<IIIIIIII", 1, 0, 1, 0, 2, 0, 3, 0))),
    ])
    # The serial device behind COM3, which the modem's attachment line names.
    reg.key(HKLM_SERVICES + "\\Serial\\Parameters\\Serial2", [
        ("DosDevices", "COM3"),
        ("Interrupt", dword(5)),
        ("PortAddress", dword(0x3E8)),
    ])
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations", [
        ("CurrentID", dword(1)),
        ("NextID", dword(2)),
        ("NumEntries", dword(1)),
    ])
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations\\Location1", [
        ("Name", "Office"),
        ("AreaCode", "617"),
        ("Country", dword(1)),
        ("OutsideAccess", "9"),
        ("LongDistanceAccess", "9"),
        ("Flags", dword(1)),
    ])
    # The display adapter: device key, its settings key of the current hardware profile.
    device = HKLM_SERVICES + "\\%s\\Device0" % VIDEO_SERVICE
    reg.key(HKLM_SERVICES + "\\" + VIDEO_SERVICE, [
        ("Type", dword(1)), ("Start", dword(3)), ("ErrorControl", dword(1)), ("Group", "Video"),
        ("ImagePath", ("expand", "System32\\DRIVERS\\%s.sys" % VIDEO_SERVICE)),
    ])
    reg.key(device, [
        ("Device Description", "Office Graphics 3D AGP"),
        ("InstalledDisplayDrivers", ("multi", [VIDEO_SERVICE])),
        ("HardwareInformation.AdapterString", ("binary", wide("OG3D AGP"))),
        ("HardwareInformation.ChipType", ("binary", wide("OG3D-128"))),
        ("HardwareInformation.DacType", ("binary", wide("Internal DAC(250MHz)"))),
        ("HardwareInformation.MemorySize", ("binary", struct.pack("<I", 16 * 1024 * 1024))),
        ("VgaCompatible", dword(0)),
    ])
    reg.key("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\System\\CurrentControlSet"
            "\\Services\\%s\\Device0" % VIDEO_SERVICE, [
        ("DefaultSettings.XResolution", dword(1024)),
        ("DefaultSettings.YResolution", dword(768)),
        ("DefaultSettings.BitsPerPel", dword(16)),
        ("DefaultSettings.VRefresh", dword(75)),
    ])
    reg.save("60-hardware.reg")


NIC = "{7A3C1E52-40B9-4D8A-9F21-6E0C5B3D2A18}"


def network_registry():
    reg = Reg(["The network card, TCP/IP by DHCP, NetBIOS over TCP/IP and the proxy that the",
               "update product uses. Written by scripts/tools/make_sample_products.py."])
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards")
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\2", [
        ("ServiceName", NIC),
        ("Description", "Fast Ethernet PCI Adapter"),
    ])
    reg.key(HKLM_SERVICES + "\\Tcpip", [
        ("DisplayName", "TCP/IP Protocol Driver"),
        ("Type", dword(1)), ("Start", dword(1)), ("ErrorControl", dword(1)), ("Group", "PNP_TDI"),
        ("ImagePath", ("expand", "System32\\DRIVERS\\tcpip.sys")),
    ])
    reg.key(HKLM_SERVICES + "\\Tcpip\\Parameters", [
        ("SearchList", ""),
        ("UseDomainNameDevolution", dword(1)),
        ("EnableICMPRedirect", dword(1)),
        ("DeadGWDetectDefault", dword(1)),
        ("DontAddDefaultGatewayDefault", dword(0)),
    ])
    reg.key(HKLM_SERVICES + "\\Tcpip\\Parameters\\Interfaces")
    reg.key(HKLM_SERVICES + "\\Tcpip\\Parameters\\Interfaces\\" + NIC, [
        ("EnableDHCP", dword(1)),
        ("IPAddress", ("multi", ["0.0.0.0"])),
        ("SubnetMask", ("multi", ["0.0.0.0"])),
        ("DhcpIPAddress", "192.168.10.37"),
        ("DhcpSubnetMask", "255.255.255.0"),
        ("DhcpDefaultGateway", ("multi", ["192.168.10.1"])),
        ("DhcpServer", "192.168.10.2"),
        ("DhcpNameServer", "192.168.10.2 192.168.10.3"),
        ("DhcpDomain", "office7.example"),
        ("Lease", dword(691200)),
        ("LeaseObtainedTime", dword(unix_time(2002, 5, 14, 7, 58, 2))),
    ])
    reg.key(HKLM_SERVICES + "\\NetBT", [
        ("DisplayName", "NetBios over Tcpip"),
        ("Type", dword(1)), ("Start", dword(1)), ("ErrorControl", dword(1)), ("Group", "PNP_TDI"),
        ("ImagePath", ("expand", "System32\\DRIVERS\\netbt.sys")),
    ])
    reg.key(HKLM_SERVICES + "\\NetBT\\Parameters", [
        ("NameServerPort", dword(137)),
        ("EnableLMHOSTS", dword(1)),
        ("SessionKeepAlive", dword(3600000)),
        ("TransportBindName", "\\Device\\"),
    ])
    reg.key(HKLM_SERVICES + "\\LanmanWorkstation\\Parameters", [
        ("EnablePlainTextPassword", dword(0)),
        ("EnableSecuritySignature", dword(1)),
        ("RequireSecuritySignature", dword(0)),
    ])
    settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"
    reg.key("HKEY_CURRENT_USER\\" + settings, [
        ("ProxyEnable", dword(1)),
        ("ProxyServer", "proxy.office7.example:8080"),
        ("ProxyOverride", "192.168.*;<local>"),
        ("EnableAutodial", dword(0)),
        ("User Agent", "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 5.0)"),
    ])
    reg.key("HKEY_LOCAL_MACHINE\\" + settings, [
        ("ActiveXCache", "C:\\WINNT\\Downloaded Program Files"),
        ("CodeBaseSearchPath", "CODEBASE"),
    ])
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer", [
        ("Version", "5.50.4807.2300"),
        ("Build", "54807"),
    ])
    reg.save("61-network.reg")


def services_registry():
    reg = Reg(["Windows services that the service titles list, as Windows 2000 Professional",
               "installs them. Written by scripts/tools/make_sample_products.py."])
    shared = "%SystemRoot%\\System32\\services.exe"
    svchost = "%SystemRoot%\\System32\\svchost.exe -k "
    for name, display, image, start, kind, group, depends in [
        ("Browser", "Computer Browser", shared, 2, 0x20, "", ["LanmanServer", "LanmanWorkstation"]),
        ("Dhcp", "DHCP Client", shared, 2, 0x20, "TDI", ["Tcpip", "Afd", "NetBT"]),
        ("Dnscache", "DNS Client", shared, 2, 0x20, "TDI", ["Tcpip"]),
        ("LmHosts", "TCP/IP NetBIOS Helper Service", shared, 2, 0x20, "TDI", ["NetBT"]),
        ("Netlogon", "Net Logon", "%SystemRoot%\\System32\\lsass.exe", 3, 0x20, "RemoteValidation",
         ["LanmanWorkstation"]),
        ("Netman", "Network Connections", svchost + "netsvcs", 3, 0x20, "", ["RpcSs"]),
        ("RasMan", "Remote Access Connection Manager", svchost + "netsvcs", 3, 0x20, "", ["TapiSrv"]),
        ("TapiSrv", "Telephony", svchost + "tapisrv", 3, 0x20, "", ["PlugPlay", "RpcSs"]),
        ("PlugPlay", "Plug and Play", shared, 2, 0x20, "PlugPlay", []),
        ("Winmgmt", "Windows Management Instrumentation", "%SystemRoot%\\System32\\WBEM\\WinMgmt.exe", 2, 0x10, "",
         ["RpcSs"]),
        ("W32Time", "Windows Time", shared, 3, 0x20, "", []),
        # The display helper failed at every boot until it was disabled.
        ("ogfxhlp", "OGFX Display Helper", "%SystemRoot%\\System32\\ogfxhlp.exe", 4, 0x10, "", []),
    ]:
        values = [
            ("Type", dword(kind)), ("Start", dword(start)), ("ErrorControl", dword(1)),
            ("ImagePath", ("expand", image)), ("DisplayName", display), ("ObjectName", "LocalSystem"),
        ]
        if group:
            values.append(("Group", group))
        if depends:
            values.append(("DependOnService", ("multi", depends)))
        reg.key(HKLM_SERVICES + "\\" + name, values)
    for name, display, image, start, group in [
        ("Afd", "AFD Networking Support Environment", "\\SystemRoot\\System32\\drivers\\afd.sys", 1, "TDI"),
        ("Serial", "Serial port driver", "System32\\DRIVERS\\serial.sys", 1, "Extended base"),
    ]:
        reg.key(HKLM_SERVICES + "\\" + name, [
            ("Type", dword(1)), ("Start", dword(start)), ("ErrorControl", dword(1)),
            ("ImagePath", ("expand", image)), ("DisplayName", display), ("Group", group),
        ])
    reg.save("62-services.reg")


def user_and_security_registry():
    reg = Reg(["Policies, the win.ini load and run lines of the user, and the default DCOM",
               "launch permission. Written by scripts/tools/make_sample_products.py."])
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", [
        ("dontdisplaylastusername", dword(0)),
        ("legalnoticecaption", ""),
        ("legalnoticetext", ""),
        ("shutdownwithoutlogon", dword(0)),
        ("undockwithoutlogon", dword(1)),
    ])
    reg.key("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", [
        ("NoDriveTypeAutoRun", dword(0x95)),
    ])
    reg.key("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", [
        ("load", ""),
        ("run", ""),
        ("Device", "Office LaserJet,winspool,Ne00:"),
    ])
    launch = security_descriptor([(0, 0x1, SID_SYSTEM), (0, 0x1, SID_ADMINISTRATORS), (0, 0x1, SID_INTERACTIVE)])
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole", [
        ("EnableDCOM", "Y"),
        ("LegacyAuthenticationLevel", dword(2)),
        ("LegacyImpersonationLevel", dword(2)),
        ("DefaultLaunchPermission", ("binary", launch)),
    ])
    reg.save("63-user-and-security.reg")
