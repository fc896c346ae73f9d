#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ in build-fuzz/ (clang, ASan + UBSan)
# and runs each for SECONDS on a copy of its seeds, so the tree is never
# changed. Prints, per target, the inputs run and the coverage reached.
# Exits non-zero on any finding (crash, broken property, leak, timeout,
# memory limit), leaving the input that shows it in build-fuzz/findings/.
#   scripts/fuzz.sh SECONDS [TARGET...]     (default: every target)
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: scripts/fuzz.sh SECONDS [fuzz_query|fuzz_record_text|fuzz_import|fuzz_scenario...]"
seconds=${1:?$usage}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "$usage" >&2; exit 2; }
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_query fuzz_record_text fuzz_import fuzz_scenario)

scripts/install-deps.sh --fuzz
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" \
  -DMORVANEL_FUZZ=ON -DMORVANEL_WITH_QT=OFF -DMORVANEL_TESTS=OFF -DMORVANEL_BENCH=OFF \
  -DMORVANEL_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  [ -d "fuzz/corpus/$t" ] || { echo "$t: no such target" >&2; status=2; continue; }
  cp -r "fuzz/corpus/$t" "$work/$t"
  findings="$PWD/build-fuzz/findings/$t"
  mkdir -p "$findings"
  dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  log="$findings/last-run.log"
  if "build-fuzz/fuzz/$t" "$work/$t" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" \
       >"$log" 2>&1; then
    result=ok
  else
    result=FINDING
    status=1
  fi
  final=$(grep -E '^#[0-9]+\s+(DONE|INITED|NEW|REDUCE|pulse)' "$log" | tail -1 || true)
  cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' <<<"$final" || echo "cov: ? ft: ?")
  runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo "?")
  echo "$t: $result, $runs inputs in ${seconds} s, $cov"
  if [ "$result" != ok ]; then
    grep -E 'PROPERTY BROKEN|ERROR: |SUMMARY: ' "$log" | head -5 | sed 's/^/  /'
    for artifact in $(grep -oE "Test unit written to \S+" "$log" | awk '{print $5}'); do
      echo "  reproducer: $artifact (build-fuzz/fuzz/$t $artifact replays it)"
    done
    echo "  log: $log"
  fi
done
exit $status
