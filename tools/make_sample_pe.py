#!/usr/bin/env python3
"""Writes a minimal but valid PE image (PE32 or PE32+) that carries a version
resource, for the sample machines and the tests of the version reader.

    python3 tools/make_sample_pe.py --output kernel32.dll --dll \\
        --file-version 5.00.2195.4272 --company "Microsoft Corporation" \\
        --description "Windows NT BASE API Client DLL" \\
        --product "Microsoft(R) Windows (R) 2000 Operating System"

The image has a headers block, a .text section with an entry point that returns,
and a .rsrc section holding exactly one RT_VERSION resource (name 1, one
language). Its layout is fixed so that tests can patch it:

    file 0x000  DOS header (e_lfanew = 0x80) and stub
    file 0x080  "PE\\0\\0", COFF header, optional header, 2 section headers
    file 0x200  .text  (RVA 0x1000)
    file 0x400  .rsrc  (RVA 0x2000): type directory at +0x00, name directory at
                +0x18, language directory at +0x30, data entry at +0x48,
                VS_VERSIONINFO at +0x58

--messages FILE adds a message table (RT_MESSAGETABLE, name 1) for event
sources: one message a line, "ID = TEXT" (ID decimal or 0x hexadecimal, TEXT
with FormatMessage's "%1", "%n" and the like); lines starting with "#" are
skipped. Entries are UTF-16 and end with "\r\n", as the message compiler writes
them; --ansi-messages writes ANSI entries instead. The resource directory then
holds both types and the layout above no longer applies.

Version numbers are given as text ("5.00.2195.4272" or "5, 81, 3502, 4373"):
the text goes into the string table as written and its four numbers into
VS_FIXEDFILEINFO. Run without arguments for the sample machine's base files:

    python3 tools/make_sample_pe.py --sample-base samples/office7
"""

import argparse
import calendar
import datetime
import os
import re
import struct
import sys

FILE_ALIGN = 0x200
SECTION_ALIGN = 0x1000
TEXT_RVA, TEXT_FILE = 0x1000, 0x200
RSRC_RVA, RSRC_FILE = 0x2000, 0x400
RT_VERSION = 16
RT_MESSAGETABLE = 11
VS_VERSION_INFO = 1


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


def block(key, value, value_type, children=(), value_length=None):
    """One VS_VERSIONINFO node: header, key, value and children, each 4-aligned."""
    body = pad4(struct.pack("<HHH", 0, 0, 0) + utf16z(key))
    body += value
    for child in children:
        body = pad4(body) + child
    if value_length is None:
        value_length = len(value) // 2 if value_type == 1 else len(value)
    return struct.pack("<HHH", len(body), value_length, value_type) + body[6:]


