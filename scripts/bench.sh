#!/usr/bin/env bash
# Benchmarks, on the release build.
#
#   bash scripts/bench.sh [REGEX [benchmark options]]   the search, look-up and opening benchmarks (bench/):
#       builds the large package from Debian's dict-freedict-eng-deu, runs the benchmarks matching
#       REGEX on it and on the de-ru sample, and prints the ratios to the in-memory reference. The
#       JSON goes to build/native-release/bench_search.json.
#   bash scripts/bench.sh build
#       builds the same package from the same files beside Debian's dictd indexer (dictfmt, then
#       dictzip) and prints, in one run, the time and peak memory of each step, their ratios, the
#       size of every section of the package and whether two builds gave the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset native-release >/dev/null
cmake --build --preset native-release -j"$(nproc)"

build=build/native-release
dictool=$build/tools/dictool/dictool
dictd=/usr/share/dictd/freedict-eng-deu
large=$build/bench/en-de_full.dic
mkdir -p "$build/bench"

import_large() { "$dictool" import-dictd --head bench/en-de.head.txt "$dictd.index" "$dictd.dict.dz" "$1"; }

if [ "${1:-}" = "build" ]; then
  work=$build/bench/build
  rm -rf "$work"
  mkdir -p "$work"
  # dictfmt reads the raw text that dictunformat makes of the database: the same entries the
  # importer reads. Making it is preparation, not part of either build.
  zcat "$dictd.dict.dz" | dictunformat "$dictd.index" >"$work/eng-deu.raw"
  python3 - "$work" "$dictool" "$dictd" <<'PY'
import os, resource, subprocess, sys, time
work, dictool, dictd = sys.argv[1:4]

def run(name, cmd, stdin=None):
    """Runs cmd in a process of its own; wall time, CPU time and peak resident memory."""
    probe = ("import resource, subprocess, sys, time\n"
             "t = time.perf_counter()\n"
             "r = subprocess.run(sys.argv[2:], stdin=open(sys.argv[1]) if sys.argv[1] else None,\n"
             "                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)\n"
             "wall = time.perf_counter() - t\n"
             "u = resource.getrusage(resource.RUSAGE_CHILDREN)\n"
             "sys.stderr.buffer.write(r.stderr)\n"
             "print(wall, u.ru_utime + u.ru_stime, u.ru_maxrss, r.returncode)\n")
    out = subprocess.run([sys.executable, "-c", probe, stdin or ""] + cmd, capture_output=True, text=True)
    wall, cpu, rss, rc = out.stdout.split()
    if int(rc) != 0:
        sys.exit(f"{name} failed:\n{out.stderr}")
    return {"name": name, "wall": float(wall), "cpu": float(cpu), "mb": int(rss) / 1024, "log": out.stderr}

source = f"{work}/en-de.txt"
steps = [
    run("dictfmt (dictd index and data)", ["dictfmt", "-t", "--utf8", "--allchars", "-s", "English-German",
                                           f"{work}/dictd"], stdin=f"{work}/eng-deu.raw"),
    run("dictzip (compressed data)", ["dictzip", "-k", f"{work}/dictd.dict"]),
    run("dictool import-dictd", [dictool, "import-dictd", "--head", "bench/en-de.head.txt",
                                 f"{dictd}.index", f"{dictd}.dict.dz", source]),
    run("dictool build", [dictool, "build", source, f"{work}/en-de_full.dic"]),
]
again = run("dictool build, again", [dictool, "build", source, f"{work}/en-de_again.dic"])
fmt, zipped, imp, bld = steps
print(f"\n{'step':34} {'wall s':>8} {'cpu s':>8} {'peak MB':>8}")
for s in steps + [again]:
    print(f"{s['name']:34} {s['wall']:8.2f} {s['cpu']:8.2f} {s['mb']:8.1f}")
indexer = fmt["wall"] + zipped["wall"]
ours = imp["wall"] + bld["wall"]
print(f"\nbuild / dictfmt:                                   {bld['wall'] / fmt['wall']:.2f} (wall), "
      f"{bld['cpu'] / fmt['cpu']:.2f} (cpu)")
print(f"import + build / dictfmt + dictzip:                {ours / indexer:.2f} (wall)")
print(f"peak memory, build / import:                       {bld['mb']:.0f} MB / {imp['mb']:.0f} MB (limit 300 MB)")
same = open(f"{work}/en-de_full.dic", "rb").read() == open(f"{work}/en-de_again.dic", "rb").read()
print(f"two builds of the same source:                     {'identical bytes' if same else 'DIFFERENT BYTES'}")
print("\nimport report:\n" + imp["log"])
print("package, bytes per member:")
total = 0
for line in bld["log"].splitlines():
    if line.startswith("  "):
        name, size = line.split()
        total += int(size)
        print(f"  {name:12} {int(size):>12,}")
print(f"  {'package':12} {os.path.getsize(work + '/en-de_full.dic'):>12,}")
print(f"dictd files: {os.path.getsize(work + '/dictd.index'):,} index, {os.path.getsize(work + '/dictd.dict'):,} data, "
      f"{os.path.getsize(work + '/dictd.dict.dz'):,} compressed data")
if not same:
    sys.exit(1)
PY
  exit 0
fi

if [ ! -f "$large" ] || [ bench/en-de.head.txt -nt "$large" ] || [ "$dictool" -nt "$large" ]; then
  import_large "$build/bench/en-de.txt"
  "$dictool" build "$build/bench/en-de.txt" "$large"
fi

# A small package of the same members and the first entries of the same source (about 6 MB): what
# opening costs beside the large one, with nothing different but the size.
small=$build/bench/small/en-de_full.dic
if [ ! -f "$small" ] || [ "$large" -nt "$small" ]; then
  mkdir -p "$build/bench/small"
  head -n 75000 "$build/bench/en-de.txt" >"$build/bench/small/en-de.txt"
  "$dictool" build "$build/bench/small/en-de.txt" "$small" 2>/dev/null
fi

PARLAVENT_BENCH_SAMPLE=$build/Parlavent/Dictionaries/de-ru_full.dic PARLAVENT_BENCH_LARGE=$large \
  PARLAVENT_BENCH_SMALL=$small \
  "$build/bench/parlavent_bench" --benchmark_filter="${1:-.}" --benchmark_out="$build/bench_search.json" \
  --benchmark_out_format=json --benchmark_min_time=0.5 "${@:2}"

python3 - "$build/bench_search.json" <<'PY'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"] if "error_occurred" not in b}
def ns(name):
    b = runs.get(name)
    return b and b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
print("\nratios to the in-memory std::unordered_map look-up of the same words:")
for package in ("sample_de_ru", "large_en_de"):
    ref = ns("UnorderedMap/" + package)
    if not ref:
        continue
    for op in ("FindWord", "GetTransRecs", "FindSorted51", "FindSortedIndex51"):
        t = ns(op + "/" + package)
        if t:
            print(f"  {op + '/' + package:32} {t / 1000:9.2f} us  {t / ref:7.1f} x")
PY
