"""Where the sample machine lies and where the products go on it; helpers that
write files into the machine's drive C: and remember their times."""

import calendar
import datetime
import os

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
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

MIRROLET_CLSID = "{6F3A2C41-8B1D-4E7A-9C52-1D0E7B3F4A90}"
MIRROLET_APPID = "{6F3A2C40-8B1D-4E7A-9C52-1D0E7B3F4A90}"


# Last-write times of everything written, for the [file] sections of machine.ini:
# version control does not keep file times.
FILE_TIMES = {}


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
