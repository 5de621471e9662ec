#!/usr/bin/env bash
# Runs one libFuzzer target until it has used SECONDS of CPU time (not wall time: on a shared machine a wall-clock
# limit says little about the work done), in rounds that each restart from the corpus, then merges what it found
# into the committed seed corpus, keeping only inputs that add coverage, and appends one row to SUMMARY.
#   run-fuzzer.sh NAME BINARY SECONDS SEEDS FOUND ARTIFACTS SUMMARY
# A crash or broken invariant stops the target: its input stays in ARTIFACTS (named in the output) and the
# script exits 1 after writing the row.
set -u
name=$1 bin=$2 seconds=$3 seeds=$4 found=$5 artifacts=$6 summary=$7
mkdir -p "$seeds" "$found" "$artifacts"
export LSAN_OPTIONS="suppressions=$(dirname "$(readlink -f "$0")")/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
log="$artifacts/$name.log"
: > "$log"

count() { find "$1" -type f | wc -l; }
bytes() { find "$1" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}'; }
seeds_before="$(count "$seeds") files, $(bytes "$seeds") bytes"

cpu=0 wall=0 executions=0 peak=0 status=ok cov='' features=''
TIMEFORMAT='%R %U %S'
while awk -v c="$cpu" -v s="$seconds" 'BEGIN {exit !(c < s)}'; do
    left=$(awk -v c="$cpu" -v s="$seconds" 'BEGIN {l = int(s - c + 0.999); print (l > 120 ? 120 : (l < 1 ? 1 : l))}')
    times=$( { time "$bin" -max_total_time="$left" -print_final_stats=1 -artifact_prefix="$artifacts/" \
                 "$found" "$seeds" >>"$log" 2>&1; echo "exit $?" >&2; } 2>&1 )
    read -r r u s <<<"$(head -n 1 <<<"$times")"
    code=$(sed -n 's/^exit //p' <<<"$times")
    cpu=$(awk -v c="$cpu" -v u="$u" -v s="$s" 'BEGIN {print c + u + s}')
    wall=$(awk -v w="$wall" -v r="$r" 'BEGIN {print w + r}')
    round=$(tac "$log" | grep -m 1 -o 'number_of_executed_units: *[0-9]*' | grep -o '[0-9]*$')
    executions=$((executions + ${round:-0}))
    rss=$(tac "$log" | grep -m 1 -o 'peak_rss_mb: *[0-9]*' | grep -o '[0-9]*$')
    [ "${rss:-0}" -gt "$peak" ] && peak=$rss
    if [ "${code:-1}" -ne 0 ]; then
        status="FAILED: $(grep -m 1 -o "Test unit written to .*" "$log" | tail -n 1)"
        echo "$name: $status (log: $log)" >&2
        break
    fi
done

if [ "$status" = ok ]; then
    merged=$(mktemp -d)
    # Merging into an empty folder counts the whole corpus as new: its coverage in edges and features.
    if "$bin" -merge=1 "$merged" "$seeds" "$found" >>"$log" 2>&1; then
        cov=$(grep -o 'new features added; [0-9]* new coverage edges' "$log" | tail -n 1 | awk '{print $4}')
        features=$(grep -o '[0-9]* new features added' "$log" | tail -n 1 | awk '{print $1}')
        find "$seeds" -type f -delete
        cp "$merged"/* "$seeds"/ 2>/dev/null
    else
        status="FAILED: merge (log: $log)"
    fi
    rm -rf "$merged"
fi
seeds_after="$(count "$seeds") files, $(bytes "$seeds") bytes"

printf '| %s | %.0f | %.0f | %s | %s | %s | %s -> %s | %s MB | %s |\n' "$name" "$cpu" "$wall" "$executions" \
    "$(awk -v e="$executions" -v c="$cpu" 'BEGIN {printf "%.0f", (c > 0 ? e / c : 0)}')" "${cov:-?} edges, ${features:-?} features" \
    "$seeds_before" "$seeds_after" "$peak" "$status" >> "$summary"
echo "$name: $(tail -n 1 "$summary")"
[ "$status" = ok ]
