#!/usr/bin/env python3
"""Register and Unregister through lintaro-script, seen by the freedesktop tools: xdg-mime names
a .qdx file's type and its default application, desktop-file-validate accepts the entry, and the
icons are sound PNGs of the right sizes. Unregister leaves the type, without its icon, and
nothing else: no empty folder, no empty list of defaults, no lock file.

Usage: association_test.py --driver BUILD/bin/lintaro-script"""
import os, sys, tempfile

from xdgcheck import Failures, png_size, run, scratch_env, validate_desktop_entry


def files(folder):
    """Every file and folder (with a '/') below the folder, by its path from there, sorted."""
    return sorted(os.path.relpath(os.path.join(d, f), folder) + end
                  for d, dirs, names in os.walk(folder)
                  for end, entries in (("/", dirs), ("", names)) for f in entries)


def main():
    driver = os.path.abspath(sys.argv[sys.argv.index("--driver") + 1])
    failures = Failures()
    expect = failures.expect

    with tempfile.TemporaryDirectory(prefix="lintaro-xdg-") as root:
        env = scratch_env(root)
        data = env["XDG_DATA_HOME"]
        sample = os.path.join(root, "sample.qdx")
        open(sample, "w").write("a;b\n1;2\n")

        def step(command):
            rc, out, err = run([driver], env=env, cwd=root,
                               stdin="start\nmenu %s\nclose\n" % command)
            expect(command + " exit status", rc, 0)

        def default():
            return run(["xdg-mime", "query", "default", "application/x-qdx"], env=env)[1]

        def chosen():
            """Whether mimeapps.list names the entry itself, not only the desktop's caches."""
            path = os.path.join(env["XDG_CONFIG_HOME"], "mimeapps.list")
            return os.path.exists(path) and \
                "application/x-qdx=lintaro.desktop;" in open(path).read().split("\n")

        expect("default before Register", default(), "")
        step("ID_OPTIONS_REGISTER")
        expect("type after Register", run(["xdg-mime", "query", "filetype", sample], env=env)[1],
               "application/x-qdx")
        expect("default after Register", (default(), chosen()), ("lintaro.desktop", True))
        entry = os.path.join(data, "applications", "lintaro.desktop")
        failures += validate_desktop_entry(entry)
        viewer = os.path.join(os.path.dirname(driver), "lintaro")
        expect("Exec", [l for l in open(entry) if l.startswith("Exec=")], ["Exec=%s %%f\n" % viewer])
        expect("Name", [l for l in open(entry) if l.startswith("Name=")], ["Name=Lintaro\n"])
        icons = [os.path.join(data, "icons/hicolor/%dx%d/apps/lintaro.png" % (n, n))
                 for n in (16, 32, 48, 256)]
        expect("icons", [png_size(icon) for icon in icons], [(n, n) for n in (16, 32, 48, 256)])
        package = os.path.join(data, "mime/packages/lintaro.xml")
        expect("type's icon", '<icon name="lintaro"/>' in open(package).read(), True)
        step("ID_OPTIONS_UNREGISTER")
        expect("type after Unregister",
               run(["xdg-mime", "query", "filetype", sample], env=env)[1], "application/x-qdx")
        expect("default after Unregister", (default(), chosen()), ("", False))
        expect("entry after Unregister", os.path.exists(entry), False)
        expect("icons after Unregister", [os.path.exists(icon) for icon in icons], [False] * 4)
        expect("type's icon after Unregister", '<icon name="lintaro"/>' in open(package).read(),
               False)
        # What is left is what the type needs: its keys, its package and the database built from it.
        expect("configuration after Unregister", files(env["XDG_CONFIG_HOME"]),
               ["lintaro/", "lintaro/HKEY_CLASSES_ROOT.reg"])
        expect("data after Unregister", os.listdir(data), ["mime"])
        expect("package after Unregister", "mime/packages/lintaro.xml" in files(data), True)

    return failures.report()


if __name__ == "__main__":
    sys.exit(main())
