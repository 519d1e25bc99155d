#!/usr/bin/env bash
# Builds the release tools and benchmarks, builds the large benchmark package from Debian's
# dict-freedict-eng-deu (installed here, as only the benchmarks need it), runs the search
# benchmarks on it and on the de-ru sample, and prints the figures with their ratios to the
# in-memory reference. The JSON goes to build/native-release/bench_search.json.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
if ! dpkg-query -W -f='${Status}' dict-freedict-eng-deu 2>/dev/null | grep -q "install ok installed"; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y -qq --no-install-recommends dict-freedict-eng-deu >/dev/null
fi

cmake --preset native-release >/dev/null
cmake --build --preset native-release -j"$(nproc)"

build=build/native-release
large=$build/bench/en-de_full.dic
if [ ! -f "$large" ] || [ bench/en-de.head.txt -nt "$large" ]; then
  mkdir -p "$build/bench"
  "$build/tools/dictool/dictool" import-dictd --head bench/en-de.head.txt \
    /usr/share/dictd/freedict-eng-deu.index /usr/share/dictd/freedict-eng-deu.dict.dz "$build/bench/en-de.txt"
  "$build/tools/dictool/dictool" build "$build/bench/en-de.txt" "$large"
fi

PARLAVENT_BENCH_SAMPLE=$build/Parlavent/Dictionaries/de-ru_full.dic PARLAVENT_BENCH_LARGE=$large \
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
