#!/usr/bin/env bash
# Counts what the tests of one build did, one line a result:
#   passed|failed|skipped <TAB> name <TAB> why
# from CTest's JUnit files (the first run, then each run again, later ones
# overriding) and from the XML report that each GoogleTest process writes
# (gtest-xml.map names the tests that write one, see tests/CMakeLists.txt).
# A GoogleTest test is counted case by case from its report, so a case
# skipped inside a 32-bit test exe counts as skipped; a test that did not
# run, or ran and left no report, counts as failed.
#
# Usage: tally.sh BUILD_DIR JUNIT [JUNIT...]
set -euo pipefail
dir=$1
shift
map=$dir/gtest-xml.map
[[ -f $map ]] || map=/dev/null

awk -v xmldir="$dir/gtest-xml" -v mapfile="$map" '
function attr(line, key,    m) {
  if (!match(line, " " key "=\"[^\"]*\"")) return ""
  m = substr(line, RSTART + length(key) + 3, RLENGTH - length(key) - 4)
  gsub(/&#x0A;/, "\n", m); gsub(/&#x0D;/, "", m); gsub(/&quot;/, "\"", m); gsub(/&apos;/, "\047", m)
  gsub(/&lt;/, "<", m); gsub(/&gt;/, ">", m); gsub(/&amp;/, "\\&", m)
  return m
}
# A skip or failure message starts with the source line; the reason follows,
# on one line here.
function reason(m) {
  sub(/^[^\n]*:[0-9]+\n/, "", m)
  gsub(/\n+ */, " ", m)
  return length(m) > 300 ? substr(m, 1, 300) "..." : m
}
function emit(result, name, why) { printf "%s\t%s\t%s\n", result, name, why }

# Reads the report of CTest test `test`; counts its cases and says how many
# failed, or -1 when there is no report or no case in it.
function report(test, whole,    file, line, n, failed, open, name, result, why) {
  file = xmldir "/" test ".xml"
  n = 0; failed = 0; open = 0
  while ((getline line < file) > 0) {
    sub(/\r$/, "", line)  # written by Windows programs
    if (line ~ /<testcase /) {
      name = whole ? test ": " attr(line, "classname") "." attr(line, "name") : test
      result = attr(line, "result") == "skipped" ? "skipped" : "passed"
      why = ""
      if (attr(line, "status") == "notrun") { result = "skipped"; why = "disabled" }
      open = 1
    }
    if (open && line ~ /<failure /) {
      if (result != "failed") why = reason(attr(line, "message"))
      result = "failed"
    }
    if (open && line ~ /<skipped / && result == "skipped") why = reason(attr(line, "message"))
    if (open && (line ~ /<\/testcase>/ || line ~ /<testcase .*\/>[ \t]*$/)) {
      emit(result, name, why)
      n++; if (result == "failed") failed++
      open = 0
    }
  }
  close(file)
  return n ? failed : -1
}

BEGIN {
  while ((getline line < mapfile) > 0) {
    split(line, f, "\t")
    if (f[1] == "whole") whole[f[2]] = 1
    else if (f[1] == "each") { prefixes[++nprefix] = f[2] }
  }
}

/<testcase / {
  name = attr($0, "name")
  if (!(name in status)) order[++count] = name
  status[name] = attr($0, "status")
  message[name] = ""
}
/<skipped / && name != "" { message[name] = attr($0, "message") }
/<\/testcase>|<testcase .*\/>[ \t]*$/ { name = "" }

END {
  for (i = 1; i <= count; i++) {
    test = order[i]; s = status[test]
    # SKIP_REGULAR_EXPRESSION_MATCHED: the process ran and skipped; any
    # other "notrun" (a failed setup fixture, say) means it never ran.
    ran = s == "run" || s == "fail" || message[test] == "SKIP_REGULAR_EXPRESSION_MATCHED"
    gtest = test in whole
    for (p = 1; p <= nprefix && !gtest; p++)
      if (substr(test, 1, length(prefixes[p])) == prefixes[p]) gtest = 1
    if (!ran) { emit("failed", test, "not run" (message[test] != "" ? ": " message[test] : "")); continue }
    if (!gtest) {
      if (s == "run") emit("passed", test, "")
      else if (s == "fail") emit("failed", test, "failed")
      else emit("skipped", test, "skipped")
      continue
    }
    failed = report(test, test in whole)
    if (failed < 0) emit("failed", test, "ran but left no report: it died or timed out")
    else if (s == "fail" && failed == 0) emit("failed", test, "its process failed after its cases")
  }
}
' "$@"