def string_node(name, text):
    value = utf16z(text)
    return block(name, value, 1, value_length=len(value) // 2)


def version_numbers(text):
    numbers = [int(n) for n in re.findall(r"\d+", text)][:4]
    numbers += [0] * (4 - len(numbers))
    if any(n > 0xFFFF for n in numbers):
        raise SystemExit("version part larger than 65535: %s" % text)
    return numbers


def fixed_file_info(file_version, product_version, kind):
    fv = version_numbers(file_version)
    pv = version_numbers(product_version)
    file_type, subtype = {"exe": (1, 0), "dll": (2, 0), "sys": (3, 6)}[kind]
    return struct.pack("<13I", 0xFEEF04BD, 0x00010000,
                       (fv[0] << 16) | fv[1], (fv[2] << 16) | fv[3],
                       (pv[0] << 16) | pv[1], (pv[2] << 16) | pv[3],
                       0x3F, 0, 0x00040004, file_type, subtype, 0, 0)


def version_resource(args):
    strings = [
        ("Comments", args.comments),
        ("CompanyName", args.company),
        ("FileDescription", args.description),
        ("FileVersion", args.file_version),
        ("InternalName", args.internal_name),
        ("LegalCopyright", args.copyright),
        ("OriginalFilename", args.original_filename),
        ("ProductName", args.product),
        ("ProductVersion", args.product_version or args.file_version),
    ]
    strings += [tuple(item.split("=", 1)) for item in args.string]
    table = block(args.string_table, b"", 1, [string_node(k, v) for k, v in strings if v])
    children = [block("StringFileInfo", b"", 1, [table])]
    if not args.no_translation:
        pairs = args.translation or [args.string_table[:4] + ":" + args.string_table[4:]]
        value = b"".join(struct.pack("<HH", int(lang, 16), int(cp, 16))
                         for lang, cp in (pair.split(":") for pair in pairs))
        children.append(block("VarFileInfo", b"", 1, [block("Translation", value, 0)]))
    fixed = fixed_file_info(args.file_version, args.product_version or args.file_version, args.kind)
    return block("VS_VERSION_INFO", fixed, 0, children)


def message_table(path, ansi):
    messages = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if "=" not in line:
                raise SystemExit("%s:%d: a message is written ID = TEXT" % (path, number))
            ident, text = line.split("=", 1)
            messages.append((int(ident.strip(), 0), text.strip() + "\r\n"))
    messages.sort()
    blocks = []  # runs of consecutive identifiers
    for ident, text in messages:
        if blocks and blocks[-1][-1][0] + 1 == ident:
            blocks[-1].append((ident, text))
        else:
            blocks.append([(ident, text)])
    head = struct.pack("<I", len(blocks))
    offset = 4 + 12 * len(blocks)
    entries = b""
    for run in blocks:
        head += struct.pack("<III", run[0][0], run[-1][0], offset + len(entries))
        for _, text in run:
            raw = text.encode("cp1252") + b"\0" if ansi else text.encode("utf-16-le") + b"\0\0"
            raw += b"\0" * (-len(raw) % 4)
            entries += struct.pack("<HH", 4 + len(raw), 0 if ansi else 1) + raw
    return head + entries


def resource_section(resources):
    """resources: (type id, data) pairs, each of name 1 (the version block's
    name) and language 0x0409. Directories level by level, then the data
    entries, then the data, so that one resource gives the fixed layout."""
    resources = sorted(resources)
    count = len(resources)

    def directory(entries):
        head = struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(entries))
        return head + b"".join(struct.pack("<II", i, t) for i, t in entries)
    root_size = 16 + 8 * count
    name_at = root_size
    lang_at = name_at + 24 * count
    entry_at = lang_at + 24 * count
    data_at = entry_at + 16 * count
    section = directory([(kind, 0x80000000 | (name_at + 24 * i)) for i, (kind, _) in enumerate(resources)])
    section += b"".join(directory([(VS_VERSION_INFO, 0x80000000 | (lang_at + 24 * i))]) for i in range(count))
    section += b"".join(directory([(0x0409, entry_at + 16 * i)]) for i in range(count))
    blobs, offsets = b"", []
    for _, data in resources:
        offsets.append(data_at + len(blobs))
        blobs += data + b"\0" * (-len(data) % 4)
    section += b"".join(struct.pack("<IIII", RSRC_RVA + o, len(d), 0, 0) for o, (_, d) in zip(offsets, resources))
    assert len(section) == data_at
    return section + blobs[:offsets[-1] - data_at + len(resources[-1][1])]  # the last one unpadded


