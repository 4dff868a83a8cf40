#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, ASan and UBSan in build-fuzz/ and runs
# each for SECONDS seconds (default 30), several at once: at most FUZZ_JOBS (default half
# the processors). Each input may take 5 s and 2 GB; a crash, a failed check, a hang or a
# memory blow-up is a finding. Seeds come from tests/fuzz/corpus/<target>/ and the test
# data and examples the target names; findings are left in build-fuzz/runs/<target>/ and
# belong, once mended, in tests/fuzz/crashes/<target>/, where CTest replays them.
# Without clang or its libFuzzer runtime the fuzzing is skipped.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]
#
# TARGET names a harness ("dxf" or "fuzz_dxf"); without one every target runs.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
case "$seconds" in
  ''|*[!0-9]*) echo "fuzz: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
[ $# -gt 0 ] && shift
wanted=()
for t in "$@"; do
  t=${t#fuzz_}
  if [ ! -f "tests/fuzz/fuzz_$t.cpp" ]; then
    echo "fuzz: no target '$t' (tests/fuzz/fuzz_$t.cpp)" >&2
    exit 2
  fi
  wanted+=("fuzz_$t")
done
jobs=${FUZZ_JOBS:-$(( $(nproc) / 2 ))}
[ "$jobs" -ge 1 ] || jobs=1
build_jobs=${FUZZ_BUILD_JOBS:-$(nproc)}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; fuzzing skipped"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' > "$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz: clang has no libFuzzer runtime (libclang-rt-dev); fuzzing skipped"
  exit 0
fi

gen=()
command -v ninja >/dev/null && [ ! -f build-fuzz/CMakeCache.txt ] && gen=(-G Ninja)
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWAVORA_FUZZ=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=OFF >/dev/null
if [ ${#wanted[@]} -gt 0 ]; then
  cmake --build build-fuzz -j "$build_jobs" --target "${wanted[@]}"
else
  cmake --build build-fuzz -j "$build_jobs" --target fuzz_all
fi

runs=build-fuzz/runs
mkdir -p "$runs"

# Copies the seeds listed in <target>.seeds ("folder" or "folder=EXT,EXT") into a corpus.
seed() {
  local list=$1 corpus=$2 entry dir exts f ext
  while IFS= read -r entry; do
    [ -n "$entry" ] || continue
    dir=${entry%%=*}
    exts=""
    [ "$entry" != "$dir" ] && exts=",${entry#*=},"
    [ -d "$dir" ] || continue
    for f in "$dir"/*; do
      [ -f "$f" ] || continue
      if [ -n "$exts" ]; then
        ext=${f##*.}
        case "${exts^^}" in *",${ext^^},"*) ;; *) continue ;; esac
      fi
      cp "$f" "$corpus/"
    done
  done < "$list"
}

# An input may lawfully claim the largest tables a file can hold (millions of survey-point
# slots, each constructed and checked under the sanitizers): seconds of work on a busy
# machine, which is no hang.
run_one() {
  local exe=$1 name work
  name=$(basename "$exe")
  work=$runs/$name
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  seed "$exe.seeds" "$work/corpus"
  (cd "$work" && "../../fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
     -max_len=65536 -print_final_stats=1 -artifact_prefix="$PWD/artifacts/" corpus >log 2>&1; echo $? >rc) || true
}

targets=()
if [ ${#wanted[@]} -gt 0 ]; then
  for name in "${wanted[@]}"; do targets+=("build-fuzz/fuzz/$name"); done
else
  for exe in build-fuzz/fuzz/fuzz_*; do
    [ -x "$exe" ] && [ -f "$exe" ] && targets+=("$exe")
  done
fi
echo "fuzz: ${#targets[@]} targets, $seconds s each, $jobs at a time"
running=0
for exe in "${targets[@]}"; do
  run_one "$exe" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
for exe in "${targets[@]}"; do
  name=$(basename "$exe")
  work=$runs/$name
  rc=$(cat "$work/rc" 2>/dev/null || echo "?")
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
  printf '%-18s executions %-10s exit %s\n' "$name" "${execs:-?}" "$rc"
  if [ "$rc" != 0 ]; then
    failed=1
    grep -E "ERROR|fuzz check failed|Test unit written" "$work/log" | head -5 | sed 's/^/    /'
  fi
done
exit $failed
