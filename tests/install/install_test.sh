#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the program there as an unprivileged
# user with a temporary HOME, offscreen: its files land in that user's XDG folders and nothing
# is written into the prefix. Then the same program in portable mode keeps its files beside
# itself. Usage: install_test.sh BUILD_DIR
set -u
build="$1"
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2> /dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() {  # check WHAT EXPECTED ACTUAL
    if [[ "$2" != "$3" ]]; then
        echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}
# Waits up to 30 s for every file given to exist; true when they all do.
await_files() {
    for _ in $(seq 300); do
        local all=yes
        for f in "$@"; do [[ -e "$f" ]] || all=no; done
        [[ $all == yes ]] && return 0
        sleep 0.1
    done
    return 1
}

user=nobody
if [[ $(id -u) -ne 0 ]]; then
    echo "SKIP: changing to an unprivileged user needs root"; exit 77
fi
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; exit 1; }
for f in bin/wavetrap bin/wavetrap-settings bin/wavetrap-catalogue bin/wavetrap-rip share/wavetrap/Help.html \
         share/applications/wavetrap.desktop share/metainfo/io.github.wavetrap.Wavetrap.metainfo.xml \
         share/icons/hicolor/scalable/apps/wavetrap.svg share/icons/hicolor/48x48/apps/wavetrap.png \
         share/icons/hicolor/256x256/apps/wavetrap.png share/man/man1/wavetrap.1.gz \
         share/man/man1/wavetrap-settings.1.gz share/man/man1/wavetrap-catalogue.1.gz \
         share/man/man1/wavetrap-rip.1.gz share/doc/wavetrap/copyright; do
    check "installed $f" yes "$([[ -f "$prefix/$f" ]] && echo yes || echo no)"
done
# The prefix is the root's and read-only to the user, as /usr is.
chmod -R go-w "$prefix"
chmod 755 "$work"
home="$work/home"
mkdir -p "$home" && chown "$user" "$home"
stamp="$work/stamp" && touch "$stamp"

run_as_user() {  # run_as_user HOME PROGRAM: in the background, offscreen, with an empty environment
    setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups \
        env -i HOME="$1" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$1/run" "$2" \
        > "$work/out.log" 2>&1 &
    pids+=($!)
}
mkdir -p "$home/run" && chown "$user" "$home/run" && chmod 700 "$home/run"
as_user() { setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups env -i HOME="$home" PATH=/usr/bin:/bin "$@"; }

# The start-up version check asks the update server; a loopback one, published with the tool,
# answers at once that this version is current.
printf 'Genre,Title,BitRate,URL\nRock,One,128,http://127.0.0.1:9/\n' > "$work/one.csv"
"$prefix/bin/wavetrap-catalogue" "$work/one.db" import "$work/one.csv" > /dev/null
"$prefix/bin/wavetrap-catalogue" publish "$work/site" --from "$work/one.db" --catalogue-version 1 --program-version 0
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" > "$work/http.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q 'port [0-9]' "$work/http.log" && break; sleep 0.1; done
port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/http.log" | head -n 1)
# The tool writes the user's own settings file, making its folder, before the program ever ran.
as_user "$prefix/bin/wavetrap-settings" set-text UpdateServer "http://127.0.0.1:$port"; check "tool status" 0 $?
check "tool made the user's settings" yes "$([[ -f "$home/.config/wavetrap/cfg.dat" ]] && echo yes || echo no)"
run_as_user "$home" "$prefix/bin/wavetrap"
pid=${pids[-1]}
if await_files "$home/.config/wavetrap/cfg.dat" "$home/.local/share/wavetrap/data.db" "$home/run/WavetrapMutex.lock"; then
    # The files are made as the window is created; the program then waits for the user.
    check "program still running (window up, no error)" yes "$(kill -0 "$pid" 2> /dev/null && echo yes || echo no)"
else
    echo "FAIL: the user's files did not appear"; ls -laR "$home"; cat "$work/out.log"
    failures=$((failures + 1))
fi
check "catalogue owned by the user" "$user" "$(stat -c %U "$home/.local/share/wavetrap/data.db" 2> /dev/null)"
check "config folder for the user alone" 700 "$(stat -c %a "$home/.config/wavetrap" 2> /dev/null)"
check "cache folder made" yes "$([[ -d "$home/.cache/wavetrap" ]] && echo yes || echo no)"
check "nothing written in the prefix" "" "$(find "$prefix" -newer "$stamp")"
check "no error printed" "" "$(grep -i 'cannot\|error\|denied' "$work/out.log")"
kill -9 "$pid" 2> /dev/null; wait "$pid" 2> /dev/null

# The tools find the same files by default.
check "wavetrap-settings reads the user's file" 1 "$(as_user "$prefix/bin/wavetrap-settings" get DatabaseVersion 2>&1)"
check "wavetrap-catalogue reads the user's catalogue" "" "$(as_user "$prefix/bin/wavetrap-catalogue" genres 2>&1)"

# Portable mode: a program folder holding cfg.dat keeps everything there.
portable="$work/stick"
mkdir -p "$portable" && cp "$prefix/bin/wavetrap" "$prefix/share/wavetrap/Help.html" "$portable/"
chown -R "$user" "$portable"
home2="$work/home2"
mkdir -p "$home2/run" && chown -R "$user" "$home2" && chmod 700 "$home2/run"
# As above, the version check goes to the loopback server.
"$prefix/bin/wavetrap-settings" "$portable/cfg.dat" set-text UpdateServer "http://127.0.0.1:$port" && chown "$user" "$portable/cfg.dat"
run_as_user "$home2" "$portable/wavetrap"
pid=${pids[-1]}
if await_files "$portable/data.db"; then
    check "portable program running" yes "$(kill -0 "$pid" 2> /dev/null && echo yes || echo no)"
else
    echo "FAIL: portable files did not appear"; ls -la "$portable"; cat "$work/out.log"
    failures=$((failures + 1))
fi
check "portable mode leaves HOME alone" "" "$(ls -A "$home2" | grep -v '^run$')"
kill -9 "$pid" 2> /dev/null; wait "$pid" 2> /dev/null

[[ $failures -eq 0 ]] && echo "all checks passed"
exit $((failures > 0))
