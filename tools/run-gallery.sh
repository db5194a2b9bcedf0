#!/usr/bin/env bash
# Takes the screenshot gallery of a build: the Gallery tests of e2e_tests.exe
# drive the unmodified program over the fake Shell collection, check each
# picture and write it as a PPM; here the pictures become PNGs in
# <build>/gallery, and the main dialog and the About box are copied to
# docs/images for the README.
#
# usage: tools/run-gallery.sh <build dir>
set -euo pipefail

build=$(cd "${1:?usage: run-gallery.sh <build dir>}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/wine-env.sh"

if [ -z "${VESKAR_GALLERY_INNER:-}" ]; then
    # A prefix of its own, so that a test run in the project's prefix never
    # meets the fake's registration or loses its wineserver to this one;
    # copying the ready prefix is much faster than creating one.
    prefix=$build/galleryprefix
    veskar_copy_prefix "$prefix"
    # Always a private Xvfb of the same size: no other window can come into
    # the pictures, and they come out the same on every machine.
    unset DISPLAY
    export VESKAR_WINEPREFIX=$prefix VESKAR_GALLERY_INNER=1
    exec "$root/tools/with-wine.sh" "${BASH_SOURCE[0]}" "$build"
fi

VESKAR_EXE=$(veskar_find_built "$build" veskar.exe)
FAKESHELL_DLL=$(veskar_find_built "$build" tools/fakeshell/fakeshell.dll)
tests=$(veskar_find_built "$build" tests/e2e_tests.exe)

out=$build/gallery
rm -rf "$out"
mkdir -p "$out"
export VESKAR_EXE FAKESHELL_DLL VESKAR_GALLERY_OUT=$out
timeout 180 wine "$tests" --gtest_filter='Gallery.*'

# No time stamps in the files, so an unchanged picture is an unchanged file.
for ppm in "$out"/*.ppm; do
    convert "$ppm" -strip -define png:exclude-chunks=date,time "${ppm%.ppm}.png"
    rm "$ppm"
done
mkdir -p "$root/docs/images"
cp "$out/main.png" "$root/docs/images/main-dialog.png"
cp "$out/about-link-hover.png" "$root/docs/images/about-box.png"
echo "run-gallery: $(ls "$out"/*.png | wc -l) pictures in $out; docs/images updated"
