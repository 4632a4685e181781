#!/usr/bin/env python3
"""Builds the Debian package from a build tree, as `cpack -G DEB` does, and checks it: its files,
its dependencies on Qt 6's runtime, its desktop entry, and its programs run where it is unpacked,
registering the unpacked viewer.

Usage: package_test.py --build BUILD_DIR"""
import glob, os, sys, tempfile, time

from xdgcheck import run, scratch_env, validate_desktop_entry

FILES = {
    "usr/bin/lintaro", "usr/bin/lintaro-script",
    "usr/share/applications/lintaro.desktop", "usr/share/mime/packages/lintaro.xml",
    "usr/share/icons/hicolor/16x16/apps/lintaro.png", "usr/share/icons/hicolor/32x32/apps/lintaro.png",
    "usr/share/icons/hicolor/48x48/apps/lintaro.png",
    "usr/share/icons/hicolor/256x256/apps/lintaro.png",
    "usr/share/doc/lintaro/README.md", "usr/share/doc/lintaro/lintaro-script.md",
    "usr/share/doc/lintaro/examples/people.qdx", "usr/share/doc/lintaro/examples/demo.script",
}
QT_RUNTIME = ("libqt6core6", "libqt6gui6", "libqt6widgets6")


def main():
    build = os.path.abspath(sys.argv[sys.argv.index("--build") + 1])
    failures = []

    def expect(what, got, wanted):
        if got != wanted:
            failures.append("%s: got %r, wanted %r" % (what, got, wanted))

    with tempfile.TemporaryDirectory(prefix="lintaro-deb-") as work:
        started = time.monotonic()
        rc, out, err = run(["cpack", "-G", "DEB", "--config",
                            os.path.join(build, "CPackConfig.cmake"), "-B", work])
        print("cpack: %.1f s" % (time.monotonic() - started))
        debs = glob.glob(os.path.join(work, "*.deb"))
        if rc != 0 or len(debs) != 1:
            print("FAIL cpack:", out[-2000:], err[-2000:])
            print("0 passed, 1 failed")
            return 1
        deb = debs[0]
        rc, names, _ = run(["sh", "-c", "dpkg-deb --fsys-tarfile '%s' | tar -t" % deb])
        files = {n[2:] for n in names.split("\n") if not n.endswith("/")}
        expect("files", sorted(files), sorted(FILES))
        depends = run(["dpkg-deb", "-f", deb, "Depends"])[1]
        for package in QT_RUNTIME:
            if package not in depends:
                failures.append("Depends lacks %s: %s" % (package, depends))

        root = os.path.join(work, "root")
        expect("unpack", run(["dpkg-deb", "-x", deb, root])[0], 0)
        failures += validate_desktop_entry(os.path.join(root, "usr/share/applications/lintaro.desktop"))

        # The example as its documentation runs it, from the folder that holds examples/.
        env = scratch_env(os.path.join(work, "home"))
        script = os.path.join(root, "usr/bin/lintaro-script")
        rc, out, err = run([script, "examples/demo.script"], env=env,
                           cwd=os.path.join(root, "usr/share/doc/lintaro"))
        expect("demo exit status", rc, 0)
        expect("demo ends", out.split("\n")[-2:], ["title Lintaro by Quorvel", "exit"])
        if "box Info: File\\nRows   : 6\\nColumns: 3" not in out:
            failures.append("demo output: " + out[-600:])

        # Registered from where it is installed, the entry opens the installed viewer.
        rc, out, err = run([script], env=env, stdin="start\nmenu ID_OPTIONS_REGISTER\nclose\n")
        entry = os.path.join(env["XDG_DATA_HOME"], "applications/lintaro.desktop")
        exec_lines = [l for l in open(entry)] if os.path.exists(entry) else []
        expect("registered Exec", [l for l in exec_lines if l.startswith("Exec=")],
               ["Exec=%s %%f\n" % os.path.join(root, "usr/bin/lintaro")])

    for failure in failures:
        print("FAIL", failure)
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
