#!/usr/bin/env bash
# Runs every fuzz target for a set time on a working copy of its seed corpus.
# Usage: fuzz/run.sh <build dir> <seconds per target> [target ...]
set -euo pipefail
build=$1 seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
((${#targets[@]})) || targets=(fuzz_bmp fuzz_picture fuzz_ini_read fuzz_ini_load fuzz_read_string fuzz_literal_roundtrip fuzz_get_next_line fuzz_text_shapes fuzz_replay fuzz_jpeg_dc)
# Pixel arrays carry SFML textures, which need a display: use a private Xvfb
# when none is given.
if [[ -z "${DISPLAY:-}" ]]; then
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  read -r -t 20 number <&"$display_fd"
  export DISPLAY=":$number"
fi

# Leaks are checked after every input. The check at exit is off: the GL driver
# is unloaded by then, and its one-time allocations can no longer be named.
export ASAN_OPTIONS="${ASAN_OPTIONS:-leak_check_at_exit=0}"

status=0
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  mkdir -p "$work" "$build/artifacts/$target"
  echo "== $target: ${seconds}s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
      "$work" "$here/corpus/$target" 2>"$build/$target.log"; then
    status=1
    echo "!! $target found a failure; see $build/$target.log and $build/artifacts/$target/"
  fi
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$build/$target.log" || true
done
exit $status
