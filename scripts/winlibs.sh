#!/usr/bin/env bash
# Cross-builds static SDL2, SDL2_image, SDL2_ttf, SDL2_mixer and FreeType for
# 64-bit Windows (mingw-w64) from Debian's own source packages, so the Windows
# game links against the same library versions as the Linux one.
#
# Usage: scripts/winlibs.sh OUTDIR
#
# The result is one install prefix in a cache keyed by the source versions,
# the compiler and this recipe; OUTDIR becomes a symlink to it. A second run
# with the same versions only relinks OUTDIR. In a mingw cross CMake project:
#   include(OUTDIR/lib/cmake/drevix-winlibs.cmake)
#   target_link_libraries(game PRIVATE drevix_winlibs)
# and link with -static so only system DLLs are imported.
#
# Environment: DREVIX_WINLIBS_CACHE (default $XDG_CACHE_HOME/drevix/winlibs or
# ~/.cache/drevix/winlibs).
set -euo pipefail

if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $0 OUTDIR" >&2
  exit 2
fi

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SELF="$ROOT/scripts/winlibs.sh"
TOOLCHAIN="$ROOT/cmake/mingw-w64.cmake"
CACHE=${DREVIX_WINLIBS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/drevix/winlibs}
# Absolute, because the build changes directory; OUTDIR itself may already be
# a link, so only its parent is resolved.
mkdir -p "$(dirname "$1")"
OUTDIR="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
JOBS=$(nproc)
LISTS_MAX_AGE_MIN=1440

# Source packages, in build order (each needs the ones before it).
SOURCES=(freetype libsdl2 libsdl2-image libsdl2-mixer libsdl2-ttf)

T0=$(date +%s.%N)
say() { echo "winlibs: $*"; }
die() {
  echo "winlibs: error: $*" >&2
  exit 1
}
[ -f "$TOOLCHAIN" ] || die "toolchain file $TOOLCHAIN not found"
secs() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }

# --- packages this script needs on the build machine -------------------------
NEEDED=(dpkg-dev xz-utils cmake make g++-mingw-w64-x86-64-posix)
missing=()
for p in "${NEEDED[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=()
  [ "$(id -u)" -eq 0 ] || SUDO=(sudo -E)
  say "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${SUDO[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q >/dev/null
  "${SUDO[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

mkdir -p "$CACHE"
CACHE=$(cd "$CACHE" && pwd)

# One run at a time per cache: the apt lists, the source downloads and the
# final rename are shared.
exec 9>"$CACHE/.lock"
if ! flock -n 9; then
  say "waiting for another run using $CACHE"
  flock 9
fi

# Temp dirs left behind by a killed run (the lock says none is live). Best
# effort: a compiler orphaned by a SIGKILL may still be writing into one.
rm -rf "$CACHE"/.tmp.* 2>/dev/null || true

# --- private deb-src apt configuration ---------------------------------------
APTDIR="$CACHE/apt"
mkdir -p "$APTDIR/sources.list.d" "$APTDIR/lists/partial" "$APTDIR/cache/archives/partial"
APT_OPTS=(
  -o "Dir::Etc::SourceParts=$APTDIR/sources.list.d"
  -o Dir::Etc::SourceList=/dev/null
  -o "Dir::State::Lists=$APTDIR/lists"
  -o "Dir::Cache=$APTDIR/cache"
)
# As root apt would drop to _apt for downloads, which cannot enter a private
# cache under /root: say so up front rather than warn on every fetch.
[ "$(id -u)" -ne 0 ] || APT_OPTS+=(-o APT::Sandbox::User=root)

SYS_SOURCES=/etc/apt/sources.list.d/debian.sources
[ -r "$SYS_SOURCES" ] || die "$SYS_SOURCES not found"
sed -E 's/^Types:.*/Types: deb-src/' "$SYS_SOURCES" >"$APTDIR/sources.list.d/debian.sources.new"
if ! cmp -s "$APTDIR/sources.list.d/debian.sources.new" "$APTDIR/sources.list.d/debian.sources"; then
  mv "$APTDIR/sources.list.d/debian.sources.new" "$APTDIR/sources.list.d/debian.sources"
  rm -f "$APTDIR/updated"
else
  rm -f "$APTDIR/sources.list.d/debian.sources.new"
fi

