#!/usr/bin/env python3
"""One-line mutation testing for the rules and the file formats.

Each mutant changes one operator, bound, branch or statement on one line of a
target file.  The file is rebuilt in a build folder of its own, the fast rule
and core suites run against it, and the mutant counts as killed when a test
fails (or hangs past the time limit).  A mutant that does not compile is
stillborn and not counted.  The source file is always put back, also when the
run is interrupted.

    tools/mutate/mutate.py [--build-dir DIR] [--max-per-file N] [--seed S]
                           [--report FILE] [--list] [PATTERN ...]

PATTERNs narrow the targets (globs relative to the project, as in
tools/mutate/targets.txt).
"""

import argparse
import fnmatch
import glob
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
TARGETS_FILE = Path(__file__).with_name("targets.txt")

# The suites that pin the rules: fast, no windows.  Each is run with fail-fast.
TEST_PROGRAMS = ["kvt_core_tests", "rules_tests", "sim_tests"]
# Built with them: the shipped data the suites read is packed by kvx, which
# carries the format code, so it must follow each mutant (and each restore).
BUILD_TARGETS = [*TEST_PROGRAMS, "kvx"]


@dataclass
class Mutant:
    path: str
    line: int  # 1-based
    operator: str
    before: str
    after: str


# (name, pattern, replacement) applied to the code part of a line, one match at
# a time.  The patterns want spaces around binary operators, as the code is
# formatted, so templates, pointers and shifts are left alone.
OPERATORS = [
    ("== to !=", r" == ", " != "),
    ("!= to ==", r" != ", " == "),
    ("< to <=", r" < ", " <= "),
    ("<= to <", r" <= ", " < "),
    ("> to >=", r" > ", " >= "),
    (">= to >", r" >= ", " > "),
    ("&& to ||", r" && ", " || "),
    ("|| to &&", r" \|\| ", " && "),
    ("+ to -", r"(?<=[\w)\]]) \+ (?=[\w(])", " - "),
    ("- to +", r"(?<=[\w)\]]) - (?=[\w(])", " + "),
    ("* to /", r"(?<=[\w)\]]) \* (?=[\w(])", " / "),
    ("++ to --", r"\+\+", "--"),
    ("-- to ++", r"--", "++"),
    ("+= to -=", r" \+= ", " -= "),
    ("-= to +=", r" -= ", " += "),
    ("true to false", r"\btrue\b", "false"),
    ("false to true", r"\bfalse\b", "true"),
    ("bound + 1", r"(?<=[<>=] )(\d+)\b(?!\.)", lambda m: str(int(m.group(1)) + 1)),
    ("literal 1 to 2", r"(?<=[+\-] )1\b(?!\.)", "2"),
    ("seat wrap", r"\bWrapSeat\(", "("),
    ("random to first", r"\b\w+\.Slot\([^;]*?\)(?=[;,)\s])", "0"),
    ("drop !", r"(?<![!=])!(?!=)", ""),
]

KEYWORDS_NOT_STATEMENTS = ("if", "for", "while", "switch", "return", "case", "do", "else",
                           "static_assert", "using", "namespace", "template", "throw")


def mask_code(line):
    """The line with string and character literals and comments blanked, so
    operators inside them are never mutated."""
    out, i, n = [], 0, len(line)
    while i < n:
        c = line[i]
        if line.startswith("//", i):
            out.append(" " * (n - i))
            break
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + (c if j - i >= 2 else ""))
            i = j
            continue
        out.append(c)
        i += 1
    return "".join(out)[:n]


def mutable_line(code):
    stripped = code.strip()
    return bool(stripped) and not stripped.startswith(("#", "*", "/*", "static_assert"))


