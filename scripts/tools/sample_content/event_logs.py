"""The event logs of the sample machine: the three .evt files, the registry
keys that name them and their sources, and the message files of the sources,
all written from the text descriptions in event_logs/."""

import calendar
import datetime
import os
import subprocess
import sys

from sample_content.layout import FILE_TIMES, ROOT, host_path
from sample_content.regfile import Reg, dword

HERE = os.path.join(os.path.dirname(__file__), "event_logs")
EVENTLOG_KEY = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Eventlog"
CONFIG = "C:\\WINNT\\system32\\config"
WRITTEN = datetime.datetime(2002, 5, 14, 8, 20, 44)
MS_BUILT = datetime.datetime(2001, 4, 27, 10, 0, 0)
MS = ["--company", "Microsoft Corporation", "--copyright", "Copyright (C) Microsoft Corp. 1981-1999",
      "--product", "Microsoft(R) Windows (R) 2000 Operating System"]

# (log, file, description, how the file is laid out)
LOGS = [
    ("System", "SysEvent.Evt", "system.txt", []),
    # The Application log has wrapped once: its oldest record starts near the end of the file.
    ("Application", "AppEvent.Evt", "application.txt", ["--wrap-at", "0x300"]),
    # The machine was switched off without closing the Security log.
    ("Security", "SecEvent.Evt", "security.txt", ["--dirty"]),
]

# (file, description, message list)
MESSAGE_FILES = [
    ("C:\\WINNT\\system32\\netevent.dll", "Event Logging Messages", "netevent.txt"),
    ("C:\\WINNT\\system32\\userenv.dll", "Userenv", "userenv.txt"),
    ("C:\\WINNT\\system32\\msaudite.dll", "Security Audit Events DLL", "msaudite.txt"),
    ("C:\\WINNT\\system32\\msobjs.dll", "System object audit names", "msobjs.txt"),
]

# The log files only: the registry hives beside them in system32\config are not written here.
OWNED = ["registry/64-event-logs.reg"] + [
    "drives/c/WINNT/system32/config/" + file for _, file, _, _ in LOGS] + [
    "drives/c/" + path[3:].replace("\\", "/") for path, _, _ in MESSAGE_FILES]


def run_tool(name, args):
    subprocess.run([sys.executable, os.path.join(ROOT, "tools", name)] + args, check=True)


def stamp(windows_path, when):
    seconds = calendar.timegm(when.timetuple())
    os.utime(host_path(windows_path), (seconds, seconds))
    FILE_TIMES[windows_path] = when


def message_files():
    for path, description, messages in MESSAGE_FILES:
        name = path.rsplit("\\", 1)[1]
        run_tool("make_sample_pe.py", ["--output", host_path(path), "--dll", "--file-version", "5.00.2195.2779",
                                       "--description", description, "--internal-name", name.split(".")[0],
                                       "--original-filename", name, "--messages", os.path.join(HERE, messages),
                                       "--link-time", MS_BUILT.strftime("%Y-%m-%d %H:%M:%S")] + MS)
        stamp(path, MS_BUILT)


def log_files():
    for _, file, description, layout in LOGS:
        path = CONFIG + "\\" + file
        run_tool("make_evt.py", ["--output", host_path(path), os.path.join(HERE, description)] + layout)
        stamp(path, WRITTEN)


def event_log_registry():
    reg = Reg(["The event logs and their sources: written by scripts/tools/make_sample_products.py."])
    system32 = "%SystemRoot%\\system32\\"
    for log, file, _, _ in LOGS:
        reg.key(EVENTLOG_KEY + "\\" + log, [("File", ("expand", system32 + "config\\" + file)),
                                            ("MaxSize", dword(0x80000)), ("Retention", dword(0x93A80))])
    for source in ["EventLog", "Service Control Manager", "Srv"]:
        reg.key(EVENTLOG_KEY + "\\System\\" + source,
                [("EventMessageFile", ("expand", system32 + "netevent.dll")), ("TypesSupported", dword(7))])
    reg.key(EVENTLOG_KEY + "\\Application\\Userenv",
            [("EventMessageFile", ("expand", system32 + "userenv.dll")), ("TypesSupported", dword(7))])
    reg.key(EVENTLOG_KEY + "\\Security\\Security",
            [("EventMessageFile", ("expand", system32 + "msaudite.dll")),
             ("ParameterMessageFile", ("expand", system32 + "msobjs.dll")), ("TypesSupported", dword(0x18))])
    reg.save("64-event-logs.reg")


def event_logs():
    message_files()
    log_files()
    event_log_registry()