if [ -z "$(find "$APTDIR/updated" -mmin -"$LISTS_MAX_AGE_MIN" 2>/dev/null)" ]; then
  say "refreshing deb-src lists"
  if apt-get "${APT_OPTS[@]}" update -q --error-on=any >"$APTDIR/update.log" 2>&1; then
    touch "$APTDIR/updated"
  elif compgen -G "$APTDIR/lists/*Sources*" >/dev/null; then
    say "warning: apt-get update failed, using the lists from $(date -r "$APTDIR/lists" '+%F %R')"
  else
    tail -n 20 "$APTDIR/update.log" >&2
    die "apt-get update failed (log: $APTDIR/update.log)"
  fi
fi

# Highest version of each source package the lists know about.
declare -A VERSION
while read -r pkg ver; do
  cur=${VERSION[$pkg]-}
  if [ -z "$cur" ] || dpkg --compare-versions "$ver" gt "$cur"; then VERSION[$pkg]=$ver; fi
done < <(apt-cache "${APT_OPTS[@]}" showsrc --only-source "${SOURCES[@]}" 2>/dev/null |
  awk '/^Package: / { p = $2 } /^Version: / { print p, $2 }')
for src in "${SOURCES[@]}"; do
  [ -n "${VERSION[$src]-}" ] || die "source package $src not found in the deb-src lists"
done

# --- cache key ---------------------------------------------------------------
CC_VERSION="$(dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix 2>/dev/null || true)"
KEY=$(
  {
    for src in "${SOURCES[@]}"; do echo "$src=${VERSION[$src]}"; done
    echo "cc=$CC_VERSION"
    sha256sum <"$SELF"
    sha256sum <"$TOOLCHAIN"
  } | sha256sum | cut -c1-16
)
PREFIX="$CACHE/$KEY"
SUMMARY_VERSIONS=$(for src in "${SOURCES[@]}"; do printf '%s %s, ' "$src" "${VERSION[$src]}"; done)
SUMMARY_VERSIONS=${SUMMARY_VERSIONS%, }

link_outdir() {
  local tmp
  if [ -d "$OUTDIR" ] && [ ! -L "$OUTDIR" ]; then
    rmdir "$OUTDIR" 2>/dev/null || die "$OUTDIR is a non-empty directory, not a link; remove it"
  fi
  mkdir -p "$(dirname "$OUTDIR")"
  tmp="$OUTDIR.tmp.$$"
  rm -f "$tmp"
  ln -s "$PREFIX" "$tmp"
  mv -T "$tmp" "$OUTDIR"
}

# A complete entry always has the CMake file; anything else was damaged by hand.
if [ -d "$PREFIX" ] && [ ! -f "$PREFIX/lib/cmake/drevix-winlibs.cmake" ]; then
  say "discarding incomplete $PREFIX"
  rm -rf "$PREFIX"
fi
if [ -d "$PREFIX" ]; then
  link_outdir
  say "cache hit ($KEY), nothing to build; $(secs "$T0") s"
  say "prefix $PREFIX ($SUMMARY_VERSIONS)"
  exit 0
fi

# --- cold build ----------------------------------------------------------------
WORK=$(mktemp -d "$CACHE/.tmp.XXXXXX")
FAILED_LOG=
cleanup() {
  local rc=$?
  if [ -n "$FAILED_LOG" ] && [ -f "$FAILED_LOG" ]; then
    cp "$FAILED_LOG" "$CACHE/last-failure.log"
    echo "winlibs: full log kept in $CACHE/last-failure.log" >&2
  fi
  rm -rf "$WORK"
  exit "$rc"
}
# A running step is stopped with its whole process group (make, compilers)
# before the temp dir goes, rather than finishing first.
STEP_PID=
interrupted() {
  if [ -n "$STEP_PID" ]; then
    kill -TERM -- "-$STEP_PID" 2>/dev/null || kill -TERM "$STEP_PID" 2>/dev/null || true
    wait "$STEP_PID" 2>/dev/null || true
  fi
  exit "$1"
}
trap cleanup EXIT
trap 'interrupted 130' INT
trap 'interrupted 143' TERM

LOGS="$WORK/logs"
STAGE="$WORK/prefix"
mkdir -p "$LOGS" "$STAGE" "$WORK/src" "$WORK/build"

