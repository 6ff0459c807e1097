"""Registry files of the maker's three products: 50-ostrell.reg, 51-mirrolet.reg
and 52-fernway.reg."""

import datetime
import struct

from sample_content.layout import (COMMON_APPDATA, FERNWAY_DIR, KAVLO_DIR, MIRROLET_APPID, MIRROLET_CLSID,
                                   MIRROLET_DATA, MIRROLET_DIR, OSTRELL_DIR, unix_time)
from sample_content.regfile import (SID_ADMINISTRATORS, SID_INTERACTIVE, SID_NETWORK, SID_SYSTEM, Reg, dword,
                                    security_descriptor)


def service(name, display, image, start, svc_type, description):
    return ("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + name, [
        ("Type", dword(svc_type)),
        ("Start", dword(start)),
        ("ErrorControl", dword(1)),
        ("ImagePath", ("expand", image)),
        ("DisplayName", display),
        ("ObjectName", "LocalSystem"),
        ("Description", description),
    ])


def uninstall(guid, name, version, folder, size_kb):
    return ("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + guid, [
        ("DisplayName", name),
        ("DisplayVersion", version),
        ("Publisher", "Quorvane"),
        ("InstallLocation", folder),
        ("InstallDate", "20020312"),
        ("UninstallString", "MsiExec.exe /I" + guid),
        ("EstimatedSize", dword(size_kb)),
        ("NoModify", dword(1)),
    ])


RUN_KEY = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
OSTRELL_KEY = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion"

OSTRELL_VERSION = 0x034E02EE  # 7.50.846
PATTERN_DATE = (datetime.date(2002, 5, 6) - datetime.date(1970, 1, 1)).days
LAST_SCAN = unix_time(2002, 5, 10, 12, 30, 0)
LAST_GOOD = unix_time(2002, 5, 14, 8, 15, 20)
LAST_UPDATE = unix_time(2002, 5, 14, 8, 0, 4)


def ostrell_registry():
    reg = Reg(["Ostrell AntiVirus Corporate Edition 7.50.846, a managed client of the",
               "server OSTSRV01. Written by scripts/tools/make_sample_products.py."])
    common = [
        ("ProductVersion", dword(OSTRELL_VERSION)),
        ("ScanEngineVersion", dword(0x04010F00)),
        ("PatternVersion", dword(0x02F80003)),
        ("PatternFileDate", dword(PATTERN_DATE)),
        ("TimeOfLastScan", dword(LAST_SCAN)),
    ]
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Paxwell")
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Paxwell\\Corvel")
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Paxwell\\Corvel\\Vigilant6")
    reg.key(OSTRELL_KEY, [
        ("ProductName", "Ostrell AntiVirus Corporate Edition"),
        ("Home Directory", OSTRELL_DIR),
        ("Parent", "OSTSRV01"),
        ("Domain", "OFFICE_AV"),
        ("NumberOfClients", dword(0)),
        ("Flags", dword(0x8)),
        ("ClientType", dword(1)),
        ("AdminOnly", dword(1)),
        ("AllowUninstall", dword(0)),
        ("LastScanResult", dword(1)),
    ] + common)
    # Address_0: bytes 4-5 the UDP port (high byte first), bytes 8-11 the IP address.
    address0 = bytes([0x02, 0x00, 0x00, 0x00, 0x0B, 0x1F, 0x00, 0x00, 192, 168, 10, 5, 0, 0, 0, 0])
    reg.key(OSTRELL_KEY + "\\AddressCache")
    reg.key(OSTRELL_KEY + "\\AddressCache\\OSTSRV01", [
        ("Domain", "OFFICE_AV"),
        ("Parent", "OSTSRV01"),
        ("NumberOfClients", dword(42)),
        ("Flags", dword(0x9)),
        ("Address_0", ("binary", address0)),
        ("Protocol", "Address_0"),
        ("Good", dword(1)),
        ("LastGoodTime", ("binary", struct.pack("<I", LAST_GOOD))),
        ("LastUpdateTime", ("binary", struct.pack("<I", LAST_UPDATE))),
    ] + common)
    reg.key(OSTRELL_KEY + "\\Clients")
    reg.key(OSTRELL_KEY + "\\ProtectionSettings")
    reg.key(OSTRELL_KEY + "\\ProtectionSettings\\RealTime", [
        ("OnOff", dword(1)), ("OnOff - L", dword(1)),
        ("ScanOnOpen", dword(1)), ("ScanOnOpen - L", dword(0)),
        ("ScanOnWrite", dword(1)), ("ScanOnWrite - L", dword(1)),
        ("AllFiles", dword(0)),
        ("Extensions", "EXE,COM,DLL,SYS,DOC,DOT,XLS,VBS,JS,HTM,SCR,ZIP"),
        ("ShowMessage", dword(1)),
        ("FirstAction", dword(5)),
        ("SecondAction", dword(1)),
    ])
    reg.key(OSTRELL_KEY + "\\ProtectionSettings\\Scheduled", [
        ("Enabled", dword(1)),
        ("Frequency", dword(2)),
        ("Day", dword(5)),
        ("MinutesAfterMidnight", dword(720)),
        ("ScanAllDrives", dword(1)),
    ])
    reg.key(OSTRELL_KEY + "\\ProtectionSettings\\Updates", [
        ("FromParent", dword(1)), ("FromParent - L", dword(1)),
        ("UseFernway", dword(0)),
    ])
    for key, values in [
        service("OstScan", "Ostrell AntiVirus Scan Service", OSTRELL_DIR + "\\ovscan.exe", 2, 0x10,
                "Scans files as they are opened and written, and runs scheduled scans."),
        service("OvDefWatch", "Ostrell Definition Watcher", OSTRELL_DIR + "\\ovdefwd.exe", 2, 0x10,
                "Rescans the quarantine when new virus definitions arrive."),
    ]:
        reg.key(key, values)
    reg.key("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Ostrell AntiVirus", [
        ("EventMessageFile", ("expand", OSTRELL_DIR + "\\ovmsg.dll")),
        ("TypesSupported", dword(7)),
    ])
    reg.key(RUN_KEY, [("OstTray", OSTRELL_DIR + "\\ovtray.exe")])
    reg.key(*uninstall("{B3F0C6A2-5D4E-4F1A-8C77-2A9E1D6B0C31}", "Ostrell AntiVirus Corporate Edition",
                       "7.50.846", OSTRELL_DIR, 21480))
    reg.save("50-ostrell.reg")


