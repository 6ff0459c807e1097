"""Files of the products: program files with version resources, the antivirus
logs, quarantine and definitions, the remote-control option and caller files,
the update product's settings, catalogs and logs, and a start-up shortcut."""

import calendar
import datetime
import os
import struct
import subprocess
import sys

from sample_content.layout import (COMMON_APPDATA, COMPUTER, DEFINITIONS_DIR, FERNWAY_DATA, FERNWAY_DIR,
                                   FILE_TIMES, KAVLO_DIR, MIRROLET_DATA, MIRROLET_DIR, OSTRELL_DATA, OSTRELL_DIR,
                                   ROOT, USER, COMMON_STARTUP, host_path, write_file)


def make_pe(windows_path, version, description, product, mtime, dll=False, comments="", messages=None):
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
    if messages:
        args += ["--messages", messages]
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
        # The event source's messages come with its message file.
        messages = os.path.join(os.path.dirname(__file__), "event_logs", "ovmsg.txt") if name == "ovmsg.dll" else None
        make_pe(OSTRELL_DIR + "\\" + name, "7.50.846.0", desc, ostrell, built, dll, messages=messages)
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
