#!/usr/bin/env python3
"""A process that holds the registry's lock and never lets go (stopped in a debugger, say) must
not stop Lintaro: start and exit finish while it holds the lock, the settings that could not be
saved are not saved, the registry file stays whole, and once the holder has gone the next exit
saves again and leaves no lock file.

Usage: stuck_lock.py --driver PATH
"""
import fcntl, os, shutil, subprocess, sys, tempfile

HOLD = 60  # seconds; the program must be done long before
SAVE = "start\nmenu ID_OPTIONS_SAVE_SETTINGS\nplacement 1 %d 10 400 300\nclose\n"
MOVE_THEN_SHOW = "start\nplacement 1 %d 10 400 300\nclose\nstart\ndump\nclose\n"
HOLDER = """
import fcntl, os, sys, time
fd = os.open(sys.argv[1], os.O_RDWR | os.O_CREAT, 0o600)
fcntl.flock(fd, fcntl.LOCK_EX)
print("held", flush=True)
time.sleep(%d)
""" % HOLD


def main():
    driver = os.path.abspath(sys.argv[sys.argv.index("--driver") + 1])
    failures = []
    d = tempfile.mkdtemp(prefix="lintaro-lock-")
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(d, "cfg"),
               XDG_DATA_HOME=os.path.join(d, "data"), HOME=d)
    folder = os.path.join(d, "cfg", "lintaro")
    registry = os.path.join(folder, "HKEY_CURRENT_USER.reg")

    def play(script):
        return subprocess.run([driver], input=script.encode(), cwd=d, env=env,
                              capture_output=True, timeout=HOLD / 2)

    def placement(out):
        return [l for l in out.decode().splitlines() if l.startswith("placement ")]

    holder = None
    try:
        play(SAVE % 10)
        before = open(registry, "rb").read()
        holder = subprocess.Popen([sys.executable, "-c", HOLDER,
                                   os.path.join(folder, "registry.lock")],
                                  stdout=subprocess.PIPE)
        holder.stdout.readline()
        run = play(MOVE_THEN_SHOW % 20)
        if run.returncode != 0 or run.stdout.split(b"\n").count(b"exit") != 2:
            failures.append("while held: exit %d\n%s" % (run.returncode, run.stdout.decode()))
        if placement(run.stdout) != ["placement 1 10 10 400 300"]:
            failures.append("while held, saved anyway: %s" % placement(run.stdout))
        if holder.poll() is not None:
            failures.append("the holder let go before the program was done")
        if open(registry, "rb").read() != before:
            failures.append("the registry file changed while another held its lock")
        holder.kill()
        holder.wait()
        run = play(MOVE_THEN_SHOW % 30)
        if placement(run.stdout) != ["placement 1 30 10 400 300"]:
            failures.append("after the holder went: %s" % placement(run.stdout))
        if sorted(os.listdir(folder)) != ["HKEY_CURRENT_USER.reg"]:
            failures.append("left in the folder: %s" % sorted(os.listdir(folder)))
    finally:
        if holder and holder.poll() is None:
            holder.kill()
        shutil.rmtree(d, ignore_errors=True)
    for f in failures:
        print("FAIL", f)
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
