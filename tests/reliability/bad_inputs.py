#!/usr/bin/env python3
"""Bad inputs through lintaro-script, where only a whole run shows the fault: huge lines and rows,
long and odd paths, a file that another user may not read or that shrinks while it is read, and
scripts that are cut off or ask for the impossible. Each case makes its input in a fresh folder,
plays a script on it, and must end within its time bound with the expected exit status and
output lines. (Which files the reader refuses is in tests/BadInputTest.cpp, and what the window
does after a refused file in tests/scripts/bad_path_then_open.case.)

Usage: bad_inputs.py --driver PATH. Expected lines are exact, or globs when they start with '~';
$PATH in a script or an expected line is the case's input.
"""
import fnmatch, os, shutil, subprocess, sys, tempfile, threading, time

GOOD = b"a;b\r\n1;2\r\n"
ZEROS = "box Info: File\\nRows   : 0\\nColumns: 0\\n\\nDisplayed\\nRows   : 0"
LOADED = ["title Loading...", "title $PATH"]
LOADED_SCRIPT = "start $PATH\nkey Ctrl+I\ndump\n"
UNPARSABLE = "lintaro-script: line 2: cannot parse this step\n"


def info(rows, columns, shown):
    """The Info box: the file's data rows and columns, and the rows listed."""
    return "box Info: File\\nRows   : %d\\nColumns: %d\\n\\nDisplayed\\nRows   : %d" % (
        rows, columns, shown)


def dump(columns, rows=(), headers=1, placement="~placement *"):
    return (["window $PATH", "checks headers=%d save=0 help=0" % headers, placement,
             "columns " + columns, "rows %d selected none" % len(rows)] + ["row " + r for r in rows])


def file_of(data, name="input.qdx"):
    def make(d):
        with open(os.path.join(d, name), "wb") as f:
            f.write(data)
        return os.path.join(d, name)
    return make


def deep_path(length):
    """A file whose absolute path is `length` bytes, in folders of 200-byte names; the folders are
    made one inside the other, since the whole path may be too long for the system to take."""
    def make(d):
        depth = (length - len(d) - 16) // 201
        name = "g" * (length - len(d) - 201 * depth - 5) + ".qdx"
        back = os.getcwd()
        os.chdir(d)
        for _ in range(depth):
            os.mkdir("f" * 200)
            os.chdir("f" * 200)
        file_of(GOOD, name)(".")
        os.chdir(back)
        path = os.path.join(d, *["f" * 200] * depth, name)
        assert len(path) == length
        return path
    return make


def unreadable(d):
    path = file_of(GOOD, "locked.qdx")(d)
    os.chmod(path, 0)
    return path


SHRINKING = b"1;2\n" * 500000


def keep_shrinking(path, stop):
    while not stop.is_set():
        os.truncate(path, 4)
        with open(path, "r+b") as f:
            f.write(SHRINKING)


SHRINK_LOADS = 6


def shrink_outcome(lines):
    """Each load either fails with the one message, or lists what the file held as it was read,
    and says so once when the file was cut short under it."""
    loads = [i for i, line in enumerate(lines) if line.startswith("filedialog ")]
    if len(loads) != SHRINK_LOADS:
        return False
    for start, end in zip(loads, loads[1:] + [len(lines)]):
        shown = lines[start + 1:end]
        if shown[:1] == ["title Lintaro by Quorvel"]:
            shown = shown[1:]
        failed = shown == ["box Error: Failed to open file.", ZEROS]
        if shown[2:3] == ["box Error: The file changed on disk."]:
            shown = shown[:2] + shown[3:]
        loaded = (len(shown) == 3 and shown[0] == "title Loading..." and
                  shown[1].startswith("title /") and shown[1].endswith("/shrinking.qdx") and
                  fnmatch.fnmatchcase(shown[2], "box Info: File\\nRows   : *\\nColumns: 2\\n*"))
        if not failed and not loaded:
            return False
    return True


# After a path that cannot be read: one message, an empty window whose commands still work, and
# the file dialog that starts from the path opens a good file.
REFUSED_SCRIPT = "start $PATH\nkey Ctrl+I\nmenu ID_VIEW_ALL\ndump\nfile good.qdx\nkey Ctrl+O\ndump\n"
REFUSED = (["box Error: Failed to open file.", ZEROS, "title Displaying all...", "title $PATH"] +
           dump("0:") + ["filedialog $PATH", "title Lintaro by Quorvel", "title Loading...",
                         "title good.qdx"] +
           [l.replace("$PATH", "good.qdx") for l in dump("2: a;b", ["1;2"])])

