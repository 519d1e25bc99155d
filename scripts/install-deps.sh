#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the sample dictionaries need.
# Idempotent and quick when everything is there. Run as root (or with sudo available).
set -euo pipefail

packages=(
  # toolchains
  cmake ninja-build g++ clang python3
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  # widl compiles the type library; it imports oaidl.idl from Wine's development files
  libwine-dev
  # tests, benchmarks and fuzzing
  libgtest-dev libgmock-dev googletest libbenchmark-dev libclang-rt-14-dev
  # running the Windows program: Wine in a virtual X display, and screenshots
  wine wine64 fonts-wine fonts-liberation xvfb xauth x11-utils imagemagick
  # data: the case-mapping source and the FreeDict dictionaries the samples are built from;
  # eng-deu, the largest, for the importer's tests and the benchmarks
  unicode-data dict-freedict-deu-rus dict-freedict-eng-rus dict-freedict-eng-deu dictzip
  # the word forms of the samples: Hunspell dictionaries, expanded by unmunch of hunspell-tools
  hunspell-de-de hunspell-ru hunspell-en-us hunspell-tools
  # Debian's dictd indexer, which scripts/bench.sh times beside the package builder
  dictfmt
  # the transcription font is renamed from Doulos SIL with fontTools
  fonts-sil-doulos python3-fonttools
  # dictool reads the dictd databases (.dict.dz) through zlib, natively and in its Windows build
  zlib1g-dev libz-mingw-w64-dev
  # the help files are compiled from HTML by chmcmd
  fp-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