def mirrolet_registry():
    reg = Reg(["MIRROLET 10.0.2 remote control, host and remote installed; the host",
               "service answers automation calls. Written by scripts/tools/make_sample_products.py."])
    base = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\MIRROLET"
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane")
    reg.key(base)
    reg.key(base + "\\CurrentVersion", [
        ("Version", "10.0.2"),
        ("InstallDir", MIRROLET_DIR),
        ("InstallType", dword(1)),
        ("Language", "English"),
    ])
    reg.key(base + "\\CurrentVersion\\System", [
        ("FilesDirectory", MIRROLET_DATA),
        ("LogDirectory", COMMON_APPDATA + "\\Quorvane\\MIRROLET\\Logs"),
    ])
    reg.key(base + "\\CurrentVersion\\Host", [
        ("LastCaller", "QV-SUPPORT12"),
        ("LastSession", "05/13/2002 16:42:10"),
        ("SessionLogging", dword(1)),
    ])
    reg.key(base + "\\CurrentVersion\\Remote", [
        ("DefaultCaller", "Quorvane support via modem.CHF"),
    ])
    reg.key(*service("MirroletHost", "MIRROLET Host", MIRROLET_DIR + "\\MIRROLETHOST32.EXE", 3, 0x110,
                     "Waits for calls from MIRROLET remotes and serves the data manager."))
    reg.key("HKEY_CLASSES_ROOT\\MIRROLETSVR.RemoteDataManager", [("@", "RemoteDataManager Class")])
    reg.key("HKEY_CLASSES_ROOT\\MIRROLETSVR.RemoteDataManager\\CLSID", [("@", MIRROLET_CLSID)])
    reg.key("HKEY_CLASSES_ROOT\\MIRROLETSVR.RemoteDataManager\\CurVer", [("@", "MIRROLETSVR.RemoteDataManager.1")])
    clsid = "HKEY_CLASSES_ROOT\\CLSID\\" + MIRROLET_CLSID
    reg.key(clsid, [("@", "RemoteDataManager Class"), ("AppID", MIRROLET_APPID)])
    reg.key(clsid + "\\LocalServer32", [("@", MIRROLET_DIR + "\\MIRROLETSVR.EXE")])
    reg.key(clsid + "\\ProgID", [("@", "MIRROLETSVR.RemoteDataManager.1")])
    reg.key(clsid + "\\VersionIndependentProgID", [("@", "MIRROLETSVR.RemoteDataManager")])
    launch = security_descriptor([(0, 0x1, SID_SYSTEM), (0, 0x1, SID_ADMINISTRATORS), (0, 0x1, SID_INTERACTIVE)])
    access = security_descriptor([(1, 0x1, SID_NETWORK), (0, 0x1, SID_SYSTEM), (0, 0x1, SID_INTERACTIVE),
                                  (0, 0x1, SID_ADMINISTRATORS)])
    reg.key("HKEY_CLASSES_ROOT\\AppID\\" + MIRROLET_APPID, [
        ("@", "MIRROLETSVR"),
        ("LocalService", "MirroletHost"),
        ("ServiceParameters", "-automation"),
        ("LaunchPermission", ("binary", launch)),
        ("AccessPermission", ("binary", access)),
    ])
    reg.key("HKEY_CLASSES_ROOT\\AppID\\MIRROLETSVR.EXE", [("AppID", MIRROLET_APPID)])
    reg.key(*uninstall("{0D7E5B19-3A64-4C2F-B8E1-6C5A4F2E9D07}", "MIRROLET 10.0", "10.0.2", MIRROLET_DIR, 18230))
    reg.save("51-mirrolet.reg")


def fernway_registry():
    reg = Reg(["Fernway 1.80 update product, scheduled weekly from the Run key, and the",
               "uninstall entry of the support tool. Written by scripts/tools/make_sample_products.py."])
    base = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Fernway"
    reg.key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane")
    reg.key(base, [
        ("InstallDir", FERNWAY_DIR),
        ("Version", "1.80.0.21"),
        ("LastSession", "05/13/2002 20:00:41"),
        ("LastResult", dword(1)),
    ])
    reg.key(base + "\\Scheduler", [
        ("Enabled", dword(1)),
        ("Frequency", dword(2)),
        ("Interactive", dword(0)),
        ("RetryOnFailure", dword(1)),
    ])
    reg.key(base + "\\Connection", [
        ("Method", dword(0)),
        ("HangUpAfterSession", dword(1)),
    ])
    reg.key(RUN_KEY, [("FernwayScheduler", FERNWAY_DIR + "\\fwsched.exe /startup")])
    reg.key(*uninstall("{5C2A8E41-97B3-4D6F-A0E2-3B1F7C9D8E55}", "Fernway", "1.80.0.21", FERNWAY_DIR, 2310))
    reg.key(*uninstall("{9E1B4C73-2F58-4A06-8D3E-71C2A5B0F6D4}", "KAVLO - Quorvane's Tech Support Tool", "1.50.35",
                       KAVLO_DIR, 640))
    reg.save("52-fernway.reg")
