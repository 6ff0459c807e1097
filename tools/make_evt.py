#!/usr/bin/env python3
"""Writes a classic NT event-log file (.evt) from a text description, so that
sample machines and tests need no opaque binaries.

    python3 tools/make_evt.py --output SysEvent.Evt system-log.txt

The description has one record a line, oldest first; blank lines and lines
starting with "#" are skipped. Fields are separated by " | ":

    TIME | TYPE | SOURCE | EVENT ID | COMPUTER [| STRING ...]

TIME is UTC, "YYYY-MM-DD HH:MM:SS". TYPE is ERROR, Warning, Information,
AuditSuccess, AuditFailure or a number. EVENT ID is the full identifier,
decimal or hexadecimal with 0x (for example 0xC0001B58: severity bits and
event 7000). A line may start with "N* " to write N copies of the record one
second apart (runs of the same event). Insertion strings follow as further
fields; "\\n" in them stands for a line break.

The file is as Windows writes it: a 48-byte "LfLe" header, the records in
UTF-16 form, and the end-of-file record. --wrap-at OFFSET starts the oldest
record at that offset of a file just large enough for the records, so that
they wrap from the end of the file to just after the header; --dirty marks the
header dirty with stale offsets, as after a crash.
"""

import argparse
import calendar
import datetime
import os
import re
import struct
import sys

HEADER = 0x30
TYPES = {"error": 1, "warning": 2, "information": 4, "auditsuccess": 8, "auditfailure": 16}


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


def record(number, when, event_type, source, event_id, computer, strings):
    names = utf16z(source) + utf16z(computer)
    names += b"\0" * (-len(names) % 4)  # the SID would start DWORD-aligned
    body = b"".join(utf16z(s) for s in strings)
    string_offset = 56 + len(names)
    length = string_offset + len(body)
    length += -length % 4
    length += 4
    fixed = struct.pack("<IIIIIIHHHHIIIIII", length, 0x654C664C, number, when, when, event_id, event_type,
                        len(strings), 0, 0, 0, string_offset, 0, string_offset + len(body), 0,
                        string_offset + len(body))
    data = fixed + names + body
    data += b"\0" * (length - 4 - len(data))
    return data + struct.pack("<I", length)


def parse(lines):
    records = []
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        count = 1
        repeat = re.match(r"\s*(\d+)\*\s+", line)
        if repeat:
            count = int(repeat.group(1))
            line = line[repeat.end():]
        fields = [f.strip() for f in line.split(" | ")]
        if len(fields) < 5:
            raise SystemExit("line %d: needs TIME | TYPE | SOURCE | EVENT ID | COMPUTER" % number)
        when = calendar.timegm(datetime.datetime.strptime(fields[0], "%Y-%m-%d %H:%M:%S").timetuple())
        kind = fields[1].replace(" ", "").lower()
        event_type = TYPES[kind] if kind in TYPES else int(fields[1], 0)
        event_id = int(fields[3], 0)
        strings = [s.replace("\\n", "\r\n") for s in fields[5:]]
        for i in range(count):
            records.append((when + i, event_type, fields[2], event_id, fields[4], strings))
    return records


def end_record(begin, end, current, oldest):
    return struct.pack("<IIIIIIIIII", 0x28, 0x11111111, 0x22222222, 0x33333333, 0x44444444,
                       begin, end, current, oldest, 0x28)


def evt(records, wrap_at=None, dirty=False):
    blobs = [record(i + 1, *r) for i, r in enumerate(records)]
    total = sum(len(b) for b in blobs) + 0x28
    size = HEADER + total
    start = HEADER
    if wrap_at is not None:
        if wrap_at % 4 or not HEADER <= wrap_at < size:
            raise SystemExit("--wrap-at must be a multiple of 4 inside the data area")
        start = wrap_at
    data = bytearray(size)
    at = start

    def put(chunk):
        nonlocal at
        for byte in chunk:
            data[at] = byte
            at += 1
            if at == size:
                at = HEADER

    for blob in blobs:
        put(blob)
    end = at
    put(end_record(start, end, len(blobs) + 1, 1))
    flags = 1 if dirty else 0
    # A dirty header keeps the offsets of an earlier, empty state.
    header_start, header_end = (HEADER, HEADER) if dirty else (start, end)
    data[0:HEADER] = struct.pack("<IIIIIIIIIIII", HEADER, 0x654C664C, 1, 1, header_start, header_end,
                                 len(blobs) + 1, 1, size, flags, 0x93A80, HEADER)
    return bytes(data)


def main(argv):
    p = argparse.ArgumentParser(description="Write an .evt event-log file from a text description.")
    p.add_argument("description", help="text file, one record a line (see the module help)")
    p.add_argument("--output", required=True)
    p.add_argument("--wrap-at", type=lambda t: int(t, 0), help="offset of the oldest record, to make records wrap")
    p.add_argument("--dirty", action="store_true", help="mark the header dirty, its offsets stale")
    args = p.parse_args(argv)
    with open(args.description, encoding="utf-8") as f:
        records = parse(f)
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    with open(args.output, "wb") as f:
        f.write(evt(records, args.wrap_at, args.dirty))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
