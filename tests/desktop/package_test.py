#!/usr/bin/env python3
"""Builds the Debian package from a build tree, as `cpack -G DEB` does, and checks it: its files,
its dependencies on Qt 6's runtime, what lintian says of it, its desktop entry, its manual pages as
man finds them, and its script driver running the example where it is unpacked, answering --help
and --version as its manual page and the package say. (Register from wherever the programs lie is
association_test.py's.)

Usage: package_test.py --build BUILD_DIR"""
import glob, gzip, os, re, sys, tempfile, time

from xdgcheck import Failures, run, scratch_env, validate_desktop_entry

SOURCE_DOCS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs")
DOCS = sorted(name for name in os.listdir(SOURCE_DOCS)
              if os.path.isfile(os.path.join(SOURCE_DOCS, name)))
FILES = {"usr/share/doc/lintaro/docs/" + name for name in DOCS} | {
    "usr/bin/lintaro", "usr/bin/lintaro-script",
    "usr/share/applications/lintaro.desktop", "usr/share/mime/packages/lintaro.xml",
    "usr/share/icons/hicolor/16x16/apps/lintaro.png", "usr/share/icons/hicolor/32x32/apps/lintaro.png",
    "usr/share/icons/hicolor/48x48/apps/lintaro.png",
    "usr/share/icons/hicolor/256x256/apps/lintaro.png",
    "usr/share/doc/lintaro/README.md",
    "usr/share/doc/lintaro/examples/people.qdx", "usr/share/doc/lintaro/examples/demo.script",
    "usr/share/doc/lintaro/copyright", "usr/share/doc/lintaro/changelog.gz",
    "usr/share/man/man1/lintaro.1.gz", "usr/share/man/man1/lintaro-script.1.gz",
}
QT_RUNTIME = ("libqt6core6", "libqt6gui6", "libqt6widgets6")


def listed_after(heading, text):
    """The comma-separated words of the indented lines below a heading of --help."""
    words = []
    for line in text.split(heading + "\n", 1)[-1].split("\n"):
        if not line.startswith("  "):
            break
        words += [word.strip() for word in line.split(",") if word.strip()]
    return words


def check_command_line(root, version):
    """--help and --version answer with status 0; the manual page, as man finds it where the
    package puts it, and the installed notes give the same usage, and the page tells every step
    and menu item that --help lists."""
    failures = Failures()
    script = os.path.join(root, "usr/bin/lintaro-script")
    rc, help_text, _ = run([script, "--help"])
    failures.expect("--help status", rc, 0)
    rc, version_text, _ = run([script, "--version"])
    failures.expect("--version status", rc, 0)
    failures.expect("--version", version_text.split("\n")[0], "lintaro-script " + version)

    env = dict(os.environ, MANPATH=os.path.join(root, "usr/share/man"), MANWIDTH="100")
    shown, synopsis = {}, {}
    for page in ("lintaro", "lintaro-script"):
        shown[page] = run(["man", "-P", "cat", page], env=env)[1]
        synopsis[page] = shown[page].split("SYNOPSIS\n", 1)[-1].split("\n")[0].strip()
    usage = help_text.split("\n")[0].replace("usage: ", "")
    failures.expect("man lintaro-script synopsis", synopsis["lintaro-script"].lower(), usage.lower())
    failures.expect("man lintaro synopsis", synopsis["lintaro"], "lintaro [file]")
    with open(os.path.join(root, "usr/share/doc/lintaro/docs/lintaro-script.md")) as notes:
        if usage not in notes.read():
            failures.append("lintaro-script.md lacks the usage " + usage)

    with gzip.open(os.path.join(root, "usr/share/man/man1/lintaro-script.1.gz"), "rt") as page:
        source = page.read()
    for verb in listed_after("Steps and answers:", help_text):
        if not re.search(r"^\.TP\n(\.BI? \"?|\\fB)%s\b" % re.escape(verb.replace("-", "\\-")),
                         source, re.M):
            failures.append("man lintaro-script has no entry for the step " + verb)
    for name in listed_after("Menu items (menu <ID>):", help_text):
        if name not in shown["lintaro-script"]:
            failures.append("man lintaro-script does not name " + name)
    return failures


def main():
    build = os.path.abspath(sys.argv[sys.argv.index("--build") + 1])
    failures = Failures()
    expect = failures.expect

    with tempfile.TemporaryDirectory(prefix="lintaro-deb-") as work:
        started = time.monotonic()
        rc, out, err = run(["cpack", "-G", "DEB", "--config",
                            os.path.join(build, "CPackConfig.cmake"), "-B", work])
        print("cpack: %.1f s" % (time.monotonic() - started))
        debs = glob.glob(os.path.join(work, "*.deb"))
        if rc != 0 or len(debs) != 1:
            failures.append("cpack: %s %s" % (out[-2000:], err[-2000:]))
            return failures.report()
        deb = debs[0]
        rc, names, _ = run(["sh", "-c", "dpkg-deb --fsys-tarfile '%s' | tar -t" % deb])
        files = {n[2:] for n in names.split("\n") if not n.endswith("/")}
        expect("files", sorted(files), sorted(FILES))
        depends = run(["dpkg-deb", "-f", deb, "Depends"])[1]
        for package in QT_RUNTIME:
            if package not in depends:
                failures.append("Depends lacks %s: %s" % (package, depends))

        # Errors and warnings only: the informational tags (hardening flags, a word of the
        # program's own texts) ask nothing of a package.
        rc, out, err = run(["lintian", "--fail-on", "error,warning", deb])
        if rc != 0:
            failures.append("lintian: %s %s" % (out, err))

        root = os.path.join(work, "root")
        expect("unpack", run(["dpkg-deb", "-x", deb, root])[0], 0)
        failures += validate_desktop_entry(os.path.join(root, "usr/share/applications/lintaro.desktop"))
        failures += check_command_line(root, run(["dpkg-deb", "-f", deb, "Version"])[1])

        # The example as its documentation runs it, from the folder that holds examples/.
        env = scratch_env(os.path.join(work, "home"))
        script = os.path.join(root, "usr/bin/lintaro-script")
        rc, out, err = run([script, "examples/demo.script"], env=env,
                           cwd=os.path.join(root, "usr/share/doc/lintaro"))
        expect("demo exit status", rc, 0)
        expect("demo ends", out.split("\n")[-2:], ["title Lintaro by Quorvel", "exit"])
        if "box Info: File\\nRows   : 6\\nColumns: 3" not in out:
            failures.append("demo output: " + out[-600:])

    return failures.report()


if __name__ == "__main__":
    sys.exit(main())
