#!/usr/bin/env bash
# Installs the library from a build tree into a fresh prefix, then builds and runs
# a small program against the installed copy, outside the source and build trees:
# once with CMake's find_package(vollo), once with pkg-config.
#   install_test.sh <build dir> <consumer source dir> [compiler and linker flags]
# The flags are those the library was built with that its users need too (the
# sanitizers of a sanitizer build).
set -euo pipefail
build_dir=$1
consumer_dir=$2
flags=${3:-}

work=$(mktemp -d /tmp/vollo-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

echo "== cmake --install into $prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
for file in include/vollo/vollo.h include/vollo/ini/Ini.hpp include/vollo/parsing/ParsingTools.hpp \
            lib/libvollo.a lib/cmake/vollo/volloConfig.cmake lib/pkgconfig/vollo.pc; do
  [[ -f $prefix/$file ]] || { echo "missing after install: $file"; exit 1; }
done

echo "== find_package(vollo)"
cp -r "$consumer_dir" "$work/with-cmake"
cmake -S "$work/with-cmake" -B "$work/with-cmake/build" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/with-cmake/build" -j2 >/dev/null
"$work/with-cmake/build/consumer"

echo "== pkg-config vollo"
mkdir "$work/with-pkg-config"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
[[ $(pkg-config --modversion vollo) == 1.0.0 ]] || { echo "wrong version from pkg-config"; exit 1; }
# shellcheck disable=SC2046,SC2086
g++ -std=c++17 $flags -o "$work/with-pkg-config/consumer" "$consumer_dir/main.cpp" $(pkg-config --cflags --libs vollo)
"$work/with-pkg-config/consumer"

# The pkg-config file finds its prefix from its own place: a moved tree still works.
mv "$prefix" "$work/moved"
export PKG_CONFIG_PATH=$work/moved/lib/pkgconfig
# shellcheck disable=SC2046,SC2086
g++ -std=c++17 $flags -o "$work/with-pkg-config/moved" "$consumer_dir/main.cpp" $(pkg-config --cflags --libs vollo)
"$work/with-pkg-config/moved"
echo "== installed library usable both ways"
