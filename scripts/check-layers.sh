#!/usr/bin/env bash
# Checks every #include of the C++ sources against the include table of docs/architecture.md. A
# file follows the row of the nearest folder that has one; it may include headers beside it, of
# its own folder, and of the folders its row names in backquotes; Qt's headers where the row says
# Qt, and <windows.h> and its kin where the row names <windows.h>. A row that says "anything" is
# not checked. Prints each include that breaks its row and fails; a file whose folder has no row
# fails too, so that a new folder gets one. Two rules hold whatever a row says: the table's files
# include only the table's headers, and no platform file includes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | python3 -c '
import re, sys
rows = {}
for line in open("docs/architecture.md", encoding="utf-8"):
    cells = [c.strip() for c in line.strip().strip("|").split("|")]
    if len(cells) == 3 and cells[0].startswith("`"):
        for folder in re.findall(r"`([^`]+/)`", cells[0]):
            rows[folder] = cells[2]
windows = {"windows.h", "commctrl.h", "commdlg.h", "dlgs.h", "shlobj.h", "shellapi.h"}
program = ("app/", "view/", "table/", "settings/", "shell/", "tools/", "desktop/", "windows/")
bad = 0
for path in sys.stdin.read().split():
    folder = path[:path.rfind("/") + 1]
    row = max((f for f in rows if folder.startswith(f)), key=len, default=None)
    if row is None:
        print(f"{path}: no row of the include table covers its folder")
        bad += 1
        continue
    allowed = rows[row]
    if folder.startswith("table/"):
        row, allowed = "table/", "`table/` alone, whatever its row says"
    if "anything" in allowed:
        continue
    named = set(re.findall(r"`([^`]+)`", allowed))
    for number, line in enumerate(open(path, encoding="latin-1"), 1):
        m = re.match(r"\s*#\s*include\s*([<\"])([^>\"]+)", line)
        if not m:
            continue
        kind, header = m.groups()
        if kind == "\"":
            target = header[:header.rfind("/") + 1]
            ok = not target or target == folder or target in named
            if folder.startswith("platform/") and header.startswith(program):
                ok = False
        elif header.startswith("Q"):
            ok = re.search(r"\bQt\b", allowed) is not None
        elif header.lower() in windows:
            ok = "<windows.h>" in named
        else:
            continue
        if not ok:
            shown = f"<{header}>" if kind == "<" else f"\"{header}\""
            print(f"{path}:{number}: includes {shown} outside the row of {row}: {allowed}")
            bad += 1
sys.exit(1 if bad else 0)
'
