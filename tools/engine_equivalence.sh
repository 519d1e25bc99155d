#!/usr/bin/env bash
# Records what the dictionary engine answers, so that a change meant to keep its behaviour can be
# shown to keep it byte for byte:
#
#   bash tools/engine_equivalence.sh [BUILD_DIR [OUT_DIR]]
#
# BUILD_DIR is a built tree (default build/native-release; its dictool and its sample packages
# are used), OUT_DIR where the answers go (default BUILD_DIR/engine-equivalence). Run it before
# and after the change and compare: diff -r BEFORE AFTER must print nothing.
#
# What it asks, over the sample packages and their folder: every side-1 headword of the samples'
# source, every one- to three-letter prefix of them, some texts that are no entry, and
#   dictool find, trans, list, index, transcript  on each package (transcript also on the folder)
#   dictool member                                 every member of each package
#   dictool load, abc (every first letter)         on the folder
#   dictool wordlist (with and without --all)      on the folder
#   dictool translate (every option)               on the folder
# and it rebuilds the four packages from their source (the bytes must be the same).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/native-release}
out=${2:-$build/engine-equivalence}
dictool=$(realpath "$build/tools/dictool/dictool")
folder=$(realpath "$build/Parlavent/Dictionaries")
sources=$(realpath "$build/Program/resources/dictionaries")
jobs=${JOBS:-4}

rm -rf "$out"
mkdir -p "$out/in"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The texts asked: headwords, prefixes, misses (one per line, sorted, no duplicates).
for src in "$sources"/*/*_full.txt "$sources"/*/*_common.txt; do
  awk -F'\t' '($1 == "W" && $2 == "1") { print $3 } $1 == "L" || $1 == "F" { print $2 }' "$src"
done | LC_ALL=C sort -u >"$out/in/heads.txt"
python3 - "$out/in/heads.txt" "$out/in/prefixes.txt" <<'PY'
import sys
heads = [l.rstrip("\n") for l in open(sys.argv[1], encoding="utf-8") if l.strip()]
prefixes = sorted({h[:n] for h in heads for n in (1, 2, 3) if len(h) >= n})
open(sys.argv[2], "w", encoding="utf-8").write("".join(p + "\n" for p in prefixes))
PY
cat >"$out/in/misses.txt" <<'EOF'
xyzzy
Qqqq
Hausxyz
abc def ghi
Die Hunde der Nachbarn bellten laut im Garten
Gartenhund
Haustür
the dogs of my neighbours barked loudly at cats
bluehouse
die Häuser, der Hund
12 Häuser
Hund, Katze
-
 
EOF
cat "$out/in/heads.txt" "$out/in/prefixes.txt" "$out/in/misses.txt" >"$work/all.txt"

packages=("$folder"/*.dic)
members=(Info Replace Themes Prefix Icon Icon1 Icon2 Words Transcript WordsHash WordsSort TransW1 TransW2 Nothing)

# One command per line, arguments separated by TAB; the batch runs them in one process.
{
  for pkg in "${packages[@]}"; do
    for m in "${members[@]}"; do printf 'member\t%s\t%s\n' "$pkg" "$m"; done
  done
  printf 'load\t%s\n' "$folder"
  printf 'abc\t%s\n' "$folder"
  cut -c1 "$out/in/prefixes.txt" | LC_ALL=C sort -u | while IFS= read -r letter; do
    printf 'abc\t%s\t%s\n' "$folder" "$letter"
  done
  while IFS= read -r t; do
    for pkg in "${packages[@]}"; do
      printf 'find\t%s\t%s\n' "$pkg" "$t"
      printf 'trans\t%s\t%s\n' "$pkg" "$t"
      printf 'transcript\t%s\t%s\n' "$pkg" "$t"
      printf 'list\t%s\t%s\t51\n' "$pkg" "$t"
      printf 'index\t%s\t%s\t51\t2\n' "$pkg" "$t"
    done
    # The folder's current dictionary is the first full package, asked above; through the folder
    # it has its common package, where the transcriptions are.
    printf 'transcript\t%s\t%s\n' "$folder" "$t"
    printf 'wordlist\t%s\t%s\n' "$folder" "$t"
    printf 'translate\t%s\t%s\n' "$folder" "$t"
    printf 'translate\t%s\t%s\t--full-text\t--links\n' "$folder" "$t"
    printf 'translate\t%s\t%s\t--one-word\t--on-form\t--plain\n' "$folder" "$t"
    printf 'translate\t%s\t%s\t--tochno\n' "$folder" "$t"
    printf 'translate\t%s\t%s\t--repeat\t--check-dir\t--dir-silent\t--direction\t2\n' "$folder" "$t"
    printf 'translate\t%s\t%s\t--check-dir\t--direction\t1\n' "$folder" "$t"
    printf 'translate\t%s\t%s\t--direction\t0\t--plain\n' "$folder" "$t"
  done <"$work/all.txt"
  # The all list is long: the prefixes and misses only.
  cat "$out/in/prefixes.txt" "$out/in/misses.txt" | while IFS= read -r t; do
    printf 'wordlist\t%s\t%s\t--all\n' "$folder" "$t"
  done
} >"$work/commands.txt"

# Shards in parallel, each in its own process; the answers are joined in command order.
split -n "l/$jobs" -d "$work/commands.txt" "$work/shard."
for shard in "$work"/shard.*; do
  "$dictool" batch <"$shard" >"$shard.out" 2>"$shard.err" &
done
fail=0
for job in $(jobs -p); do wait "$job" || fail=1; done
cat "$work"/shard.*.out | sed "s#$folder#FOLDER#g" >"$out/answers.txt"
cat "$work"/shard.*.err | sed "s#$folder#FOLDER#g" >"$out/errors.txt"
[ "$fail" = 0 ] || echo "engine_equivalence: some command failed (exit codes are in answers.txt)"

# The packages rebuilt from their source (the folder also holds the steps they are made from).
for src in "$sources"/*/*_full.txt "$sources"/*/*_common.txt; do
  name=$(basename "$src" .txt)
  opts=()
  case "$name" in *_full) opts=(--without-transcriptions) ;; esac
  "$dictool" build "${opts[@]}" "$src" "$work/$name.dic" 2>/dev/null
  echo "$(sha256sum <"$work/$name.dic" | cut -d' ' -f1)  $name.dic (rebuilt)"
  echo "$(sha256sum <"$folder/$name.dic" | cut -d' ' -f1)  $name.dic (built)"
done >"$out/packages.txt"

echo "engine_equivalence: $(wc -l <"$work/commands.txt") commands, $(wc -c <"$out/answers.txt") bytes of answers in $out"
