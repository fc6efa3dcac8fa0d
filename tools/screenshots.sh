#!/usr/bin/env bash
# Renders every example into docs/examples/NAME.png (make screenshots): each runs a
# fixed number of frames on a private X server and saves its last frame with
# --screenshot; the picture filter, which needs no display, saves its result.
# Usage: tools/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

# Run the rest on a private X server, found by xvfb-run's free-number search.
if [[ -z ${VOLLO_SCREENSHOTS_XVFB:-} ]]; then
  exec env VOLLO_SCREENSHOTS_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build"
fi

out=$PWD/docs/examples
assets=$PWD/examples/assets
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# No sound card needed: OpenAL's null driver swallows what is played.
printf '[general]\ndrivers=null\n' >"$work/alsoft.conf"
export ALSOFT_CONF=$work/alsoft.conf

# NAME FRAMES [more arguments]: the frames are chosen so that each picture shows
# something happening; every example runs in the scratch folder.
shot() {
  local name=$1 frames=$2
  shift 2
  local program=$build/examples/$name
  if [[ ! -x $program ]]; then
    echo "skipped $name (not built)"
    return
  fi
  (cd "$work" && "$program" --frames "$frames" --screenshot "$out/$name.png" "$@")
  echo "docs/examples/$name.png"
}

shot moving_square 30
shot spinning_picture 40
shot lines_and_triangles 5
shot ini_settings 5 --settings "$work/settings.ini"
shot breakout 5 --scores "$work/breakout.ini"
shot sprite_sheet 25
shot text_input 10 --text "vollo is fun"
shot paint_pixels 5
shot gamepad_tester 5
shot pixel_art 30
shot collisions 60
shot sound_board 90
shot particles 120 --seed 7
shot record_replay 50

# The filter shows its own output: the interface palette, sepia and blurred on
# the right, as it was on the left.
if [[ -x $build/examples/picture_filter ]]; then
  env -u DISPLAY "$build/examples/picture_filter" img/degrade.bmp "$out/picture_filter.png" sepia blur half
fi