def branch_flip(line, code):
    """if (cond) -> if (!(cond)), when the condition closes on the same line."""
    m = re.search(r"\bif \(", code)
    if not m:
        return None
    depth, start = 0, m.end() - 1
    for j in range(start, len(code)):
        if code[j] == "(":
            depth += 1
        elif code[j] == ")":
            depth -= 1
            if depth == 0:
                return line[:start + 1] + "!(" + line[start + 1:j] + ")" + line[j:]
    return None


def statement_removal(line, code):
    """A plain call or assignment statement becomes an empty statement."""
    stripped = code.strip()
    if not stripped.endswith(";") or stripped.count(";") != 1:
        return None
    word = re.match(r"[A-Za-z_]\w*", stripped)
    if not word or word.group(0) in KEYWORDS_NOT_STATEMENTS:
        return None
    call = re.match(r"^[\w:.\->\[\]]+\(.*\);$", stripped)
    assign = re.match(r"^[\w.\->\[\]]+ (\+|-|\|)?= .*;$", stripped)
    if not (call or assign):
        return None
    indent = line[: len(line) - len(line.lstrip())]
    return indent + ";  // removed: " + stripped + "\n"


def mutants_of(path):
    text = (ROOT / path).read_text()
    lines = text.splitlines(keepends=True)
    found = []
    for number, line in enumerate(lines, 1):
        code = mask_code(line.rstrip("\n"))
        if not mutable_line(code):
            continue
        for name, pattern, replacement in OPERATORS:
            for m in re.finditer(pattern, code):
                new = replacement(m) if callable(replacement) else replacement
                after = line[: m.start()] + new + line[m.end():]
                if after != line:
                    found.append(Mutant(path, number, name, line, after))
        for name, make in (("branch flipped", branch_flip), ("statement removed", statement_removal)):
            after = make(line, code)
            if after and after != line:
                found.append(Mutant(path, number, name, line, after))
    return found


def target_files(patterns):
    globs = [l.strip() for l in TARGETS_FILE.read_text().splitlines()
             if l.strip() and not l.startswith("#")]
    files = sorted({str(Path(p).relative_to(ROOT)) for g in globs for p in glob.glob(str(ROOT / g))})
    if patterns:
        files = [f for f in files if any(fnmatch.fnmatch(f, p) for p in patterns)]
    return files


def run(cmd, timeout=None, cwd=ROOT):
    """Runs cmd; returns (exit code or None on timeout, output).  A hung
    process group is killed whole."""
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        return None, "timed out"


class Runner:
    def __init__(self, build_dir):
        self.build = Path(build_dir).resolve()
        self.test_env = None
        self.limit = None

    def configure(self):
        launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
        code, out = run(["cmake", "-S", str(ROOT), "-B", str(self.build), "-G", "Ninja",
                         "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DKVT_BUILD_BENCH=OFF",
                         # An index out of bounds stops the tests instead of reading a neighbour.
                         "-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS", *launcher])
        if code != 0:
            sys.exit("configuring failed:\n" + out)

    def build_tests(self):
        code, out = run(["cmake", "--build", str(self.build), "--target", *BUILD_TARGETS])
        return code == 0, out

    def tests_pass(self):
        for program in TEST_PROGRAMS:
            code, _ = run([str(self.build / "bin" / program), "--gtest_fail_fast", "--gtest_brief=1"],
                          timeout=self.limit)
            if code != 0:
                return False
        return True

    def baseline(self):
        ok, out = self.build_tests()
        if not ok:
            sys.exit("the unmutated tree does not build:\n" + out)
        start = time.monotonic()
        if not self.tests_pass():
            sys.exit("the unmutated tree fails its tests; mutation needs a green suite")
        # Generous: a mutant that loops for ever is killed, a slow one is not.
        self.limit = max(30.0, 10 * (time.monotonic() - start))


def put_back(saved, source):
    """Puts the original file back, dated now: it keeps the mutant's build
    from looking newer than the source, so the next build compiles it again."""
    saved.replace(source)
    os.utime(source, None)


