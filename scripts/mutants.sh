#!/usr/bin/env bash
# Plants the single-line faults of tests/mutants.txt one at a time, rebuilds
# what the mutant's tests need, runs them, and counts the faults the suite
# catches. A mutant names its line by text, not by number, so that it follows
# the code as it moves; a text found nowhere, or more than once, is reported
# as not applied instead of being counted.
#
#   scripts/mutants.sh [--list] [--build DIR] [--timeout S] [FILTER]
#
#   --list        prints the mutants (name, file, tests) and stops
#   --build DIR   the configured build directory (default: build)
#   --timeout S   timeout of each test program, in seconds (default: 300)
#   FILTER        an extended regular expression: only the mutants whose name matches
#
# A mutant names the test programs meant to catch it ("tests:", ninja targets
# of GoogleTest programs, run whole and stopped at their first failure) and
# the scenarios ("scenarios:", file names without .scn, regexes allowed, run
# through ctest); with neither, the whole tree is built and ctest runs all.
# The build directory must be configured beforehand. Every mutated file is
# restored, even on failure or Ctrl-C; the build is brought back to the
# restored sources at the end.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

list_only=0
build=build
timeout=300
filter=''
while [ $# -gt 0 ]; do
  case "$1" in
    --list) list_only=1 ;;
    --build) build=$2; shift ;;
    --timeout) timeout=$2; shift ;;
    -h|--help) sed -n '2,23p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "mutants.sh: unknown option $1" >&2; exit 2 ;;
    *) filter=$1 ;;
  esac
  shift
done
mutants_file=$root/tests/mutants.txt

# One mutant per block of "key: value" lines; blank lines and # comments
# separate blocks. from/to values are taken verbatim after "key: ".
names=() files=() tests=() scenarios=() froms=() tos=()
flush() {
  if [ -n "${m_name:-}" ]; then
    if [ -z "${m_file:-}" ] || [ -z "${m_from:-}" ] || [ -z "${m_to+x}" ]; then
      echo "mutants.sh: mutant $m_name lacks file, from or to" >&2; exit 2
    fi
    if [ -z "$filter" ] || [[ $m_name =~ $filter ]]; then
      names+=("$m_name") files+=("$m_file") tests+=("${m_tests:-}")
      scenarios+=("${m_scenarios:-}") froms+=("$m_from") tos+=("$m_to")
    fi
  fi
  unset m_name m_file m_tests m_scenarios m_from m_to
}
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in
    ''|'#'*) flush ;;
    'name: '*) flush; m_name=${line#name: } ;;
    'file: '*) m_file=${line#file: } ;;
    'tests: '*) m_tests=${line#tests: } ;;
    'scenarios: '*) m_scenarios=${line#scenarios: } ;;
    'from: '*) m_from=${line#from: } ;;
    'to: '*) m_to=${line#to: } ;;
    'to:') m_to='' ;;
    *) echo "mutants.sh: unreadable line in $mutants_file: $line" >&2; exit 2 ;;
  esac
done < "$mutants_file"
flush

if [ "$list_only" = 1 ]; then
  for i in "${!names[@]}"; do
    printf '%-48s %-46s %s\n' "${names[$i]}" "${files[$i]}" \
      "${tests[$i]:-}${scenarios[$i]:+ scenarios: ${scenarios[$i]}}"
  done
  exit 0
fi
if [ ! -f "$build/build.ninja" ]; then
  echo "mutants.sh: $build is not a configured build directory" >&2; exit 2
fi
build_abs=$(cd "$build" && pwd)

work=$(mktemp -d)
restore() {
  if [ -f "$work/original" ] && [ -n "${current:-}" ]; then
    # A plain copy, not cp -p: the restored file must look newer than the
    # mutated object so that the next build compiles it again.
    cat "$work/original" > "$current"
    rm -f "$work/original"
  fi
  current=''
}
cleanup() { restore; rm -rf "$work"; }
trap cleanup EXIT
trap 'echo; echo "mutants.sh: interrupted, $current restored" >&2; exit 130' INT TERM

# Replaces the one occurrence of FROM in FILE by TO; fails (status 3) when
# FROM occurs zero or several times.
mutate() {
  FROM=$2 TO=$3 awk '
    BEGIN { from = ENVIRON["FROM"]; to = ENVIRON["TO"]; n = 0 }
    { lines[NR] = $0; rest = $0
      while ((i = index(rest, from)) > 0) { n++; rest = substr(rest, i + length(from)) } }
    END {
      if (n != 1) exit 3
      for (k = 1; k <= NR; k++) {
        l = lines[k]; i = index(l, from)
        if (i > 0) l = substr(l, 1, i - 1) to substr(l, i + length(from))
        print l
      }
    }' "$1" > "$work/mutated" || return 3
  cat "$work/mutated" > "$1"
}

