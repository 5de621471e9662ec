#!/bin/sh
# Installs a build of the library into a fresh prefix and uses it the way an application outside the
# repository does: the CMake package (find_package, imported targets, cehost_add_resources,
# cehost_add_script_tests) builds the host application in hostapp/ and runs its key-script tests headless
# with ctest; then, with the prefix moved elsewhere, the pkg-config files build
# and run a program with its own main() and a one-file host application.
#
# usage: run-package-test.sh BUILD_DIR PACKAGE_TEST_DIR WORK_DIR CMAKE GENERATOR CXX LIBDIR [EXTRA_FLAGS]
#   EXTRA_FLAGS go to the compiler and linker of everything built here (the sanitizers of the library's build).
set -eu

if [ $# -lt 7 ]; then
    echo "usage: $0 BUILD_DIR PACKAGE_TEST_DIR WORK_DIR CMAKE GENERATOR CXX LIBDIR [EXTRA_FLAGS]" >&2
    exit 2
fi
build=$1
here=$2
work=$3
cmake=$4
generator=$5
cxx=$6
libdir=$7
flags=${8-}

fail() {
    echo "package test: $*" >&2
    exit 1
}

# Each check below names what failed; the logs of the steps stay in WORK_DIR.
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
# The simulator keeps its registry and record databases out of the user's home.
XDG_STATE_HOME=$work/state
CEHOST_HEADLESS=1
export XDG_STATE_HOME CEHOST_HEADLESS

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }

# The layout an application relies on.
for file in include/LxLibrary/windows.h include/LxLibrary/commctrl.h include/LxLibrary/cehost/sim.h \
    include/LxLibrary/cehost/win/types.h include/LxLibrary/LxBaseWindow.h include/LxLibrary/LxString.h \
    include/LxLibrary/swtempl.h include/LxLibrary/LxMenuBar.h include/LxLibrary/LxEDBApi.h \
    "$libdir/libcehost.so" "$libdir/libLxLibrary.so" "$libdir/libLxMenuBar.so" "$libdir/libLxEDB.so" \
    "$libdir/libcehost_main.a" "$libdir/cmake/LxLibrary/LxLibraryConfig.cmake" bin/cehost-test \
    "$libdir/cmake/LxLibrary/CehostScriptTests.cmake" \
    "$libdir/cmake/LxLibrary/LxLibraryConfigVersion.cmake" "$libdir/cmake/LxLibrary/CehostResources.cmake" \
    "$libdir/pkgconfig/lxlibrary.pc" "$libdir/pkgconfig/lxlibrary-main.pc"; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
# Headers private to a library stay out; so does a windows.h straight in include/, where it would shadow the
# real one for every program built with this prefix.
for file in include/windows.h include/LxLibrary/EdbVolume.h include/LxLibrary/TextFold.h; do
    [ ! -e "$prefix/$file" ] || fail "$file must not be installed"
done
# The installed libraries find each other beside themselves and never in the build tree.
for lib in cehost LxLibrary LxMenuBar LxEDB; do
    dynamic=$(readelf -d "$prefix/$libdir/lib$lib.so")
    echo "$dynamic" | grep -q 'R\(UN\)\?PATH.*\[\$ORIGIN\]' || fail "lib$lib.so has no \$ORIGIN run path"
    case $dynamic in *"$build"*) fail "lib$lib.so still points into the build tree" ;; esac
done

# 1. The CMake package: find_package, the imported targets and cehost_add_resources.
app=$work/hostapp-build
"$cmake" -S "$here/hostapp" -B "$app" -G "$generator" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror $flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    >"$work/hostapp-configure.log" 2>&1 ||
    { cat "$work/hostapp-configure.log" >&2; fail "the host application does not configure"; }
grep -qx "LxLibrary_DIR:PATH=$prefix/$libdir/cmake/LxLibrary" "$app/CMakeCache.txt" ||
    fail "find_package found a package other than the installed one"
"$cmake" --build "$app" >"$work/hostapp-build.log" 2>&1 ||
    { cat "$work/hostapp-build.log" >&2; fail "the host application does not build"; }
# Every library the application loads comes from the prefix.
for lib in cehost LxLibrary LxMenuBar LxEDB; do
    ldd "$app/HostApp" | grep "lib$lib\.so" | grep -q "=> $prefix/$libdir/" ||
        fail "HostApp does not load lib$lib.so from the installed prefix"
done
# Its key scripts, as ctest tests through cehost_add_script_tests and the installed runner: the menu opens and
# its command changes the title, so the resources were found in the application.
ctest=$(dirname "$cmake")/ctest
"$ctest" --test-dir "$app" --output-on-failure >"$work/hostapp-ctest.log" 2>&1 ||
    { cat "$work/hostapp-ctest.log" >&2; fail "the host application's script tests failed"; }
grep -q 'HostApp\.checks .*Passed' "$work/hostapp-ctest.log" ||
    { cat "$work/hostapp-ctest.log" >&2; fail "ctest did not run HostApp.checks"; }

# 2. pkg-config, from a prefix moved after installation.
moved=$work/moved
mv "$prefix" "$moved"
PKG_CONFIG_PATH=$moved/$libdir/pkgconfig
export PKG_CONFIG_PATH
command -v pkg-config >/dev/null || fail "pkg-config is not installed"
pkg-config --exists lxlibrary lxlibrary-main || fail "pkg-config does not know lxlibrary and lxlibrary-main"
# shellcheck disable=SC2046,SC2086 # the flags are meant to be split
"$cxx" -std=c++17 -Wall -Wextra -Werror $flags -o "$work/plain" "$here/PlainProgram.cpp" \
    $(pkg-config --cflags --libs lxlibrary) || fail "a program does not build with pkg-config lxlibrary"
"$work/plain" || fail "the pkg-config program exited with status $?"

# shellcheck disable=SC2046,SC2086
"$cxx" -std=c++17 -Wall -Wextra -Werror $flags -o "$work/winmain" "$here/WinMainProgram.cpp" \
    $(pkg-config --cflags --libs lxlibrary-main) || fail "a host application does not build with lxlibrary-main"
printf 'screenshot label\nquit 0\n' >"$work/winmain.keys"
"$work/winmain" --headless --script "$work/winmain.keys" --shots "$work/winmain-shots" --time-limit 60000 ||
    fail "the lxlibrary-main application exited with status $?"
head -c 8 "$work/winmain-shots/label.png" 2>/dev/null | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a' ||
    fail "the lxlibrary-main application did not write its screenshot"

echo "package test: installed, built and ran in $work"
