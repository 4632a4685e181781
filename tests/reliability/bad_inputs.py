#!/usr/bin/env python3
"""Bad inputs through lintaro-script: each case makes its input in a fresh folder, plays a script on
it, and must end within its time bound with the expected exit status and output lines.

Usage: bad_inputs.py --driver PATH [-v] [NAME-substring...]
Expected lines are exact, or globs when they start with '~' ('*' within one line). $PATH in a
script or an expected line is the case's input, $DIR its folder. Prints each case's time.
"""
import fnmatch, os, random, shutil, socket, stat, subprocess, sys, tempfile, threading, time

GOOD = b"a;b\r\n1;2\r\n"
ZEROS = "box Info: File\\nRows   : 0\\nColumns: 0\\n\\nDisplayed\\nRows   : 0"


def info(rows, columns, shown):
    """The Info box: the file's data rows and columns, and the rows listed."""
    return "box Info: File\\nRows   : %d\\nColumns: %d\\n\\nDisplayed\\nRows   : %d" % (
        rows, columns, shown)


def dump(title, columns, rows=(), headers=1, selected="none"):
    return (["window " + title, "checks headers=%d save=0 help=0" % headers, "~placement *",
             "columns " + columns, "rows %d selected %s" % (len(rows), selected)] +
            ["row " + r for r in rows])


def qdx_counts(data):
    """Lines and columns of a file as the format counts them."""
    text = data.replace(b"\r", b"") + b"\n"
    columns = 1 + text[:text.index(b"\n")].count(b";")
    counted = text.split(b"\0", 1)[0]
    lines, i = 0, 0
    while True:
        i = counted.find(b"\n", i)
        if i < 0:
            return lines, columns
        lines += 1
        while i < len(counted) and counted[i:i + 1] == b"\n":
            i += 1


# Making inputs: each takes the case's folder and returns the input's path.
def file_of(data, name="input.qdx"):
    def make(d):
        path = os.path.join(d, name)
        with open(path, "wb") as f:
            f.write(data)
        return path
    return make


def sparse(size):
    def make(d):
        path = os.path.join(d, "sparse.qdx")
        with open(path, "wb") as f:
            f.truncate(size)
        return path
    return make


def fifo(d):
    path = os.path.join(d, "pipe.qdx")
    os.mkfifo(path)
    return path


def unix_socket(d):
    path = os.path.join(d, "sock.qdx")
    s = socket.socket(socket.AF_UNIX)
    s.bind(path)
    s.close()
    return path


def unreadable(d):
    path = file_of(GOOD, "locked.qdx")(d)
    os.chmod(path, 0)
    return path


def deep_path(length):
    """A file whose absolute path is `length` bytes, in folders of 200-byte names; the folders are
    made one inside the other, since the whole path may be too long for the system to take."""
    def make(d):
        parts = []
        while len(d) + sum(len(p) + 1 for p in parts) + 1 + 200 + 1 + 10 < length:
            parts.append("f" * 200)
        name = "g" * (length - len(d) - sum(len(p) + 1 for p in parts) - 1 - 4) + ".qdx"
        fd = os.open(d, os.O_RDONLY)
        for part in parts:
            os.mkdir(part, dir_fd=fd)
            inner = os.open(part, os.O_RDONLY, dir_fd=fd)
            os.close(fd)
            fd = inner
        with open(os.open(name, os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd), "wb") as f:
            f.write(GOOD)
        os.close(fd)
        path = os.path.join(d, *parts, name)
        assert len(path) == length
        return path
    return make


def sys_file(d):
    """A file that yields fewer bytes than its size says, as one that shrinks while it is read."""
    path = "/sys/kernel/mm/transparent_hugepage/enabled"
    try:
        size = os.stat(path).st_size
        with open(path, "rb") as f:
            if len(f.read()) < size:
                return path
    except OSError:
        pass
    return None


def random_bytes(seed, size):
    return random.Random(seed).randbytes(size)


