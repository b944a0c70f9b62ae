#!/usr/bin/env bash
# Drives wavetrap-catalogue through its commands in a temporary folder.
set -u
tool="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() {  # check WHAT EXPECTED ACTUAL
    if [[ "$2" != "$3" ]]; then
        echo "FAIL: $1"; echo "  expected: $(printf '%q' "$2")"; echo "  actual:   $(printf '%q' "$3")"
        failures=$((failures + 1))
    fi
}

# Import into a missing catalogue: the ID column may be empty; quoted fields keep commas,
# quotes and line breaks.
printf 'ID,Genre,Title,BitRate,URL\r\n,Rock,"Loud, ""live""",128,http://r/\r\n7,pop,"Two\nlines",,http://p/\r\n' > "$dir/a.csv"
out=$("$tool" "$dir/data.db" import "$dir/a.csv"); check "import status" 0 $?
check "import message" "Added 2 stations." "$out"
check "catalogue size" $((229 + 2 * 443)) "$(stat -c %s "$dir/data.db")"

# Without the ID column; IDs continue from the largest.
printf 'Genre,Title,BitRate,URL\nAmbient,Calm,64,http://a/\n' > "$dir/b.csv"
"$tool" "$dir/data.db" import "$dir/b.csv" > /dev/null; check "second import status" 0 $?

expected=$(printf 'ID,Genre,Title,BitRate,URL\r\n1,Rock,"Loud, ""live""",128,http://r/\r\n2,pop,"Two\nlines",0,http://p/\r\n3,Ambient,Calm,64,http://a/\r\n')
check "export" "$expected" "$("$tool" "$dir/data.db" export)"
check "genres" "$(printf 'Ambient\npop\nRock')" "$("$tool" "$dir/data.db" genres)"

# An exported catalogue imports into a new one unchanged.
"$tool" "$dir/data.db" export > "$dir/round.csv"
"$tool" "$dir/copy.db" import "$dir/round.csv" > /dev/null
check "round trip" "$(cat "$dir/round.csv")" "$("$tool" "$dir/copy.db" export)"

"$tool" "$dir/data.db" publish "$dir/site" --catalogue-version 12 --program-version 3; check "publish status" 0 $?
check "upd.db is the catalogue" "" "$(cmp "$dir/data.db" "$dir/site/upd.db" 2>&1)"
check "upd.txt" "$(printf '012\r\n003\r\n' | od -c)" "$(od -c < "$dir/site/upd.txt")"
"$tool" publish "$dir/site2" --from "$dir/data.db" --catalogue-version 5 --program-version 2; check "publish --from" 0 $?
check "publish --from upd.txt" "$(printf '005\r\n002\r\n' | od -c)" "$(od -c < "$dir/site2/upd.txt")"

# Refusals: non-zero status and the message on stderr; a bad CSV adds nothing.
printf 'ID,Genre,Title,BitRate,URL\n,G,T,64,http://ok/\n,G,T,fast,http://x/\n' > "$dir/bad.csv"
err=$("$tool" "$dir/data.db" import "$dir/bad.csv" 2>&1 >/dev/null); check "bad bit rate status" 1 $?
check "bad bit rate message" "CSV line 3: 'fast' is not a valid bit rate" "$err"
check "nothing added" $((229 + 3 * 443)) "$(stat -c %s "$dir/data.db")"
printf 'Name,URL\nx,y\n' > "$dir/head.csv"
err=$("$tool" "$dir/data.db" import "$dir/head.csv" 2>&1); check "bad header status" 1 $?
check "bad header message" "CSV line 1: the header must be ID,Genre,Title,BitRate,URL" "$err"
printf 'not a catalogue' > "$dir/junk.db"
err=$("$tool" "$dir/junk.db" export 2>&1); check "junk status" 1 $?
check "junk message" "Not a binary data set file." "$err"
"$tool" "$dir/missing.db" genres > /dev/null 2>&1; check "missing file status" 1 $?
check "missing file not created" "no" "$([[ -e "$dir/missing.db" ]] && echo yes || echo no)"
"$tool" "$dir/data.db" publish "$dir/site" --catalogue-version 1000 --program-version 3 2> /dev/null
check "version out of range" 2 $?
"$tool" "$dir/data.db" frobnicate 2> /dev/null; check "unknown command" 2 $?

# Without a file the tool works on the user's catalogue in the XDG data folder, as the program.
mkdir -p "$dir/xdg/wavetrap"
cp "$dir/data.db" "$dir/xdg/wavetrap/data.db"
check "default catalogue" "$("$tool" "$dir/data.db" genres)" "$(HOME="$dir/home" XDG_DATA_HOME="$dir/xdg" "$tool" genres)"
HOME="$dir/home" XDG_DATA_HOME="$dir/xdg" "$tool" import "$dir/b.csv" > /dev/null; check "default import" 0 $?
check "default import landed" $(( $(stat -c %s "$dir/data.db") + 443 * $(tail -n +2 "$dir/b.csv" | wc -l) )) \
    "$(stat -c %s "$dir/xdg/wavetrap/data.db")"
help=$("$tool" --help); check "help status" 0 $?
check "help names the default" yes "$([[ $help == *'$XDG_DATA_HOME/wavetrap/'* ]] && echo yes || echo no)"

[[ $failures -eq 0 ]] && echo "all checks passed"
exit $((failures > 0))
