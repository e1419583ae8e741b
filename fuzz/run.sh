#!/usr/bin/env bash
# Builds the fuzz targets with clang (into build-fuzz/) and runs each of them in turn
# for the given number of seconds, at the lowest priority.
#   fuzz/run.sh [seconds per target] [target...]
# Targets: profile font_widths race_options collada image high_scores wave
# driving_line (all by default). FUZZ_RUNS caps the inputs per target as well. The seeds come from the
# generated game data in build/bin/data (make build), the test fixtures and
# fuzz/seeds; every target keeps its growing corpus in build-fuzz/corpus/<target>/
# and writes what it finds to build-fuzz/findings/<target>/. Exits non-zero when any
# target found something.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(profile font_widths race_options collada image high_scores wave driving_line)
fi
build=$root/build-fuzz
data=$root/build/bin/data
if [[ ! -d $data ]]; then
    echo "fuzz: no generated game data in $data: run make build first" >&2
    exit 1
fi

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja "${launcher[@]}" >/dev/null
nice -n 19 cmake --build "$build"

# Fresh seeds every run; the corpus of earlier runs is kept.
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{profile,font_widths,race_options,collada,image,high_scores,wave,driving_line}
cp "$root"/tests/Data/fixtures/*.profile "$seeds/profile/"
cp "$data"/images/Fonts/*.ini "$seeds/font_widths/"
cp "$root"/fuzz/seeds/race_options/* "$seeds/race_options/"
cp "$root"/fuzz/seeds/high_scores/* "$seeds/high_scores/"
find "$data" -name '*.dae' -exec cp {} "$seeds/collada/" \;
mapfile -t pictures < <(find "$data" \( -name '*.png' -o -name '*.jpg' \) | sort)
"$build/make_image_seeds" "$seeds/image" "${pictures[@]}"
# The sounds' headers and first samples: whole sounds would make every run slow.
for sound in "$data"/sounds/*.wav; do
    head -c 4096 "$sound" >"$seeds/wave/$(basename "$sound")"
done
cp "$data"/tracks/*.line "$seeds/driving_line/"

export LSAN_OPTIONS=suppressions=$root/fuzz/lsan-suppressions.txt
status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    findings=$build/findings/$target
    mkdir -p "$corpus" "$findings"
    options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
             -close_fd_mask=3 -artifact_prefix="$findings/")
    if [[ -n ${FUZZ_RUNS:-} ]]; then
        options+=(-runs="$FUZZ_RUNS")
    fi
    if [[ -f $root/fuzz/$target.dict ]]; then
        options+=(-dict="$root/fuzz/$target.dict")
    fi
    # Importing a large model takes a good part of a second: mutate the small ones.
    if [[ $target == collada ]]; then
        options+=(-max_len=32768)
    fi
    if [[ $target == wave ]]; then
        options+=(-max_len=8192)
    fi
    echo "=== fuzz_$target: up to $seconds s"
    # The processor time tells how much the target ran on a busy machine.
    TIMEFORMAT="=== fuzz_$target: %R s elapsed, %U s user and %S s system processor time"
    found=0
    time (cd "$build" && nice -n 19 "./fuzz_$target" "${options[@]}" "$corpus" "$seeds/$target") ||
        found=1
    if ((found)); then
        echo "=== fuzz_$target found a problem: see $findings" >&2
        status=1
    fi
done
exit $status
