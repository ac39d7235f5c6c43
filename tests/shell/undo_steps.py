#!/usr/bin/env python3
"""Checks the output of the undo history journal: the curves and the terrain printed after undoing
back to step N, and after redoing forward to N, must equal those printed when the edits first
reached N. Usage: undo_steps.py OUTPUT. Exit status 0 when every state matches, 1 otherwise."""
import re
import sys


def states(text):
    """{(label, n): dump text} for each "echo" marker and the dump lines after it."""
    out, key, buf = {}, None, []
    for line in text.splitlines():
        m = re.fullmatch(r"(at|back to|forward to) (\d+)", line)
        if m or line.startswith("undo state="):
            if key:
                out[key] = "\n".join(buf)
            key = (m.group(1), int(m.group(2))) if m else None
            buf = []
        elif key:
            buf.append(line)
    if key:
        out[key] = "\n".join(buf)
    return out


def main():
    s = states(open(sys.argv[1], encoding="utf-8").read())
    at = {n: v for (k, n), v in s.items() if k == "at"}
    bad = 0
    if len(at) < 31 or len({v for v in at.values()}) < len(at) - 4:
        print(f"too few distinct states: {len(at)}")
        bad += 1
    for (k, n), v in sorted(s.items()):
        if k != "at" and at.get(n) != v:
            print(f"{k} {n} differs from at {n}")
            bad += 1
    for n in at:
        if n > 0 and ("back to", n - 1) not in s:
            print(f"no undo back to {n - 1}")
            bad += 1
        if n > 0 and ("forward to", n) not in s:
            print(f"no redo forward to {n}")
            bad += 1
    print(f"{len(at)} states, {len(s) - len(at)} undone or redone, {bad} differences")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
