#!/usr/bin/env python3
"""Writes the maker's three products into the sample machine samples/office7,
with the hardware, network, service and security settings the bundled scripts
look at.

The output is committed; run this again after changing it:

    python3 scripts/tools/make_sample_products.py

It writes the products' registry files (registry/50-*.reg and up), their
program files (small PE images with real version resources, made by
tools/make_sample_pe.py), logs, settings, caller and option files, the
definition files and the start-up shortcut. Everything it writes is listed in
OWNED so that a rerun first removes what an older version wrote.
"""

import calendar
import datetime
import os
import shutil
import struct
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SAMPLE = os.path.join(ROOT, "samples", "office7")
DRIVE_C = os.path.join(SAMPLE, "drives", "c")
REGISTRY = os.path.join(SAMPLE, "registry")

# The machine's user and folders, as the base image of samples/office7 sets them.
USER = "jmiller"
COMPUTER = "OFFICE7"
PROGRAM_FILES = "C:\\Program Files"
COMMON_FILES = PROGRAM_FILES + "\\Common Files"
ALL_USERS = "C:\\Documents and Settings\\All Users"
COMMON_APPDATA = ALL_USERS + "\\Application Data"
COMMON_STARTUP = ALL_USERS + "\\Start Menu\\Programs\\Startup"

OSTRELL_DIR = PROGRAM_FILES + "\\Quorvane\\Ostrell AntiVirus"
OSTRELL_DATA = COMMON_APPDATA + "\\Quorvane\\Ostrell AntiVirus Corporate Edition\\7.5"
DEFINITIONS_DIR = COMMON_FILES + "\\Quorvane\\Definitions"
MIRROLET_DIR = PROGRAM_FILES + "\\Quorvane\\MIRROLET"
MIRROLET_DATA = COMMON_APPDATA + "\\Quorvane\\MIRROLET\\Data"
FERNWAY_DIR = PROGRAM_FILES + "\\Quorvane\\Fernway"
FERNWAY_DATA = COMMON_APPDATA + "\\Quorvane\\Fernway"
KAVLO_DIR = PROGRAM_FILES + "\\Quorvane\\KAVLO"

# Paths below samples/office7 that this script owns and rewrites.
OWNED = [
    "registry/50-ostrell.reg",
    "registry/51-mirrolet.reg",
    "registry/52-fernway.reg",
    "registry/60-hardware.reg",
    "registry/61-network.reg",
    "registry/62-services.reg",
    "registry/63-user-and-security.reg",
    "drives/c/Program Files/Quorvane/Ostrell AntiVirus",
    "drives/c/Program Files/Quorvane/MIRROLET",
    "drives/c/Program Files/Quorvane/Fernway",
    "drives/c/Program Files/Quorvane/KAVLO/kavlo.exe",
    "drives/c/Program Files/Quorvane/KAVLO/gzip.exe",
    "drives/c/Program Files/Common Files/Quorvane",
    "drives/c/Documents and Settings/All Users/Application Data/Quorvane/Ostrell AntiVirus Corporate Edition",
    "drives/c/Documents and Settings/All Users/Application Data/Quorvane/MIRROLET",
    "drives/c/Documents and Settings/All Users/Application Data/Quorvane/Fernway",
    "drives/c/Documents and Settings/All Users/Start Menu/Programs/Startup/MIRROLET Host.lnk",
]

MIRROLET_CLSID = "{6F3A2C41-8B1D-4E7A-9C52-1D0E7B3F4A90}"
MIRROLET_APPID = "{6F3A2C40-8B1D-4E7A-9C52-1D0E7B3F4A90}"


# Last-write times of everything written, for the [file] sections of machine.ini:
# version control does not keep file times.
FILE_TIMES = {}
MACHINE_INI_MARKER = "; ---- Product files: written by scripts/tools/make_sample_products.py, do not edit below ----"


