#!/usr/bin/env python3
"""Runs each *.case in this folder through lintaro-script and compares its output with the expected lines.

Case file sections:
  === file NAME      following lines are concatenated (no separators); escapes \\r \\n \\0 \\xHH \\\\ \\s (space)
  === script         script lines; $DIR is replaced by the case's temp folder, then {sz:TEXT} as below
  === expect         expected stdout lines, matched whole and in order; $DIR replaced; {sz:TEXT} -> hex of TEXT+NUL
                     a line starting with '~' is a glob ('*' within one line); '?' marks an optional exact line; '?~' an optional glob
  === forbid         globs that must match no output line
  === saved NAME     following lines (escaped as for file) are the bytes that file NAME must hold
                     after the run
  === listing NAME   following lines are every name in folder NAME after the run, sorted
  === readonly NAME  folder NAME (made with its files first) cannot be written during the run: its
                     mode is 555, and as root it is made immutable too; where even that leaves it
                     writable, the case is skipped
Usage: run.py --driver PATH [--same-as PATH] [-v] [--desktop] [FOLDER...] [--optional FOLDER]
  [NAME-substring...] (or set LINTARO_SCRIPT). Every FOLDER's *.case files run; a folder given
  after --optional runs only when it exists. Without any folder, the cases beside this script run.
  With --same-as, each case also runs first through that other driver, in the same folder, and
  the two outputs must be the same bytes (another build of the program, say), but for the
  viewer's own path in registry values.
  --desktop runs each case with `lintaro-script --desktop`, in the desktop program's real windows;
  the numbers of `placement` lines come from the real screen and window there, so any will do.
"""
import fnmatch, glob, os, re, shutil, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


ESCAPES = {b"r": b"\r", b"n": b"\n", b"0": b"\0", b"s": b" ", b"\\": b"\\"}


def unescape(s):
    def one(m):
        e = m.group(1)
        return bytes.fromhex(e[1:].decode()) if e[:1] == b"x" else ESCAPES[e]
    return re.sub(rb"\\(x[0-9A-Fa-f]{2}|[rn0s\\])", one, s.encode("latin-1"))


def sz(text):
    return (unescape(text) + b"\0").hex().upper()


def parse(path):
    sections = {"files": {}, "saved": {}, "listing": {}, "readonly": [], "script": [],
                "expect": [], "forbid": []}
    cur, name = None, None
    for raw in open(path, encoding="latin-1").read().split("\n"):
        if raw.startswith("=== "):
            head = raw[4:].strip()
            kind, _, name = head.partition(" ")
            if kind in ("file", "saved"):
                cur = kind
                sections[kind + "s" if kind == "file" else kind][name] = ""
            elif kind == "listing":
                cur = kind
                sections["listing"][name] = []
            elif kind == "readonly":
                cur = None
                sections["readonly"].append(name)
            else:
                cur = head
            continue
        if cur == "file":
            sections["files"][name] += raw
        elif cur == "saved":
            sections["saved"][name] += raw
        elif cur == "listing":
            if raw.strip():
                sections["listing"][name].append(raw.strip())
        elif cur in ("script", "expect", "forbid"):
            if raw.strip() == "" and cur != "script":
                continue
            sections[cur].append(raw)
    return sections


def line_regex(line, d, desktop=False):
    line = line.replace("$DIR", d)
    if desktop:
        line = re.sub(r"^(\??)~?placement .*$", r"\1~placement *", line)
    line = re.sub(r"\{sz:(.*?)\}", lambda m: sz(m.group(1)), line)
    if line.startswith("?~"):
        return "(?:" + "[^\n]*".join(re.escape(part) for part in line[2:].split("*")) + r"\n)?"
    if line.startswith("~"):
        return "[^\n]*".join(re.escape(part) for part in line[1:].split("*")) + r"\n"
    if line.startswith("?"):
        return "(?:" + re.escape(line[1:]) + r"\n)?"
    return re.escape(line) + r"\n"


def glob_re(line):
    return re.compile("[^\n]*".join(re.escape(part) for part in line.split("*")) + "$")


