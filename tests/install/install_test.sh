#!/usr/bin/env bash
# Installs the library from a build tree into a fresh prefix, then builds and runs
# a small program against the installed copy, outside the source and build trees:
# once with CMake's find_package(vollo), once with pkg-config. Then checks that
# -DVOLLO_INSTALL_PROGRAM=OFF installs the library alone.
#   install_test.sh <build dir> <consumer source dir> [compiler and linker flags] [source dir]
# The flags are those the library was built with that its users need too (the
# sanitizers of a sanitizer build).
set -euo pipefail
build_dir=$1
consumer_dir=$2
flags=${3:-}
source_dir=${4:-}

work=$(mktemp -d /tmp/vollo-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

echo "== cmake --install into $prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
for file in include/vollo/vollo.h include/vollo/vollo_namespace.h include/vollo/ini/Ini.hpp include/vollo/parsing/ParsingTools.hpp \
            lib/libvollo.a lib/libvollo.so lib/libvollo.so.1 lib/cmake/vollo/volloConfig.cmake \
            lib/pkgconfig/vollo.pc lib/pkgconfig/vollo-static.pc; do
  [[ -f $prefix/$file ]] || { echo "missing after install: $file"; exit 1; }
done

# The paint program and its pictures come along unless the build switched them off.
if grep -q '^VOLLO_INSTALL_PROGRAM:BOOL=ON' "$build_dir/CMakeCache.txt" && [[ -x $build_dir/pixodraw ]]; then
  [[ -x $prefix/bin/pixodraw ]] || { echo "missing after install: bin/pixodraw"; exit 1; }
  compgen -G "$prefix/share/pixodraw/img/*.bmp" >/dev/null || { echo "missing after install: the pictures"; exit 1; }
fi

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
g++ -std=c++17 $flags -o "$work/with-pkg-config/consumer" "$consumer_dir/main.cpp" $(pkg-config --cflags --libs vollo) \
    -Wl,-rpath,"$prefix/lib"
"$work/with-pkg-config/consumer"
readelf -d "$work/with-pkg-config/consumer" | grep -q 'NEEDED.*libvollo\.so\.1' ||
  { echo "vollo.pc does not link the shared library"; exit 1; }
# shellcheck disable=SC2046,SC2086
g++ -std=c++17 $flags -o "$work/with-pkg-config/static" "$consumer_dir/main.cpp" $(pkg-config --cflags --libs vollo-static)
"$work/with-pkg-config/static"
if readelf -d "$work/with-pkg-config/static" | grep -q 'libvollo\.so'; then
  echo "vollo-static.pc links the shared library"; exit 1
fi

echo "== a C program with the shared library"
printf '#include <vollo.h>\nint main(void) { vollo_ini *ini = vollo_new_ini(); bool ok = ini != NULL;\n%s\n}\n' \
  'vollo_delete_ini(ini); return ok && vollo_ini_get_field(NULL, NULL, "x", 0) == NULL ? 0 : 1;' > "$work/consumer.c"
# shellcheck disable=SC2046,SC2086
gcc -std=c99 -Wall -Wextra -pedantic -Werror $flags -o "$work/c-consumer" "$work/consumer.c" \
    $(pkg-config --cflags --libs vollo) -Wl,-rpath,"$prefix/lib"
"$work/c-consumer"

# The pkg-config file finds its prefix from its own place: a moved tree still works.
mv "$prefix" "$work/moved"
export PKG_CONFIG_PATH=$work/moved/lib/pkgconfig
# shellcheck disable=SC2046,SC2086
g++ -std=c++17 $flags -o "$work/with-pkg-config/moved" "$consumer_dir/main.cpp" $(pkg-config --cflags --libs vollo) -Wl,-rpath,"$work/moved/lib"
"$work/with-pkg-config/moved"
echo "== installed library usable both ways"

if [[ -n $source_dir ]]; then
  echo "== -DVOLLO_INSTALL_PROGRAM=OFF installs the library alone"
  alone=$work/library-alone
  cmake -S "$source_dir" -B "$alone/build" -DVOLLO_INSTALL_PROGRAM=OFF -DVOLLO_BUILD_TESTS=OFF \
        -DVOLLO_BUILD_EXAMPLES=OFF -DVOLLO_BUILD_BENCHMARKS=OFF >/dev/null
  # Installing copies what the build made; the archive already built above stands in
  # for a second compilation of the same sources.
  cp -P "$build_dir"/libvollo.a "$build_dir"/libvollo.so* "$alone/build/"
  cmake --install "$alone/build" --prefix "$alone/prefix" >/dev/null
  [[ -f $alone/prefix/lib/libvollo.a && -f $alone/prefix/lib/libvollo.so.1 && -f $alone/prefix/include/vollo/vollo.h &&
     -f $alone/prefix/lib/pkgconfig/vollo.pc ]] || { echo "library missing from the library-alone install"; exit 1; }
  if [[ -e $alone/prefix/bin || -e $alone/prefix/share/pixodraw ]]; then
    echo "the library-alone install holds the program:"; find "$alone/prefix" -type f; exit 1
  fi
  echo "== library alone installed"
fi