def image(args):
    pe32plus = args.pe32plus
    resources = [(RT_VERSION, version_resource(args))]
    if args.messages:
        resources.append((RT_MESSAGETABLE, message_table(args.messages, args.ansi_messages)))
    rsrc = resource_section(resources)
    if args.kind == "dll":
        code = b"\xB8\x01\x00\x00\x00" + (b"\xC3" if pe32plus else b"\xC2\x0C\x00")  # return TRUE
    else:
        code = b"\x33\xC0\xC3"  # return 0
    text_raw = code + b"\0" * (-len(code) % FILE_ALIGN)
    rsrc_raw = rsrc + b"\0" * (-len(rsrc) % FILE_ALIGN)
    size_of_image = RSRC_RVA + ((len(rsrc) + SECTION_ALIGN - 1) // SECTION_ALIGN) * SECTION_ALIGN

    dos = bytearray(0x80)
    dos[0:2] = b"MZ"
    struct.pack_into("<HHHHHHHHHH", dos, 2, 0x90, 3, 0, 4, 0, 0xFFFF, 0, 0xB8, 0, 0)
    struct.pack_into("<H", dos, 0x18, 0x40)
    struct.pack_into("<I", dos, 0x3C, 0x80)
    stub = b"\x0E\x1F\xBA\x0E\x00\xB4\x09\xCD\x21\xB8\x01\x4C\xCD\x21This program cannot be run in DOS mode.\r\r\n$"
    dos[0x40:0x40 + len(stub)] = stub

    machine = 0x8664 if pe32plus else 0x14C
    optional_size = 0xF0 if pe32plus else 0xE0
    characteristics = 0x0002 | (0x0020 if pe32plus else 0x0100)
    if args.kind == "dll":
        characteristics |= 0x2000
    stamp = calendar.timegm(datetime.datetime(*args.link_time).timetuple())
    coff = struct.pack("<4sHHIIIHH", b"PE\0\0", machine, 2, stamp, 0, 0, optional_size, characteristics)

    if pe32plus:
        image_base = {"exe": 0x140000000, "dll": 0x180000000, "sys": 0x10000}[args.kind]
    else:
        image_base = {"exe": 0x01000000, "dll": 0x77E00000, "sys": 0x00010000}[args.kind]
    subsystem = 1 if args.kind == "sys" else 2
    if pe32plus:
        optional = struct.pack("<HBBIIIIIQIIHHHHHHIIIIHHQQQQII",
                               0x20B, 7, 10, len(text_raw), len(rsrc_raw), 0, TEXT_RVA, TEXT_RVA,
                               image_base, SECTION_ALIGN, FILE_ALIGN,
                               5, 0, 5, 0, 5, 0, 0, size_of_image, 0x400, 0, subsystem, 0,
                               0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    else:
        optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII",
                               0x10B, 7, 10, len(text_raw), len(rsrc_raw), 0, TEXT_RVA, TEXT_RVA, RSRC_RVA,
                               image_base, SECTION_ALIGN, FILE_ALIGN,
                               5, 0, 5, 0, 4, 0, 0, size_of_image, 0x400, 0, subsystem, 0,
                               0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    directories = [(0, 0)] * 16
    directories[2] = (RSRC_RVA, len(rsrc))
    optional += b"".join(struct.pack("<II", rva, size) for rva, size in directories)
    assert len(optional) == optional_size

    def section(name, vsize, rva, raw_size, raw_ptr, flags):
        return struct.pack("<8sIIIIIIHHI", name, vsize, rva, raw_size, raw_ptr, 0, 0, 0, 0, flags)
    sections = section(b".text", len(code), TEXT_RVA, len(text_raw), TEXT_FILE, 0x60000020)
    sections += section(b".rsrc", len(rsrc), RSRC_RVA, len(rsrc_raw), RSRC_FILE, 0x40000040)

    headers = bytes(dos) + coff + optional + sections
    assert len(headers) <= TEXT_FILE
    headers += b"\0" * (TEXT_FILE - len(headers))
    return headers + text_raw + rsrc_raw


def parse_args(argv):
    p = argparse.ArgumentParser(description="Write a small PE image with a version resource.")
    p.add_argument("--output", help="file to write")
    p.add_argument("--file-version", default="1.0.0.0")
    p.add_argument("--product-version")
    p.add_argument("--company", default="")
    p.add_argument("--description", default="")
    p.add_argument("--product", default="")
    p.add_argument("--internal-name", default="")
    p.add_argument("--original-filename", default="")
    p.add_argument("--copyright", default="")
    p.add_argument("--comments", default="")
    p.add_argument("--string", action="append", default=[], metavar="NAME=VALUE", help="another string value")
    p.add_argument("--string-table", default="040904b0", help="string table key, language and code page in hex")
    p.add_argument("--translation", action="append", metavar="LANG:CP",
                   help="a Translation pair in hex (default: the string table's)")
    p.add_argument("--no-translation", action="store_true", help="leave out VarFileInfo")
    p.add_argument("--dll", dest="kind", action="store_const", const="dll", help="a DLL (default: an EXE)")
    p.add_argument("--driver", dest="kind", action="store_const", const="sys", help="a kernel driver")
    p.add_argument("--pe32plus", action="store_true", help="a 64-bit (PE32+) image")
    p.add_argument("--link-time", default="2001-04-12 16:00:00", help="COFF time stamp, UTC")
    p.add_argument("--mtime", help="host modification time to set, \"YYYY-MM-DD HH:MM:SS\" UTC")
    p.add_argument("--messages", metavar="FILE", help="add a message table from ID = TEXT lines")
    p.add_argument("--ansi-messages", action="store_true", help="ANSI message entries (default: UTF-16)")
    p.add_argument("--sample-base", metavar="MACHINE", help="write the base system files of a sample machine")
    p.set_defaults(kind="exe")
    args = p.parse_args(argv)
    args.link_time = tuple(int(n) for n in re.findall(r"\d+", args.link_time))
    return args


def write(args):
    data = image(args)
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    with open(args.output, "wb") as f:
        f.write(data)
    if args.mtime:
        stamp = calendar.timegm(datetime.datetime(*(int(n) for n in re.findall(r"\d+", args.mtime))).timetuple())
        os.utime(args.output, (stamp, stamp))


# The Windows 2000 SP2 system files of the sample machine office7.
MS = ["--company", "Microsoft Corporation", "--copyright", "Copyright (C) Microsoft Corp. 1981-1999",
      "--product", "Microsoft(R) Windows (R) 2000 Operating System"]
SAMPLE_BASE = [
    ("WINNT/system32/kernel32.dll", ["--dll", "--file-version", "5.00.2195.4272",
                                     "--description", "Windows NT BASE API Client DLL",
                                     "--internal-name", "kernel32", "--original-filename", "kernel32"] + MS,
     "2001-04-27 10:00:00"),
    ("WINNT/system32/user32.dll", ["--dll", "--file-version", "5.00.2195.4314",
                                   "--description", "Windows 2000 USER API Client DLL",
                                   "--internal-name", "user32", "--original-filename", "user32"] + MS,
     "2001-04-27 10:00:00"),
    ("WINNT/system32/advapi32.dll", ["--dll", "--file-version", "5.00.2195.4285",
                                     "--description", "Advanced Windows 32 Base API",
                                     "--internal-name", "advapi32.dll", "--original-filename", "advapi32.dll"] + MS,
     "2001-04-27 10:00:00"),
    # Common controls of the browser update: an ANSI string table, the comma form
    # of the version and a copyright sign outside ASCII.
    ("WINNT/system32/comctl32.dll", ["--dll", "--file-version", "5.81.3502.4373",
                                     "--product-version", "5.50.4134.600",
                                     "--string-table", "040904E4",
                                     "--description", "Common Controls Library",
                                     "--internal-name", "COMCTL32", "--original-filename", "COMCTL32.DLL",
                                     "--company", "Microsoft Corporation",
                                     "--copyright", "\u00a9 Microsoft Corporation. All rights reserved.",
                                     "--product", "Microsoft\u00ae Windows\u00ae Operating System"],
     "2001-04-25 18:00:00"),
    # A driver without a translation table.
    ("WINNT/system32/drivers/ndis.sys", ["--driver", "--file-version", "5.00.2195.4196",
                                         "--description", "NDIS 5.0 wrapper driver",
                                         "--internal-name", "ndis.sys", "--original-filename", "ndis.sys",
                                         "--no-translation"] + MS,
     "2001-04-20 09:30:00"),
    ("WINNT/explorer.exe", ["--file-version", "5.00.3502.4619",
                            "--description", "Windows Explorer",
                            "--internal-name", "explorer", "--original-filename", "EXPLORER.EXE"] + MS,
     "2001-04-27 10:00:00"),
    ("WINNT/regedit.exe", ["--file-version", "5, 00, 2195, 4198", "--product-version", "5, 00, 2195, 4198",
                           "--description", "Registry Editor",
                           "--internal-name", "REGEDIT", "--original-filename", "REGEDIT.EXE"] + MS,
     "2001-03-30 14:12:00"),
    ("WINNT/system32/shell32.dll", ["--dll", "--file-version", "5.00.3502.4611",
                                    "--description", "Windows Shell Common Dll",
                                    "--internal-name", "SHELL32", "--original-filename", "SHELL32.DLL"] + MS,
     "2001-04-27 10:00:00"),
    # The browser files of Internet Explorer 5.5.
    ("WINNT/system32/shdocvw.dll", ["--dll", "--file-version", "5.50.4807.2300",
                                    "--description", "Shell Doc Object and Control Library",
                                    "--internal-name", "SHDOCVW", "--original-filename", "SHDOCVW.DLL",
                                    "--company", "Microsoft Corporation",
                                    "--product", "Microsoft(R) Windows (R) 2000 Operating System"],
     "2001-05-08 12:00:00"),
    ("WINNT/system32/mshtml.dll", ["--dll", "--file-version", "5.50.4807.2300",
                                   "--description", "Microsoft (R) HTML Viewer",
                                   "--internal-name", "MSHTML", "--original-filename", "MSHTML.DLL",
                                   "--company", "Microsoft Corporation",
                                   "--product", "Microsoft(R) Windows (R) 2000 Operating System"],
     "2001-05-08 12:00:00"),
    # The display adapter's driver and its user-mode part.
    ("WINNT/system32/drivers/ogfx.sys", ["--driver", "--file-version", "5.12.01.3120",
                                         "--description", "OGFX display miniport driver",
                                         "--internal-name", "ogfx.sys", "--original-filename", "ogfx.sys",
                                         "--company", "Orbigraph Systems",
                                         "--product", "OGFX Display Drivers"],
     "2001-02-14 08:00:00"),
    ("WINNT/system32/ogfx.dll", ["--dll", "--file-version", "5.12.01.3120",
                                 "--description", "OGFX display driver",
                                 "--internal-name", "ogfx.dll", "--original-filename", "ogfx.dll",
                                 "--company", "Orbigraph Systems",
                                 "--product", "OGFX Display Drivers"],
     "2001-02-14 08:00:00"),
]


def main(argv):
    args = parse_args(argv)
    if args.sample_base:
        for relative, options, mtime in SAMPLE_BASE:
            output = os.path.join(args.sample_base, "drives", "c", *relative.split("/"))
            write(parse_args(options + ["--output", output, "--mtime", mtime, "--link-time", mtime]))
        return 0
    if not args.output:
        raise SystemExit("--output or --sample-base is needed")
    write(args)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
