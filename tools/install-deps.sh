#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing need and
# that are not installed yet, and the extra packages named as arguments. Does nothing when everything is present.
# With --program first, only what building and running PIXODRAW needs (make run).
set -euo pipefail

if [[ ${1:-} == --program ]]; then
  shift
  packages=(cmake make g++ libsfml-dev libstb-dev libjpeg-dev libopenal-dev libpng-dev libfreetype-dev libx11-dev "$@")
else
  packages=(
    cmake make g++ pkg-config
    libsfml-dev libgtest-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool
    python3 python3-xlib python3-pil imagemagick libjpeg-turbo-progs
    libinih-dev
    fonts-dejavu-core
    libstb-dev libjpeg-dev libopenal-dev libpng-dev libfreetype-dev libx11-dev xclip
    "$@"
  )
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  ((EUID == 0)) || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
