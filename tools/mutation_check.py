#!/usr/bin/env python3
"""Mutation check: do the native tests catch small faults in the engine and the foundation?

Applies each one-line change of a list (tools/mutation_check.txt) to a copy of the source tree,
one at a time, builds the native tests (Debug, ASan + UBSan, as the native preset builds them)
and runs them. A change that no test notices is a survivor: either a test is missing, or the
change does not alter what the program does (the list may say so with "equivalent:").

Usage:
  python3 tools/mutation_check.py [--list FILE] [--work DIR] [--only ID[,ID...]] [--jobs N]
                                  [--workers N] [--filter GTEST_FILTER] [--timeout SECONDS]

The tree is copied (tracked files and untracked ones git does not ignore, as they are in the
working tree) to DIR/wN/src and built in DIR/wN/build, once per worker (two by default, sharing
--jobs build jobs); the working tree is never touched. The first run builds everything once;
later runs reuse DIR and rebuild only what changed. Every change is built as the native tests
are built (the core, the tools and the sample dictionaries made with them included), and the
whole native test binary runs for every change unless --filter narrows it.

A change marked "tests: win32 FILTER" lives in Windows-only code: it is built with the windows
preset's toolchain (in DIR/w1/build-win32, by the first worker alone) and judged by the Win32 tests
that FILTER selects, run under Wine one at a time. Those need a Wine session, as for ctest:
  source scripts/wine-env.sh; xvfb_start; wine_env_init "$PWD/build/windows"
The filter's tests are first run on the unchanged tree; a filter that fails there is reported.

Exit status: 0 when every change was caught or is marked equivalent, 1 when something survived
unexplained, 2 when the baseline fails or a change no longer applies (its "from" text is gone).

Not part of the test suite: a developer tool, run by hand (a full run takes some minutes).
"""
import argparse
import concurrent.futures
import dataclasses
import os
import queue
import re
import shutil
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WIN32_LOCK = threading.Lock()


@dataclasses.dataclass
class Mutation:
    ident: str
    title: str
    file: str = ""
    old: str = ""
    new: str = ""
    equivalent: str = ""
    tests: str = ""
    line: int = 0

    def win32_filter(self):
        """The gtest filter of a change judged by the Win32 tests; "" for the native tests."""
        kind, _, test_filter = self.tests.partition(" ")
        return test_filter.strip() or "*" if kind == "win32" else ""


def parse_list(path):
    """The list's blocks: "== ID: title", then "file:", "from:", "to:" and optional "equivalent:"."""
    mutations = []
    current = None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if line.startswith("== "):
                ident, _, title = line[3:].partition(":")
                current = Mutation(ident.strip(), title.strip(), line=number)
                mutations.append(current)
                continue
            key, sep, value = line.partition(":")
            if current is None or not sep or key not in ("file", "from", "to", "equivalent", "tests"):
                sys.exit(f"{path}:{number}: cannot read this line: {line}")
            # One blank after the colon belongs to the syntax; the rest is the text itself.
            value = value[1:] if value.startswith(" ") else value
            setattr(current, {"from": "old", "to": "new"}.get(key, key), value)
    seen = set()
    for m in mutations:
        if not m.file or not m.old:
            sys.exit(f"{path}:{m.line}: {m.ident} needs file: and from:")
        if m.ident in seen:
            sys.exit(f"{path}:{m.line}: {m.ident} is listed twice")
        seen.add(m.ident)
    return mutations


def run(cmd, cwd=None, timeout=None, env=None):
    """Runs cmd; returns (exit status or None on timeout, output)."""
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout,
                           text=True, errors="replace", env=env)
    except subprocess.TimeoutExpired as e:
        out = e.stdout if isinstance(e.stdout, str) else (e.stdout or b"").decode(errors="replace")
        return None, out
    return p.returncode, p.stdout


