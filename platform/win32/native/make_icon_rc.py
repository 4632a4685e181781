#!/usr/bin/env python3
"""Writes an .ico file and a resource script (icon and version information) for windres.

The icon's pictures are read from C++ sources, where each is an array of strings, one a row from
the top, one character a pixel: a hex digit indexing a 16-colour palette, or '.' for transparent.
The palette is an array of 16 0xRRGGBB numbers, read the same way. So the program's icon is drawn
once, in its resources, and the file the shell shows is made from the same rows.

  make_icon_rc.py --palette FILE:NAME --image FILE:NAME [--image ...] --icon-id N
                  --version 1.2 --field Key=Text [--field ...] --out BASE

writes BASE.ico and BASE.rc.
"""
import argparse
import re
import struct
import sys


def array_body(path, name):
    with open(path, encoding="latin-1") as source:
        text = source.read()
    match = re.search(r"\b" + re.escape(name) + r"\s*\[[^\]]*\]\s*=\s*\{(.*?)\};", text, re.S)
    if not match:
        sys.exit(f"{path}: no array {name}")
    return match.group(1)


def read_rows(where):
    path, name = where.rsplit(":", 1)
    rows = re.findall(r'"([^"]*)"', array_body(path, name))
    size = len(rows)
    if size == 0:
        sys.exit(f"{path}: {name} has no rows")
    for number, row in enumerate(rows):
        if len(row) != size:
            sys.exit(f"{path}: {name} row {number} is {len(row)} pixels long, not {size}")
    if any(c not in "0123456789ABCDEFabcdef." for row in rows for c in row):
        sys.exit(f"{path}: {name} holds a character that is no pixel")
    return rows


def read_palette(where):
    path, name = where.rsplit(":", 1)
    colours = [int(v, 16) for v in re.findall(r"0x([0-9A-Fa-f]+)", array_body(path, name))]
    if len(colours) != 16:
        sys.exit(f"{path}: {name} does not hold 16 colours")
    return colours


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def icon_image(rows, palette):
    """One image of the icon file: header, palette, colour bits and mask, rows from the bottom."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0)
                       for c in palette)
    xor = b""
    mask = b""
    for row in reversed(rows):
        indices = [0 if c == "." else int(c, 16) for c in row]
        xor += padded(bytes((indices[i] << 4) | (indices[i + 1] if i + 1 < size else 0)
                            for i in range(0, size, 2)))
        bits = bytearray((size + 7) // 8)
        for x, c in enumerate(row):
            if c == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += padded(bytes(bits))
    return header + colours + xor + mask


def icon_file(images, palette):
    data = [icon_image(rows, palette) for rows in images]
    offset = 6 + 16 * len(data)
    directory = struct.pack("<HHH", 0, 1, len(data))
    for rows, image in zip(images, data):
        size = len(rows)
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(image),
                                 offset)
        offset += len(image)
    return directory + b"".join(data)


def rc_text(text):
    return '"' + text.replace('"', '""') + '"'


def resource_script(icon_path, icon_id, version, fields):
    numbers = (version.split(".") + ["0"] * 4)[:4]
    binary = ",".join(numbers)
    lines = [
        f"{icon_id} ICON {rc_text(icon_path)}",
        "1 VERSIONINFO",
        f"FILEVERSION {binary}",
        f"PRODUCTVERSION {binary}",
        "FILEFLAGSMASK 0x3F",
        "FILEFLAGS 0",
        "FILEOS 0x40004",  # Windows NT, 32-bit
        "FILETYPE 1",  # application
        "FILESUBTYPE 0",
        "BEGIN",
        '  BLOCK "StringFileInfo"',
        "  BEGIN",
        '    BLOCK "040904E4"',  # US English, Windows-1252
        "    BEGIN",
    ]
    values = dict(fields)
    values.setdefault("FileVersion", ".".join(numbers))
    values.setdefault("ProductVersion", version)
    for key, text in values.items():
        lines.append(f"      VALUE {rc_text(key)}, {rc_text(text)}")
    lines += [
        "    END",
        "  END",
        '  BLOCK "VarFileInfo"',
        "  BEGIN",
        '    VALUE "Translation", 0x409, 1252',
        "  END",
        "END",
    ]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--palette", required=True)
    parser.add_argument("--image", action="append", required=True)
    parser.add_argument("--icon-id", type=int, required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--field", action="append", default=[])
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    palette = read_palette(args.palette)
    images = [read_rows(where) for where in args.image]
    fields = [field.split("=", 1) for field in args.field]
    with open(args.out + ".ico", "wb") as ico:
        ico.write(icon_file(images, palette))
    with open(args.out + ".rc", "w", encoding="latin-1", newline="\n") as rc:
        rc.write(resource_script(args.out + ".ico", args.icon_id, args.version, fields))


if __name__ == "__main__":
    main()