WIDE = b";".join(b"c%d" % i for i in range(200000)) + b"\n1;2;3\n4\n5;6;7;8\n"
LONG_ROWS = b"a;b;c\n" + b";".join(b"%d" % i for i in range(100000)) + b"\n" + \
    b";".join(b"x" for _ in range(100000)) + b"\n"
RANDOM = random_bytes(1, 65536)
RANDOM_ROWS = max(0, qdx_counts(RANDOM)[0] - 1)
RANDOM_COLUMNS = qdx_counts(RANDOM)[1]
LINE_40MB = b"x" * 40000000

# After a path that cannot be read: one message, an empty window whose commands still work, and
# a good file opens afterwards.
REFUSED_SCRIPT = """start $PATH
key Ctrl+I
menu ID_VIEW_HEADERS
key Ctrl+I
menu ID_VIEW_ALL
dump
file good.qdx
key Ctrl+O
dump
"""
REFUSED_EXPECT = (["box Error: Failed to open file.", ZEROS, "title Displaying all...", "title $PATH",
                   ZEROS] + dump("$PATH", "0:") +
                  ["filedialog $PATH", "title Lintaro by Quorvel", "title Loading...",
                   "title good.qdx"] + dump("good.qdx", "2: a;b", ["1;2"]))

LOADED_SCRIPT = "start $PATH\nkey Ctrl+I\ndump\n"


class Case:
    def __init__(self, name, make, script, expect, status=0, bound=30, user=None, during=None,
                 err=""):
        self.name, self.make, self.script, self.expect = name, make, script, expect
        self.status, self.bound, self.user, self.during = status, bound, user, during
        self.err = err  # standard error, whole


def unparsable(name, step):
    """A step that the driver cannot take: it says which line, and nothing after it runs."""
    return Case(name, file_of(GOOD), "start $PATH\n%s\ndump\n" % step,
                ["title Loading...", "title $PATH"], status=2,
                err="lintaro-script: line 2: cannot parse this step\n")


def refused(name, make, bound=30, user=None):
    return Case(name, make, REFUSED_SCRIPT, REFUSED_EXPECT, bound=bound, user=user)


def shrink_while_loading(d):
    """A file that a thread keeps cutting short and filling again while it is loaded."""
    path = file_of(b"1;2\n" * 500000, "shrinking.qdx")(d)
    return path


def keep_shrinking(path, stop):
    full = b"1;2\n" * 500000
    while not stop.is_set():
        os.truncate(path, 4)
        with open(path, "r+b") as f:
            f.write(full)


SHRINK_LOADS = 6
SHRINK_SCRIPT = "start\n" + "file $PATH\nkey Ctrl+O\nkey Ctrl+I\n" * SHRINK_LOADS


def shrink_outcome(lines):
    """Each load either fails with the one message, or lists what the file held as it was read."""
    loads = [i for i, line in enumerate(lines) if line.startswith("filedialog ")]
    if len(loads) != SHRINK_LOADS:
        return False
    for start, end in zip(loads, loads[1:] + [len(lines)]):
        shown = lines[start + 1:end]
        if shown[:1] == ["title Lintaro by Quorvel"]:
            shown = shown[1:]
        failed = shown == ["box Error: Failed to open file.", ZEROS]
        loaded = (len(shown) == 3 and shown[0] == "title Loading..." and
                  shown[1].startswith("title ") and shown[1].endswith("shrinking.qdx") and
                  fnmatch.fnmatchcase(shown[2], "box Info: File\\nRows   : *\\nColumns: 2\\n*"))
        if not failed and not loaded:
            return False
    return True


