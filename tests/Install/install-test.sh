#!/bin/bash
# The game installed into a scratch prefix, then started as an installed game: from a
# program folder that nobody writes to, it must write only below the XDG folders named
# in the environment. Then the menu entry is validated and the Debian package's file
# list checked. Arguments: the build folder and the test fixtures folder.
set -euo pipefail
# The sanitizer run preloads its libraries for the game; in this shell they would
# report the shell's own leaks whenever a subshell ends, and fail it.
game_preload=${LD_PRELOAD:-}
unset LD_PRELOAD
build=$1
fixtures=$2
scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

prefix=$scratch/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/Brumbly bin/brumbly lib/brumbly/libGame.so share/brumbly/shaders/default.vert \
    share/brumbly/data/vehicles/jeep/jeep1_xsi.dae share/applications/brumbly.desktop \
    share/icons/hicolor/256x256/apps/brumbly.png; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
done
[ "$(readlink "$prefix/bin/brumbly")" = Brumbly ] || fail "bin/brumbly is no link to Brumbly"
desktop-file-validate "$prefix/share/applications/brumbly.desktop" || fail "menu entry refused"

# A computer driver in the player's data folder; nothing else there.
export HOME=$scratch/home XDG_DATA_HOME=$scratch/xdg-data XDG_CONFIG_HOME=$scratch/xdg-config \
    XDG_STATE_HOME=$scratch/xdg-state
mkdir -p "$HOME" "$XDG_DATA_HOME/brumbly/profiles" "$scratch/cwd"
sed -e 's|<Name>.*</Name>|<Name>Hal</Name>|' -e 's|<AIEnabled>0|<AIEnabled>1|' \
    "$fixtures/version7.profile" >"$XDG_DATA_HOME/brumbly/profiles/Hal.profile"
chmod -R a-w "$prefix"
touch "$scratch/before"
sleep 1

cd "$scratch/cwd"
export ALSOFT_DRIVERS=null
LD_PRELOAD="$game_preload" "$prefix/bin/brumbly" --race --driver Hal --benchmark 2 >"$scratch/figures" ||
    fail "the installed game's race failed"
grep -q 'frames' "$scratch/figures" || fail "no benchmark figures: $(cat "$scratch/figures")"
grep -q "Hal" "$XDG_STATE_HOME/brumbly/Brumbly.log" || fail "the race's log does not name the driver"
QT_QPA_PLATFORM=offscreen timeout 3 env LD_PRELOAD="$game_preload" "$prefix/bin/brumbly" && fail "the launcher left at once"

written=$(find "$scratch" -newer "$scratch/before" -type f ! -path "$scratch/xdg-*" \
    ! -path "$scratch/figures")
[ -z "$written" ] || fail "written outside the XDG folders: $written"
[ -s "$XDG_STATE_HOME/brumbly/Brumbly.log" ] || fail "no log in \$XDG_STATE_HOME/brumbly"
[ -d "$XDG_DATA_HOME/brumbly/profiles" ] || fail "no profiles folder"

# The package holds the same files in the usual places.
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack failed"
package=$(ls -t "$build"/brumbly_*.deb | head -1)
contents=$(dpkg-deb -c "$package")
for file in ./usr/bin/Brumbly ./usr/bin/brumbly ./usr/lib/brumbly/libGame.so \
    ./usr/share/brumbly/shaders/default.vert ./usr/share/applications/brumbly.desktop \
    ./usr/share/icons/hicolor/256x256/apps/brumbly.png; do
    grep -q " $file" <<<"$contents" || fail "not in the package: $file"
done
dpkg-deb -f "$package" Depends | grep -q libqt6widgets6 || fail "the package does not depend on Qt"
echo "install test passed"
