#!/bin/sh
# cehost-test and the simulator's exit codes, played against the notebook: a script that passes, one whose
# expectation fails, one that is malformed; the report lines, the closing count, the JUnit report, what a
# failure leaves behind; screenshots compared with and without a tolerance; a missing golden and a goldens
# folder that does not exist.
#
# usage: runner-test.sh CEHOST_TEST APP WORK_DIR
set -u
runner=$1
app=$2
work=$3
fail() {
    echo "runner test: $*" >&2
    exit 1
}
rm -rf "$work"
mkdir -p "$work/state"
# The application runs below directly keep their state here.
LXEDB_DIR=$work/state
CEHOST_REGISTRY=$work/state/registry.db
export LXEDB_DIR CEHOST_REGISTRY

printf 'wait 20\nexpect text "Gym plan"\nscreenshot list\n' >"$work/good.keys"
printf 'wait 20\nexpect text "Gym plan"\nexpect text "No such note"\n' >"$work/bad.keys"
printf 'wait 20\nexpect text "unclosed\n' >"$work/malformed.keys"

"$runner" --app "$app" --shots "$work/shots" --junit "$work/junit.xml" --jobs 2 \
    "$work/good.keys" "$work/bad.keys" "$work/malformed.keys" >"$work/report.txt"
status=$?
cat "$work/report.txt"
[ $status = 1 ] || fail "cehost-test exited with $status with two scripts failing, not 1"
grep -q '^passed good ' "$work/report.txt" || fail "no line says good.keys passed"
grep -q '^failed bad .*bad.keys: line 3: expected text "No such note" on the screen; visible: .*"Gym plan"' \
    "$work/report.txt" || fail "the line of bad.keys does not give its first failure"
grep -q '^failed malformed .*line 2: text without closing quote' "$work/report.txt" ||
    fail "the line of malformed.keys does not say why it was refused"
[ "$(tail -n 1 "$work/report.txt")" = "1 passed, 2 failed" ] || fail "the report does not close with the count"
[ -s "$work/shots/good/list.png" ] || fail "the passing script's screenshot is not in its folder"
[ -s "$work/shots/bad/failure-3.png" ] || fail "the failed expectation left no failure-3.png"
grep -q '"text": "Gym plan"' "$work/shots/bad/failure-3.json" || fail "failure-3.json does not list the visible text"
[ "$(grep -c '<testcase ' "$work/junit.xml")" = 3 ] || fail "the JUnit report does not hold three test cases"
[ "$(grep -c '<failure ' "$work/junit.xml")" = 2 ] || fail "the JUnit report does not hold two failures"

# The simulator itself: 1 for an expectation, 2 for a malformed script or a goldens folder that is not there.
"$app" --headless --script "$work/bad.keys" --shots "$work/direct" 2>/dev/null
[ $? = 1 ] || fail "a failed expectation does not end the run with exit code 1"
"$app" --headless --script "$work/malformed.keys" --shots "$work/direct" 2>"$work/malformed.err"
[ $? = 2 ] || fail "a malformed script does not end the run with exit code 2"
grep -q 'malformed.keys: line 2: text without closing quote' "$work/malformed.err" ||
    fail "the refusal does not name the file and the line"
"$app" --headless --script "$work/good.keys" --goldens "$work/no-such-folder" --shots "$work/direct" 2>/dev/null
[ $? = 2 ] || fail "a goldens folder that does not exist is not refused with exit code 2"

# Screenshots: the list is the golden; a row further down differs in some pixels, allowed with a tolerance.
goldens=$work/shots/good
printf 'wait 20\nexpect screenshot list\nkey DOWN\nwait 20\nexpect screenshot list tolerance 100000\nexpect screenshot list\n' \
    >"$work/shots.keys"
"$app" --headless --script "$work/shots.keys" --goldens "$goldens" --shots "$work/compare" 2>"$work/compare.err"
[ $? = 1 ] || fail "a screenshot that differs from its golden does not fail"
grep -q 'line 6: expected screenshot list; [0-9]* pixels differ' "$work/compare.err" ||
    fail "the screenshot failure is not at line 6 with a pixel count: $(cat "$work/compare.err")"
[ -s "$work/compare/list.diff.png" ] && [ -s "$work/compare/list.actual.png" ] ||
    fail "a differing screenshot left no list.diff.png and list.actual.png"
printf 'expect screenshot not-there\n' >"$work/missing.keys"
"$app" --headless --script "$work/missing.keys" --goldens "$goldens" --shots "$work/missing" 2>/dev/null
[ $? = 1 ] || fail "a missing golden does not fail its expectation"
[ -s "$work/missing/not-there.actual.png" ] || fail "a missing golden left no not-there.actual.png to adopt"
echo "runner test: passed"
