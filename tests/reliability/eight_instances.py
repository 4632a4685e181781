#!/usr/bin/env python3
"""Eight lintaro-script processes, started together on one registry, each save the settings and
write keys of their own under HKEY_CURRENT_USER and HKEY_CLASSES_ROOT. No key may be lost.

Usage: eight_instances.py --driver PATH
"""
import os, shutil, subprocess, sys, tempfile

INSTANCES = 8
KEYS = 6


def instance_script(i):
    lines = ["start"]
    for k in range(KEYS):
        lines.append('reg-set HKCU\\Software\\Test\\I%d\\K%d "v" REG_DWORD %02X000000' % (i, k, k))
        lines.append('reg-set HKCR\\.t%d\\K%d "" REG_SZ %s' % (i, k, (b"I%dK%d\0" % (i, k)).hex()))
    lines += ["menu ID_OPTIONS_REGISTER", "menu ID_OPTIONS_SAVE_SETTINGS",
              "placement 1 %d 10 %d 300" % (i, 400 + i), "close"]
    for k in range(KEYS, 2 * KEYS):
        lines.append('reg-set HKCU\\Software\\Test\\I%d\\K%d "v" REG_DWORD %02X000000' % (i, k, k))
    return "\n".join(lines) + "\n"


def main():
    args = sys.argv[1:]
    driver = os.path.abspath(args[args.index("--driver") + 1])
    d = tempfile.mkdtemp(prefix="lintaro-eight-")
    try:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(d, "cfg"),
                   XDG_DATA_HOME=os.path.join(d, "data"), HOME=d)
        # All eight wait on their standard input until every one of them runs.
        processes = [subprocess.Popen([driver], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      stderr=subprocess.PIPE, cwd=d, env=env)
                     for _ in range(INSTANCES)]
        scripts = [instance_script(i).encode() for i in range(INSTANCES)]
        for p, s in zip(processes, scripts):
            p.stdin.write(s)
        for p in processes:
            p.stdin.close()
        failures = []
        for i, p in enumerate(processes):
            out, err = p.stdout.read(), p.stderr.read()
            if p.wait(timeout=120) != 0 or not out.endswith(b"exit\n"):
                failures.append("instance %d: exit %d\n%s%s" % (i, p.returncode, out.decode(),
                                                                 err.decode()))
        show = ["reg-show HKCU\\Software\\Lintaro"]
        expected = []
        for i in range(INSTANCES):
            for k in range(2 * KEYS):
                show.append("reg-show HKCU\\Software\\Test\\I%d\\K%d" % (i, k))
                expected += ["key HKCU\\Software\\Test\\I%d\\K%d" % (i, k),
                             'value "v" REG_DWORD %02X000000' % k]
            for k in range(KEYS):
                show.append("reg-show HKCR\\.t%d\\K%d" % (i, k))
                expected += ["key HKCR\\.t%d\\K%d" % (i, k),
                             'value "" REG_SZ %s' % (b"I%dK%d\0" % (i, k)).hex().upper()]
        check = subprocess.run([driver], input="\n".join(show).encode() + b"\n", cwd=d, env=env,
                               capture_output=True, timeout=60)
        lines = check.stdout.decode().splitlines()
        # The settings of one of them, whole: 52 bytes that end in a rectangle one of them set.
        settings = lines[:3]
        rest = lines[3:]
        if (settings[0] != "key HKCU\\Software\\Lintaro" or
                not settings[1].startswith('value "Config" REG_BINARY 6E00000008000000') or
                len(settings[1].split()[-1]) != 104 or
                settings[2] != 'value "Config - SIZE" REG_DWORD 34000000'):
            failures.append("settings: %s" % settings)
        missing = [e for e in expected if e not in rest]
        if missing:
            failures.append("lost: %s" % missing[:10])
        if rest != expected and not missing:
            failures.append("unexpected: %s" % rest)
        # Every instance registered the file type; its six keys are all there.
        registered = [".qdx", "QDX file", "QDX file\\DefaultIcon", "QDX file\\shell",
                      "QDX file\\shell\\open", "QDX file\\shell\\open\\command"]
        shown = subprocess.run([driver], input="".join("reg-show HKCR\\%s\n" % k
                                                       for k in registered).encode(),
                               cwd=d, env=env, capture_output=True, timeout=60)
        keys = [l for l in shown.stdout.decode().splitlines() if l.startswith("key ")]
        if keys != ["key HKCR\\" + k for k in registered]:
            failures.append("registration: %s" % keys)
    finally:
        shutil.rmtree(d, ignore_errors=True)
    for f in failures:
        print(f)
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
