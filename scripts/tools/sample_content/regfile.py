"""The Registry Editor's export format (REGEDIT4) and the binary values the
products store: security identifiers and self-relative security descriptors."""

import os
import struct

from sample_content.layout import REGISTRY


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


def wide(text):
    return text.encode("utf-16-le") + b"\0\0"
