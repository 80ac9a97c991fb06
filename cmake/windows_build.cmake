# The Windows programs, cross-built with mingw-w64 in build/windows as part
# of the Linux build: both installers, and the game against static SDL
# libraries that scripts/winlibs.sh builds once from Debian's sources. Then
# the release archive that the installers download, Drevix-Q--main.zip:
# the repository's tracked files with the Windows game at build/raycaster.exe.
include(ExternalProject)

set(WINDOWS_BINARY_DIR ${CMAKE_BINARY_DIR}/windows)
set(WINDOWS_GAME ${WINDOWS_BINARY_DIR}/bin/raycaster.exe)
set(WINDOWS_INSTALLERS ${WINDOWS_BINARY_DIR}/bin/installer.exe
  ${WINDOWS_BINARY_DIR}/bin/installer-shell.exe)
set(WINDOWS_VARIANT_SCRIPT ${WINDOWS_BINARY_DIR}/build_variant.sh)
set(WINLIBS_DIR ${CMAKE_BINARY_DIR}/winlibs)
set(RELEASE_ARCHIVE ${CMAKE_BINARY_DIR}/Drevix-Q--main.zip)

# Quick when the libraries are already in the cache.
add_custom_target(winlibs
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/winlibs.sh ${WINLIBS_DIR}
  COMMENT "SDL libraries for Windows (scripts/winlibs.sh)"
  USES_TERMINAL VERBATIM)

# A removed cross tree is configured again rather than built from nothing.
if(NOT EXISTS ${WINDOWS_BINARY_DIR}/CMakeCache.txt)
  file(REMOVE_RECURSE ${CMAKE_BINARY_DIR}/windows_programs-prefix/src/windows_programs-stamp)
endif()
ExternalProject_Add(windows_programs
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${WINDOWS_BINARY_DIR}
  PREFIX ${CMAKE_BINARY_DIR}/windows_programs-prefix
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DDREVIX_WINLIBS=${WINLIBS_DIR}
    -DDREVIX_ASSET_DIR=${CMAKE_BINARY_DIR}/assets
  DEPENDS winlibs
  BUILD_ALWAYS TRUE
  BUILD_BYPRODUCTS ${WINDOWS_INSTALLERS} ${WINDOWS_GAME}
  INSTALL_COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WINDOWS_INSTALLERS}
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})

# The game carries the assets in itself (defined later, by raycaster/assetgen).
add_dependencies(windows_programs game_assets)

add_custom_target(release_archive ALL
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/release_archive.sh ${CMAKE_SOURCE_DIR} ${WINDOWS_GAME}
    ${RELEASE_ARCHIVE} ${CMAKE_BINARY_DIR}/assets/fonts/LICENSE-DejaVu.txt
    ${CMAKE_BINARY_DIR}/assets/fonts/LICENSE-Noto.txt
  DEPENDS windows_programs
  BYPRODUCTS ${RELEASE_ARCHIVE}
  COMMENT "Release archive ${RELEASE_ARCHIVE}"
  VERBATIM)