WIDE_TITLES = ";".join("c%d" % i for i in range(200000))
WIDE_ROWS = [r + ";" * (200000 - 1 - r.count(";")) for r in ("1;2;3", "4", "5;6;7;8")]
LINE_40MB = "x" * 40000000


class Case:
    def __init__(self, name, make, script, expect, status=0, bound=30, user=None, during=None,
                 err=""):
        self.name, self.make, self.script, self.expect = name, make, script, expect
        self.status, self.bound, self.user, self.during = status, bound, user, during
        self.err = err  # standard error, whole


def unparsable(name, step, script="start $PATH\n%s\ndump\n"):
    """A step that the driver cannot take: it says which line, and nothing after it runs."""
    return Case(name, file_of(GOOD), script % step, LOADED, status=2, err=UNPARSABLE)


CASES = [
    Case("a single line of 40 MB", file_of(LINE_40MB.encode()),
         LOADED_SCRIPT + "menu ID_VIEW_HEADERS\ndump\n",
         LOADED + [info(0, 1, 0)] + dump("1: " + LINE_40MB) +
         ["title Displaying all...", "title $PATH"] +
         dump("1: Column 1", [LINE_40MB], headers=0), bound=120),
    Case("a first line of 200,000 fields",
         file_of(WIDE_TITLES.encode() + b"\n1;2;3\n4\n5;6;7;8\n"),
         LOADED_SCRIPT + "dialog ok field 199999 match 7\nkey Ctrl+P\nclick-title 2\n"
         "menu ID_VIEW_ALL\nclick-title 199999\ndump\n",
         LOADED + [info(3, 200000, 3)] + dump("200000: " + WIDE_TITLES, WIDE_ROWS) +
         ["dialog Pick: " + WIDE_TITLES + " selected 0", "title Picking...", "title $PATH",
          "title Displaying all...", "title $PATH"] + dump("200000: " + WIDE_TITLES, WIDE_ROWS),
         bound=300),
    Case("rows of 100,000 fields under 3 titles",
         file_of(b"a;b;c\n" + b";".join(b"%d" % i for i in range(100000)) + b"\n" +
                 b";".join(b"x" for _ in range(100000)) + b"\n"),
         LOADED_SCRIPT + "click-title 2\ndump\n",
         LOADED + [info(2, 3, 2)] + dump("3: a;b;c", ["0;1;2", "x;x;x"]) * 2, bound=60),
    Case("a file that shrinks while it is read", file_of(SHRINKING, "shrinking.qdx"),
         "start\n" + "file $PATH\nkey Ctrl+O\nkey Ctrl+I\n" * SHRINK_LOADS, shrink_outcome,
         bound=120, during=keep_shrinking),
    Case("a file that cannot be read (mode 000, unprivileged)", unreadable, REFUSED_SCRIPT,
         REFUSED, user=65534),
    Case("a path of 4,000 bytes", deep_path(4000), LOADED_SCRIPT,
         LOADED + [info(1, 2, 1)] + dump("2: a;b", ["1;2"])),
    Case("a path of 5,000 bytes", deep_path(5000), REFUSED_SCRIPT, REFUSED),
    Case("a path that is not UTF-8", file_of(GOOD, "\udcff\udcfe-\udce9.qdx"), LOADED_SCRIPT,
         LOADED + [info(1, 2, 1)] + dump("2: a;b", ["1;2"])),
    # Scripts: cut off, unknown steps, and arguments out of range.
    unparsable("a script cut off inside a step", "dum", "start $PATH\n%s"),
    unparsable("a script cut off inside an answer", "dialog ok fie", "start $PATH\n%s"),
    Case("a script cut off while a chooser waits", file_of(GOOD), "start $PATH\nkey Ctrl+P",
         LOADED + ["dialog Pick: a;b selected 0", "error: no answer"]),
    unparsable("an unknown command", "menu ID_NOPE"),
    unparsable("an unknown key", "key Ctrl+1"),
    unparsable("an unknown registry root", "reg-show HKXX\\a"),
    unparsable("a value of odd hex", 'reg-set HKCU\\a "v" REG_BINARY 123'),
    unparsable("an item number beyond 32 bits", "select 4294967297"),
    unparsable("a negative item number", "select -1"),
    unparsable("a column number beyond 32 bits", "click-title 4294967296"),
    unparsable("a chooser entry beyond 32 bits", "dialog ok field 4294967296"),
    unparsable("a placement beyond 32 bits", "placement 1 0 0 4294967296 5"),
    Case("numbers beyond the table", file_of(GOOD),
         "start $PATH\nselect 999999999\nclick-title 999999\nclick-title 2147483647\n"
         "syscommand 2147483647\ndialog ok field 2147483647 match 1\nkey Ctrl+P\n"
         "dialog ok field -2147483648 match 2\nkey Ctrl+F\ndump\n",
         LOADED + ["dialog Pick: a;b selected 0", "title Picking...", "title $PATH",
                   "dialog Find: a;b selected 0", "box Info: Could not find any matches..."] +
         dump("2: a;b", ["1;2"])),
    Case("a placement at the ends of the coordinates", file_of(GOOD),
         "start $PATH\nplacement 1 -2147483648 -2147483648 2147483647 2147483647\ndump\n"
         "dialog ok match 1\nkey Ctrl+P\nplacement 2 2147483647 2147483647 -2147483648 "
         "-2147483648\ndialog ok match 1\nkey Ctrl+P\ndump\nclose\n",
         LOADED + dump("2: a;b", ["1;2"], placement="placement 1 -2147483648 -2147483648 "
                       "2147483647 2147483647") +
         ["dialog Pick: a;b selected 0", "title Picking...", "title $PATH"] * 2 +
         dump("2: a;b", ["1;2"], placement="placement 2 2147483647 2147483647 -2147483648 "
              "-2147483648") + ["title Lintaro by Quorvel", "exit"]),
]