def restore_interrupted(files):
    for f in files:
        saved = ROOT / (f + ".mutate-orig")
        if saved.exists():
            put_back(saved, ROOT / f)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("patterns", nargs="*")
    ap.add_argument("--build-dir", default=os.environ.get("KVT_MUTATE_BUILD_DIR", str(ROOT / "build-mutate")))
    ap.add_argument("--max-per-file", type=int, default=0, help="sample at most N mutants a file (0: all)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the sample")
    ap.add_argument("--report", help="also write the report as Markdown to this file")
    ap.add_argument("--list", action="store_true", help="list the mutants and stop")
    args = ap.parse_args()

    # A stopped run still puts the mutated file back (the finally below).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    files = target_files(args.patterns)
    restore_interrupted(files)
    plan = []
    sampler = random.Random(args.seed)
    for f in files:
        ms = mutants_of(f)
        if args.max_per_file and len(ms) > args.max_per_file:
            ms = sorted(sampler.sample(ms, args.max_per_file), key=lambda m: m.line)
        plan.extend(ms)
    if args.list:
        for m in plan:
            print(f"{m.path}:{m.line}: {m.operator}: {m.after.strip()}")
        print(f"{len(plan)} mutants in {len(files)} files")
        return 0

    runner = Runner(args.build_dir)
    runner.configure()
    runner.baseline()
    results = {f: {"killed": 0, "survived": [], "stillborn": 0} for f in files}
    for i, m in enumerate(plan, 1):
        source = ROOT / m.path
        saved = ROOT / (m.path + ".mutate-orig")
        original = source.read_text()
        saved.write_text(original)
        lines = original.splitlines(keepends=True)
        lines[m.line - 1] = m.after
        try:
            source.write_text("".join(lines))
            built, out = runner.build_tests()
            if not built and re.search(r": error:", out):
                outcome = "stillborn"
                results[m.path]["stillborn"] += 1
            elif not built:
                # It compiled, but packing the shipped data with it failed.
                outcome = "killed"
                results[m.path]["killed"] += 1
            elif runner.tests_pass():
                outcome = "SURVIVED"
                results[m.path]["survived"].append(m)
            else:
                outcome = "killed"
                results[m.path]["killed"] += 1
        finally:
            put_back(saved, source)
        print(f"[{i}/{len(plan)}] {outcome:9} {m.path}:{m.line} {m.operator}", flush=True)
    # Leave the build folder matching the sources.
    runner.build_tests()

    report = format_report(results, args)
    print(report)
    if args.report:
        Path(args.report).write_text(report)
    return 0


def format_report(results, args):
    rows, survivors, total_killed, total_counted = [], [], 0, 0
    for f, r in results.items():
        counted = r["killed"] + len(r["survived"])
        if counted == 0 and r["stillborn"] == 0:
            continue
        rate = f"{100 * r['killed'] / counted:.0f} %" if counted else "-"
        rows.append(f"| {f} | {r['killed']} | {len(r['survived'])} | {r['stillborn']} | {rate} |")
        total_killed += r["killed"]
        total_counted += counted
        for m in r["survived"]:
            survivors.append(f"- `{m.path}:{m.line}` ({m.operator}): `{m.before.strip()}` → `{m.after.strip()}`")
    rate = f"{100 * total_killed / total_counted:.1f} %" if total_counted else "-"
    sample = f"at most {args.max_per_file} a file, seed {args.seed}" if args.max_per_file else "every mutant"
    return "\n".join([
        f"Mutants: {sample}; tests: {', '.join(TEST_PROGRAMS)} (fail-fast).", "",
        "| file | killed | survived | stillborn | kill rate |", "|---|---|---|---|---|", *rows,
        f"| **all** | {total_killed} | {total_counted - total_killed} | | **{rate}** |", "",
        "Survivors:", "", *(survivors or ["- none"]), ""])


if __name__ == "__main__":
    sys.exit(main())