PROGRAM_IN_VALUE = re.compile(rb'[^"]*[/\\\\]lintaro(?:\.exe)?(?=[",])')


def without_program_path(output):
    """The output with the viewer's own path, which registered values hold and which differs
    between builds and systems, put as PROGRAM wherever a REG_SZ value names it."""
    def mask(m):
        text = bytes.fromhex(m.group(2).decode())
        return m.group(1) + PROGRAM_IN_VALUE.sub(b"PROGRAM", text).hex().upper().encode()
    return re.sub(rb'^(value "[^"\n]*" REG_SZ )([0-9A-F]*)$', mask, output, flags=re.M)


def as_linux_paths(output, d):
    """The output with the case's folder as Linux names it where Wine named it on its Z: drive
    (a full path that the program made, in a title or a stored value): the same file."""
    wine = ("Z:" + d.replace("/", "\\")).encode("latin-1")
    # A popup line writes each backslash twice.
    escaped = ("Z:" + d.replace("/", "\\\\")).encode("latin-1")
    def fix(text):
        text = re.sub(re.escape(escaped) + rb"((?:\\\\[^\\\s;\"\]]+)*)",
                      lambda m: d.encode("latin-1") + m.group(1).replace(b"\\\\", b"/"), text)
        return re.sub(re.escape(wine) + rb"((?:\\[^\\\s;\"]+)*)",
                      lambda m: d.encode("latin-1") + m.group(1).replace(b"\\", b"/"), text)
    def value(m):
        return m.group(1) + fix(bytes.fromhex(m.group(2).decode())).hex().upper().encode()
    return re.sub(rb'^(value "[^"\n]*" REG_SZ )([0-9A-F]*)$', value, fix(output), flags=re.M)


def run_driver(command, script, d):
    # Register writes the desktop's files too: they go to the case's folder as well.
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(d, "cfg"),
               XDG_DATA_HOME=os.path.join(d, "data"), HOME=d)
    return subprocess.run(command, input=script.encode("latin-1"), cwd=d, env=env,
                          capture_output=True, timeout=60)


def lock(folder):
    """Makes the folder one that the run cannot write; false when it stays writable."""
    os.chmod(folder, 0o555)
    if os.geteuid() == 0:
        subprocess.run(["chattr", "+i", folder], capture_output=True)
    try:
        open(os.path.join(folder, ".probe"), "wb").close()
    except OSError:
        return True
    os.remove(os.path.join(folder, ".probe"))
    return False


def unlock(folder):
    if os.geteuid() == 0:
        subprocess.run(["chattr", "-i", folder], capture_output=True)
    os.chmod(folder, 0o755)


def check_files(c, d):
    """What the saved and listing sections want of the folder, as lines of mismatch."""
    problems = []
    for name, content in c["saved"].items():
        want = unescape(content)
        try:
            got = open(os.path.join(d, name), "rb").read()
        except OSError as e:
            got = ("(%s)" % e).encode()
        if got != want:
            problems.append("file %s holds %r, not %r" % (name, got, want))
    for name, want in c["listing"].items():
        got = sorted(os.listdir(os.path.join(d, name)))
        if got != sorted(want):
            problems.append("folder %s lists %s, not %s" % (name, got, sorted(want)))
    return problems


def prepare(c, d):
    """Puts the case's files and folders into the empty folder d; false when a folder that must
    not be writable stays writable."""
    for name, content in c["files"].items():
        os.makedirs(os.path.dirname(os.path.join(d, name)), exist_ok=True)
        with open(os.path.join(d, name), "wb") as f:
            f.write(unescape(content))
    os.makedirs(os.path.join(d, "cfg"))
    ok = True
    for name in c["readonly"]:
        os.makedirs(os.path.join(d, name), exist_ok=True)
        ok = lock(os.path.join(d, name)) and ok
    return ok


def empty(c, d):
    for name in c["readonly"]:
        if os.path.isdir(os.path.join(d, name)):
            unlock(os.path.join(d, name))
    for entry in os.listdir(d):
        path = os.path.join(d, entry)
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        else:
            os.remove(path)