def copy_tree(src):
    """Copies the working tree's files into src, leaving files there that did not change alone."""
    listed = subprocess.run(["git", "ls-files", "-z", "-co", "--exclude-standard"], cwd=ROOT, check=True,
                            stdout=subprocess.PIPE).stdout.decode().split("\0")
    for rel in filter(None, listed):
        origin = os.path.join(ROOT, rel)
        if not os.path.isfile(origin):
            continue  # deleted in the working tree
        target = os.path.join(src, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if os.path.exists(target):
            with open(origin, "rb") as a, open(target, "rb") as b:
                if a.read() == b.read():
                    continue
        shutil.copy2(origin, target)
        os.utime(target)  # newer than anything built from an older copy


def failed_tests(output):
    names = re.findall(r"^\[  FAILED  \] ([\w/.]+)", output, re.M)
    return sorted(set(n for n in names if "." in n))


class Worker:
    """One copy of the tree with its own build folder; tries one change at a time."""

    def __init__(self, work, jobs, test_filter, timeout):
        self.src, self.build = os.path.join(work, "src"), os.path.join(work, "build")
        # A temporary folder of its own: the tests name their scratch folders after the test, so
        # two test runs at once (two workers, or another build on the machine) must not share one.
        self.tmp = os.path.join(work, "tmp")
        self.env = dict(os.environ, TMPDIR=self.tmp, TMP=self.tmp, TEMP=self.tmp)
        self.timeout = timeout
        self.jobs = jobs
        self.configure = ["cmake", "-S", self.src, "-B", self.build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                          "-DPARLAVENT_SANITIZE=ON", "-DPARLAVENT_TESTS=ON"]
        self.build_cmd = ["cmake", "--build", self.build, "--target", "native_tests", "-j", str(jobs)]
        self.test_cmd = [os.path.join(self.build, "tests", "native_tests"), "--gtest_brief=1"]
        if test_filter:
            self.test_cmd.append("--gtest_filter=" + test_filter)
        self.win32_build = os.path.join(work, "build-win32")
        self.win32_ready = False
        self.win32_baseline = {}  # filter -> error text of the unchanged tree ("" when it passes)

    def prepare(self):
        """Copies and builds the unchanged tree; an error text when it does not build or pass."""
        os.makedirs(self.src, exist_ok=True)
        copy_tree(self.src)
        for cmd in (self.configure, self.build_cmd):
            status, out = run(cmd)
            if status != 0:
                return out[-4000:] + "\nthe unchanged tree does not build"
        status, out = self.run_tests()
        if status != 0:
            return out[-4000:] + "\nthe native tests fail on the unchanged tree: fix them first"
        return ""

    def run_tests(self):
        shutil.rmtree(self.tmp, ignore_errors=True)
        os.makedirs(self.tmp)
        return run(self.test_cmd, cwd=self.build, timeout=self.timeout, env=self.env)

    def build_win32(self):
        """Builds the Windows program and its tests; an error text when that fails."""
        if not self.win32_ready:
            status, out = run(["cmake", "-S", self.src, "-B", self.win32_build, "-G", "Ninja",
                               "--toolchain", os.path.join(self.src, "cmake", "mingw-w64-x86_64.cmake"),
                               "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DPARLAVENT_TESTS=ON"])
            if status != 0:
                return out[-4000:]
            self.win32_ready = True
        status, out = run(["cmake", "--build", self.win32_build, "--target", "win32_tests", "-j", str(self.jobs)])
        return "" if status == 0 else out[-4000:]

    def run_win32_tests(self, test_filter):
        if "PARLAVENT_WINEPREFIX" not in os.environ or "DISPLAY" not in os.environ:
            return 1, "no Wine session: run wine_env_init of scripts/wine-env.sh first"
        exe = os.path.join(self.win32_build, "tests", "win32_tests.exe")
        with WIN32_LOCK:  # one display and one clipboard for all
            return run(["sh", os.path.join(self.src, "cmake", "wine-emulator.sh"), os.environ["PARLAVENT_WINEPREFIX"],
                        exe, "--gtest_brief=1", "--gtest_filter=" + test_filter], cwd=self.win32_build,
                       timeout=self.timeout * 4)

    def win32_baseline_error(self, test_filter):
        if test_filter not in self.win32_baseline:
            error = self.build_win32()
            if not error:
                status, out = self.run_win32_tests(test_filter)
                error = "" if status == 0 else out[-2000:]
            self.win32_baseline[test_filter] = error
        return self.win32_baseline[test_filter]

    def attempt(self, m):
        """(verdict, detail) of one change; the file is restored whatever happens."""
        test_filter = m.win32_filter()
        if test_filter and self.win32_baseline_error(test_filter):
            return "stale", "the Win32 tests fail on the unchanged tree: " + self.win32_baseline[test_filter][-300:]
        path = os.path.join(self.src, m.file)
        try:
            with open(path, encoding="utf-8") as f:
                original = f.read()
        except OSError:
            original = ""
        count = original.count(m.old)
        if count != 1:
            return "stale", f"'from' occurs {count} times in {m.file}"
        with open(path, "w", encoding="utf-8") as f:
            f.write(original.replace(m.old, m.new, 1))
        try:
            if test_filter:
                if self.build_win32():
                    return "no build", "the changed tree does not compile for Windows"
                status, out = self.run_win32_tests(test_filter)
            else:
                status, out = run(self.build_cmd)
                if status != 0:
                    return "no build", "the changed tree does not compile"
                status, out = self.run_tests()
            if status is None:
                return "caught", f"the tests ran past {self.timeout} s"
            if status != 0:
                names = failed_tests(out)
                if not names:
                    return "caught", "the test binary stopped (sanitizer or crash)"
                return "caught", ", ".join(names[:4]) + (f" (+{len(names) - 4})" if len(names) > 4 else "")
            return ("equivalent", m.equivalent) if m.equivalent else ("SURVIVED", "")
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--list", default=os.path.join(ROOT, "tools", "mutation_check.txt"))
    ap.add_argument("--work", default=os.path.join(ROOT, "build", "mutation"))
    ap.add_argument("--only", default="", help="comma-separated IDs to try")
    ap.add_argument("--jobs", type=int, default=4, help="build jobs in all (shared by the workers)")
    ap.add_argument("--workers", type=int, default=2, help="copies of the tree that try changes side by side")
    ap.add_argument("--filter", default="", help="gtest filter for every run (default: all native tests)")
    ap.add_argument("--timeout", type=int, default=300, help="seconds a test run may take (longer counts as caught)")
    args = ap.parse_args()

    mutations = parse_list(args.list)
    if args.only:
        wanted = set(args.only.split(","))
        mutations = [m for m in mutations if m.ident in wanted]
    count = max(1, min(args.workers, len(mutations)))
    workers = [Worker(os.path.join(args.work, f"w{i + 1}"), max(1, args.jobs // count), args.filter, args.timeout)
               for i in range(count)]
    print(f"Building the unchanged tree in {count} copies under {args.work} ...", flush=True)
    with concurrent.futures.ThreadPoolExecutor(count) as pool:
        for error in pool.map(Worker.prepare, workers):
            if error:
                print(error)
                return 2

    start = time.time()
    pending, pending_win32 = queue.Queue(), queue.Queue()
    for index, m in enumerate(mutations, 1):
        (pending_win32 if m.win32_filter() else pending).put((index, m))
    results = {}
    lock = threading.Lock()

    def work(worker):
        # The first worker alone builds the Windows tree and takes the Win32 changes.
        queues = (pending_win32, pending) if worker is workers[0] else (pending,)
        while True:
            for q in queues:
                try:
                    index, m = q.get_nowait()
                    break
                except queue.Empty:
                    continue
            else:
                return
            verdict, detail = worker.attempt(m)
            with lock:
                results[index] = (m, verdict, detail)
                print(f"[{index}/{len(mutations)}] {m.ident} {m.title}: {verdict}" + (f" - {detail}" if detail else ""),
                      flush=True)

    threads = [threading.Thread(target=work, args=(w,)) for w in workers]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    results = [results[i] for i in sorted(results)]

    tried = [r for r in results if r[1] in ("caught", "SURVIVED", "equivalent")]
    caught = [r for r in results if r[1] == "caught"]
    survived = [r for r in results if r[1] == "SURVIVED"]
    equivalent = [r for r in results if r[1] == "equivalent"]
    broken = [r for r in results if r[1] in ("stale", "no build")]
    print()
    print(f"Changes tried: {len(tried)}  caught: {len(caught)}  survived: {len(survived)}  "
          f"equivalent: {len(equivalent)}  not applied: {len(broken)}  ({time.time() - start:.0f} s)")
    for title, group in (("Survivors", survived), ("Equivalent survivors", equivalent), ("Not applied", broken)):
        if group:
            print(f"{title}:")
            for m, verdict, detail in group:
                print(f"  {m.ident} ({m.file}): {m.title}" + (f" -- {detail}" if detail else ""))
    if broken:
        return 2
    return 1 if survived else 0


if __name__ == "__main__":
    sys.exit(main())