def matches(line, expected):
    return fnmatch.fnmatchcase(line, expected[1:]) if expected.startswith("~") else line == expected


def run_case(driver, case):
    """None when the case passes, else what went wrong."""
    d = os.path.realpath(tempfile.mkdtemp(prefix="lintaro-bad-"))
    stop = threading.Event()
    worker = None
    try:
        os.chmod(d, 0o755)
        file_of(GOOD, "good.qdx")(d)
        os.makedirs(os.path.join(d, "cfg"))
        path = case.make(d)
        command = [driver]
        if case.user is not None:
            # A copy in the case's folder, which that user can reach wherever the build lies.
            command = [shutil.copy(driver, os.path.join(d, "lintaro-script"))]
            os.chmod(command[0], 0o755)
            command = ["setpriv", "--reuid=%d" % case.user, "--regid=%d" % case.user,
                       "--clear-groups"] + command
        if case.during:
            worker = threading.Thread(target=case.during, args=(path, stop))
            worker.start()
        at = os.fsencode(path).decode("latin-1")
        try:
            p = subprocess.run(command, input=case.script.replace("$PATH", at).encode("latin-1"),
                               cwd=d, env=dict(os.environ, XDG_CONFIG_HOME=d + "/cfg", HOME=d),
                               capture_output=True, timeout=case.bound)
        except subprocess.TimeoutExpired:
            return "no end within %d s" % case.bound
        lines = p.stdout.decode("latin-1").split("\n")
        if lines[-1] == "":
            lines.pop()
        if callable(case.expect):
            ok = case.expect(lines)
        else:
            expected = [e.replace("$PATH", at) for e in case.expect]
            ok = len(lines) == len(expected) and all(map(matches, lines, expected))
        if ok and p.returncode == case.status and p.stderr.decode("latin-1") == case.err:
            return None
        return "exit %d\n%s\nstderr: %s" % (p.returncode, "\n".join(l[:200] for l in lines),
                                             p.stderr.decode("latin-1")[-800:])
    finally:
        stop.set()
        if worker:
            worker.join()
        shutil.rmtree(d, ignore_errors=True)


def main():
    driver = os.path.abspath(sys.argv[sys.argv.index("--driver") + 1])
    failed = 0
    for case in CASES:
        start = time.monotonic()
        fault = run_case(driver, case)
        print("%-55s %-8s %7.2f s" % (case.name, "failed" if fault else "passed",
                                      time.monotonic() - start))
        if fault:
            print(fault[:4000])
            failed += 1
    print("%d passed, %d failed" % (len(CASES) - failed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
