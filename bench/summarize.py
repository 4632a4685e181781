#!/usr/bin/env python3
"""Summarizes several outputs of lintaro-bench: for each stage, the least wall and processor time
over the runs (the best estimate of a stage's own cost on a busy machine), the median wall time,
and the highest peak memory.

    summarize.py OUTPUT...            one table over all the runs given
    summarize.py --compare A... -- B... two sets of runs side by side, with B's gain over A
"""
import re
import statistics
import sys

ROW = re.compile(r"^(\s*\S.*?)\s{2,}(-?\d+\.\d+)\s+(-?\d+\.\d+)\s+(\d+)\s+(\d+)\s*$")
PARTS_ROW = re.compile(r"^(\s*\S.*?)\s{2,}(\d+\.\d+)\s+(\d+\.\d+)\s+(\d+\.\d+)\s*$")
PEAK = re.compile(r"^peak RSS (\d+) MiB")


def read(paths):
    """Stage name -> lists of wall, cpu and peak values, in the order stages first appear."""
    stages = {}
    peak = 0
    for path in paths:
        seen = {}
        for line in open(path, encoding="latin-1"):
            line = line.rstrip("\n")
            m = ROW.match(line)
            wall = cpu = mib = None
            if m:
                name, wall, cpu, mib = m.group(1), float(m.group(2)), float(m.group(3)), int(m.group(5))
            else:
                m = PARTS_ROW.match(line)
                if m and not line.startswith("stage"):
                    name, wall, cpu = m.group(1), float(m.group(2)), float(m.group(4))
                else:
                    p = PEAK.match(line)
                    if p:
                        peak = max(peak, int(p.group(1)))
                    continue
            # A stage that occurs twice in one run (the two "all" steps) is told apart by its count.
            seen[name] = seen.get(name, 0) + 1
            key = name if seen[name] == 1 else f"{name} ({seen[name]})"
            entry = stages.setdefault(key, {"wall": [], "cpu": [], "peak": []})
            entry["wall"].append(wall)
            entry["cpu"].append(cpu)
            if mib is not None:
                entry["peak"].append(mib)
                peak = max(peak, mib)
    return stages, peak


def main(argv):
    if argv and argv[0] == "--compare":
        split = argv.index("--")
        a, apeak = read(argv[1:split])
        b, bpeak = read(argv[split + 1:])
        print(f"{'stage':42} {'before s':>9} {'after s':>9} {'gain':>7}")
        for name, entry in a.items():
            if name not in b:
                continue
            before, after = min(entry["wall"]), min(b[name]["wall"])
            gain = f"{before / after:.1f}x" if after > 0 else "-"
            print(f"{name:42} {before:9.3f} {after:9.3f} {gain:>7}")
        print(f"{'peak RSS MiB':42} {apeak:9d} {bpeak:9d}")
        return 0
    stages, peak = read(argv)
    print(f"{'stage':42} {'min wall s':>10} {'med wall s':>10} {'min cpu s':>10} {'peak MiB':>9}")
    for name, entry in stages.items():
        peaks = max(entry["peak"]) if entry["peak"] else ""
        print(f"{name:42} {min(entry['wall']):10.3f} {statistics.median(entry['wall']):10.3f} "
              f"{min(entry['cpu']):10.3f} {peaks:>9}")
    print(f"peak RSS of the runs: {peak} MiB")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