def run_case(driver, path, reference=None, desktop=False):
    c = parse(path)
    with tempfile.TemporaryDirectory(prefix="acc-") as d:
        d = os.path.realpath(d)
        try:
            if not prepare(c, d):
                return True, "skipped: a folder that must not be writable stays writable"
            script = "\n".join(re.sub(r"\{sz:(.*?)\}", lambda m: sz(m.group(1)),
                                       l.replace("$DIR", d)) for l in c["script"]) + "\n"
            try:
                same = None
                if reference:
                    # Each run starts from the case's own files, in the same folder.
                    same = run_driver([reference], script, d).stdout
                    empty(c, d)
                    prepare(c, d)
                p = run_driver([driver, "--desktop"] if desktop else [driver], script, d)
                p.stdout = as_linux_paths(p.stdout, d)
            except subprocess.TimeoutExpired:
                return False, "timeout"
            return judge(c, d, p, same, reference, driver, desktop)
        finally:
            empty(c, d)


def judge(c, d, p, same, reference, driver, desktop):
    """Whether the run's output and files are what the case expects: (passed, what went wrong)."""
    out = p.stdout.decode("latin-1")
    if same is not None and without_program_path(same) != without_program_path(p.stdout):
        return False, "--- output of %s\n%s--- output of %s\n%s" % (
            reference, same.decode("latin-1").replace(d, "$DIR"), driver,
            out.replace(d, "$DIR"))
    if out and not out.endswith("\n"):
        out += "\n"
    pat = "".join(line_regex(l, d, desktop) for l in c["expect"])
    ok = re.fullmatch(pat, out, re.S) is not None and p.returncode == 0
    for fl in c["forbid"]:
        g = glob_re(fl.replace("$DIR", d))
        if any(g.match(x) for x in out.split("\n")):
            ok = False
    problems = check_files(c, d)
    ok = ok and not problems
    detail = ""
    if not ok:
        detail = ("rc=%d\n--- expected\n%s\n--- got\n%s--- stderr\n%s%s" % (
            p.returncode, "\n".join(c["expect"]), out.replace(d, "$DIR"),
            p.stderr.decode("latin-1")[-800:], "".join(x + "\n" for x in problems)))
    return ok, detail


def main():
    args = sys.argv[1:]
    verbose = "-v" in args
    desktop = "--desktop" in args
    args = [a for a in args if a not in ("-v", "--desktop")]
    driver = None
    if "--driver" in args:
        i = args.index("--driver"); driver = args[i + 1]; del args[i:i + 2]
    reference = None
    if "--same-as" in args:
        i = args.index("--same-as"); reference = os.path.abspath(args[i + 1]); del args[i:i + 2]
    driver = driver or os.environ.get("LINTARO_SCRIPT")
    if not driver:
        print("no lintaro-script given")
        print("0 passed, 1 failed")
        return 1
    # Cases run in their own folders, so a relative driver path would no longer resolve.
    if os.sep in driver:
        driver = os.path.abspath(driver)
    folders, named = [], False
    while "--optional" in args:
        i = args.index("--optional")
        named = True
        if i + 1 < len(args) and os.path.isdir(args[i + 1]):
            folders.append(args[i + 1])
        del args[i:i + 2]
    named = named or any(os.path.isdir(a) for a in args)
    folders += [a for a in args if os.path.isdir(a)]
    args = [a for a in args if not os.path.isdir(a)]
    if not named:
        folders = [HERE]
    cases = []
    for folder in folders:
        cases += sorted(glob.glob(os.path.join(folder, "*.case")))
    if args:
        cases = [c for c in cases if any(a in os.path.basename(c) for a in args)]
    if not cases:
        print("no cases found")
        print("0 passed, 1 failed")
        return 1
    passed = failed = 0
    failures = []
    for cp in cases:
        ok, detail = run_case(driver, cp, reference, desktop)
        if ok:
            passed += 1
        else:
            failed += 1
            name = os.path.join(os.path.basename(os.path.dirname(cp)), os.path.basename(cp))
            failures.append(name)
            if verbose:
                print("FAIL", name); print(detail)
    if failures and not verbose:
        print("failing:", " ".join(failures))
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
