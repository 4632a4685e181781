"""Shared checks of the desktop files: a scratch XDG environment, the freedesktop tools, and a
PNG reader that checks every chunk's CRC and the image data's Adler-32 (through zlib)."""
import binascii, os, struct, subprocess, zlib


def scratch_env(root):
    """An environment whose XDG folders are all below root, with no desktop session, so that
    xdg-utils takes its generic way and sees no other program's files."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("XDG_", "KDE_", "GNOME_", "DESKTOP_SESSION"))}
    for name in ("data", "cfg", "system"):
        os.makedirs(os.path.join(root, name), exist_ok=True)
    env.update(HOME=root, XDG_DATA_HOME=os.path.join(root, "data"),
               XDG_CONFIG_HOME=os.path.join(root, "cfg"),
               XDG_DATA_DIRS=os.path.join(root, "system"), XDG_CONFIG_DIRS=os.path.join(root, "system"))
    return env


def run(args, env=None, cwd=None, stdin=None):
    p = subprocess.run(args, env=env, cwd=cwd, input=stdin, capture_output=True, text=True)
    return p.returncode, p.stdout.strip(), p.stderr.strip()


def validate_desktop_entry(path):
    """desktop-file-validate's verdict: an empty list when it accepts the entry."""
    rc, out, err = run(["desktop-file-validate", path])
    return [] if rc == 0 and not out else [path + ": " + (out or err or "rc %d" % rc)]


def png_size(path):
    """The width and height of a well-formed 8-bit RGBA PNG, or an error text."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return "no PNG signature"
    pos, chunks, idat = 8, [], b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if binascii.crc32(kind + body) != crc:
            return "bad CRC in " + kind.decode()
        chunks.append(kind)
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
        if kind == b"IDAT":
            idat += body
        pos += 12 + length
    if chunks[0] != b"IHDR" or chunks[-1] != b"IEND" or (depth, colour) != (8, 6):
        return "unexpected chunks or format"
    raw = zlib.decompress(idat)  # checks the Adler-32
    if len(raw) != height * (1 + 4 * width):
        return "image data of the wrong length"
    return (width, height)