def host_path(windows_path):
    """The host file of a C: path inside the sample machine."""
    assert windows_path[:3].upper() == "C:\\", windows_path
    return os.path.join(DRIVE_C, *windows_path[3:].split("\\"))


def write_file(windows_path, data, mtime):
    path = host_path(windows_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if isinstance(data, str):
        data = data.replace("\n", "\r\n").encode("cp1252")
    with open(path, "wb") as f:
        f.write(data)
    stamp = calendar.timegm(mtime.timetuple())
    os.utime(path, (stamp, stamp))
    FILE_TIMES[windows_path] = mtime


def unix_time(*args):
    return calendar.timegm(datetime.datetime(*args).timetuple())


# ------------------------------------------------------------------ registry


class Reg:
    """Writes a REGEDIT4 file: ANSI strings, hex(2) and hex(7) data in ANSI bytes."""

    def __init__(self, comment):
        self.lines = ["REGEDIT4", ""] + ["; " + line for line in comment] + [""]

    def key(self, path, values=()):
        self.lines.append("[" + path + "]")
        for name, value in values:
            self.lines.append(self._value(name, value))
        self.lines.append("")

    @staticmethod
    def _quote(text):
        return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'

    def _value(self, name, value):
        left = "@" if name == "@" else self._quote(name)
        kind, data = value if isinstance(value, tuple) else ("sz", value)
        if kind == "sz":
            return left + "=" + self._quote(data)
        if kind == "dword":
            return left + "=dword:%08x" % data
        if kind == "expand":
            return left + "=hex(2):" + self._hex(data.encode("cp1252") + b"\0")
        if kind == "multi":
            raw = b"".join(s.encode("cp1252") + b"\0" for s in data) + b"\0"
            return left + "=hex(7):" + self._hex(raw)
        if kind == "binary":
            return left + "=hex:" + self._hex(data)
        raise ValueError(kind)

    @staticmethod
    def _hex(raw):
        parts = ["%02x" % b for b in raw]
        lines, line = [], ""
        for i, part in enumerate(parts):
            piece = part + ("," if i + 1 < len(parts) else "")
            if len(line) + len(piece) > 74:
                lines.append(line + "\\")
                line = "  "
            line += piece
        lines.append(line)
        return "\n".join(lines)

    def save(self, name):
        os.makedirs(REGISTRY, exist_ok=True)
        with open(os.path.join(REGISTRY, name), "w", encoding="cp1252", newline="\r\n") as f:
            f.write("\n".join(self.lines) + "\n")


def dword(v):
    return ("dword", v)


def sid(authority, *subs):
    return struct.pack("<BB", 1, len(subs)) + struct.pack(">IH", authority >> 16, authority & 0xFFFF) + b"".join(
        struct.pack("<I", s) for s in subs)


SID_SYSTEM = sid(5, 18)
SID_ADMINISTRATORS = sid(5, 32, 544)
SID_INTERACTIVE = sid(5, 4)
SID_NETWORK = sid(5, 2)
SID_EVERYONE = sid(1, 0)


def security_descriptor(aces, owner=SID_ADMINISTRATORS, group=SID_SYSTEM):
    """A self-relative security descriptor with a DACL of (type, mask, sid) entries."""
    body = b""
    for ace_type, mask, who in aces:
        size = 8 + len(who)
        body += struct.pack("<BBHI", ace_type, 0, size, mask) + who
    acl = struct.pack("<BBHHH", 2, 0, 8 + len(body), len(aces), 0) + body
    header = 20
    owner_off = header
    group_off = owner_off + len(owner)
    dacl_off = group_off + len(group)
    control = 0x8004  # self-relative, DACL present
    return struct.pack("<BBHIIII", 1, 0, control, owner_off, group_off, 0, dacl_off) + owner + group + acl


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


# --------------------------------------------------------------- PE images


def make_pe(windows_path, version, description, product, mtime, dll=False, comments=""):
    """A small PE image with a version resource, written by the base image's generator."""
    tool = os.path.join(ROOT, "tools", "make_sample_pe.py")
    path = host_path(windows_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    args = [sys.executable, tool, "--output", path,
            "--file-version", version, "--product-version", version,
            "--company", "Quorvane", "--description", description, "--product", product,
            "--original-filename", windows_path.rsplit("\\", 1)[1],
            "--internal-name", windows_path.rsplit("\\", 1)[1].rsplit(".", 1)[0],
            "--copyright", "Copyright (C) 1998-2002 Quorvane",
            "--link-time", mtime.strftime("%Y-%m-%d %H:%M:%S")]
    if comments:
        args += ["--comments", comments]
    if dll:
        args.append("--dll")
    subprocess.run(args, check=True)
    stamp = calendar.timegm(mtime.timetuple())
    os.utime(path, (stamp, stamp))
    FILE_TIMES[windows_path] = mtime


def program_files():
    built = datetime.datetime(2002, 3, 12, 7, 50, 0)
    ostrell = "Ostrell AntiVirus Corporate Edition"
    for name, desc, dll in [
        ("ovmain.exe", "Ostrell AntiVirus", False),
        ("ovscan.exe", "Ostrell AntiVirus Scan Service", False),
        ("ovtray.exe", "Ostrell AntiVirus Tray Icon", False),
        ("ovdefwd.exe", "Ostrell Definition Watcher", False),
        ("ovmsg.dll", "Ostrell AntiVirus Event Messages", True),
    ]:
        make_pe(OSTRELL_DIR + "\\" + name, "7.50.846.0", desc, ostrell, built, dll)
    make_pe(OSTRELL_DIR + "\\ovengine.dll", "4.1.15.0", "Ostrell Scan Engine", ostrell, built, True,
            "Engine of the virus definitions format 3")
    mirrolet = "MIRROLET"
    built = datetime.datetime(2001, 11, 20, 14, 2, 0)
    for name, desc, dll in [
        ("MIRROLET32.EXE", "MIRROLET Remote and Host", False),
        ("MIRROLETHOST32.EXE", "MIRROLET Host Service", False),
        ("MIRROLETSVR.EXE", "MIRROLET Remote Data Manager", False),
        ("mlremote.dll", "MIRROLET Remote Control Library", True),
        ("mlcomm.dll", "MIRROLET Communication Library", True),
    ]:
        make_pe(MIRROLET_DIR + "\\" + name, "10.0.2.118", desc, mirrolet, built, dll)
    fernway = "Fernway"
    built = datetime.datetime(2002, 1, 28, 11, 15, 0)
    for name, desc, dll in [
        ("Fernway.exe", "Fernway", False),
        ("fwsched.exe", "Fernway Scheduler", False),
        ("fwcore.dll", "Fernway Core", True),
        ("fwinet.dll", "Fernway Internet Transfer", True),
    ]:
        make_pe(FERNWAY_DIR + "\\" + name, "1.80.0.21", desc, fernway, built, dll)
    # The support tool itself, in the current folder of the sample machine.
    built = datetime.datetime(2002, 4, 30, 9, 0, 0)
    make_pe(KAVLO_DIR + "\\kavlo.exe", "1.50.0.35", "KAVLO - Quorvane's Tech Support Tool", "KAVLO", built)
    make_pe(KAVLO_DIR + "\\gzip.exe", "1.2.4.0", "gzip", "gzip", built)


# ------------------------------------------------------------ product data


def log_date(when):
    """The antivirus log's date field: year-1970, month-1, day, hour, minute, second in hex."""
    return "%02X0%X%02X%02X%02X%02X" % (when.year - 1970, when.month - 1, when.day, when.hour, when.minute,
                                       when.second)


def ostrell_logs():
    d = datetime.datetime
    profile = "C:\\Documents and Settings\\" + USER
    # Fields: 0 date, 1 record type, 2 event, 3 scan type, 4 computer, 5 user, 6 virus,
    # 7 path, 8 first action, 9 second action, 10 action taken, 11 virus type, 12 flags, 13 text.
    def rec(when, kind, scan, user="SYSTEM", virus="", path="", first="", second="", taken="", vtype="",
            text=""):
        return ",".join([log_date(when), str(kind), "0", str(scan), COMPUTER, user, virus, path, str(first),
                         str(second), str(taken), str(vtype), "0", text])

    logs = {
        "04292002.Log": [
            rec(d(2002, 4, 29, 7, 58, 12), 14, 8, text="Scan service started"),
            rec(d(2002, 4, 29, 8, 2, 40), 7, 8, text="Definitions 20020426.011 from OSTSRV01"),
            rec(d(2002, 5, 3, 12, 0, 1), 2, 1, text="Scheduled scan started"),
            rec(d(2002, 5, 3, 12, 41, 55), 3, 1, text="Scheduled scan finished: 18211 files; no virus"),
            rec(d(2002, 5, 3, 17, 31, 2), 13, 8, text="Scan service stopped"),
        ],
        "05062002.Log": [
            rec(d(2002, 5, 6, 7, 55, 49), 14, 8, text="Scan service started"),
            rec(d(2002, 5, 6, 8, 10, 3), 7, 8, text="Definitions 20020506.003 from OSTSRV01"),
            rec(d(2002, 5, 8, 10, 22, 17), 5, 2, USER, "W97M.Quilla.B",
                profile + "\\My Documents\\Budget 2002.doc", 5, 1, 5, 256, "Cleaned by real-time scan"),
            rec(d(2002, 5, 9, 9, 3, 44), 12, 6, "admin", text="Settings pushed by OSTSRV01"),
            rec(d(2002, 5, 10, 12, 0, 0), 2, 1, text="Scheduled scan started"),
            rec(d(2002, 5, 10, 12, 30, 0), 5, 1, "SYSTEM", "Trojan.Dalpo",
                "C:\\WINNT\\Downloaded Program Files\\dlpsetup.exe", 5, 1, 1, 256, "Quarantined"),
            rec(d(2002, 5, 10, 12, 30, 1), 18, 1, text="Sent dlpsetup.exe to the quarantine server OSTSRV01"),
            rec(d(2002, 5, 10, 12, 58, 31), 3, 1, text="Scheduled scan finished: 18302 files; 1 virus"),
            rec(d(2002, 5, 10, 17, 45, 9), 13, 8, text="Scan service stopped"),
        ],
        "05132002.Log": [
            rec(d(2002, 5, 13, 7, 59, 30), 14, 8, text="Scan service started"),
            rec(d(2002, 5, 13, 9, 14, 7), 5, 2, USER, "W32.Marsh.Worm",
                profile + "\\Local Settings\\Temporary Internet Files\\Content.IE5\\Q7R2KX0B\\invoice.exe",
                5, 1, 1, 256, "Clean failed; quarantined"),
            rec(d(2002, 5, 13, 9, 14, 8), 18, 2, USER, text="Sent invoice.exe to the quarantine server OSTSRV01"),
            rec(d(2002, 5, 13, 13, 2, 51), 5, 2, USER, "Boot.Tarnow", "A:", 5, 4, 4, 1,
                "Boot sector of the floppy left alone"),
            rec(d(2002, 5, 14, 8, 0, 4), 7, 8, text="Definitions 20020510.017 pending from OSTSRV01"),
        ],
    }
    for name, lines in logs.items():
        last = lines[-1].split(",", 1)[0]
        mtime = datetime.datetime(1970 + int(last[0:2], 16), int(last[3], 16) + 1, int(last[4:6], 16),
                                  int(last[6:8], 16), int(last[8:10], 16), int(last[10:12], 16))
        write_file(OSTRELL_DATA + "\\Logs\\" + name, "\n".join(lines) + "\n", mtime)
    write_file(OSTRELL_DATA + "\\Quarantine\\3CE0A2F1.qfl", b"QFL1" + bytes(60),
               datetime.datetime(2002, 5, 13, 9, 14, 8))
    write_file(OSTRELL_DATA + "\\Quarantine\\3CDBD2C0.qfl", b"QFL1" + bytes(124),
               datetime.datetime(2002, 5, 10, 12, 30, 1))
    write_file(DEFINITIONS_DIR + "\\defsets.ini",
               "[Sets]\nCurrent=20020506.003\nPrevious=20020426.011\nPending=20020510.017\n\n"
               "[20020506.003]\nPatternVersion=0x2f80003\nEngine=4.1.15.0\nSignatures=57112\n",
               datetime.datetime(2002, 5, 6, 8, 10, 3))
    write_file(DEFINITIONS_DIR + "\\vdefs.vdb", b"VDB3" + bytes(2044), datetime.datetime(2002, 5, 6, 8, 10, 3))
    write_file(DEFINITIONS_DIR + "\\vdefs.idx", b"IDX3" + bytes(508), datetime.datetime(2002, 5, 6, 8, 10, 3))
    write_file(OSTRELL_DIR + "\\readme.txt",
               "Ostrell AntiVirus Corporate Edition 7.5\n\nThis client is managed by its parent server.\n"
               "Ask your network administrator before changing its settings.\n",
               datetime.datetime(2002, 3, 12, 7, 50, 0))


def mirrolet_data():
    # One byte per option from byte 8 on (see Mirrolet.dbg), the host name from byte 16.
    options = bytearray(64)
    options[0:4] = b"MHO1"
    options[4] = 2
    options[8] = 1   # launch with Windows
    options[9] = 1   # run minimized
    options[10] = 0  # caller may blank the screen
    options[11] = 2  # symmetric key encryption
    options[12] = 0  # after a session: wait for the next call
    options[13] = 3  # after an interrupted session: lock the computer
    options[14] = 1  # confirm each connection
    options[15] = 0  # lock keyboard and mouse
    name = COMPUTER.encode("ascii")
    options[16:16 + len(name)] = name
    write_file(MIRROLET_DATA + "\\HostOptions.dat", bytes(options), datetime.datetime(2002, 4, 2, 10, 5, 0))

    def caller(device, speed, parity, area, phone, country, login):
        fields = [device, str(speed), parity, area, phone, country, login]
        return b"MLCHF\x01" + b"\0".join(f.encode("cp1252") for f in fields) + b"\0"

    write_file(MIRROLET_DATA + "\\Quorvane support via modem.CHF",
               caller("Standard 56000 bps V90 Modem", 57600, "None", "617", "555 0142", "United States (1)",
                      "office7"), datetime.datetime(2002, 4, 2, 10, 7, 0))
    write_file(MIRROLET_DATA + "\\Branch office LAN.CHF",
               caller("TCP/IP", 0, "None", "", "192.168.20.14", "", "office7"),
               datetime.datetime(2002, 2, 18, 15, 30, 0))
    write_file(MIRROLET_DATA + "\\Network host.BHF", b"MLBHF\x01TCP/IP\0", datetime.datetime(2002, 2, 18, 15, 31, 0))
    write_file(COMMON_APPDATA + "\\Quorvane\\MIRROLET\\Logs\\host.log",
               "05/13/2002 16:20:02 Call from QV-SUPPORT12 (modem) accepted by the user\n"
               "05/13/2002 16:42:10 Session ended normally; waiting for the next call\n",
               datetime.datetime(2002, 5, 13, 16, 42, 10))


def fernway_data():
    default = """; Fernway default settings. The first session copies them into the data folder.
[Connection]
Method=0
TimeoutSeconds=60
HangUpAfterSession=1

[Proxy]
Use=0

[Server]
Primary=http://update1.quorvane.example/fernway
Secondary=http://update2.quorvane.example/fernway

[Schedule]
Enabled=1
Frequency=2
Day=1
Time=20:00
"""
    write_file(FERNWAY_DIR + "\\Settings.Default.Fernway", default, datetime.datetime(2002, 1, 28, 11, 15, 0))

    def settings(proxy, when):
        return """[Connection]
Method=0
TimeoutSeconds=60
HangUpAfterSession=1

[Proxy]
Use=%s
Server=proxy.office7.example
Port=8080

[Server]
Primary=http://update1.quorvane.example/fernway
Secondary=http://update2.quorvane.example/fernway
LastServer=update1.quorvane.example

[Schedule]
Enabled=1
Frequency=2
Day=1
Time=20:00
LastRun=%s
""" % (proxy, when)

    def catalog(when, defs, defs_available):
        return """[Catalog]
Updated=%s

[Product1]
Name=Ostrell AntiVirus Corporate Edition
Component=Program
Installed=7.50.846
Available=7.50.846

[Product2]
Name=Ostrell AntiVirus Corporate Edition
Component=Virus definitions
Installed=%s
Available=%s

[Product3]
Name=MIRROLET
Component=Program
Installed=10.0.2
Available=10.0.2

[Product4]
Name=Fernway
Component=Program
Installed=1.80.0.21
Available=1.80.0.21
""" % (when, defs, defs_available)

    def log(lines):
        return "".join(line + "\n" for line in lines)

    sets = [
        ("", "05/13/2002 20:00:41", "1", "20020506.003", "20020510.017", [
            "05/13/2002 20:00:02 Session started by the scheduler",
            "05/13/2002 20:00:03 Connecting through the proxy proxy.office7.example:8080",
            "05/13/2002 20:00:09 Catalog received from update1.quorvane.example (4 products)",
            "05/13/2002 20:00:10 Ostrell AntiVirus Corporate Edition virus definitions: 20020510.017 available",
            "05/13/2002 20:00:38 Downloaded 1.9 MB; handed to the antivirus product",
            "05/13/2002 20:00:41 Session ended: updates installed",
        ], datetime.datetime(2002, 5, 13, 20, 0, 41)),
        ("1.", "05/06/2002 20:00:17", "1", "20020426.011", "20020506.003", [
            "05/06/2002 20:00:01 Session started by the scheduler",
            "05/06/2002 20:00:02 Connecting through the proxy proxy.office7.example:8080",
            "05/06/2002 20:00:08 Catalog received from update1.quorvane.example (4 products)",
            "05/06/2002 20:00:17 Session ended: updates installed",
        ], datetime.datetime(2002, 5, 6, 20, 0, 17)),
        ("2.", "04/29/2002 20:01:30", "0", "20020426.011", "20020426.011", [
            "04/29/2002 20:00:01 Session started by the scheduler",
            "04/29/2002 20:00:02 Connecting directly",
            "04/29/2002 20:01:02 No answer from update1.quorvane.example; trying update2.quorvane.example",
            "04/29/2002 20:01:30 Could not reach the update server (error 12029)",
        ], datetime.datetime(2002, 4, 29, 20, 1, 30)),
    ]
    for prefix, when, proxy, defs, available, lines, mtime in sets:
        write_file(FERNWAY_DATA + "\\" + prefix + "Settings.Fernway", settings(proxy, when), mtime)
        write_file(FERNWAY_DATA + "\\" + prefix + "Product.Catalog.Fernway", catalog(when, defs, available), mtime)
        write_file(FERNWAY_DATA + "\\" + prefix + "Log.Fernway", log(lines), mtime)
    # A log left from an older set whose settings were removed: the report does not show it.
    write_file(FERNWAY_DATA + "\\3.Log.Fernway", log(["04/22/2002 20:00:01 Session started by the scheduler",
                                                     "04/22/2002 20:00:40 Session ended: nothing to update"]),
               datetime.datetime(2002, 4, 22, 20, 0, 40))


def shell_link(target, arguments, working_dir, mtime):
    """A shell link (.lnk) with ANSI strings: link info with the local path, then the working
    folder and the arguments."""
    filetime = (calendar.timegm(mtime.timetuple()) + 11644473600) * 10000000
    flags = 0x2 | 0x10 | 0x20  # has link info, working folder, arguments
    header = struct.pack("<I16sIIQQQIIIHHII", 0x4C,
                         bytes.fromhex("0114020000000000c000000000000046"), flags, 0x20,
                         filetime, filetime, filetime, 0, 0, 1, 0, 0, 0, 0)
    volume = struct.pack("<IIII", 0x11, 3, 0x1C3A5E90, 0x10) + b"\0"
    base = target.encode("cp1252") + b"\0"
    info_header = 0x1C
    volume_off = info_header
    base_off = volume_off + len(volume)
    suffix_off = base_off + len(base)
    size = suffix_off + 1
    info = struct.pack("<IIIIIII", size, info_header, 1, volume_off, base_off, 0, suffix_off) + volume + base + b"\0"

    def string(text):
        raw = text.encode("cp1252")
        return struct.pack("<H", len(raw)) + raw

    return header + info + string(working_dir) + string(arguments) + struct.pack("<I", 0)


def startup_folder():
    write_file(COMMON_STARTUP + "\\MIRROLET Host.lnk",
               shell_link(MIRROLET_DIR + "\\MIRROLET32.EXE", "/host /minimized", MIRROLET_DIR,
                          datetime.datetime(2002, 4, 2, 10, 5, 0)),
               datetime.datetime(2002, 4, 2, 10, 5, 0))


# ----------------------------------------------- what the other scripts read

HKLM_SERVICES = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services"
MODEM_CLASS = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}"
VIDEO_SERVICE = "ogfx"


def wide(text):
    return text.encode("utf-16-le") + b"\0\0"


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


def file_sections():
    """[file] sections with the times of every file written and of its folders (a
    folder takes the time of its newest file)."""
    times = dict(FILE_TIMES)
    for path, when in FILE_TIMES.items():
        folder = path.rsplit("\\", 1)[0]
        while folder.count("\\") >= 2 and not folder.upper().endswith(("\\PROGRAM FILES",
                                                                       "\\COMMON FILES", "\\APPLICATION DATA",
                                                                       "\\STARTUP")):
            times[folder] = max(times.get(folder, when), when)
            folder = folder.rsplit("\\", 1)[0]
    lines = [MACHINE_INI_MARKER, ""]
    for path in sorted(times, key=str.lower):
        lines += ["[file %s]" % path, "modified = %s" % times[path].strftime("%Y-%m-%d %H:%M:%S"), ""]
    return "\n".join(lines)


def update_machine_ini():
    """Rewrites the product block at the end of machine.ini, when machine.ini has its marker line."""
    ini = os.path.join(SAMPLE, "machine.ini")
    with open(ini, "rb") as f:
        text = f.read().decode("cp1252")
    at = text.find(MACHINE_INI_MARKER)
    if at < 0:
        print("machine.ini has no product block; its file times are:\n\n" + file_sections(), file=sys.stderr)
        return
    newline = "\r\n" if "\r\n" in text else "\n"
    block = file_sections().replace("\n", newline)
    with open(ini, "wb") as f:
        f.write((text[:at] + block).encode("cp1252"))


def main():
    for rel in OWNED:
        path = os.path.join(SAMPLE, *rel.split("/"))
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)
    ostrell_registry()
    mirrolet_registry()
    fernway_registry()
    hardware_registry()
    network_registry()
    services_registry()
    user_and_security_registry()
    ostrell_logs()
    mirrolet_data()
    fernway_data()
    startup_folder()
    program_files()
    update_machine_ini()


if __name__ == "__main__":
    main()
