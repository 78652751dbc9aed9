#!/usr/bin/env python3
"""The shipped collections against the life-and-death solver.

Runs `zendra-db verify --json` on the shipped data file. Every disagreement it reports must be
one of the known ones listed (as `NUMBER KIND PATH` in backquotes, PATH the moves from the start
up to the one in question) in data/SOLVER-DISAGREEMENTS.md, where each is explained; anything
else fails the test. A known entry that no longer shows is
named (it may have been mended, or its problem went undecided within the time budget), without
failing: the budget is wall-clock time, so a loaded machine decides fewer problems.

usage: solver_agreement_test.py ZENDRA_DB DATA_FILE KNOWN_LIST
"""
import json
import re
import subprocess
import sys


def main():
    zendra_db, data_file, known_list = sys.argv[1:4]
    with open(known_list, encoding="utf-8") as f:
        known = set(re.findall(r"`(\d+ [A-Za-z]+(?: [A-Z]{2})*)`", f.read()))
    run = subprocess.run([zendra_db, "verify", data_file, "--json"], capture_output=True,
                         text=True, check=False)
    if run.returncode not in (0, 1):
        print(run.stdout, run.stderr)
        print(f"zendra-db verify ended with {run.returncode}")
        return 1
    report = json.loads(run.stdout)
    print(f"{report['problems']} problems, {report['decided']} decided, "
          f"{report['disagreements']} disagreements; undecided: {report['undecidedByReason']}")
    found = set()
    for d in report["list"]:
        found.add(f"{d['number']} {d['kind']}" + (f" {d['path']}" if d["path"] else ""))
    new = sorted(found - known)
    for entry in sorted(known - found):
        print(f"note: known disagreement not seen this time: {entry}")
    for d in report["list"]:
        key = f"{d['number']} {d['kind']}" + (f" {d['path']}" if d["path"] else "")
        if key in new:
            print(f"NEW disagreement: problem {d['number']} {d['kind']} {d['path']} "
                  f"(solver: {d['solver']}; best line {d['answer']})")
    if report["problems"] == 0:
        print("the data file holds no problems")
        return 1
    return 1 if new else 0


if __name__ == "__main__":
    sys.exit(main())
