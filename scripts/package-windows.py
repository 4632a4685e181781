#!/usr/bin/env python3
"""Makes the Windows downloads from the two Windows builds, as portable Windows programs ship:
lintaro-<version>-win32.zip from the 32-bit build and lintaro-<version>-win64.zip from the 64-bit
one, each holding lintaro.exe, README.txt, LICENSE.txt, THIRD-PARTY.txt and examples\\people.qdx,
with no folder around them (Windows' "Extract All" makes one named after the zip). With makensis,
also lintaro-<version>-win32-setup.exe and lintaro-<version>-win64-setup.exe
(packaging/lintaro.nsi).

Usage: package-windows.py --version VERSION --out DIR --win32 BUILD32 [--win64 BUILD64]"""
import argparse, os, shutil, subprocess, tempfile, time, zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The MinGW-w64 runtime that the programs link statically (the C runtime's start-up code and
# winpthreads), whose licenses ask that their notices go with the program; as Debian ships them.
RUNTIME_COPYRIGHT = "/usr/share/doc/mingw-w64-common/copyright"


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode()


def third_party_notices():
    with open(RUNTIME_COPYRIGHT) as f:
        runtime = f.read()
    return crlf(
        "lintaro.exe is linked statically with the runtime libraries of the MinGW-w64 compiler:\n"
        "GCC's C++ and support libraries (GPL 3 with the GCC Runtime Library Exception, which\n"
        "asks nothing of a program linked with them), and the MinGW-w64 C runtime and its\n"
        "winpthreads library, whose copyright and licenses follow, as Debian gives them.\n"
        "\n" + runtime)


def stripped(program, strip):
    """The program without its symbol table, which only a debugger reads: half the size."""
    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, "program.exe")
        subprocess.run([strip, "-o", copy, program], check=True)
        with open(copy, "rb") as f:
            return f.read()


def contents(build, strip):
    """The zip's entries: name inside it, and the bytes or the file they come from."""
    def read(path):
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            return crlf(f.read())
    return [
        ("lintaro.exe", stripped(os.path.join(build, "bin", "lintaro.exe"), strip)),
        ("README.txt", read("README.md")),
        ("LICENSE.txt", read("LICENSE")),
        ("THIRD-PARTY.txt", third_party_notices()),
        ("examples/people.qdx", os.path.join(ROOT, "examples", "people.qdx")),
    ]


def write_zip(path, entries, stamp):
    with zipfile.ZipFile(path + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, source in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0  # MS-DOS attributes, as a Windows zip has
            info.external_attr = 0x20  # archive
            info.compress_type = zipfile.ZIP_DEFLATED
            if isinstance(source, str):
                with open(source, "rb") as f:
                    source = f.read()
            archive.writestr(info, source)
    os.replace(path + ".part", path)


def stage(folder, entries):
    for name, source in entries:
        target = os.path.join(folder, *name.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if isinstance(source, str):
            shutil.copyfile(source, target)
        else:
            with open(target, "wb") as f:
                f.write(source)


def make_installer(out, name, build, version, staged, win64):
    nsi = os.path.join(ROOT, "packaging", "lintaro.nsi")
    numbers = (version.split(".") + ["0", "0", "0"])[:4]
    args = ["makensis", "-V2", "-DVERSION=" + version, "-DVERSION4=" + ".".join(numbers),
            "-DSTAGE=" + staged, "-DICON=" + os.path.join(build, "windows", "lintaro.ico"),
            "-DOUTFILE=" + os.path.join(out, name)]
    if win64:
        args.append("-DWIN64")
    subprocess.run(args + [nsi], check=True, stdout=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--win32", required=True)
    parser.add_argument("--win64")
    options = parser.parse_args()
    options.win32 = os.path.abspath(options.win32)
    options.win64 = options.win64 and os.path.abspath(options.win64)
    options.out = os.path.abspath(options.out)
    version = options.version
    # The last commit's time (or SOURCE_DATE_EPOCH's), so that the same sources give the same zip.
    newest = int(os.environ.get("SOURCE_DATE_EPOCH", "0")) or int(
        subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], capture_output=True,
                       text=True).stdout.strip() or time.time())
    stamp = time.gmtime(max(newest, 315532800))[:6]  # a zip cannot hold a time before 1980
    installers = shutil.which("makensis") is not None
    builds = [("win32", options.win32, "i686-w64-mingw32-strip")]
    if options.win64:
        builds.append(("win64", options.win64, "x86_64-w64-mingw32-strip"))
    for suffix, build, strip in builds:
        name = "lintaro-%s-%s" % (version, suffix)
        entries = contents(build, strip)
        write_zip(os.path.join(options.out, name + ".zip"), entries, stamp)
        print(os.path.join(options.out, name + ".zip"))
        if installers:
            with tempfile.TemporaryDirectory() as staged:
                stage(staged, entries)
                make_installer(options.out, name + "-setup.exe", build, version, staged,
                               suffix == "win64")
            print(os.path.join(options.out, name + "-setup.exe"))


if __name__ == "__main__":
    main()
