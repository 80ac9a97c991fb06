# Sourced by the wine tests: one scratch prefix below the build tree, with its
# own home folder, so nothing of the user's own wine setup or Desktop is used.
# WINE_ROOT must be set.
export WINEPREFIX=$WINE_ROOT/prefix
export HOME=$WINE_ROOT/home
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
