#!/usr/bin/env bash
# The closing line's count (scripts/tally.sh) against the shapes CTest and
# GoogleTest write: one row a way a run can go wrong, each with the counts
# it must give.
set -euo pipefail
tally=$(cd "$(dirname "$0")/../../scripts" && pwd)/tally.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

junit() {  # name status [skip message], one test a line of arguments
  printf '<testsuite>\n'
  while IFS='|' read -r name status message; do
    printf '\t<testcase name="%s" classname="%s" time="1" status="%s">\n' "$name" "$name" "$status"
    [[ -n $message ]] && printf '\t\t<skipped message="%s"/>\n' "$message"
    printf '\t\t<system-out></system-out>\n\t</testcase>\n'
  done
  printf '</testsuite>\n'
}

report() {  # test name, then cases as classname.name=completed|skipped|failed
  local file=$work/gtest-xml/$1.xml
  mkdir -p "$(dirname "$file")"
  shift
  { printf '<testsuites>\n'
    for c in "$@"; do
      local case=${c%=*} result=${c##*=}
      local line="    <testcase name=\"${case#*.}\" status=\"run\" result=\"${result/failed/completed}\" time=\"0\" classname=\"${case%%.*}\""
      case $result in
        completed) printf '%s />\n' "$line" ;;
        skipped) printf '%s>\n      <skipped message="x.cpp:3&#x0A;no battery here"><![CDATA[x]]></skipped>\n    </testcase>\n' "$line" ;;
        failed) printf '%s>\n      <failure message="x.cpp:4&#x0A;boom" type=""><![CDATA[x]]></failure>\n    </testcase>\n' "$line" ;;
      esac
    done
    printf '</testsuites>\n'; } >"$file"
}

expect() {  # row name, "passed failed skipped"
  local got
  got=$("$tally" "$work" "${files[@]}" | cut -f1 | sort | uniq -c |
        awk '{ n[$2] = $1 } END { printf "%d %d %d", n["passed"], n["failed"], n["skipped"] }')
  if [[ $got != "$2" ]]; then
    echo "FAILED: $1: counted $got (passed failed skipped), expected $2"
    "$tally" "$work" "${files[@]}" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
  rm -rf "${work:?}"/*
}

row() { printf 'whole\tunit.unit_tests\neach\te2e64.\n' >"$work/gtest-xml.map"; files=("$work/junit.xml"); }

row  # a setup fixture that failed silently leaves its tests not run
junit >"$work/junit.xml" <<'T'
wine_up|fail|
e2e64.A.One|notrun|Fixture dependency failed
e2e64.A.Two|notrun|Fixture dependency failed
unit.unit_tests|notrun|Fixture dependency failed
nonroot.ReadOnlyLog|notrun|Fixture dependency failed
wine_down|run|
T
expect "fixture failed" "1 5 0"

row  # a whole 32-bit test exe counts case by case, its skip included; Windows line ends
junit >"$work/junit.xml" <<<'unit.unit_tests|run|'
report unit.unit_tests A.Pass=completed A.More=completed B.Ceiling=skipped
sed -i 's/$/\r/' "$work/gtest-xml/unit.unit_tests.xml"
expect "skip inside a whole exe" "2 0 1"

row  # a whole exe that died with a failed case left no report, or left one
junit >"$work/junit.xml" <<<'unit.unit_tests|fail|'
expect "whole exe died" "0 1 0"
row
junit >"$work/junit.xml" <<<'unit.unit_tests|fail|'
report unit.unit_tests A.Pass=completed A.Bad=failed
expect "whole exe with a failed case" "1 1 0"
row  # all its cases passed, yet the process failed
junit >"$work/junit.xml" <<<'unit.unit_tests|fail|'
report unit.unit_tests A.Pass=completed
expect "whole exe failed after its cases" "1 1 0"

row  # skipped by its own word; a report missing from a test that ran
junit >"$work/junit.xml" <<'T'
e2e64.A.Skip|notrun|SKIP_REGULAR_EXPRESSION_MATCHED
e2e64.A.Gone|run|
e2e64.P/Param.Case/0|run|
pe.Tessaril|run|
T
report e2e64.A.Skip A.Skip=skipped
report e2e64.P/Param.Case/0 P/Param.Case/0=completed
expect "skip, lost report, parameter" "2 1 1"

row  # a process that printed nothing ran again: the second run counts
junit >"$work/junit.xml" <<<'e2e64.A.Again|fail|'
junit >"$work/rerun-1.xml" <<<'e2e64.A.Again|run|'
files+=("$work/rerun-1.xml")
report e2e64.A.Again A.Again=completed
expect "run again" "1 0 0"

((failures == 0)) && echo "tally: all rows as expected"
exit $((failures != 0))