CASES = [
    Case("random bytes", file_of(RANDOM), LOADED_SCRIPT,
         ["title Loading...", "title $PATH", info(RANDOM_ROWS, RANDOM_COLUMNS, RANDOM_ROWS),
          "window $PATH", "checks headers=1 save=0 help=0", "~placement *",
          "~columns %d: *" % RANDOM_COLUMNS, "rows %d selected none" % RANDOM_ROWS] +
         ["~row *"] * RANDOM_ROWS),
    Case("NUL at the start", file_of(b"\0a;b\n1;2\n"), LOADED_SCRIPT,
         ["title Loading...", "title $PATH", info(0, 2, 0)] + dump("$PATH", "2: ;a")),
    Case("NUL in the middle", file_of(b"a;b\n1;2\n3\0;4\n5;6\n"), LOADED_SCRIPT,
         ["title Loading...", "title $PATH", info(1, 2, 1)] + dump("$PATH", "2: a;b", ["1;2"])),
    Case("NUL at the end", file_of(b"a;b\n1;2\n\0"), LOADED_SCRIPT,
         ["title Loading...", "title $PATH", info(1, 2, 1)] + dump("$PATH", "2: a;b", ["1;2"])),
    Case("a single line of 40 MB", file_of(LINE_40MB), LOADED_SCRIPT + "menu ID_VIEW_HEADERS\ndump\n",
         ["title Loading...", "title $PATH", info(0, 1, 0)] +
         dump("$PATH", "1: " + "x" * len(LINE_40MB)) +
         ["title Displaying all...", "title $PATH"] +
         dump("$PATH", "1: Column 1", ["x" * len(LINE_40MB)], headers=0), bound=120),
    Case("a first line of 200,000 fields", file_of(WIDE),
         LOADED_SCRIPT + "dialog ok field 199999 match 7\nkey Ctrl+P\nclick-title 2\n"
         "menu ID_VIEW_ALL\nclick-title 199999\ndump\n",
         ["title Loading...", "title $PATH", info(3, 200000, 3)] +
         dump("$PATH", "200000: " + ";".join("c%d" % i for i in range(200000)),
              [r + ";" * (200000 - 1 - r.count(";")) for r in ("1;2;3", "4", "5;6;7;8")]) +
         ["dialog Pick: " + ";".join("c%d" % i for i in range(200000)) + " selected 0",
          "title Picking...", "title $PATH", "title Displaying all...", "title $PATH"] +
         dump("$PATH", "200000: " + ";".join("c%d" % i for i in range(200000)),
              [r + ";" * (200000 - 1 - r.count(";")) for r in ("1;2;3", "4", "5;6;7;8")]),
         bound=300),
    Case("rows of 100,000 fields under 3 titles", file_of(LONG_ROWS),
         LOADED_SCRIPT + "click-title 2\ndump\n",
         ["title Loading...", "title $PATH", info(2, 3, 2)] +
         dump("$PATH", "3: a;b;c", ["0;1;2", "x;x;x"]) + dump("$PATH", "3: a;b;c", ["0;1;2", "x;x;x"]),
         bound=60),
    Case("CR-only line ends", file_of(b"a;b\r1;2\r3;4\r"), LOADED_SCRIPT,
         ["title Loading...", "title $PATH", info(0, 4, 0)] + dump("$PATH", "4: a;b1;23;4")),
    refused("a directory", lambda d: d),
    refused("a FIFO with no writer", fifo),
    refused("a socket", unix_socket),
    refused("the null device", lambda d: "/dev/null"),
    refused("/dev/zero", lambda d: "/dev/zero"),
    refused("a sparse file of 2 GiB", sparse(1 << 31)),
    refused("a sparse file of 2 GiB less 2 bytes", sparse((1 << 31) - 2)),
    refused("a sparse file of 3 GiB", sparse(3 << 30)),
    refused("a sparse file of 4 GiB and 5 bytes", sparse((1 << 32) + 5)),
    refused("a file shorter than its size", sys_file),
    Case("a file that shrinks while it is read", shrink_while_loading, SHRINK_SCRIPT,
         shrink_outcome, bound=120, during=keep_shrinking),
    refused("a file that cannot be read (mode 000, unprivileged)", unreadable, user=65534),
    Case("a path of 4,000 bytes", deep_path(4000), LOADED_SCRIPT,
         ["title Loading...", "title $PATH", info(1, 2, 1)] + dump("$PATH", "2: a;b", ["1;2"])),
    refused("a path of 5,000 bytes", deep_path(5000)),
    # Scripts: cut off, unknown steps, and arguments out of range.
    Case("a script cut off inside a step", file_of(GOOD), "start $PATH\ndum",
         ["title Loading...", "title $PATH"], status=2,
         err="lintaro-script: line 2: cannot parse this step\n"),
    Case("a script cut off inside an answer", file_of(GOOD), "start $PATH\ndialog ok fie",
         ["title Loading...", "title $PATH"], status=2,
         err="lintaro-script: line 2: cannot parse this step\n"),
    Case("a script cut off while a chooser waits", file_of(GOOD), "start $PATH\nkey Ctrl+P",
         ["title Loading...", "title $PATH", "dialog Pick: a;b selected 0", "error: no answer"]),
    unparsable("an unknown step", "frobnicate"),
    unparsable("an unknown command", "menu ID_NOPE"),
    unparsable("an unknown key", "key Ctrl+1"),
    unparsable("an unknown registry root", "reg-show HKXX\\a"),
    unparsable("a value of odd hex", 'reg-set HKCU\\a "v" REG_BINARY 123'),
    unparsable("an item number beyond 32 bits", "select 4294967297"),
    unparsable("a negative item number", "select -1"),
    unparsable("a column number beyond 32 bits", "click-title 4294967296"),
    unparsable("a system command beyond 32 bits", "syscommand 4294967296"),
    unparsable("a chooser entry beyond 32 bits", "dialog ok field 4294967296"),
    unparsable("a placement beyond 32 bits", "placement 1 0 0 4294967296 5"),
    Case("numbers beyond the table", file_of(GOOD),
         "start $PATH\nselect 999999999\nclick-title 999999\nclick-title 2147483647\n"
         "syscommand 2147483647\ndialog ok field 2147483647 match 1\nkey Ctrl+P\n"
         "dialog ok field -2147483648 match 2\nkey Ctrl+F\ndump\n",
         ["title Loading...", "title $PATH", "dialog Pick: a;b selected 0", "title Picking...",
          "title $PATH", "dialog Find: a;b selected 0",
          "box Info: Could not find any matches..."] + dump("$PATH", "2: a;b", ["1;2"])),
    Case("a placement at the ends of the coordinates", file_of(GOOD),
         "start $PATH\nplacement 1 -2147483648 -2147483648 2147483647 2147483647\ndump\n"
         "dialog ok match 1\nkey Ctrl+P\nplacement 2 2147483647 2147483647 -2147483648 "
         "-2147483648\ndialog ok match 1\nkey Ctrl+P\ndump\nclose\n",
         ["title Loading...", "title $PATH", "window $PATH", "checks headers=1 save=0 help=0",
          "placement 1 -2147483648 -2147483648 2147483647 2147483647", "columns 2: a;b",
          "rows 1 selected none", "row 1;2", "dialog Pick: a;b selected 0", "title Picking...",
          "title $PATH", "dialog Pick: a;b selected 0", "title Picking...", "title $PATH",
          "window $PATH", "checks headers=1 save=0 help=0",
          "placement 2 2147483647 2147483647 -2147483648 -2147483648", "columns 2: a;b",
          "rows 1 selected none", "row 1;2", "title Lintaro by Quorvel", "exit"]),
    Case("registry steps on keys that cannot be", lambda d: d,
         'reg-set HKCU\\a\\\\b "v" REG_SZ 00\nreg-show HKCU\\a\\\\b\nreg-show HKCU\\a\n'
         'reg-delete HKCU\\nope\nreg-set HKCU\\x "n" REG_DWORD 01\nreg-show HKCU\\x\n',
         ["key HKCU\\a\\\\b missing", "key HKCU\\a missing", "key HKCU\\x",
          'value "n" REG_DWORD 01']),
    Case("a path that is not UTF-8", file_of(GOOD, "\udcff\udcfe-\udce9.qdx"), LOADED_SCRIPT,
         ["title Loading...", "title $PATH", info(1, 2, 1)] + dump("$PATH", "2: a;b", ["1;2"])),
]


