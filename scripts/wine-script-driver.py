#!/usr/bin/env python3
"""lintaro-script.exe under Wine, as a driver for tests/scripts/run.py (--driver).

Every case starts from an empty registry on Linux, where the driver keeps it in a fresh folder.
Under Wine the registry is the prefix's real one, so before the script runs, the keys below
HKCU\\Software that are not the system's own and the .qdx file-type keys of HKCR are deleted; the
rest is Windows' (Wine makes HKCU\\Software\\Wine again as each program starts) and no case looks at
it. Standard input goes to the program unchanged, and its output comes back unchanged.

Environment: LINTARO_SCRIPT_EXE, the program; WINELOADER, the Wine that runs it (default wine).
"""
import os
import subprocess
import sys

CLASSES_KEYS = ["HKCR\\.qdx", "HKCR\\QDX file"]
SYSTEM_KEYS = {"CLASSES", "MICROSOFT", "POLICIES", "WINE"}


def run(script):
    wine = os.environ.get("WINELOADER", "wine")
    return subprocess.run([wine, os.environ["LINTARO_SCRIPT_EXE"]], input=script,
                          capture_output=True)


def reset_registry():
    listing = run(b"reg-show HKCU\\Software\n").stdout.decode("latin-1").splitlines()
    names = [line[len("subkey "):] for line in listing if line.startswith("subkey ")]
    keys = ["HKCU\\Software\\" + name for name in names if name.upper() not in SYSTEM_KEYS]
    script = "".join("reg-delete %s\n" % key for key in keys + CLASSES_KEYS)
    if run(script.encode("latin-1")).returncode != 0:
        sys.exit("wine-script-driver: cannot reset the registry")


def main():
    script = sys.stdin.buffer.read()
    reset_registry()
    result = run(script)
    sys.stdout.buffer.write(result.stdout)
    sys.stderr.buffer.write(result.stderr)
    return result.returncode


if __name__ == "__main__":
    sys.exit(main())
