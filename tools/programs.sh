# Sourced by the setup, test and run scripts: every program they call, by the
# path the setup's packages install it at, so nothing depends on what else a
# machine happens to have (the package "wine" puts links in /usr/bin; we do
# not install it).
ORV_WINE=/usr/lib/wine/wine64
ORV_WINESERVER=/usr/lib/wine/wineserver
ORV_PROGRAMS=(
  "$ORV_WINE" "$ORV_WINESERVER"
  /usr/bin/Xvfb /usr/bin/import /usr/bin/pgrep
  /usr/bin/cmake /usr/bin/ctest /usr/bin/ninja /usr/bin/ccache /usr/bin/nasm
  /usr/bin/x86_64-w64-mingw32-g++-posix /usr/bin/i686-w64-mingw32-g++-posix
  /usr/bin/x86_64-w64-mingw32-objdump /usr/bin/i686-w64-mingw32-objdump
  /usr/bin/wrestool /usr/bin/icotool /usr/bin/png2icns
)

