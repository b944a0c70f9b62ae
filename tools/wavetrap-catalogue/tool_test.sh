#!/usr/bin/env bash
# Drives wavetrap-catalogue through its commands in a temporary folder.
set -u
tool="$1"
fixtures="$2"
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

# A CSV with a bogus bit rate and an address longer than the field: the station with the bogus
# rate is added with 0, the long address is refused, the rest go on.
long="http://127.0.0.1/$(printf 'a%.0s' $(seq 1 190))"
printf 'Genre,Title,BitRate,URL\nRock,Huge,34400400,http://huge/\nRock,Long,128,%s\nRock,Fine,96,http://fine/\n' "$long" > "$dir/odd.csv"
out=$("$tool" "$dir/odd.db" import "$dir/odd.csv"); check "odd csv status" 0 $?
check "odd csv summary" "$(printf 'Added 2 of 3 stations.\nRefused 1 station: 1 with an address over 200 characters.\n1 station added with bit rate 0 (unknown): the list'"'"'s figure was outside 0 to 32767.\nRefused CSV line 3: "Long": its stream address has 207 characters; the catalogue holds at most 200.')" "$out"
check "odd csv stations" "$(printf 'ID,Genre,Title,BitRate,URL\r\n1,Rock,Huge,0,http://huge/\r\n2,Rock,Fine,96,http://fine/\r\n')" "$("$tool" "$dir/odd.db" export)"

# A radio-browser export and playlists, recognised by content whatever their names.
out=$("$tool" "$dir/rb.db" import "$fixtures/stations.json"); check "export import status" 0 $?
check "export import first line" "Added 7 of 11 stations." "$(head -1 <<< "$out")"
check "export genres" "$(printf 'ambient\nelectronic\nImported\njazz\npop\nrock')" "$("$tool" "$dir/rb.db" genres)"
printf '#EXTM3U\n#EXTINF:-1,Mine\nhttp://127.0.0.1/mine\n' > "$dir/list.txt"
out=$("$tool" "$dir/rb.db" import "$dir/list.txt" --genre "My List"); check "m3u import" "Added 1 station." "$out"
check "m3u genre" "My List" "$("$tool" "$dir/rb.db" genres | grep My)"
printf 'no list here' > "$dir/nothing.txt"
err=$("$tool" "$dir/rb.db" import "$dir/nothing.txt" 2>&1); check "unknown list status" 1 $?
check "unknown list message" "Not a station list: expected an M3U, PLS or XSPF playlist or a radio-browser JSON export." "$err"

# An update folder straight from an export.
out=$("$tool" publish "$dir/rbsite" --from-list "$fixtures/stations.json" --genre Directory --catalogue-version 7 --program-version 2)
check "publish list status" 0 $?
check "publish list upd.txt" "$(printf '007\r\n002\r\n' | od -c)" "$(od -c < "$dir/rbsite/upd.txt")"
check "publish list genres" "Directory" "$("$tool" "$dir/rbsite/upd.db" genres)"
check "publish list leaves no work file" "upd.db upd.txt" "$(cd "$dir/rbsite" && echo *)"
"$tool" publish "$dir/badsite" --from-list "$dir/nothing.txt" --catalogue-version 7 --program-version 2 2> /dev/null
check "publish bad list status" 1 $?
check "publish bad list leaves nothing" "" "$(ls "$dir/badsite")"

[[ $failures -eq 0 ]] && echo "all checks passed"
exit $((failures > 0))
