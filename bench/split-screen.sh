#!/bin/bash
# Median frame time of a one-person race and of a two-person split-screen race at
# 1024 x 768 on each detail level, through the launcher's --benchmark, in one run.
# Usage: bench/split-screen.sh [SECONDS per race, default 20] [BIN folder, default build/bin]
# Two scratch drivers are saved beside the program for the run and removed afterwards;
# config.ini is written in a scratch folder that the races run in.
set -euo pipefail
seconds=${1:-20}
bin=$(realpath "${2:-build/bin}")
source_dir=$(dirname "$(realpath "$0")")/..
scratch=$(mktemp -d)
drivers=(BenchSplitAnn BenchSplitBen)
cleanup() {
    for name in "${drivers[@]}"; do rm -f "$bin/profiles/$name.profile"; done
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$bin/profiles"
# A keyboard driver each: Ann on the arrow keys, Ben on W, S, A, D.
sed -e "s/Ann &amp; Co/${drivers[0]}/" "$source_dir/tests/Data/fixtures/version7.profile" \
    >"$bin/profiles/${drivers[0]}.profile"
sed -e "s/Ann &amp; Co/${drivers[1]}/" -e 's/<Accelerate>38/<Accelerate>87/' \
    -e 's/<Brake>40/<Brake>83/' -e 's/<SreerLeft>37/<SreerLeft>65/' \
    -e 's/<SteerRight>39/<SteerRight>68/' "$source_dir/tests/Data/fixtures/version7.profile" \
    >"$bin/profiles/${drivers[1]}.profile"

headless=()
[ -z "${DISPLAY:-}" ] && headless=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")
figure() { sed -n "s/^$1 //p" "$2"; }
printf '%-7s %-7s %16s %20s %18s\n' detail people frame_median_ms processor_median_ms \
    physics_ms
for detail in 0 1 2; do
    printf '[VideoOptions]\nXResolution=1024\nYResolution=768\nFullscreen=0\nDetail=%s\n' \
        "$detail" >"$scratch/config.ini"
    printf 'SplitScreen=1\n[AudioOptions]\nSoundVolume=0\nMusicVolume=0\n' >>"$scratch/config.ini"
    for people in 1 2; do
        arguments=(--race --benchmark "$seconds")
        for ((i = 0; i < people; ++i)); do arguments+=(--driver "${drivers[i]}"); done
        (cd "$scratch" && "${headless[@]}" "$bin/Brumbly" "${arguments[@]}" \
            >"$scratch/figures" 2>"$scratch/log")
        printf '%-7s %-7s %16s %20s %18s\n' "$(sed -n "$((detail + 1))p" <<<$'Low\nMedium\nHigh')" \
            "$people" "$(figure frame_median_ms "$scratch/figures")" \
            "$(figure frame_processor_median_ms "$scratch/figures")" \
            "$(figure physics_per_frame_ms "$scratch/figures")"
    done
done
