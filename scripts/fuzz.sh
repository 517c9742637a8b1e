#!/usr/bin/env bash
# The libFuzzer targets of tests/fuzz (preset fuzz: clang, AddressSanitizer and UBSan).
#
#   scripts/fuzz.sh TARGET SECONDS   fuzz one target (TARGET without the "fuzz_" prefix)
#   scripts/fuzz.sh all SECONDS      fuzz every target in turn, SECONDS each
#   scripts/fuzz.sh smoke            every target for a few seconds from its seeds alone (the
#                                    step of scripts/test.sh); nothing is kept
#   scripts/fuzz.sh list             the targets
#
# WDX_FUZZ_RUNS=N ends a run after N executions when that comes before SECONDS.
#
# Installs clang when it is missing, builds the targets into $WDX_BUILD_ROOT/fuzz (default
# build/fuzz), and runs each over tests/fuzz/corpus/<target> (the seeds and every fault's input,
# kept as a regression case; the mail tests' two targets use their seeds and regressions in
# tests/unit/player_mail/fuzz) plus a working corpus of its own in build/fuzz/corpus/<target>
# that grows from run to run. A finding (crash, sanitizer report, leak, time-out, memory
# exhaustion, or an abort by the target's own checks) is saved as
# build/fuzz/findings/<target>/crash-... (or leak-, timeout-, oom-) and the script fails;
# replay it with build/fuzz/tests/fuzz/fuzz_<target> FILE.
# One line per target says what was run: executions, coverage (edges, features), corpus size.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
# shellcheck source=scripts/lib/common.sh
. scripts/lib/common.sh

BUILD_ROOT=${WDX_BUILD_ROOT:-$ROOT/build}
case "$BUILD_ROOT" in /*) ;; *) BUILD_ROOT=$ROOT/$BUILD_ROOT ;; esac
BUILD=$BUILD_ROOT/fuzz
BIN=$BUILD/tests/fuzz
SMOKE_SECONDS=${WDX_FUZZ_SMOKE_SECONDS:-4}
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-6}

# Every target, and the longest input each is given (a library file holds records of 5165
# bytes; a macro text fits a few thousand characters; the other inputs are short).
declare -A MAX_LEN=(
  [interpreter]=8192 [library_file]=16000 [settings_file]=4096 [single_macro_file]=4096
  [companion_files]=512 [capture_files]=12000 [mail]=8192 [command_line]=2048 [decoders]=1024 [picture_files]=8192
  [mime_decoder]=8192 [smtp_replies]=4096
)
TARGETS=(interpreter library_file settings_file single_macro_file companion_files capture_files mail command_line decoders picture_files
         mime_decoder smtp_replies)
# The mail tests' own two targets live with those tests, seeds and kept regressions beside them.
declare -A EXE_DIR=([mime_decoder]=tests/unit/player_mail [smtp_replies]=tests/unit/player_mail)
declare -A SEED_DIRS=(
  [mime_decoder]="tests/unit/player_mail/fuzz/seeds/decoder tests/unit/player_mail/fuzz/regressions/decoder"
  [smtp_replies]="tests/unit/player_mail/fuzz/seeds/replies tests/unit/player_mail/fuzz/regressions/replies"
)

usage() {
  echo "usage: $0 TARGET|all SECONDS | smoke | list" >&2
  echo "targets: ${TARGETS[*]}" >&2
  exit 2
}

build() {
  wdx_install_packages "${WDX_FUZZ_APT_PACKAGES[@]}" || return 1
  wdx_say "building the fuzz targets (log: $BUILD/build.log)"
  mkdir -p "$BUILD"
  # Two runs started side by side build one after the other.
  (
    flock 9
    wdx_build_preset fuzz "$BUILD" "$BUILD/build.log" wdx_fuzz && "$BIN/fuzz_tag_dictionary" >"$BUILD/interpreter.dict"
  ) 9>"$BUILD/.build-lock"
}

# run TARGET SECONDS MODE: MODE "keep" grows the working corpus, "smoke" starts from the seeds
# alone in a scratch folder. Prints the target's line; fails on a finding.
run() {
  local target=$1 seconds=$2 mode=$3
  local exe=$BUILD/${EXE_DIR[$target]:-tests/fuzz}/fuzz_$target
  local seeds=() d
  for d in ${SEED_DIRS[$target]:-tests/fuzz/corpus/$target}; do
    [ -d "$ROOT/$d" ] && seeds+=("$ROOT/$d")
  done
  local findings=$BUILD/findings/$target work log scratch
  [ -x "$exe" ] || { wdx_err "no such target: $target"; return 1; }
  mkdir -p "$findings"
  # Scratch space in memory where there is some: the stand-in's files are opened for every
  # setting read, and on a disk that costs most of the run.
  local tmp=$BUILD
  [ -d /dev/shm ] && [ -w /dev/shm ] && tmp=/dev/shm
  scratch=$(mktemp -d "$tmp/wdx-fuzz-$target.XXXXXX")
  if [ "$mode" = keep ]; then
    work=$BUILD/corpus/$target
  else
    work=$scratch/corpus
  fi
  mkdir -p "$work"
  log=$BUILD/logs/$target.log
  mkdir -p "$(dirname "$log")"
  local args=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -max_len="${MAX_LEN[$target]}"
              -print_final_stats=1 -artifact_prefix="$findings/")
  [ "$target" = interpreter ] && args+=(-dict="$BUILD/interpreter.dict")
  [ -n "${WDX_FUZZ_RUNS:-}" ] && args+=(-runs="$WDX_FUZZ_RUNS")
  # The targets' stand-in platforms make their folders in TMPDIR: one of its own per run, so
  # nothing is left behind even when a finding ends the process.
  TMPDIR=$scratch ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} "$exe" "${args[@]}" "$work" "${seeds[@]}" >"$log" 2>&1
  local rc=$?
  rm -rf "$scratch"
  local runs cov ft corpus
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  cov=$(grep -aoE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -aoE 'ft: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  corpus=$(grep -aoE 'corp: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  local line
  line=$(printf '%-18s %ss: %s executions, coverage %s edges / %s features, corpus %s' "$target" "$seconds" \
    "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corpus:-?}")
  if [ "$rc" -ne 0 ]; then
    local artifact
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    grep -aE '^(FINDING|==[0-9]+==ERROR|SUMMARY)' "$log" | head -n 5
    echo "FAIL $line; finding: ${artifact:-see $log}"
    return 1
  fi
  echo "ok   $line"
}

[ $# -ge 1 ] || usage
case "$1" in
  list)
    printf '%s\n' "${TARGETS[@]}"
    exit 0
    ;;
  smoke)
    build || exit 1
    failed=0
    for t in "${TARGETS[@]}"; do run "$t" "$SMOKE_SECONDS" smoke || failed=1; done
    exit $failed
    ;;
  all)
    [ $# -eq 2 ] || usage
    build || exit 1
    failed=0
    for t in "${TARGETS[@]}"; do run "$t" "$2" keep || failed=1; done
    exit $failed
    ;;
  *)
    [ $# -eq 2 ] || usage
    [ -n "${MAX_LEN[$1]:-}" ] || usage
    build || exit 1
    run "$1" "$2" keep
    ;;
esac