# Runs one GoogleTest program where ctest would (its build folder), stopping
# at its first failure; the PostgreSQL variants are left to ctest.
run_program() {
  local exe
  exe=$(find "$build_abs" -type f -perm -u+x -name "$1" -not -path '*/CMakeFiles/*' | head -1)
  if [ -z "$exe" ]; then
    echo "mutants.sh: no test program $1 in $build (tests/mutants.txt names a ninja target)" >&2
    exit 2
  fi
  (cd "$(dirname "$exe")" && QT_QPA_PLATFORM=offscreen timeout "$timeout" "$exe" \
    --gtest_fail_fast --gtest_brief=1) >> "$work/test.log" 2>&1 || { echo "$1" > "$work/failed"; return 1; }
}

killed=0 survived=0 unapplied=0 by_build=0 everything=0
survivors=() not_applied=() all_targets=()
for i in "${!names[@]}"; do
  name=${names[$i]} file=${files[$i]} regex=${tests[$i]}
  printf '%-48s ' "$name"
  if [ ! -f "$file" ]; then
    echo "not applied (no file $file)"; unapplied=$((unapplied + 1)); not_applied+=("$name"); continue
  fi
  cp "$file" "$work/original"
  current=$file
  if ! mutate "$file" "${froms[$i]}" "${tos[$i]}"; then
    restore
    echo "not applied (text not found once in $file)"
    unapplied=$((unapplied + 1)); not_applied+=("$name"); continue
  fi
  read -r -a targets <<< "$regex"
  scen=${scenarios[$i]}
  [ -n "$scen" ] && targets+=(urssaf-scenario)
  if [ ${#targets[@]} -eq 0 ]; then everything=1; else all_targets+=("${targets[@]}"); fi
  start=$SECONDS
  if ! ninja -C "$build" "${targets[@]}" > "$work/build.log" 2>&1; then
    restore
    echo "killed by the build ($((SECONDS - start)) s)"
    killed=$((killed + 1)); by_build=$((by_build + 1)); continue
  fi
  : > "$work/test.log"; rm -f "$work/failed"
  caught=0
  if [ ${#targets[@]} -eq 0 ]; then
    ctest --test-dir "$build" --timeout "$timeout" --stop-on-failure -j2 >> "$work/test.log" 2>&1 ||
      { caught=1; sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$work/test.log" | head -1 > "$work/failed"; }
  else
    for t in "${targets[@]}"; do
      [ "$t" = urssaf-scenario ] && continue
      run_program "$t" || { caught=1; break; }
    done
    if [ "$caught" = 0 ] && [ -n "$scen" ]; then
      ctest --test-dir "$build" --timeout "$timeout" --stop-on-failure --no-tests=error -j2 \
        -R "^scenario_(${scen// /|})\$" >> "$work/test.log" 2>&1 ||
        { caught=1; sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$work/test.log" | head -1 > "$work/failed"; }
    fi
  fi
  if [ "$caught" = 0 ]; then
    echo "SURVIVED ($((SECONDS - start)) s)"
    survived=$((survived + 1)); survivors+=("$name")
  else
    echo "killed by $(cat "$work/failed" 2>/dev/null || echo 'a failing test') ($((SECONDS - start)) s)"
    killed=$((killed + 1))
  fi
  restore
done

if [ ${#names[@]} -gt 0 ]; then
  # Back to the sources as they are: what was compiled mutated is compiled again.
  mapfile -t all_targets < <(printf '%s\n' "${all_targets[@]}" | sort -u | sed '/^$/d')
  [ "$everything" = 1 ] && all_targets=()
  ninja -C "$build" "${all_targets[@]}" > "$work/build.log" 2>&1 ||
    echo "mutants.sh: the restored build failed, see ninja -C $build" >&2
fi

echo "mutants: $killed killed, $survived survived, $unapplied not applied"
[ "$by_build" -gt 0 ] && echo "  (of the killed, $by_build only by a failing build)"
[ ${#survivors[@]} -gt 0 ] && echo "survived: ${survivors[*]}"
[ ${#not_applied[@]} -gt 0 ] && echo "not applied: ${not_applied[*]}"
[ "$survived" -eq 0 ] && [ "$unapplied" -eq 0 ]
