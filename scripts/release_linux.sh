#!/usr/bin/env bash
# The portable Linux archive, for any x86-64 desktop with glibc 2.31 or newer:
#   BUILD/release/drevix-raycaster-<version>-linux-x86_64.tar.gz
# and BUILD/release/SHA256SUMS for it and the Windows archive.
#
# The programs are compiled in a Debian 11 root (roots.sh), so nothing they
# or their libraries use needs a newer glibc. SDL2, SDL2_image, SDL2_ttf and
# SDL2_mixer are built there from Debian 12's source packages with only what
# the game uses (PNG, WAV, MP3, TrueType) and with SDL's video and audio
# back-ends loaded at run time; they go in lib/, found through the programs'
# rpath $ORIGIN/lib. glibc, GL, the X11/Wayland client libraries, ALSA and
# PulseAudio are the system's own; the C++ runtime is linked in.
#
# Needs root (debootstrap, chroot) and the Debian mirror. The first run makes
# the root and the libraries (several minutes); later runs reuse them and
# only rebuild the programs.
# Usage: scripts/release_linux.sh [BUILD]   BUILD: the host build (default
#        build/), whose assets and icons go in the archive
set -euo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$SRC/build}" && pwd)
. "$SRC/scripts/roots.sh"
say() { echo "release_linux: $*"; }
die() {
  echo "release_linux: error: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot)"
for tool in debootstrap dpkg-source objdump; do
  command -v $tool >/dev/null || die "$tool not found (scripts/deps.sh all)"
done
VERSION=$(sed -n -E 's/^project\(drevix VERSION ([0-9.]+).*/\1/p' "$SRC/CMakeLists.txt")
[ -n "$VERSION" ] || die "no version in CMakeLists.txt"
NAME=drevix-raycaster-$VERSION
OUT=$BUILD/release
T0=$SECONDS

# Limits the archive is held to.
MAX_BYTES=$((12 * 1024 * 1024))
MAX_LIBS=12
MAX_GLIBC=2.31

# What every desktop has and must match its own system: never bundled.
SYSTEM_LIBS='^(ld-linux-x86-64|libc|libm|libdl|libpthread|librt|libresolv|libutil|libz|libGL|libGLX|libGLdispatch|libOpenGL|libEGL|libgbm|libdrm|libX[A-Za-z0-9]*|libxcb[a-z0-9-]*|libwayland-[a-z]+|libxkbcommon[a-z-]*|libdecor-0|libasound|libpulse[a-z-]*|libdbus-1|libudev|libuuid)\.so'

# Debian 11 with a compiler and the headers of every back-end SDL may load.
BUILD_PACKAGES=(
  g++ make cmake pkg-config patchelf
  # the maze generator's PDF worksheets
  libcairo2-dev
  libx11-dev libxext-dev libxcursor-dev libxi-dev libxfixes-dev libxrandr-dev libxss-dev
  libxkbcommon-dev libwayland-dev wayland-protocols libegl-dev libgl-dev
  libasound2-dev libpulse-dev libudev-dev libdbus-1-dev
  # the project's configure step: the asset generator's inputs
  zlib1g-dev lame fonts-dejavu-core fonts-noto-mono
)
SOURCES=(freetype libsdl2 libsdl2-image libsdl2-mixer libsdl2-ttf)

cleanup() { [ -z "${BR:-}" ] || root_unmount "$BR"; }
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- the build root ------------------------------------------------------------
t=$SECONDS
BR=$(root_make build-bullseye bullseye "${BUILD_PACKAGES[@]}")
say "build root: $BR ($((SECONDS - t)) s)"

# --- Debian 12's SDL sources, through a private deb-src list ---------------------
APTDIR=$ROOTS/apt
mkdir -p "$APTDIR/sources.list.d" "$APTDIR/lists/partial" "$APTDIR/cache/archives/partial" "$ROOTS/sources"
APT_OPTS=(-o "Dir::Etc::SourceParts=$APTDIR/sources.list.d" -o Dir::Etc::SourceList=/dev/null
  -o "Dir::State::Lists=$APTDIR/lists" -o "Dir::Cache=$APTDIR/cache" -o APT::Sandbox::User=root)
sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$APTDIR/sources.list.d/debian.sources"
if [ -z "$(find "$APTDIR/updated" -mmin -1440 2>/dev/null)" ]; then
  apt-get "${APT_OPTS[@]}" update -q >"$APTDIR/update.log" 2>&1 || {
    tail -n 20 "$APTDIR/update.log" >&2
    die "apt-get update of the deb-src lists failed"
  }
  touch "$APTDIR/updated"
fi
declare -A VER
while read -r pkg ver; do
  if [ -z "${VER[$pkg]-}" ] || dpkg --compare-versions "$ver" gt "${VER[$pkg]}"; then VER[$pkg]=$ver; fi
done < <(apt-cache "${APT_OPTS[@]}" showsrc --only-source "${SOURCES[@]}" 2>/dev/null |
  awk '/^Package: / { p = $2 } /^Version: / { print p, $2 }')
fetch=()
for s in "${SOURCES[@]}"; do
  [ -n "${VER[$s]-}" ] || die "source package $s not in the deb-src lists"
  fetch+=("$s=${VER[$s]}")
done
(cd "$ROOTS/sources" && apt-get "${APT_OPTS[@]}" source --download-only -q "${fetch[@]}" >"$APTDIR/source.log" 2>&1) || {
  tail -n 20 "$APTDIR/source.log" >&2
  die "apt-get source failed"
}

# --- the libraries, built once per source version and recipe -------------------
root_mount "$BR"
LIBS_PREFIX=/opt/drevix-libs
LIBS_STAMP="$(for s in "${SOURCES[@]}"; do printf '%s=%s ' "$s" "${VER[$s]}"; done)$(sed -n '/^# --- the libraries/,/^# --- end of the libraries/p' "$0" | sha256sum | cut -c1-16)"
if [ "$(cat "$BR$LIBS_PREFIX/stamp" 2>/dev/null)" != "$LIBS_STAMP" ]; then
  t=$SECONDS
  rm -rf "$BR/opt/libsrc" "$BR$LIBS_PREFIX"
  mkdir -p "$BR/opt/libsrc"
  for s in "${SOURCES[@]}"; do
    v=${VER[$s]}
    # apt checked the files against the signed lists; dpkg-source has no keys.
    dpkg-source -x "$ROOTS/sources/${s}_${v#*:}.dsc" "$BR/opt/libsrc/$s" >>"$BR/opt/libsrc/unpack.log" 2>&1
  done
  cat >"$BR/opt/libsrc/build.sh" <<'EOF'
set -eu
P=$1
J=$(nproc)
lib() { # SOURCE CMAKE_ARGS...
  s=$1; shift
  cmake -S /opt/libsrc/$s -B /opt/libsrc/build-$s -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=$P -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_PREFIX_PATH=$P \
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" --no-warn-unused-cli "$@" >/opt/libsrc/$s.log 2>&1
  cmake --build /opt/libsrc/build-$s -j$J >>/opt/libsrc/$s.log 2>&1
  cmake --install /opt/libsrc/build-$s >>/opt/libsrc/$s.log 2>&1
  echo "  $s built"
}
# FreeType with no codec of its own (no libpng, no brotli): TrueType and
# OpenType only. Shared, so that any other library of the archive that
# needs it (cairo's font back-end) takes this one rather than Debian 11's.
lib freetype -DBUILD_SHARED_LIBS=ON \
  -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE \
  -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE
# Every back-end SDL finds is loaded at run time, so a machine without
# Wayland or PulseAudio still starts; the ones no game needs are off.
lib libsdl2 -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF -DSDL_RPATH=OFF \
  -DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL_WAYLAND=ON -DSDL_WAYLAND_SHARED=ON \
  -DSDL_WAYLAND_LIBDECOR=OFF -DSDL_ALSA=ON -DSDL_ALSA_SHARED=ON \
  -DSDL_PULSEAUDIO=ON -DSDL_PULSEAUDIO_SHARED=ON -DSDL_PIPEWIRE=OFF -DSDL_JACK=OFF \
  -DSDL_SNDIO=OFF -DSDL_ESD=OFF -DSDL_ARTS=OFF -DSDL_NAS=OFF -DSDL_FUSIONSOUND=OFF \
  -DSDL_LIBSAMPLERATE=OFF -DSDL_KMSDRM=OFF -DSDL_OPENGLES=ON -DSDL_VULKAN=OFF \
  -DSDL_DIRECTFB=OFF -DSDL_RPI=OFF -DSDL_VIVANTE=OFF -DSDL_OFFSCREEN=ON
# PNG through the bundled stb_image (saving through the bundled miniz); BMP
# covers ICO and CUR.
lib libsdl2-image -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
  -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_TESTS=OFF -DSDL2IMAGE_BACKEND_STB=ON \
  -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_BMP=ON \
  -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_JXL=OFF \
  -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF \
  -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF \
  -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF
# Its CMake file asks for libpng whenever PNG is on, though stb_image reads it.
sed -i 's/if(SDL2IMAGE_PNG AND NOT SDL2IMAGE_VENDORED/if(SDL2IMAGE_PNG AND NOT SDL2IMAGE_BACKEND_STB AND NOT SDL2IMAGE_VENDORED/' \
  $P/lib/cmake/SDL2_image/SDL2_imageConfig.cmake
# WAV built in, MP3 through the bundled dr_mp3: no MIDI, no tracker formats.
lib libsdl2-mixer -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
  -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON \
  -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
  -DSDL2MIXER_VORBIS=OFF
# Debian 11's CMake (3.18) lacks file(COPY_FILE), which installs the .pc file.
sed -i -e 's/file(COPY_FILE/configure_file(/' -e 's/ONLY_IF_DIFFERENT)/COPYONLY)/' \
  /opt/libsrc/libsdl2-ttf/CMakeLists.txt
lib libsdl2-ttf -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF
EOF
  say "building the SDL libraries in the root"
  in_root "$BR" bash /opt/libsrc/build.sh "$LIBS_PREFIX" || {
    for l in "$BR"/opt/libsrc/*.log; do tail -n 15 "$l" >&2; done
    die "building the libraries failed (logs in $BR/opt/libsrc/)"
  }
  echo "$LIBS_STAMP" >"$BR$LIBS_PREFIX/stamp"
  say "libraries built in $((SECONDS - t)) s"
fi
# --- end of the libraries

# --- the programs ----------------------------------------------------------------
t=$SECONDS
# Built afresh each time: the copied files keep their own times, which an
# earlier build's objects may be newer than.
rm -rf "$BR/opt/drevix-src" "$BR/opt/drevix-build"
mkdir -p "$BR/opt/drevix-src"
# The working tree as it is, tracked and new files alike.
(cd "$SRC" && git ls-files -co --exclude-standard -z | xargs -0 tar -cf - --no-recursion) |
  tar -xf - -C "$BR/opt/drevix-src"
in_root "$BR" bash -c "cmake -S /opt/drevix-src -B /opt/drevix-build -DCMAKE_BUILD_TYPE=Release \
    -DDREVIX_PORTABLE=ON -DCMAKE_PREFIX_PATH=$LIBS_PREFIX \
    -DCMAKE_EXE_LINKER_FLAGS=-Wl,-rpath-link,$LIBS_PREFIX/lib >/opt/drevix-build.log 2>&1 &&
  cmake --build /opt/drevix-build -j\$(nproc) --target raycaster maze-generator >>/opt/drevix-build.log 2>&1" || {
  tail -n 30 "$BR/opt/drevix-build.log" >&2
  die "building the programs in the Debian 11 root failed (log $BR/opt/drevix-build.log)"
}
say "programs built in $((SECONDS - t)) s"

# --- the folder ---------------------------------------------------------------------
cmake --build "$BUILD" --target game_assets >/dev/null
STAGE=$OUT/stage
DIR=$STAGE/$NAME
rm -rf "$STAGE"
mkdir -p "$DIR/lib"
cp "$BR/opt/drevix-build/bin/raycaster" "$DIR/drevix-raycaster"
cp "$BR/opt/drevix-build/bin/maze-generator" "$DIR/drevix-maze-generator"
cp -r "$BUILD/assets" "$DIR/assets"
cp "$SRC/dist/portable/fonts.conf" "$DIR/assets/fonts/"
cp "$BUILD/icons/hicolor/256x256/apps/drevix-raycaster.png" "$DIR/drevix-raycaster.png"
cp "$SRC/LICENSE" "$DIR/"
sed "s/@VERSION@/$VERSION/g" "$SRC/dist/portable/README.txt.in" >"$DIR/README.txt"
cp "$SRC/dist/portable/install-desktop-entry.sh" "$DIR/"
chmod 755 "$DIR/install-desktop-entry.sh"

# Every library the programs need, but the system's, by its soname, until
# nothing new comes: SDL's own, and whatever a future dependency brings.
# Only direct needs count (a system library's own needs are the system's).
rm -rf "$BR/opt/bundle"
mkdir -p "$BR/opt/bundle/lib"
cp "$DIR/drevix-raycaster" "$DIR/drevix-maze-generator" "$BR/opt/bundle/"
todo=("$BR/opt/bundle/drevix-raycaster" "$BR/opt/bundle/drevix-maze-generator")
while [ ${#todo[@]} -gt 0 ]; do
  file=${todo[0]}
  todo=("${todo[@]:1}")
  for soname in $(objdump -p "$file" | awk '$1 == "NEEDED" { print $2 }'); do
    if [[ $soname =~ ^lib(stdc\+\+|gcc_s)\. ]]; then die "$soname is needed: the C++ runtime must be linked in"; fi
    [[ $soname =~ $SYSTEM_LIBS ]] && continue
    [ -e "$BR/opt/bundle/lib/$soname" ] && continue
    path=$(in_root "$BR" env LD_LIBRARY_PATH=$LIBS_PREFIX/lib ldd "${file#"$BR"}" |
      awk -v n="$soname" '$1 == n && $2 == "=>" { print $3 }')
    [ -n "$path" ] && [ "$path" != not ] || die "$soname, needed by $(basename "$file"), not found in the build root"
    cp -L "$BR$path" "$BR/opt/bundle/lib/$soname"
    todo+=("$BR/opt/bundle/lib/$soname")
  done
done
in_root "$BR" sh -c 'cd /opt/bundle && strip --strip-unneeded drevix-* lib/* &&
  for l in lib/*; do patchelf --set-rpath "\$ORIGIN" "$l"; done'
cp "$BR/opt/bundle/drevix-raycaster" "$BR/opt/bundle/drevix-maze-generator" "$DIR/"
cp "$BR"/opt/bundle/lib/* "$DIR/lib/"
root_unmount "$BR"

for p in drevix-raycaster drevix-maze-generator; do
  rpath=$(objdump -x "$DIR/$p" | awk '/R(UN)?PATH/ { print $2 }')
  [ "$rpath" = '$ORIGIN/lib' ] || die "$p has rpath '$rpath', not \$ORIGIN/lib"
done

# --- the archive and its figures ---------------------------------------------------
mkdir -p "$OUT"
ARCHIVE=$OUT/$NAME-linux-x86_64.tar.gz
(cd "$STAGE" && tar --owner=0 --group=0 --numeric-owner -czf "$ARCHIVE.tmp" "$NAME")
mv -f "$ARCHIVE.tmp" "$ARCHIVE"
bytes=$(stat -c %s "$ARCHIVE")
libs=$(ls "$DIR/lib" | sort)
nlibs=$(echo "$libs" | grep -c .)
glibc=$(for f in "$DIR"/drevix-raycaster "$DIR"/drevix-maze-generator "$DIR"/lib/*; do objdump -T "$f"; done |
  grep -o 'GLIBC_[0-9][0-9.]*' | sed 's/GLIBC_//' | sort -V | tail -1)
say "$ARCHIVE: $bytes bytes ($(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }') MB, at most 12 MB)"
say "bundled libraries: $nlibs (at most $MAX_LIBS): $(echo $libs)"
say "highest glibc version needed: $glibc (at most $MAX_GLIBC)"
[ "$bytes" -le $MAX_BYTES ] || die "the archive is over 12 MB"
[ "$nlibs" -le $MAX_LIBS ] || die "more than $MAX_LIBS libraries in lib/"
[ "$(printf '%s\n%s\n' "$glibc" "$MAX_GLIBC" | sort -V | tail -1)" = "$MAX_GLIBC" ] ||
  die "a shipped file needs glibc $glibc, newer than $MAX_GLIBC"

# Both release archives, checked with sha256sum -c in this folder.
sums=("$(basename "$ARCHIVE")")
if [ -f "$BUILD/Drevix-Q--main.zip" ]; then
  ln -f "$BUILD/Drevix-Q--main.zip" "$OUT/Drevix-Q--main.zip" 2>/dev/null ||
    cp -f "$BUILD/Drevix-Q--main.zip" "$OUT/Drevix-Q--main.zip"
  sums+=(Drevix-Q--main.zip)
fi
(cd "$OUT" && sha256sum "${sums[@]}" >SHA256SUMS)
say "$OUT/SHA256SUMS: ${sums[*]}"
say "done in $((SECONDS - T0)) s"