# Runs "$@" with output to log $1; on failure shows the log's tail and stops.
# The step gets its own process group, and is waited for in the background so
# that a signal reaches the traps at once. fd 9 (the lock) stays with this
# script: a build tool outliving a killed run must not block the next one.
step() {
  local name=$1 log="$LOGS/$1.log" rc=0
  shift
  setsid "$@" >>"$log" 2>&1 9>&- </dev/null &
  STEP_PID=$!
  wait "$STEP_PID" || rc=$?
  STEP_PID=
  if [ "$rc" -ne 0 ]; then
    FAILED_LOG=$log
    echo "winlibs: $name failed (exit $rc): $*" >&2
    echo "---- last lines of $log ----" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

DOWNLOADS="$CACHE/sources"
mkdir -p "$DOWNLOADS"
say "fetching sources"
fetch_args=()
for src in "${SOURCES[@]}"; do fetch_args+=("$src=${VERSION[$src]}"); done
# apt-get source downloads into the current directory; files already there
# with the right checksums are not fetched again.
cd "$DOWNLOADS"
step fetch apt-get "${APT_OPTS[@]}" source --download-only -q "${fetch_args[@]}"
cd "$WORK"

declare -A SRCDIR
for src in "${SOURCES[@]}"; do
  v=${VERSION[$src]}
  dsc="$DOWNLOADS/${src}_${v#*:}.dsc"
  [ -f "$dsc" ] || die "missing $dsc after download"
  SRCDIR[$src]="$WORK/src/$src"
  step unpack dpkg-source -x "$dsc" "${SRCDIR[$src]}"
done

# The project's toolchain, plus the staging prefix as a find root so each
# library finds the ones built before it (and nothing from the host).
cat >"$WORK/toolchain.cmake" <<EOF
include("$TOOLCHAIN")
list(APPEND CMAKE_FIND_ROOT_PATH "$STAGE")
EOF
export PKG_CONFIG_LIBDIR="$STAGE/lib/pkgconfig"
export PKG_CONFIG_PATH=
unset CFLAGS CXXFLAGS LDFLAGS CPPFLAGS

COMMON=(
  --no-warn-unused-cli
  -DCMAKE_TOOLCHAIN_FILE="$WORK/toolchain.cmake"
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG"
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
  -DCMAKE_INSTALL_PREFIX="$STAGE"
  -DCMAKE_PREFIX_PATH="$STAGE"
  -DCMAKE_INSTALL_LIBDIR=lib
  -DBUILD_SHARED_LIBS=OFF
)

declare -A TIME
build_lib() {
  local src=$1
  shift
  local t b=$WORK/build/$src
  t=$(date +%s.%N)
  step "$src" cmake -S "${SRCDIR[$src]}" -B "$b" "${COMMON[@]}" "$@"
  step "$src" cmake --build "$b" -j"$JOBS"
  step "$src" cmake --install "$b"
  TIME[$src]=$(secs "$t")
  say "$(printf '%-14s %-24s %6s s' "$src" "${VERSION[$src]}" "${TIME[$src]}")"
}

# Every optional codec off: bundled zlib for compressed fonts stays inside.
build_lib freetype \
  -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE \
  -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE

build_lib libsdl2 \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF \
  -DSDL_CCACHE=OFF -DSDL_SYSTEM_ICONV=OFF

# PNG through the bundled stb_image (saving through bundled miniz); BMP covers
# ICO and CUR. Every format needing another library is off.
build_lib libsdl2-image \
  -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
  -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_TESTS=OFF \
  -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_BACKEND_WIC=OFF \
  -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_BMP=ON \
  -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_JXL=OFF \
  -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF \
  -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF \
  -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF

# WAV built in, MP3 through the bundled dr_mp3; the rest needs other libraries.
build_lib libsdl2-mixer \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_SAMPLES=OFF \
  -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON \
  -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=

build_lib libsdl2-ttf \
  -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF

# --- make the prefix relocatable ----------------------------------------------
for pc in "$STAGE"/lib/pkgconfig/*.pc; do
  sed -i -E "s|^prefix=.*|prefix=\${pcfiledir}/../..|; s|$STAGE|\${prefix}|g" "$pc"
done
rm -f "$STAGE/bin/sdl2-config" # Debian's copy hard-codes host library paths
if grep -rlF "$STAGE" "$STAGE" --include='*.cmake' --include='*.pc' >"$LOGS/abs-paths.txt"; then
  FAILED_LOG="$LOGS/abs-paths.txt"
  die "absolute staging paths left in: $(tr '\n' ' ' <"$LOGS/abs-paths.txt")"
fi

for f in include/SDL2/SDL.h include/SDL2/SDL_image.h include/SDL2/SDL_ttf.h \
  include/SDL2/SDL_mixer.h lib/libSDL2.a lib/libSDL2main.a lib/libSDL2_image.a \
  lib/libSDL2_ttf.a lib/libSDL2_mixer.a lib/libfreetype.a; do
  [ -f "$STAGE/$f" ] || die "build finished without $f"
done

# --- CMake entry point ---------------------------------------------------------
# System libraries: the -l flags of the installed .pc files, in link order,
# SDL2's last (static SDL2_ttf installs none; with their optional formats off
# the add-on libraries need nothing beyond SDL2 and FreeType). A static-only
# SDL2 puts them in Libs, a shared one in Libs.private. Left out: mingw32,
# which goes first, and -mwindows, since the game picks its own subsystem.
syslibs=()
add_syslibs() {
  local tok lib s toks
  read -ra toks <<<"$(sed -n -E 's/^Libs(\.private)?://p' "$1" | tr '\n' ' ')"
  for tok in "${toks[@]}"; do
    case $tok in
      -l*) lib=${tok#-l} ;;
      *) continue ;;
    esac
    case $lib in SDL2* | freetype | mingw32) continue ;; esac
    for s in "${syslibs[@]}"; do [ "$s" != "$lib" ] || continue 2; done
    syslibs+=("$lib")
  done
}
for pc in SDL2_ttf freetype2 SDL2_mixer SDL2_image sdl2; do
  [ -f "$STAGE/lib/pkgconfig/$pc.pc" ] || continue
  add_syslibs "$STAGE/lib/pkgconfig/$pc.pc"
done
[ -f "$STAGE/lib/pkgconfig/sdl2.pc" ] || die "SDL2 installed no sdl2.pc"
[ ${#syslibs[@]} -gt 0 ] || die "sdl2.pc names no system libraries"

mkdir -p "$STAGE/lib/cmake"
{
  cat <<EOF
# Static SDL2, SDL2_image, SDL2_ttf, SDL2_mixer and FreeType for mingw-w64,
# made by scripts/winlibs.sh from Debian sources:
EOF
  for src in "${SOURCES[@]}"; do echo "#   $src ${VERSION[$src]}"; done
  cat <<'EOF'
# include() it, then link the target drevix_winlibs; link the executable with
# -static so it imports only system DLLs. SDL2main supplies main/WinMain, so
# the program's main() must see SDL.h (no SDL_MAIN_HANDLED).
if(NOT MINGW)
  message(FATAL_ERROR "drevix-winlibs.cmake holds mingw-w64 libraries: use the mingw-w64 toolchain")
endif()
if(NOT TARGET drevix_winlibs)
  get_filename_component(_drevix_winlibs_prefix "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
  add_library(drevix_winlibs INTERFACE IMPORTED)
  set_target_properties(drevix_winlibs PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES
      "${_drevix_winlibs_prefix}/include;${_drevix_winlibs_prefix}/include/SDL2"
    INTERFACE_LINK_LIBRARIES
EOF
  echo "      \"mingw32;\${_drevix_winlibs_prefix}/lib/libSDL2main.a;\${_drevix_winlibs_prefix}/lib/libSDL2_ttf.a;\${_drevix_winlibs_prefix}/lib/libfreetype.a;\${_drevix_winlibs_prefix}/lib/libSDL2_mixer.a;\${_drevix_winlibs_prefix}/lib/libSDL2_image.a;\${_drevix_winlibs_prefix}/lib/libSDL2.a;$(
    IFS=';'
    echo "${syslibs[*]}"
  )\")"
  cat <<'EOF'
  unset(_drevix_winlibs_prefix)
endif()
EOF
} >"$STAGE/lib/cmake/drevix-winlibs.cmake"

{
  for src in "${SOURCES[@]}"; do echo "$src ${VERSION[$src]} built in ${TIME[$src]} s"; done
  echo "cc gcc-mingw-w64-x86-64-posix $CC_VERSION"
  echo "system libraries: ${syslibs[*]}"
} >"$STAGE/winlibs-versions.txt"

mv "$LOGS" "$STAGE/logs"
# Only a complete prefix ever appears under its key.
mv -T "$STAGE" "$PREFIX"
link_outdir
say "built in $(secs "$T0") s"
say "prefix $PREFIX ($SUMMARY_VERSIONS)"
