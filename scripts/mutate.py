#!/usr/bin/env python3
# mutate.py — measures how strong the tests are: small faults ("mutants") are
# put into the interpreter's sources one at a time, on a scratch copy of the
# tree, and the test suite must fail for each. Run through scripts/mutate.sh.
#
# A mutant changes one line by one operator (see OPERATORS). Candidates are
# found by pattern in the .cpp files of the interpreter's folders, a seeded
# sample of them is built incrementally and run with ctest; a mutant the tests
# let pass is a survivor, printed with file, line, before and after. Mutants
# that do not compile do not count. Mutants listed in
# tests/mutation/equivalent.txt (file, before, after, why) change nothing a
# program can see and are skipped.
import argparse
import collections
import os
import random
import re
import shutil
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["machine", "statements", "device", "translator"]
EQUIVALENT = os.path.join("tests", "mutation", "equivalent.txt")
TARGETS = ["vornbasic", "unit_tests", "golden_tests"]

# ---------------------------------------------------------------- masking

def mask_lines(text):
    """The lines of text with string/char literals and comments blanked out
    (same length), so patterns only see code."""
    out = []
    in_block = False
    for line in text.split("\n"):
        m = []
        i = 0
        n = len(line)
        while i < n:
            c = line[i]
            if in_block:
                if line.startswith("*/", i):
                    in_block = False
                    m.append("  ")
                    i += 2
                else:
                    m.append(" ")
                    i += 1
            elif line.startswith("//", i):
                m.append(" " * (n - i))
                break
            elif line.startswith("/*", i):
                in_block = True
                m.append("  ")
                i += 2
            elif c == "R" and line.startswith('R"(', i):
                end = line.find(')"', i + 3)
                end = n if end < 0 else end + 2
                m.append('"' + "_" * (end - i - 2) + '"')
                i = end
            elif c in "\"'":
                j = i + 1
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                j = min(j + 1, n)
                m.append(c + "_" * max(0, j - i - 2) + (c if j - i >= 2 else ""))
                i = j
            else:
                m.append(c)
                i += 1
        out.append("".join(m)[:n].ljust(n))
    return out

# ---------------------------------------------------------------- operators
# Each operator takes (line, masked line) and yields (start, end, replacement)
# edits of the line.

def op_relational(line, masked):
    flip = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
    for m in re.finditer(r"(?<= )(<=|>=|<|>)(?= )", masked):
        yield m.start(), m.end(), flip[m.group(1)]


def op_equality(line, masked):
    for m in re.finditer(r"(?<= )(==|!=)(?= )", masked):
        yield m.start(), m.end(), "!=" if m.group(1) == "==" else "=="


def op_logical(line, masked):
    for m in re.finditer(r"(?<= )(&&|\|\|)(?= )", masked):
        yield m.start(), m.end(), "||" if m.group(1) == "&&" else "&&"


def op_arithmetic(line, masked):
    for m in re.finditer(r"(?<=[\w)\]] )([+-])(?= [\w(])", masked):
        yield m.start(), m.end(), "-" if m.group(1) == "+" else "+"


def op_constant(line, masked):
    stripped = masked.strip()
    if stripped.startswith(("case ", "#", "static_assert", "template")):
        return
    for m in re.finditer(r"(?<![\w.'])(\d+)(?![\w.'])", masked):
        value = int(m.group(1))
        yield m.start(), m.end(), str(value + 1)
        if value > 0:
            yield m.start(), m.end(), str(value - 1)


def op_boolean(line, masked):
    for m in re.finditer(r"\b(true|false)\b", masked):
        yield m.start(), m.end(), "false" if m.group(1) == "true" else "true"


