#!/usr/bin/env python3
"""Builds the Debian package from a build tree, as `cpack -G DEB` does, and checks it: its files,
its dependencies on Qt 6's runtime, its desktop entry, and its script driver running the example
where it is unpacked. (Register from wherever the programs lie is association_test.py's.)

Usage: package_test.py --build BUILD_DIR"""
import glob, os, sys, tempfile, time

from xdgcheck import Failures, run, scratch_env, validate_desktop_entry

DOCS = sorted(os.listdir(os.path.join(os.path.dirname(__file__), "..", "..", "docs")))
FILES = {"usr/share/doc/lintaro/docs/" + name for name in DOCS} | {
    "usr/bin/lintaro", "usr/bin/lintaro-script",
    "usr/share/applications/lintaro.desktop", "usr/share/mime/packages/lintaro.xml",
    "usr/share/icons/hicolor/16x16/apps/lintaro.png", "usr/share/icons/hicolor/32x32/apps/lintaro.png",
    "usr/share/icons/hicolor/48x48/apps/lintaro.png",
    "usr/share/icons/hicolor/256x256/apps/lintaro.png",
    "usr/share/doc/lintaro/README.md",
    "usr/share/doc/lintaro/examples/people.qdx", "usr/share/doc/lintaro/examples/demo.script",
}
QT_RUNTIME = ("libqt6core6", "libqt6gui6", "libqt6widgets6")


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

    return failures.report()


if __name__ == "__main__":
    sys.exit(main())
