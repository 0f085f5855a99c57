#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: native unit tests, the Wine tests in a
# virtual display, and the end-to-end tests of Sonidex.exe with its sound captured. They run on
# the build this machine runs (tools/host.sh); where that is the 32-bit one, the end-to-end tests
# run once more on the 64-bit build. The 32-bit Sonidex.exe is checked on every machine.
# Arguments go to the ctest runs of the native and the runnable build (for instance -R pattern);
# a run with arguments leaves out the other build's checks.
# --stress N runs only the end-to-end scripts, N times over beside a process that keeps one
# processor busy (on a 32-bit-capable machine both builds' each time), and stops at the first
# red run: what a slow or loaded machine of another kind would show.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
stress=0
if [ "${1:-}" = --stress ]; then
  stress=${2:?--stress takes a count}; shift 2
fi
source "$root/tools/host.sh"
[ "$SONIDEX_HOST_ARCH" = none ] && exit 1
echo "$SONIDEX_HOST_WHY"
"$root/tools/install-deps.sh" || exit 1
"$root/tools/build.sh" || { echo "build failed"; exit 1; }
source "$root/tools/session.sh"
trap session_end EXIT
if [ "$stress" -gt 0 ]; then
  builds=("$SONIDEX_BUILD")
  if [ "$SONIDEX_HOST_ARCH" = 32 ]; then session_warm "$root/build/win64"; builds+=("$root/build/win64"); fi
  # The busy processor: a shell loop that never sleeps, ended with the session.
  ( trap 'exit 0' TERM; while :; do :; done ) &
  spinner=$!
  trap 'kill $spinner 2>/dev/null; session_end' EXIT
  for i in $(seq "$stress"); do
    for b in "${builds[@]}"; do
      echo "== stress run $i of $stress: $b"
      ( cd "$b" && ctest --output-on-failure -R '^e2e\.' "$@" ) || { echo "stress: run $i failed on $b"; exit 1; }
    done
  done
  echo "stress: $stress runs green beside a busy processor"
  exit 0
fi
logs=$root/build/test-logs
rm -rf "$logs"; mkdir -p "$logs"
rc=0
# Sound is never optional here: both kinds of machine run the private PulseAudio, so a test that
# needs the device or the capture fails without it rather than skipping (SONIDEX_NEED_SOUND).
export SONIDEX_NEED_SOUND=1
if [ -z "${SONIDEX_CAPTURE:-}" ]; then
  echo "FAILED: no sound capture (the private PulseAudio did not start): every test that listens fails"
  rc=1
fi
run() {   # run NAME FOLDER CTEST-ARGS...: one ctest run, its output kept in $logs/NAME.log
  local name=$1 dir=$2; shift 2
  echo "== $name: $dir"
  ( cd "$dir" && ctest --output-on-failure "$@" ) 2>&1 | tee "$logs/$name.log" || rc=1
  # ctest shows no output of a skipped test: print each one's reason (gtest's line after "Skipped").
  # The end-to-end scripts say why on a line of their own starting "SKIP: ".
  { grep -A1 -E ': Skipped$' "$dir/Testing/Temporary/LastTest.log" 2>/dev/null | grep -v -E ': Skipped$|^--$'
    grep -E '^SKIP: ' "$dir/Testing/Temporary/LastTest.log" 2>/dev/null | sed 's/^SKIP: //'
  } | sed 's/^/skipped, because: /' | tee -a "$logs/$name.log"
}
run native "$root/build/native" -j2 "$@"
run "win$SONIDEX_HOST_ARCH" "$SONIDEX_BUILD" "$@"
if [ $# -gt 0 ]; then
  echo "(a run with arguments leaves out the other build's checks)"
elif [ "$SONIDEX_HOST_ARCH" = 32 ]; then
  session_warm "$root/build/win64"
  run win64-e2e "$root/build/win64" -R '^(exe|e2e)\.'
else
  run win32-exe "$root/build/win" -R '^exe\.'
fi
if [ $# -eq 0 ]; then
  # The fuzz targets on generated input, about a minute each; a crash leaves its input in
  # build/fuzz/fuzz-crashes/ and fails the run.
  run fuzz "$root/build/fuzz" -R '^fuzz\.'
  ls "$root"/build/fuzz/fuzz-crashes/* 2>/dev/null | sed 's/^/input that crashed a fuzz target: /'
fi
# One closing line for all runs: ctest counts a skipped test among those that did not fail.
passed=0 failed=0 skipped=0
for log in "$logs"/*.log; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  grep -q '^No tests were found' "$log" && continue
  if [ -z "$line" ]; then
    echo "no ctest summary in $(basename "$log" .log)"; failed=$((failed + 1)); continue
  fi
  f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* tests failed out of ([0-9]+).*/\1/' <<<"$line")
  s=$(grep -c -E '^[[:space:]]*[0-9]+ - .* \(Skipped\)' "$log")
  passed=$((passed + t - f - s)) failed=$((failed + f)) skipped=$((skipped + s))
done
echo "total: $passed passed, $failed failed, $skipped skipped"
# A test that needs sound never passes by skipping (its reason starts "no sound").
nosound=$(cat "$logs"/*.log | grep -c -E '^skipped, because: .*no sound' || true)
if [ "$nosound" -gt 0 ]; then
  echo "FAILED: $nosound test(s) that need sound skipped for want of it"
  rc=1
fi
[ "$failed" -eq 0 ] && [ $rc -eq 0 ]