def _condition_end(masked, open_at):
    depth = 0
    for i in range(open_at, len(masked)):
        if masked[i] == "(":
            depth += 1
        elif masked[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def op_negate_if(line, masked):
    for m in re.finditer(r"\b(if|while) \(", masked):
        open_at = m.end() - 1
        close = _condition_end(masked, open_at)
        if close < 0:
            continue
        cond = line[open_at + 1:close]
        yield open_at + 1, close, "!(" + cond + ")"


STATEMENT_WORDS = ("return", "throw", "delete", "goto", "break", "continue",
                   "case", "default", "else", "do", "using", "namespace")


def op_drop_statement(line, masked):
    """Drops a state change or call that stands alone on its line:
    `x = ...;`, `a.b += ...;`, `reset();`, `v.clear();`, and early returns
    `if (...) return ...;`."""
    s = masked.strip()
    indent = len(masked) - len(masked.lstrip())
    end = len(masked.rstrip())
    if not s.endswith(";"):
        return
    if re.match(r"if \(.*\) return\b[^;]*;$", s) and _condition_end(s, 3) == s.index(") return"):
        yield indent, end, ";"
        return
    first = re.match(r"[A-Za-z_]\w*", s)
    if not first or first.group(0) in STATEMENT_WORDS:
        return
    if re.match(r"[\w.\[\]>*-]+ ?(=|\+=|-=|\|=|&=) [^=].*;$", s):
        yield indent, end, ";"
    elif re.match(r"[\w:.\->]+\(.*\);$", s):
        yield indent, end, ";"


def op_swap_arguments(line, masked):
    for m in re.finditer(r"\b\w+\(([\w.:]+), ([\w.:]+)\)", masked):
        a, b = m.group(1), m.group(2)
        if a != b:
            yield m.start(1), m.end(2), b + ", " + a


OPERATORS = [
    ("relational", op_relational),
    ("equality", op_equality),
    ("logical", op_logical),
    ("arithmetic", op_arithmetic),
    ("constant", op_constant),
    ("boolean", op_boolean),
    ("negate-if", op_negate_if),
    ("drop", op_drop_statement),
    ("swap-args", op_swap_arguments),
]

Mutant = collections.namedtuple("Mutant", "file line op before after")


def source_files(root, folders, patterns):
    files = []
    for folder in folders:
        base = os.path.join(root, folder)
        for dirpath, _, names in os.walk(base):
            for name in names:
                if name.endswith(".cpp"):
                    rel = os.path.relpath(os.path.join(dirpath, name), root)
                    if not patterns or any(p in rel for p in patterns):
                        files.append(rel)
    return sorted(files)


def candidates(root, rel):
    with open(os.path.join(root, rel), encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    lines = text.split("\n")
    masked = mask_lines(text)
    result = []
    for number, (line, mline) in enumerate(zip(lines, masked), start=1):
        s = mline.strip()
        if not s or s.startswith("#") or s.startswith("static_assert"):
            continue
        seen = set()
        for name, op in OPERATORS:
            for start, end, repl in op(line, mline):
                after = line[:start] + repl + line[end:]
                if after != line and after not in seen:
                    seen.add(after)
                    result.append(Mutant(rel, number, name, line, after))
    return result


def load_equivalent(root):
    path = os.path.join(root, EQUIVALENT)
    known = set()
    if not os.path.exists(path):
        return known
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        for raw in f:
            if not raw.strip() or raw.startswith("#"):
                continue
            parts = raw.rstrip("\n").split("\t")
            if len(parts) >= 3:
                known.add((parts[0], parts[1].strip(), parts[2].strip()))
    return known


def load_results(path):
    """An earlier run's results: the survivors to run again, and the rest
    (killed, uncompilable) as they were, since tests are only ever added."""
    survivors, settled = [], []
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        for raw in f:
            parts = raw.rstrip("\n").split("\t")
            if len(parts) < 6:
                continue
            m = Mutant(parts[2], int(parts[3]), parts[1], parts[4], parts[5])
            if len(parts) > 6 and parts[0] == "killed":
                Scratch.kills.update(t for t in parts[6].split(",") if t)
            (survivors if parts[0] == "survived" else settled).append((parts[0], m))
    return [m for _, m in survivors], settled


# ---------------------------------------------------------------- scratch tree

def sync_tree(src, dst):
    """Copies the tree without build folders and .git; a file is written only
    when its bytes differ, so the incremental build recompiles just those."""
    wanted = set()
    for dirpath, dirnames, names in os.walk(src):
        rel_dir = os.path.relpath(dirpath, src)
        dirnames[:] = [d for d in dirnames
                       if not d.startswith(".") and not (rel_dir == "." and d.startswith("build"))]
        for name in names:
            rel = os.path.normpath(os.path.join(rel_dir, name))
            wanted.add(rel)
            a, b = os.path.join(src, rel), os.path.join(dst, rel)
            with open(a, "rb") as f:
                data = f.read()
            if os.path.exists(b):
                with open(b, "rb") as f:
                    if f.read() == data:
                        continue
            os.makedirs(os.path.dirname(b), exist_ok=True)
            with open(b, "wb") as f:
                f.write(data)
            shutil.copymode(a, b)
    for dirpath, dirnames, names in os.walk(dst):
        rel_dir = os.path.relpath(dirpath, dst)
        dirnames[:] = [d for d in dirnames if not (rel_dir == "." and d == "build")]
        for name in names:
            rel = os.path.normpath(os.path.join(rel_dir, name))
            if rel not in wanted:
                os.remove(os.path.join(dst, rel))


def run(cmd, timeout=None, log=None):
    try:
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
        if log:
            with open(log, "wb") as f:
                f.write(p.stdout)
        return p.returncode, p.stdout.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return None, ""


class Scratch:
    """A copy of the tree with its own build folder. Worker 0 lives in WORK;
    the others in WORK.N, copies of worker 0's built tree. The build files
    name WORK by its absolute path, so a copy runs its commands in a mount
    namespace where WORK.N is seen at WORK (unshare); without that, a copy
    configures and builds itself from scratch once."""

    def __init__(self, source, work, jobs, test_jobs, timeout, index=0, exclude=""):
        self.source = source
        self.exclude = ["-E", exclude] if exclude else []
        self.test_jobs = test_jobs
        self.jobs = jobs
        self.timeout = timeout
        self.home = work
        self.work = work if index == 0 else "%s.%d" % (work, index)
        self.src = os.path.join(self.work, "src")
        self.view = None  # the path the commands see this copy at

    def prepare(self):
        os.makedirs(self.src, exist_ok=True)
        sync_tree(self.source, self.src)
        # A mutant costs a compile and three links: link with lld (else gold)
        # and keep the library a thin archive.
        linker = "lld" if shutil.which("ld.lld") else "gold" if shutil.which("ld.gold") else None
        generator = [] if os.path.exists(os.path.join(self.work, "build", "CMakeCache.txt")) else ["-G", "Ninja"]
        code, out = self.run(["cmake", "-S", self.seen("src"), "-B", self.seen("build")] + generator + [
            "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1",
            "-DCMAKE_EXE_LINKER_FLAGS=" + ("-fuse-ld=" + linker if linker else ""),
            "-DCMAKE_CXX_ARCHIVE_CREATE=<CMAKE_AR> qcT <TARGET> <LINK_FLAGS> <OBJECTS>",
            "-DCMAKE_CXX_ARCHIVE_APPEND=<CMAKE_AR> qT <TARGET> <LINK_FLAGS> <OBJECTS>"])
        if code != 0:
            sys.exit("mutate: cmake failed:\n" + out)
        if not self.compile():
            sys.exit("mutate: the unmutated tree does not build (see %s/build.log)" % self.work)

    def clone_of(self, first):
        """Starts this copy from worker 0's built tree when a mount namespace
        can show it at worker 0's path."""
        if self.work == first.work or os.path.exists(os.path.join(self.work, "build")):
            self.view = first.work if os.path.exists(os.path.join(self.work, ".clone")) else None
            return
        if run(["unshare", "-m", "true"])[0] != 0:
            return
        if os.path.exists(self.work):
            shutil.rmtree(self.work)
        shutil.copytree(first.work, self.work, symlinks=True)
        open(os.path.join(self.work, ".clone"), "w").close()
        self.view = first.work

    def seen(self, part):
        return os.path.join(self.view or self.work, part)

    def run(self, cmd, timeout=None, log=None):
        if self.view:
            cmd = ["unshare", "-m", "--propagation", "private", "sh", "-c",
                   'mount --bind "$0" "$1" && shift && exec "$@"', self.work, self.view] + cmd
        return run(cmd, timeout, log)

    def compile(self):
        code, _ = self.run(["cmake", "--build", self.seen("build"), "-j", str(self.jobs), "--target"] + TARGETS,
                           log=os.path.join(self.work, "build.log"))
        return code == 0

    def test(self, first=()):
        """The tests that fail ([] when the suite passes). The tests in first
        (those that caught earlier mutants of the same file) run alone before
        the whole suite, which then runs only when they pass."""
        if first:
            failed = self.ctest(["-R", "^(" + "|".join(re.escape(t) for t in sorted(first)) + ")$"])
            if failed:
                return failed
        self.order_by_kills()
        return self.ctest([])

    kills = collections.Counter()  # test -> mutants it caught, over all files and workers

    def order_by_kills(self):
        """ctest starts the costliest tests first; the tests that caught the
        most mutants so far are made the costliest, so that a mutant meets
        them early. The order changes nothing but the time to the first failure."""
        path = os.path.join(self.work, "build", "Testing", "Temporary", "CTestCostData.txt")
        if not os.path.exists(path):
            return
        with open(path) as f:
            lines = f.read().split("\n")
        out = []
        for i, line in enumerate(lines):
            if line.strip() == "---":
                out += lines[i:]
                break
            parts = line.split(" ")
            if len(parts) == 3 and Scratch.kills[parts[0]]:
                parts[2] = str(1000.0 * Scratch.kills[parts[0]] + min(float(parts[2]), 999.0))
            out.append(" ".join(parts))
        with open(path, "w") as f:
            f.write("\n".join(out))

    def ctest(self, select):
        code, out = self.run(["ctest", "--test-dir", self.seen("build"), "-j", str(self.test_jobs),
                              "--timeout", str(self.timeout), "--stop-on-failure",
                              # A test that fails must fail again: a timing test on a
                              # loaded machine does not kill a mutant.
                              "--repeat", "until-pass:2"] + self.exclude + select,
                             timeout=self.timeout * 20, log=os.path.join(self.work, "ctest.log"))
        if code == 0:
            return []
        failed = re.findall(r"^\s*\d+ - (\S+) \(", out.split("The following tests FAILED:")[-1], re.M)
        return failed or ["(ctest %s)" % ("timed out" if code is None else code)]


# ---------------------------------------------------------------- main

def main():
    ap = argparse.ArgumentParser(description="Mutation testing of the interpreter's sources.")
    ap.add_argument("--count", type=int, default=300, help="mutants that compile to run (default 300)")
    ap.add_argument("--seed", type=int, default=1, help="sampling seed (default 1)")
    ap.add_argument("--files", action="append", default=[],
                    help="only sources whose path contains this text (repeatable, or comma-separated)")
    ap.add_argument("--folders", default=",".join(FOLDERS), help="folders to mutate (default %(default)s)")
    ap.add_argument("--retry", metavar="RESULTS",
                    help="run the survivors of an earlier run's results file instead of sampling")
    ap.add_argument("--resume", action="store_true",
                    help="go on with an interrupted run: keep the mutants its results file settled")
    ap.add_argument("--report", metavar="RESULTS", help="print the survivors and scores of a results file, run nothing")
    ap.add_argument("--list", action="store_true", help="print the sampled mutants, run nothing")
    ap.add_argument("--timeout", type=int, default=120,
                    help="seconds per test (default 120: on a loaded machine a slow test is no kill)")
    ap.add_argument("--exclude", default="^(window|packaging)/|_NOT_BUILT$",
                    help="tests not to run (default %(default)s: the window starts Qt, which no mutant touches; its tests and the installed tree need what is not built)")
    ap.add_argument("--jobs", type=int, default=2, help="build parallelism (default 2)")
    ap.add_argument("--test-jobs", type=int, default=6,
                    help="ctest parallelism (default 6: the tests mostly wait for the processes they start)")
    ap.add_argument("--batch", type=int, default=40,
                    help="mutants taken from the sample at a time, sorted by file (default 40)")
    ap.add_argument("--parallel", type=int, default=1,
                    help="scratch copies testing mutants side by side (default 1)")
    ap.add_argument("--work", default="/tmp/vorn-mutate", help="scratch folder (default %(default)s)")
    ap.add_argument("--results", help="results file (default WORK/results.tsv)")
    ap.add_argument("--source", default=ROOT,
                    help="the tree to mutate and test (default: this checkout)")
    args = ap.parse_args()

    source = os.path.abspath(args.source)
    patterns = [p for arg in args.files for p in arg.split(",") if p]
    folders = [f for f in args.folders.split(",") if f]
    equivalent = load_equivalent(source)

    settled = []
    results_path = args.results or os.path.join(args.work, "results.tsv")
    if args.retry:
        pool, settled = load_results(args.retry)
    else:
        pool = []
        for rel in source_files(source, folders, patterns):
            pool.extend(candidates(source, rel))
        random.Random(args.seed).shuffle(pool)
        if args.resume and os.path.exists(results_path):
            # An interrupted run goes on where it stopped: what it settled counts.
            survived, settled = load_results(results_path)
            settled += [("survived", m) for m in survived]
            seen = {(m.file, m.line, m.after) for _, m in settled}
            pool = [m for m in pool if (m.file, m.line, m.after) not in seen]
    skipped = [m for m in pool if (m.file, m.before.strip(), m.after.strip()) in equivalent]
    pool = [m for m in pool if (m.file, m.before.strip(), m.after.strip()) not in equivalent]
    print("mutate: %d candidates, %d known equivalent skipped" % (len(pool) + len(skipped), len(skipped)))
    if args.report:
        report_file(args.report, equivalent)
        return 0
    if args.list:
        for m in pool[:args.count]:
            print("%s:%d %s\n  - %s\n  + %s" % (m.file, m.line, m.op, m.before.strip(), m.after.strip()))
        return 0

    workers = [Scratch(source, args.work, args.jobs, args.test_jobs, args.timeout, i, args.exclude)
               for i in range(max(1, args.parallel))]
    print("mutate: preparing %s" % args.work, flush=True)
    workers[0].prepare()
    for w in workers[1:]:
        w.clone_of(workers[0])
        w.prepare()
    started = time.time()
    if workers[0].test():
        sys.exit("mutate: the tests fail on the unmutated tree (see %s/ctest.log)" % args.work)
    print("mutate: unmutated suite passes in %.0f s" % (time.time() - started), flush=True)

    stats = collections.defaultdict(collections.Counter)
    survivors = []
    progress = {"valid": 0, "done": 0}
    lock = threading.Lock()
    results = open(results_path, "w", encoding="utf-8", errors="surrogateescape")
    for status, m in settled:
        stats[m.file.split("/")[0]][status] += 1
        stats[m.file][status] += 1
        if status in ("killed", "survived") and not args.retry:
            progress["valid"] += 1
        if status == "survived":
            survivors.append((m, m.line))
        results.write("\t".join([status, m.op, m.file, str(m.line), m.before, m.after]) + "\n")
    for m in skipped if args.retry else []:
        stats[m.file.split("/")[0]]["equivalent"] += 1
        stats[m.file]["equivalent"] += 1
        results.write("\t".join(["equivalent", m.op, m.file, str(m.line), m.before, m.after]) + "\n")
    if args.retry:
        args.count = len(pool)

    def record(m, index, status, seconds, failed=()):
        line = index + 1 if index is not None else m.line
        with lock:
            stats[m.file.split("/")[0]][status] += 1
            stats[m.file][status] += 1
            progress["done"] += 1
            if status in ("killed", "survived"):
                progress["valid"] += 1
            results.write("\t".join([status, m.op, m.file, str(line), m.before, m.after,
                                     ",".join(failed)]) + "\n")
            results.flush()
            print("[%d valid, %d tried] %-12s %s:%d %s (%.0f s)" % (
                progress["valid"], progress["done"], status, m.file, line, m.op, seconds), flush=True)
            if status == "survived":
                survivors.append((m, line))
                print("  - %s\n  + %s" % (m.before.strip(), m.after.strip()), flush=True)

    killers = collections.defaultdict(set)  # file -> tests that caught its mutants
    position = 0
    try:
        while progress["valid"] < args.count and position < len(pool):
            # Take the next batch, sorted by file, and give each worker a run
            # of it: a file is then put back (and rebuilt) once per batch.
            # Batches of a few dozen: a run cut short has still met every area.
            batch = pool[position:position + min(args.batch, args.count - progress["valid"])]
            position += len(batch)
            batch.sort(key=lambda m: (m.file, m.line))
            n = len(workers)
            slices = [batch[len(batch) * i // n:len(batch) * (i + 1) // n] for i in range(n)]
            threads = [threading.Thread(target=run_mutants, args=(w, part, record, killers))
                       for w, part in zip(workers, slices) if part]
            for t in threads:
                t.start()
            for t in threads:
                t.join()
    finally:
        results.close()

    report(survivors, stats)
    print("results: %s (%.0f min)" % (results_path, (time.time() - started) / 60))
    return 0 if not survivors else 1


def report(survivors, stats):
    print("\nSurvivors:")
    for m, line in survivors:
        print("%s:%d %s\n  - %s\n  + %s" % (m.file, line, m.op, m.before.strip(), m.after.strip()))
    print("\nScore (killed / mutants that compiled and are not equivalent):")
    for key in sorted(stats):
        if "/" in key:
            continue
        print_score(key, stats[key])
        for f in sorted(k for k in stats if k.startswith(key + "/")):
            print_score("  " + f, stats[f])
    total = collections.Counter()
    for key in stats:
        if "/" not in key:
            total.update(stats[key])
    print_score("all", total)


def report_file(path, equivalent):
    """The survivors and scores of a results file, survivors now listed as
    equivalent counted so."""
    stats = collections.defaultdict(collections.Counter)
    survivors = []
    survived, settled = load_results(path)
    for status, m in settled + [("survived", m) for m in survived]:
        if status == "survived" and (m.file, m.before.strip(), m.after.strip()) in equivalent:
            status = "equivalent"
        stats[m.file.split("/")[0]][status] += 1
        stats[m.file][status] += 1
        if status == "survived":
            survivors.append((m, m.line))
    report(sorted(survivors), stats)


def run_mutants(scratch, mutants, record, killers):
    """Builds and tests each mutant in turn on one scratch copy; the file is
    put back when the next mutant is in another file and at the end."""
    current = None
    original = None
    try:
        for m in mutants:
            path = os.path.join(scratch.src, m.file)
            if m.file != current:
                if current is not None:
                    write(os.path.join(scratch.src, current), original)
                current = m.file
                with open(path, encoding="utf-8", errors="surrogateescape") as f:
                    original = f.read()
            lines = original.split("\n")
            index = locate(lines, m)
            t0 = time.time()
            failed = []
            if index is None:
                status = "missing"
            else:
                lines[index] = m.after
                write(path, "\n".join(lines))
                if not scratch.compile():
                    status = "uncompilable"
                else:
                    failed = scratch.test(set(killers[m.file]))
                    status = "killed" if failed else "survived"
                    killers[m.file].update(t for t in failed if not t.startswith("("))
                    Scratch.kills.update(t for t in failed if not t.startswith("("))
            record(m, index, status, time.time() - t0, failed)
    finally:
        if current is not None:
            write(os.path.join(scratch.src, current), original)


def locate(lines, m):
    """The index of the mutant's line: its recorded number, else the nearest
    line with the same text."""
    if 0 < m.line <= len(lines) and lines[m.line - 1] == m.before:
        return m.line - 1
    found = [i for i, l in enumerate(lines) if l == m.before]
    if not found:
        return None
    return min(found, key=lambda i: abs(i - (m.line - 1)))


def write(path, text):
    with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
        f.write(text)


def print_score(name, c):
    valid = c["killed"] + c["survived"]
    score = 100.0 * c["killed"] / valid if valid else 0.0
    print("%-40s %5.1f%%  killed %d, survived %d, equivalent %d, uncompilable %d" % (
        name, score, c["killed"], c["survived"], c["equivalent"], c["uncompilable"]))


if __name__ == "__main__":
    sys.exit(main())