def run_case(driver, case, verbose):
    d = os.path.realpath(tempfile.mkdtemp(prefix="lintaro-bad-"))
    stop = threading.Event()
    try:
        os.chmod(d, 0o755)
        with open(os.path.join(d, "good.qdx"), "wb") as f:
            f.write(GOOD)
        os.makedirs(os.path.join(d, "cfg"))
        path = case.make(d)
        if path is None:
            return "skipped", 0.0, "not on this system"
        script = case.script.replace("$PATH", path).replace("$DIR", d)
        command = [driver]
        if case.user is not None:
            # A copy in the case's folder, which that user can reach wherever the build lies.
            command = [shutil.copy(driver, os.path.join(d, "lintaro-script"))]
            os.chmod(command[0], 0o755)
            command = ["setpriv", "--reuid=%d" % case.user, "--regid=%d" % case.user,
                       "--clear-groups"] + command
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(d, "cfg"), HOME=d)
        worker = None
        if case.during:
            worker = threading.Thread(target=case.during, args=(path, stop))
            worker.start()
        start = time.monotonic()
        try:
            p = subprocess.run(command, input=os.fsencode(script), cwd=d, env=env,
                               capture_output=True, timeout=case.bound)
        except subprocess.TimeoutExpired:
            return "failed", time.monotonic() - start, "no end within %d s" % case.bound
        finally:
            stop.set()
            if worker:
                worker.join()
        seconds = time.monotonic() - start
        lines = p.stdout.decode("latin-1").split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        if callable(case.expect):
            ok = case.expect(lines)
            expected = ["(see %s)" % case.expect.__name__]
        else:
            at = os.fsdecode(path).encode("utf-8", "surrogateescape").decode("latin-1")
            expected = [e.replace("$PATH", at).replace("$DIR", d) for e in case.expect]
            ok = len(lines) == len(expected) and all(
                fnmatch.fnmatchcase(l, e[1:]) if e.startswith("~") else l == e
                for l, e in zip(lines, expected))
        ok = ok and p.returncode == case.status and (
            case.err is None or p.stderr.decode("latin-1") == case.err)
        if ok:
            return "passed", seconds, ""
        detail = "exit %d (expected %d)\n" % (p.returncode, case.status)
        for i in range(max(len(lines), len(expected))):
            got = lines[i] if i < len(lines) else "<none>"
            want = expected[i] if i < len(expected) else "<none>"
            mark = " " if (got == want or want.startswith("~") and
                           fnmatch.fnmatchcase(got, want[1:])) else "!"
            detail += "%s got  %s\n%s want %s\n" % (mark, got[:200], mark, want[:200])
        detail += "stderr: " + p.stderr.decode("latin-1")[-800:]
        return "failed", seconds, detail
    finally:
        stop.set()
        shutil.rmtree(d, ignore_errors=True)


def main():
    args = sys.argv[1:]
    verbose = "-v" in args
    args = [a for a in args if a != "-v"]
    driver = None
    if "--driver" in args:
        i = args.index("--driver")
        driver = os.path.abspath(args[i + 1])
        del args[i:i + 2]
    if not driver:
        print("no lintaro-script given")
        print("0 passed, 1 failed")
        return 1
    cases = [c for c in CASES if not args or any(a in c.name for a in args)]
    passed = failed = skipped = 0
    for case in cases:
        result, seconds, detail = run_case(driver, case, verbose)
        print("%-55s %-8s %7.2f s" % (case.name, result, seconds))
        if result == "failed" and (verbose or len(detail) < 4000):
            print(detail)
        passed += result == "passed"
        failed += result == "failed"
        skipped += result == "skipped"
    print("%d passed, %d failed, %d skipped" % (passed, failed, skipped))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
